#pragma once

#include <QDialog>
#include <QPushButton>
#include <QRadioButton>

namespace solardesk {

// Asks whether the PC's recording interval or the meter's logging interval is to be set.
// "OK" leaves the choice in `pcSampling`; closing the window otherwise leaves it as it was.
class SamplingChoice final : public QDialog {
  Q_OBJECT
 public:
  SamplingChoice(bool& pcSampling, QWidget& mainWindow);

  static const QString kCaption;  // "Sampling Rate"

  QRadioButton* OptMeter = nullptr;  // "Meter Sampling Rate", preselected
  QRadioButton* OptPC = nullptr;     // "PC Sampling Rate"
  QPushButton* CmdOK = nullptr;

 private:
  bool& pcSampling_;
};

}  // namespace solardesk
