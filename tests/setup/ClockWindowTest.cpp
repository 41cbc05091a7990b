#include <gtest/gtest.h>

#include <QTest>

#include "support/AppOnVirtualMeter.h"

namespace solardesk {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ClockWindowTest : public ::testing::Test, public testing::AppOnVirtualMeter {
 protected:
  void SetUp() override {
    Connect();
    clock.set(QDateTime(QDate(2026, 12, 4), QTime(23, 59, 58)));
  }

  // Clicks "RTC" and works the modal window with `steps` while it is open.
  void WithClockWindow(const std::function<void(RTC&)>& steps) {
    bool ran = false;
    app.setup().runClockWindow = [&](RTC& w) {
      ran = true;
      w.show();  // shown as exec() would show it, but without its own event loop
      steps(w);
    };
    panel().clickToolbar(QStringLiteral("RTC"));
    EXPECT_TRUE(ran);
  }
};

TEST_F(ClockWindowTest, OpensModalWithBothDisplaysOffAndShowsThePcClockWhenSwitchedOn) {
  panel().move(100, 50);
  WithClockWindow([&](RTC& w) {
    EXPECT_EQ(QStringList({w.windowTitle(), w.FrameTime->title(), w.CmdSetTime->text()}),
              QStringList({"Setup", "Time", "Set Meter Time To System Time"}));
    EXPECT_TRUE(w.isModal());
    EXPECT_TRUE(w.Timer1.isActive());
    EXPECT_EQ(w.Timer1.interval(), 350);
    // Centred over the main window, 1000 twips below its top.
    const QRect main = panel().frameGeometry();
    EXPECT_NEAR(w.frameGeometry().center().x(), main.center().x(), 1);
    EXPECT_EQ(w.frameGeometry().top() - main.top(),
              qRound(1000.0 * panel().logicalDpiY() / 1440.0));
    w.Timer1Tick();
    EXPECT_EQ(w.LblMeterTime->text(), "Meter Time");
    EXPECT_EQ(w.LblPCTime->text(), "PC System Time");
    EXPECT_TRUE(Commands().empty());

    // The PC clock shows when switched on, and does not touch polling.
    QTest::mouseClick(w.LblPCTime, Qt::LeftButton);
    w.Timer1Tick();
    EXPECT_EQ(w.LblPCTime->text(), "26/12/04 23:59:58");
    EXPECT_EQ(w.LblMeterTime->text(), "Meter Time");
    EXPECT_TRUE(instrument().Timer1.isActive());
    clock.advanceMs(2000);
    w.Timer1Tick();
    EXPECT_EQ(w.LblPCTime->text(), "26/12/05 00:00:00");
    w.LblPCTimeClick();
    w.Timer1Tick();
    EXPECT_EQ(w.LblPCTime->text(), "PC System Time");
  });
}

// Closed by Exit or by its close box, the window lets polling run again.
TEST_F(ClockWindowTest, MeterClockShownAndPollingHeldOffUntilTheWindowCloses) {
  meter->SetClock(QDateTime(QDate(2026, 12, 4), QTime(23, 59, 58)));
  for (const bool closeBox : {false, true}) {
    meter->received.clear();
    WithClockWindow([&](RTC& w) {
      QTest::mouseClick(w.LblMeterTime, Qt::LeftButton);
      w.Timer1Tick();
      EXPECT_EQ(w.LblMeterTime->text(), "26/12/04 23:59:58");
      EXPECT_EQ(Commands(), (std::vector<Bytes>{{0x00, 0x02, 0x03}}));
      EXPECT_FALSE(instrument().Timer1.isActive());
      EXPECT_TRUE(instrument().Timer2.isActive());  // recording goes on

      QTest::mouseClick(w.LblMeterTime, Qt::LeftButton);
      instrument().Timer1.start();  // whatever turns polling on meanwhile, the window holds it off
      w.Timer1Tick();
      EXPECT_EQ(w.LblMeterTime->text(), "Meter Time");
      EXPECT_FALSE(instrument().Timer1.isActive());
      EXPECT_EQ(Commands().size(), 1u);
      if (closeBox) {
        w.close();
      } else {
        QTest::mouseClick(w.CmdExit, Qt::LeftButton);
      }
      EXPECT_FALSE(w.Timer1.isActive());
    });
    EXPECT_TRUE(instrument().Timer1.isActive()) << closeBox;
  }
}

// A meter that answered once and then falls silent, or is unplugged: no earlier report is shown
// as the meter's time; the message tells a silent meter from an absent one, once, and the meter
// clock goes back off.
TEST_F(ClockWindowTest, AnUnansweredClockReadSaysWhyAndShowsNoTime) {
  const std::pair<bool, const char*> cases[] = {{true, "The meter is not answering."},
                                                {false, "The meter is not connected."}};
  for (const auto& [silent, said] : cases) {
    SCOPED_TRACE(said);
    port.silent = silent;
    port.present = silent;
    dialogs.shown.clear();
    WithClockWindow([&, said = said](RTC& w) {
      w.LblMeterTimeClick();
      w.Timer1Tick();
      EXPECT_EQ(w.LblMeterTime->text(), "Meter Time");
      ASSERT_EQ(dialogs.of("message").size(), 1u);
      EXPECT_EQ(dialogs.of("message")[0].text, said);
      EXPECT_EQ(dialogs.of("message")[0].owner, &w);
      EXPECT_FALSE(w.ShowMeterTime);
      EXPECT_TRUE(w.Timer1.isActive());
      w.Timer1Tick();
      EXPECT_EQ(dialogs.of("message").size(), 1u);
    });
  }
}

TEST_F(ClockWindowTest, SetMeterTimeSendsPlainNumbers) {
  instrument().Timer2.stop();
  WithClockWindow([&](RTC& w) {
    QTest::mouseClick(w.CmdSetTime, Qt::LeftButton);
    const QStringList slotTexts = {"1A", "C", "4", "17", "3B", "3A"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(instrument().byteSlots.text(3 + i), slotTexts[i]);
    EXPECT_EQ(Commands(9),
              (std::vector<Bytes>{{0x00, 0x01, 0x12, 0x1A, 0x0C, 0x04, 0x17, 0x3B, 0x3A}}));
    EXPECT_TRUE(w.Timer1.isActive());
    EXPECT_FALSE(instrument().Timer2.isActive());  // the main timers are left alone

    // The meter took the time: the next read shows it.
    clock.advanceMs(1000);
    w.LblMeterTimeClick();
    w.Timer1Tick();
    EXPECT_EQ(w.LblMeterTime->text(), "26/12/04 23:59:59");
  });
}

// With both clocks on, each time keeps a caption beside it that says whose it is, and the
// times are shown whole.
TEST_F(ClockWindowTest, BothClocksRunningKeepTheirCaptions) {
  meter->SetClock(QDateTime(QDate(2026, 12, 4), QTime(23, 59, 58)));
  WithClockWindow([&](RTC& w) {
    w.LblMeterTimeClick();
    w.LblPCTimeClick();
    w.Timer1Tick();
    const std::pair<QLabel*, const char*> clocks[] = {{w.LblMeterTime, "Meter:"},
                                                      {w.LblPCTime, "PC:"}};
    for (const auto& [clockLabel, caption] : clocks) {
      EXPECT_EQ(clockLabel->text(), "26/12/04 23:59:58");
      const auto* row = w.findChild<QLabel*>(clockLabel->objectName() + "Caption");
      ASSERT_NE(row, nullptr) << caption;
      EXPECT_EQ(row->text(), caption);
      EXPECT_TRUE(row->isVisible());
      // Left of its clock, on the same line, not overlapping it.
      EXPECT_LE(row->geometry().right(), clockLabel->geometry().left());
      EXPECT_EQ(row->geometry().center().y(), clockLabel->geometry().center().y());
      EXPECT_LE(clockLabel->fontMetrics().horizontalAdvance(clockLabel->text()),
                clockLabel->contentsRect().width());
      EXPECT_TRUE(w.rect().contains(row->mapTo(&w, row->rect().bottomRight())));
    }
  });
}

}  // namespace
}  // namespace solardesk
