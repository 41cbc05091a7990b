#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QThread>
#include <csignal>

#include "MonitorProcess.h"
#include "support/LoopbackPort.h"
#include "support/SkipUnlessCi.h"

namespace solardesk::testing {
namespace {

// Sends `request` and reads until the server closes or `ms` pass; what came back.
QByteArray Exchange(int port, const QByteArray& request, int ms = 5000) {
  const int fd = ConnectLoopback(port);
  if (fd < 0) return {};
  for (qsizetype sent = 0; sent < request.size();) {
    const ssize_t n = ::send(fd, request.constData() + sent,
                             static_cast<size_t>(request.size() - sent), MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += n;
  }
  QByteArray got;
  QElapsedTimer waited;
  waited.start();
  char buffer[65536];
  for (pollfd p{fd, POLLIN, 0}; waited.elapsed() < ms;) {
    if (::poll(&p, 1, 100) <= 0) continue;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    got.append(buffer, n);
  }
  ::close(fd);
  return got;
}

QByteArray Get(int port, const QByteArray& path, const QByteArray& headers = {}, int ms = 5000) {
  return Exchange(
      port,
      "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" + headers + "\r\n",
      ms);
}

int Status(const QByteArray& response) {
  return response.startsWith("HTTP/1.") ? response.mid(9, 3).toInt() : 0;
}

QByteArray Body(const QByteArray& response) {
  return response.mid(response.indexOf("\r\n\r\n") + 4);
}

// A client that asks for `path` with a small receive buffer and then reads nothing.
int StalledDownload(int port, const QByteArray& path) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  const int small = 4096;
  ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const QByteArray request = "GET " + path + " HTTP/1.1\r\nHost: x\r\n\r\n";
  if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0)
    ::send(fd, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL);
  return fd;
}

// Every record follows the one before by one number and one second.
void ExpectNoSampleLost(const std::vector<FileRecord>& records) {
  for (std::size_t i = 1; i < records.size(); ++i) {
    EXPECT_EQ(records[i].number, records[i - 1].number + 1) << i;
    EXPECT_EQ(records[i - 1].time.secsTo(records[i].time), 1) << i;
  }
}

// A monitor serving its page on a free port, its day files in "data" beside the scenario.
class WebMonitor {
 public:
  WebMonitor(const ScenarioFile& s, const QStringList& args, const QStringList& env = {})
      : port_(FreePort()), dir_(s.file("data")), monitor_(s, "monitor") {
    monitor_.Start(QStringList{s.option(), "monitor", dir_, "--interval", "1", "--http",
                               QString::number(port_)} +
                       args,
                   env);
  }
  bool Serving() {
    return WaitFor([&] { return Status(Get(port_, "/api/state")) != 0; }, 10000);
  }
  // Serving, and today's day file begun.
  bool ServingAndRecording() {
    return Serving() && WaitFor([&] { return QFile::exists(DayFile(dir_)); }, 5000);
  }
  int port() const { return port_; }
  QString dir() const { return dir_; }
  QString url() const { return QStringLiteral("http://127.0.0.1:%1/").arg(port_); }
  Monitor& monitor() { return monitor_; }

 private:
  int port_;
  QString dir_;
  Monitor monitor_;
};

// Debian's Python, which has python3-selenium (not another one first on the PATH).
const QString kPython = QStringLiteral("/usr/bin/python3");

bool HaveBrowser() {
  QProcess p;
  p.start(kPython, {"-c", "import selenium"});
  return p.waitForFinished(10000) && p.exitCode() == 0 && QFile::exists("/usr/bin/chromium") &&
         QFile::exists("/usr/bin/chromedriver");
}

// Runs web_page_check.py on the page at `url` (a screenshot where SOLARDESK_WEB_SCREENSHOT
// says); what it saw, or a failure.
QJsonObject CheckPage(const QString& url, const QStringList& options = {}) {
  QProcess check;
  const QStringList args = QStringList{SOLARDESK_SOURCE_DIR "/tests/station/web_page_check.py"} +
                           options + QStringList{url};
  check.start(kPython, args + QStringList(qEnvironmentVariable("SOLARDESK_WEB_SCREENSHOT")));
  EXPECT_TRUE(check.waitForFinished(50000));
  EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardError().toStdString();
  return QJsonDocument::fromJson(check.readAllStandardOutput()).object();
}

TEST(StationWebPage, BrowserSeesTheLiveValueTheDayCurveAndTheFiles) {
  if (!HaveBrowser())
    SKIP_UNLESS_CI("chromium, chromium-driver or python3-selenium missing (install-deps.sh)");
  ScenarioFile s(R"({"reading": "100.0", "unit": "W/(M)2", "timeline": [
      {"after": 3, "reading": "250.5"}, {"after": 5, "reading": "512"},
      {"after": 7, "reading": "730.2"}, {"after": 9, "reading": "801"}]})");
  WebMonitor m(s, {"--site", "48.2,16.37,180"});
  ASSERT_TRUE(m.Serving()) << m.monitor().Events().toStdString();
  // A day before today, so that the list has two files.
  WriteBytes(m.dir() + "/2020-01-01.pvd", "      0\tSolarDesk\t        W/(M)2\t\r\n");

  const QJsonObject page = CheckPage(m.url());
  const QByteArray out = QJsonDocument(page).toJson(QJsonDocument::Compact);

  EXPECT_GE(page["values"].toArray().size(), 3) << out.toStdString();
  EXPECT_EQ(page["unit"], "W/m²");
  EXPECT_EQ(page["status"], "live");
  // One point per sample written up to the last one the page heard of.
  const auto records = Records(DayFile(m.dir()));
  const int last = page["last_record"].toInt();
  ASSERT_GE(last, 3) << out.toStdString();
  ASSERT_GE(static_cast<int>(records.size()), last);
  EXPECT_EQ(page["day_points"].toInt(), last) << out.toStdString();
  EXPECT_EQ(page["chart_points"].toInt(), last) << out.toStdString();
  // With the site, the clear sky of the whole day every 5 minutes beside the readings.
  EXPECT_EQ(page["day_labels"].toArray(), (QJsonArray{"Time", "Reading", "Clear sky"}));
  EXPECT_EQ(page["clear_sky_points"].toInt(), 24 * 12 + 1) << out.toStdString();
  EXPECT_EQ(page["canvases"].toInt() > 0, true);
  const QString today = QFileInfo(DayFile(m.dir())).fileName();
  EXPECT_EQ(page["files"].toArray(), (QJsonArray{today, "2020-01-01.pvd"})) << out.toStdString();
  EXPECT_EQ(page["links"].toArray()[0], m.url() + "files/" + today);

  // Until a day before today has figures (2020 lies far outside the 31 days), the insolation
  // says so in words and shows no empty chart; a finished day brings the chart.
  EXPECT_EQ(page["days_shown"], "note") << out.toStdString();
  EXPECT_EQ(page["days_note"], "No finished day yet: the first bar appears after midnight.");
  EXPECT_FALSE(page["days_chart_seen"].toBool());
  const QString yesterday = QDate::currentDate().addDays(-1).toString("yyyy/MM/dd");
  WriteBytes(m.dir() + "/" + QDate::currentDate().addDays(-1).toString("yyyy-MM-dd") + ".pvd",
             ("      No.s\t            Date Time\t         W/(M)2\t\r\n"
              "      1\t" +
              yesterday +
              " 12:00:00\t 500.0\t\r\n"
              "      2\t" +
              yesterday +
              " 12:01:00\t 510.0\t\r\n"
              "      3\t" +
              yesterday + " 12:02:00\t 520.0\t\r\n")
                 .toLatin1());
  const QJsonObject later = CheckPage(m.url(), {"--days-only"});
  EXPECT_EQ(later["days_shown"], "chart") << QJsonDocument(later).toJson().toStdString();
  EXPECT_TRUE(later["days_note"].isNull());
  EXPECT_TRUE(later["days_chart_seen"].toBool());
  EXPECT_GT(later["days_canvases"].toInt(), 0);
  // Yesterday's and today's bars, each beside its clear sky.
  EXPECT_EQ(later["days_labels"].toArray(), (QJsonArray{"Day", "Energy", "Clear sky"}));
  EXPECT_EQ(later["energy_bars"].toInt(), 2);
  EXPECT_EQ(later["clear_sky_bars"].toInt(), 2);
}

// The objects of /api/day and /api/events: those published on MQTT, the file's records.
void ExpectPublishedObjects(const QJsonArray& got, const std::vector<FileRecord>& records) {
  for (qsizetype i = 0; i < got.size(); ++i) {
    const QJsonObject o = got[i].toObject();
    EXPECT_EQ(o.keys(), (QStringList{"record", "time", "unit", "value"})) << i;
    EXPECT_EQ(o["unit"], "W/m²") << i;
    EXPECT_EQ(o["record"].toInt(), got[0]["record"].toInt() + i) << i;
    const int number = o["record"].toInt();
    ASSERT_TRUE(number >= 1 && number <= static_cast<int>(records.size())) << number;
    const FileRecord& r = records[static_cast<std::size_t>(number - 1)];
    EXPECT_EQ(QDateTime::fromString(o["time"].toString(), Qt::ISODate), r.time) << i;
    EXPECT_EQ(o["value"].toDouble(), r.value.toDouble()) << i;
  }
}

TEST(StationWebPage, ApiGivesStateFiguresRecordsAndEvents) {
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2", "timeline": [
      {"after": 2, "reading": "250.5"}, {"after": 4, "reading": "512"}]})");
  // A broker that is away: the samples wait for it.
  WebMonitor m(s, {"--site", "48.2,16.37,180", "--mqtt",
                   QStringLiteral("mqtt://127.0.0.1:%1").arg(FreePort())});
  ASSERT_TRUE(m.Serving()) << m.monitor().Events().toStdString();
  ASSERT_TRUE(WaitFor([&] { return Records(DayFile(m.dir())).size() >= 3; }, 10000));
  const int port = m.port();
  const QString name = QFileInfo(DayFile(m.dir())).fileName();
  const QByteArray today = name.left(10).toLatin1();

  const QJsonObject state = QJsonDocument::fromJson(Body(Get(port, "/api/state"))).object();
  EXPECT_EQ(state["status"], "live");
  EXPECT_EQ(state["meter"], "answering");
  EXPECT_EQ(state["broker"]["set"], true);
  EXPECT_EQ(state["broker"]["connected"], false);
  EXPECT_GE(state["broker"]["waiting"].toInt(), 2);
  EXPECT_GT(state["disk_free"].toDouble(), 0);
  EXPECT_EQ(state["interval"], 1);
  EXPECT_EQ(state["site"], "48.2,16.37,180");
  // What the figures assume, as `stats` says it, the time zone included.
  QStringList assumed;
  for (const QJsonValue& row : state["assumed"].toArray())
    assumed << row[0].toString() + ": " + row[1].toString();
  EXPECT_EQ(assumed.mid(0, 3).join('|').toStdString(),
            "Site: 48.2, 16.37, elevation 180 m|Sensor: tilt 0 degrees|Clear sky: haurwitz");
  ASSERT_EQ(assumed.size(), 4);
  EXPECT_TRUE(assumed[3].startsWith("Time zone: ")) << assumed[3].toStdString();
  EXPECT_EQ(state["today"], QString::fromLatin1(today));
  EXPECT_EQ(state["last"].toObject().keys(), (QStringList{"record", "time", "unit", "value"}));
  ASSERT_EQ(state["files"].toArray().size(), 1);
  EXPECT_EQ(state["files"][0]["name"], name);
  EXPECT_GT(state["files"][0]["size"].toDouble(), 0);

  const QByteArray day = Get(port, "/api/day/" + today);
  EXPECT_TRUE(day.contains("Content-Type: application/json\r\n")) << day.left(300).constData();
  const QJsonArray records = QJsonDocument::fromJson(Body(day)).array();
  ASSERT_GE(records.size(), 3);
  EXPECT_EQ(records[0]["record"], 1);
  ExpectPublishedObjects(records, Records(DayFile(m.dir())));

  // Today's figures as `stats --json` gives them for the file at that site, on their own and
  // among the last 31 days.
  const QJsonArray days =
      QJsonDocument::fromJson(Body(Get(port, "/api/days?from=" + today + "&to=" + today))).array();
  ASSERT_EQ(days.size(), 1);
  EXPECT_EQ(days[0]["date"], QString::fromLatin1(today));
  EXPECT_EQ(days[0]["file"], name);
  EXPECT_EQ(days[0]["unit"], "W/(M)2");
  EXPECT_EQ(days[0]["energy_unit"], "Wh/m2");
  EXPECT_GE(days[0]["count"].toInt(), records.size());
  for (const char* key : {"energy", "mean", "clear_sky_energy", "clear_sky_index"})
    EXPECT_TRUE(days[0][key].isDouble()) << key;
  EXPECT_EQ(QJsonDocument::fromJson(Body(Get(port, "/api/days"))).array().size(), 1);
  // A whole day of clear sky, every 5 minutes.
  EXPECT_EQ(
      QJsonDocument::fromJson(Body(Get(port, "/api/clearsky/" + today)))["points"].toArray().size(),
      24 * 12 + 1);
  for (const QByteArray& path : {QByteArray("/api/day/2026-02-30"), "/api/day/" + today + "x",
                                 QByteArray("/api/clearsky/1"), QByteArray("/api/nothing")})
    EXPECT_EQ(Status(Get(port, path)), 404) << path.constData();

  // Each event one published object: the last sample at once, then every new one.
  const QByteArray stream = Exchange(port, "GET /api/events HTTP/1.1\r\nHost: x\r\n\r\n", 3500);
  EXPECT_TRUE(stream.contains("Content-Type: text/event-stream\r\n"));
  QJsonArray events;
  for (const QByteArray& line : Body(stream).split('\n'))
    if (line.startsWith("data: ")) events.append(QJsonDocument::fromJson(line.mid(6)).object());
  EXPECT_GE(events.size(), 3) << stream.constData();
  ASSERT_TRUE(m.monitor().Stop());
  ExpectPublishedObjects(events, Records(DayFile(m.dir())));
}

TEST(StationWebPage, BadRequestsAreRefusedAndNoSampleIsLost) {
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  WebMonitor m(s, {});
  ASSERT_TRUE(m.ServingAndRecording()) << m.monitor().Events().toStdString();
  const int port = m.port();
  WriteBytes(s.file("secret.pvd"), "secret");
  QFile::link(s.file("secret.pvd"), m.dir() + "/2020-01-02.pvd");
  const QString day = QFileInfo(DayFile(m.dir())).fileName();

  // A day file as stored; every way out of the folder is 404; nothing but GET.
  const QByteArray file = Get(port, "/files/" + day.toLatin1());
  EXPECT_EQ(Status(file), 200);
  EXPECT_TRUE(ReadBytes(DayFile(m.dir())).startsWith(Body(file)));
  for (const char* path :
       {"/files/../secret.pvd", "/files/%2e%2e/secret.pvd", "/files/%2E%2E%2Fsecret.pvd",
        "/files/..%2f..%2fscenario.json", "/files/%2fetc%2fpasswd", "/files//etc/passwd",
        "/files/2020-01-02.pvd", "/files/scenario.json", "/../scenario.json",
        "/files/%252e%252e%252fsecret.pvd",
        "/files/"
        "2020-01-01.pvd%00.txt",
        "/etc/passwd"}) {
    const QByteArray got = Get(port, path);
    EXPECT_EQ(Status(got), 404) << path << ": " << got.left(200).constData();
    EXPECT_FALSE(got.contains("secret")) << path;
  }
  EXPECT_EQ(Status(Exchange(port,
                            "POST /api/state HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n"
                            "Connection: close\r\n\r\n")),
            405);
  EXPECT_EQ(Status(Get(port, "/api/days?from=2026-02-30")), 400);
  EXPECT_EQ(Status(Get(port, "/api/days?from=2020-01-01&to=2026-01-01")), 400);

  // A client that sends its request a byte at a time, never finishing it, is dropped.
  {
    const int slow = ConnectLoopback(port);
    QElapsedTimer sending;
    sending.start();
    const QByteArray request = "GET /api/state HTTP/1.1\r\nX-Slow: " + QByteArray(200, 'a');
    bool dropped = false;
    for (qsizetype i = 0; i < request.size() && !dropped && sending.elapsed() < 15000; ++i) {
      dropped = ::send(slow, request.constData() + i, 1, MSG_NOSIGNAL) != 1;
      pollfd p{slow, POLLIN, 0};
      dropped = dropped || ::poll(&p, 1, 200) > 0;
    }
    EXPECT_TRUE(dropped) << "a stalled request was kept for " << sending.elapsed() << " ms";
    ::close(slow);
  }

  // A reader of the event stream that reads nothing, 200 idle connections and a 1 MB header.
  const int silent = ConnectLoopback(port);
  ::send(silent, "GET /api/events HTTP/1.1\r\nHost: x\r\n\r\n", 37, MSG_NOSIGNAL);
  std::vector<int> idle;
  for (int i = 0; i < 200; ++i) idle.push_back(ConnectLoopback(port));
  const QByteArray huge = Get(port, "/api/state", "X-Big: " + QByteArray(1 << 20, 'a') + "\r\n");
  EXPECT_NE(Status(huge), 200);
  // Each idle connection is dropped in turn; then the page answers again.
  QElapsedTimer waited;
  waited.start();
  for (int fd : idle) {
    if (fd < 0) continue;
    pollfd p{fd, POLLIN, 0};
    char c;
    while (waited.elapsed() < 40000 && ::poll(&p, 1, 200) <= 0) {
    }
    EXPECT_LE(::recv(fd, &c, 1, MSG_DONTWAIT), 0) << "an idle connection got an answer";
    ::close(fd);
  }
  EXPECT_LT(waited.elapsed(), 40000) << "idle connections were kept";
  const QByteArray state = Get(port, "/api/state");
  EXPECT_EQ(Status(state), 200);
  EXPECT_EQ(QJsonDocument::fromJson(Body(state)).object()["status"], "live");
  ::close(silent);

  ASSERT_TRUE(m.monitor().Stop());
  const auto records = Records(DayFile(m.dir()));
  EXPECT_GE(records.size(), 10u);
  ExpectNoSampleLost(records);
}

// More downloads of a large file than there are workers, none of them read: their writes time
// out and the page answers again, while the recording keeps every second.
TEST(StationWebPage, StalledDownloadsTimeOutAndNoSampleIsLost) {
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  WebMonitor m(s, {});
  ASSERT_TRUE(m.ServingAndRecording()) << m.monitor().Events().toStdString();
  const int port = m.port();
  WriteBytes(m.dir() + "/2020-01-03.pvd", QByteArray(16 << 20, 'a'));
  std::vector<int> stalled;
  for (int i = 0; i < 40; ++i) stalled.push_back(StalledDownload(port, "/files/2020-01-03.pvd"));
  QThread::msleep(500);
  EXPECT_TRUE(WaitFor([&] { return Status(Get(port, "/api/state", {}, 1000)) == 200; }, 25000))
      << "stalled downloads held the page";
  for (int fd : stalled) ::close(fd);
  EXPECT_EQ(QJsonDocument::fromJson(Body(Get(port, "/api/state"))).object()["status"], "live");

  ASSERT_TRUE(m.monitor().Stop());
  const auto records = Records(DayFile(m.dir()));
  EXPECT_GE(records.size(), 5u);
  ExpectNoSampleLost(records);
}

TEST(StationWebPage, BeyondTheLoopbackAPasswordIsNeeded) {
  ExpectFailures(
      {
          {{"monitor", "d", "--http", "0.0.0.0:8080"}, 2, "needs --http-user"},
          {{"monitor", "d", "--http", "8080", "--http-user", "ann"}, 2, "SOLARDESK_HTTP_PASSWORD"},
          {{"monitor", "d", "--http", "8080", "--http-cert", "c.pem"}, 2, "go together"},
          {{"monitor", "d", "--http", "8080", "--http-cert", "c.pem", "--http-key", "k.pem"},
           2,
           "HTTPS is not offered"},
          {{"monitor", "d", "--http", "host:80"}, 2, "no IPv4 address"},
          {{"monitor", "d", "--http-open"}, 2, "need --http"},
          {{"monitor", "d", "--http", "8080", "--site", "91,0"}, 2, "is no site"},
      },
      {"--simulate"});

  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  WebMonitor m(s, {"--http-user", "ann"}, {"SOLARDESK_HTTP_PASSWORD=pässword"});
  ASSERT_TRUE(m.Serving()) << m.monitor().Events().toStdString();
  const QByteArray refused = Get(m.port(), "/api/state");
  EXPECT_EQ(Status(refused), 401);
  EXPECT_TRUE(refused.contains("WWW-Authenticate: Basic"));
  EXPECT_EQ(Status(Get(m.port(), "/",
                       "Authorization: Basic " + QByteArray("ann:wrong").toBase64() + "\r\n")),
            401);
  EXPECT_EQ(
      Status(Get(m.port(), "/",
                 "Authorization: Basic " + QString("ann:pässword").toUtf8().toBase64() + "\r\n")),
      200);
}

}  // namespace
}  // namespace solardesk::testing
