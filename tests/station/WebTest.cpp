#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>

#include "analysis/ReadingSeries.h"
#include "analysis/SeriesStatistics.h"
#include "analysis/StatisticsReport.h"
#include "data/RecordFile.h"
#include "station/web/DayData.h"
#include "station/web/StationView.h"
#include "station/web/WebAccess.h"
#include "station/web/WebServer.h"
#include "support/FileBytes.h"

namespace solardesk::station::web {
namespace {

QByteArray DayFileBytes(int records, double start) {
  QByteArray out = "      0\tSolarDesk\t        W/(M)2\t\r\n";
  for (int i = 1; i <= records; ++i) {
    out += QByteArray::number(i).rightJustified(7, ' ') +
           "\t2026/06/01 12:00:" + QByteArray::number(i).rightJustified(2, '0') + "\t " +
           QByteArray::number(start + 10 * i, 'f', 1) + "\t\r\n";
  }
  return out;
}

TEST(StationWeb, ServesOnlyDayFilesInsideItsFolder) {
  QTemporaryDir root;
  const QString dir = root.filePath("data");
  QDir().mkpath(dir);
  testing::WriteBytes(dir + "/2026-06-01.pvd", DayFileBytes(2, 0));
  testing::WriteBytes(dir + "/2026-06-01-2.pvd", DayFileBytes(2, 0));
  testing::WriteBytes(dir + "/notes.txt", "x");
  testing::WriteBytes(root.filePath("outside.pvd"), "secret");
  QFile::link(root.filePath("outside.pvd"), dir + "/2026-06-02.pvd");
  QFile::link(dir + "/2026-06-01.pvd", dir + "/2026-06-03.pvd");
  QDir().mkpath(dir + "/2026-06-04.pvd");

  const struct {
    const char* name;
    bool served;
  } cases[] = {
      {"2026-06-01.pvd", true},     {"2026-06-01-2.pvd", true},
      {"2026-06-03.pvd", true},   // a link that stays inside
      {"2026-06-02.pvd", false},  // a link out of the folder
      {"2026-06-04.pvd", false},  // a folder
      {"2026-06-05.pvd", false},  // missing
      {"notes.txt", false},         {"../outside.pvd", false},
      {"2026-06-01.pvd/..", false}, {"/etc/passwd", false},
      {"2026-13-01.pvd", false},    {"2026-06-01-0.pvd", false},
      {"2026-06-01.PVD", false},    {"%2e%2e/outside.pvd", false},
      {"2026-06-01.pvd\n", false},  {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(!DayFilePath(dir, c.name).isEmpty(), c.served) << c.name;
  EXPECT_EQ(DayFileNames(dir),
            (QStringList{"2026-06-01.pvd", "2026-06-01-2.pvd", "2026-06-03.pvd"}));
}

TEST(StationWeb, ChecksAddressesAndPasswords) {
  const struct {
    const char* text;
    const char* address;  // nullptr: refused
    int port;
  } addresses[] = {
      {"8080", "127.0.0.1", 8080},
      {"0.0.0.0:80", "0.0.0.0", 80},
      {"localhost:9000", "127.0.0.1", 9000},
      {"192.168.1.20:65535", "192.168.1.20", 65535},
      {"0", nullptr, 0},
      {"65536", nullptr, 0},
      {"1.2.3:80", nullptr, 0},
      {"host.example:80", nullptr, 0},
      {"256.1.1.1:80", nullptr, 0},
      {":80", nullptr, 0},
      {"+80", nullptr, 0},
      {"", nullptr, 0},
  };
  for (const auto& a : addresses) {
    QString error;
    const auto got = ParseListenAddress(a.text, &error);
    ASSERT_EQ(got.has_value(), a.address != nullptr) << a.text;
    if (got) {
      EXPECT_EQ(got->address, a.address) << a.text;
      EXPECT_EQ(got->port, a.port) << a.text;
    } else {
      EXPECT_FALSE(error.isEmpty()) << a.text;
    }
  }
  EXPECT_TRUE(IsLoopback("127.0.0.1"));
  EXPECT_TRUE(IsLoopback("127.8.9.1"));
  EXPECT_FALSE(IsLoopback("0.0.0.0"));
  EXPECT_FALSE(IsLoopback("10.0.0.1"));

  const QByteArray good = "Basic " + QByteArray("ann:s3cret:x").toBase64();
  EXPECT_TRUE(BasicAuthorized(good, "ann", "s3cret:x"));
  EXPECT_TRUE(BasicAuthorized("basic " + QByteArray("ann:s3cret:x").toBase64(), "ann", "s3cret:x"));
  for (const QByteArray& bad :
       {QByteArray("Basic ") + QByteArray("ann:s3cret").toBase64(),
        QByteArray("Basic ") + QByteArray("bob:s3cret:x").toBase64(),
        QByteArray("Basic ") + QByteArray("ann:s3cret:xy").toBase64(), QByteArray("Basic !!!"),
        QByteArray("Bearer ") + QByteArray("ann:s3cret:x").toBase64(), QByteArray()})
    EXPECT_FALSE(BasicAuthorized(bad, "ann", "s3cret:x")) << bad.constData();
  EXPECT_TRUE(SameSecret("", ""));
  EXPECT_FALSE(SameSecret("a", ""));
  EXPECT_FALSE(SameSecret("abc", "abd"));
}

TEST(StationWeb, BeyondTheLoopbackOnlyWithAPasswordOrOpenOnPurpose) {
  const ListenAddress local{"127.0.0.1", 8080};
  const ListenAddress any{"0.0.0.0", 8080};
  const struct {
    WebSettings settings;
    bool accepted;
  } cases[] = {
      {{local, "", "", false, "", "", {}}, true},
      {{any, "", "", false, "", "", {}}, false},
      {{any, "", "", true, "", "", {}}, true},
      {{any, "ann", "pw", false, "", "", {}}, true},
      {{any, "ann", "", true, "", "", {}}, false},
      {{local, "ann", "", false, "", "", {}}, false},
      {{local, "", "", false, "c.pem", "", {}}, false},
      {{local, "", "", false, "c.pem", "k.pem", {}}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SettingsProblem(c.settings).isEmpty(), c.accepted)
        << c.settings.listen.address.toStdString() << " user " << c.settings.user.toStdString()
        << " open " << c.settings.open << " cert " << c.settings.certificate.toStdString();
}

TEST(StationWeb, StatusSaysLiveLostOrQuiet) {
  const QDateTime start = QDateTime::fromString("2026-06-01T12:00:00", Qt::ISODate);
  StationView view(5, false, start);
  view.SetMeter(MeterState::Answering, start);
  EXPECT_EQ(StatusText(view.Snapshot(), start.addSecs(12)), "live");
  EXPECT_EQ(StatusText(view.Snapshot(), start.addSecs(13)), "no sample since 12:00:00");
  view.AddSample({start.addSecs(20), "12.5", "W/(M)2", 1});
  EXPECT_EQ(StatusText(view.Snapshot(), start.addSecs(30)), "live");
  view.SetMeter(MeterState::Absent, start.addSecs(31));
  view.SetMeter(MeterState::NotAnswering, start.addSecs(40));  // still lost since the first
  EXPECT_EQ(StatusText(view.Snapshot(), start.addSecs(41)), "meter lost since 12:00:31");
  view.SetMeter(MeterState::Answering, start.addSecs(42));
  EXPECT_EQ(StatusText(view.Snapshot(), start.addSecs(42)), "no sample since 12:00:20");
}

TEST(StationWeb, EventReadersAreBoundedAndNeverHoldTheStationUp) {
  StationView view(1, false, QDateTime::currentDateTime());
  const auto reader = view.Subscribe(2);
  const auto second = view.Subscribe(2);
  ASSERT_TRUE(reader && second);
  EXPECT_EQ(view.Subscribe(2), nullptr);
  const QDateTime t = QDateTime::fromString("2026-06-01T12:00:00Z", Qt::ISODate);
  for (int i = 1; i <= 100; ++i) view.AddSample({t.addSecs(i), QString::number(i), "W/(M)2", i});
  const auto lines = reader->Take(std::chrono::milliseconds(0));
  ASSERT_EQ(lines.size(), EventQueue::kCapacity);  // the oldest dropped
  EXPECT_TRUE(lines.back().contains("\"record\": 100")) << lines.back().constData();
  EXPECT_TRUE(lines.front().contains("\"record\": 37")) << lines.front().constData();
  view.Unsubscribe(second);
  EXPECT_NE(view.Subscribe(2), nullptr);
  view.CloseAll();
  EXPECT_TRUE(reader->Closed());
  EXPECT_TRUE(reader->Take(std::chrono::seconds(5)).empty());  // at once, not after 5 s
}

TEST(StationWeb, DayFiguresAreThoseOfStatsAndComputedOnce) {
  QTemporaryDir dir;
  const QString day1 = dir.filePath("2026-06-01.pvd");
  testing::WriteBytes(day1, DayFileBytes(30, 100));
  testing::WriteBytes(dir.filePath("2026-06-02.pvd"), DayFileBytes(20, 300));
  testing::WriteBytes(dir.filePath("2026-06-03.pvd"), DayFileBytes(5, 0));  // "today"

  // The same figures as stats --json gives for the file at the same site.
  const Site site{39.74, -105.18, 1830};
  RecordSeries records;
  ReadRecordFile(day1, records);
  const ReadingSeries series = ReadSeries(records);
  SeriesStatistics statistics = ComputeStatistics(series, records.unit());
  AddClearSky(statistics, series, site, {});
  const QJsonObject stats =
      QJsonDocument::fromJson(StatisticsJson(statistics)).object()["days"].toArray()[0].toObject();
  const QDate today(2026, 6, 3);
  {
    DailyFigures figures(dir.path(), {site, {}, {}});
    figures.Complete(today);
    const QJsonArray days =
        QJsonDocument::fromJson(figures.RangeJson(QDate(2026, 6, 1), today, today)).array();
    ASSERT_EQ(days.size(), 3);
    for (const QString& key : stats.keys())
      EXPECT_EQ(days[0][key], stats[key]) << key.toStdString();
    EXPECT_EQ(days[0]["file"], "2026-06-01.pvd");
    EXPECT_EQ(days[0]["energy_unit"], "Wh/m2");
    EXPECT_TRUE(days[0]["clear_sky_energy"].isDouble());
    EXPECT_EQ(days[2]["count"], 5);
    EXPECT_EQ(QJsonDocument::fromJson(figures.RangeJson(today, today, today)).array().size(), 1);
  }
  const QString cache = dir.filePath(DailyFigures::kCacheName);
  const QJsonObject kept = QJsonDocument::fromJson(testing::ReadBytes(cache)).object();
  EXPECT_EQ(kept["files"].toObject().keys(), (QStringList{"2026-06-01.pvd", "2026-06-02.pvd"}));

  // Kept figures are not computed again: a planted figure shows through while the file keeps
  // its size; a changed file is computed anew, and a lost cache is made again.
  QJsonObject planted = kept;
  QJsonObject files = planted["files"].toObject();
  QJsonObject entry = files["2026-06-02.pvd"].toObject();
  QJsonObject figuresOf = entry["figures"].toObject();
  figuresOf["count"] = 999;
  entry["figures"] = figuresOf;
  files["2026-06-02.pvd"] = entry;
  planted["files"] = files;
  testing::WriteBytes(cache, QJsonDocument(planted).toJson());
  testing::WriteBytes(day1, DayFileBytes(31, 100));
  {
    DailyFigures figures(dir.path(), {site, {}, {}});
    const QJsonArray days =
        QJsonDocument::fromJson(figures.RangeJson(QDate(2026, 6, 1), QDate(2026, 6, 2), today))
            .array();
    ASSERT_EQ(days.size(), 2);
    EXPECT_EQ(days[0]["count"], 31);
    EXPECT_EQ(days[1]["count"], 999);
  }
  // Another site: nothing kept applies.
  {
    DailyFigures figures(dir.path());
    const QJsonArray days =
        QJsonDocument::fromJson(figures.RangeJson(QDate(2026, 6, 2), QDate(2026, 6, 2), today))
            .array();
    EXPECT_EQ(days[0]["count"], 20);
    EXPECT_TRUE(days[0]["clear_sky_energy"].isNull());
  }
  QFile::remove(cache);
  DailyFigures(dir.path()).Complete(today);
  EXPECT_TRUE(QFile::exists(cache));
}

// The daily clear sky of the page is the one `stats` gives under the same assumptions, whatever
// model, turbidity, orientation and transposition they name; figures kept for other
// assumptions are not taken for these.
TEST(StationWeb, DayFiguresFollowTheWholeSiteAssumptions) {
  QTemporaryDir dir;
  const QString day = dir.filePath("2026-06-01.pvd");
  testing::WriteBytes(day, DayFileBytes(20, 100));
  const Site flat{39.74, -105.18, 1830};
  Site tilted = flat;
  tilted.tilt = 30;
  const SiteAssumptions cases[] = {
      {flat, {}, {}},
      {flat, {ClearSkyModel::Ineichen, 2.0}, {}},
      {tilted, {ClearSkyModel::Ineichen, 6.0, SkyDiffuseModel::Isotropic}, {}},
      {tilted, {ClearSkyModel::Ineichen, 6.0, SkyDiffuseModel::Perez}, {}},
  };
  RecordSeries records;
  ReadRecordFile(day, records);
  const ReadingSeries series = ReadSeries(records);
  const QDate date(2026, 6, 1);
  QSet<double> energies;
  for (const SiteAssumptions& assumed : cases) {
    SeriesStatistics s = ComputeStatistics(series, records.unit());
    AddClearSky(s, series, *assumed.site, assumed.clearSky);
    const QJsonObject expected =
        QJsonDocument::fromJson(StatisticsJson(s)).object()["days"].toArray()[0].toObject();
    DailyFigures figures(dir.path(), assumed);
    figures.Complete(date.addDays(1));
    const QJsonArray days =
        QJsonDocument::fromJson(figures.RangeJson(date, date, date.addDays(1))).array();
    ASSERT_EQ(days.size(), 1);
    for (const char* key : {"clear_sky_energy", "clear_sky_index", "completeness"})
      EXPECT_EQ(days[0][key], expected[key]) << key << " " << SiteText(*assumed.site).toStdString();
    energies.insert(expected["clear_sky_energy"].toDouble());
  }
  EXPECT_EQ(energies.size(), 4);  // each case is a sky of its own
}

TEST(StationWeb, DayRecordsAreThePublishedObjects) {
  QTemporaryDir dir;
  testing::WriteBytes(dir.filePath("2026-06-01.pvd"), DayFileBytes(2, 0));
  testing::WriteBytes(
      dir.filePath("2026-06-01-1.pvd"),
      "      0\tSolarDesk\t   Btu/(ft)2.h\t\r\n      1\t2026/06/01 13:00:00\t ----\t\r\n");
  const QJsonArray records =
      QJsonDocument::fromJson(DayRecordsJson(dir.path(), QDate(2026, 6, 1))).array();
  ASSERT_EQ(records.size(), 3);
  // The day's parts in the order written, each with its own unit.
  EXPECT_EQ(records[0]["value"], 10.0);
  EXPECT_EQ(records[0]["record"], 1);
  EXPECT_EQ(records[1]["unit"], "W/m²");
  EXPECT_TRUE(records[1]["time"].toString().startsWith("2026-06-01T12:00:02"));
  EXPECT_EQ(records[2]["unit"], "Btu/(ft²·h)");
  EXPECT_TRUE(records[2]["value"].isNull());
  EXPECT_EQ(QJsonDocument::fromJson(DayRecordsJson(dir.path(), QDate(2026, 6, 2))).array().size(),
            0);
}

}  // namespace
}  // namespace solardesk::station::web
