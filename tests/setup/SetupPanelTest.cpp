#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QTest>
#include <QTimer>

#include "app/QtDialogs.h"
#include "setup/logic/SetupExchanges.h"

#include "logger/ui/LoggerCommands.h"
#include "recording/ui/SamplingChoice.h"

#include "support/AppOnVirtualMeter.h"

namespace solardesk {
namespace {

using Bytes = std::vector<std::uint8_t>;

class SetupPanelTest : public ::testing::Test, public testing::AppOnVirtualMeter {
 protected:
  void SetUp() override { Connect(); }

  SetupArea& setup() { return app.setup(); }
  bool TimersStopped() {
    return !instrument().Timer1.isActive() && !instrument().Timer2.isActive();
  }

  // "Set", then a click on an option.
  void Choose(int option) {
    if (panel().PicSetup->isHidden()) panel().clickToolbar(QStringLiteral("Set"));
    QTest::mouseClick(setup().OptSetup[static_cast<std::size_t>(option)], Qt::LeftButton);
  }
  QStringList Texts(const auto& lists) {
    QStringList texts;
    for (QComboBox* c : lists) texts << c->currentText();
    return texts;
  }
  QStringList Items(QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
  }
  // A pick from a list, as the user makes it.
  void Pick(QComboBox* list, const QString& text) {
    const int i = list->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    list->setCurrentIndex(i);
    emit list->activated(i);
  }
};

// Other toolbar commands hide the chooser and the schedule panels: the main window's test.
TEST_F(SetupPanelTest, SetTogglesTheChooserClearingItsOptionsAndExitHidesIt) {
  auto* chooser = panel().PicSetup;
  panel().clickToolbar(QStringLiteral("Set"));
  EXPECT_FALSE(chooser->isHidden());
  setup().OptSetup[1]->setChecked(true);
  panel().clickToolbar(QStringLiteral("Set"));
  EXPECT_TRUE(chooser->isHidden());
  panel().clickToolbar(QStringLiteral("Set"));
  for (QRadioButton* option : setup().OptSetup) EXPECT_FALSE(option->isChecked());
  QTest::mouseClick(setup().CmSetupExit, Qt::LeftButton);
  EXPECT_TRUE(chooser->isHidden());
  EXPECT_TRUE(TimersRunning());
}

// The entry is limited, asked again when not a number, and Cancel writes nothing.
TEST_F(SetupPanelTest, CalibrationShowsTheMeterValueAndWritesTheEntry) {
  meter->calibration = 1234;
  dialogs.inputAnswers = {"12345"};
  Choose(2);
  const auto boxes = dialogs.of("input");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Input Calibration");
  EXPECT_EQ(boxes[0].text, "Enter the calibrating Data\r\n(0 <= t <= 9999 ) ");
  EXPECT_EQ(boxes[0].defaultText, "1234");
  EXPECT_EQ(Commands(5),
            (std::vector<Bytes>{{0x00, 0x02, 0x02, 0x00, 0x00}, {0x00, 0x01, 0x13, 0x0F, 0x27}}));
  EXPECT_EQ(QStringList({instrument().byteSlots.text(3), instrument().byteSlots.text(4)}),
            QStringList({"0F", "27"}));
  EXPECT_EQ(meter->calibration, 9999);
  // After a written calibration the chooser closes and polling stays stopped.
  EXPECT_TRUE(panel().PicSetup->isHidden());
  EXPECT_TRUE(TimersStopped());

  // Not a number: asked again, with the meter's value.
  meter->calibration = 77;
  dialogs.shown.clear();
  dialogs.inputAnswers = {"abc", "42"};
  Choose(2);
  const auto messages = dialogs.of("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Please enter a number from 0 to 9999.");
  EXPECT_EQ(messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(dialogs.of("input").size(), 2u);
  EXPECT_EQ(dialogs.of("input")[1].defaultText, "77");
  EXPECT_EQ(Commands(5).back(), (Bytes{0x00, 0x01, 0x13, 42, 0x00}));

  // Cancel (no answer queued) writes nothing, restarts polling and keeps the chooser; the option
  // still shows chosen and another click on it runs the whole exchange again.
  meter->received.clear();
  dialogs.shown.clear();
  Choose(2);
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{0x00, 0x02, 0x02}}));
  EXPECT_FALSE(panel().PicSetup->isHidden());
  EXPECT_TRUE(TimersRunning());
  QTest::mouseClick(setup().OptSetup[2], Qt::LeftButton);
  EXPECT_EQ(dialogs.of("input").size(), 2u);
  EXPECT_EQ(Commands().size(), 2u);
}

// With no meter, or one that is plugged in but has never answered, the commands whose answer
// nothing can stand in for say so over the window they were given in, and do nothing else: no
// panel, no input box, no logger window, nothing written, and polling runs again.
TEST(NoMeter, CommandsThatNeedTheMetersAnswerSaySoAndDoNothingElse) {
  for (const bool silent : {false, true}) {
    testing::AppOnVirtualMeter rig;
    rig.port.present = silent;
    rig.port.silent = silent;
    PanelWindow& panel = rig.panel();
    SetupArea& setup = rig.app.setup();
    const QObject* clockWindow = nullptr;
    setup.runClockWindow = [&](RTC& w) {
      clockWindow = &w;
      w.LblMeterTimeClick();
      w.Timer1Tick();
      w.Timer1Tick();  // said once: the meter time is off again
      EXPECT_EQ(w.LblMeterTime->text(), RTC::kMeterTimeCaption);
      w.CmdExit->click();
    };
    const auto choose = [&](int option) {
      return [&, option] {
        panel.clickToolbar(QStringLiteral("Set"));
        setup.Choose(option);
      };
    };
    const auto meterInterval = [&] {
      QTimer::singleShot(0, &panel, [&] { panel.findChild<SamplingChoice*>()->CmdOK->click(); });
      panel.clickToolbar(QStringLiteral("Interval"));
    };
    const struct {
      std::string command;
      std::function<void()> run;
    } cases[] = {{"Reservation", choose(0)},
                 {"Cycling", choose(1)},
                 {"Calibration", choose(2)},
                 {"RTC", [&] { panel.clickToolbar(QStringLiteral("RTC")); }},
                 {"Logger", [&] { panel.clickToolbar(QStringLiteral("Logger")); }},
                 {"Interval", meterInterval}};
    for (const auto& c : cases) {
      rig.dialogs.shown.clear();
      c.run();
      const std::string where = c.command + (silent ? ", silent meter" : ", no meter");
      ASSERT_EQ(rig.dialogs.shown.size(), 1u) << where;
      const auto& said = rig.dialogs.shown[0];
      EXPECT_EQ(said.text, silent ? QStringLiteral("The meter is not answering.")
                                  : QStringLiteral("The meter is not connected."))
          << where;
      EXPECT_EQ(said.icon, MessageIcon::Information) << where;
      EXPECT_EQ(said.owner, c.command == "RTC" ? clockWindow : &panel) << where;
      EXPECT_TRUE(panel.PicReservation->isHidden() && panel.PicCycling->isHidden()) << where;
      EXPECT_EQ(rig.app.logger().memory(), nullptr) << where;
      EXPECT_TRUE(rig.TimersRunning()) << where;
    }
    // Queries only: nothing was ever written to the meter.
    for (const auto& r : rig.Commands()) EXPECT_EQ(r[1], 0x02);
  }
}

// A schedule panel shows what the meter holds with polling stopped; Exit writes nothing and
// reopening reads the meter again; OK writes the fields and lets polling run.
TEST_F(SetupPanelTest, SchedulesLoadExitAndWrite) {
  meter->reservation = {12, 3, 4, 5, 6, 7, 12, 3, 5, 0, 0, 0};
  meter->cycling = {8, 30, 0, 17, 45, 0};
  const auto& res = panel().ComboRes;
  const auto& cyc = panel().ComboCyc;
  const struct {
    int option;
    std::vector<QComboBox*> fields;
    QWidget* shown;
    QPushButton* ok;
    QPushButton* exit;
    QStringList texts;
    std::uint8_t query;
    Bytes written;
  } cases[] = {
      {0,
       {res.begin(), res.end()},
       panel().PicReservation,
       setup().reservation.CmdResOK,
       setup().reservation.CmdResExit,
       {"12", "03", "04", "05", "06", "07", "12", "03", "05", "00", "00", "00"},
       0x0A,
       {0x00, 0x01, 0x15, 0x0C, 0x03, 0x04, 0x05, 0x06, 0x07, 0x0C, 0x03, 0x05, 0x00, 0x00, 0x00}},
      {1,
       {cyc.begin(), cyc.end()},
       panel().PicCycling,
       setup().cycling.CmdCycOK,
       setup().cycling.CmdCycExit,
       {"08", "30", "00", "17", "45", "00"},
       0x09,
       {0x00, 0x01, 0x14, 0x08, 0x1E, 0x00, 0x11, 0x2D, 0x00}},
  };
  for (const auto& c : cases) {
    meter->received.clear();
    Choose(c.option);
    EXPECT_EQ(Texts(c.fields), c.texts);
    EXPECT_FALSE(c.shown->isHidden());
    EXPECT_TRUE(panel().PicSetup->isHidden());
    EXPECT_TRUE(TimersStopped());
    c.fields[3]->setCurrentIndex(c.fields[3]->findText(QStringLiteral("23")));
    ASSERT_EQ(c.fields[3]->currentText(), QStringLiteral("23"));
    QTest::mouseClick(c.exit, Qt::LeftButton);
    EXPECT_TRUE(c.shown->isHidden());
    EXPECT_TRUE(TimersStopped());
    Choose(c.option);
    EXPECT_EQ(Texts(c.fields), c.texts);
    EXPECT_EQ(Commands(), (std::vector<Bytes>(2, {0x00, 0x02, c.query})));
    QTest::mouseClick(c.ok, Qt::LeftButton);
    EXPECT_EQ(Commands(c.written.size()).back(), c.written);
    EXPECT_TRUE(c.shown->isHidden());
    EXPECT_TRUE(TimersRunning());
  }
}

// The date lists follow the month as read, then each pick of a year or month.
TEST_F(SetupPanelTest, DateListsFollowTheMonthAsReadAndAsPickedAndTypingChangesNothing) {
  // Start month 0: no date list; stop in a 30-day month with the date shown as read.
  meter->reservation = {26, 0, 17, 8, 0, 0, 26, 4, 31, 9, 0, 0};
  Choose(0);
  auto& res = panel().ComboRes;
  EXPECT_EQ(QStringList({res[1]->currentText(), res[2]->currentText(), res[8]->currentText()}),
            QStringList({"00", "17", "31"}));
  EXPECT_EQ(res[2]->count(), 0);
  EXPECT_EQ(res[8]->count(), 30);

  Pick(res[6], "08");
  Pick(res[7], "02");
  EXPECT_EQ(QStringList({res[8]->itemText(0), res[8]->itemText(28)}), QStringList({"01", "29"}));
  EXPECT_EQ(res[8]->count(), 29);
  EXPECT_EQ(res[8]->currentText(), "01");

  Pick(res[1], "02");
  Pick(res[2], "15");
  Pick(res[0], "01");
  EXPECT_EQ(res[2]->count(), 28);
  EXPECT_EQ(res[2]->currentText(), "01");
  Pick(res[2], "20");
  Pick(res[1], "09");
  EXPECT_EQ(res[2]->count(), 30);
  EXPECT_EQ(res[2]->currentText(), "01");
  // Other fields leave the dates alone.
  Pick(res[2], "20");
  Pick(res[3], "10");
  EXPECT_EQ(res[2]->currentText(), "20");
  EXPECT_EQ(res[8]->count(), 29);
  // Typing into a reservation field changes nothing.
  meter->reservation = {26, 4, 17, 8, 0, 0, 26, 5, 20, 9, 0, 0};
  Choose(0);
  const QStringList before = Texts(panel().ComboRes);
  const int startDays = panel().ComboRes[2]->count();
  for (QComboBox* c : panel().ComboRes) {
    for (QWidget* target : {static_cast<QWidget*>(c), static_cast<QWidget*>(c->lineEdit())}) {
      QTest::keyClicks(target, "7a");
      QTest::keyClick(target, Qt::Key_Backspace);
      QTest::keyClick(target, Qt::Key_Delete);
      QTest::keyClick(target, Qt::Key_Return);
      QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
    }
  }
  EXPECT_EQ(Texts(panel().ComboRes), before);
  EXPECT_EQ(panel().ComboRes[2]->count(), startDays);
}

// Moving the focus with Tab or a click, Enter and Escape leave every field as the meter gave it;
// only a pick of a year or a month sets its row's date to "01".
TEST_F(SetupPanelTest, FocusChangesEnterAndEscapeLeaveTheDatesAsRead) {
  meter->reservation = {26, 12, 7, 8, 0, 0, 27, 1, 9, 17, 30, 0};
  panel().show();
  panel().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&panel()));
  Choose(0);
  auto& res = panel().ComboRes;
  const QStringList read = {"26", "12", "07", "08", "00", "00", "27", "01", "09", "17", "30", "00"};
  ASSERT_EQ(Texts(res), read);
  // Into the year field with a click, then Tab through every field of both rows and back.
  QTest::mouseClick(res[0]->lineEdit(), Qt::LeftButton);
  ASSERT_TRUE(res[0]->hasFocus());
  for (int k = 0; k < 14; ++k) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(Texts(res), read);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  // Clicks from field to field, and Enter and Escape in each.
  for (QComboBox* field : {res[0], res[6], res[1], res[7], res[3], res[0]}) {
    QTest::mouseClick(field->lineEdit(), Qt::LeftButton);
    ASSERT_TRUE(field->hasFocus()) << field->objectName().toStdString();
    QTest::keyClick(field->lineEdit(), Qt::Key_Return);
    QTest::keyClick(field->lineEdit(), Qt::Key_Escape);
  }
  QTest::mouseClick(setup().reservation.CmdResOK, Qt::LeftButton);
  EXPECT_EQ(Commands(15).back(),
            (Bytes{0x00, 0x01, 0x15, 26, 12, 7, 8, 0, 0, 27, 1, 9, 17, 30, 0}));

  // After a pick the field's new value survives the focus moves too; the date follows the pick.
  Choose(0);
  Pick(res[7], "02");
  res[8]->setFocus();
  Pick(res[8], "14");
  QTest::mouseClick(res[6]->lineEdit(), Qt::LeftButton);
  QTest::keyClick(res[6]->lineEdit(), Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QStringList({res[7]->currentText(), res[8]->currentText()}), QStringList({"02", "14"}));
}

// A reservation the meter holds outside the lists' ranges is refused, not written; which field
// is named first is the refusal table's test.
TEST_F(SetupPanelTest, ReservationFieldsOutsideTheirRangesAreRefused) {
  meter->reservation = {26, 0, 7, 8, 0, 0, 26, 12, 9, 23, 30, 0};
  Choose(0);
  meter->received.clear();
  QTest::mouseClick(setup().reservation.CmdResOK, Qt::LeftButton);
  ASSERT_EQ(dialogs.of("message").size(), 1u);
  EXPECT_EQ(dialogs.of("message")[0].text, "The start month must be a number from 1 to 12.");
  EXPECT_EQ(dialogs.of("message")[0].owner, &panel());
  EXPECT_TRUE(Commands().empty());
  EXPECT_FALSE(panel().PicReservation->isHidden());
  Pick(panel().ComboRes[1], "05");
  QTest::mouseClick(setup().reservation.CmdResOK, Qt::LeftButton);
  EXPECT_EQ(Commands(15).back(),
            (Bytes{0x00, 0x01, 0x15, 26, 5, 1, 8, 0, 0, 26, 12, 9, 23, 30, 0}));
}

// Whatever the meter holds (0, or more than 60), the box first offers a value its prompt allows.
TEST_F(SetupPanelTest, MeterIntervalBoxFirstOffersAValueInsideItsRange) {
  for (const auto& [held, offered] :
       {std::pair{0, "1"}, std::pair{75, "60"}, std::pair{45, "45"}}) {
    meter->interval = static_cast<std::uint8_t>(held);
    dialogs.shown.clear();
    QTimer::singleShot(0, &panel(), [&] { panel().findChild<SamplingChoice*>()->CmdOK->click(); });
    panel().clickToolbar(QStringLiteral("Interval"));
    const auto boxes = dialogs.of("input");
    ASSERT_EQ(boxes.size(), 1u) << held;
    EXPECT_TRUE(boxes[0].text.endsWith("(1 <= t <= 60 ) ")) << boxes[0].text.toStdString();
    EXPECT_EQ(boxes[0].defaultText, offered) << held;
    EXPECT_EQ(meter->interval, held);  // cancelled: nothing written
  }
}

// The calibration box is wide enough for its whole title beside the title bar's buttons, and
// gives what was typed, or nothing when cancelled.
TEST(CalibrationBox, ShowsItsWholeTitleAndGivesTheEntry) {
  QWidget mainWindow;
  mainWindow.show();
  QtDialogs qtDialogs(&mainWindow);
  for (const bool accept : {true, false}) {
    int width = 0;
    QString title;
    QTimer::singleShot(0, &mainWindow, [&] {
      auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      width = box->width();
      title = box->windowTitle();
      box->setTextValue(QStringLiteral("42"));
      accept ? box->accept() : box->reject();
    });
    const QString entry = qtDialogs.input(kCalibrationPrompt, kCalibrationTitle, "1234");
    EXPECT_EQ(entry, accept ? QStringLiteral("42") : QString());
    EXPECT_EQ(title, kCalibrationTitle);
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    // The title and at least four buttons' room (icon, minimize, maximize, close).
    EXPECT_GE(width, metrics.horizontalAdvance(kCalibrationTitle) + 4 * metrics.height() * 2);
  }
}

TEST_F(SetupPanelTest, CyclingFieldsHoldWhatWasTypedAndOnlyTimesOfDayAreWritten) {
  Choose(1);
  panel().show();
  panel().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&panel()));
  auto& cyc = panel().ComboCyc;
  // Each typed text is also the start of a list entry ("1" of "10", "5" of "50"); Enter ends it.
  const char* typed[] = {"1", "5", "", "2", "007", "4"};
  for (std::size_t k = 0; k < cyc.size(); ++k) {
    QComboBox* field = cyc[k];
    const QStringList items = Items(field);
    field->setFocus();
    ASSERT_TRUE(field->hasFocus());
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, typed[k]);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->currentText(), QString::fromLatin1(typed[k]));
    EXPECT_EQ(Items(field), items) << k;
  }
  QTest::mouseClick(setup().cycling.CmdCycOK, Qt::LeftButton);
  EXPECT_EQ(Commands(9).back(), (Bytes{0x00, 0x01, 0x14, 1, 5, 0, 2, 7, 4}));
  // A field outside a time of day is refused (which and how: CyclingRefusal's table) and the
  // panel stays open.
  Choose(1);
  meter->received.clear();
  panel().ComboCyc[4]->setEditText(QStringLiteral("300"));
  QTest::mouseClick(setup().cycling.CmdCycOK, Qt::LeftButton);
  const auto messages = dialogs.of("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, QStringLiteral("The stop minute must be a number from 0 to 59."));
  EXPECT_EQ(messages[0].icon, MessageIcon::Exclamation);
  EXPECT_TRUE(Commands().empty());
  EXPECT_FALSE(panel().PicCycling->isHidden());
  EXPECT_TRUE(TimersStopped());
}

TEST_F(SetupPanelTest, ClicksOnTheNameLabelToggleTheCaption) {
  auto* face = panel().face;
  const QPoint name = MeterFace::NameRect().center();
  QTest::mouseClick(face, Qt::LeftButton, {}, name);
  EXPECT_EQ(panel().windowTitle(), "Panel   V8.01   120823");
  QTest::mouseClick(face, Qt::LeftButton, {}, name);
  EXPECT_EQ(panel().windowTitle(), "Panel   V8.01");
}

}  // namespace
}  // namespace solardesk
