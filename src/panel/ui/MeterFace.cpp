#include "MeterFace.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>

namespace solardesk {
namespace {

const QColor kGlass(178, 196, 164);
const QColor kGhost(166, 184, 152);  // unlit segments show faintly, as on a real LCD
const QColor kInk(34, 40, 36);
const QColor kBodyTop(74, 84, 104);
const QColor kBodyBottom(38, 44, 58);

QPolygonF Horizontal(double y, double x1, double x2, double t) {
  return QPolygonF({{x1, y},
                    {x1 + t / 2, y - t / 2},
                    {x2 - t / 2, y - t / 2},
                    {x2, y},
                    {x2 - t / 2, y + t / 2},
                    {x1 + t / 2, y + t / 2}});
}

QPolygonF Vertical(double x, double y1, double y2, double t) {
  return QPolygonF({{x, y1},
                    {x + t / 2, y1 + t / 2},
                    {x + t / 2, y2 - t / 2},
                    {x, y2},
                    {x - t / 2, y2 - t / 2},
                    {x - t / 2, y1 + t / 2}});
}

// The outline of segment `seg` (1..7, a..g) of a digit drawn at its place.
QPolygonF SegmentShape(const DigitPlace& place, int seg) {
  const double x0 = place.left + (place.large ? 4 : 5);
  const double w = place.large ? 24 : 14;
  const double y0 = place.top + 2;
  const double h = place.large ? 60 : 28;
  const double t = place.large ? 5 : 3;
  const double g = 1;  // gap between neighbouring segments
  const double ym = y0 + h / 2;
  switch (seg) {
    case 1:
      return Horizontal(y0, x0 + g, x0 + w - g, t);
    case 2:
      return Vertical(x0 + w, y0 + g, ym - g, t);
    case 3:
      return Vertical(x0 + w, ym + g, y0 + h - g, t);
    case 4:
      return Horizontal(y0 + h, x0 + g, x0 + w - g, t);
    case 5:
      return Vertical(x0, ym + g, y0 + h - g, t);
    case 6:
      return Vertical(x0, y0 + g, ym - g, t);
    default:
      return Horizontal(ym, x0 + g, x0 + w - g, t);
  }
}

void DrawDot(QPainter& p, QPointF c, double size) {
  p.drawRect(QRectF(c.x() - size / 2, c.y() - size / 2, size, size));
}

void UseUnitFont(QPainter& p, int pixelSize) {
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(pixelSize);
  p.setFont(f);
  p.setPen(kInk);
}

// The Btu unit reads "Btu/(ft²·h)" as on the meter. Its five annunciators share one stretch of
// the glass: "Btu" up to the slash, the slash before the parenthesis, "ft" and "²" inside it,
// and the parentheses with "·h" drawn by LblSquare; each glyph keeps to its own columns so that
// none merges into the next. Returns false for annunciators that are not part of it.
bool DrawBtuUnitPart(QPainter& p, const AnnunciatorInfo& a) {
  const QRectF r = a.rect;
  const double baseline = r.top() + 18;
  switch (a.id) {
    case Ann::LblBtu:
      UseUnitFont(p, 13);
      p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Btu"));
      return true;
    case Ann::LblBtuSlash:
      p.setPen(QPen(kInk, 1.8));
      p.drawLine(QPointF(r.left(), baseline + 1), QPointF(r.right(), baseline - 12));
      return true;
    case Ann::LblSquare:
      UseUnitFont(p, 13);
      p.drawText(QPointF(r.left() + 8, baseline), QStringLiteral("("));
      p.drawText(QPointF(r.left() + 35, baseline), QStringLiteral("\u00B7h)"));
      return true;
    case Ann::Imaft:
      UseUnitFont(p, 13);
      p.drawText(QPointF(r.left() - 2, r.top() + 22), QStringLiteral("ft"));
      return true;
    case Ann::ImaH3:
      UseUnitFont(p, 9);
      p.drawText(QPointF(r.left() - 4, r.top() + 15), QStringLiteral("2"));
      return true;
    default:
      return false;
  }
}

// The glyph of an image annunciator.
void DrawImage(QPainter& p, const AnnunciatorInfo& a) {
  if (DrawBtuUnitPart(p, a)) return;
  const QRectF r = a.rect;
  const QString name = QString::fromLatin1(a.name);
  p.setPen(QPen(kInk, 1.6));
  p.setBrush(Qt::NoBrush);
  if (name == QLatin1String("ImaDelta")) {
    p.drawPolygon(QPolygonF({{r.center().x(), r.top() + 8},
                             {r.left() + 8, r.bottom() - 10},
                             {r.right() - 8, r.bottom() - 10}}));
  } else if (name == QLatin1String("ImaStart")) {
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({{r.left() + 10, r.top() + 8},
                             {r.left() + 10, r.bottom() - 10},
                             {r.right() - 8, r.center().y() - 1}}));
  } else if (name == QLatin1String("ImaPause")) {
    p.setBrush(kInk);
    p.drawRect(QRectF(r.left() + 9, r.top() + 8, 4, 14));
    p.drawRect(QRectF(r.left() + 18, r.top() + 8, 4, 14));
  } else if (name == QLatin1String("ImaBat")) {
    p.drawRect(QRectF(r.left() + 4, r.top() + 10, 22, 11));
    p.setBrush(kInk);
    p.drawRect(QRectF(r.left() + 26, r.top() + 13, 3, 5));
    p.drawRect(QRectF(r.left() + 6, r.top() + 12, 12, 7));
  } else {
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(13);
    p.setFont(f);
    p.setPen(kInk);
    if (name == QLatin1String("ImaAPO")) {
      p.drawRect(r.adjusted(2, 8, -2, -8));
      f.setPixelSize(9);
      p.setFont(f);
      p.drawText(r, Qt::AlignCenter, QStringLiteral("APO"));
    } else if (name == QLatin1String("ImaM1")) {
      p.drawText(r.adjusted(0, 4, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("/m\u00B2"));
    } else {
      p.drawText(r.adjusted(0, 4, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                 QString::fromLatin1(a.caption));
    }
  }
}

void DrawLabel(QPainter& p, const AnnunciatorInfo& a) {
  if (DrawBtuUnitPart(p, a)) return;
  const QRectF r = a.rect;
  const QString caption = QString::fromLatin1(a.caption);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  if (caption == QLatin1String(".")) {  // decimal points sit at the foot of their digits
    DrawDot(p, {r.center().x(), r.height() > 50 ? r.top() + 45 : r.top() + 29},
            r.width() > 8 ? 5 : 3);
    return;
  }
  if (caption == QLatin1String(":")) {
    DrawDot(p, {r.center().x(), r.top() + 10}, 3);
    DrawDot(p, {r.center().x(), r.top() + 22}, 3);
    return;
  }
  if (caption == QLatin1String("-")) {
    p.drawRect(QRectF(r.left() + 1, r.top() + 15, r.width() - 2, 2.5));
    return;
  }
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(13);
  p.setFont(f);
  p.setPen(kInk);
  p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, caption);
}

}  // namespace

MeterFace::MeterFace(QWidget* parent) : QWidget(parent), keys_(MakeKeyCaps()) {
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void MeterFace::setDisplay(const DisplayFlags& flags) {
  shown_ = flags;
  update(QRect(16, 48, 336, 266));
}

bool MeterFace::segmentVisible(int digit, int segment) const {
  return shown_ ? shown_->segment(digit, segment) : true;
}

bool MeterFace::annunciatorVisible(Ann a) const {
  return shown_ ? shown_->on(a) : true;
}

void MeterFace::setNameCaption(const QString& caption) {
  if (caption == nameCaption_) return;
  nameCaption_ = caption;
  update(NameRect());
}

std::optional<KeyId> MeterFace::keyAt(const QPoint& pos) const {
  for (const KeyCap& k : keys_) {
    for (const KeyLabel& l : k.labels) {
      if (l.rect.contains(pos)) return k.id;
    }
  }
  return std::nullopt;
}

QString MeterFace::toolTipAt(const QPoint& pos) const {
  if (NameRect().contains(pos)) return nameToolTip_;
  const std::optional<KeyId> id = keyAt(pos);
  if (!id) return {};
  const KeyCap& k = key(*id);
  const bool captioned = std::any_of(k.labels.begin(), k.labels.end(),
                                     [](const KeyLabel& l) { return !l.caption.isEmpty(); });
  return captioned ? QString() : k.name;
}

QPoint MeterFace::labelCenter(KeyId id, std::size_t label) const {
  const auto& labels = key(id).labels;
  return labels.at(std::min(label, labels.size() - 1)).rect.center();
}

void MeterFace::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, background());
  p.setRenderHint(QPainter::Antialiasing);
  paintLitSegments(p);
  paintAnnunciators(p);
}

QString MeterFace::backgroundKey() const {
  QString key = nameCaption_;
  for (const KeyCap& k : keys_) key += k.fill.name() + k.border.name();
  return key;
}

const QPixmap& MeterFace::background() {
  const QString key = backgroundKey();
  if (key != backgroundKey_ || background_.size() != size()) {
    background_ = QPixmap(size());
    QPainter p(&background_);
    p.setRenderHint(QPainter::Antialiasing);
    paintBody(p);
    paintGhostSegments(p);
    paintKeys(p);
    backgroundKey_ = key;
  }
  return background_;
}

void MeterFace::paintBody(QPainter& p) const {
  p.fillRect(rect(), palette().window());
  QLinearGradient body(0, 34, 0, kHeight);
  body.setColorAt(0, kBodyTop);
  body.setColorAt(1, kBodyBottom);
  p.setPen(QPen(QColor(20, 24, 30), 2));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(6, 34, 355, 602), 26, 26);
  p.setPen(QPen(QColor(24, 28, 34), 3));
  p.setBrush(kGlass);
  p.drawRoundedRect(QRectF(16, 48, 335, 264), 8, 8);

  QFont f = font();
  f.setBold(true);
  f.setPixelSize(14);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(NameRect(), Qt::AlignCenter, nameCaption_);
}

void MeterFace::paintGhostSegments(QPainter& p) const {
  p.setPen(Qt::NoPen);
  p.setBrush(kGhost);
  for (int d = 1; d <= kDigitCount; ++d) {
    for (int s = 1; s <= kSegmentCount; ++s) p.drawPolygon(SegmentShape(PlaceOfDigit(d), s));
  }
}

void MeterFace::paintLitSegments(QPainter& p) const {
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  for (int d = 1; d <= kDigitCount; ++d) {
    for (int s = 1; s <= kSegmentCount; ++s) {
      if (segmentVisible(d, s)) p.drawPolygon(SegmentShape(PlaceOfDigit(d), s));
    }
  }
}

void MeterFace::paintAnnunciators(QPainter& p) const {
  for (const AnnunciatorInfo& a : Annunciators()) {
    if (!annunciatorVisible(a.id)) continue;
    if (a.isImage) {
      DrawImage(p, a);
    } else {
      DrawLabel(p, a);
    }
  }
}

void MeterFace::paintKeys(QPainter& p) const {
  QFont f = font();
  f.setBold(true);
  f.setPixelSize(10);
  p.setFont(f);
  for (const KeyCap& k : keys_) {
    p.setPen(QPen(k.border, 2));
    p.setBrush(k.fill);
    for (const KeyShape& s : k.shapes) {
      if (s.kind == KeyShape::Kind::Rect) {
        p.drawRect(s.rect);
      } else {
        p.drawEllipse(s.rect);
      }
    }
    for (const KeyLabel& l : k.labels) {
      if (l.caption.isEmpty()) continue;
      if (l.background.alpha() > 0) p.fillRect(l.rect, l.background);
      p.setPen(l.textColor);
      p.drawText(l.rect, Qt::AlignCenter, l.caption);
    }
  }
}

void MeterFace::mousePressEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  if (NameRect().contains(pos)) {
    namePressed_ = true;
    return;
  }
  if (held_) return;  // one key at a time
  held_ = keyAt(pos);
  if (held_) emit keyPressed(*held_, e->button());
}

void MeterFace::mouseReleaseEvent(QMouseEvent* e) {
  if (namePressed_) {
    namePressed_ = false;
    if (NameRect().contains(e->position().toPoint())) emit nameClicked();
    return;
  }
  if (!held_) return;
  const KeyId released = *held_;
  held_.reset();
  emit keyReleased(released, e->button());
}

void MeterFace::contextMenuEvent(QContextMenuEvent* e) {
  e->accept();
}

bool MeterFace::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(e);
    const QString tip = toolTipAt(help->pos());
    if (!tip.isEmpty()) {
      QToolTip::showText(help->globalPos(), tip, this);
    } else {
      QToolTip::hideText();
    }
    return true;
  }
  return QWidget::event(e);
}

}  // namespace solardesk
