#include <QAction>
#include <QFileInfo>
#include <QTest>

#include "AppFixture.h"
#include "graphs/ui/ImageCanvas.h"
#include "support/PdfText.h"

namespace solardesk {
namespace {

class RealTimeGraphTest : public testing::AppFixture {
 protected:
  // Opens the graph with the meter showing `reading` in watts, drawing area `width` x 400.
  RealTimeGraph* OpenGraph(const QString& reading = QStringLiteral("5000"), int width = 660) {
    MeterShows(reading, kUnitWatts);
    app.panel().clickToolbar(QStringLiteral("Graph"));
    RealTimeGraph* g = app.liveGraph();
    if (g != nullptr) g->resize(width, 400);
    return g;
  }
  static QColor PixelAt(const RealTimeGraph& g, double x, double y) {
    return g.picture().pixelColor(static_cast<int>(x), static_cast<int>(y));
  }
  // Whether the data line passes within a pixel of a point.
  static bool BlueNear(const RealTimeGraph& g, double x, double y) {
    for (int dx = -1; dx <= 1; ++dx) {
      for (int dy = -1; dy <= 1; ++dy) {
        if (PixelAt(g, x + dx, y + dy) == ImageCanvas::ColorOf(Ink::Blue)) return true;
      }
    }
    return false;
  }
  static void Type(QWidget* w, int key) { QTest::keyClick(w, static_cast<Qt::Key>(key)); }
  static QStringList Fields(const RealTimeGraph& g) {
    return {g.TxtMax->text(), g.TxtMin->text(), g.TxtCounts->text()};
  }
};

TEST_F(RealTimeGraphTest, GraphOpensOnceBesideTheMainWindowWithTheUnitAsTitle) {
  RealTimeGraph* g = OpenGraph();
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->windowTitle(), QStringLiteral("Real Time Graph"));
  EXPECT_TRUE(app.graphState().GraphOpen);
  EXPECT_EQ(app.graphState().GraphUnit, kUnitWatts);
  const QRect main = app.panel().frameGeometry();
  // Beside the main window, as far as the screen lets it.
  const QRect area = g->screen()->availableGeometry();
  EXPECT_TRUE(area.contains(g->frameGeometry()));
  EXPECT_EQ(g->frameGeometry().top(), main.top());
  if (main.right() + g->frameGeometry().width() <= area.right()) {
    EXPECT_EQ(g->frameGeometry().left(), main.right() + 1);
  }
  EXPECT_TRUE(g->Timer1.isActive());
  EXPECT_EQ(g->Timer1.interval(), 1000);

  app.panel().clickToolbar(QStringLiteral("Graph"));
  EXPECT_EQ(app.liveGraph(), g);
  g->resize(690, 400);  // the plot takes whole 30-pixel divisions of the new width
  EXPECT_EQ(g->graph().PlotWidth, 630.0f);
  EXPECT_EQ(g->picture().width(), 690);
}

TEST_F(RealTimeGraphTest, TicksDrawTheReadingOnTheKeptPictureThatPrintsUnchanged) {
  RealTimeGraph* g = OpenGraph(QStringLiteral("5000"));
  const SweepGraph& s = g->graph();
  g->Timer1Tick();
  MeterShows(QStringLiteral("2500"), kUnitWatts);
  g->Timer1Tick();
  EXPECT_TRUE(BlueNear(*g, s.PlotLeft + 1, s.PlotBottom - 75));
  EXPECT_FALSE(BlueNear(*g, s.PlotLeft + 1, s.PlotBottom - 10));
  EXPECT_EQ(PixelAt(*g, s.PlotLeft + 300, s.PlotBottom - 100), ImageCanvas::ColorOf(Ink::White));
  // The value labels stand in black left of the axis, each centred on its tick: ink at the top
  // and bottom ticks, none half way between two of them.
  const auto blackBeside = [&](double tickY) {
    for (int x = 0; x < s.PlotLeft - 10; ++x) {
      for (int y = static_cast<int>(tickY) - 3; y <= static_cast<int>(tickY) + 3; ++y) {
        if (g->picture().pixelColor(x, y) == QColor(0, 0, 0)) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(blackBeside(s.PlotBottom - s.PlotHeight));
  EXPECT_TRUE(blackBeside(s.PlotBottom));
  EXPECT_FALSE(blackBeside(s.PlotBottom - s.PlotHeight / 16));

  // Print sends the picture to the printer unchanged.
  const QImage before = g->picture().copy();
  dialogs.printerAnswers.push_back(true);
  dialogs.printToPdf = dir.filePath(QStringLiteral("graph.pdf"));
  g->toolbarAction(QStringLiteral("Print"))->trigger();
  EXPECT_EQ(dialogs.of("printer").size(), 1u);
  EXPECT_GT(QFileInfo(dialogs.printToPdf).size(), 0);
  EXPECT_EQ(g->picture(), before);
  EXPECT_TRUE(g->Toolbar1->isVisible());

  // The preview shows that page over the graph; its "Print" asks for the printer and prints it.
  dialogs.previewPdf = dir.filePath(QStringLiteral("preview.pdf"));
  dialogs.previewAnswers = {true};
  dialogs.printerAnswers.push_back(true);
  dialogs.printToPdf = dir.filePath(QStringLiteral("previewed.pdf"));
  g->toolbarAction(QStringLiteral("Print Preview"))->trigger();
  ASSERT_EQ(dialogs.of("preview").size(), 1u);
  EXPECT_EQ(dialogs.of("preview")[0].owner, g);
  EXPECT_EQ(testing::PdfPageCount(dialogs.previewPdf), 1);
  EXPECT_EQ(dialogs.of("printer").size(), 2u);
  EXPECT_EQ(testing::PdfPageCount(dialogs.printToPdf), 1);
}

TEST_F(RealTimeGraphTest, AUnitChangeOrTheCloseBoxClosesTheGraphAndTheNextOpensWithTheNewUnit) {
  RealTimeGraph* g = OpenGraph();
  g->Timer1Tick();
  MeterShows(QStringLiteral("5000"), kUnitBtu);
  g->Timer1Tick();
  EXPECT_FALSE(app.graphState().GraphOpen);
  Settle();
  EXPECT_EQ(app.liveGraph(), nullptr);

  app.panel().clickToolbar(QStringLiteral("Graph"));
  ASSERT_NE(app.liveGraph(), nullptr);
  EXPECT_EQ(app.graphState().GraphUnit, kUnitBtu);
  app.liveGraph()->close();
  EXPECT_FALSE(app.graphState().GraphOpen);
  Settle();
  EXPECT_EQ(app.liveGraph(), nullptr);
  MeterShows(QStringLiteral("5000"), QString());  // a graph opens without a unit too
  app.panel().clickToolbar(QStringLiteral("Graph"));
  ASSERT_NE(app.liveGraph(), nullptr);
  EXPECT_TRUE(app.graphState().GraphUnit.isEmpty());
}

// Limit pauses the sweep and shows the current values; accepted ones restart it.
TEST_F(RealTimeGraphTest, LimitPausesRefusesBadValuesAndAcceptedOnesRestartTheSweep) {
  RealTimeGraph* g = OpenGraph();
  g->toolbarAction(QStringLiteral("Limit"))->trigger();
  EXPECT_FALSE(g->Timer1.isActive());
  EXPECT_TRUE(g->PMessage->isVisible());
  EXPECT_EQ(Fields(*g), QStringList({"10000", "0", "600"}));
  // Refused values and counts keep the panel open with a message.
  const struct {
    const char* max;
    const char* min;
    const char* counts;
    QString message;
  } cases[] = {
      {"5000", "5000", "600", QStringLiteral("0 <= Value <= 10000, try again!")},
      {"10000", "0", "9", QStringLiteral("10 <= Counts <= 864000, try again!")},
      {"10000", "0", "864001", QStringLiteral("10 <= Counts <= 864000, try again!")},
  };
  for (const auto& c : cases) {
    dialogs.shown.clear();
    g->toolbarAction(QStringLiteral("Limit"))->trigger();
    g->TxtMax->setText(QString::fromLatin1(c.max));
    g->TxtMin->setText(QString::fromLatin1(c.min));
    g->TxtCounts->setText(QString::fromLatin1(c.counts));
    g->CmdOK->click();
    ASSERT_EQ(dialogs.of("message").size(), 1u) << c.counts;
    EXPECT_EQ(dialogs.shown[0].text, c.message);
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(g->PMessage->isVisible());
    EXPECT_FALSE(g->Timer1.isActive());
  }
  dialogs.shown.clear();
  g->TxtMax->setText(QStringLiteral("1000"));
  g->TxtMin->setText(QStringLiteral("100"));
  g->TxtCounts->setText(QStringLiteral("1200"));
  g->CmdOK->click();
  EXPECT_EQ(g->graph().UpperLimit, 1000);
  EXPECT_EQ(g->graph().LowerLimit, 100);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(g->PMessage->isVisible());
  EXPECT_TRUE(g->Timer1.isActive());
  EXPECT_FLOAT_EQ(g->graph().StepWidth, 0.5f);
  EXPECT_FLOAT_EQ(g->graph().SweepPos, -0.5f);
}

// Cancel, or Escape in a field, leaves the panel with nothing stored; the sweep goes on where
// it paused.
TEST_F(RealTimeGraphTest, CancelLeavesTheLimitsAsTheyWereAndResumesTheSweep) {
  RealTimeGraph* g = OpenGraph();
  for (const bool byEscape : {false, true}) {
    g->Timer1Tick();
    const float at = g->graph().SweepPos;
    g->toolbarAction(QStringLiteral("Limit"))->trigger();
    g->TxtMax->setText(QStringLiteral("500"));
    g->TxtCounts->setText(QStringLiteral("1200"));
    if (byEscape) {
      Type(g->TxtCounts, Qt::Key_Escape);
    } else {
      g->CmdCancel->click();
    }
    EXPECT_FALSE(g->PMessage->isVisible()) << byEscape;
    EXPECT_TRUE(g->Timer1.isActive()) << byEscape;
    EXPECT_EQ(g->graph().UpperLimit, 10000) << byEscape;
    EXPECT_FLOAT_EQ(g->graph().StepWidth, 1.0f) << byEscape;
    EXPECT_FLOAT_EQ(g->graph().SweepPos, at) << byEscape;
    EXPECT_TRUE(dialogs.shown.empty());
  }
}

// The fields drop keys they do not take; Enter walks down the panel and applies from Counts.
TEST_F(RealTimeGraphTest, EntryFieldsDropKeysTheyDoNotTakeAndEnterWalksDownThePanel) {
  RealTimeGraph* g = OpenGraph();
  g->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(g));
  g->toolbarAction(QStringLiteral("Limit"))->trigger();
  EXPECT_TRUE(g->TxtMax->hasFocus());
  for (QLineEdit* f : {g->TxtMax, g->TxtMin, g->TxtCounts}) f->clear();
  QTest::keyClicks(g->TxtMax, QStringLiteral("a1-2.5x,"));
  QTest::keyClicks(g->TxtMin, QStringLiteral("-0.5e"));
  QTest::keyClicks(g->TxtCounts, QStringLiteral("1-2.0a0"));
  EXPECT_EQ(Fields(*g), QStringList({"1-2.5", "-0.5", "1200"}));
  Type(g->TxtCounts, Qt::Key_Backspace);
  EXPECT_EQ(g->TxtCounts->text(), QStringLiteral("120"));

  g->TxtMax->setText(QStringLiteral("10000"));
  g->TxtMin->setText(QStringLiteral("0"));
  Type(g->TxtMax, Qt::Key_Return);
  EXPECT_TRUE(g->TxtMin->hasFocus());
  Type(g->TxtMin, Qt::Key_Enter);
  EXPECT_TRUE(g->TxtCounts->hasFocus());
  g->TxtCounts->setText(QStringLiteral("60"));
  Type(g->TxtCounts, Qt::Key_Return);
  EXPECT_FALSE(g->PMessage->isVisible());
  EXPECT_FLOAT_EQ(g->graph().StepWidth, 10.0f);
}

}  // namespace
}  // namespace solardesk
