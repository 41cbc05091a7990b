#pragma once

#include <QGroupBox>
#include <QObject>
#include <QPushButton>

#include "Schedules.h"
#include "panel/ui/PanelWindow.h"

namespace solardesk {

// The reservation panel PicReservation of the main window: the meter's one-off recording
// schedule in twelve fields picked from lists, with date lists that follow the month and year.
class ReservationPanel : public QObject {
  Q_OBJECT
 public:
  ReservationPanel(PanelWindow& panel, Instrument& instrument);

  // Reads the schedule from the meter and fills the fields and both date lists. When the meter
  // does not answer it says so, fills nothing and gives false.
  bool Load();
  // A pick in ComboRes(index): a new year or month refills that row's date list and sets its
  // date to "01". Only a pick does: moving the focus, Enter and Escape change no field.
  void Pick(int index);
  // Writes the schedule, hides the panel and restarts polling. A field outside its range (a
  // month 00 as read from the meter) is refused with a message before anything is written, and
  // the panel stays open.
  void OK();
  // Hides the panel; nothing is written and polling stays stopped.
  void Exit();

  ReservationTexts Fields() const;

  QGroupBox* SSFrame1 = nullptr;  // "Reservation"
  QGroupBox* SSFrame2 = nullptr;  // "Start"
  QGroupBox* SSFrame3 = nullptr;  // "Stop"
  QPushButton* CmdResOK = nullptr;
  QPushButton* CmdResExit = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();

  PanelWindow& panel_;
  Instrument& instrument_;
};

// Clears a date list and fills it with "01" to the day count. The caller sets the text.
void FillDayList(QComboBox& target, int days);

}  // namespace solardesk
