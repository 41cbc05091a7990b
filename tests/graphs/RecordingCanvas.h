#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

#include "graphs/logic/SweepCanvas.h"

namespace solardesk::testing {

// A canvas that keeps every call, with text 8 pixels per character and 12 pixels high.
class RecordingCanvas final : public SweepCanvas {
 public:
  struct Line {
    QPointF from, to;
    Ink ink;
    int width;
    Stroke stroke;
  };
  struct Fill {
    QRectF rect;
    Ink ink;
  };
  struct Text {
    QPointF topLeft;
    QString text;
  };
  int clears = 0;
  std::vector<Line> lines;
  std::vector<Fill> fills;
  std::vector<Text> texts;

  void clear() override { ++clears; }
  void line(QPointF from, QPointF to, Ink ink, int width, Stroke stroke) override {
    lines.push_back({from, to, ink, width, stroke});
  }
  void fill(const QRectF& rect, Ink ink) override { fills.push_back({rect, ink}); }
  void text(QPointF topLeft, const QString& t, Ink) override { texts.push_back({topLeft, t}); }
  double textWidth(const QString& t) const override { return 8.0 * t.size(); }
  double textHeight() const override { return 12.0; }

  void forget() {
    clears = 0;
    lines.clear();
    fills.clear();
    texts.clear();
  }
  std::vector<Line> linesOf(Ink ink) const {
    std::vector<Line> r;
    for (const auto& l : lines) {
      if (l.ink == ink) r.push_back(l);
    }
    return r;
  }
};

}  // namespace solardesk::testing
