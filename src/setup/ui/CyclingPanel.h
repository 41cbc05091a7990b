#pragma once

#include <QGroupBox>
#include <QObject>
#include <QPushButton>

#include "Schedules.h"
#include "panel/ui/PanelWindow.h"

namespace solardesk {

// The daily cycle panel PicCycling of the main window: start and stop time of day in six
// fields that take picks and typed text.
class CyclingPanel : public QObject {
  Q_OBJECT
 public:
  CyclingPanel(PanelWindow& panel, Instrument& instrument);

  // Reads the cycle from the meter into the six fields; the lists stay as they are. When the
  // meter does not answer it says so, fills nothing and gives false.
  bool Load();
  // Writes the cycle, hides the panel and restarts polling. An hour outside 0..23 or a minute or
  // second outside 0..59 is refused with a message before anything is written, and the panel
  // stays open.
  void OK();
  // Hides the panel; nothing is written and polling stays stopped.
  void Exit();

  CyclingTexts Fields() const;

  QGroupBox* SSFrame4 = nullptr;  // "Cycling"
  QGroupBox* SSFrame5 = nullptr;  // "Start"
  QGroupBox* SSFrame6 = nullptr;  // "Stop"
  QPushButton* CmdCycOK = nullptr;
  QPushButton* CmdCycExit = nullptr;

 private:
  PanelWindow& panel_;
  Instrument& instrument_;
};

}  // namespace solardesk
