#include <gtest/gtest.h>

#include <QStringList>

#include "FakeMqtt.h"
#include "core/Clock.h"
#include "station/BrokerWatch.h"
#include "station/MqttPublisher.h"

namespace solardesk::station {
namespace {

// A publisher on a fake broker, turned by hand on a clock that stands still, with what it said.
struct PublisherRig {
  ManualClock clock;
  FakeBroker broker;
  QStringList events;
  MqttPublisher publisher;
  explicit PublisherRig(std::size_t capacity = 1000)
      : publisher(
            {{{false, {}, "127.0.0.1", 1883, "site"}, {}, {}},
             {"site", "roof", "roof-42", 10},
             capacity,
             {}},
            [this](const QString& e) { events << e; }, clock,
            std::make_unique<FakeClient>(broker)) {}
  void Publish(int from, int to) {
    for (int i = from; i <= to; ++i)
      publisher.Publish({clock.now(), QString::number(i), "W/(M)2", i, {}});
  }
  // The record numbers of the samples handed over.
  std::vector<int> Records() const { return broker.Records("site/roof-42/state"); }
  void Turns(int n) {
    for (int i = 0; i < n; ++i) publisher.Turn(0);
  }
};

TEST(MqttPublisher, AnnouncesThenSendsInOrderNeverMoreThanTheWindowUnacknowledged) {
  PublisherRig rig;
  rig.broker.acknowledges = false;
  rig.publisher.SetUnit("W/(M)2");
  rig.Publish(1, 30);
  rig.Turns(3);
  ASSERT_GE(rig.broker.got.size(), 3u);
  EXPECT_EQ(rig.broker.got[0].topic, "site/roof-42/availability");
  EXPECT_EQ(rig.broker.got[0].payload, "online");
  EXPECT_TRUE(rig.broker.got[0].retain);
  EXPECT_EQ(rig.broker.got[1].topic, "site/roof-42/meter/availability");
  EXPECT_EQ(rig.broker.got[2].topic.section('/', 0, 1), "homeassistant/sensor");
  EXPECT_EQ(rig.broker.got.size(), std::size_t(MqttPublisher::kWindow));
  EXPECT_EQ(rig.publisher.Waiting(), 30u + 3u);
  rig.broker.acknowledges = true;
  rig.Turns(3);
  EXPECT_EQ(rig.Records(), Range(1, 30));
  rig.Turns(1);
  EXPECT_EQ(rig.publisher.Waiting(), 0u);
  EXPECT_EQ(rig.events, QStringList{"broker 127.0.0.1:1883 connected"});
}

TEST(MqttPublisher, ABrokerAwayAtStartIsTriedAgainWithBackOffAndReachedLater) {
  PublisherRig rig;
  rig.broker.refuse = "not reachable: Connection refused";
  rig.Publish(1, 5);
  // Tried at 0 s, then 1, 2, 4, 8, ... s after each failure, never more than 60 s apart.
  std::vector<int> attemptsAt;
  for (int s = 0; s <= 300; ++s) {
    const int before = rig.broker.attempts;
    rig.Turns(2);
    if (rig.broker.attempts > before) attemptsAt.push_back(s);
    rig.clock.advanceMs(1000);
  }
  EXPECT_EQ(attemptsAt, (std::vector<int>{0, 1, 3, 7, 15, 31, 63, 123, 183, 243}));
  rig.broker.refuse.reset();
  rig.clock.advanceMs(60000);
  rig.Turns(2);
  EXPECT_EQ(rig.Records(), Range(1, 5));
  EXPECT_EQ(rig.events,
            (QStringList{"broker 127.0.0.1:1883: not reachable: Connection refused; samples wait "
                         "for it",
                         "broker 127.0.0.1:1883 connected after 6 min unreachable; 5 samples "
                         "waiting"}));
}

TEST(MqttPublisher, ABrokerThatNeverAnswersIsGivenUpAndTriedAgain) {
  PublisherRig rig;
  rig.broker.answers = false;
  rig.Turns(3);
  rig.clock.advanceMs(MqttPublisher::kAnswerSeconds * 1000 - 1);
  rig.Turns(3);
  EXPECT_EQ(rig.broker.attempts, 1);
  EXPECT_TRUE(rig.events.isEmpty());
  rig.clock.advanceMs(1);
  rig.Turns(1);
  EXPECT_EQ(rig.broker.disconnects, 1);
  EXPECT_EQ(rig.events, QStringList{"broker 127.0.0.1:1883: no answer within 10 s; samples wait "
                                    "for it"});
  rig.clock.advanceMs(1000);
  rig.broker.answers = true;
  rig.Turns(2);
  EXPECT_EQ(rig.broker.attempts, 2);
  EXPECT_TRUE(rig.events.last().startsWith("broker 127.0.0.1:1883 connected after 1 s"));
}

TEST(MqttPublisher, ALostConnectionIsAnnouncedAgainAndLosesNothingItHeld) {
  PublisherRig rig;
  rig.publisher.SetUnit("W/(M)2");
  rig.publisher.SetMeterOnline(false);
  rig.Publish(1, 3);
  rig.Turns(2);
  rig.broker.drop = "connection lost: the broker closed the connection";
  rig.Turns(1);
  rig.Publish(4, 6);
  rig.Turns(1);  // not yet: a second after the failure
  EXPECT_EQ(rig.Records(), Range(1, 3));
  rig.clock.advanceMs(1000);
  rig.publisher.SetMeterOnline(true);
  rig.Turns(2);
  EXPECT_EQ(rig.Records(), Range(1, 6));
  // Each connection says again that the station is online, what the meter does and its config.
  EXPECT_EQ(rig.broker.On("site/roof-42/availability"), (QStringList{"online", "online"}));
  EXPECT_EQ(rig.broker.On("site/roof-42/meter/availability"), (QStringList{"offline", "online"}));
  EXPECT_EQ(rig.broker.On(StationTopics{"site", "roof", "roof-42", 10}.Discovery()).size(), 2);
  EXPECT_EQ(rig.events.filter("samples wait for it").size(), 1);
}

TEST(MqttPublisher, AFullQueueDropsTheOldestAndSaysSoOnceEachWay) {
  PublisherRig rig(3);
  rig.broker.refuse = "not reachable: Connection refused";
  rig.Publish(1, 5);
  rig.Turns(2);
  rig.Publish(6, 7);
  rig.Turns(2);
  rig.broker.refuse.reset();
  rig.clock.advanceMs(1000);
  rig.Turns(2);
  EXPECT_EQ(rig.Records(), Range(5, 7));
  EXPECT_EQ(rig.events.filter("MQTT queue full (3 samples)").size(), 1);
  EXPECT_TRUE(
      rig.events.contains("4 samples dropped from the MQTT queue while the broker was away"));
}

TEST(MqttPublisher, ACleanStopSaysOfflineAndCountsWhatWasNotSent) {
  PublisherRig connected;
  connected.Turns(1);
  connected.publisher.Stop(0);
  EXPECT_EQ(connected.broker.On("site/roof-42/availability"), (QStringList{"online", "offline"}));
  EXPECT_EQ(connected.broker.disconnects, 1);

  PublisherRig away;
  away.broker.refuse = "not reachable: Connection refused";
  away.Publish(1, 4);
  away.Turns(1);
  away.publisher.Stop(0);
  EXPECT_TRUE(away.broker.got.empty());
  EXPECT_EQ(away.events.last(), "4 samples not sent to the broker");
}

// A watch on a clock of the test's own, with what it said.
struct WatchRig {
  ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0))};
  QStringList events;
  BrokerWatch watch{"b:1883", clock, [this](const QString& e) { events << e; }};
  // Seconds until the next attempt is due after a failure now.
  int Backoff(const QString& reason = "down") {
    watch.Failed(reason);
    int s = 0;
    while (!watch.AttemptDue() && s < 1000) {
      clock.advanceMs(1000);
      ++s;
    }
    return s;
  }
};

TEST(BrokerWatch, BacksOffUpToAMinuteAndStartsAgainAfterAGoodConnection) {
  WatchRig rig;
  std::vector<int> waits;
  for (int i = 0; i < 8; ++i) waits.push_back(rig.Backoff());
  EXPECT_EQ(waits, (std::vector<int>{1, 2, 4, 8, 16, 32, 60, 60}));
  // A connection that breaks at once is no good one: the back-off goes on growing.
  rig.watch.Connected(0);
  rig.clock.advanceMs(5000);
  EXPECT_EQ(rig.Backoff(), 60);
  rig.watch.Connected(0);
  rig.clock.advanceMs(BrokerWatch::kStableSeconds * 1000);
  EXPECT_EQ(rig.Backoff(), 1);
  // A clock set back does not keep the station from the broker.
  rig.watch.Failed("down");
  rig.clock.advanceMs(-3600 * 1000);
  EXPECT_TRUE(rig.watch.AttemptDue());
}

TEST(BrokerWatch, SaysAnOutageOnceWithAReminderEveryQuarterOfAnHour) {
  WatchRig rig;
  rig.watch.Connected(0);
  rig.watch.Failed("connection lost: the broker closed the connection");
  for (int s = 1; s <= 31 * 60; ++s) {
    rig.clock.advanceMs(1000);
    if (s % 60 == 0)
      rig.watch.Failed(s < 20 * 60 ? "not reachable: Connection refused"
                                   : "refused the login: not authorised");
    rig.watch.Remind(static_cast<std::size_t>(s));
  }
  rig.watch.Connected(1900);
  EXPECT_EQ(rig.events,
            (QStringList{
                "broker b:1883 connected",
                "broker b:1883: connection lost: the broker closed the connection; samples wait "
                "for it",
                "broker b:1883: not reachable: Connection refused",
                "broker b:1883 unreachable for 15 min, 900 samples waiting",
                "broker b:1883: refused the login: not authorised",
                "broker b:1883 unreachable for 30 min, 1800 samples waiting",
                "broker b:1883 connected after 31 min unreachable; 1900 samples waiting",
            }));
  const std::pair<long long, const char*> spans[] = {
      {0, "0 s"}, {119, "119 s"}, {120, "2 min"}, {7199, "119 min"}, {7200, "2 h"}};
  for (const auto& [seconds, text] : spans) EXPECT_EQ(SpanText(seconds), text) << seconds;
}

}  // namespace
}  // namespace solardesk::station
