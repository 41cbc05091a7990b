#pragma once

#include <QDoubleSpinBox>

namespace solardesk {

// A numeric edit field of the plot's "Graph Range": any value the axes can take, shown in its
// shortest form ("1200", "2.5"), with "." as separator. Its value changes as the user types.
class RangeField final : public QDoubleSpinBox {
  Q_OBJECT
 public:
  explicit RangeField(QWidget* parent = nullptr);

 protected:
  QString textFromValue(double value) const override;
};

}  // namespace solardesk
