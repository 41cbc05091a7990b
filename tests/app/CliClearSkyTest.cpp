#include <gtest/gtest.h>

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliProcess.h"
#include "analysis/ClearSky.h"
#include "data/SampleTime.h"

namespace solardesk::testing {
namespace {

// Mountain time with its summer time, -06:00 in June, and a locale of decimal commas.
const QStringList kDenverInGerman = {QStringLiteral("TZ=MST7MDT,M3.2.0,M11.1.0"),
                                     QStringLiteral("LC_ALL=de_DE.UTF-8")};
const Site kGolden{39.742476, -105.1786, 1830.14};

TEST(CliStats, ClearSkyEnergyAndIndexForASite) {
  // 21 June 2026 from 05:00 to 21:00 local time, a reading every 10 minutes at half the clear
  // sky (to the milliwatt); the hour from 12:00 is missing, a gap left out of both energies.
  QByteArray lines = "      No.s\t            Date Time\t         W/(M)2\t\r\n";
  std::vector<qint64> instants;
  const qint64 midnight = DaysFromCivil(2026, 6, 21) * kSecondsPerDay;
  int n = 0;
  for (qint64 local = midnight + 5 * 3600; local <= midnight + 21 * 3600; local += 600) {
    if (local > midnight + 12 * 3600 && local < midnight + 13 * 3600) continue;
    const qint64 utc = local + 6 * 3600;
    instants.push_back(utc);
    const QDateTime t = QDateTime::fromSecsSinceEpoch(local, Qt::UTC);
    lines += QStringLiteral("%1\t%2\t %3\t\r\n")
                 .arg(++n, 7)
                 .arg(t.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")))
                 .arg(ClearSkyGhi(kGolden, utc) / 2, 0, 'f', 3)
                 .toLatin1();
  }
  ScenarioFile s("{}");
  const QString file = s.write("golden.pvd", lines);

  const CliRun r = RunCli({"stats", file, "--site", " 39.742476, -105.1786, 1830.14", "--json"},
                          kDenverInGerman);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
  EXPECT_EQ(o["gaps"].toObject()["count"].toInt(), 1);
  const QJsonObject clear = o["clear_sky"].toObject();
  const ClearSkyFigures expected = ComputeClearSky(kGolden, instants, 0, {});
  EXPECT_NEAR(clear["energy"].toDouble(), expected.energy, 1e-5);
  EXPECT_NEAR(clear["index"].toDouble(), 0.5, 1e-5);
  EXPECT_NEAR(o["energy"].toObject()["value"].toDouble(), expected.energy / 2, 0.01);

  const CliRun text = RunCli({"stats", file, "--site", "39.742476,-105.1786"}, kDenverInGerman);
  EXPECT_TRUE(text.out.contains(
      QRegularExpression(R"(^Clear-sky energy: +\d+\.\d\d Wh/m2\nClear-sky index: +0\.500$)",
                         QRegularExpression::MultilineOption)))
      << text.out.toStdString();

  // Which texts are sites is the parser's test; here a refused one is a usage error.
  ExpectFailures({{{"stats", file, "--site", "39,742476", "--json"}, 2, "\"39,742476\" is no site"},
                  {{"stats", file, "--site", ""}, 2, "\"\" is no site"}});
}

// Bad site values are usage errors that name the value; and the options that do not go together.
TEST(CliStats, SiteOptionsOutOfRangeAreRefused) {
  ScenarioFile s("{}");
  const QString file = s.write("a.pvd",
                               "      No.s\t            Date Time\t         W/(M)2\t\r\n"
                               "      1\t2026/06/21 10:00:00\t 500\t\r\n");
  const QStringList site = {"--site", "39.742476,-105.1786"};
  ExpectFailures(
      {
          {site + QStringList{"--tilt", "91"}, 2, "tilt 91 is not within 0 to 90"},
          {site + QStringList{"--tilt", "-1"}, 2, "tilt -1 is not within 0 to 90"},
          {site + QStringList{"--azimuth", "361"}, 2, "azimuth 361 is not within 0 to 360"},
          {site + QStringList{"--albedo", "1.5"}, 2, "albedo 1.5 is not within 0 to 1"},
          {site + QStringList{"--albedo", "0,2"}, 2, "albedo \"0,2\" is not a number"},
          {site + QStringList{"--linke", "0"}, 2, "Linke turbidity 0 is not within 1 to 10"},
          {site + QStringList{"--model", "haurwitz", "--tilt", "30"}, 2, "use --model ineichen"},
          {site + QStringList{"--model", "haurwitz", "--linke", "2.5"}, 2,
           "--linke has no effect on the Haurwitz clear sky: use --model ineichen"},
          {site + QStringList{"--transposition", "isotropic", "--model", "HAURWITZ"}, 2,
           "--transposition has no effect on the Haurwitz clear sky: use --model ineichen"},
          {site + QStringList{"--model", "perez"}, 2, "--model \"perez\" is none of"},
          {site + QStringList{"--transposition", "flat"}, 2, "--transposition \"flat\""},
          {{"--tilt", "30"}, 2, "--tilt needs --site"},
          {{"--tz", "Mars/Olympus"}, 2, "--tz \"Mars/Olympus\" is no time zone"},
          {site + QStringList{"--tilt"}, 2, "--tilt needs a value"},
      },
      {"stats", file});
}

// What was assumed is echoed; --tz reads a file recorded in another zone (here Denver's, on a
// machine in Berlin).
TEST(CliStats, EchoesTheSiteAndTimeZoneAssumed) {
  ScenarioFile s("{}");
  const QString file = s.write("a.pvd",
                               "      No.s\t            Date Time\t         W/(M)2\t\r\n"
                               "      1\t2026/06/21 12:00:00\t 500\t\r\n"
                               "      2\t2026/06/21 12:01:00\t 500\t\r\n");
  const QStringList berlin = {"TZ=Europe/Berlin", "LC_ALL=de_DE.UTF-8"};
  const CliRun tilted = RunCli({"stats", file, "--json", "--site", "39.742476,-105.1786", "--tilt",
                                "30", "--tz", "America/Denver"},
                               berlin);
  ASSERT_EQ(tilted.exitCode, 0) << tilted.err.toStdString();
  QJsonObject o = QJsonDocument::fromJson(tilted.out.toUtf8()).object();
  EXPECT_EQ(o["first"].toString(), "2026-06-21T12:00:00-06:00");
  EXPECT_EQ(o["time_zone"].toString(), "America/Denver");
  QJsonObject site = o["site"].toObject();
  EXPECT_DOUBLE_EQ(site["latitude"].toDouble(), 39.742476);
  EXPECT_DOUBLE_EQ(site["elevation"].toDouble(), 0);
  EXPECT_DOUBLE_EQ(site["tilt"].toDouble(), 30);
  EXPECT_DOUBLE_EQ(site["azimuth"].toDouble(), 180);
  EXPECT_DOUBLE_EQ(site["albedo"].toDouble(), 0.2);
  EXPECT_EQ(site["model"].toString(), "ineichen");
  EXPECT_DOUBLE_EQ(site["linke_turbidity"].toDouble(), 3);
  EXPECT_EQ(site["transposition"].toString(), "perez");
  // Near noon at Denver a sensor at half the clear sky or less: the index is finite.
  EXPECT_GT(o["clear_sky"].toObject()["index"].toDouble(), 0);

  const CliRun flat = RunCli({"stats", file, "--json", "--site", "39.742476,-105.1786"}, berlin);
  o = QJsonDocument::fromJson(flat.out.toUtf8()).object();
  site = o["site"].toObject();
  EXPECT_EQ(o["first"].toString(), "2026-06-21T12:00:00+02:00");
  EXPECT_EQ(o["time_zone"].toString(), "Europe/Berlin");
  EXPECT_EQ(site["model"].toString(), "haurwitz");
  for (const char* key : {"azimuth", "albedo", "linke_turbidity", "transposition"})
    EXPECT_TRUE(site[key].isNull()) << key;

  const CliRun text = RunCli({"stats", file, "--site", "39.742476,-105.1786", "--linke", "2.5",
                              "--transposition", "isotropic", "--tz", "America/Denver"},
                             berlin);
  EXPECT_TRUE(text.out.contains(
      QRegularExpression("^Site: +39.742476, -105.1786, elevation 0 m\nSensor: +tilt 0 degrees\n"
                         "Clear sky: +ineichen, Linke turbidity 2.5, transposition isotropic\n"
                         "Time zone: +America/Denver\nUnit: ")))
      << text.out.toStdString();
}

}  // namespace
}  // namespace solardesk::testing
