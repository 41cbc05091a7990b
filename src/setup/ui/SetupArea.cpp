#include "SetupArea.h"

#include "SetupExchanges.h"

namespace solardesk {
namespace {

const QString kCaptionMark = QStringLiteral("120823");

}  // namespace

SetupArea::SetupArea(PanelWindow& panel, Instrument& instrument)
    : reservation(panel, instrument),
      cycling(panel, instrument),
      panel_(panel),
      instrument_(instrument) {
  const char* captions[] = {"Reservation", "Cycling", "Calibration"};
  for (int i = 0; i < 3; ++i) {
    auto* option = new QRadioButton(QString::fromLatin1(captions[i]), panel_.PicSetup);
    option->setObjectName(QStringLiteral("OptSetup(%1)").arg(i));
    option->move(40, 12 + i * 30);
    option->resize(option->sizeHint());  // the whole button takes clicks
    connect(option, &QRadioButton::clicked, this, [this, i] { Choose(i); });
    OptSetup[static_cast<std::size_t>(i)] = option;
  }
  CmSetupExit = new QPushButton(QStringLiteral("Exit"), panel_.PicSetup);
  CmSetupExit->setObjectName(QStringLiteral("CmSetupExit"));
  CmSetupExit->setGeometry(85, 110, 76, 28);
  connect(CmSetupExit, &QPushButton::clicked, this, &SetupArea::ExitChooser);
  connect(panel_.face, &MeterFace::nameClicked, this, &SetupArea::ToggleCaption);
}

void SetupArea::ToggleChooser() {
  for (QRadioButton* option : OptSetup) {
    // An exclusive option cannot be unchecked directly.
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
  }
  panel_.PicSetup->setVisible(panel_.PicSetup->isHidden());
}

void SetupArea::Choose(int index) {
  const DialogOwner owner(instrument_.dialogs, &panel_);
  // Cancel, or a meter that did not answer the read: polling resumes and the chooser stays
  // open with no panel.
  const auto stayInChooser = [this](QWidget* panel) {
    if (panel) panel->hide();
    instrument_.ResumeTimers();
  };
  instrument_.PauseTimers();
  switch (index) {
    case 0:
      panel_.PicReservation->show();
      if (!reservation.Load()) return stayInChooser(panel_.PicReservation);
      break;
    case 1:
      panel_.PicCycling->show();
      if (!cycling.Load()) return stayInChooser(panel_.PicCycling);
      break;
    case 2:
      if (!AskAndWriteCalibration(instrument_)) return stayInChooser(nullptr);
      break;
    default:
      break;
  }
  // A schedule panel stays open, and after a written calibration polling stays stopped, until
  // a panel's OK or another command enables the timers again.
  instrument_.EndPauseLeavingTimersOff();
  panel_.PicSetup->hide();
}

void SetupArea::ExitChooser() {
  panel_.PicSetup->hide();
}

void SetupArea::ToggleCaption() {
  const QString caption = panel_.windowTitle();
  panel_.setWindowTitle(caption.contains(kCaptionMark)
                            ? PanelWindow::kCaption
                            : caption + QStringLiteral("   ") + kCaptionMark);
}

void SetupArea::OpenClockWindow() {
  RTC window(instrument_, panel_);
  runClockWindow(window);
}

}  // namespace solardesk
