#pragma once

#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <functional>

#include "CyclingPanel.h"
#include "RTC.h"
#include "ReservationPanel.h"
#include "panel/ui/PanelWindow.h"

namespace solardesk {

// The set-up area of the main window: the chooser PicSetup with its three options (reservation,
// daily cycle, calibration), the two schedule panels, the caption toggle on the name label, and
// the meter clock window opened from the toolbar.
class SetupArea : public QObject {
  Q_OBJECT
 public:
  SetupArea(PanelWindow& panel, Instrument& instrument);

  // Toolbar "Set": clears the options and shows or hides the chooser.
  void ToggleChooser();
  // A click on OptSetup(index).
  void Choose(int index);
  // CmSetupExit: hides the chooser; the timers are not touched.
  void ExitChooser();
  // A click on the name label: appends "   120823" to the caption, or restores it.
  void ToggleCaption();
  // Toolbar "RTC": the meter clock window, modal; returns when it closes.
  void OpenClockWindow();

  // Runs the clock window until it closes. Tests replace it to work the window themselves.
  std::function<void(RTC&)> runClockWindow = [](RTC& window) { window.exec(); };

  std::array<QRadioButton*, 3> OptSetup{};  // "Reservation", "Cycling", "Calibration"
  QPushButton* CmSetupExit = nullptr;
  ReservationPanel reservation;
  CyclingPanel cycling;

 private:
  PanelWindow& panel_;
  Instrument& instrument_;
};

}  // namespace solardesk
