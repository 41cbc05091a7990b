#include "SweepGraph.h"

#include <cmath>

#include "NumberText.h"

namespace solardesk {

SweepLayout SweepLayout::For(int areaWidth, int areaHeight) {
  SweepLayout l;
  const int w = areaWidth - 60;
  l.PlotWidth = static_cast<float>(w - (w % 30));
  l.PlotHeight = static_cast<float>(areaHeight - 100);
  l.PlotBottom = static_cast<float>(areaHeight - 27);
  return l;
}

void SweepGraph::Layout(int areaWidth, int areaHeight, const QString& graphUnit,
                        const QLocale& locale, SweepCanvas& canvas) {
  canvas.clear();
  static_cast<SweepLayout&>(*this) = SweepLayout::For(areaWidth, areaHeight);

  const float left = static_cast<float>(PlotLeft);
  canvas.line({left - 2, PlotBottom + 5}, {left - 2, PlotBottom - PlotHeight - 5}, Ink::Black, 2,
              Stroke::Solid);
  DrawHorizontalAxis(canvas);

  for (int i = 0; i <= 16; ++i) {
    const float y = PlotBottom - static_cast<float>(i) * PlotHeight / 16;
    const float reach = i % 2 == 0 ? 10 : 7;
    canvas.line({left - 2, y}, {left - reach, y}, Ink::Black, 1, Stroke::Solid);
  }
  for (int i = 0; i <= 8; ++i) {
    const QString label = AxisLabelText(LowerLimit + (UpperLimit - LowerLimit) * i / 8, locale);
    const double x = left - 40 - canvas.textWidth(label) / 4;
    const double y = PlotBottom - canvas.textHeight() / 2 - i * PlotHeight / 8;
    canvas.text({x, y}, label, Ink::Black);
  }
  canvas.fill(QRectF(QPointF(left, PlotBottom), QPointF(left + PlotWidth, PlotBottom - PlotHeight))
                  .normalized(),
              Ink::White);

  PrevPointX = PrevPointY = 0;
  SweepPos = -StepWidth;  // the first tick starts a sweep at 0
  canvas.text({left - 40, PlotBottom - PlotHeight - 30}, graphUnit, Ink::Black);
}

void SweepGraph::DrawHorizontalAxis(SweepCanvas& canvas) const {
  const float left = static_cast<float>(PlotLeft);
  canvas.line({left - 2, PlotBottom + 6}, {left + PlotWidth + 2, PlotBottom + 6}, Ink::Black, 2,
              Stroke::Solid);
}

// Wipes the old curve and its time labels and draws the grid again.
void SweepGraph::StartSweep(SweepCanvas& canvas) const {
  const float left = static_cast<float>(PlotLeft);
  canvas.fill(
      QRectF(QPointF(left, PlotBottom + 50), QPointF(left + PlotWidth, PlotBottom - PlotHeight - 8))
          .normalized(),
      Ink::White);
  const float middle = PlotBottom - PlotHeight / 2;
  canvas.line({left - 2, middle}, {left + PlotWidth + 2, middle}, Ink::Grey, 1, Stroke::Solid);
  DrawHorizontalAxis(canvas);
  for (int k : {0, 1, 7, 6, 5, 8, 3, 2}) {
    const float y = PlotBottom - static_cast<float>(k) * PlotHeight / 8;
    canvas.line({left, y}, {left + PlotWidth, y}, Ink::Grey, 1, Stroke::Dotted);
  }
}

void SweepGraph::TimeMark(float x, const QTime& timeOfDay, SweepCanvas& canvas) {
  canvas.line({x, PlotBottom}, {x, PlotBottom - PlotHeight - 10}, Ink::Grey, 1, Stroke::Dotted);
  TimeLabel = timeOfDay.toString(QStringLiteral("hh:mm:ss"));
  const double w = canvas.textWidth(TimeLabel);
  canvas.fill(QRectF(QPointF(x - w / 2, PlotBottom + 10), QPointF(x + w / 2, PlotBottom + 20)),
              Ink::White);
  canvas.text({x - 5 - w / 2, PlotBottom + 10}, TimeLabel, Ink::Black);
}

float SweepGraph::HeightFor(double value) const {
  if (value > UpperLimit) return PlotHeight + 5;
  if (value < LowerLimit) return -3;
  return static_cast<float>(PlotHeight * (value - LowerLimit) / (UpperLimit - LowerLimit));
}

SweepGraph::TickResult SweepGraph::Tick(const QString& readingText, const QString& readingUnit,
                                        const QString& graphUnit, const QTime& timeOfDay,
                                        SweepCanvas& canvas) {
  SweepPos += StepWidth;
  if (readingUnit != graphUnit) return TickResult::UnitChanged;

  const float left = static_cast<float>(PlotLeft);
  if (SweepPos >= PlotWidth) {
    TimeMark(left + SweepPos, timeOfDay, canvas);
    SweepPos = 0;
  }
  if (SweepPos == 0) StartSweep(canvas);

  // Halves go to the even neighbour, so a sweep at 30.5 pixels counts as 30.
  const long n = std::lrint(SweepPos);
  if (n % 60 == 0) {
    TimeMark(left + SweepPos, timeOfDay, canvas);
  } else if (n % 30 == 0) {
    const float x = left + SweepPos;
    canvas.line({x, PlotBottom - 3.8f * PlotHeight / 8}, {x, PlotBottom - 4.2f * PlotHeight / 8},
                Ink::Grey, 1, Stroke::Solid);
  }

  const float h = HeightFor(LeadingNumber(readingText));
  const QPointF point(left + SweepPos, PlotBottom - h);
  if (PrevPointX != 0 && SweepPos != 0) {
    canvas.line({PrevPointX, PrevPointY}, point, Ink::Blue, 1, Stroke::Solid);
  }
  PrevPointY = PlotBottom - h;
  PrevPointX = left + SweepPos;
  return TickResult::Drawn;
}

}  // namespace solardesk
