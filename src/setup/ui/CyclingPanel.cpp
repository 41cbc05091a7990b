#include "CyclingPanel.h"

#include "SchedulePanelParts.h"
#include "SetupExchanges.h"
#include "panel/logic/MeterAnswer.h"

namespace solardesk {

CyclingPanel::CyclingPanel(PanelWindow& panel, Instrument& instrument)
    : panel_(panel), instrument_(instrument) {
  QFrame* pic = panel_.PicCycling;
  SSFrame4 = MakeFrame(*pic, "SSFrame4", "Cycling", {4, 4, 343, 114});
  SSFrame5 = MakeFrame(*SSFrame4, "SSFrame5", "Start", {6, 20, 164, 84});
  SSFrame6 = MakeFrame(*SSFrame4, "SSFrame6", "Stop", {174, 20, 164, 84});
  const QStringList titles = {"Hour", "Minute", "Second"};
  PlaceFieldRow(*SSFrame5, titles, &panel_.ComboCyc[0]);
  PlaceFieldRow(*SSFrame6, titles, &panel_.ComboCyc[3]);

  CmdCycOK = MakePanelButton(*pic, "CmdCycOK", "OK", 90, 128);
  CmdCycExit = MakePanelButton(*pic, "CmdCycExit", "Exit", 186, 128);
  connect(CmdCycOK, &QPushButton::clicked, this, &CyclingPanel::OK);
  connect(CmdCycExit, &QPushButton::clicked, this, &CyclingPanel::Exit);
}

CyclingTexts CyclingPanel::Fields() const {
  CyclingTexts texts;
  for (std::size_t k = 0; k < texts.size(); ++k) texts[k] = panel_.ComboCyc[k]->currentText();
  return texts;
}

bool CyclingPanel::Load() {
  const CyclingTexts texts = ReadCycling(instrument_);
  if (!AnsweredOrSay(instrument_)) return false;
  for (std::size_t k = 0; k < texts.size(); ++k) ShowFieldText(*panel_.ComboCyc[k], texts[k]);
  return true;
}

void CyclingPanel::OK() {
  const CyclingTexts fields = Fields();
  WriteScheduleAndClose(instrument_, CyclingRefusal(fields), EncodeCycling(fields),
                        *panel_.PicCycling);
}

void CyclingPanel::Exit() {
  panel_.PicCycling->hide();
}

}  // namespace solardesk
