#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <clocale>
#include <cmath>
#include <string>

#include "BerlinTime.h"
#include "analysis/ClearSky.h"
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

// Constant readings for an hour, one date after another: energy and peak sun hours by date and
// by month, and without a site no clear-sky figure at all.
TEST_F(SeriesStatisticsTest, MonthlyTableOfHandComputedDates) {
  const SeriesStatistics s = Of(Join(Join(Samples("2026/06/29 10:00:00", 3, 1800, Constant("1000")),
                                          Samples("2026/06/30 10:00:00", 3, 1800, Constant("500"))),
                                     Samples("2026/07/01 10:00:00", 3, 1800, Constant("2000"))));
  const std::vector<MonthFigures> months = MonthlyFigures(s);
  ASSERT_EQ(months.size(), 2u);
  EXPECT_EQ(MonthlyRows(s)[0], (QStringList{"2026-06", "2", "1500.00", "0.750"}));
  EXPECT_EQ(MonthlyRows(s)[1], (QStringList{"2026-07", "1", "2000.00", "2.000"}));
  EXPECT_DOUBLE_EQ(s.MeanDailyPeakSunHours(), 3.5 / 3);
  EXPECT_FALSE(months[0].clearSkyIndex || months[0].completeness);

  const QJsonObject o = QJsonDocument::fromJson(StatisticsJson(s)).object();
  EXPECT_DOUBLE_EQ(o["mean_daily_peak_sun_hours"].toDouble(), 1.166667);
  EXPECT_TRUE(o["completeness"].isNull());
  EXPECT_FALSE(o.contains("clear_sky"));
  const QJsonObject day = o["days"].toArray()[1].toObject();
  for (const char* key : {"clear_sky_energy", "clear_sky_index", "completeness"})
    EXPECT_TRUE(day.contains(key) && day[key].isNull()) << key;
  const QJsonObject june = o["months"].toArray()[0].toObject();
  EXPECT_EQ(june["month"].toString(), "2026-06");
  EXPECT_EQ(june["days"].toInt(), 2);
  EXPECT_DOUBLE_EQ(june["energy"].toDouble(), 1500);
  EXPECT_DOUBLE_EQ(june["mean_daily_peak_sun_hours"].toDouble(), 0.75);
  EXPECT_TRUE(june["clear_sky_index"].isNull() && june["completeness"].isNull());
  for (const char* key : {"latitude", "tilt", "model", "linke_turbidity", "transposition"})
    EXPECT_TRUE(o["site"].toObject()[key].isNull()) << key;
}

// Readings at a known share of the clear sky each date, every 10 minutes from 04:00 to 22:00 in
// Berlin, which covers the sun-up time whole: each date's index is its share, a month's the
// share of its energies, and every date is complete.
TEST_F(SeriesStatisticsTest, ClearSkyIndexAndCompletenessByDateAndMonth) {
  const Site berlin{52.52, 13.4, 34};
  const auto share = [&](const char* date, double k) {
    return Samples(QStringLiteral("%1 04:00:00").arg(date), 109, 600, [=](int i) {
      const QDateTime t =
          QDateTime::fromString(QStringLiteral("%1 04:00:00").arg(date), "yyyy/MM/dd HH:mm:ss")
              .addSecs(i * 600);
      return QString::number(k * ClearSkyGhi(berlin, t.toSecsSinceEpoch()), 'f', 6);
    });
  };
  const std::vector<Reading> readings =
      Join(Join(share("2026/06/21", 0.5), share("2026/06/22", 0.25)), share("2026/07/01", 1));
  const ReadingSeries series = ReadSeries(RecordSeriesOfLines(Entries(readings)));
  SeriesStatistics s = ComputeStatistics(series, "W/(M)2");
  AddClearSky(s, series, berlin);
  ASSERT_EQ(s.days.size(), 3u);
  const double indices[] = {0.5, 0.25, 1};
  for (std::size_t d = 0; d < 3; ++d) {
    ASSERT_TRUE(s.days[d].clearSky && s.days[d].clearSky->index && s.days[d].completeness);
    EXPECT_NEAR(*s.days[d].clearSky->index, indices[d], 1e-4) << d;
    EXPECT_NEAR(s.days[d].clearSky->energy, s.days[d].energy / indices[d], 0.1) << d;
    EXPECT_DOUBLE_EQ(*s.days[d].completeness, 1) << d;
    // About 16 h 50 min of sun-up time near midsummer in Berlin.
    EXPECT_NEAR(s.days[d].sunUpSeconds, 16 * 3600 + 50 * 60, 20 * 60) << d;
  }
  const std::vector<MonthFigures> months = MonthlyFigures(s);
  ASSERT_EQ(months.size(), 2u);
  // Two dates of nearly the same clear sky at a half and a quarter of it.
  EXPECT_NEAR(*months[0].clearSkyIndex, 0.375, 0.001);
  EXPECT_NEAR(*months[1].clearSkyIndex, 1, 1e-4);
  EXPECT_DOUBLE_EQ(*months[0].completeness, 1);
  EXPECT_EQ(DailyHeadings(s).mid(8),
            (QStringList{"Clear-sky energy (Wh/m2)", "Clear-sky index", "Completeness"}));
  EXPECT_EQ(DailyRows(s)[1].mid(9), (QStringList{"0.250", "100.0 %"}));
}

// Under the midnight sun the whole date is sun-up time: readings every minute from 00:00 to
// 12:00 with a hole of ten minutes cover 11 h 50 min of its 24 h. In the polar night the Sun
// never rises and the completeness is not known.
TEST_F(SeriesStatisticsTest, CompletenessIsTheShareOfSunUpTimeCovered) {
  const Site svalbard{80, 15, 0};
  const auto completeness = [&](const std::vector<Reading>& readings) {
    const ReadingSeries series = ReadSeries(RecordSeriesOfLines(Entries(readings)));
    SeriesStatistics s = ComputeStatistics(series, "W/(M)2");
    AddClearSky(s, series, svalbard);
    return s;
  };
  const SeriesStatistics summer =
      completeness(Join(Samples("2026/06/21 00:00:00", 361, 60, Constant("100")),
                        Samples("2026/06/21 06:10:00", 351, 60, Constant("100"))));
  EXPECT_EQ(summer.gaps, 1);
  EXPECT_DOUBLE_EQ(summer.days[0].sunUpSeconds, 86400);
  ASSERT_TRUE(summer.days[0].completeness);
  EXPECT_NEAR(*summer.days[0].completeness, 42600.0 / 86400, 1e-9);
  EXPECT_NEAR(*summer.completeness, 42600.0 / 86400, 1e-9);

  const SeriesStatistics winter =
      completeness(Samples("2026/12/21 10:00:00", 61, 60, Constant("3")));
  EXPECT_FALSE(winter.days[0].completeness);
  EXPECT_FALSE(winter.clearSky->index);
  const QJsonObject o = QJsonDocument::fromJson(StatisticsJson(winter)).object();
  EXPECT_TRUE(o["completeness"].isNull());
  EXPECT_TRUE(o["days"].toArray()[0].toObject()["clear_sky_index"].isNull());
  EXPECT_DOUBLE_EQ(o["days"].toArray()[0].toObject()["clear_sky_energy"].toDouble(), 0);
}

// Sunrise and sunset at Golden, Colorado, on 21 June 2026 as the almanacs give them: 05:32 and
// 20:32 mountain summer time (-06:00).
TEST(SunUpSpans, RiseAndSetOfAKnownDate) {
  const qint64 midnight = DaysFromCivil(2026, 6, 21) * kSecondsPerDay + 6 * 3600;
  const auto spans = SunUpSpans({39.742476, -105.1786, 1830.14}, midnight, midnight + 86400);
  ASSERT_EQ(spans.size(), 1u);
  EXPECT_NEAR(spans[0].first - static_cast<double>(midnight), (5 * 60 + 32) * 60, 120);
  EXPECT_NEAR(spans[0].second - static_cast<double>(midnight), (20 * 60 + 32) * 60, 120);
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
