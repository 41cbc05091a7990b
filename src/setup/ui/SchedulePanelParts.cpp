#include "SchedulePanelParts.h"

#include <QLabel>

#include "SetupExchanges.h"

namespace solardesk {
namespace {

constexpr int kListWidth = 50;
constexpr int kListStep = 53;

}  // namespace

void PlaceFieldRow(QGroupBox& frame, const QStringList& titles, QComboBox* const* lists) {
  for (int i = 0; i < titles.size(); ++i) {
    auto* title = new QLabel(titles[i], &frame);
    title->setGeometry(8 + i * kListStep, 20, kListWidth, 18);
    QComboBox* list = lists[i];
    list->setParent(&frame);
    list->setGeometry(8 + i * kListStep, 40, kListWidth, 26);
    list->show();
  }
}

void ShowFieldText(QComboBox& list, const QString& text) {
  list.setCurrentIndex(list.findText(text));
  list.setEditText(text);
}

QGroupBox* MakeFrame(QWidget& parent, const char* name, const char* caption, QRect geometry) {
  auto* frame = new QGroupBox(QString::fromLatin1(caption), &parent);
  frame->setObjectName(QString::fromLatin1(name));
  frame->setGeometry(geometry);
  return frame;
}

QPushButton* MakePanelButton(QWidget& parent, const char* name, const char* caption, int x, int y) {
  auto* button = new QPushButton(QString::fromLatin1(caption), &parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(x, y, 76, 28);
  return button;
}

void WriteScheduleAndClose(Instrument& instrument, const std::optional<QString>& refusal,
                           const std::optional<Report>& report, QWidget& panel) {
  const DialogOwner owner(instrument.dialogs, panel.window());
  if (refusal || !report) {
    instrument.dialogs.message(refusal.value_or(kFieldNotAByte), kProgramTitle,
                               MessageIcon::Exclamation);
    return;
  }
  instrument.PauseTimers();
  SendReport(instrument, *report);
  panel.hide();
  instrument.ResumeTimers();
}

}  // namespace solardesk
