#include "ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace solardesk {
namespace {

constexpr int kSize = 24;

void DrawSave(QPainter& p) {  // a floppy disk
  p.setBrush(QColor(40, 90, 170));
  p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(7, 4, 10, 6));
  p.setBrush(QColor(220, 220, 220));
  p.drawRect(QRectF(6, 13, 12, 7));
}

void DrawStop(QPainter& p) {  // recording: a red dot in a square
  p.setBrush(QColor(60, 60, 60));
  p.drawRoundedRect(QRectF(3, 3, 18, 18), 3, 3);
  p.setBrush(QColor(230, 30, 30));
  p.drawEllipse(QRectF(7, 7, 10, 10));
}

void DrawOpen(QPainter& p) {  // an open folder
  p.setBrush(QColor(230, 180, 60));
  p.drawPolygon(QPolygonF({{2, 6}, {9, 6}, {11, 8}, {20, 8}, {20, 19}, {2, 19}}));
  p.setBrush(QColor(250, 210, 100));
  p.drawPolygon(QPolygonF({{5, 11}, {23, 11}, {20, 19}, {2, 19}}));
}

void DrawInterval(QPainter& p) {  // a stopwatch
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(4, 6, 16, 16));
  p.drawRect(QRectF(10, 2, 4, 3));
  p.drawLine(QPointF(12, 14), QPointF(12, 9));
  p.drawLine(QPointF(12, 14), QPointF(16, 14));
}

void DrawList(QPainter& p) {  // lines of a list
  p.setBrush(Qt::white);
  p.drawRect(QRectF(3, 3, 18, 18));
  for (int y = 7; y <= 17; y += 4) p.drawLine(QPointF(6, y), QPointF(18, y));
}

void DrawGraph(QPainter& p) {  // a curve over axes
  p.drawLine(QPointF(3, 3), QPointF(3, 21));
  p.drawLine(QPointF(3, 21), QPointF(21, 21));
  p.setPen(QPen(QColor(0, 0, 255), 2));
  p.drawPolyline(QPolygonF({{4, 18}, {8, 12}, {12, 14}, {16, 6}, {21, 9}}));
}

void DrawClock(QPainter& p) {  // a clock face
  p.setBrush(QColor(255, 250, 220));
  p.drawEllipse(QRectF(3, 3, 18, 18));
  p.drawLine(QPointF(12, 12), QPointF(12, 6));
  p.drawLine(QPointF(12, 12), QPointF(17, 14));
}

void DrawSetUp(QPainter& p) {  // three sliders
  for (int i = 0; i < 3; ++i) {
    const double x = 6 + 6 * i;
    p.drawLine(QPointF(x, 3), QPointF(x, 21));
    p.setBrush(QColor(255, 128, 0));
    p.drawRect(QRectF(x - 2.5, 6 + 5 * ((i * 2) % 3), 5, 4));
  }
}

void DrawLogger(QPainter& p) {  // a memory card
  p.setBrush(QColor(60, 130, 60));
  p.drawPolygon(QPolygonF({{5, 2}, {16, 2}, {20, 6}, {20, 22}, {5, 22}}));
  p.setBrush(QColor(240, 200, 60));
  for (int i = 0; i < 4; ++i) p.drawRect(QRectF(7 + 3 * i, 4, 2, 5));
}

void DrawErase(QPainter& p) {  // the memory card crossed out
  DrawLogger(p);
  p.setPen(QPen(QColor(220, 20, 20), 3));
  p.drawLine(QPointF(4, 4), QPointF(21, 21));
  p.drawLine(QPointF(21, 4), QPointF(4, 21));
}

void DrawPrint(QPainter& p) {  // a printer
  p.setBrush(Qt::white);
  p.drawRect(QRectF(7, 3, 10, 7));
  p.setBrush(QColor(150, 150, 150));
  p.drawRoundedRect(QRectF(3, 9, 18, 9), 2, 2);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(7, 15, 10, 7));
}

void DrawPrintPreview(QPainter& p) {  // a printed page under a magnifying glass
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 2, 13, 18));
  for (int i = 0; i < 4; ++i) p.drawLine(QPointF(6, 5 + 3 * i), QPointF(15, 5 + 3 * i));
  p.setBrush(QColor(200, 230, 255));
  p.drawEllipse(QPointF(15, 15), 4.5, 4.5);
  p.setPen(QPen(QColor(30, 30, 30), 2.4));
  p.drawLine(QPointF(18.2, 18.2), QPointF(22, 22));
}

void DrawLimit(QPainter& p) {  // arrows between two limits
  p.drawLine(QPointF(3, 4), QPointF(21, 4));
  p.drawLine(QPointF(3, 20), QPointF(21, 20));
  p.drawLine(QPointF(12, 7), QPointF(12, 17));
  p.drawPolyline(QPolygonF({{9, 10}, {12, 7}, {15, 10}}));
  p.drawPolyline(QPolygonF({{9, 14}, {12, 17}, {15, 14}}));
}

void DrawStatistics(QPainter& p) {  // bars of daily energy
  p.drawLine(QPointF(3, 21), QPointF(21, 21));
  p.setBrush(QColor(240, 170, 20));
  const double heights[] = {8, 14, 11, 17};
  for (int i = 0; i < 4; ++i) p.drawRect(QRectF(4 + 4.5 * i, 21 - heights[i], 3.5, heights[i]));
}

void DrawExportCsv(QPainter& p) {  // a sheet of cells with an arrow leaving it
  p.setBrush(Qt::white);
  p.drawRect(QRectF(3, 3, 13, 18));
  for (int y = 8; y <= 16; y += 4) p.drawLine(QPointF(3, y), QPointF(16, y));
  p.drawLine(QPointF(9.5, 3), QPointF(9.5, 21));
  p.setPen(QPen(QColor(20, 140, 40), 2));
  p.drawLine(QPointF(12, 14), QPointF(22, 14));
  p.drawPolyline(QPolygonF({{18, 10}, {22, 14}, {18, 18}}));
}

}  // namespace

QIcon ToolbarIcon(const QString& key) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(30, 30, 30), 1.4));
  if (key == QLatin1String("Save"))
    DrawSave(p);
  else if (key == QLatin1String("Stop"))
    DrawStop(p);
  else if (key == QLatin1String("Open"))
    DrawOpen(p);
  else if (key == QLatin1String("Interval"))
    DrawInterval(p);
  else if (key == QLatin1String("List"))
    DrawList(p);
  else if (key == QLatin1String("Graph") || key == QLatin1String("Plot"))
    DrawGraph(p);
  else if (key == QLatin1String("RTC"))
    DrawClock(p);
  else if (key == QLatin1String("Set"))
    DrawSetUp(p);
  else if (key == QLatin1String("Logger"))
    DrawLogger(p);
  else if (key == QLatin1String("Erase"))
    DrawErase(p);
  else if (key == QLatin1String("Print"))
    DrawPrint(p);
  else if (key == QLatin1String("Print Preview"))
    DrawPrintPreview(p);
  else if (key == QLatin1String("Limit"))
    DrawLimit(p);
  else if (key == QLatin1String("Statistics"))
    DrawStatistics(p);
  else if (key == QLatin1String("Export CSV"))
    DrawExportCsv(p);
  return QIcon(pixmap);
}

}  // namespace solardesk
