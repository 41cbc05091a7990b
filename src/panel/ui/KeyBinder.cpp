#include "KeyBinder.h"

namespace solardesk {

const QColor KeyBinder::kPressedColor(255, 255, 255);

KeyBinder::KeyBinder(MeterFace& face, Instrument& instrument, QObject* parent)
    : QObject(parent), face_(face), keys_(instrument) {
  connect(&face_, &MeterFace::keyPressed, this,
          [this](KeyId key, Qt::MouseButton) { KeyDown(key); });
  connect(&face_, &MeterFace::keyReleased, this,
          [this](KeyId key, Qt::MouseButton) { KeyUp(key); });
}

void KeyBinder::KeyDown(KeyId key) {
  keys_.Press(key);
  SavedKeyColor = face_.key(key).fill;
  PaintCap(key, kPressedColor);
}

void KeyBinder::KeyUp(KeyId key) {
  keys_.Release(key, [this, key] { PaintCap(key, SavedKeyColor); });
}

void KeyBinder::PaintCap(KeyId key, const QColor& color) {
  KeyCap& cap = face_.key(key);
  cap.fill = color;
  if (cap.isShapeArray()) cap.border = color;
  face_.update();
}

}  // namespace solardesk
