#include <gtest/gtest.h>

#include "link/Commands.h"
#include "sim/VirtualMeter.h"

namespace solardesk::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

class VirtualMeterTest : public ::testing::Test {
 protected:
  Bytes Ask(unsigned code, std::uint8_t parameter = 0) {
    const auto answers = meter.Handle({0, cmd::kQuery, static_cast<std::uint8_t>(code), parameter});
    return answers.empty() ? Bytes{} : answers.front();
  }
  void Do(Bytes command) {
    command.insert(command.begin(), {0, cmd::kAction});
    EXPECT_TRUE(meter.Handle(command).empty());
  }

  ManualClock clock{QDateTime(QDate(2026, 12, 4), QTime(23, 59, 58))};
  VirtualMeter meter{clock};
};

// The clock answer of a time, in packed decimal, year first.
Bytes Packed(const QDateTime& t) {
  Bytes out;
  for (int v : {t.date().year() % 100, t.date().month(), t.date().day(), t.time().hour(),
                t.time().minute(), t.time().second()})
    out.push_back(static_cast<std::uint8_t>(v / 10 * 16 + v % 10));
  return out;
}

TEST(VirtualMeterClock, RunsFromTheSecondItWasGiven) {
  // The PC clock stands part way through a second when the meter clock is set.
  const std::pair<int, QTime> cases[] = {{500, QTime(13, 5, 9)},
                                         {999, QTime(13, 5, 0)},
                                         {1, QTime(0, 0, 0)},
                                         {250, QTime(23, 59, 59)}};
  for (const auto& [pcMs, start] : cases) {
    ManualClock clock{QDateTime(QDate(2026, 12, 4), QTime(9, 41, 7, pcMs))};
    VirtualMeter meter{clock};
    const QDateTime given(QDate(2028, 2, 27), start);
    meter.SetClock(given);
    const auto ask = [&] { return meter.Handle({0, cmd::kQuery, cmd::kQueryClock, 0}).at(0); };
    EXPECT_EQ(ask(), Packed(given)) << pcMs;
    clock.advanceMs(999);
    EXPECT_EQ(ask(), Packed(given)) << pcMs;
    clock.advanceMs(1);
    EXPECT_EQ(ask(), Packed(given.addSecs(1))) << pcMs;
  }
}

TEST_F(VirtualMeterTest, KeysChangeWhatTheDisplayShowsAndBadReportsAreIgnored) {
  meter.SetFixedReading("500.0");
  Do({cmd::kKeyHold});
  EXPECT_TRUE(meter.hold);
  meter.SetFixedReading("600.0");
  EXPECT_EQ(meter.CurrentReadingText(), "500.0");  // held
  Do({cmd::kKeyHold});
  EXPECT_EQ(meter.CurrentReadingText(), "600.0");
  Do({cmd::kKeyUnit});
  EXPECT_EQ(meter.unit + " " + meter.CurrentReadingText(), "Btu/(ft)2.h 190.2");
  Do({cmd::kKeyUnit});
  EXPECT_EQ(meter.unit + " " + meter.CurrentReadingText(), "W/(M)2 600.0");
  Do({cmd::kKeyOnOff});
  EXPECT_EQ(Ask(cmd::kQueryDisplay), Bytes(30, 0));
  Do({cmd::kKeyOnOff});
  EXPECT_NE(Ask(cmd::kQueryDisplay), Bytes(30, 0));
  EXPECT_EQ(meter.received.size(), 8u);  // every report is kept
  // Setting the clock in plain numbers and reading it in packed decimal is the clock window's test.
  EXPECT_TRUE(meter.Handle({}).empty());
  EXPECT_TRUE(meter.Handle({0, 2}).empty());
  EXPECT_TRUE(meter.Handle({0, 2, 0x7F}).empty());
  EXPECT_TRUE(meter.Handle({0, 9, 1}).empty());
  Do({cmd::kSetReservation});  // parameters missing: read as 0
  EXPECT_EQ(Ask(cmd::kQueryReservation), Bytes(12, 0));
  Do({cmd::kSetClock, 26, 2, 30, 0, 0, 0});  // no such date: ignored
  EXPECT_EQ(Ask(cmd::kQueryClock), (Bytes{0x26, 0x12, 0x04, 0x23, 0x59, 0x58}));
}

TEST_F(VirtualMeterTest, KeepsOnlyTheLatestReportsHowEverLongItRuns) {
  // A station polls about ten times a second for days: the history must not grow with it.
  const std::size_t sent = 3 * VirtualMeter::kReceivedKept + 7;
  for (std::size_t k = 0; k < sent; ++k)
    meter.Handle({0, cmd::kQuery, cmd::kQueryDisplay, static_cast<std::uint8_t>(k & 0xFF)});
  EXPECT_EQ(meter.receivedTotal, sent);
  ASSERT_EQ(meter.received.size(), VirtualMeter::kReceivedKept);
  EXPECT_EQ(meter.received.back()[3], static_cast<std::uint8_t>((sent - 1) & 0xFF));
  EXPECT_EQ(meter.received.front()[3],
            static_cast<std::uint8_t>((sent - VirtualMeter::kReceivedKept) & 0xFF));
}

TEST(Sunlight, FollowsTheDayAndStaysInRange) {
  const QDate day(2026, 6, 21);
  EXPECT_LT(VirtualMeter::SunlightAt(QDateTime(day, QTime(2, 0))), 10.0);
  const double noon = VirtualMeter::SunlightAt(QDateTime(day, QTime(12, 0)));
  EXPECT_GT(noon, 250.0);
  EXPECT_LE(noon, 1000.0);
  double previous = VirtualMeter::SunlightAt(QDateTime(day, QTime(11, 0)));
  for (int s = 1; s < 600; ++s) {  // smooth: no jumps from one second to the next
    const double v = VirtualMeter::SunlightAt(QDateTime(day, QTime(11, 0)).addSecs(s));
    EXPECT_LT(std::abs(v - previous), 50.0);
    previous = v;
  }
}

}  // namespace
}  // namespace solardesk::sim
