#include <gtest/gtest.h>

#include "CliProcess.h"

namespace solardesk::testing {
namespace {

const QStringList kBerlinInGerman = {QStringLiteral("TZ=Europe/Berlin"),
                                     QStringLiteral("LC_ALL=de_DE.UTF-8")};

TEST(CliStats, JsonHoldsTheFiguresUnderAnyLocale) {
  ScenarioFile s("{}");
  const QString file = s.write("two-days.pvd", kWattFileHeader +
                                                   "      1\t2026/06/21 23:59:58\t 3600\t\r\n"
                                                   "      2\t2026/06/21 23:59:59\t OL\t\r\n"
                                                   "      3\t2026/06/22 00:00:00\t 1800.5\t\r\n"
                                                   "      4\t2026/06/22 00:00:01\t 7200\t\r\n");
  const CliRun r = RunCli({"stats", file, "--json"}, kBerlinInGerman);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  // The energy: (3600 + 1800.5) / 2 · 2 s + (1800.5 + 7200) / 2 · 1 s = 9900.75 W·s/m2; each
  // day has the segments that start on it.
  EXPECT_EQ(
      r.out,
      R"({"unit": "W/(M)2", "count": 3, "unreadable": 1, "first": "2026-06-21T23:59:58+02:00", )"
      R"("last": "2026-06-22T00:00:01+02:00", "min": {"value": 1800.5, )"
      R"("time": "2026-06-22T00:00:00+02:00"}, "max": {"value": 7200, )"
      R"("time": "2026-06-22T00:00:01+02:00"}, "mean": 4200.166667, )"
      R"("energy": {"value": 2.750208, "unit": "Wh/m2"}, "peak_sun_hours": 0.00275, )"
      R"("mean_daily_peak_sun_hours": 0.001375, "gaps": {"count": 0, "seconds": 0}, )"
      R"("completeness": null, "site": {"latitude": null, "longitude": null, )"
      R"("elevation": null, "tilt": null, "azimuth": null, "albedo": null, "model": null, )"
      R"("linke_turbidity": null, "transposition": null}, "time_zone": "Europe/Berlin", )"
      R"("days": [{"date": "2026-06-21", "count": 1, )"
      R"("min": 3600, "max": 3600, "mean": 3600, "energy": 1.500139, )"
      R"("peak_sun_hours": 0.0015, "gaps": 0, "clear_sky_energy": null, )"
      R"("clear_sky_index": null, "completeness": null}, {"date": "2026-06-22", "count": 2, )"
      R"("min": 1800.5, "max": 7200, "mean": 4500.25, "energy": 1.250069, )"
      R"("peak_sun_hours": 0.00125, "gaps": 0, "clear_sky_energy": null, )"
      R"("clear_sky_index": null, "completeness": null}], "months": [{"month": "2026-06", )"
      R"("days": 2, "energy": 2.750208, "mean_daily_peak_sun_hours": 0.001375, )"
      R"("clear_sky_index": null, "completeness": null}]})"
      "\n");

  const CliRun text = RunCli({"stats", file}, kBerlinInGerman);
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_TRUE(text.out.contains(
      QRegularExpression("^Energy: +2\\.75 Wh/m2$", QRegularExpression::MultilineOption)))
      << text.out.toStdString();
}

TEST(CliStats, ExitCodes) {
  ScenarioFile s("{}");
  const QString unreadable =
      s.write("ol.pvd", kWattFileHeader + "      1\t2026/06/21 10:00:00\t OL\t\r\n");
  ExpectFailures({
      {{"stats", unreadable, "--json"}, 1, "no readable record"},
      {{"stats", s.file("none.pvd")}, 1, "cannot read"},
      {{"stats"}, 2, "usage: stats FILE.pvd [--json] [site options]"},
      {{"stats", "--json"}, 2, "usage"},
      {{"stats", unreadable, "--jsn"}, 2, "unexpected \"--jsn\""},
  });
}

}  // namespace
}  // namespace solardesk::testing
