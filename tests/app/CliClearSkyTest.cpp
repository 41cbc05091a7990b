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

}  // namespace
}  // namespace solardesk::testing
