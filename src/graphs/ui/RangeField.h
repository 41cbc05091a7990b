#pragma once

#include <QDoubleSpinBox>
#include <functional>
#include <optional>

namespace solardesk {

// A numeric edit field of the plot's "Graph Range": any value the axes can take, shown in its
// shortest form ("1200", "2.5"), with "." as separator. Its value changes as the user types.
// On a time axis it shows and takes moments as dates and times instead.
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

 protected:
  QString textFromValue(double value) const override;
  double valueFromText(const QString& text) const override;
  QValidator::State validate(QString& text, int& pos) const override;

 private:
  TimeToText toText_;
  TextToTime fromText_;
};

}  // namespace solardesk
