#include "ReadingSeries.h"

#include "data/RecordSeries.h"

namespace solardesk {

ReadingSeries ReadSeries(const RecordSeries& records) {
  ReadingSeries s;
  const auto capacity = static_cast<std::size_t>(records.count());
  s.instants.reserve(capacity);
  s.offsets.reserve(capacity);
  s.values.reserve(capacity);
  s.entries.reserve(capacity);
  for (int i = 0; i < records.count(); ++i) {
    const std::optional<Instant> t = records.instant(i);
    if (!t || !records.hasValue(i)) continue;
    s.instants.push_back(t->utc);
    s.offsets.push_back(t->offset);
    s.values.push_back(records.value(i));
    s.entries.push_back(i);
  }
  s.unreadable = records.unreadable();
  return s;
}

}  // namespace solardesk
