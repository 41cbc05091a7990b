#include "RangeField.h"

#include "graphs/logic/NumberText.h"

namespace solardesk {
namespace {

constexpr double kNumberLimit = 1e9;
constexpr double kTimeLimit = 1e11;  // UTC seconds: about 3000 years either side of 1970

}  // namespace

RangeField::RangeField(QWidget* parent) : QDoubleSpinBox(parent) {
  setLocale(QLocale::c());
  setButtonSymbols(QAbstractSpinBox::NoButtons);
  setKeyboardTracking(true);
  TakeNumbers();
}

void RangeField::TakeTimes(TimeToText toText, TextToTime fromText) {
  toText_ = std::move(toText);
  fromText_ = std::move(fromText);
  setDecimals(0);
  setRange(-kTimeLimit, kTimeLimit);
}

void RangeField::TakeNumbers() {
  toText_ = {};
  fromText_ = {};
  setDecimals(3);
  setRange(-kNumberLimit, kNumberLimit);
}

QString RangeField::textFromValue(double value) const {
  return toText_ ? toText_(value) : PlainNumberText(value);
}

double RangeField::valueFromText(const QString& text) const {
  if (!fromText_) return QDoubleSpinBox::valueFromText(text);
  return fromText_(text).value_or(value());
}

// A time being typed is taken once it reads as a whole date and time.
QValidator::State RangeField::validate(QString& text, int& pos) const {
  if (!fromText_) return QDoubleSpinBox::validate(text, pos);
  return fromText_(text) ? QValidator::Acceptable : QValidator::Intermediate;
}

}  // namespace solardesk
