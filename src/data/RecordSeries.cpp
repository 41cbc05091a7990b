#include "RecordSeries.h"

#include <limits>

#include "core/Numbers.h"

namespace solardesk {
namespace {

constexpr char kSpaces[] = "          ";  // kRecordNumberWidth spaces

QByteArrayView WithoutLeadingSpaces(QByteArrayView t) {
  while (!t.empty() && t.front() == ' ') t = t.sliced(1);
  return t;
}

}  // namespace

RecordFields SplitRecord(QByteArrayView line) {
  RecordFields f;
  QByteArrayView* fields[] = {&f.number, &f.time, &f.reading};
  qsizetype start = 0;
  for (QByteArrayView* field : fields) {
    if (start > line.size()) break;
    const qsizetype tab = line.indexOf('\t', start);
    const qsizetype end = tab < 0 ? line.size() : tab;
    *field = line.sliced(start, end - start);
    start = end + 1;
  }
  return f;
}

std::optional<qint64> RecordNumber(QByteArrayView line) {
  const std::optional<double> n = ReadingValue(SplitRecord(line).number);
  if (!n || *n < 1 || *n > 9e15) return std::nullopt;
  return static_cast<qint64>(*n);
}

void RecordSeries::SetHeader(QByteArrayView line) {
  line = WithoutLeadingSpaces(line);
  const qsizetype tab = line.indexOf('\t');
  const QByteArrayView first = tab < 0 ? line : line.first(tab);
  QString title = QString::fromLatin1(first);
  if (title.size() < kRecordNumberWidth)
    title.prepend(QString(kRecordNumberWidth - title.size(), QLatin1Char(' ')));
  if (tab >= 0) title += QLatin1Char('\t') + QString::fromLatin1(line.sliced(tab + 1));
  title_ = title;
  unit_ = QString::fromLatin1(SplitRecord(line).reading);
  hasHeader_ = true;
}

bool RecordSeries::Append(QByteArrayView line) {
  line = WithoutLeadingSpaces(line);
  const qsizetype tab = line.indexOf('\t');
  if (tab < 0) return false;
  const QByteArrayView number = line.first(tab);
  entries_.beginLine();
  if (number.size() < kRecordNumberWidth)
    entries_.add(QByteArrayView(kSpaces, kRecordNumberWidth - number.size()));
  entries_.add(line);

  const RecordFields f = SplitRecord(line);
  // Every time goes through the timeline, so that the records around an unreadable one are
  // placed alike in every consumer.
  const std::optional<Instant> at = timeline_.Next(f.time);
  const std::optional<double> v = ReadingValue(f.reading);
  values_.push_back(v ? *v : std::numeric_limits<double>::quiet_NaN());
  utc_.push_back(at ? at->utc : kNoTime);
  offsets_.push_back(at ? at->offset : 0);
  if (!at || !v) ++unreadable_;
  return true;
}

void RecordSeries::reserve(qsizetype bytes, int records) {
  entries_.reserve(bytes, records);
  const auto n = static_cast<std::size_t>(std::max(records, 0));
  values_.reserve(n);
  utc_.reserve(n);
  offsets_.reserve(n);
}

RecordFields RecordSeries::fields(int i) const {
  RecordFields f = SplitRecord(entry(i));
  f.number = WithoutLeadingSpaces(f.number);
  return f;
}

std::optional<Instant> RecordSeries::instant(int i) const {
  const auto k = static_cast<std::size_t>(i);
  if (utc_[k] == kNoTime) return std::nullopt;
  return Instant{utc_[k], offsets_[k]};
}

RecordSeries RecordSeriesOfLines(const LineStore& lines, int first) {
  RecordSeries s;
  s.reserve(0, std::max(0, lines.count() - first));
  for (int i = first; i < lines.count(); ++i) s.Append(lines.bytes(i));
  return s;
}

}  // namespace solardesk
