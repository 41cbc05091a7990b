#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

#include "SweepCanvas.h"

namespace solardesk {

// Where the plot lies in a drawing area: 60 pixels of margin on the left, 100 pixels of the
// height kept for the title and the time labels, and a width that is a whole number of
// 30-pixel divisions so that the time marks fall on pixels.
struct SweepLayout {
  int PlotLeft = 60;
  float PlotWidth = 0;
  float PlotHeight = 0;
  float PlotBottom = 0;

  static SweepLayout For(int areaWidth, int areaHeight);
};

// The live sweep graph: a chart recorder that draws one point of the current reading per tick
// from left to right and wipes the plot at the start of every sweep. It keeps no readings, only
// the position of the sweep and of the last point.
class SweepGraph : public SweepLayout {
 public:
  double UpperLimit = 10000;
  double LowerLimit = 0;
  float StepWidth = 1.0f;  // pixels per tick
  float SweepPos = 0;      // pixels right of PlotLeft
  float PrevPointX = 0;    // 0: no previous point to join
  float PrevPointY = 0;
  QString TimeLabel;

  // Clears the picture and draws the axes, ticks, labels and unit title for a drawing area of
  // this size; the next tick starts a new sweep.
  void Layout(int areaWidth, int areaHeight, const QString& graphUnit, const QLocale& locale,
              SweepCanvas& canvas);

  enum class TickResult { Drawn, UnitChanged };
  // One tick: advances the sweep and draws the reading's point. A reading unit that differs from
  // the graph's unit draws nothing and is reported, so that the window closes.
  TickResult Tick(const QString& readingText, const QString& readingUnit, const QString& graphUnit,
                  const QTime& timeOfDay, SweepCanvas& canvas);

  // Pixels above the baseline at which a value is drawn; values beyond the limits are drawn
  // just above the top or just below the baseline.
  float HeightFor(double value) const;

 private:
  void DrawHorizontalAxis(SweepCanvas& canvas) const;
  void StartSweep(SweepCanvas& canvas) const;
  void TimeMark(float x, const QTime& timeOfDay, SweepCanvas& canvas);
};

}  // namespace solardesk
