#include <gtest/gtest.h>

#include <QAction>

#include "recording/logic/SecondTicker.h"
#include "support/AppOnVirtualMeter.h"

namespace solardesk {
namespace {

// The whole program on the virtual bus; the tests drive Timer1's ticks by hand.
class PanelWindowTest : public ::testing::Test {
 protected:
  PanelWindowTest() {
    meter->SetFixedReading("98.76");
    Panel().onEnd = [this] { ++ended; };
  }
  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) Panel().Timer1Tick();
  }
  PanelWindow& Panel() { return rig.panel(); }
  const PubMeter& Published() { return rig.instrument().meter; }
  MeterFace& Face() { return *Panel().face; }

  testing::AppOnVirtualMeter rig;
  std::shared_ptr<sim::VirtualMeter>& meter = rig.meter;
  sim::VirtualPort& port = rig.port;
  int ended = 0;
};

TEST_F(PanelWindowTest, LoadFillsTheFieldAndByteSlotLists) {
  // The reservation's start and end: year, month, day, hour, minute, second, each from..to.
  const std::pair<int, int> res[] = {{0, 99}, {1, 12}, {1, 31}, {0, 23}, {0, 59}, {0, 59}};
  for (int i = 0; i < 12; ++i) {
    const QComboBox* box = Panel().ComboRes[i];
    const auto [first, last] = res[i % 6];
    EXPECT_EQ(QStringList({QString::number(box->count()), box->itemText(0),
                           box->itemText(box->count() - 1)}),
              QStringList({QString::number(last - first + 1), QString::asprintf("%02d", first),
                           QString::asprintf("%02d", last)}))
        << i;
  }
  const int cyc[] = {24, 60, 60, 24, 60, 60};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(Panel().ComboCyc[k]->count(), cyc[k]) << k;
  for (int i = 0; i <= 7; ++i) {
    EXPECT_EQ(Panel().CboByte[i]->count(), 256) << i;
    EXPECT_EQ(Panel().CboByte[i]->itemText(255), "FF");
  }
  for (int i = 8; i < 15; ++i) EXPECT_EQ(Panel().CboByte[i]->count(), 0) << i;
  EXPECT_FALSE(Panel().tmrDelay.isActive());
  EXPECT_FALSE(Panel().tmrContinuousDataCollect.isActive());
  EXPECT_EQ(Panel().tmrContinuousDataCollect.interval(), 1000);
  // The byte slots and their boxes stay together.
  Panel().CboByte[3]->setEditText("1A");
  EXPECT_EQ(rig.instrument().byteSlots.text(3), "1A");
  rig.instrument().byteSlots.setCommand(1, 0x13);
  EXPECT_EQ(Panel().CboByte[2]->currentText(), "13");
  EXPECT_EQ(Panel().CboByte[1]->currentText(), "1");
}

TEST_F(PanelWindowTest, DesignSizeHidesTheTestControlsAndSearchesReadTheVendorBox) {
  EXPECT_EQ(Panel().windowTitle(), "Panel   V8.01");
  EXPECT_EQ(Panel().size(), QSize(367, 662));  // the picture and the status line below it
  const QRect visible(0, 0, 367, 642);
  for (QWidget* w : std::initializer_list<QWidget*>{
           Panel().CboByte[0], Panel().CboByte[14], Panel().CmdWrite, Panel().CmdWnR, Panel().Read,
           Panel().CmdClr, Panel().lstResults, Panel().TxtVid, Panel().TxtPid}) {
    EXPECT_GE(w->geometry().left(), 856) << w->objectName().toStdString();
    EXPECT_FALSE(visible.intersects(w->geometry()));
  }
  EXPECT_FALSE(Panel().PicSetup->isVisible());
  EXPECT_EQ(Panel().TxtVid->text(), "483");
  EXPECT_EQ(Panel().TxtPid->text(), "5750");
  Panel().TxtVid->setText("484");
  Panel().Timer1Tick();
  EXPECT_EQ(Panel().face->nameCaption(), " No Connection");
  Panel().TxtVid->setText("483");
  Panel().Timer1Tick();
  EXPECT_EQ(Panel().face->nameCaption(), "SOLAR POWER METER");
}

// The columns of the picture where an annunciator alone leaves ink on the glass.
QRect InkOf(Ann lit) {
  MeterFace face;
  DisplayFlags flags;
  face.setDisplay(flags);
  const QImage glass = face.grab().toImage();
  flags.annunciators[static_cast<std::size_t>(lit)] = true;
  face.setDisplay(flags);
  const QImage shown = face.grab().toImage();
  QRect ink;
  for (int y = 190; y < 235; ++y) {
    for (int x = 150; x < 300; ++x) {
      const QColor a = glass.pixelColor(x, y);
      const QColor b = shown.pixelColor(x, y);
      if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) > 60)
        ink |= QRect(x, y, 1, 1);
    }
  }
  return ink;
}

// The Btu unit reads "Btu/(ft²·h)": its glyphs stand left to right in that order, the slash
// apart from the parenthesis, "ft" and "²" inside the parentheses with "·h" after them.
TEST(MeterFaceUnit, BtuGlyphsReadInOrderWithoutMerging) {
  const QRect btu = InkOf(Ann::LblBtu);
  const QRect slash = InkOf(Ann::LblBtuSlash);
  const QRect parentheses = InkOf(Ann::LblSquare);
  const QRect ft = InkOf(Ann::Imaft);
  const QRect square = InkOf(Ann::ImaH3);
  for (const QRect& r : {btu, slash, parentheses, ft, square}) ASSERT_FALSE(r.isEmpty());
  EXPECT_LT(btu.right(), slash.left());
  EXPECT_LT(slash.right(), parentheses.left());
  EXPECT_LT(parentheses.left(), ft.left());
  EXPECT_LT(ft.right(), square.left());
  EXPECT_LT(square.top(), ft.top());                    // raised
  EXPECT_GT(parentheses.right(), square.right() + 12);  // "·h)" after the square
}

// The Save key's tip while recording is the toolbar's recording test.
TEST_F(PanelWindowTest, ToolbarHasNineKeyedButtonsInOrderEachFirstHidingTheSetupPanels) {
  const QStringList keys = {"Save", "Open", "Interval", "List", "Graph",
                            "RTC",  "Set",  "Logger",   "Erase"};
  const QStringList tips = {"Save As",         "Open File to Read", "Sampling Rate", "List Display",
                            "Graphic Display", "Real Time Clock",   "Set up",        "Memory",
                            "Erase Memory"};
  const auto actions = Panel().Toolbar1->actions();
  ASSERT_EQ(actions.size(), 9);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(actions[i]->objectName(), keys[i]);
    EXPECT_EQ(actions[i]->toolTip(), tips[i]);
  }
  Panel().show();
  QStringList ran;
  Panel().setToolbarCommand("List", [&] { ran << "List"; });
  Panel().setToolbarCommand("Set", [] {});  // only the steps before the command are looked at
  Panel().PicSetup->show();
  Panel().PicReservation->show();
  Panel().clickToolbar("Set");
  EXPECT_FALSE(Panel().PicReservation->isVisible());
  EXPECT_TRUE(Panel().PicSetup->isVisible());  // "Set" itself decides about the chooser
  Panel().PicCycling->show();
  Panel().clickToolbar("List");
  EXPECT_FALSE(Panel().PicSetup->isVisible());
  EXPECT_FALSE(Panel().PicCycling->isVisible());
  EXPECT_EQ(ran, QStringList{"List"});
  Panel().clickToolbar("NoSuchKey");  // does nothing else
  EXPECT_EQ(ran, QStringList{"List"});
}

TEST_F(PanelWindowTest, ClosingEndsTheProgramAndClosesTheDevice) {
  Panel().show();
  Panel().Timer1Tick();
  ASSERT_EQ(port.openHandles, 1);
  QWidget other;  // another window of the program stays open
  other.show();
  Panel().close();
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(port.openHandles, 0);
  EXPECT_FALSE(rig.instrument().Timer1.isActive());
  EXPECT_FALSE(rig.instrument().Timer2.isActive());
}

TEST_F(PanelWindowTest, ClosingWithoutEverFindingAMeterIsHarmless) {
  port.present = false;
  Panel().close();
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(port.opens, 0);
}

TEST_F(PanelWindowTest, NothingTalksBeforeTheFirstTickThenTheLiveMeterIsMirrored) {
  EXPECT_EQ(rig.bus.enumerations, 0);
  EXPECT_TRUE(meter->received.empty());
  EXPECT_TRUE(rig.TimersRunning());
  EXPECT_EQ(rig.instrument().Timer1.interval(), 100);
  // The clock stands on a whole second: the recording tick is aimed just after the next one.
  EXPECT_EQ(rig.instrument().Timer2.timerType(), Qt::PreciseTimer);
  EXPECT_EQ(rig.instrument().Timer2.interval(), 1000 + SecondTicker::kMarginMs);
  Panel().lstResults->addItem("left over");
  Tick();
  EXPECT_EQ(Panel().lstResults->count(), 0);
  ASSERT_EQ(meter->received.size(), 1u);
  EXPECT_EQ(std::vector<std::uint8_t>(meter->received[0].begin(), meter->received[0].begin() + 3),
            (std::vector<std::uint8_t>{0, 2, 1}));
  EXPECT_EQ(Published().ReadingText, "98.76");
  EXPECT_EQ(Published().ReadingUnit, "W/(M)2");
  EXPECT_EQ(Face().nameCaption(), "SOLAR POWER METER");
  EXPECT_TRUE(Face().isLive());
  EXPECT_TRUE(Face().annunciatorVisible(Ann::LblP5Dot));
  EXPECT_FALSE(Face().annunciatorVisible(Ann::LblH));
  EXPECT_TRUE(Face().segmentVisible(1, 2));   // "9": b on
  EXPECT_FALSE(Face().segmentVisible(1, 5));  // "9": e off
  // UNIT and HOLD pressed on the meter reach the mirror.
  meter->Handle({0, 1, 0x02});  // HOLD pressed on the meter
  meter->Handle({0, 1, 0x06});  // UNIT
  Tick();
  EXPECT_EQ(Published().ReadingUnit, "Btu/(ft)2.h");
  EXPECT_FALSE(Face().annunciatorVisible(Ann::LblH));  // UNIT releases HOLD on this meter
  meter->Handle({0, 1, 0x02});
  Tick();
  EXPECT_TRUE(Face().annunciatorVisible(Ann::LblH));
  EXPECT_EQ(Published().ReadingText, "31.31");  // 98.76 W/m2 in Btu/(ft2.h)
}

// An unplugged meter leaves the display on its last reading; so does a short answer.
TEST_F(PanelWindowTest, AbsentMeterSearchesTwicePerTickAndAnUnpluggedOneFreezesTheDisplay) {
  port.present = false;
  Tick(3);
  EXPECT_EQ(rig.bus.enumerations, 6);
  EXPECT_EQ(Face().nameCaption(), " No Connection");
  EXPECT_FALSE(Face().isLive());
  EXPECT_TRUE(Face().segmentVisible(1, 1));  // the design look: every segment shown
  EXPECT_TRUE(Published().ReadingText.isEmpty());
  EXPECT_TRUE(Published().ReadingUnit.isEmpty());
  port.present = true;  // attached later: live within one tick
  Tick();
  EXPECT_TRUE(Face().isLive());
  port.present = false;
  meter->SetFixedReading("11.11");
  Tick(3);
  EXPECT_EQ(Face().nameCaption(), " No Connection");
  EXPECT_EQ(Published().ReadingText, "98.76");
  EXPECT_EQ(Published().ReadingUnit, "W/(M)2");
  EXPECT_TRUE(Face().annunciatorVisible(Ann::LblP5Dot));
  port.present = true;
  Tick();
  EXPECT_EQ(Published().ReadingText, "11.11");
  rig.instrument().link.CloseHandles();
  port.inputReportLength = 9;
  Tick();
  EXPECT_EQ(Published().ReadingText, "11.11");
}

TEST_F(PanelWindowTest, ShortAnswersDrawNothingAndLeakNoHandles) {
  port.inputReportLength = 9;
  Tick(500);
  EXPECT_FALSE(Face().isLive());
  EXPECT_TRUE(Published().ReadingText.isEmpty());
  EXPECT_EQ(port.openHandles, 1);
  EXPECT_EQ(port.opens, 501);  // the first connection, then one search per faulting tick
  EXPECT_EQ(Face().nameCaption(), "SOLAR POWER METER");
}

TEST_F(PanelWindowTest, WriteThenReadButtonExchangesWhatTheSlotsHold) {
  Tick();
  auto& panel = Panel();
  panel.CboByte[1]->setEditText("2");
  panel.CboByte[2]->setEditText("2");
  panel.CmdWnR->click();
  EXPECT_EQ(meter->received.back()[2], 0x02);
  EXPECT_EQ(rig.instrument().link.InputByte(1), meter->interval);
  Tick();  // the next tick overwrites it with the display image
  EXPECT_EQ(meter->received.back()[2], 0x01);
}

}  // namespace
}  // namespace solardesk
