#include <gtest/gtest.h>

#include "RecordingFixture.h"
#include "recording/logic/DataFileFormat.h"
#include "recording/logic/DataFileWriter.h"
#include "recording/logic/SingleText.h"

namespace solardesk {
namespace {

using testing::ReadBytes;

TEST(DataFileFormat, HeaderLinesOfBothUnitsAreByteExact) {
  const std::pair<const char*, QByteArray> cases[] = {
      {"W/(M)2", "      No.s\t            Date Time\t         W/(M)2\t\r\n"},
      {"Btu/(ft)2.h", "      No.s\t            Date Time\t    Btu/(ft)2.h\t\r\n"},
      {"", "      No.s\t            Date Time\t               \t\r\n"}};
  QTemporaryDir dir;
  for (const auto& [unit, expected] : cases) {
    const QString path = dir.filePath(QStringLiteral("h.pvd"));
    RecordFile file;
    ASSERT_TRUE(file.Create(path, QString::fromLatin1(unit)));
    ASSERT_TRUE(file.HeaderWritten());
    // Every line reaches the file at once, before the file is closed.
    EXPECT_EQ(ReadBytes(path), expected) << unit;
  }
}

TEST(DataFileFormat, SampleTimeIsZeroPaddedAnd24Hour) {
  EXPECT_EQ(SampleTimeText(QDateTime(QDate(2026, 3, 4), QTime(17, 5, 9))),
            QStringLiteral("2026/03/04 17:05:09"));
  EXPECT_EQ(FlushFileName(QStringLiteral("/data"), QDateTime(QDate(2026, 3, 4), QTime(7, 5, 9))),
            QStringLiteral("/data/0304070509.pvd"));
}

TEST(DataFileFormat, ContinuationNamesAreFormedAtTheFileNamesFirstDot) {
  const std::tuple<const char*, int, const char*> cases[] = {
      {"/logs/site.2026.pvd", 2, "/logs/site-2.2026.pvd"},
      {"/logs.old/site", 1, "/logs.old/site-1"},
      {"site", 12, "site-12"},
      {"C:\\logs.d\\site.pvd", 3, "C:\\logs.d\\site-3.pvd"}};
  for (const auto& [path, part, expected] : cases) {
    EXPECT_EQ(ContinuationName(QString::fromLatin1(path), part), QString::fromLatin1(expected))
        << path;
  }
}

// Lists show and print every line in the header's columns (10, 21 and 15 characters wide), so
// the number of a row never moves the fields after it.
TEST(DataFileFormat, AlignedLinesStandInTheHeadersColumns) {
  const std::pair<const char*, const char*> cases[] = {
      {"      No.s\t            Date Time\t         W/(M)2\t",
       "      No.s            Date Time         W/(M)2"},
      {"      9\t2026/12/04 09:30:00\t98.76\t", "         9  2026/12/04 09:30:00          98.76"},
      {"      345600\t2026/12/04 09:30:00\t98.76\t",
       "    345600  2026/12/04 09:30:00          98.76"},
      {"         1\t  26/12/04 09:30:00\t 0123.\t",
       "         1    26/12/04 09:30:00          0123."},
      {"12345678901\tx\ty\tz\t", "12345678901                    x              y z"},
      {"no tabs", "   no tabs"},
  };
  for (const auto& [line, shown] : cases)
    EXPECT_EQ(AlignedLine(QString::fromLatin1(line)), QString::fromLatin1(shown)) << line;
}

TEST(SingleText, CountersPrintLikeSinglePrecisionNumbers) {
  const std::pair<float, const char*> cases[] = {
      {345601.0f, "345601"},         {9999999.0f, "9999999"}, {10000000.0f, "1E+07"},
      {12345678.0f, "1.234568E+07"}, {2.5f, "2.5"},           {0.0f, "0"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(SingleText(value), QLatin1String(text)) << text;
}

}  // namespace
}  // namespace solardesk
