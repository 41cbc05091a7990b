#include "PanelWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>

#include "DroppedFiles.h"
#include "ToolbarIcons.h"

namespace solardesk {
namespace {

struct ToolbarButton {
  const char* key;
  const char* toolTip;
};

constexpr ToolbarButton kButtons[] = {
    {"Save", "Save As"},      {"Open", "Open File to Read"}, {"Interval", "Sampling Rate"},
    {"List", "List Display"}, {"Graph", "Graphic Display"},  {"RTC", "Real Time Clock"},
    {"Set", "Set up"},        {"Logger", "Memory"},          {"Erase", "Erase Memory"},
};

QString TwoDigits(int i) {
  return QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
}

const QRect kRecordingLabelPlace(24, 604, 40, 20);
const QString kRecordingLabelStyle =
    QStringLiteral("color: #ff4040; background: transparent; font-weight: bold;");

QString StatusStyle(StatusTone tone) {
  switch (tone) {
    case StatusTone::Warning:
      return QStringLiteral("color: black; background: #ffd740;");
    case StatusTone::Alarm:
      return QStringLiteral("color: white; background: #d00000;");
    case StatusTone::Normal:
      break;
  }
  return QStringLiteral("color: #202020; background: #e8e8e8;");
}

// A text too long for its label loses its end, where the status line puts the file name.
void ShowPart(QLabel* label, const StatusPart& part) {
  const int room = label->width() - 2 * label->indent();
  label->setText(label->fontMetrics().elidedText(part.text, Qt::ElideRight, room));
  label->setToolTip(part.toolTip);
  label->setProperty("tone", static_cast<int>(part.tone));
  const QString style = StatusStyle(part.tone);
  if (label->styleSheet() != style) label->setStyleSheet(style);
}

}  // namespace

const QString PanelWindow::kCaption = QStringLiteral("Panel   V8.01");

PanelWindow::PanelWindow(Instrument& instrument, QWidget* parent)
    : QWidget(parent), instrument_(instrument) {
  setObjectName(QStringLiteral("Panel"));
  setWindowTitle(kCaption);
  // The picture and everything on it lie on one body below the menu bar.
  body_ = new QWidget(this);
  body_->setObjectName(QStringLiteral("Body"));
  face = new MeterFace(body_);
  face->move(0, 0);
  BuildToolbar();
  BuildStatusLabels();
  BuildStatusLine();
  BuildSetupArea();
  BuildDiagnostics();
  BuildMenuBar();
  // The picture has one size: no maximize, no blank space around it; the menu bar comes on top.
  const int bar = menuBar->sizeHint().height();
  menuBar->setGeometry(0, 0, MeterFace::kWidth, bar);
  body_->setGeometry(0, bar, MeterFace::kWidth, MeterFace::kHeight + kStatusLineHeight);
  setFixedSize(MeterFace::kWidth, bar + MeterFace::kHeight + kStatusLineHeight);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setAcceptDrops(true);

  onEnd = [] {
    // Every other window goes with the main one, even one whose handler is still on its way out.
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    QCoreApplication::exit(0);
  };
  instrument_.link.onStatusText = [this](const QString& caption) { ShowLinkState(caption); };
  connect(&instrument_.Timer1, &QTimer::timeout, this, &PanelWindow::Timer1Tick);
  Load();
}

PanelWindow::~PanelWindow() {
  instrument_.link.onStatusText = nullptr;
}

void PanelWindow::Load() {
  FillFieldLists();
  tmrDelay.stop();
  InitTestControls();
  // Nothing talks to the meter before the first tick of Timer1.
  instrument_.Timer1.start();
  instrument_.Timer2.start();
}

void PanelWindow::FillFieldLists() {
  for (int i = 0; i < 100; ++i) {
    const QString t = TwoDigits(i);
    ComboRes[0]->addItem(t);
    ComboRes[6]->addItem(t);
    if (i < 60) {
      for (QComboBox* c : {ComboCyc[1], ComboCyc[2], ComboCyc[4], ComboCyc[5], ComboRes[4],
                           ComboRes[5], ComboRes[10], ComboRes[11]})
        c->addItem(t);
    }
    if (i < 24) {
      for (QComboBox* c : {ComboCyc[0], ComboCyc[3], ComboRes[3], ComboRes[9]}) c->addItem(t);
    }
    if (i > 0 && i < 32) {
      ComboRes[2]->addItem(t);
      ComboRes[8]->addItem(t);
    }
    if (i > 0 && i < 13) {
      ComboRes[1]->addItem(t);
      ComboRes[7]->addItem(t);
    }
  }
  // The texts shown before the first read of the meter.
  for (int k = 0; k < 12; ++k) {
    const int field = k % 6;
    ComboRes[k]->setEditText(field == 1 || field == 2 ? QStringLiteral("01")
                                                      : QStringLiteral("00"));
  }
  for (QComboBox* c : ComboCyc) c->setEditText(QStringLiteral("00"));
}

void PanelWindow::InitTestControls() {
  diagnostics->FillByteCombos();
  tmrContinuousDataCollect.stop();
  tmrContinuousDataCollect.setInterval(1000);
}

void PanelWindow::Timer1Tick() {
  diagnostics->lstResults->clear();
  if (instrument_.PollTick()) face->setDisplay(instrument_.meter.flags);
  ShowStatus();
}

void PanelWindow::ShowLinkState(const QString& caption) {
  face->setNameCaption(caption);
  ShowStatus();
}

void PanelWindow::ShowStatus() {
  const MeterLink::Presence presence = instrument_.link.MeterPresence();
  const StatusPart meter = MeterStatusPart(presence, virtualMeter_);
  ShowPart(LblStatusMeter, meter);
  face->setNameToolTip(meter.toolTip);
  ShowPart(LblStatusRecording, RecordingStatusPart(recordingStatus_, presence));
}

void PanelWindow::ShowRecordingStatus(const RecordingStatus& status) {
  recordingStatus_ = status;
  ShowStatus();
}

void PanelWindow::BuildToolbar() {
  Toolbar1 = new QToolBar(body_);
  Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
  Toolbar1->setIconSize(QSize(24, 24));
  Toolbar1->setGeometry(0, 0, MeterFace::kWidth, 32);
  for (const ToolbarButton& b : kButtons) {
    const QString key = QString::fromLatin1(b.key);
    QAction* a = Toolbar1->addAction(ToolbarIcon(key), key);
    a->setObjectName(key);
    a->setToolTip(QString::fromLatin1(b.toolTip));
    connect(a, &QAction::triggered, this, [this, key] { clickToolbar(key); });
  }
}

void PanelWindow::BuildMenuBar() {
  menuBar = new QMenuBar(this);
  menuBar->setObjectName(QStringLiteral("MenuBar"));
  // An entry runs its toolbar button where it has one, else the command set for its key.
  const auto add = [this](QMenu* menu, const QString& text, const QString& key,
                          QKeySequence shortcut = {}) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QStringLiteral("Menu ") + key);
    a->setShortcut(shortcut);
    if (QAction* button = toolbarAction(key); button && !shortcut.isEmpty()) {
      shortcutTexts_[key] = shortcut.toString(QKeySequence::NativeText);
      SetButtonToolTip(*button, button->toolTip());
    }
    connect(a, &QAction::triggered, this, [this, key] { RunMenuCommand(key); });
    return a;
  };
  QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
  add(file, QStringLiteral("&Record..."), QStringLiteral("Save"),
      QKeySequence(Qt::CTRL | Qt::Key_S));
  add(file, QStringLiteral("&Open..."), QStringLiteral("Open"), QKeySequence::Open);
  recentMenu = file->addMenu(QStringLiteral("Recent &files"));
  recentMenu->setObjectName(QStringLiteral("Recent files"));
  recentMenu->setEnabled(false);
  add(file, QStringLiteral("&Export CSV..."), QStringLiteral("Export CSV"));
  add(file, QStringLiteral("&Print..."), QStringLiteral("Print"),
      QKeySequence(Qt::CTRL | Qt::Key_P));
  add(file, QStringLiteral("Print Pre&view..."), QStringLiteral("Print Preview"));
  file->addSeparator();
  QAction* quit = file->addAction(QStringLiteral("&Quit"));
  quit->setObjectName(QStringLiteral("Menu Quit"));
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(quit, &QAction::triggered, this, &QWidget::close);
  QMenu* meter = menuBar->addMenu(QStringLiteral("&Meter"));
  add(meter, QStringLiteral("&Interval..."), QStringLiteral("Interval"));
  add(meter, QStringLiteral("&Clock..."), QStringLiteral("RTC"));
  add(meter, QStringLiteral("&Set-up"), QStringLiteral("Set"));
  add(meter, QStringLiteral("&Logger"), QStringLiteral("Logger"));
  add(meter, QStringLiteral("&Erase..."), QStringLiteral("Erase"));
  QMenu* view = menuBar->addMenu(QStringLiteral("&View"));
  add(view, QStringLiteral("Live &list"), QStringLiteral("List"));
  add(view, QStringLiteral("Live &graph"), QStringLiteral("Graph"));
  add(view, QStringLiteral("&Plot"), QStringLiteral("Plot"));
  QMenu* help = menuBar->addMenu(QStringLiteral("&Help"));
  add(help, QStringLiteral("&User guide"), QStringLiteral("User guide"), QKeySequence(Qt::Key_F1));
  help->addAction(diagnosticsAction);
  add(help, QStringLiteral("&About SolarDesk"), QStringLiteral("About"));
}

// A button's tool tip names the shortcut of its menu entry: "Save As (Ctrl+S)".
void PanelWindow::SetButtonToolTip(QAction& button, const QString& text) {
  const auto it = shortcutTexts_.find(button.objectName());
  button.setToolTip(it == shortcutTexts_.end() ? text
                                               : QStringLiteral("%1 (%2)").arg(text, it->second));
}

void PanelWindow::RunMenuCommand(const QString& key) {
  if (toolbarAction(key)) {
    clickToolbar(key);
    return;
  }
  const DialogOwner owner(instrument_.dialogs, this);
  BeforeAnyCommand(key);
  const auto it = commands_.find(key);
  if (it != commands_.end() && it->second) it->second();
}

QAction* PanelWindow::menuAction(const QString& key) const {
  return menuBar->findChild<QAction*>(QStringLiteral("Menu ") + key);
}

void PanelWindow::setToolbarCommand(const QString& key, std::function<void()> command) {
  commands_[key] = std::move(command);
}

QAction* PanelWindow::toolbarAction(const QString& key) const {
  for (QAction* a : Toolbar1->actions()) {
    if (a->objectName() == key) return a;
  }
  return nullptr;
}

void PanelWindow::setSaveButtonRecording(bool recording) {
  QAction* save = toolbarAction(QStringLiteral("Save"));
  save->setIcon(ToolbarIcon(recording ? QStringLiteral("Stop") : QStringLiteral("Save")));
  SetButtonToolTip(*save, recording ? QStringLiteral("Stop Recording") : QStringLiteral("Save As"));
}

void PanelWindow::clickToolbar(const QString& key) {
  const DialogOwner owner(instrument_.dialogs, this);
  BeforeAnyCommand(key);
  const auto it = commands_.find(key);
  if (it != commands_.end() && it->second) it->second();
  emit toolbarClicked(key);
}

void PanelWindow::BeforeAnyCommand(const QString& key) {
  PicCycling->hide();
  PicReservation->hide();
  if (key != QLatin1String("Set") && !PicSetup->isHidden()) PicSetup->hide();
}

void PanelWindow::BuildStatusLabels() {
  const auto make = [this](const char* name, QRect r, Qt::Alignment align) {
    auto* l = new QLabel(body_);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(r);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setStyleSheet(QStringLiteral("color: white; background: transparent; font-weight: bold;"));
    return l;
  };
  LblRecording = make("LblRecording", kRecordingLabelPlace, Qt::AlignLeft);
  LblRecording->setStyleSheet(kRecordingLabelStyle);
  LblRecording->hide();
  LblFileName = make("LblFileName", {70, 604, 180, 20}, Qt::AlignLeft);
  LblCount = make("LblCount", {250, 604, 92, 20}, Qt::AlignRight);
}

void PanelWindow::BuildStatusLine() {
  const auto make = [this](const char* name, int left, int width) {
    auto* l = new QLabel(body_);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(left, MeterFace::kHeight, width, kStatusLineHeight);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    l->setIndent(4);
    QFont font = l->font();
    font.setPixelSize(11);
    l->setFont(font);
    return l;
  };
  LblStatusMeter = make("LblStatusMeter", 0, 124);
  LblStatusRecording = make("LblStatusRecording", 124, MeterFace::kWidth - 124);
  ShowStatus();
}

void PanelWindow::ShowRecordingTrouble(bool failing, const QString& toolTip) {
  LblRecording->setToolTip(toolTip);
  if (failing) {
    LblRecording->setGeometry(8, 604, 76, 20);
    LblRecording->setAlignment(Qt::AlignCenter);
    LblRecording->setStyleSheet(QStringLiteral(
        "color: white; background: #d00000; border-radius: 3px; font-weight: bold;"));
    LblRecording->raise();
  } else {
    LblRecording->setGeometry(kRecordingLabelPlace);
    LblRecording->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LblRecording->setStyleSheet(kRecordingLabelStyle);
  }
}

void PanelWindow::BuildSetupArea() {
  const auto frame = [this](const char* name, QRect r) {
    auto* f = new QFrame(body_);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameShape(QFrame::StyledPanel);
    f->setAutoFillBackground(true);
    f->setGeometry(r);
    f->hide();
    return f;
  };
  PicSetup = frame("PicSetup", {60, 340, 247, 150});
  PicReservation = frame("PicReservation", {8, 330, 351, 270});
  PicCycling = frame("PicCycling", {8, 330, 351, 200});
  // A schedule field shows what was typed: no inline completion ("1" would become "10"), and
  // Enter adds nothing to its list, which keeps the values filled in at start-up.
  const auto field = [](QWidget* parent, const QString& name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->setCompleter(nullptr);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
  };
  for (int k = 0; k < 12; ++k)
    ComboRes[k] = field(PicReservation, QStringLiteral("ComboRes(%1)").arg(k));
  for (int k = 0; k < 6; ++k)
    ComboCyc[k] = field(PicCycling, QStringLiteral("ComboCyc(%1)").arg(k));
}

void PanelWindow::BuildDiagnostics() {
  diagnostics = new DiagnosticsWindow(instrument_, *this);
  diagnostics->hide();
  diagnosticsAction = new QAction(DiagnosticsWindow::kCaption, this);
  diagnosticsAction->setObjectName(QStringLiteral("Diagnostics"));
  diagnosticsAction->setToolTip(QStringLiteral("The byte slots and reports of the meter link"));
  connect(diagnosticsAction, &QAction::triggered, this, &PanelWindow::ShowDiagnostics);
  // The window's context menu, opened from the toolbar and the status line; the picture keeps
  // every mouse button for its keys.
  setContextMenuPolicy(Qt::ActionsContextMenu);
  addAction(diagnosticsAction);
}

void PanelWindow::ShowDiagnostics() {
  diagnostics->show();
  diagnostics->raise();
  diagnostics->activateWindow();
}

void PanelWindow::CloseLinkAndEnd() {
  if (ended_) return;
  ended_ = true;
  instrument_.End();
  if (onEnd) onEnd();
}

void PanelWindow::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  // A maximize or full screen asked for anyway (a window manager's key) leaves the window as
  // it is: there is nothing to show in more room.
  constexpr Qt::WindowStates kLarger = Qt::WindowMaximized | Qt::WindowFullScreen;
  if (e->type() == QEvent::WindowStateChange && (windowState() & kLarger))
    setWindowState(windowState() & ~kLarger);
}

QString PanelWindow::DroppedFile(const QMimeData* mime) const {
  const QStringList files = DroppedDataFiles(mime);
  return openDroppedFile && files.size() == 1 ? files.front() : QString();
}

void PanelWindow::dragEnterEvent(QDragEnterEvent* e) {
  if (!DroppedFile(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void PanelWindow::dragMoveEvent(QDragMoveEvent* e) {
  if (!DroppedFile(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void PanelWindow::dropEvent(QDropEvent* e) {
  const QString path = DroppedFile(e->mimeData());
  if (path.isEmpty()) {
    e->ignore();
    return;
  }
  e->acceptProposedAction();
  // The file opens once the drag has ended: a refusal or a long read must not hold the
  // dragging program.
  QTimer::singleShot(0, this, [this, path] {
    if (openDroppedFile) openDroppedFile(path);
  });
}

void PanelWindow::closeEvent(QCloseEvent* e) {
  CloseLinkAndEnd();
  e->accept();
}

}  // namespace solardesk
