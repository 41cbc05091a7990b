#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "panel/logic/Instrument.h"

namespace solardesk {

// The diagnostics of the meter link, in a window of their own that opens only when asked for:
// the fifteen byte slots, Write, "W then R", Read, Clear, Once and Continuous, the vendor and
// product ID boxes and the result list. A report written by hand whose command erases the
// logger or changes a setting is sent only after the user agreed to it.
class DiagnosticsWindow : public QWidget {
  Q_OBJECT
 public:
  DiagnosticsWindow(Instrument& instrument, QWidget& mainWindow);
  ~DiagnosticsWindow() override;

  static const QString kCaption;  // "Diagnostics"

  // Fills the lists of CboByte(0) to CboByte(7) with "00" to "FF"; each keeps its text.
  void FillByteCombos();

  std::array<QComboBox*, OutputSlots::kCount> CboByte{};
  QPushButton* CmdWrite = nullptr;
  QPushButton* CmdWnR = nullptr;
  QPushButton* Read = nullptr;
  QPushButton* CmdClr = nullptr;
  QPushButton* cmdOnce = nullptr;
  QPushButton* cmdContinuous = nullptr;
  QListWidget* lstResults = nullptr;
  QLineEdit* TxtVid = nullptr;
  QLineEdit* TxtPid = nullptr;

 private:
  void BuildByteSlots();
  void BuildButtons();
  void BuildIdBoxes();
  // True when the report the slots hold leaves the meter's logger and settings alone, or the
  // user agreed to the change it makes.
  bool MaySend();

  Instrument& instrument_;
};

}  // namespace solardesk
