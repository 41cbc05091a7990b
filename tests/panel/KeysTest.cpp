#include <gtest/gtest.h>

#include <QTest>

#include "support/AppOnVirtualMeter.h"

namespace solardesk {
namespace {

using Bytes = std::vector<std::uint8_t>;

class KeysTest : public ::testing::Test {
 protected:
  void SetUp() override { rig.Connect(); }

  MeterFace& face() { return *rig.panel().face; }

  void Press(KeyId key, std::size_t label = 0, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(&face(), button, {}, face().labelCenter(key, label));
  }
  // A release away from the key still releases the key pressed.
  void Release(KeyId key, Qt::MouseButton button = Qt::LeftButton, bool away = false) {
    QTest::mouseRelease(&face(), button, {}, away ? QPoint(5, 5) : face().labelCenter(key, 0));
  }
  // A press held for `heldMs` on the manual clock.
  void Click(KeyId key, qint64 heldMs = 100) {
    Press(key);
    rig.clock.advanceMs(heldMs);
    Release(key);
  }
  void SetLoggerSets(std::size_t count) { rig.meter->sets.resize(count); }

  testing::AppOnVirtualMeter rig;
};

// A press over midnight counts as short, however long it was held.
TEST_F(KeysTest, MxMnAndMemSendTheirLongCodeFromTwoSeconds) {
  const struct {
    KeyId key;
    qint64 heldMs;
    std::uint8_t code;
    bool overMidnight;
  } cases[] = {
      {KeyId::MxMn, 1900, 0x03, false}, {KeyId::MxMn, 2000, 0x0D, false},
      {KeyId::MxMn, 7000, 0x0D, false}, {KeyId::Mem, 1900, 0x09, false},
      {KeyId::Mem, 2000, 0x0E, false},  {KeyId::Mem, 7000, 0x0E, false},
      {KeyId::Time, 7000, 0x01, false}, {KeyId::Hold, 2000, 0x02, false},
      {KeyId::MxMn, 5000, 0x03, true},  {KeyId::Mem, 5000, 0x09, true},
  };
  for (const auto& c : cases) {
    rig.meter->received.clear();
    if (c.overMidnight) rig.clock.set(QDateTime(QDate(2026, 12, 4), QTime(23, 59, 59, 500)));
    Click(c.key, c.heldMs);
    const auto sent = rig.Commands();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), (Bytes{0x00, 0x01, c.code}))
        << face().key(c.key).name.toStdString() << " held " << c.heldMs << " ms";
  }
}

TEST_F(KeysTest, MemSendsNothingFrom150SetsAndTheCapStillComesBack) {
  const std::pair<std::size_t, bool> cases[] = {{149, true}, {150, false}, {255, false}};
  for (const auto& [sets, sends] : cases) {
    SetLoggerSets(sets);
    rig.meter->received.clear();
    Press(KeyId::Mem);
    EXPECT_TRUE(rig.Commands().empty());  // the count is asked at the release
    EXPECT_EQ(face().key(KeyId::Mem).fill, QColor(Qt::white));
    Release(KeyId::Mem);
    std::vector<Bytes> expected{{0x00, 0x02, 0x06}};
    if (sends) expected.push_back({0x00, 0x01, 0x09});
    EXPECT_EQ(rig.Commands(), expected) << sets << " sets";
    EXPECT_EQ(rig.instrument().LoggerSetCount, sets);
    EXPECT_EQ(face().key(KeyId::Mem).fill, QColor(128, 128, 128));
    EXPECT_EQ(face().key(KeyId::Mem).border, QColor(128, 128, 128));
  }
}

// The timers are off while a code goes out, and both run after every release.
TEST_F(KeysTest, BothTimersRunAfterEveryReleaseWhateverTheyWereBefore) {
  auto& inst = rig.instrument();
  std::vector<std::pair<bool, bool>> seen;
  inst.link.onTraffic = [&](char direction, const Bytes&) {
    if (direction == '>') seen.emplace_back(inst.Timer1.isActive(), inst.Timer2.isActive());
  };
  Click(KeyId::Mem);
  Click(KeyId::Unit);
  EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>(3, {false, false})));
  SetLoggerSets(200);  // MEM takes its early way out
  for (KeyId key : {KeyId::OnOff, KeyId::MxMn, KeyId::Mem, KeyId::Down}) {
    for (int stopped = 0; stopped < 3; ++stopped) {
      Press(key);
      if (stopped != 1) inst.Timer1.stop();
      if (stopped != 0) inst.Timer2.stop();
      Release(key);
      EXPECT_TRUE(inst.Timer1.isActive()) << face().key(key).name.toStdString();
      EXPECT_TRUE(inst.Timer2.isActive()) << face().key(key).name.toStdString();
    }
  }
}

TEST_F(KeysTest, TheCapTurnsWhileHeldAndAnyButtonOnAnyLabelPressesTheKey) {
  for (int i = 0; i < kKeyCount; ++i) {
    const KeyId key = static_cast<KeyId>(i);
    const KeyCap before = face().key(key);
    for (std::size_t label = 0; label < before.labels.size(); ++label) {
      Press(key, label);
      const KeyCap& held = face().key(key);
      EXPECT_EQ(held.fill, QColor(Qt::white)) << before.labels[label].name.toStdString();
      // Single shapes keep their border; shape arrays turn white all over.
      EXPECT_EQ(held.border, before.isShapeArray() ? QColor(Qt::white) : before.border)
          << before.name.toStdString();
      EXPECT_EQ(rig.app.keys().SavedKeyColor, before.color);
      Release(key);
      EXPECT_EQ(face().key(key).fill, before.color) << before.name.toStdString();
      EXPECT_EQ(face().key(key).border, before.color) << before.name.toStdString();
    }
  }
  const struct {
    KeyId key;
    unsigned code;
  } plainKeys[] = {
      {KeyId::OnOff, 0x11}, {KeyId::Time, 0x01},  {KeyId::Hold, 0x02}, {KeyId::MxMn, 0x03},
      {KeyId::Set, 0x04},   {KeyId::Power, 0x05}, {KeyId::Unit, 0x06}, {KeyId::Enter, 0x07},
      {KeyId::Zero, 0x08},  {KeyId::Up, 0x0A},    {KeyId::Read, 0x0C}, {KeyId::Down, 0x0B},
  };
  for (const auto& c : plainKeys) {
    const std::size_t labels = face().key(c.key).labels.size();
    for (std::size_t label = 0; label < labels; ++label) {
      for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        rig.meter->received.clear();
        Press(c.key, label, button);
        EXPECT_TRUE(rig.Commands().empty());  // the code goes out at the release only
        Release(c.key, button, true);
        EXPECT_EQ(rig.Commands(),
                  (std::vector<Bytes>{{0x00, 0x01, static_cast<std::uint8_t>(c.code)}}))
            << face().key(c.key).labels[label].name.toStdString() << " button " << button;
      }
    }
  }
  // A key carries the parameters the last command left in the slots.
  rig.instrument().byteSlots.setParameters(3, {0x0C, 3, 4, 5, 6, 7, 0x0C, 3, 5, 0, 0, 0});
  Click(KeyId::Hold);
  EXPECT_EQ(rig.Commands(15).back(),
            (Bytes{0x00, 0x01, 0x02, 0x0C, 3, 4, 5, 6, 7, 0x0C, 3, 5, 0, 0, 0}));
}

TEST_F(KeysTest, MemDecidesOnTheLastAnswerWhenTheCountQueryFailsAndNoMeterFlashesTheKey) {
  // A silent meter: the set-count query times out and byte 1 of the last answer decides.
  SetLoggerSets(2);
  Click(KeyId::Mem);  // the count answer (2) is now the last input report
  rig.port.silent = true;
  rig.meter->received.clear();
  Click(KeyId::Mem);
  EXPECT_EQ(rig.instrument().LoggerSetCount, 2);
  // The time-out dropped the connection, so the key code only searched for the meter.
  EXPECT_EQ(rig.Commands(), (std::vector<Bytes>{{0x00, 0x02, 0x06}}));

  // With the meter unplugged a press flashes and sends nothing.
  rig.port.silent = false;
  rig.port.present = false;
  rig.meter->received.clear();
  Press(KeyId::Power);
  EXPECT_EQ(face().key(KeyId::Power).fill, QColor(Qt::white));
  Release(KeyId::Power);
  EXPECT_TRUE(rig.meter->received.empty());
  EXPECT_EQ(face().key(KeyId::Power).fill, QColor(255, 128, 0));
  EXPECT_TRUE(rig.TimersRunning());
}

}  // namespace
}  // namespace solardesk
