#include "ReadingSeries.h"

#include <charconv>
#include <cmath>

#include "recording/logic/LineStore.h"

namespace solardesk {
namespace {

// Plain decimals ("123.45", "-0.5") of up to 15 figures are exact in a double, and so is a power
// of ten up to 1e22: their quotient is the correctly rounded value. Everything else goes to
// std::from_chars.
std::optional<double> PlainDecimal(QByteArrayView t) {
  static constexpr double kPowers[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  qsizetype i = 0;
  const bool negative = t[0] == '-';
  if (negative) ++i;
  qint64 mantissa = 0;
  int figures = 0, decimals = 0;
  bool point = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (c >= '0' && c <= '9') {
      if (++figures > 15) return std::nullopt;
      mantissa = mantissa * 10 + (c - '0');
      if (point) ++decimals;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (figures == 0) return std::nullopt;
  const double v = static_cast<double>(mantissa) / kPowers[decimals];
  return negative ? -v : v;
}

}  // namespace

EntryFields SplitEntry(QByteArrayView entry) {
  EntryFields f;
  QByteArrayView* fields[] = {&f.number, &f.time, &f.value};
  qsizetype start = 0;
  for (QByteArrayView* field : fields) {
    if (start > entry.size()) break;
    const qsizetype tab = entry.indexOf('\t', start);
    const qsizetype end = tab < 0 ? entry.size() : tab;
    *field = entry.sliced(start, end - start);
    start = end + 1;
  }
  return f;
}

std::optional<double> ReadingValue(QByteArrayView text) {
  while (!text.empty() && text.front() == ' ') text = text.sliced(1);
  while (!text.empty() && text.back() == ' ') text.chop(1);
  if (text.empty()) return std::nullopt;
  if (const std::optional<double> plain = PlainDecimal(text)) return plain;
  // from_chars takes "inf" and "nan" and hex digits only when asked; figures must lead.
  const char first = text[0] == '-' ? (text.size() > 1 ? text[1] : ' ') : text[0];
  if (!((first >= '0' && first <= '9') || first == '.')) return std::nullopt;
  double v = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
    return std::nullopt;
  return v;
}

ReadingSeries ReadSeries(const LineStore& entries, int first) {
  ReadingSeries s;
  const auto capacity = static_cast<std::size_t>(std::max(0, entries.count() - first));
  s.instants.reserve(capacity);
  s.offsets.reserve(capacity);
  s.values.reserve(capacity);
  s.entries.reserve(capacity);
  LocalTimeline timeline;
  for (int i = first; i < entries.count(); ++i) {
    const EntryFields f = SplitEntry(entries.bytes(i));
    // Every time goes through the timeline, so that the readings around an unreadable one are
    // placed as the export places them.
    const std::optional<Instant> t = timeline.Next(f.time);
    const std::optional<double> v = ReadingValue(f.value);
    if (!t || !v) {
      ++s.unreadable;
      continue;
    }
    s.instants.push_back(t->utc);
    s.offsets.push_back(t->offset);
    s.values.push_back(*v);
    s.entries.push_back(i);
  }
  return s;
}

}  // namespace solardesk
