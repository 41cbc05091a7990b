#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <clocale>
#include <cmath>
#include <string>

#include "BerlinTime.h"
#include "analysis/Integration.h"
#include "analysis/RangeEnergy.h"
#include "analysis/SeriesStatistics.h"
#include "analysis/StatisticsReport.h"
#include "core/IsoTime.h"
#include "core/Numbers.h"
#include "data/RecordSeries.h"
#include "data/SampleTime.h"

namespace solardesk::testing {
namespace {

using SeriesStatisticsTest = BerlinTime;

struct Reading {
  QString time;
  QString value;
};

// List entries as "Open" leaves them: number, tab, date-time, tab, a blank and the value, tab.
LineStore Entries(const std::vector<Reading>& readings) {
  LineStore store;
  int n = 0;
  for (const Reading& r : readings)
    store.append(QStringLiteral("%1\t%2\t %3\t").arg(++n, 10).arg(r.time, r.value));
  return store;
}

// `count` readings `step` seconds apart from `start`, each given by `value(i)`.
std::vector<Reading> Samples(const QString& start, int count, int step,
                             const std::function<QString(int)>& value) {
  // Wall-clock arithmetic: counted in UTC, which has no clock changes.
  QDateTime t0 = QDateTime::fromString(start, QStringLiteral("yyyy/MM/dd HH:mm:ss"));
  t0 = QDateTime(t0.date(), t0.time(), Qt::UTC);
  std::vector<Reading> out;
  for (int i = 0; i < count; ++i)
    out.push_back(
        {t0.addSecs(qint64(i) * step).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")), value(i)});
  return out;
}

std::vector<Reading> Join(std::vector<Reading> a, const std::vector<Reading>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

SeriesStatistics Of(const std::vector<Reading>& readings, const QString& unit = "W/(M)2") {
  return ComputeStatistics(ReadSeries(RecordSeriesOfLines(Entries(readings))), unit);
}

auto Constant(const char* v) {
  return [v](int) { return QString::fromLatin1(v); };
}

TEST_F(SeriesStatisticsTest, EnergyGapsAndExtremesOfHandComputedSeries) {
  const struct {
    const char* name;
    std::vector<Reading> readings;
    QString unit;
    double energy;
    double peakSunHours;
    qint64 count, unreadable, gaps, gapSeconds;
  } cases[] = {
      // 3,600 samples span 3,599 s.
      {"constant hour", Samples("2026/06/21 10:00:00", 3600, 1, Constant("500")), "W/(M)2",
       500.0 * 3599 / 3600, 0.5 * 3599 / 3600, 3600, 0, 0, 0},
      {"triangle",
       Samples("2026/06/21 10:00:00", 5, 60,
               [](int i) { return QString::number(100 * (2 - std::abs(i - 2))); }),
       "W/(M)2", 24000.0 / 3600, 24.0 / 3600, 5, 0, 0, 0},
      // Spacings 10, 10, 10, 3570, 10: the median is 10, so 3570 s is a hole.
      {"gap",
       Join(Samples("2026/06/21 10:00:00", 4, 10, Constant("360")),
            Samples("2026/06/21 11:00:00", 2, 10, Constant("360"))),
       "W/(M)2", 4.0, 0.004, 6, 0, 1, 3570},
      // The readable ones are 2 s apart; 2 s is the median, so nothing is a gap.
      {"unreadable",
       Samples("2026/06/21 10:00:00", 7, 1,
               [](int i) {
                 const char* v[] = {"720", "OL", "720", "", "720", "----", "1,5"};
                 return QString::fromLatin1(v[i]);
               }),
       "W/(M)2", 720.0 * 4 / 3600, 0.8 / 1000, 3, 4, 0, 0},
      // One hour of 100 Btu/(ft)2.h is 100 Btu/ft2 = 315.459 Wh/m2.
      {"Btu", Samples("2026/06/21 10:00:00", 3601, 1, Constant("100")), "    Btu/(ft)2.h", 100.0,
       0.315459, 3601, 0, 0, 0},
      // Four spacings of one second each, across both changes.
      {"spring change",
       Join(Samples("2026/03/29 01:59:57", 3, 1, Constant("1800")),
            Samples("2026/03/29 03:00:00", 2, 1, Constant("1800"))),
       "W/(M)2", 2.0, 0.002, 5, 0, 0, 0},
      {"autumn change",
       Join(Samples("2026/10/25 02:59:58", 2, 1, Constant("3600")),
            Samples("2026/10/25 02:00:00", 2, 1, Constant("3600"))),
       "W/(M)2", 3.0, 0.003, 4, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const SeriesStatistics s = Of(c.readings, c.unit);
    EXPECT_NEAR(s.energy, c.energy, 1e-9) << c.name;
    EXPECT_NEAR(s.peakSunHours, c.peakSunHours, 1e-9) << c.name;
    EXPECT_EQ(s.count, c.count) << c.name;
    EXPECT_EQ(s.unreadable, c.unreadable) << c.name;
    EXPECT_EQ(s.gaps, c.gaps) << c.name;
    EXPECT_EQ(s.gapSeconds, c.gapSeconds) << c.name;
  }

  const SeriesStatistics triangle = Of(cases[1].readings);
  EXPECT_EQ(triangle.max.value, 200);
  EXPECT_EQ(IsoTimeText(triangle.max.time.local(), triangle.max.time.offset),
            QStringLiteral("2026-06-21T10:02:00+02:00"));
  EXPECT_EQ(triangle.min.value, 0);
  EXPECT_EQ(triangle.min.time.utc, triangle.first.utc);  // the first of two equal lowest
  EXPECT_DOUBLE_EQ(triangle.mean, 80);
  EXPECT_EQ(Of(cases[4].readings, cases[4].unit).unit, QStringLiteral("Btu/(ft)2.h"));
}

TEST_F(SeriesStatisticsTest, DaysTakeTheSegmentsThatStartOnThem) {
  const SeriesStatistics s = Of(Samples("2026/06/21 23:59:58", 4, 1, [](int i) {
    return QString::number(3600 * QList<int>{1, 2, 3, 5}[i]);
  }));
  ASSERT_EQ(s.days.size(), 2u);
  const std::vector<QStringList> rows = DailyRows(s);
  // 3600·1.5 + 3600·2.5 W/m2 for a second each on the 21st (the segment over midnight
  // included), 3600·4 on the 22nd.
  EXPECT_EQ(rows[0],
            (QStringList{"2026-06-21", "2", "3600", "7200", "5400.00", "4.00", "0.004", "0"}));
  EXPECT_EQ(rows[1],
            (QStringList{"2026-06-22", "2", "10800", "18000", "14400.00", "4.00", "0.004", "0"}));
  EXPECT_DOUBLE_EQ(s.energy, 8);
}

// Readings and reports look the same whatever the desktop's number format.
TEST_F(SeriesStatisticsTest, NumbersIgnoreTheLocale) {
  const std::string kept = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
  const std::pair<const char*, std::optional<double>> readings[] = {
      {" 12.5 ", 12.5},      {"-0.75", -0.75},      {"1.5E3", 1500.0},
      {"1,5", std::nullopt}, {"OL", std::nullopt},  {"--.-", std::nullopt},
      {"", std::nullopt},    {"nan", std::nullopt}, {"12.5x", std::nullopt}};
  for (const auto& [text, value] : readings) EXPECT_EQ(ReadingValue(text), value) << text;
  const SeriesStatistics s = Of(Samples("2026/06/21 10:00:00", 2, 1800, Constant("1000.5")));
  const QByteArray json = StatisticsJson(s);
  std::setlocale(LC_ALL, kept.c_str());
  EXPECT_TRUE(json.contains("\"mean\": 1000.5,")) << json.toStdString();
  EXPECT_TRUE(json.contains("\"energy\": {\"value\": 500.25, \"unit\": \"Wh/m2\"}"));
}

// Readings near the largest double are numbers, but their energy and mean overflow: the JSON
// says null there and stays JSON.
TEST_F(SeriesStatisticsTest, FiguresThatOverflowAreNullInJson) {
  const SeriesStatistics s = Of(Samples("2026/06/21 10:00:00", 3, 3600, Constant("1.7e308")));
  ASSERT_EQ(s.count, 3);
  ASSERT_TRUE(std::isinf(s.energy));
  const QByteArray json = StatisticsJson(s);
  QJsonParseError error;
  const QJsonObject o = QJsonDocument::fromJson(json, &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
  EXPECT_TRUE(o["energy"].toObject()["value"].isNull());
  EXPECT_TRUE(o["mean"].isNull());
  EXPECT_EQ(o["max"].toObject()["value"].toDouble(), 1.7e308);
}

TEST(Integration, RunningIntegralAndRangeEnergyLeaveGapsOut) {
  const std::vector<qint64> t = {0, 10, 20, 30, 1000, 1010};
  const std::vector<double> v = {360, 360, 360, 360, 360, 360};
  EXPECT_DOUBLE_EQ(GapLimit(t), 30);
  EXPECT_EQ(RunningIntegral(t, v, GapLimit(t)), (std::vector<double>{0, 1, 2, 3, 3, 4}));

  ReadingSeries series;
  series.instants = t;
  series.values = v;
  series.offsets.assign(t.size(), 0);
  series.entries = {0, 1, 3, 4, 5, 6};  // entry 3 (X = 3) was unreadable
  const RangeEnergy energy(series, IrradianceUnit::WattsPerSquareMetre);
  EXPECT_DOUBLE_EQ(energy.Between(1, 7), 4);
  EXPECT_DOUBLE_EQ(energy.Between(1.5, 5.2), 2);  // entries 2 to 5: samples 1 to 3
  EXPECT_DOUBLE_EQ(energy.Between(5, 6), 0);      // across the gap
  EXPECT_DOUBLE_EQ(energy.Between(3, 3), 0);
  EXPECT_EQ(energy.Text(1, 7), QStringLiteral("Energy in view: 4.00 Wh/m2, 0.004 peak sun hours"));
}

}  // namespace
}  // namespace solardesk::testing
