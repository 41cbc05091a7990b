#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <cmath>
#include <limits>

#include "analysis/BerlinTime.h"
#include "core/IsoTime.h"
#include "core/Numbers.h"
#include "data/RecordFile.h"
#include "data/RecordSeries.h"

namespace solardesk::testing {
namespace {

using RecordSeriesTest = BerlinTime;

QString IsoOf(const RecordSeries& s, int i) {
  const std::optional<Instant> t = s.instant(i);
  return t ? IsoTimeText(t->local(), t->offset) : QStringLiteral("-");
}

// The three line forms and a list entry give the same record, each listed with its number
// right-aligned in ten characters and the rest as written.
TEST_F(RecordSeriesTest, EveryLineFormGivesTheSameRecord) {
  const struct {
    const char* line;
    const char* entry;
  } forms[] = {
      {"      7\t2026/06/12 10:00:00\t 742.5\t", "         7\t2026/06/12 10:00:00\t 742.5\t"},
      {"      7\t2026/06/12 10:00:00\t742.5\t", "         7\t2026/06/12 10:00:00\t742.5\t"},
      {"         7\t  26/06/12 10:00:00\t742.5\t", "         7\t  26/06/12 10:00:00\t742.5\t"},
  };
  for (const auto& f : forms) {
    RecordSeries s;
    ASSERT_TRUE(s.Append(f.line)) << f.line;
    EXPECT_EQ(s.entry(0), QByteArrayView(f.entry)) << f.line;
    EXPECT_EQ(s.fields(0).number, QByteArrayView("7"));
    EXPECT_EQ(s.value(0), 742.5) << f.line;
    EXPECT_EQ(IsoOf(s, 0), QStringLiteral("2026-06-12T10:00:00+02:00")) << f.line;
    EXPECT_EQ(s.unreadable(), 0);
  }
  RecordSeries s;
  EXPECT_FALSE(s.Append("no tab at all"));
  EXPECT_EQ(s.count(), 0);
}

// A reading that is no number stays in the listing but has no value and is counted; so is a
// record whose time names no moment. Numbers keep their value whatever their time.
TEST_F(RecordSeriesTest, UnreadableRecordsAreCountedAndKeepTheirText) {
  const char* lines[] = {
      "1\t2026/03/29 01:59:59\t 10\t",     "2\t2026/03/29 02:30:00\t 20\t",  // skipped by the clock
      "3\t2026/03/29 03:00:00\t ----\t",   "4\t2026/02/30 10:00:00\t 40\t",  // no such date
      "5\t2026/03/29 03:00:02\t 12abc\t",  "6\t2026/03/29 03:00:03\t\t",
      "7\t2026/03/29 03:00:04\t 1.7e308\t"};
  RecordSeries s;
  for (const char* line : lines) ASSERT_TRUE(s.Append(line));
  ASSERT_EQ(s.count(), 7);
  const bool hasValue[] = {true, true, false, true, false, false, true};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(s.hasValue(i), hasValue[i]) << i;
  EXPECT_TRUE(std::isnan(s.value(2)));
  EXPECT_EQ(s.value(6), 1.7e308);
  EXPECT_EQ(IsoOf(s, 0), QStringLiteral("2026-03-29T01:59:59+01:00"));
  EXPECT_EQ(IsoOf(s, 1), QStringLiteral("-"));
  EXPECT_EQ(IsoOf(s, 3), QStringLiteral("-"));
  EXPECT_EQ(IsoOf(s, 2), QStringLiteral("2026-03-29T03:00:00+02:00"));
  EXPECT_EQ(s.unreadable(), 5);  // records 2 to 6
  EXPECT_EQ(s.fields(4).reading, QByteArrayView(" 12abc"));
}

// A copy goes on placing times by itself (the timeline keeps no pointer into the original).
TEST_F(RecordSeriesTest, ACopyGoesOnAfterTheOriginalIsGone) {
  auto original = std::make_unique<RecordSeries>();
  original->Append("1\t2026/10/25 02:59:59\t 1\t");
  RecordSeries copy = *original;
  original.reset();
  copy.Append("2\t2026/10/25 02:00:01\t 2\t");  // the repeated hour: its second pass
  EXPECT_EQ(IsoOf(copy, 1), QStringLiteral("2026-10-25T02:00:01+01:00"));
}

TEST_F(RecordSeriesTest, RecordNumbersOfLinesAndTheLiveList) {
  EXPECT_EQ(RecordNumber("      17\t2026/06/12 10:00:00\t 1\t"), 17);
  EXPECT_EQ(RecordNumber("1.234568E+07\tx\t"), 12345680);
  EXPECT_EQ(RecordNumber("0\tx\t"), std::nullopt);
  EXPECT_EQ(RecordNumber("      No.s\t            Date Time\t"), std::nullopt);

  LineStore live;
  live.append(QStringLiteral("      No.s\t            Date Time\t         W/(M)2\t"));
  live.append(QStringLiteral("      1\t2026/06/12 10:00:00\t5\t"));
  const RecordSeries s = RecordSeriesOfLines(live, 1);
  ASSERT_EQ(s.count(), 1);
  EXPECT_EQ(s.value(0), 5);
}

class RecordFileTest : public BerlinTime {
 protected:
  QString Write(const QByteArray& bytes) {
    const QString path = dir_.filePath(QStringLiteral("f.pvd"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(RecordFileTest, HeaderRecordsLineEndsAndTheFirstLineWithoutATab) {
  RecordSeries s;
  const RecordFileOutcome o = ReadRecordFile(
      Write("  No.s\t Date Time\t    Btu/(ft)2.h\t\r\n   1\t2026/06/12 10:00:00\t 1\t\n"
            "2\t2026/06/12 10:00:01\t 2\t\r\nstop here\r\n3\t2026/06/12 10:00:02\t 3\t"),
      s);
  EXPECT_TRUE(o.opened);
  EXPECT_FALSE(o.complete);
  EXPECT_EQ(o.linesRead, 3);
  EXPECT_EQ(s.title(), QStringLiteral("      No.s\t Date Time\t    Btu/(ft)2.h\t"));
  EXPECT_EQ(s.unit(), QStringLiteral("    Btu/(ft)2.h"));
  ASSERT_EQ(s.count(), 2);
  EXPECT_EQ(s.entry(1), QByteArrayView("         2\t2026/06/12 10:00:01\t 2\t"));

  RecordSeries none;
  EXPECT_FALSE(ReadRecordFile(dir_.filePath(QStringLiteral("missing.pvd")), none).opened);
}

TEST_F(RecordFileTest, ProgressCanStopTheReading) {
  QByteArray bytes = "h\th\th\t\r\n";
  for (int i = 1; i <= 50; ++i) bytes += QByteArray::number(i) + "\t2026/06/12 10:00:00\t 1\t\r\n";
  RecordSeries s;
  const RecordFileOutcome o = ReadRecordFile(Write(bytes), s, [](int lines) { return lines < 10; });
  EXPECT_FALSE(o.complete);
  EXPECT_EQ(o.linesRead, 10);
  EXPECT_EQ(s.count(), 9);
}

// One scanner, three named rules.
TEST(Numbers, TheLeadingTheUnsignedAndTheReadingRule) {
  const std::pair<const char*, double> leading[] = {
      {" 98.76\t", 98.76}, {"12", 12},   {"  -3.5e2x", -350}, {"1e", 1},   {"abc\t", 0}, {"", 0},
      {" .5", 0.5},        {"+7.\t", 7}, {"--1", 0},          {"1e999", 0}};
  for (const auto& [text, value] : leading) EXPECT_EQ(LeadingNumber(text), value) << text;
  EXPECT_EQ(LeadingNumber(QStringView(u" 2.5 ")), 2.5);
  const std::pair<const char*, double> unsignedOnes[] = {
      {"000000060", 60}, {"  1.5 sec", 1.5}, {".25", 0.25}, {"1.2.3", 1.2},
      {"1e3", 1},        {"abc", 0},         {"-5", 0},     {"+5", 0}};
  for (const auto& [text, value] : unsignedOnes)
    EXPECT_EQ(LeadingUnsignedNumber(text), value) << text;
  const std::pair<const char*, std::optional<double>> readings[] = {
      {" 12.5 ", 12.5},
      {"-0.75", -0.75},
      {"1.5E3", 1500.0},
      {".5", 0.5},
      {"5.", 5.0},
      {"1.7e308", 1.7e308},
      {"1234567890123456789", 1234567890123456789.0},
      {"1,5", {}},
      {"+5", {}},
      {"12abc", {}},
      {"1e", {}},
      {"1e999", {}},
      {"inf", {}},
      {"nan", {}},
      {".", {}},
      {"-", {}},
      {"0x10", {}},
      {"", {}}};
  for (const auto& [text, value] : readings) EXPECT_EQ(ReadingValue(text), value) << text;
}

TEST(IsoTime, OneWriterForLocalSecondsAndMoments) {
  EXPECT_EQ(IsoTimeText(0, -(5 * 3600 + 1800)), QStringLiteral("1970-01-01T00:00:00-05:30"));
  const QDateTime t(QDate(2026, 12, 6), QTime(10, 0, 1), QTimeZone(3600));
  EXPECT_EQ(IsoTimeText(t), QStringLiteral("2026-12-06T10:00:01+01:00"));
}

}  // namespace
}  // namespace solardesk::testing
