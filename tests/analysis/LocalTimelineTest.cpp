#include <QStringList>

#include "BerlinTime.h"
#include "core/IsoTime.h"
#include "data/LocalTimeline.h"
#include "data/SampleTime.h"

namespace solardesk::testing {
namespace {

using LocalTimelineTest = BerlinTime;

// Each time of a series in turn, as ISO 8601 ("-" for none).
QStringList Resolved(const std::vector<const char*>& times) {
  LocalTimeline timeline;
  QStringList out;
  for (const char* t : times) {
    const std::optional<Instant> i = timeline.Next(QByteArrayView(t));
    out << (i ? IsoTimeText(i->local(), i->offset) : QStringLiteral("-"));
  }
  return out;
}

TEST_F(LocalTimelineTest, SeriesCrossTheDaylightSavingChangesInOrder) {
  const std::tuple<const char*, std::vector<const char*>, QStringList> cases[] = {
      {"spring: one second from 01:59:59 to 03:00:00",
       {"2026/03/29 01:59:59", "2026/03/29 03:00:00"},
       {"2026-03-29T01:59:59+01:00", "2026-03-29T03:00:00+02:00"}},
      {"spring: the skipped hour names no moment",
       {"2026/03/29 01:30:00", "2026/03/29 02:30:00", "2026/03/29 03:30:00"},
       {"2026-03-29T01:30:00+01:00", "-", "2026-03-29T03:30:00+02:00"}},
      {"autumn: the repeated hour once through, then again after the step back",
       {"2026/10/25 01:59:59", "2026/10/25 02:59:59", "2026/10/25 02:00:00", "2026/10/25 02:00:00",
        "2026/10/25 02:30:00", "2026/10/25 03:00:00"},
       {"2026-10-25T01:59:59+02:00", "2026-10-25T02:59:59+02:00", "2026-10-25T02:00:00+01:00",
        "2026-10-25T02:00:00+01:00", "2026-10-25T02:30:00+01:00", "2026-10-25T03:00:00+01:00"}},
      {"autumn: a reading once an hour falls in the first pass",
       {"2026/10/25 01:30:00", "2026/10/25 02:30:00", "2026/10/25 03:30:00"},
       {"2026-10-25T01:30:00+02:00", "2026-10-25T02:30:00+02:00", "2026-10-25T03:30:00+01:00"}},
      {"logger form, blanks, and texts that are no time",
       {"  26/07/01 12:00:05", "2026/02/30 10:00:00", "2026/07/01 24:00:00", "yesterday",
        "2026-07-01 12:00:05", "2024/02/29 23:59:59 "},
       {"2026-07-01T12:00:05+02:00", "-", "-", "-", "-", "2024-02-29T23:59:59+01:00"}},
  };
  for (const auto& [name, times, expected] : cases) EXPECT_EQ(Resolved(times), expected) << name;
}

// A zone whose offset changes at half past an hour: the hour is looked up second by second.
int HalfPastChange(qint64 utc) {
  return utc < 1800 ? 3600 : 7200;
}

TEST(LocalTimeline, ChangeInsideAnHour) {
  LocalTimeline timeline(HalfPastChange);
  const auto utcOf = [&](qint64 local) {
    const std::optional<Instant> i = timeline.Next(local);
    return i ? i->utc : -1;
  };
  EXPECT_EQ(utcOf(3600 + 1799), 1799);
  EXPECT_EQ(utcOf(3600 + 1800), -1);  // skipped
  EXPECT_EQ(utcOf(7200 + 1799), -1);
  EXPECT_EQ(utcOf(7200 + 1800), 1800);
}

TEST(SampleTime, IsoTextAndCalendar) {
  EXPECT_EQ(IsoTimeText(0, -(5 * 3600 + 1800)), QStringLiteral("1970-01-01T00:00:00-05:30"));
  EXPECT_EQ(IsoTimeText(-1, 0), QStringLiteral("1969-12-31T23:59:59+00:00"));
  for (const qint64 day : {-719468LL, -1LL, 0LL, 11016LL, 20454LL, 2932896LL}) {
    const CivilDate d = CivilFromDays(day);
    EXPECT_EQ(DaysFromCivil(d.year, d.month, d.day), day);
  }
  EXPECT_EQ(DateText(DaysFromCivil(2028, 2, 29)), QStringLiteral("2028-02-29"));
}

}  // namespace
}  // namespace solardesk::testing
