#include "RangeField.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "graphs/logic/NumberText.h"

namespace solardesk {
namespace {

constexpr double kNumberLimit = 1e9;
constexpr double kTimeLimit = 1e11;  // UTC seconds: about 3000 years either side of 1970

}  // namespace

RangeField::RangeField(QWidget* parent)
    : QDoubleSpinBox(parent), decimalSign_(QLocale().decimalPoint().at(0)) {
  setLocale(QLocale::c());
  setButtonSymbols(QAbstractSpinBox::NoButtons);
  setKeyboardTracking(true);
  // What cannot be read is said when the editing ends, not left for the spin box to revert.
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
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

std::optional<double> RangeField::Read(const QString& text) const {
  if (fromText_) return fromText_(text);
  const std::optional<double> v = TypedNumber(text, decimalSign_);
  if (!v || *v < minimum() || *v > maximum()) return std::nullopt;
  return v;
}

std::optional<double> RangeField::TypedValue() const {
  return Read(lineEdit()->text());
}

QString RangeField::textFromValue(double value) const {
  return toText_ ? toText_(value) : PlainNumberText(value, decimalSign_);
}

double RangeField::valueFromText(const QString& text) const {
  return Read(text).value_or(value());
}

// Anything may be typed; only a readable text changes the value.
QValidator::State RangeField::validate(QString& text, int&) const {
  return Read(text) ? QValidator::Acceptable : QValidator::Intermediate;
}

void RangeField::fixup(QString&) const {}

// The value before the editing comes back: the readable start of a refused text ("2" of
// "2e3") was only a step of the typing.
void RangeField::RefuseUnreadable() {
  const bool wasEditing = editing_;
  editing_ = false;
  const QString text = lineEdit()->text();
  if (Read(text)) return;
  if (wasEditing) setValue(valueBeforeEditing_);
  lineEdit()->setText(textFromValue(value()));
  emit refused(text);
}

void RangeField::focusOutEvent(QFocusEvent* event) {
  RefuseUnreadable();
  QDoubleSpinBox::focusOutEvent(event);
}

void RangeField::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    RefuseUnreadable();
  } else if (!editing_) {
    editing_ = true;
    valueBeforeEditing_ = value();
  }
  QDoubleSpinBox::keyPressEvent(event);
}

}  // namespace solardesk
