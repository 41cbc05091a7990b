#include "SweepLimits.h"

#include <cmath>

#include "NumberText.h"

namespace solardesk {

LimitTexts LimitsForEditing(const SweepGraph& graph) {
  LimitTexts t;
  t.max = PlainNumberText(graph.UpperLimit);
  t.min = PlainNumberText(graph.LowerLimit);
  const double points = graph.StepWidth != 0 ? graph.PlotWidth / graph.StepWidth : 0.0;
  t.counts = PlainNumberText(std::nearbyint(points));
  return t;
}

LimitsVerdict ApplyLimits(const LimitTexts& texts, SweepGraph& graph) {
  const double max = LeadingNumber(texts.max);
  const double min = LeadingNumber(texts.min);
  const double counts = LeadingNumber(texts.counts);
  if (max > 10000 || min < 0 || max <= min) return LimitsVerdict::ValueRefused;
  graph.UpperLimit = max;
  graph.LowerLimit = min;
  if (counts > 864000 || counts < 10) return LimitsVerdict::CountsRefused;
  graph.StepWidth = static_cast<float>(graph.PlotWidth / counts);
  return LimitsVerdict::Accepted;
}

bool LimitKeyAllowed(LimitField field, QChar key) {
  if (key.isDigit() && key.unicode() < 128) return true;
  if (key == QLatin1Char('\b') || key == QLatin1Char('\r')) return true;
  if (field == LimitField::Counts) return false;
  return key == QLatin1Char('-') || key == QLatin1Char('.');
}

EnterStep EnterIn(LimitField field) {
  switch (field) {
    case LimitField::Max:
      return EnterStep::FocusMin;
    case LimitField::Min:
      return EnterStep::FocusCounts;
    case LimitField::Counts:
      break;
  }
  return EnterStep::Apply;
}

}  // namespace solardesk
