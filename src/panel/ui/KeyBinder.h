#pragma once

#include <QColor>
#include <QObject>

#include "MeterFace.h"
#include "panel/logic/FrontPanelKeys.h"

namespace solardesk {

// Binds the keys of the meter picture to the key logic: a press turns the cap white, a release
// sends the key's code and gives the cap its colour back. Any mouse button and any label of a
// key press it alike.
class KeyBinder : public QObject {
  Q_OBJECT
 public:
  KeyBinder(MeterFace& face, Instrument& instrument, QObject* parent = nullptr);

  // The fill colour of the held key's first shape, taken at the press.
  QColor SavedKeyColor;
  static const QColor kPressedColor;  // white

  FrontPanelKeys& logic() { return keys_; }

 private:
  void KeyDown(KeyId key);
  void KeyUp(KeyId key);
  // Paints the whole cap: single shapes change only their fill, shape arrays border and fill.
  void PaintCap(KeyId key, const QColor& color);

  MeterFace& face_;
  FrontPanelKeys keys_;
};

}  // namespace solardesk
