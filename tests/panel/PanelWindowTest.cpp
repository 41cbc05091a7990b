#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <map>

#include "app/StartWindows.h"

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
  DiagnosticsWindow& Diag() { return *Panel().diagnostics; }

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
    EXPECT_EQ(Diag().CboByte[i]->count(), 256) << i;
    EXPECT_EQ(Diag().CboByte[i]->itemText(255), "FF");
  }
  for (int i = 8; i < 15; ++i) EXPECT_EQ(Diag().CboByte[i]->count(), 0) << i;
  EXPECT_FALSE(Panel().tmrDelay.isActive());
  EXPECT_FALSE(Panel().tmrContinuousDataCollect.isActive());
  EXPECT_EQ(Panel().tmrContinuousDataCollect.interval(), 1000);
  // The byte slots and their boxes stay together.
  Diag().CboByte[3]->setEditText("1A");
  EXPECT_EQ(rig.instrument().byteSlots.text(3), "1A");
  rig.instrument().byteSlots.setCommand(1, 0x13);
  EXPECT_EQ(Diag().CboByte[2]->currentText(), "13");
  EXPECT_EQ(Diag().CboByte[1]->currentText(), "1");
}

// The main window has one size, the picture's and the status line's; nothing of it lies beyond
// that, and a maximize leaves it as it is. The diagnostics wait in their own hidden window.
TEST_F(PanelWindowTest, FixedSizeWithTheDiagnosticsInAWindowOfTheirOwn) {
  EXPECT_EQ(Panel().windowTitle(), "Panel   V8.01");
  // The picture and the status line keep their size; the menu bar comes on top of them.
  const QSize size(367, 662 + Panel().menuBar->height());
  EXPECT_EQ(Face().size(), QSize(367, 642));
  EXPECT_EQ(Panel().size(), size);
  EXPECT_EQ(Panel().minimumSize(), size);
  EXPECT_EQ(Panel().maximumSize(), size);
  EXPECT_FALSE(Panel().windowFlags() & Qt::WindowMaximizeButtonHint);
  for (const auto grow : {&QWidget::showMaximized, &QWidget::showFullScreen}) {
    (Panel().*grow)();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Panel().windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    EXPECT_EQ(Panel().size(), size);
  }
  for (const QWidget* w : Panel().findChildren<QWidget*>()) {
    if (w->isWindow() || w->parentWidget() != &Panel()) continue;
    EXPECT_TRUE(Panel().rect().contains(w->geometry()))
        << w->objectName().toStdString() << " at " << w->x() << "," << w->y();
  }
  DiagnosticsWindow& diag = Diag();
  EXPECT_TRUE(diag.isWindow());
  EXPECT_FALSE(diag.isVisible());
  EXPECT_EQ(diag.windowTitle(), "Diagnostics");
  for (QWidget* w : std::initializer_list<QWidget*>{
           diag.CboByte[0], diag.CboByte[14], diag.CmdWrite, diag.CmdWnR, diag.Read, diag.CmdClr,
           diag.cmdOnce, diag.cmdContinuous, diag.lstResults, diag.TxtVid, diag.TxtPid}) {
    EXPECT_EQ(w->window(), &diag) << w->objectName().toStdString();
    EXPECT_TRUE(diag.rect().contains(w->geometry())) << w->objectName().toStdString();
  }
  // Opened on purpose only: the action in the main window's context menu, which the toolbar and
  // the status line open; the picture keeps the right button for its keys.
  EXPECT_EQ(Panel().contextMenuPolicy(), Qt::ActionsContextMenu);
  EXPECT_TRUE(Panel().actions().contains(Panel().diagnosticsAction));
  EXPECT_EQ(Panel().Toolbar1->actions().size(), 9);
  for (QWidget* w : std::initializer_list<QWidget*>{Panel().Toolbar1, Panel().LblStatusMeter}) {
    QList<QAction*> offered;
    QTimer::singleShot(0, w, [&offered] {
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        offered = menu->actions();
        menu->close();
      }
    });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(4, 4), w->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(w, &menu);
    EXPECT_EQ(offered, QList<QAction*>{Panel().diagnosticsAction}) << w->objectName().toStdString();
  }
  const QPoint key = Face().labelCenter(KeyId::Enter);
  QContextMenuEvent onKey(QContextMenuEvent::Mouse, key, Face().mapToGlobal(key));
  QApplication::sendEvent(&Face(), &onKey);
  EXPECT_TRUE(onKey.isAccepted());
  EXPECT_EQ(Panel().diagnosticsAction->text(), "Diagnostics");
  Panel().diagnosticsAction->trigger();
  EXPECT_TRUE(diag.isVisible());
  EXPECT_EQ(Panel().size(), size);
}

// "--diagnostics" opens the diagnostics window beside the main window; without it only the
// main window shows.
TEST_F(PanelWindowTest, DiagnosticsOptionOpensTheirWindowAtStart) {
  for (const bool asked : {false, true}) {
    Diag().hide();
    Panel().hide();
    QCommandLineParser parser;
    AddStartWindowOptions(parser);
    QStringList arguments = {"solardesk"};
    if (asked) arguments << "--diagnostics";
    ASSERT_TRUE(parser.parse(arguments)) << parser.errorText().toStdString();
    ShowStartWindows(rig.app, parser);
    EXPECT_TRUE(Panel().isVisible());
    EXPECT_EQ(Diag().isVisible(), asked);
  }
}

TEST_F(PanelWindowTest, SearchesReadTheVendorBox) {
  EXPECT_EQ(Diag().TxtVid->text(), "483");
  EXPECT_EQ(Diag().TxtPid->text(), "5750");
  Diag().TxtVid->setText("484");
  Panel().Timer1Tick();
  EXPECT_EQ(Panel().face->nameCaption(), " No Connection");
  Diag().TxtVid->setText("483");
  Panel().Timer1Tick();
  EXPECT_EQ(Panel().face->nameCaption(), "SOLAR POWER METER");
}

// A report written by hand that erases the logger or changes a setting is sent only when the
// user agrees; queries and key presses go at once.
TEST_F(PanelWindowTest, ReportsThatChangeTheMeterAreSentOnlyWhenTheUserAgrees) {
  Tick();
  auto& byteSlots = rig.instrument().byteSlots;
  const std::tuple<unsigned, unsigned, const char*> cases[] = {
      {0x01, 0x10, "erase the logger"},
      {0x01, 0x16, "erase the logger"},
      {0x01, 0x12, "set the clock"},
      {0x01, 0x13, "set the calibration"},
      {0x01, 0x0F, "set the logging interval"},
      {0x01, 0x15, "set the reservation"},
      {0x01, 0x14, "set the daily cycle"},
      {0x01, 0x05, nullptr},  // the POWER key
      {0x02, 0x10, nullptr},  // a query, whatever its code
      {0x02, 0x03, nullptr},
  };
  for (QPushButton* button : {Diag().CmdWrite, Diag().CmdWnR}) {
    for (const auto& [commandClass, code, change] : cases) {
      const std::string what = button->text().toStdString() + " " + std::to_string(code);
      byteSlots.setCommand(commandClass, code);
      meter->received.clear();
      rig.dialogs.shown.clear();
      button->click();  // no answer queued: Cancel
      const auto asked = rig.dialogs.of("message");
      if (!change) {
        EXPECT_TRUE(asked.empty()) << what;
        ASSERT_EQ(meter->received.size(), 1u) << what;
        EXPECT_EQ(meter->received[0][2], code) << what;
        continue;
      }
      ASSERT_EQ(asked.size(), 1u) << what;
      EXPECT_EQ(asked[0].text,
                QStringLiteral("This report changes the meter: %1. Send it?").arg(change));
      EXPECT_EQ(asked[0].buttons, MessageButtons::OkCancel);
      EXPECT_EQ(asked[0].owner, &Diag());
      EXPECT_TRUE(meter->received.empty()) << what;
    }
  }
  // Agreed: the erase goes out.
  meter->AddSet("26/12/04 10:00:00", "1", "W/m2", {"1.0"});
  ASSERT_EQ(meter->sets.size(), 1u);
  byteSlots.setCommand(0x01, 0x10);
  rig.dialogs.messageAnswers = {DialogAnswer::Ok};
  meter->received.clear();
  Diag().CmdWrite->click();
  ASSERT_EQ(meter->received.size(), 1u);
  EXPECT_EQ(meter->received[0][2], 0x10);
  EXPECT_TRUE(meter->sets.empty());
}

// The keys whose caps carry no caption, and only those, name themselves in a tool tip; the
// toolbar's stop icon names what it does.
TEST_F(PanelWindowTest, UnlabelledKeysAndTheStopIconHaveToolTips) {
  const std::map<KeyId, QString> named = {
      {KeyId::OnOff, "ON/OFF"}, {KeyId::Enter, "ENTER"}, {KeyId::Up, "UP"}, {KeyId::Down, "DOWN"}};
  for (int i = 0; i < kKeyCount; ++i) {
    const auto id = static_cast<KeyId>(i);
    const auto it = named.find(id);
    for (std::size_t label = 0; label < Face().key(id).labels.size(); ++label) {
      EXPECT_EQ(Face().toolTipAt(Face().labelCenter(id, label)),
                it == named.end() ? QString() : it->second)
          << Face().key(id).name.toStdString();
    }
  }
  // Shown where the pointer rests.
  Panel().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Panel()));
  const QPoint enter = Face().labelCenter(KeyId::Enter);
  QHelpEvent help(QEvent::ToolTip, enter, Face().mapToGlobal(enter));
  QApplication::sendEvent(&Face(), &help);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), "ENTER");
  QToolTip::hideText();

  Panel().setSaveButtonRecording(true);
  QWidget* stop = Panel().Toolbar1->widgetForAction(Panel().toolbarAction("Save"));
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(stop->toolTip(), "Stop Recording (Ctrl+S)");
  Panel().setSaveButtonRecording(false);
  EXPECT_EQ(stop->toolTip(), "Save As (Ctrl+S)");
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
  // The buttons with a shortcut name it.
  const QStringList tips = {"Save As (Ctrl+S)", "Open File to Read (Ctrl+O)",
                            "Sampling Rate",    "List Display",
                            "Graphic Display",  "Real Time Clock",
                            "Set up",           "Memory",
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
  Diag().lstResults->addItem("left over");
  Tick();
  EXPECT_EQ(Diag().lstResults->count(), 0);
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
  panel.diagnostics->CboByte[1]->setEditText("2");
  panel.diagnostics->CboByte[2]->setEditText("2");
  panel.diagnostics->CmdWnR->click();
  EXPECT_EQ(meter->received.back()[2], 0x02);
  EXPECT_EQ(rig.instrument().link.InputByte(1), meter->interval);
  Tick();  // the next tick overwrites it with the display image
  EXPECT_EQ(meter->received.back()[2], 0x01);
}

}  // namespace
}  // namespace solardesk
