#include <gtest/gtest.h>

#include "link/Commands.h"
#include "sim/LoggerSetLayout.h"
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

TEST_F(VirtualMeterTest, SettingsAndSchedulesAreReportedWhereTheyAreRead) {
  meter.interval = 30;
  meter.calibration = 1234;
  EXPECT_EQ(Ask(cmd::kQuerySettings), (Bytes{30, 0xD2, 0x04}));
  Do({cmd::kSetCalibration, 0x0F, 0x27});
  Do({cmd::kSetInterval, 5});
  EXPECT_EQ(Ask(cmd::kQuerySettings), (Bytes{5, 0x0F, 0x27}));
  Do({cmd::kSetCycling, 8, 30, 0, 17, 45, 0});
  EXPECT_EQ(Ask(cmd::kQueryCycling), (Bytes{8, 30, 0, 17, 45, 0}));
  Do({cmd::kSetReservation, 12, 3, 4, 5, 6, 7, 12, 3, 5, 0, 0, 0});
  EXPECT_EQ(Ask(cmd::kQueryReservation), (Bytes{12, 3, 4, 5, 6, 7, 12, 3, 5, 0, 0, 0}));
}

TEST_F(VirtualMeterTest, ClockIsAnsweredInPackedDecimalAndSetInPlainNumbers) {
  EXPECT_EQ(Ask(cmd::kQueryClock), (Bytes{0x26, 0x12, 0x04, 0x23, 0x59, 0x58}));
  Do({cmd::kSetClock, 12, 3, 4, 5, 6, 7});
  EXPECT_EQ(Ask(cmd::kQueryClock), (Bytes{0x12, 0x03, 0x04, 0x05, 0x06, 0x07}));
  clock.advanceMs(61000);  // the meter clock runs on
  EXPECT_EQ(Ask(cmd::kQueryClock), (Bytes{0x12, 0x03, 0x04, 0x05, 0x07, 0x08}));
  Do({cmd::kSetClock, 26, 2, 30, 0, 0, 0});  // no such date: ignored
  EXPECT_EQ(Ask(cmd::kQueryClock)[0], 0x12);
}

TEST_F(VirtualMeterTest, LoggerDirectoryIsLittleEndian) {
  meter.loggerStatus = 1;
  meter.capacityKb = 1000000;
  meter.freeKb = 500000;
  EXPECT_EQ(Ask(cmd::kQueryLoggerStatus), (Bytes{1, 0x40, 0x42, 0x0F, 0, 0x20, 0xA1, 0x07, 0}));
  meter.AddSet("12/03/04 05:06:07", "000000060", "W/m2", {"123.4", "234.5"});
  EXPECT_EQ(Ask(cmd::kQuerySetCount), (Bytes{1}));
  const Bytes entry = Ask(cmd::kQuerySetEntry, 1);
  ASSERT_EQ(entry.size(), 21u);
  EXPECT_EQ(entry[0] | entry[1] << 8 | entry[2] << 16 | entry[3] << 24, 256);  // 216 + 40
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(entry.data() + 4), 17), "12/03/04 05:06:07");
  EXPECT_EQ(Ask(cmd::kQuerySetEntry, 2), Bytes(21, 0));  // no such set
}

TEST_F(VirtualMeterTest, SetDataComesInSixtyFourByteBlocks) {
  meter.AddSet("12/03/04 05:06:07", "000000060", "W/m2", {"123.4", "234.5"});
  const auto blocks = meter.Handle({0, cmd::kQuery, cmd::kQuerySetData, 1});
  ASSERT_EQ(blocks.size(), 4u);  // 256 bytes
  for (const auto& b : blocks) EXPECT_EQ(b.size(), 64u);
  Bytes stream;
  for (const auto& b : blocks) stream.insert(stream.end(), b.begin(), b.end());
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&stream[79]), 9), "000000060");
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&stream[122]), 9), "W/m2     ");
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&stream[206]), 5), "123.4");
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&stream[215]), 5), "234.5");
  EXPECT_TRUE(meter.Handle({0, cmd::kQuery, cmd::kQuerySetData, 9}).empty());
  Do({cmd::kEraseLogger});
  EXPECT_EQ(Ask(cmd::kQuerySetCount), (Bytes{0}));
  EXPECT_EQ(meter.freeKb, meter.capacityKb);
}

TEST(LoggerSetLayout, LastNonZeroByteLiesFortyAfterTheLastRecord) {
  for (std::size_t n : {0u, 1u, 2u, 7u, 100u}) {
    std::vector<QString> readings(n, QStringLiteral("555.5"));
    const auto s = LayOutLoggerSet("000000001", "W", readings);
    ASSERT_FALSE(s.empty());
    EXPECT_NE(s.back(), 0);
    const std::size_t last = s.size();  // position of the last non-zero byte
    const std::size_t lastRecord = n == 0 ? 198 : 207 + 9 * (n - 1);
    EXPECT_EQ(last, lastRecord + 40) << n;
  }
}

TEST_F(VirtualMeterTest, KeysChangeWhatTheDisplayShows) {
  meter.SetFixedReading("500.0");
  Do({cmd::kKeyHold});
  EXPECT_TRUE(meter.hold);
  meter.SetFixedReading("600.0");
  EXPECT_EQ(meter.CurrentReadingText(), "500.0");  // held
  Do({cmd::kKeyHold});
  EXPECT_EQ(meter.CurrentReadingText(), "600.0");
  Do({cmd::kKeyUnit});
  EXPECT_EQ(meter.unit, "Btu/(ft)2.h");
  EXPECT_EQ(meter.CurrentReadingText(), "190.2");
  Do({cmd::kKeyUnit});
  EXPECT_EQ(meter.unit, "W/(M)2");
  Do({cmd::kKeyOnOff});
  EXPECT_EQ(Ask(cmd::kQueryDisplay), Bytes(30, 0));
  Do({cmd::kKeyOnOff});
  EXPECT_NE(Ask(cmd::kQueryDisplay), Bytes(30, 0));
  EXPECT_EQ(meter.received.size(), 8u);  // every report is kept
}

TEST_F(VirtualMeterTest, ShortOrUnknownReportsAreIgnored) {
  EXPECT_TRUE(meter.Handle({}).empty());
  EXPECT_TRUE(meter.Handle({0, 2}).empty());
  EXPECT_TRUE(meter.Handle({0, 2, 0x7F}).empty());
  EXPECT_TRUE(meter.Handle({0, 9, 1}).empty());
  Do({cmd::kSetReservation});  // parameters missing: read as 0
  EXPECT_EQ(Ask(cmd::kQueryReservation), Bytes(12, 0));
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
