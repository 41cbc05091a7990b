#include <gtest/gtest.h>

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>

#include "CliProcess.h"
#include "MqttBroker.h"
#include "support/SkipUnlessCi.h"

namespace solardesk::testing {
namespace {

// One record of a data file.
struct FileRecord {
  int number;
  QDateTime time;
  QString value;
};

std::vector<FileRecord> Records(const QString& path) {
  std::vector<FileRecord> out;
  for (const QByteArray& line : ReadBytes(path).split('\n').mid(1)) {
    const QList<QByteArray> f = line.split('\t');
    if (f.size() >= 3)
      out.push_back({f[0].trimmed().toInt(), QDateTime::fromString(f[1], "yyyy/MM/dd HH:mm:ss"),
                     f[2].trimmed()});
  }
  return out;
}

QString DayFile(const QString& dir, int part = 0) {
  const QString day = QDate::currentDate().toString("yyyy-MM-dd");
  return dir + "/" + day + (part ? QStringLiteral("-%1").arg(part) : QString()) + ".pvd";
}

// The state messages a subscriber got: the JSON of each.
std::vector<QJsonObject> States(QProcess& sub) {
  std::vector<QJsonObject> out;
  for (const QByteArray& line : sub.readAllStandardOutput().split('\n')) {
    if (line.contains("/state "))
      out.push_back(QJsonDocument::fromJson(line.mid(line.indexOf('{'))).object());
  }
  return out;
}

void Stop(QProcess& p) {
  p.terminate();
  p.waitForFinished(5000);
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
  StartCli(monitor, {s.option(), "monitor", dir, "--mqtt", broker.url()});
  ASSERT_TRUE(WaitFor([&] { return Records(DayFile(dir, 1)).size() >= 2; }))
      << monitor.readAllStandardError().toStdString();
  QThread::msleep(300);  // the last sample on its way to the broker
  ::kill(static_cast<pid_t>(monitor.processId()), SIGKILL);
  monitor.waitForFinished(5000);
  QThread::msleep(300);
  Stop(sub);
  const QString err = QString::fromUtf8(monitor.readAllStandardError());

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
  const auto states = States(sub);
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

  // The retained messages: the will said "offline"; the discovery config has the last unit.
  QProcess retained;
  broker.Subscribe(
      retained,
      {"solardesk/virtual/availability", "homeassistant/sensor/virtual/irradiance/config"},
      {"-C", "2", "-W", "5"});
  retained.waitForFinished(6000);
  const QString got = QString::fromUtf8(retained.readAllStandardOutput());
  EXPECT_TRUE(got.contains("1 solardesk/virtual/availability offline")) << got.toStdString();
  const QString config =
      got.section("1 homeassistant/sensor/virtual/irradiance/config ", 1).section('\n', 0, 0);
  const QJsonObject c = QJsonDocument::fromJson(config.toUtf8()).object();
  EXPECT_EQ(c["unit_of_measurement"], "BTU/(h⋅ft²)") << got.toStdString();
  EXPECT_EQ(c["availability_topic"], "solardesk/virtual/availability");
}

TEST(CliMonitor, BrokerAwayLosesNoSampleAndSigtermEndsCleanly) {
  MqttBroker broker;
  if (!broker.Start()) SKIP_UNLESS_CI("mosquitto is not installed (scripts/install-deps.sh)");
  ScenarioFile s(R"({"reading": "12.5", "unit": "W/(M)2"})");
  const QString dir = s.file("data");
  QProcess before, after, monitor;
  broker.Subscribe(before, {"solardesk/virtual/state"});
  StartCli(monitor, {s.option(), "monitor", dir, "--mqtt", broker.url() + "/"});
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
  EXPECT_TRUE(err.contains("lost; samples wait for it")) << err.toStdString();
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
      {{s.option(), "monitor", dir, "--interval", "often"}, 2, "not a number of seconds"},
      {{s.option(), "watch", "--format", "xml"}, 2, "unknown format \"xml\""},
  });
}

}  // namespace
}  // namespace solardesk::testing
