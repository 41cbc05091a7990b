#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>

#include "FakeMqtt.h"
#include "core/Clock.h"
#include "station/AckedRecords.h"
#include "station/MqttPublisher.h"
#include "station/Station.h"
#include "support/FileBytes.h"

namespace solardesk::station {
namespace {

const QString kState = QStringLiteral("site/roof-42/state");

// A station writing day files into a folder of its own and publishing through a fake broker,
// the publisher turned by hand on a manual clock. Restart() is the program started again; the
// state file is kept as the last save left it, as after SIGKILL.
struct BacklogRig {
  QTemporaryDir dir;
  ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0))};
  FakeBroker broker;
  QStringList events;
  int perSecond = 500;
  std::unique_ptr<DayFiles> files;
  std::unique_ptr<MqttPublisher> publisher;
  std::unique_ptr<Station> station;

  BacklogRig() { Start(); }
  void Start() {
    const auto sink = [this](const QString& e) { events << e; };
    publisher = std::make_unique<MqttPublisher>(
        MqttSettings{{{false, {}, "127.0.0.1", 1883, "site"}, {}, {}},
                     {"site", "roof", "roof-42", 1},
                     PublishQueue::kDefaultCapacity,
                     dir.path(),
                     perSecond},
        sink, clock, std::make_unique<FakeClient>(broker));
    files = std::make_unique<DayFiles>(dir.path(), sink);
    station =
        std::make_unique<Station>(*files, sink, [this](const Sample& s) { publisher->Publish(s); });
  }
  void Kill() {
    const QString path = dir.filePath(AckedRecords::kFileName);
    const QByteArray saved = testing::ReadBytes(path);
    station.reset();
    files->Close();
    publisher.reset();
    if (saved.isEmpty()) {
      QFile::remove(path);
    } else {
      testing::WriteBytes(path, saved);
    }
  }
  // `n` samples a second apart, the publisher turned every 50 ms as its thread does.
  void Samples(int n) {
    for (int i = 0; i < n; ++i) {
      station->Take(clock.now(), {MeterState::Answering, QStringLiteral("1.5"), "W/(M)2"});
      for (int t = 0; t < 20; ++t) {
        publisher->Turn(0);
        clock.advanceMs(50);
      }
    }
  }
  void Turns(int n) {
    for (int i = 0; i < n; ++i) publisher->Turn(0);
  }
  std::vector<int> Records() const { return broker.Records(kState); }
  QByteArray StateFile() const { return testing::ReadBytes(dir.filePath(AckedRecords::kFileName)); }
};

TEST(Backlog, AnOutageIsReadBackFromTheFilesInOrderWhileNewSamplesGoOutAtOnce) {
  BacklogRig rig;
  rig.perSecond = 100;
  rig.Start();
  rig.Samples(3);
  rig.broker.drop = "connection lost: the broker closed the connection";
  rig.broker.refuse = "not reachable: Connection refused";
  rig.Samples(1000);  // records 4 to 1003, none held in memory
  EXPECT_EQ(rig.Records(), Range(1, 3));
  EXPECT_EQ(rig.publisher->Waiting(), 1000u);
  rig.broker.refuse.reset();
  rig.clock.advanceMs(60000);
  rig.Turns(50);
  // A second's worth read back, no more, however often the publisher turns.
  const std::vector<int> first = rig.Records();
  EXPECT_EQ(first, Range(1, 103));
  EXPECT_TRUE(rig.events.contains("sending 1000 samples from the day files, at most 100 a second"));
  // A new sample goes out at its turn, before the rest of the outage.
  rig.Samples(1);
  EXPECT_EQ(rig.Records().at(103), 1004);
  for (int s = 0; s < 12; ++s) rig.Samples(1);
  // Every record once; the outage's in order among the new ones.
  std::vector<int> got = rig.Records();
  std::vector<int> outage;
  std::copy_if(got.begin(), got.end(), std::back_inserter(outage), [](int r) { return r <= 1003; });
  EXPECT_EQ(outage, Range(1, 1003));
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, Range(1, 1016));
  EXPECT_EQ(rig.publisher->Waiting(), 0u);
  EXPECT_TRUE(rig.events.contains("every sample of the day files sent"));
}

TEST(Backlog, ARestartSendsWhatTheStateFileLacksWhateverOrderTheAcknowledgementsCameIn) {
  BacklogRig rig;
  rig.broker.acknowledgesBackwards = true;
  rig.broker.withholds = [](const OutgoingMessage& m) { return m.source.record == 6; };
  rig.Samples(10);
  rig.Turns(1);
  rig.broker.acknowledges = false;
  rig.Samples(2);  // 11 and 12 never acknowledged
  rig.broker.drop = "connection lost: the broker closed the connection";
  rig.broker.refuse = "not reachable: Connection refused";
  rig.Turns(1);  // the state is saved as the connection ends
  EXPECT_EQ(rig.StateFile(), "2026-12-06.pvd 1-5 7-10\n");
  rig.Samples(3);  // 13 to 15 in the file alone
  rig.Kill();
  rig.clock.advanceMs(5000);
  rig.broker = FakeBroker();
  rig.Start();
  rig.Samples(2);  // 16 and 17, live
  rig.Turns(1);
  EXPECT_EQ(rig.broker.Records(kState), (std::vector<int>{6, 11, 12, 13, 14, 15, 16, 17}));
  rig.publisher->Stop(0);  // a clean stop saves the state
  EXPECT_EQ(rig.StateFile(), "2026-12-06.pvd 1-17\n");
}

TEST(Backlog, WithoutAStateFileTheStationStartsFromThePresent) {
  BacklogRig rig;
  rig.broker.refuse = "not reachable: Connection refused";
  rig.Samples(20);  // an old folder: records 1 to 20 of the day, never published
  rig.Kill();
  QFile::remove(rig.dir.filePath(AckedRecords::kFileName));
  rig.Start();
  rig.Samples(3);  // 21 to 23 while the broker is away
  EXPECT_EQ(rig.StateFile(), "2026-12-06.pvd 1-20\n");
  EXPECT_EQ(rig.publisher->Waiting(), 3u);
  rig.broker.refuse.reset();
  rig.clock.advanceMs(60000);
  rig.Samples(2);
  EXPECT_EQ(rig.Records(), Range(21, 25));
}

TEST(Backlog, AnOutageOverMidnightIsReadBackFromBothDays) {
  BacklogRig rig;
  rig.clock.set(QDateTime(QDate(2026, 12, 6), QTime(23, 59, 50)));
  rig.Samples(2);
  rig.broker.drop = "connection lost: the broker closed the connection";
  rig.broker.refuse = "not reachable: Connection refused";
  rig.Samples(20);  // 3 to 10 of the 6th, 1 to 12 of the 7th
  rig.broker.refuse.reset();
  rig.clock.advanceMs(60000);
  rig.Samples(1);
  rig.Turns(2);
  std::vector<int> want = Range(1, 10);
  for (int r : Range(1, 13)) want.push_back(r);
  EXPECT_EQ(rig.Records(), want);
  EXPECT_EQ(rig.publisher->Waiting(), 0u);
  rig.publisher->Stop(0);
  // The 6th was sent whole: only the day being written is named.
  EXPECT_EQ(rig.StateFile(), "2026-12-07.pvd 1-13\n");
}

TEST(Backlog, AStateFileItCannotUseCountsAsNone) {
  // Damaged lines are passed over; a file naming no day file is no state at all.
  const std::pair<const char*, const char*> cases[] = {
      {"2026-12-06.pvd 1-5 9-7 x-3 7-8\nnotes.txt 1-9\n", "2026-12-06.pvd 1-5 7-8\n"},
      {"garbage\n\x01\x02", nullptr},
      {"", nullptr},
  };
  for (const auto& [text, kept] : cases) {
    QTemporaryDir dir;
    const QString path = dir.filePath("state");
    testing::WriteBytes(path, text);
    AckedRecords acked;
    EXPECT_EQ(acked.Load(path), kept != nullptr) << text;
    if (!kept) continue;
    QString why;
    ASSERT_TRUE(acked.Save(path, &why)) << why.toStdString();
    EXPECT_EQ(testing::ReadBytes(path), kept);
    EXPECT_FALSE(QFile::exists(path + ".tmp"));
  }
}

}  // namespace
}  // namespace solardesk::station
