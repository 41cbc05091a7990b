#include <gtest/gtest.h>

#include <QAction>
#include <QTest>

#include "support/AppOnVirtualMeter.h"

namespace solardesk {
namespace {

class PanelWindowTest : public ::testing::Test {
 protected:
  PanelWindowTest() {
    app->panel().onEnd = [this] { ++ended; };
  }
  PanelWindow& Panel() { return app->panel(); }

  testing::AppOnVirtualMeter rig;
  SolarDeskApp* app = &rig.app;
  sim::VirtualPort* port = &rig.port;
  int ended = 0;
};

TEST_F(PanelWindowTest, LoadFillsTheFieldAndByteSlotLists) {
  const struct {
    int index;
    int count;
    const char* first;
    const char* last;
  } res[] = {{0, 100, "00", "99"}, {1, 12, "01", "12"}, {2, 31, "01", "31"},  {3, 24, "00", "23"},
             {4, 60, "00", "59"},  {5, 60, "00", "59"}, {6, 100, "00", "99"}, {7, 12, "01", "12"},
             {8, 31, "01", "31"},  {9, 24, "00", "23"}, {10, 60, "00", "59"}, {11, 60, "00", "59"}};
  for (const auto& c : res) {
    QComboBox* box = Panel().ComboRes[c.index];
    EXPECT_EQ(box->count(), c.count) << c.index;
    EXPECT_EQ(box->itemText(0), c.first) << c.index;
    EXPECT_EQ(box->itemText(box->count() - 1), c.last) << c.index;
  }
  const int cyc[] = {24, 60, 60, 24, 60, 60};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(Panel().ComboCyc[k]->count(), cyc[k]) << k;
  for (int i = 0; i <= 7; ++i) {
    EXPECT_EQ(Panel().CboByte[i]->count(), 256) << i;
    EXPECT_EQ(Panel().CboByte[i]->itemText(255), "FF");
  }
  for (int i = 8; i < 15; ++i) EXPECT_EQ(Panel().CboByte[i]->count(), 0) << i;
  for (int i = 0; i < 15; ++i) EXPECT_EQ(Panel().CboByte[i]->currentText(), "00") << i;
  EXPECT_FALSE(Panel().tmrDelay.isActive());
  EXPECT_FALSE(Panel().tmrContinuousDataCollect.isActive());
  EXPECT_EQ(Panel().tmrContinuousDataCollect.interval(), 1000);
  // The byte slots and their boxes stay together.
  Panel().CboByte[3]->setEditText("1A");
  EXPECT_EQ(app->instrument().byteSlots.text(3), "1A");
  app->instrument().byteSlots.setCommand(1, 0x13);
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
  app->instrument().link.CloseHandles();
  port->accessDenied = true;
  Panel().Timer1Tick();
  EXPECT_EQ(Panel().face->nameCaption(), " No Connection");
  EXPECT_TRUE(Panel().face->nameToolTip().contains("udev"));
  port->accessDenied = false;
  Panel().Timer1Tick();
  EXPECT_TRUE(Panel().face->nameToolTip().isEmpty());
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
  ASSERT_EQ(port->openHandles, 1);
  QWidget other;  // another window of the program stays open
  other.show();
  Panel().close();
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(port->openHandles, 0);
  EXPECT_FALSE(app->instrument().Timer1.isActive());
  EXPECT_FALSE(app->instrument().Timer2.isActive());
}

TEST_F(PanelWindowTest, ClosingWithoutEverFindingAMeterIsHarmless) {
  port->present = false;
  Panel().close();
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(port->opens, 0);
}

// A release away from the key still releases the key pressed; the codes sent are the keys' test.
TEST_F(PanelWindowTest, KeyLabelsReportPressAndReleaseOfAnyButton) {
  Panel().show();
  std::vector<std::pair<KeyId, Qt::MouseButton>> released;
  QObject::connect(Panel().face, &MeterFace::keyReleased, [&](KeyId k, Qt::MouseButton b) {
    released.push_back({k, b});
  });
  QTest::mousePress(Panel().face, Qt::RightButton, {}, Panel().face->labelCenter(KeyId::Power, 2));
  EXPECT_TRUE(released.empty());
  QTest::mouseRelease(Panel().face, Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_EQ(released,
            (std::vector<std::pair<KeyId, Qt::MouseButton>>{{KeyId::Power, Qt::RightButton}}));
  for (int k = 0; k < kKeyCount; ++k) {
    const KeyId id = static_cast<KeyId>(k);
    for (std::size_t l = 0; l < Panel().face->key(id).labels.size(); ++l)
      EXPECT_EQ(Panel().face->keyAt(Panel().face->labelCenter(id, l)), id) << k << " " << l;
  }
}

}  // namespace
}  // namespace solardesk
