#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

namespace solardesk {

// The lines of a list window, kept as 8-bit text in one buffer, so that a list of several
// hundred thousand lines costs little more than the file it came from.
class LineStore {
 public:
  int count() const { return static_cast<int>(starts_.size()); }
  bool empty() const { return starts_.empty(); }
  // Line `i` (no line end); the empty view when `i` is out of range.
  QByteArrayView bytes(int i) const;
  QString line(int i) const { return QString::fromLatin1(bytes(i)); }

  void append(QByteArrayView line);
  void append(const QString& line) { append(QByteArrayView(line.toLatin1())); }
  // Appends a line built in pieces: beginLine, then add each piece.
  void beginLine() { starts_.push_back(data_.size()); }
  void add(QByteArrayView piece) { data_.append(piece); }
  // Keeps the first `n` lines.
  void truncate(int n);
  void clear();
  void reserve(qsizetype bytes, int lines);

 private:
  QByteArray data_;
  std::vector<qsizetype> starts_;
};

}  // namespace solardesk
