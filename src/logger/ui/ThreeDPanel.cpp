#include "ThreeDPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace solardesk {

ThreeDPanel::ThreeDPanel(const QString& caption, QWidget* parent)
    : QFrame(parent), caption_(caption), flood_(Qt::blue), background_(Qt::white) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
}

void ThreeDPanel::setFloodPercent(int percent) {
  floodPercent_ = percent < 0 ? -1 : std::min(percent, 100);
  update();
}

void ThreeDPanel::setColors(const QColor& flood, const QColor& background) {
  flood_ = flood;
  background_ = background;
  update();
}

void ThreeDPanel::paintEvent(QPaintEvent* e) {
  {
    QPainter p(this);
    const QRect inside = contentsRect();
    QRect filled = inside;
    filled.setWidth(floodPercent_ > 0 ? inside.width() * floodPercent_ / 100 : 0);
    p.fillRect(inside, background_);
    p.fillRect(filled, flood_);
    // The caption with the percentage below it, white over the fill and black beside it.
    QString text = caption_;
    if (floodPercent_ >= 0) text += QStringLiteral("\n%1%").arg(floodPercent_);
    p.setClipRect(filled);
    p.setPen(Qt::white);
    p.drawText(inside, Qt::AlignCenter, text);
    p.setClipRect(inside.adjusted(filled.width(), 0, 0, 0));
    p.setPen(Qt::black);
    p.drawText(inside, Qt::AlignCenter, text);
  }
  QFrame::paintEvent(e);
}

void ThreeDPanel::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
  QFrame::mouseReleaseEvent(e);
}

}  // namespace solardesk
