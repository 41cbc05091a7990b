#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "panel/ui/PanelWindow.h"

namespace solardesk {

// The meter clock window: the meter's clock beside the PC's, and a button that sets the meter
// clock to the PC's local time. Modal. While it shows the meter clock, the main window's polling
// is held off until the window closes.
class RTC : public QDialog {
  Q_OBJECT
 public:
  RTC(Instrument& instrument, PanelWindow& panel);
  ~RTC() override;

  // One tick of the window's own 350 ms timer: reads and shows the clocks that are switched on.
  void Timer1Tick();
  // Clicks on the clock labels switch their display on and off.
  void LblMeterTimeClick() { ShowMeterTime = !ShowMeterTime; }
  void LblPCTimeClick() { ShowPCTime = !ShowPCTime; }
  // Sends the PC's local date and time to the meter.
  void CmdSetTimeClick();

  static constexpr int kTimerIntervalMs = 350;
  static const QString kCaption;           // "Setup"
  static const QString kMeterTimeCaption;  // "Meter Time"
  static const QString kPCTimeCaption;     // "PC System Time"

  QGroupBox* FrameTime = nullptr;
  QLabel* LblMeterTime = nullptr;
  QLabel* LblPCTime = nullptr;
  QPushButton* CmdSetTime = nullptr;
  QPushButton* CmdExit = nullptr;
  QTimer Timer1;
  bool ShowMeterTime = false;
  bool ShowPCTime = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void SayNoAnswer();
  void Load();
  void Unload();
  void PlaceOverMainWindow();

  Instrument& instrument_;
  PanelWindow& panel_;
  bool holdingPolling_ = false;  // set by the first meter clock read
};

}  // namespace solardesk
