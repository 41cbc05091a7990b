#include "ReservationPanel.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "SchedulePanelParts.h"
#include "SetupExchanges.h"
#include "panel/logic/MeterAnswer.h"

namespace solardesk {

void FillDayList(QComboBox& target, int days) {
  target.clear();
  for (int d = 1; d <= days; ++d) target.addItem(FieldText(static_cast<unsigned>(d)));
}

ReservationPanel::ReservationPanel(PanelWindow& panel, Instrument& instrument)
    : panel_(panel), instrument_(instrument) {
  Build();
}

void ReservationPanel::Build() {
  QFrame* pic = panel_.PicReservation;
  SSFrame1 = MakeFrame(*pic, "SSFrame1", "Reservation", {4, 4, 343, 222});
  SSFrame2 = MakeFrame(*SSFrame1, "SSFrame2", "Start", {6, 20, 331, 96});
  SSFrame3 = MakeFrame(*SSFrame1, "SSFrame3", "Stop", {6, 120, 331, 96});
  const QStringList titles = {"Year", "Month", "Date", "Hour", "Minute", "Second"};
  PlaceFieldRow(*SSFrame2, titles, &panel_.ComboRes[0]);
  PlaceFieldRow(*SSFrame3, titles, &panel_.ComboRes[6]);

  for (int k = 0; k < kReservationFields; ++k) {
    QComboBox* list = panel_.ComboRes[static_cast<std::size_t>(k)];
    // Typed keys are discarded: the fields change only by picking from the lists. Enter is a
    // key too; the combo box would take it as a pick of the text shown and reset the date.
    list->lineEdit()->setReadOnly(true);
    list->installEventFilter(this);
    list->lineEdit()->installEventFilter(this);
    connect(list, &QComboBox::activated, this, [this, k] { Pick(k); });
  }

  CmdResOK = MakePanelButton(*pic, "CmdResOK", "OK", 90, 232);
  CmdResExit = MakePanelButton(*pic, "CmdResExit", "Exit", 186, 232);
  connect(CmdResOK, &QPushButton::clicked, this, &ReservationPanel::OK);
  connect(CmdResExit, &QPushButton::clicked, this, &ReservationPanel::Exit);
}

bool ReservationPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
  }
  return QObject::eventFilter(watched, event);
}

ReservationTexts ReservationPanel::Fields() const {
  ReservationTexts texts;
  for (std::size_t k = 0; k < texts.size(); ++k) texts[k] = panel_.ComboRes[k]->currentText();
  return texts;
}

bool ReservationPanel::Load() {
  const ReservationTexts texts = ReadReservation(instrument_);
  if (!AnsweredOrSay(instrument_)) return false;
  auto& lists = panel_.ComboRes;
  for (int dateIndex : {2, 8}) {
    QComboBox& dates = *lists[static_cast<std::size_t>(dateIndex)];
    dates.clear();
    // The date list follows the month and year as read; a month outside "01".."12" leaves it
    // empty.
    const auto days = DaysInMonth(texts[static_cast<std::size_t>(dateIndex - 1)],
                                  texts[static_cast<std::size_t>(dateIndex - 2)]);
    if (days) FillDayList(dates, *days);
  }
  // The date texts are shown as read, even beyond the new day list.
  for (std::size_t k = 0; k < texts.size(); ++k) ShowFieldText(*lists[k], texts[k]);
  return true;
}

void ReservationPanel::Pick(int index) {
  const int field = index % 6;
  if (field != 0 && field != 1) return;  // only a year or a month changes the date list
  const int row = index - field;
  const auto& lists = panel_.ComboRes;
  const QString year = lists[static_cast<std::size_t>(row)]->currentText();
  const QString month = lists[static_cast<std::size_t>(row + 1)]->currentText();
  const auto days = DaysInMonth(month, year);
  if (!days) return;
  QComboBox& target = *lists[static_cast<std::size_t>(row + 2)];
  FillDayList(target, *days);
  ShowFieldText(target, QStringLiteral("01"));
}

void ReservationPanel::OK() {
  // A meter may hold values the lists do not offer (a month 00, an hour 55): they are refused.
  const ReservationTexts fields = Fields();
  WriteScheduleAndClose(instrument_, ReservationRefusal(fields), EncodeReservation(fields),
                        *panel_.PicReservation);
}

void ReservationPanel::Exit() {
  panel_.PicReservation->hide();
}

}  // namespace solardesk
