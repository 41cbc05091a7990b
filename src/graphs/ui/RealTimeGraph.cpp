#include "RealTimeGraph.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrinter>

#include "ImageCanvas.h"
#include "ImagePrint.h"
#include "core/WriteGate.h"
#include "panel/ui/WindowPlacement.h"

namespace solardesk {

const QString RealTimeGraph::kCaption = QStringLiteral("Real Time Graph");

RealTimeGraph::RealTimeGraph(Instrument& instrument, LiveGraphState& state,
                             const QWidget* mainWindow)
    : QWidget(nullptr), instrument_(instrument), state_(state) {
  setObjectName(QStringLiteral("RealTimeGraph"));
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setWindowTitle(kCaption);
  BuildToolbar();
  BuildLimitsPanel();
  Timer1.setInterval(kTickIntervalMs);
  connect(&Timer1, &QTimer::timeout, this, &RealTimeGraph::Timer1Tick);
  // A 600-pixel plot (one sweep of ten minutes at one point a second) and room for the labels.
  resize(680, 420);
  PlaceBesideMain(*this, mainWindow);
}

RealTimeGraph::~RealTimeGraph() {
  Timer1.stop();
}

void RealTimeGraph::BuildToolbar() {
  Toolbar1 = new QToolBar(this);
  for (const char* key : {"Limit", "Print", "Print Preview"}) {
    QAction* a = Toolbar1->addAction(QString::fromLatin1(key));
    a->setData(QString::fromLatin1(key));
    a->setToolTip(QString::fromLatin1(key));
  }
  connect(toolbarAction(QStringLiteral("Limit")), &QAction::triggered, this, &RealTimeGraph::Limit);
  connect(toolbarAction(QStringLiteral("Print")), &QAction::triggered, this, &RealTimeGraph::Print);
  connect(toolbarAction(QStringLiteral("Print Preview")), &QAction::triggered, this,
          &RealTimeGraph::PrintPreview);
}

QAction* RealTimeGraph::toolbarAction(const QString& key) const {
  for (QAction* a : Toolbar1->actions()) {
    if (a->data().toString() == key) return a;
  }
  return nullptr;
}

void RealTimeGraph::BuildLimitsPanel() {
  PMessage = new QFrame(this);
  PMessage->setFrameShape(QFrame::Panel);
  PMessage->setFrameShadow(QFrame::Raised);
  PMessage->setAutoFillBackground(true);
  auto* grid = new QGridLayout(PMessage);
  TxtMax = new QLineEdit(PMessage);
  TxtMin = new QLineEdit(PMessage);
  TxtCounts = new QLineEdit(PMessage);
  CmdOK = new QPushButton(QStringLiteral("OK"), PMessage);
  CmdCancel = new QPushButton(QStringLiteral("Cancel"), PMessage);
  int row = 0;
  for (auto [title, field] : {std::pair{"Max", TxtMax}, {"Min", TxtMin}, {"Counts", TxtCounts}}) {
    grid->addWidget(new QLabel(QString::fromLatin1(title), PMessage), row, 0);
    grid->addWidget(field, row, 1);
    field->installEventFilter(this);
    ++row;
  }
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CmdOK);
  buttons->addWidget(CmdCancel);
  grid->addLayout(buttons, row, 0, 1, 2);
  connect(CmdOK, &QPushButton::clicked, this, &RealTimeGraph::CmdOKClick);
  connect(CmdCancel, &QPushButton::clicked, this, &RealTimeGraph::CmdCancelClick);
  PMessage->adjustSize();
  PMessage->move(90, 40);
  PMessage->hide();
}

void RealTimeGraph::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  Toolbar1->setGeometry(0, 0, width(), Toolbar1->sizeHint().height());
  RunLayout();
}

void RealTimeGraph::RunLayout() {
  image_ = QImage(size(), QImage::Format_RGB32);
  {
    ImageCanvas canvas(image_, font());
    graph_.Layout(width(), height(), state_.GraphUnit, QLocale(), canvas);
  }
  Timer1.stop();
  PMessage->hide();
  Timer1.start();
  update();
}

void RealTimeGraph::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.drawImage(0, 0, image_);
}

void RealTimeGraph::Timer1Tick() {
  if (!state_.GraphOpen || image_.isNull()) return;
  SweepGraph::TickResult result;
  {
    ImageCanvas canvas(image_, font());
    result = graph_.Tick(instrument_.meter.ReadingText, instrument_.meter.ReadingUnit,
                         state_.GraphUnit, instrument_.clock.now().time(), canvas);
  }
  if (result == SweepGraph::TickResult::UnitChanged) {
    state_.GraphOpen = false;
    close();
    return;
  }
  update();
}

void RealTimeGraph::Limit() {
  Timer1.stop();
  const LimitTexts texts = LimitsForEditing(graph_);
  TxtMax->setText(texts.max);
  TxtMin->setText(texts.min);
  TxtCounts->setText(texts.counts);
  PMessage->show();
  PMessage->raise();
  TxtMax->setFocus();
}

void RealTimeGraph::CmdOKClick() {
  const DialogOwner owner(instrument_.dialogs, this);
  switch (ApplyLimits({TxtMax->text(), TxtMin->text(), TxtCounts->text()}, graph_)) {
    case LimitsVerdict::ValueRefused:
      instrument_.dialogs.message(kValueRangeMessage, kProgramTitle, MessageIcon::Critical);
      return;
    case LimitsVerdict::CountsRefused:
      instrument_.dialogs.message(kCountsRangeMessage, kProgramTitle, MessageIcon::Critical);
      return;
    case LimitsVerdict::Accepted:
      RunLayout();
      return;
  }
}

void RealTimeGraph::CmdCancelClick() {
  PMessage->hide();
  Timer1.start();
}

// The dialog's answer does not matter: the picture goes to the printer as it was set up.
void RealTimeGraph::Print() {
  const DialogOwner owner(instrument_.dialogs, this);
  Toolbar1->hide();
  QPrinter printer(QPrinter::HighResolution);
  std::unique_ptr<FileWriter> pdf;
  ChoosePrinterFree(instrument_.dialogs, printer, pdf);
  PrintImage(image_, printer);
  Toolbar1->show();
}

// The preview shows the picture as it was when asked for; its "Print" prints that picture.
void RealTimeGraph::PrintPreview() {
  const DialogOwner owner(instrument_.dialogs, this);
  PreviewThenPrintImage(instrument_.dialogs, image_.copy());
}

void RealTimeGraph::closeEvent(QCloseEvent* e) {
  state_.GraphOpen = false;
  Timer1.stop();
  e->accept();
}

bool RealTimeGraph::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (watched == TxtMax) return FilterLimitKey(LimitField::Max, key);
    if (watched == TxtMin) return FilterLimitKey(LimitField::Min, key);
    if (watched == TxtCounts) return FilterLimitKey(LimitField::Counts, key);
  }
  return QWidget::eventFilter(watched, e);
}

// True when the key is dropped or handled here. Keys that type no character (arrows, Delete,
// Tab, Home, End) are left to the field.
bool RealTimeGraph::FilterLimitKey(LimitField field, QKeyEvent* e) {
  QChar typed;
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      typed = QLatin1Char('\r');
      break;
    case Qt::Key_Backspace:
      typed = QLatin1Char('\b');
      break;
    case Qt::Key_Escape:
      CmdCancelClick();
      return true;
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return false;
    default:
      if (e->text().isEmpty()) return false;
      typed = e->text().at(0);
  }
  if (!LimitKeyAllowed(field, typed)) return true;
  if (typed != QLatin1Char('\r')) return false;
  switch (EnterIn(field)) {
    case EnterStep::FocusMin:
      TxtMin->setFocus();
      break;
    case EnterStep::FocusCounts:
      TxtCounts->setFocus();
      break;
    case EnterStep::Apply:
      CmdOKClick();
      break;
  }
  return true;
}

}  // namespace solardesk
