#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "FakeMqtt.h"
#include "core/Clock.h"
#include "station/StationLoop.h"

namespace solardesk::station {
namespace {

class FakeMeter final : public MeterSource {
 public:
  MeterReading reading{MeterState::Answering, QStringLiteral("12.5"), QStringLiteral("W/(M)2")};
  QString serial = QStringLiteral("42");
  MeterReading Latest() const override { return reading; }
  QString SerialNumber() const override { return serial; }
};

struct SeenByView final : StationObserver {
  std::vector<MeterState> meter;
  std::vector<long long> samples;
  std::size_t waiting = 0;
  void SetMeter(MeterState state, const QDateTime&) override {
    if (meter.empty() || meter.back() != state) meter.push_back(state);
  }
  void SetBroker(bool, std::size_t w) override { waiting = w; }
  void AddSample(const Sample& s) override { samples.push_back(s.record.value_or(-1)); }
};

// A loop on a manual clock, a fake meter and a folder of its own; its publisher (when the test
// lets it make one) talks to a fake broker and is turned by hand.
struct LoopRig {
  QTemporaryDir dir;
  ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0, 300))};
  QStringList events;
  FakeMeter meter;
  FakeBroker broker;
  SeenByView view;
  std::vector<QString> publishersFor;  // the serial numbers publishers were made for
  bool publisherFails = false;
  DayFiles files{dir.path(), [this](const QString& e) { events << e; }};
  StationLoop loop{2,
                   clock,
                   [this](const QString& e) { events << e; },
                   files,
                   meter,
                   [this](const QString& serial, QString* error) {
                     publishersFor.push_back(serial);
                     if (publisherFails) {
                       *error = QStringLiteral("cannot use the CA certificates");
                       return std::unique_ptr<MqttPublisher>();
                     }
                     return std::make_unique<MqttPublisher>(
                         MqttSettings{{{false, {}, "127.0.0.1", 1883, "site"}, {}, {}},
                                      {"site", "roof", "roof-" + serial, 2},
                                      PublishQueue::kDefaultCapacity,
                                      {}},
                         [this](const QString& e) { events << e; }, clock,
                         std::make_unique<FakeClient>(broker));
                   },
                   &view};

  // Steps the loop through `seconds` of the clock, 100 ms at a time.
  void Run(double seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
      QString error;
      while (loop.Step(&error) == std::chrono::milliseconds(0)) {
      }
      clock.advanceMs(100);
    }
  }
};

TEST(StationLoop, TakesASampleAtEachDueTimeAndCountsWhatAHoldUpMissed) {
  LoopRig rig;
  rig.Run(6);  // due at 10:00:02, :04, :06
  EXPECT_EQ(rig.view.samples, (std::vector<long long>{1, 2, 3}));
  // Held up for 9 s: the samples of :08, :10 and :12 are missed, the one of :14 taken.
  rig.clock.advanceMs(9000);
  rig.Run(0.1);
  EXPECT_EQ(rig.loop.Missed(), 3);
  EXPECT_TRUE(rig.events.contains("3 samples skipped: the station was held up"));
  EXPECT_EQ(rig.view.samples.back(), 4);
  const QByteArray file = [&] {
    QFile f(rig.dir.filePath("2026-12-06.pvd"));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();
  EXPECT_TRUE(file.endsWith("      4\t2026/12/06 10:00:14\t 12.5\t\r\n")) << file.toStdString();
}

TEST(StationLoop, StartsThePublisherOnlyOnceTheMeterAnswers) {
  LoopRig rig;
  rig.meter.reading = {MeterState::Absent, {}, {}};
  rig.Run(5);
  EXPECT_TRUE(rig.publishersFor.empty());
  EXPECT_TRUE(rig.view.samples.empty());
  rig.meter.reading = {MeterState::Answering, "12.5", "W/(M)2"};
  rig.Run(4);
  ASSERT_EQ(rig.publishersFor, std::vector<QString>{"42"});
  EXPECT_EQ(rig.view.meter, (std::vector<MeterState>{MeterState::Absent, MeterState::Answering}));
  // The samples since wait for the broker, which was not met yet.
  ASSERT_NE(rig.loop.Publisher(), nullptr);
  EXPECT_EQ(rig.loop.Publisher()->Waiting(), rig.view.samples.size());
  EXPECT_EQ(rig.view.waiting, rig.view.samples.size());
  rig.meter.reading = {MeterState::NotAnswering, {}, {}};
  rig.Run(2);
  EXPECT_EQ(rig.publishersFor.size(), 1u);
}

TEST(StationLoop, APublisherThatCannotStartEndsTheLoop) {
  LoopRig rig;
  rig.publisherFails = true;
  QString error;
  EXPECT_FALSE(rig.loop.Step(&error));
  EXPECT_EQ(error, "cannot use the CA certificates");
}

TEST(StationLoop, AReopenRequestClosesTheDayFileUntilTheNextSample) {
  LoopRig rig;
  rig.Run(2.5);
  const QString path = rig.files.CurrentPath();
  ASSERT_FALSE(path.isEmpty());
  // Log rotation: the file is moved away, then the station asked to reopen it.
  ASSERT_TRUE(QFile::rename(path, path + ".1"));
  rig.loop.RequestReopen();
  rig.Run(0.1);
  EXPECT_TRUE(rig.files.CurrentPath().isEmpty());
  EXPECT_TRUE(rig.events.contains("data file closed, to be opened again at the next sample"));
  rig.Run(2);
  EXPECT_EQ(rig.files.CurrentPath(), path);
  EXPECT_TRUE(QFileInfo(path).size() > 0);
  EXPECT_EQ(rig.view.samples, (std::vector<long long>{1, 1}));  // a new file, numbered afresh
}

}  // namespace
}  // namespace solardesk::station
