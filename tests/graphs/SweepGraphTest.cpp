#include <gtest/gtest.h>

#include "RecordingCanvas.h"
#include "graphs/logic/SweepGraph.h"

namespace solardesk {
namespace {

using testing::RecordingCanvas;

const QString kWatts = QStringLiteral("W/(M)2");
const QTime kNoon(12, 0, 0);

// Room for the title and time labels; the plot takes whole 30-pixel divisions.
TEST(SweepLayout, PlotWidthIsAWholeNumberOfThirtyPixelDivisions) {
  const SweepLayout l = SweepLayout::For(660, 400);
  EXPECT_EQ(l.PlotLeft, 60);
  EXPECT_EQ(l.PlotHeight, 300);
  EXPECT_EQ(l.PlotBottom, 373);
  const std::pair<int, float> cases[] = {{660, 600}, {689, 600}, {690, 630}, {90, 30}, {89, 0}};
  for (const auto& [area, plot] : cases)
    EXPECT_EQ(SweepLayout::For(area, 400).PlotWidth, plot) << area;
}

class SweepGraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    graph.Layout(660, 400, kWatts, QLocale::c(), canvas);
    canvas.forget();
  }
  // One tick with the reading; returns the blue segments it drew.
  std::vector<RecordingCanvas::Line> TickWith(const QString& reading) {
    canvas.forget();
    EXPECT_EQ(graph.Tick(reading, kWatts, kWatts, kNoon, canvas), SweepGraph::TickResult::Drawn);
    return canvas.linesOf(Ink::Blue);
  }

  SweepGraph graph;
  RecordingCanvas canvas;
};

TEST_F(SweepGraphTest, LayoutLabelsTheAxisInEighthsOfTheLimitsAndRestartsTheSweep) {
  RecordingCanvas c;
  graph.Layout(660, 400, kWatts, QLocale(QLocale::German, QLocale::Germany), c);
  EXPECT_EQ(c.clears, 1);
  QStringList labels;
  for (const auto& t : c.texts) labels << t.text;
  EXPECT_EQ(labels, (QStringList{"0.0", "1250.0", "2500.0", "3750.0", "5000.0", "6250.0", "7500.0",
                                 "8750.0", "10000.0", kWatts}));
  // The label of 0 is centred on the baseline, the unit title sits above the plot.
  EXPECT_EQ(c.texts[0].topLeft, QPointF(60 - 40 - 3 * 8 / 4.0, 373 - 6));
  EXPECT_EQ(c.texts[8].topLeft.y(), 373 - 6 - 300);
  EXPECT_EQ(c.texts[9].topLeft, QPointF(20, 373 - 300 - 30));
  // A new layout restarts the sweep.
  TickWith(QStringLiteral("1"));
  TickWith(QStringLiteral("1"));
  graph.StepWidth = 0.5f;
  graph.Layout(690, 500, kWatts, QLocale::c(), canvas);
  EXPECT_EQ(graph.SweepPos, -0.5f);
  EXPECT_EQ(graph.PrevPointX, 0);
  EXPECT_EQ(graph.PlotHeight, 400);
}

TEST_F(SweepGraphTest, HeightsFollowTheLimitsAndStopJustBeyondThePlot) {
  graph.UpperLimit = 1000;
  graph.LowerLimit = 100;
  const struct {
    double value;
    float height;
  } cases[] = {{1000, 300}, {100, 0}, {550, 150}, {1000.5, 305}, {99.9, -3}, {20000, 305}};
  for (const auto& c : cases) EXPECT_FLOAT_EQ(graph.HeightFor(c.value), c.height) << c.value;
  TickWith(QStringLiteral("500"));  // drawn just outside the plot; not a number counts as 0
  EXPECT_EQ(TickWith(QStringLiteral("2000"))[0].to.y(), 373 - 305);
  EXPECT_EQ(TickWith(QStringLiteral("50"))[0].to.y(), 373 + 3);
  EXPECT_EQ(TickWith(QStringLiteral("----"))[0].to.y(), 373 + 3);
}

TEST_F(SweepGraphTest, PointsJoinWithinASweepButNotAcrossSweeps) {
  graph.StepWidth = 60;  // ten points a sweep
  graph.SweepPos = -60;
  EXPECT_TRUE(TickWith(QStringLiteral("5000")).empty());  // first point of the first sweep
  auto segment = TickWith(QStringLiteral("2000"));
  ASSERT_EQ(segment.size(), 1u);
  EXPECT_EQ(segment[0].from, QPointF(60, 373 - 150));
  EXPECT_EQ(segment[0].to, QPointF(120, 373 - 60));
  for (int i = 2; i < 10; ++i) EXPECT_EQ(TickWith(QStringLiteral("2000")).size(), 1u);
  // The eleventh tick reaches the right edge: a new sweep begins at the left, unjoined.
  EXPECT_TRUE(TickWith(QStringLiteral("2000")).empty());
  EXPECT_EQ(graph.SweepPos, 0);
  EXPECT_EQ(graph.PrevPointX, 60);
}

TEST_F(SweepGraphTest, ASweepStartsByWipingThePlotThenTimeMarksEverySixtyPixels) {
  TickWith(QStringLiteral("1"));
  ASSERT_FALSE(canvas.fills.empty());
  EXPECT_EQ(canvas.fills[0].rect, QRectF(QPointF(60, 373 - 300 - 8), QPointF(660, 373 + 50)));
  // Middle line and the seven dotted grid lines.
  EXPECT_EQ(canvas.lines[0].from, QPointF(58, 373 - 150));
  int dotted = 0;
  for (const auto& l : canvas.lines) dotted += l.stroke == Stroke::Dotted && l.from.y() == l.to.y();
  EXPECT_EQ(dotted, 8);
  // The start of a sweep is a whole minute: a time mark with the time of day.
  ASSERT_EQ(canvas.texts.size(), 1u);
  EXPECT_EQ(canvas.texts[0].text, QStringLiteral("12:00:00"));
  EXPECT_EQ(graph.TimeLabel, QStringLiteral("12:00:00"));
  // Time marks every sixty pixels, short ticks at thirty.
  graph.StepWidth = 0.5f;
  graph.SweepPos = 0;
  const struct {
    float before;  // SweepPos before the tick
    bool timeMark;
    bool shortTick;
  } cases[] = {
      // Positions are rounded with halves to the even neighbour.
      {28.5f, false, false},  // 29
      {29, false, true},      // 29.5 counts as 30
      {30, false, true},      // 30.5 counts as 30
      {31, false, false},     // 31.5 counts as 32
      {59.5f, true, false},   // 60
      {90, false, true},      // 90.5 counts as 90
  };
  for (const auto& c : cases) {
    graph.SweepPos = c.before;
    TickWith(QStringLiteral("1"));
    EXPECT_EQ(!canvas.texts.empty(), c.timeMark) << c.before;
    bool shortTick = false;
    for (const auto& l : canvas.lines) {
      shortTick |= l.ink == Ink::Grey && l.stroke == Stroke::Solid && l.from.x() == l.to.x();
    }
    EXPECT_EQ(shortTick, c.shortTick) << c.before;
  }
}

TEST_F(SweepGraphTest, AChangedUnitDrawsNothing) {
  canvas.forget();
  EXPECT_EQ(graph.Tick(QStringLiteral("5"), QStringLiteral("Btu/(ft)2.h"), kWatts, kNoon, canvas),
            SweepGraph::TickResult::UnitChanged);
  EXPECT_TRUE(canvas.lines.empty());
  EXPECT_TRUE(canvas.fills.empty());
  EXPECT_EQ(graph.Tick(QStringLiteral("5"), QString(), kWatts, kNoon, canvas),
            SweepGraph::TickResult::UnitChanged);
}

}  // namespace
}  // namespace solardesk
