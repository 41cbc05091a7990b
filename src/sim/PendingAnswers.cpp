#include "PendingAnswers.h"

#include <algorithm>
#include <stdexcept>

namespace solardesk::sim {

constexpr std::size_t kBlockBytes = 64;

PendingAnswers::Bytes PendingAnswers::Run::At(std::size_t i) const {
  if (!stream) return answer;
  Bytes block(kBlockBytes, 0);
  const std::size_t from = (first + i) * kBlockBytes;
  if (from < stream->size()) {
    const std::size_t n = std::min(kBlockBytes, stream->size() - from);
    std::copy_n(stream->begin() + static_cast<std::ptrdiff_t>(from), n, block.begin());
  }
  return block;
}

void PendingAnswers::push_back(Bytes answer) {
  runs_.push_back({std::move(answer), nullptr, 0, 0});
  ++size_;
}

void PendingAnswers::PushBlocks(std::shared_ptr<const Bytes> stream, std::size_t count) {
  if (count == 0) return;
  runs_.push_back({{}, std::move(stream), 0, count});
  size_ += count;
}

void PendingAnswers::Append(PendingAnswers&& more) {
  for (Run& run : more.runs_) runs_.push_back(std::move(run));
  size_ += more.size_;
  more.clear();
}

void PendingAnswers::clear() {
  runs_.clear();
  size_ = 0;
}

PendingAnswers::Bytes PendingAnswers::at(std::size_t i) const {
  for (const Run& run : runs_) {
    if (i < run.Count()) return run.At(i);
    i -= run.Count();
  }
  throw std::out_of_range("no such answer");
}

PendingAnswers::Bytes PendingAnswers::Take() {
  Run& run = runs_.front();
  Bytes answer = run.At(0);
  if (run.stream && ++run.first < run.end) {
    --size_;
    return answer;
  }
  runs_.pop_front();
  --size_;
  return answer;
}

}  // namespace solardesk::sim
