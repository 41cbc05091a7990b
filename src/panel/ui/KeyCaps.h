#pragma once

#include <QColor>
#include <QRect>
#include <QRectF>
#include <QString>
#include <array>
#include <vector>

#include "panel/logic/KeyId.h"

namespace solardesk {

struct KeyShape {
  enum class Kind { Rect, Circle, Oval } kind;
  QRectF rect;
};

// A clickable label over a key cap (the controls whose names end in "Btn").
struct KeyLabel {
  QString name;  // "PowerBtn(0)"
  QRect rect;
  QString caption;  // empty for a label that only makes the cap clickable
  QColor textColor;
  QColor background;  // transparent but for HOLD's caption label
};

struct KeyCap {
  KeyId id;
  QString name;                  // "POWER"
  std::vector<KeyShape> shapes;  // the cap: one shape, or an array of two or three
  std::vector<KeyLabel> labels;
  QColor color;   // the cap's own colour
  QColor fill;    // fill colour now (white while held)
  QColor border;  // border colour now
  bool isShapeArray() const { return shapes.size() > 1; }
};

// The keys as the meter picture shows them at start.
std::array<KeyCap, kKeyCount> MakeKeyCaps();

}  // namespace solardesk
