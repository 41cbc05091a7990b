#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <optional>

#include "KeyCaps.h"
#include "panel/logic/DisplayDecode.h"

namespace solardesk {

// The picture of the meter: its body, the LCD glass with sixteen seven-segment digits and 42
// annunciators at their places, the name label and the thirteen keys. It draws what it is
// given and reports presses; it knows nothing of the meter link.
class MeterFace : public QWidget {
  Q_OBJECT
 public:
  explicit MeterFace(QWidget* parent = nullptr);

  static constexpr int kWidth = 367;
  static constexpr int kHeight = 642;

  // Shows a decoded display. Until the first one the glass keeps its design look (every
  // segment and annunciator shown).
  void setDisplay(const DisplayFlags& flags);
  bool isLive() const { return shown_.has_value(); }
  bool segmentVisible(int digit, int segment) const;
  bool annunciatorVisible(Ann a) const;

  // The name label (LblName) on the meter picture.
  void setNameCaption(const QString& caption);
  QString nameCaption() const { return nameCaption_; }
  void setNameToolTip(const QString& tip) { nameToolTip_ = tip; }
  QString nameToolTip() const { return nameToolTip_; }
  static QRect NameRect() { return {40, 318, 287, 22}; }

  KeyCap& key(KeyId id) { return keys_[static_cast<std::size_t>(id)]; }
  const KeyCap& key(KeyId id) const { return keys_[static_cast<std::size_t>(id)]; }
  // The key whose labels cover a point of the picture.
  std::optional<KeyId> keyAt(const QPoint& p) const;
  // The tool tip at a point of the picture: the meter's state on the name label, and the key's
  // name on a key whose cap carries no caption (ON/OFF, ENTER, UP, DOWN); empty elsewhere.
  QString toolTipAt(const QPoint& p) const;
  // A point inside the given label of a key, for clicks in tests.
  QPoint labelCenter(KeyId id, std::size_t label = 0) const;

 signals:
  void keyPressed(solardesk::KeyId key, Qt::MouseButton button);
  void keyReleased(solardesk::KeyId key, Qt::MouseButton button);
  void nameClicked();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  // The right button presses keys too: no context menu opens over the picture.
  void contextMenuEvent(QContextMenuEvent* e) override;
  bool event(QEvent* e) override;

 private:
  // Body, glass, unlit segments, keys and name change seldom: they are drawn once into a
  // cached picture, redrawn only when a key's colours or the name change.
  const QPixmap& background();
  QString backgroundKey() const;
  void paintBody(QPainter& p) const;
  void paintGhostSegments(QPainter& p) const;
  void paintLitSegments(QPainter& p) const;
  void paintAnnunciators(QPainter& p) const;
  void paintKeys(QPainter& p) const;

  std::optional<DisplayFlags> shown_;
  std::array<KeyCap, kKeyCount> keys_;
  std::optional<KeyId> held_;
  QString nameCaption_ = QStringLiteral("SOLAR POWER METER");
  QString nameToolTip_;
  bool namePressed_ = false;
  QPixmap background_;
  QString backgroundKey_;
};

}  // namespace solardesk
