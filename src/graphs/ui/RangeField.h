#pragma once

#include <QDoubleSpinBox>
#include <functional>
#include <optional>

namespace solardesk {

// A numeric edit field of the plot's "Graph Range": any value the axes can take, shown in its
// shortest form ("1200", "2.5") with the decimal sign of the axes (the desktop's number format),
// and taken with that sign or with "."; there is no grouping. Its value changes as the user
// types. A text it cannot read stays as typed until the editing ends (Enter, or the focus
// leaves): then the field says so through `refused` and shows its value again. On a time axis it
// shows and takes moments as dates and times instead.
class RangeField final : public QDoubleSpinBox {
  Q_OBJECT
 public:
  explicit RangeField(QWidget* parent = nullptr);

  using TimeToText = std::function<QString(double)>;
  using TextToTime = std::function<std::optional<double>(const QString&)>;
  // Moments (UTC seconds) shown with `toText` and typed as `fromText` reads them.
  void TakeTimes(TimeToText toText, TextToTime fromText);
  // Plain numbers again.
  void TakeNumbers();

  QChar decimalSign() const { return decimalSign_; }
  bool TakesTimes() const { return static_cast<bool>(fromText_); }
  // The value the field had when the last editing by keys began.
  double ValueBeforeEditing() const { return valueBeforeEditing_; }
  // The value the text now reads as; nothing when it is no value.
  std::optional<double> TypedValue() const;

 signals:
  // The editing ended on a text the field cannot read; the field shows its value again.
  void refused(const QString& text);

 protected:
  QString textFromValue(double value) const override;
  double valueFromText(const QString& text) const override;
  QValidator::State validate(QString& text, int& pos) const override;
  void fixup(QString& text) const override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::optional<double> Read(const QString& text) const;
  void RefuseUnreadable();

  TimeToText toText_;
  TextToTime fromText_;
  QChar decimalSign_;
  bool editing_ = false;  // keys were typed since the last end of an editing
  double valueBeforeEditing_ = 0;
};

}  // namespace solardesk
