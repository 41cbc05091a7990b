#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliProcess.h"

namespace solardesk::testing {
namespace {

const QStringList kBerlinInGerman = {QStringLiteral("TZ=Europe/Berlin"),
                                     QStringLiteral("LC_ALL=de_DE.UTF-8")};

QString WriteFile(const ScenarioFile& s, const QString& name, const QByteArray& lines) {
  QFile f(s.file(name));
  f.open(QIODevice::WriteOnly);
  f.write(lines);
  return f.fileName();
}

const QByteArray kHeader = "      No.s\t            Date Time\t         W/(M)2\t\r\n";

TEST(CliStats, JsonHoldsTheFiguresUnderAnyLocale) {
  ScenarioFile s("{}");
  const QString file = WriteFile(s, "two-days.pvd",
                                 kHeader +
                                     "      1\t2026/06/21 23:59:58\t 3600\t\r\n"
                                     "      2\t2026/06/21 23:59:59\t OL\t\r\n"
                                     "      3\t2026/06/22 00:00:00\t 1800.5\t\r\n"
                                     "      4\t2026/06/22 00:00:01\t 7200\t\r\n");
  const CliRun r = RunCli({"stats", file, "--json"}, kBerlinInGerman);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  QJsonParseError error;
  const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
  EXPECT_EQ(o.size(), 12);  // the twelve keys below, no other
  EXPECT_EQ(o["unit"].toString(), "W/(M)2");
  EXPECT_EQ(o["count"].toInt(), 3);
  EXPECT_EQ(o["unreadable"].toInt(), 1);
  EXPECT_EQ(o["first"].toString(), "2026-06-21T23:59:58+02:00");
  EXPECT_EQ(o["last"].toString(), "2026-06-22T00:00:01+02:00");
  EXPECT_EQ(o["min"].toObject(),
            (QJsonObject{{"value", 1800.5}, {"time", "2026-06-22T00:00:00+02:00"}}));
  EXPECT_EQ(o["max"].toObject(),
            (QJsonObject{{"value", 7200}, {"time", "2026-06-22T00:00:01+02:00"}}));
  EXPECT_NEAR(o["mean"].toDouble(), 12600.5 / 3, 1e-6);
  // (3600 + 1800.5) / 2 · 2 s + (1800.5 + 7200) / 2 · 1 s = 9900.75 W·s/m2.
  EXPECT_EQ(o["energy"].toObject(), (QJsonObject{{"value", 2.750208}, {"unit", "Wh/m2"}}));
  EXPECT_DOUBLE_EQ(o["peak_sun_hours"].toDouble(), 0.00275);
  EXPECT_EQ(o["gaps"].toObject(), (QJsonObject{{"count", 0}, {"seconds", 0}}));
  const QJsonArray days = o["days"].toArray();
  ASSERT_EQ(days.size(), 2);
  EXPECT_EQ(days[0].toObject().keys(), days[1].toObject().keys());
  EXPECT_EQ(days[1].toObject(), (QJsonObject{{"date", "2026-06-22"},
                                             {"count", 2},
                                             {"min", 1800.5},
                                             {"max", 7200},
                                             {"mean", 4500.25},
                                             {"energy", 1.250069},
                                             {"peak_sun_hours", 0.00125}}));

  const CliRun text = RunCli({"stats", file}, kBerlinInGerman);
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_TRUE(text.out.contains(
      QRegularExpression("^Energy: +2\\.75 Wh/m2$", QRegularExpression::MultilineOption)))
      << text.out.toStdString();
}

TEST(CliStats, ExitCodes) {
  ScenarioFile s("{}");
  const QString unreadable =
      WriteFile(s, "ol.pvd", kHeader + "      1\t2026/06/21 10:00:00\t OL\t\r\n");
  ExpectFailures({
      {{"stats", unreadable, "--json"}, 1, "no readable record"},
      {{"stats", s.file("none.pvd")}, 1, "cannot read"},
      {{"stats"}, 2, "usage: stats FILE.pvd [--json]"},
      {{"stats", "--json"}, 2, "usage"},
      {{"stats", unreadable, "--jsn"}, 2, "unexpected \"--jsn\""},
  });
}

}  // namespace
}  // namespace solardesk::testing
