#include <gtest/gtest.h>

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStandardPaths>
#include <QSysInfo>
#include <csignal>
#include <map>

#include "CliProcess.h"
#include "MonitorProcess.h"
#include "MqttBroker.h"
#include "support/SkipUnlessCi.h"

namespace solardesk::testing {
namespace {

// The state messages a subscriber printed: the JSON of each.
std::vector<QJsonObject> States(const QByteArray& printed) {
  std::vector<QJsonObject> out;
  for (const QByteArray& line : printed.split('\n')) {
    if (line.contains("/state "))
      out.push_back(QJsonDocument::fromJson(line.mid(line.indexOf('{'))).object());
  }
  return out;
}

std::vector<QJsonObject> States(QProcess& sub) {
  return States(sub.readAllStandardOutput());
}

// The payloads a subscriber printed for `topic`, in order.
QStringList Payloads(const QByteArray& printed, const QString& topic) {
  QStringList out;
  for (const QString& line : QString::fromUtf8(printed).split('\n')) {
    if (line.section(' ', 1, 1) == topic) out << line.section(' ', 2);
  }
  return out;
}

bool HaveMosquitto() {
  return !QStandardPaths::findExecutable("mosquitto").isEmpty();
}

// A certificate authority and a certificate for a server on 127.0.0.1 signed by it, made by
// openssl in `dir`: NAME-ca.pem, NAME-server.pem and NAME-server.key. False when openssl is
// missing or failed.
bool MakeCertificates(const QString& dir, const QString& name) {
  const auto openssl = [&](const QStringList& args) {
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start("openssl", args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  };
  WriteBytes(dir + "/server.ext", "subjectAltName=IP:127.0.0.1\n");
  const QStringList key{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
  return openssl(QStringList{"req", "-x509", "-days", "2", "-subj", "/CN=Test CA " + name,
                             "-addext", "basicConstraints=critical,CA:TRUE", "-addext",
                             "keyUsage=critical,keyCertSign", "-keyout", name + "-ca.key", "-out",
                             name + "-ca.pem"} +
                 key) &&
         openssl(QStringList{"req", "-subj", "/CN=127.0.0.1", "-keyout", name + "-server.key",
                             "-out", name + "-server.csr"} +
                 key) &&
         openssl({"x509", "-req", "-days", "2", "-in", name + "-server.csr", "-CA",
                  name + "-ca.pem", "-CAkey", name + "-ca.key", "-CAcreateserial", "-extfile",
                  "server.ext", "-out", name + "-server.pem"});
}

TEST(CliMonitor, PublishesEverySampleItRecordsThroughUnplugAndUnitChange) {
  MqttBroker broker;
  if (!broker.Start()) SKIP_UNLESS_CI("mosquitto is not installed (scripts/install-deps.sh)");
  ScenarioFile s(R"({"reading": "98.76", "unit": "W/(M)2", "timeline": [
      {"after": 2.5, "absent": true}, {"after": 4, "absent": false},
      {"after": 6, "unit": "Btu/(ft)2.h", "reading": "31.3"}]})");
  QProcess sub;
  broker.Subscribe(sub, {"solardesk/#"});
  const QString dir = s.file("data");
  QProcess monitor;
  StartCli(monitor, {s.option(), "monitor", dir, "--mqtt", broker.url(), "--name", "virtual"});
  ASSERT_TRUE(WaitFor([&] { return Records(DayFile(dir, 1)).size() >= 2; }))
      << monitor.readAllStandardError().toStdString();
  QThread::msleep(300);  // the last sample on its way to the broker
  ::kill(static_cast<pid_t>(monitor.processId()), SIGKILL);
  monitor.waitForFinished(5000);
  QThread::msleep(300);
  Stop(sub);
  const QString err = QString::fromUtf8(monitor.readAllStandardError());
  const QByteArray printed = sub.readAllStandardOutput();

  // The file first: W/(M)2 with a gap while unplugged, found again within a second, then the
  // unit's own file.
  const auto watts = Records(DayFile(dir));
  const auto btu = Records(DayFile(dir, 1));
  ASSERT_GE(watts.size(), 3u);
  int gaps = 0;
  for (std::size_t i = 1; i < watts.size(); ++i) {
    const qint64 step = watts[i - 1].time.secsTo(watts[i].time);
    EXPECT_EQ(watts[i].number, watts[i - 1].number + 1);
    if (step > 1) {
      ++gaps;
      EXPECT_LE(step, 4) << "unplugged for 1.5 s";
    }
  }
  EXPECT_EQ(gaps, 1);
  EXPECT_TRUE(
      err.contains(QRegularExpression("\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d meter lost: unplugged")))
      << err.toStdString();
  EXPECT_EQ(err.count("meter found"), 2) << err.toStdString();

  // Then the broker: every recorded sample once, in order, as JSON.
  std::vector<std::pair<FileRecord, const char*>> recorded;
  for (const auto& r : watts) recorded.push_back({r, "W/m²"});
  for (const auto& r : btu) recorded.push_back({r, "Btu/(ft²·h)"});
  const auto states = States(printed);
  ASSERT_GE(states.size() + 1, recorded.size());
  ASSERT_LE(states.size(), recorded.size());
  for (std::size_t i = 0; i < states.size(); ++i) {
    const auto& [r, unit] = recorded[i];
    EXPECT_EQ(states[i]["record"].toInt(), r.number) << i;
    EXPECT_EQ(states[i]["value"].toDouble(), r.value.toDouble()) << i;
    EXPECT_EQ(states[i]["unit"].toString(), QString::fromUtf8(unit)) << i;
    EXPECT_TRUE(states[i]["time"].toString().startsWith(r.time.toString("yyyy-MM-ddTHH:mm:ss")))
        << i;
  }

  // While the meter was unplugged, it was not available.
  EXPECT_EQ(Payloads(printed, "solardesk/virtual/meter/availability"),
            (QStringList{"online", "offline", "online"}))
      << printed.toStdString();

  // The retained messages: the will said "offline"; the discovery config has the last unit.
  QProcess retained;
  broker.Subscribe(retained,
                   {"solardesk/virtual/availability", "homeassistant/sensor/+/irradiance/config"},
                   {"-C", "2", "-W", "5"});
  retained.waitForFinished(6000);
  const QByteArray got = retained.readAllStandardOutput();
  EXPECT_TRUE(got.contains("1 solardesk/virtual/availability offline")) << got.toStdString();
  const QByteArray config = got.mid(got.indexOf(" {") + 1).split('\n').first();
  const QJsonObject c = QJsonDocument::fromJson(config).object();
  EXPECT_EQ(c["unit_of_measurement"], "BTU/(h⋅ft²)") << got.toStdString();
  EXPECT_EQ(c["availability"][1]["topic"], "solardesk/virtual/meter/availability");
  EXPECT_EQ(c["availability_mode"], "all");
  EXPECT_EQ(c["expire_after"], 30);
}

TEST(CliMonitor, BrokerAwayLosesNoSampleAndSigtermEndsCleanly) {
  MqttBroker broker;
  if (!broker.Start()) SKIP_UNLESS_CI("mosquitto is not installed (scripts/install-deps.sh)");
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  const QString dir = s.file("data");
  QProcess before, after, monitor;
  broker.Subscribe(before, {"solardesk/virtual/state"});
  StartCli(monitor,
           {s.option(), "monitor", dir, "--mqtt", broker.url() + "/", "--name", "virtual"});
  ASSERT_TRUE(WaitFor([&] { return Records(DayFile(dir)).size() >= 2; }));
  broker.Stop();
  Stop(before);
  QThread::sleep(4);
  ASSERT_TRUE(broker.Start());
  broker.Subscribe(after, {"solardesk/virtual/state"});
  const std::size_t atRestart = Records(DayFile(dir)).size();
  ASSERT_TRUE(WaitFor([&] { return Records(DayFile(dir)).size() >= atRestart + 4; }));
  monitor.terminate();
  ASSERT_TRUE(monitor.waitForFinished(8000));
  EXPECT_EQ(monitor.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(monitor.exitCode(), 0);
  QThread::msleep(300);
  Stop(after);
  const QString err = QString::fromUtf8(monitor.readAllStandardError());
  EXPECT_EQ(err.count(QStringLiteral("broker 127.0.0.1:%1 connected").arg(broker.port())), 2)
      << err.toStdString();
  EXPECT_EQ(err.count("connection lost: "), 1) << err.toStdString();
  EXPECT_TRUE(err.trimmed().endsWith("monitor stopped")) << err.toStdString();

  // Every second is in the file, which ends whole.
  const auto file = Records(DayFile(dir));
  EXPECT_TRUE(ReadBytes(DayFile(dir)).endsWith("\t\r\n"));
  for (std::size_t i = 0; i < file.size(); ++i) {
    EXPECT_EQ(file[i].number, static_cast<int>(i) + 1);
    if (i > 0) {
      EXPECT_EQ(file[i - 1].time.secsTo(file[i].time), 1) << i;
    }
  }
  // Before the outage and after it, in order, every sample reached a subscriber.
  std::vector<int> got;
  for (const auto& j : States(before)) got.push_back(j["record"].toInt());
  const std::size_t seam = got.size();
  for (const auto& j : States(after)) {
    // A message the broker took just as it went down may come again (QoS 1).
    if (got.size() > seam || j["record"].toInt() > got.back()) got.push_back(j["record"].toInt());
  }
  ASSERT_EQ(got.size(), file.size());
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], static_cast<int>(i) + 1);
}

// The day files are the queue: a station killed while the broker is away and started again
// sends what the broker lacks from the files, then goes on live.
TEST(CliMonitor, AStationKilledDuringAnOutageSendsEverySampleOnceAndInOrder) {
  MqttBroker broker;
  if (!broker.Start()) SKIP_UNLESS_CI("mosquitto is not installed (scripts/install-deps.sh)");
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  const QString dir = s.file("data");
  const QStringList args{s.option(), "monitor", dir, "--mqtt", broker.url(), "--name", "virtual"};
  QProcess before, after;
  broker.Subscribe(before, {"solardesk/virtual/state"});
  {
    Monitor first(s, "first");
    first.Start(args);
    ASSERT_TRUE(WaitFor([&] { return Records(DayFile(dir)).size() >= 3; }));
    broker.Stop();
    Stop(before);
    ASSERT_TRUE(first.Says("connection lost", 5000)) << first.Events().toStdString();
    QThread::msleep(2000);
    first.Kill();
  }
  ASSERT_TRUE(QFile::exists(dir + "/.solardesk-mqtt-acked"));
  const std::size_t atKill = Records(DayFile(dir)).size();
  Monitor second(s, "second");
  second.Start(args);
  ASSERT_TRUE(WaitFor([&] { return Records(DayFile(dir)).size() >= atKill + 2; }));
  ASSERT_TRUE(broker.Start());
  broker.Subscribe(after, {"solardesk/virtual/state"});
  ASSERT_TRUE(second.Says("every sample of the day files sent", 15000))
      << second.Events().toStdString();
  const std::size_t atCatchUp = Records(DayFile(dir)).size();
  ASSERT_TRUE(WaitFor([&] { return Records(DayFile(dir)).size() >= atCatchUp + 2; }));
  second.Stop();
  QThread::msleep(300);
  Stop(after);

  const auto file = Records(DayFile(dir));
  std::vector<int> got;
  for (const auto& j : States(before)) got.push_back(j["record"].toInt());
  const std::size_t seam = got.size();
  for (const auto& j : States(after)) {
    // A message the broker took just as it went down may come again (QoS 1).
    if (got.size() > seam || got.empty() || j["record"].toInt() > got.back())
      got.push_back(j["record"].toInt());
  }
  ASSERT_EQ(got.size(), file.size()) << second.Events().toStdString();
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], file[i].number) << i;
  EXPECT_TRUE(second.Events().contains("sending ")) << second.Events().toStdString();
}

TEST(CliMonitor, ABrokerDownAtStartIsReachedWhenItComesUp) {
  if (!HaveMosquitto()) SKIP_UNLESS_CI("mosquitto is not installed (scripts/install-deps.sh)");
  MqttBroker broker;  // not started yet, as after a power cut
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  const QString dir = s.file("data");
  Monitor monitor(s, "monitor");
  monitor.Start({s.option(), "monitor", dir, "--mqtt", broker.url(), "--name", "virtual"});
  const QString where = QStringLiteral("broker 127.0.0.1:%1").arg(broker.port());
  ASSERT_TRUE(monitor.Says(where + ": not reachable: Connection refused; ", 10000))
      << monitor.Events().toStdString();
  QThread::msleep(1500);  // tried again in vain
  ASSERT_TRUE(broker.Start());
  QProcess sub;
  broker.Subscribe(sub, {"solardesk/virtual/state"});
  ASSERT_TRUE(monitor.Says(where + " connected after ", 10000)) << monitor.Events().toStdString();
  const std::size_t atConnection = Records(DayFile(dir)).size();
  ASSERT_TRUE(WaitFor([&] { return Records(DayFile(dir)).size() >= atConnection + 2; }));
  QThread::msleep(300);  // the last sample on its way
  Stop(sub);
  const auto states = States(sub);
  ASSERT_GE(states.size(), 2u);
  for (std::size_t i = 1; i < states.size(); ++i)
    EXPECT_EQ(states[i]["record"].toInt(), states[i - 1]["record"].toInt() + 1) << i;
  EXPECT_EQ(monitor.Events().count(": not reachable: "), 1) << monitor.Events().toStdString();
}

// With --mqtt-cafile, and with the system's store (which SSL_CERT_FILE stands in for): a broker
// whose certificate the station does not trust, then one it trusts.
TEST(CliMonitor, AnUntrustedCertificateIsSaidOnceAndTheBrokerReachedOnceItIsTrusted) {
  if (!HaveMosquitto()) SKIP_UNLESS_CI("mosquitto is not installed (scripts/install-deps.sh)");
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  if (!MakeCertificates(s.folder(), "a") || !MakeCertificates(s.folder(), "b"))
    SKIP_UNLESS_CI("openssl cannot make the test's certificates");
  const auto servedBy = [&](const char* ca) {
    return QStringLiteral(
               "certfile %1/%2-server.pem\nkeyfile %1/%2-server.key\n"
               "allow_anonymous true\n")
        .arg(s.folder(), QLatin1String(ca))
        .toUtf8();
  };
  const std::pair<QStringList, QStringList> trusts[] = {
      {{"--mqtt-cafile", s.file("b-ca.pem")}, {}},
      {{}, {"SSL_CERT_FILE=" + s.file("b-ca.pem"), "SSL_CERT_DIR=" + s.file("none")}},
  };
  for (const auto& [options, environment] : trusts) {
    const std::string what = options.isEmpty() ? "the system's store" : "a CA file";
    MqttBroker broker(servedBy("a"));
    ASSERT_TRUE(broker.Start());
    const QString dir = s.file(QString::fromStdString(what));
    Monitor monitor(s, "monitor");
    monitor.Start(QStringList{s.option(), "monitor", dir, "--mqtt", broker.url("mqtts"), "--name",
                              "virtual"} +
                      options,
                  environment);
    const QString where = QStringLiteral("broker 127.0.0.1:%1").arg(broker.port());
    ASSERT_TRUE(monitor.Says(where + ": certificate not trusted: ", 10000))
        << what << ": " << monitor.Events().toStdString();
    QThread::msleep(1500);  // tried again in vain
    broker.Stop();
    broker.Configure(servedBy("b"));
    ASSERT_TRUE(broker.Start());
    ASSERT_TRUE(monitor.Says(where + " connected after ", 10000))
        << what << ": " << monitor.Events().toStdString();
    // Said once: no other line about the broker until it was reached.
    EXPECT_EQ(monitor.Events().count(where), 2) << what << ": " << monitor.Events().toStdString();
    // Recording went on all the while.
    const auto file = Records(DayFile(dir));
    ASSERT_GE(file.size(), 3u) << what;
    EXPECT_EQ(file.front().time.secsTo(file.back().time), qint64(file.size()) - 1) << what;
  }
}

// Over TLS too, a broker that is down is said to be so at once, not once its answer is given up
// waiting for.
TEST(CliMonitor, ATlsBrokerThatIsDownIsSaidUnreachableAtOnce) {
  if (!HaveMosquitto()) SKIP_UNLESS_CI("mosquitto is not installed (scripts/install-deps.sh)");
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  if (!MakeCertificates(s.folder(), "a"))
    SKIP_UNLESS_CI("openssl cannot make the test's certificates");
  MqttBroker broker(QStringLiteral("certfile %1/a-server.pem\nkeyfile %1/a-server.key\n"
                                   "allow_anonymous true\n")
                        .arg(s.folder())
                        .toUtf8());
  Monitor monitor(s, "monitor");
  monitor.Start({s.option(), "monitor", s.file("data"), "--mqtt", broker.url("mqtts"),
                 "--mqtt-cafile", s.file("a-ca.pem"), "--name", "v"});
  const QString where = QStringLiteral("broker 127.0.0.1:%1").arg(broker.port());
  // The answer is waited for 10 s: this comes well before.
  ASSERT_TRUE(
      monitor.Says(where + ": not reachable: Connection refused; samples wait for it", 6000))
      << monitor.Events().toStdString();
  ASSERT_TRUE(broker.Start());
  ASSERT_TRUE(monitor.Says(where + " connected after ", 10000)) << monitor.Events().toStdString();
  EXPECT_EQ(monitor.Events().count(where), 2) << monitor.Events().toStdString();
}

TEST(CliMonitor, ABrokerThatNeverAnswersIsGivenUpAndTriedAgain) {
  if (!HaveMosquitto()) SKIP_UNLESS_CI("mosquitto is not installed (scripts/install-deps.sh)");
  MqttBroker broker;
  SilentListener silent(broker.port());
  ASSERT_TRUE(silent.listening());
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  Monitor monitor(s, "monitor");
  monitor.Start({s.option(), "monitor", s.file("data"), "--mqtt", broker.url(), "--name", "v"});
  const QString where = QStringLiteral("broker 127.0.0.1:%1").arg(broker.port());
  ASSERT_TRUE(monitor.Says(where + ": no answer within 10 s; samples wait for it", 15000))
      << monitor.Events().toStdString();
  silent.Close();
  ASSERT_TRUE(broker.Start());
  EXPECT_TRUE(monitor.Says(where + " connected after ", 10000)) << monitor.Events().toStdString();
}

TEST(CliMonitor, ARefusedLoginIsSaidOnceNamingThePasswordVariable) {
  if (!HaveMosquitto()) SKIP_UNLESS_CI("mosquitto is not installed (scripts/install-deps.sh)");
  MqttBroker broker("allow_anonymous false\n");
  ASSERT_TRUE(broker.Start());
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  Monitor monitor(s, "monitor");
  monitor.Start({s.option(), "monitor", s.file("data"), "--mqtt", broker.url(), "--name", "v"});
  const QString refused =
      QStringLiteral(
          "broker 127.0.0.1:%1: refused the login: not authorised; no password given "
          "(SOLARDESK_MQTT_PASSWORD is not set); samples wait for it")
          .arg(broker.port());
  ASSERT_TRUE(monitor.Says(refused, 10000)) << monitor.Events().toStdString();
  QThread::msleep(3500);  // tried twice more, 1 and 2 s apart
  EXPECT_EQ(monitor.Events().count("broker "), 1) << monitor.Events().toStdString();
}

TEST(CliMonitor, StationsOfTheirOwnNamesShareABrokerWithoutMeetingThere) {
  MqttBroker broker;
  if (!broker.Start()) SKIP_UNLESS_CI("mosquitto is not installed (scripts/install-deps.sh)");
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  Monitor east(s, "east"), west(s, "west");
  east.Start({s.option(), "monitor", s.file("east"), "--mqtt", broker.url(), "--name", "east"});
  // Without --name, the station is named after the host.
  west.Start({s.option(), "monitor", s.file("west"), "--mqtt", broker.url()});
  const QString host = QSysInfo::machineHostName().isEmpty() ? QStringLiteral("station")
                                                             : QSysInfo::machineHostName();
  ASSERT_TRUE(WaitFor([&] {
    return Records(DayFile(s.file("east"))).size() >= 2 &&
           Records(DayFile(s.file("west"))).size() >= 2;
  }));
  QProcess retained;
  broker.Subscribe(retained, {"homeassistant/sensor/+/irradiance/config"}, {"-C", "2", "-W", "5"});
  retained.waitForFinished(6000);
  std::map<QString, QJsonObject> configs;  // by device name
  QSet<QString> topics;
  for (const QByteArray& line : retained.readAllStandardOutput().split('\n')) {
    if (line.isEmpty()) continue;
    topics << QString::fromUtf8(line.split(' ')[1]);
    const QJsonObject c = QJsonDocument::fromJson(line.mid(line.indexOf('{'))).object();
    configs[c["device"]["name"].toString()] = c;
  }
  EXPECT_EQ(topics.size(), 2);
  ASSERT_EQ(configs.size(), 2u);
  const QJsonObject e = configs["Solar power meter east"], w = configs["Solar power meter " + host];
  EXPECT_EQ(e["state_topic"], "solardesk/east/state");
  EXPECT_TRUE(w["state_topic"].toString().startsWith("solardesk/")) << host.toStdString();
  EXPECT_NE(w["state_topic"], e["state_topic"]);
  EXPECT_NE(e["unique_id"], w["unique_id"]);
  EXPECT_NE(e["device"]["identifiers"], w["device"]["identifiers"]);
}

TEST(CliWatch, StreamsInEveryFormatWithoutTheLocale) {
  ScenarioFile s(R"({"reading": "98.76", "unit": "W/(M)2"})");
  const QStringList german{"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"};
  const std::pair<const char*, const char*> cases[] = {
      {"text", "^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\t98\\.76\tW/\\(M\\)2\n$"},
      {"csv",
       "^number,time,value,unit\r\n1,\\d{4}-\\d\\d-\\d\\dT[0-9:]{8}[+-]\\d\\d:\\d\\d,98\\.76,W/"
       "\\(M\\)2\r\n$"},
      {"json",
       "^\\{\"time\": \"[-0-9T:+]{25}\", \"value\": 98\\.76, \"unit\": \"W/m²\", \"record\": "
       "1\\}\n$"},
      {"influx", "^solar_irradiance,meter=virtual,unit=W/m2 value=98\\.76 \\d{13}000000\n$"},
  };
  for (const auto& [format, pattern] : cases) {
    const CliRun r = RunCli({s.option(), "watch", "--format", format, "--count", "1"}, german);
    EXPECT_EQ(r.exitCode, 0) << format << r.err.toStdString();
    const QString out = QString::fromUtf8(r.out.toLatin1());
    EXPECT_TRUE(QRegularExpression(QString::fromUtf8(pattern)).match(out).hasMatch())
        << format << ": " << out.toStdString();
  }
}

TEST(CliMonitor, RefusesWhatItCannotUse) {
  ScenarioFile s("{}");
  const QString dir = s.folder();
  ExpectFailures({
      {{s.option(), "monitor"}, 2, "usage: monitor DIR"},
      {{s.option(), "monitor", dir, "--mqtt", "http://broker"}, 2, "must begin with mqtt://"},
      {{s.option(), "monitor", dir, "--mqtt", "mqtt://u:pw@broker"}, 2, "SOLARDESK_MQTT_PASSWORD"},
      {{s.option(), "monitor", dir, "--mqtt-cafile", "ca.pem"}, 2, "--mqtt-cafile needs --mqtt"},
      {{s.option(), "monitor", dir, "--mqtt", "mqtt://broker:0"}, 2, "port must be 1 to 65535"},
      {{s.option(), "monitor", dir, "--mqtt", "mqtt://b:65536/x"}, 2, "port must be 1 to 65535"},
      {{s.option(), "monitor", dir, "--name", "roof"}, 2, "--name needs --mqtt"},
      // A name given is used in the topics as it is, or not at all.
      {{s.option(), "monitor", dir, "--mqtt", "mqtt://broker", "--name", "roof top"},
       2,
       "--name \"roof top\": a station's name may only hold the letters A-Z and a-z, the "
       "digits 0-9, \"-\", \"_\" and \".\""},
      {{s.option(), "monitor", dir, "--mqtt", "mqtt://broker", "--name", "a/b"},
       2,
       "\"a/b\": a station"},
      {{s.option(), "monitor", dir, "--interval", "often"}, 2, "seconds from 1 to 86400"},
      {{s.option(), "monitor", dir, "--interval", "0"}, 2, "seconds from 1 to 86400"},
      {{s.option(), "monitor", dir, "--interval", "-5"}, 2, "seconds from 1 to 86400"},
      {{s.option(), "monitor", dir, "--interval", "1.5"}, 2, "seconds from 1 to 86400"},
      {{s.option(), "monitor", dir, "--interval", "86401"}, 2, "seconds from 1 to 86400"},
      {{s.option(), "watch", "--format", "xml"}, 2, "unknown format \"xml\""},
      // The site options are those of stats, checked the same way.
      {{s.option(), "monitor", dir, "--site", "39.7,-105.2", "--tilt", "91"},
       2,
       "tilt 91 is not within 0 to 90"},
      {{s.option(), "monitor", dir, "--tilt", "30"}, 2, "--site"},
      {{s.option(), "monitor", dir, "--site", "39.7,-105.2", "--model", "haurwitz",
        "--transposition", "perez"},
       2,
       "--transposition has no effect on the Haurwitz clear sky: use --model ineichen"},
  });
}

}  // namespace
}  // namespace solardesk::testing
