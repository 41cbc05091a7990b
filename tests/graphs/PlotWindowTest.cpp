#include <qcustomplot.h>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTest>

#include "AppFixture.h"
#include "support/CommaDecimalLocale.h"
#include "support/PdfText.h"

namespace solardesk {
namespace {

std::vector<float> Ramp(int n) {
  std::vector<float> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = static_cast<float>(i % 10000);
  return v;
}

class PlotWindowTest : public testing::AppFixture {
 protected:
  Plot* PlotSeries(int n, const QString& unit = kUnitWatts) {
    app.plotSeries(Ramp(n), n, unit);
    Plot* p = app.plotWindow();
    if (p != nullptr) p->CWGraph1->replot();  // lays out the axis rect for pixel conversions
    return p;
  }
  static void ExpectRanges(const Plot& p, PlotRanges r) {
    const PlotRanges v = p.visibleRanges();
    EXPECT_DOUBLE_EQ(v.x.min, r.x.min);
    EXPECT_DOUBLE_EQ(v.x.max, r.x.max);
    EXPECT_DOUBLE_EQ(v.y.min, r.y.min);
    EXPECT_DOUBLE_EQ(v.y.max, r.y.max);
  }
  // A left-button drag across the graph, from one plot coordinate to another.
  static void Drag(Plot& p, QPointF from, QPointF to) {
    QCustomPlot* g = p.CWGraph1;
    auto pixel = [g](QPointF c) {
      return QPointF(g->xAxis->coordToPixel(c.x()), g->yAxis->coordToPixel(c.y()));
    };
    const QPointF a = pixel(from);
    const QPointF b = pixel(to);
    const QPointF global = g->mapToGlobal(QPoint(0, 0));
    QMouseEvent press(QEvent::MouseButtonPress, a, a + global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, b, b + global, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, b, b + global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(g, &press);
    QCoreApplication::sendEvent(g, &move);
    QCoreApplication::sendEvent(g, &release);
  }
  static void Choose(Plot& p, const char* mode) {
    p.Combo1->setCurrentIndex(p.Combo1->findText(QString::fromLatin1(mode)));
  }
};

TEST_F(PlotWindowTest, ASeriesIsPlottedAgainstItsRecordNumbers) {
  Plot* p = PlotSeries(1200);
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->isVisible());
  EXPECT_EQ(p->windowTitle(), QStringLiteral("Plot"));
  ExpectRanges(*p, {{1, 1200}, {0, 10000}});
  EXPECT_EQ(QStringList({p->AxisMin[1]->text(), p->AxisMax[1]->text(), p->AxisMin[2]->text(),
                         p->AxisMax[2]->text(), p->CWGraph1->xAxis->label()}),
            QStringList({"1", "1200", "0", "10000", "No.s"}));
  EXPECT_EQ(p->CWGraph1->yAxis->label(), kUnitWatts);
  // Drawn from X 1 to the last value, the highest included (a long series is drawn as the
  // lowest and highest value of short runs).
  auto data = p->CWGraph1->graph(0)->data();
  ASSERT_GT(data->size(), 0);
  EXPECT_EQ(data->at(0)->key, 1);
  EXPECT_EQ(data->at(data->size() - 1)->key, 1200);
  EXPECT_EQ(data->at(data->size() - 1)->value, 1199);
  const QRect main = app.panel().frameGeometry();
  // Beside the main window, as far as the screen lets it.
  const QRect area = p->screen()->availableGeometry();
  EXPECT_EQ(p->frameGeometry().topLeft(),
            QPoint(std::max(area.left(), std::min(main.x() + main.width(),
                                                  area.right() + 1 - p->frameGeometry().width())),
                   main.y()));

  // A later series replaces the data but keeps the title, the mode and the window.
  Choose(*p, "PanX");
  EXPECT_EQ(PlotSeries(10, kUnitBtu), p);
  EXPECT_EQ(p->CWGraph1->graph(0)->data()->size(), 10);
  ExpectRanges(*p, {{1, 10}, {0, 10000}});
  EXPECT_EQ(p->CWGraph1->yAxis->label(), kUnitWatts);
  EXPECT_EQ(p->Combo1->currentText(), QStringLiteral("PanX"));
}

TEST_F(PlotWindowTest, AnEmptySeriesShowsAnEmptyPlotFromOneToOneAndOneRecordItsPoint) {
  Plot* p = PlotSeries(0);
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(p->CWGraph1->graph(0)->data()->size(), 0);
  EXPECT_EQ(p->AxisMin[1]->value(), 1);
  EXPECT_EQ(p->AxisMax[1]->value(), 1);
  EXPECT_DOUBLE_EQ(MiddleOf(p->visibleRanges()).x(), 1);  // 1 in the middle of the X axis

  // A file of one record shows its point: a mark in the middle of the X axis.
  app.plotSeries({5000}, 1, kUnitWatts);
  QCustomPlot* g = p->CWGraph1;
  g->replot();
  const PlotRanges v = p->visibleRanges();
  EXPECT_LT(v.x.min, 1);
  EXPECT_GT(v.x.max, 1);
  const QImage picture = g->toPixmap().toImage();
  const QPoint at(qRound(g->xAxis->coordToPixel(1)), qRound(g->yAxis->coordToPixel(5000)));
  int traced = 0;
  for (int dx = -2; dx <= 2; ++dx) {
    for (int dy = -2; dy <= 2; ++dy) {
      const QColor c = picture.pixelColor(at + QPoint(dx, dy));
      traced += c.red() > 200 && c.green() < 140 && c.blue() < 60;  // the trace's orange
    }
  }
  EXPECT_GE(traced, 9);
}

TEST_F(PlotWindowTest, TrackModesSetWhatDraggingDoes) {
  Plot* p = PlotSeries(1200);
  EXPECT_EQ(p->Combo1->count(), 8);
  EXPECT_EQ(p->Combo1->currentText(), QStringLiteral("Normal"));
  EXPECT_EQ(p->txtDescription->toPlainText(), QStringLiteral("Normal mode"));
  const struct {
    const char* mode;
    bool xMoves;
    bool yMoves;
  } cases[] = {
      {"Normal", false, false}, {"Cursor Coordinates", false, false},
      {"PanXY", true, true},    {"PanX", true, false},
      {"PanY", false, true},    {"ZoomXY", true, true},
      {"ZoomX", true, false},   {"ZoomY", false, true},
  };
  for (const auto& c : cases) {
    p->CmdReset->click();
    Choose(*p, c.mode);
    EXPECT_EQ(p->txtDescription->toPlainText(),
              QString::fromLatin1(TrackModeAt(p->Combo1->currentIndex()).help));
    Drag(*p, {300, 3000}, {500, 6000});
    const PlotRanges v = p->visibleRanges();
    EXPECT_EQ(v.x.min != 1 || v.x.max != 1200, c.xMoves) << c.mode;
    EXPECT_EQ(v.y.min != 0 || v.y.max != 10000, c.yMoves) << c.mode;
    if (c.mode == std::string("ZoomXY")) {  // within a pixel of the selection
      EXPECT_NEAR(v.x.min, 300, 3);
      EXPECT_NEAR(v.x.max, 500, 3);
      EXPECT_NEAR(v.y.min, 3000, 40);
      EXPECT_NEAR(v.y.max, 6000, 40);
    }
    EXPECT_EQ(p->cursor(1)->visible(), c.mode == std::string("Cursor Coordinates")) << c.mode;
    EXPECT_FALSE(p->cursor(2)->visible());
  }
}

TEST_F(PlotWindowTest, TheCursorModePutsCursorOneOnTheRecordInTheMiddleOfTheZoomedArea) {
  Plot* p = PlotSeries(1200);
  p->CWGraph1->xAxis->setRange(100, 300);
  p->CWGraph1->yAxis->setRange(200, 400);
  Choose(*p, "Cursor Coordinates");
  EXPECT_TRUE(p->cursor(1)->visible());
  EXPECT_EQ(p->cursor(1)->position->coords(), QPointF(200, 199));  // record 200 holds 199
  EXPECT_EQ(p->XPosition->text(), QStringLiteral("200"));
  EXPECT_EQ(p->YPosition->text(), QStringLiteral("199.0"));
}

// Dragged, cursor 1 stands on the nearest record and reads its number and value; however long
// a read-out, the window keeps its width. Cursor 2 changes nothing.
TEST_F(PlotWindowTest, TheCursorReadsTheNearestRecordAndTheWindowKeepsItsWidth) {
  const std::vector<float> series = {5.9f, 123.456f, 7.6f, 1e20f, 42};
  app.plotSeries(series, 5, kUnitWatts);
  Plot* p = app.plotWindow();
  p->CWGraph1->replot();
  const int width = p->width();
  Choose(*p, "Cursor Coordinates");
  const struct {
    QPointF to;
    QPointF at;
    const char* x;
    const char* y;  // null: too long to show whole
  } cases[] = {
      {{2.3, 9000}, {2, 123.456f}, "2", "123.5"},
      {{0.8, 7000}, {1, 5.9f}, "1", "5.9"},
      {{3.6, 100}, {4, 1e20f}, "4", nullptr},
      {{4.9, 500}, {5, 42}, "5", "42.0"},
  };
  for (const auto& c : cases) {
    Drag(*p, {3, 5000}, c.to);
    EXPECT_EQ(p->cursor(1)->position->coords(), c.at) << c.x;
    EXPECT_EQ(p->XPosition->text(), QString::fromLatin1(c.x));
    if (c.y) {
      EXPECT_EQ(p->YPosition->text(), QString::fromLatin1(c.y));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(p->width(), width) << c.x;
  }
  ExpectRanges(*p, {{1, 5}, {0, 10000}});  // the cursor moved, not the graph
  p->MoveCursor(2, 3, 999);
  EXPECT_EQ(p->XPosition->text(), QStringLiteral("5"));
}

TEST_F(PlotWindowTest, FitSetsBothAxesAroundTheDataAndResetScaleRestoresTheDefaults) {
  app.plotSeries({2, 900, 450}, 3, kUnitWatts);
  Plot* p = app.plotWindow();
  p->CmdFit->click();
  ExpectRanges(*p, {{0.9, 3.1}, {-42.9, 944.9}});
  EXPECT_NEAR(p->AxisMin[2]->value(), -42.9, 1e-9);
  EXPECT_NEAR(p->AxisMax[1]->value(), 3.1, 1e-9);
  p->CmdReset->click();
  ExpectRanges(*p, {{1, 3}, {0, 10000}});
}

TEST_F(PlotWindowTest, TypedRangesApplyAtOnceAndResetScaleUndoesThemAndAPan) {
  Plot* p = PlotSeries(1200);
  p->AxisMax[2]->selectAll();
  QTest::keyClicks(p->AxisMax[2], QStringLiteral("5000"));
  ExpectRanges(*p, {{1, 1200}, {0, 5000}});
  p->AxisMin[1]->setValue(100);
  ExpectRanges(*p, {{100, 1200}, {0, 5000}});
  Choose(*p, "PanXY");
  Drag(*p, {600, 2500}, {300, 1000});
  ASSERT_GT(p->visibleRanges().x.min, 100);
  p->CmdReset->click();
  ExpectRanges(*p, {{1, 1200}, {0, 10000}});
  EXPECT_EQ(p->AxisMax[2]->value(), 10000);
  EXPECT_EQ(p->AxisMin[1]->value(), 1);
}

// On a desktop with the decimal comma the fields show the axes' comma and take it or the point;
// a text they cannot read is refused with a message when the editing ends, never read as
// another number. With the point as decimal sign a comma is refused the same way.
TEST_F(PlotWindowTest, RangeFieldsTakeTheAxesDecimalSignOrThePointAndRefuseTheRest) {
  testing::CommaDecimalLocale comma;
  REQUIRE_COMMA_DECIMAL(comma);
  app.plotSeries({0.2F, 0.7F, 0.4F}, 3, kUnitWatts);
  Plot* p = app.plotWindow();
  ASSERT_NE(p, nullptr);
  p->show();
  RangeField* max = p->AxisMax[2];
  // Typed text, the Y maximum it gives, the field's text once the editing ended, a refusal.
  const std::tuple<const char*, double, const char*, bool> cases[] = {
      {"0,5", 0.5, "0,5", false}, {"1.5", 1.5, "1,5", false}, {"1.000,5", 1.5, "1,5", true},
      {"2e3", 1.5, "1,5", true},  {"abc", 1.5, "1,5", true},  {"12,", 12, "12", false},
  };
  for (const auto& [typed, yMax, shown, refused] : cases) {
    dialogs.shown.clear();
    max->setFocus();
    max->selectAll();
    QTest::keyClicks(max, QString::fromLatin1(typed));
    QTest::keyClick(max, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(p->visibleRanges().y.max, yMax) << typed;
    EXPECT_EQ(max->text(), QString::fromLatin1(shown)) << typed;
    EXPECT_EQ(dialogs.of(QStringLiteral("message")).size(), refused ? 1u : 0u) << typed;
  }
}

// A minimum typed above its maximum leaves the axis as it was and is refused with a message when
// the editing ends; the fields then show the axis again. Another series clears the read-out.
TEST_F(PlotWindowTest, AnInvertedRangeIsRefusedAndANewSeriesClearsTheReadout) {
  Plot* p = PlotSeries(1200);
  p->show();
  RangeField* min = p->AxisMin[2];
  min->setFocus();
  min->selectAll();
  QTest::keyClicks(min, QStringLiteral("20000"));  // "2000" on the way applies at once
  EXPECT_TRUE(dialogs.of(QStringLiteral("message")).empty());
  QTest::keyClick(min, Qt::Key_Return);
  ASSERT_EQ(dialogs.of(QStringLiteral("message")).size(), 1u);
  EXPECT_TRUE(dialogs.of(QStringLiteral("message"))[0].text.startsWith(
      QStringLiteral("The minimum 20000 is above the maximum 10000")));
  ExpectRanges(*p, {{1, 1200}, {0, 10000}});
  EXPECT_EQ(min->text(), QStringLiteral("0"));

  Choose(*p, "Cursor Coordinates");
  ASSERT_FALSE(p->XPosition->text().isEmpty());
  PlotSeries(10);
  EXPECT_EQ(p->XPosition->text(), QString());
  EXPECT_EQ(p->YPosition->text(), QString());
}

// Cancelled, unable to start or printed, the window looks as it did.
TEST_F(PlotWindowTest, PrintGraphPrintsAndEveryOutcomeLeavesTheWindowAsItWas) {
  Plot* p = PlotSeries(1200);
  const QPalette before = p->palette();
  const QString missing = dir.filePath(QStringLiteral("missing-folder/plot.pdf"));
  const QString printed = dir.filePath(QStringLiteral("plot.pdf"));
  dialogs.printerAnswers = {false, true, true};
  for (const QString& pdf : {missing, missing, printed}) {
    dialogs.printToPdf = pdf;
    p->CmdPrint->click();
    EXPECT_TRUE(p->FrmGraphic->isVisible());
    EXPECT_EQ(p->CWGraph1->axisRect()->backgroundBrush().color(), Plot::kPlotAreaColor);
    EXPECT_EQ(p->palette().color(QPalette::Window), before.color(QPalette::Window));
  }
  EXPECT_EQ(dialogs.of("printer").size(), 3u);
  EXPECT_FALSE(QFileInfo::exists(missing));
  EXPECT_GT(QFileInfo(printed).size(), 0);
}

// "Print Preview..." shows over the plot the page "Print Graph" prints, leaves the window as it
// was and prints nothing itself; its "Print" asks for the printer and prints that page.
TEST_F(PlotWindowTest, PrintPreviewShowsThePrintedPageAndPrintsOnRequest) {
  Plot* p = PlotSeries(1200);
  dialogs.previewPdf = dir.filePath(QStringLiteral("preview.pdf"));
  dialogs.previewAnswers = {false, true};
  p->CmdPreview->click();
  ASSERT_EQ(dialogs.of("preview").size(), 1u);
  EXPECT_EQ(dialogs.of("preview")[0].owner, p);
  EXPECT_TRUE(dialogs.of("printer").empty());
  EXPECT_EQ(testing::PdfPageCount(dialogs.previewPdf), 1);
  EXPECT_TRUE(p->FrmGraphic->isVisible());
  EXPECT_EQ(p->CWGraph1->axisRect()->backgroundBrush().color(), Plot::kPlotAreaColor);

  dialogs.printToPdf = dir.filePath(QStringLiteral("plot.pdf"));
  dialogs.printerAnswers = {true};
  p->CmdPreview->click();
  EXPECT_EQ(dialogs.of("printer").size(), 1u);
  EXPECT_EQ(testing::PdfPageCount(dialogs.printToPdf), 1);
}

}  // namespace
}  // namespace solardesk
