#include "RangeField.h"

#include "graphs/logic/NumberText.h"

namespace solardesk {

RangeField::RangeField(QWidget* parent) : QDoubleSpinBox(parent) {
  setLocale(QLocale::c());
  setDecimals(3);
  setRange(-1e9, 1e9);
  setButtonSymbols(QAbstractSpinBox::NoButtons);
  setKeyboardTracking(true);
}

QString RangeField::textFromValue(double value) const {
  return PlainNumberText(value);
}

}  // namespace solardesk
