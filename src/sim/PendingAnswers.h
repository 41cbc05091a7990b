#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace solardesk::sim {

// The answers a virtual meter has given and the program has not read yet, in order. A logger
// set goes out as a stream of 64-byte blocks that are made only when read, so that a set that
// announces gigabytes costs no more than the blocks the program takes.
class PendingAnswers {
 public:
  using Bytes = std::vector<std::uint8_t>;

  void push_back(Bytes answer);
  // `count` blocks of 64 bytes cut from `stream`, zeros beyond its end.
  void PushBlocks(std::shared_ptr<const Bytes> stream, std::size_t count);
  // The answers of `more` after these.
  void Append(PendingAnswers&& more);

  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  void clear();
  // Answer i (0 the next to be read), made now.
  Bytes at(std::size_t i) const;
  Bytes operator[](std::size_t i) const { return at(i); }
  Bytes front() const { return at(0); }
  // The next answer, taken out.
  Bytes Take();

  // Goes through the answers in order, each made as it is reached.
  class Iterator {
   public:
    Iterator(const PendingAnswers* answers, std::size_t i) : answers_(answers), i_(i) { Load(); }
    Bytes& operator*() { return current_; }
    Iterator& operator++() {
      ++i_;
      Load();
      return *this;
    }
    bool operator!=(const Iterator& other) const { return i_ != other.i_; }

   private:
    void Load() {
      if (i_ < answers_->size()) current_ = answers_->at(i_);
    }
    const PendingAnswers* answers_;
    std::size_t i_;
    Bytes current_;
  };
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, size_}; }

 private:
  struct Run {
    Bytes answer;                         // one answer, when there is no stream
    std::shared_ptr<const Bytes> stream;  // blocks first..end of a stream
    std::size_t first = 0;
    std::size_t end = 0;
    std::size_t Count() const { return stream ? end - first : 1; }
    Bytes At(std::size_t i) const;
  };
  std::deque<Run> runs_;
  std::size_t size_ = 0;
};

}  // namespace solardesk::sim
