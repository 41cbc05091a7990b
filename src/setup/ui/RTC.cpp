#include "RTC.h"

#include <QMouseEvent>

#include "MeterClock.h"
#include "SetupExchanges.h"
#include "panel/logic/MeterAnswer.h"
#include "panel/ui/WindowPlacement.h"

namespace solardesk {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kTopOffsetTwips = 1000.0;

// A clock label with its row caption to its left, which stays while the clock shows: with
// both clocks on, the two times are told apart by it.
QLabel* MakeClockLabel(QWidget& parent, const char* name, const QString& caption,
                       const QString& rowCaption, int y) {
  auto* row = new QLabel(rowCaption, &parent);
  row->setObjectName(QString::fromLatin1(name) + QStringLiteral("Caption"));
  row->setGeometry(10, y, 46, 26);
  row->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* label = new QLabel(caption, &parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(60, y, 188, 26);
  label->setAlignment(Qt::AlignCenter);
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  label->setCursor(Qt::PointingHandCursor);
  return label;
}

}  // namespace

const QString RTC::kCaption = QStringLiteral("Setup");
const QString RTC::kMeterTimeCaption = QStringLiteral("Meter Time");
const QString RTC::kPCTimeCaption = QStringLiteral("PC System Time");

RTC::RTC(Instrument& instrument, PanelWindow& panel)
    : QDialog(&panel), instrument_(instrument), panel_(panel) {
  setObjectName(QStringLiteral("RTC"));
  setWindowTitle(kCaption);
  setModal(true);
  setFixedSize(284, 190);

  FrameTime = new QGroupBox(QStringLiteral("Time"), this);
  FrameTime->setObjectName(QStringLiteral("FrameTime"));
  FrameTime->setGeometry(12, 8, 260, 96);
  LblMeterTime =
      MakeClockLabel(*FrameTime, "LblMeterTime", kMeterTimeCaption, QStringLiteral("Meter:"), 24);
  LblPCTime = MakeClockLabel(*FrameTime, "LblPCTime", kPCTimeCaption, QStringLiteral("PC:"), 60);
  LblMeterTime->setToolTip(QStringLiteral("Click to show or hide the meter's clock"));
  LblPCTime->setToolTip(QStringLiteral("Click to show or hide the PC's clock"));
  LblMeterTime->installEventFilter(this);
  LblPCTime->installEventFilter(this);

  CmdSetTime = new QPushButton(QStringLiteral("Set Meter Time To System Time"), this);
  CmdSetTime->setObjectName(QStringLiteral("CmdSetTime"));
  CmdSetTime->setGeometry(12, 114, 260, 30);
  CmdExit = new QPushButton(QStringLiteral("Exit"), this);
  CmdExit->setObjectName(QStringLiteral("CmdExit"));
  CmdExit->setGeometry(104, 152, 76, 28);
  CmdSetTime->setAutoDefault(false);
  CmdExit->setAutoDefault(false);
  connect(CmdSetTime, &QPushButton::clicked, this, &RTC::CmdSetTimeClick);
  connect(CmdExit, &QPushButton::clicked, this, &QDialog::accept);
  // Exit, the close box and Escape all end the window through `finished`.
  connect(this, &QDialog::finished, this, &RTC::Unload);

  Timer1.setInterval(kTimerIntervalMs);
  connect(&Timer1, &QTimer::timeout, this, &RTC::Timer1Tick);
  Load();
}

RTC::~RTC() = default;

void RTC::Load() {
  PlaceOverMainWindow();
  ShowMeterTime = false;
  ShowPCTime = false;
  Timer1.start();
}

void RTC::Unload() {
  Timer1.stop();
  instrument_.HoldPolling(false);
  holdingPolling_ = false;
}

void RTC::PlaceOverMainWindow() {
  const int below = qRound(kTopOffsetTwips * panel_.logicalDpiY() / kTwipsPerInch);
  PlaceWindow(*this, CentredOver(*this, panel_, below), &panel_);
}

void RTC::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Placed again once shown, when the window's frame is known.
  PlaceOverMainWindow();
}

bool RTC::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* label = qobject_cast<QLabel*>(watched);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (label && label->rect().contains(mouse->position().toPoint())) {
      if (label == LblMeterTime) LblMeterTimeClick();
      if (label == LblPCTime) LblPCTimeClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void RTC::Timer1Tick() {
  // From the first meter clock read on, polling stays off until the window closes.
  holdingPolling_ = holdingPolling_ || ShowMeterTime;
  if (holdingPolling_) instrument_.HoldPolling(true);
  if (ShowMeterTime) {
    panel_.diagnostics->lstResults->clear();
    const QString meterTime = ReadMeterClock(instrument_);
    // Only this read's answer is the meter's time: an earlier report would show a time (or the
    // digits of a display image) the meter never said now.
    if (instrument_.link.MeterConnected() && instrument_.link.EverAnswered()) {
      LblMeterTime->setText(meterTime);
    } else {
      SayNoAnswer();
    }
  } else {
    LblMeterTime->setText(kMeterTimeCaption);
  }
  LblPCTime->setText(ShowPCTime ? FormatPcClock(instrument_.clock.now()) : kPCTimeCaption);
}

// Without an answer there is no meter time to show: the display goes back off, the message says
// whether the meter is silent or not there, and the window's timer waits while it is up so that
// it is not said again meanwhile.
void RTC::SayNoAnswer() {
  ShowMeterTime = false;
  LblMeterTime->setText(kMeterTimeCaption);
  Timer1.stop();
  const DialogOwner owner(instrument_.dialogs, this);
  AnsweredOrSay(instrument_);
  Timer1.start();
}

void RTC::CmdSetTimeClick() {
  // Only this window's timer is paused: the setting is one write with no answer to wait for.
  Timer1.stop();
  SetMeterClock(instrument_, instrument_.clock.now());
  Timer1.start();
}

}  // namespace solardesk
