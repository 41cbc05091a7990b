#include "MemoryWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>

#include "link/Commands.h"
#include "panel/ui/WindowPlacement.h"

namespace solardesk {
namespace {

const QColor kUsedColor(0, 0, 192);
const QColor kUnusedColor(255, 255, 255);

}  // namespace

const QString MemoryWindow::kCaption = QStringLiteral("Data Logger");

MemoryWindow::MemoryWindow(Instrument& instrument, LoggerState& state, DataListSink& dataList,
                           const QWidget& mainWindow)
    : instrument_(instrument), state_(state), dataList_(dataList) {
  setObjectName(QStringLiteral("Memory"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kCaption);
  BuildGrid();
  BuildGauge();
  setFixedSize(330, 350);
  PlaceBeside(mainWindow);
}

void MemoryWindow::BuildGrid() {
  GridSet = new QTableWidget(0, 3, this);
  GridSet->setObjectName(QStringLiteral("GridSet"));
  GridSet->setGeometry(8, 8, 240, 232);
  GridSet->setHorizontalHeaderLabels(
      {QStringLiteral("Set"), QStringLiteral("  Start Time  "), QStringLiteral("Cmp")});
  GridSet->verticalHeader()->hide();
  GridSet->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridSet->setSelectionBehavior(QAbstractItemView::SelectRows);
  GridSet->setSelectionMode(QAbstractItemView::SingleSelection);
  const QFontMetrics fm(font());
  GridSet->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral(" No.S ")));
  GridSet->setColumnWidth(1, fm.horizontalAdvance(QStringLiteral("AA/AA/AA AA:AA:AA")));
  GridSet->setColumnWidth(2, fm.horizontalAdvance(QStringLiteral("Cmp")) + 12);
  GridSet->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // A click in the "Cmp" column marks the set for "Compare" rather than downloading it.
  connect(GridSet, &QTableWidget::cellClicked, this, [this](int row, int column) {
    if (column != 2) ChooseRow(row);
  });

  CmdCompare = new QPushButton(QStringLiteral("Compare"), this);
  CmdCompare->setObjectName(QStringLiteral("CmdCompare"));
  CmdCompare->setToolTip(QStringLiteral("Plot the marked sets over one another"));
  CmdCompare->setGeometry(254, 8, 70, 26);
  connect(CmdCompare, &QPushButton::clicked, this, &MemoryWindow::CmdCompareClick);

  MBar = new QProgressBar(this);
  MBar->setObjectName(QStringLiteral("MBar"));
  MBar->setRange(0, 100);
  MBar->setValue(0);
  MBar->setGeometry(8, 322, 314, 18);
}

void MemoryWindow::BuildGauge() {
  MSize = new ThreeDPanel(QStringLiteral("Memory Size"), this);
  MSize->setObjectName(QStringLiteral("MSize"));
  MSize->setColors(kUsedColor, kUnusedColor);
  MSize->setFloodPercent(0);
  MSize->setGeometry(8, 248, 240, 40);
  connect(MSize, &ThreeDPanel::clicked, this, [this] { Erase(cmd::kEraseLogger); });

  LblMemorySize = new QLabel(QStringLiteral("Capacity : 512 K"), this);
  LblMemorySize->setObjectName(QStringLiteral("LblMemorySize"));
  LblMemorySize->setGeometry(8, 294, 240, 20);

  const auto swatch = [this](const char* name, const QColor& color, int top) {
    auto* s = new ThreeDPanel(QString(), this);
    s->setObjectName(QString::fromLatin1(name));
    s->setColors(color, color);
    s->setGeometry(258, top, 16, 16);
    return s;
  };
  const auto legend = [this](const char* name, const char* text, int top) {
    auto* l = new QLabel(QString::fromLatin1(text), this);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(280, top, 48, 16);
    return l;
  };
  SSPanel2 = swatch("SSPanel2", kUsedColor, 250);
  Label2 = legend("Label2", "Used", 250);
  SSPanel3 = swatch("SSPanel3", kUnusedColor, 272);
  Label3 = legend("Label3", "Unused", 272);
  connect(SSPanel2, &ThreeDPanel::clicked, this, [this] { Erase(cmd::kEraseLogger); });
  connect(SSPanel3, &ThreeDPanel::clicked, this, [this] { Erase(cmd::kEraseLoggerAlt); });
}

// Left edge at the main window's right edge, tops aligned.
void MemoryWindow::PlaceBeside(const QWidget& mainWindow) {
  PlaceBesideMain(*this, &mainWindow);
}

void MemoryWindow::ShowCapacity(const LoggerCapacity& capacity) {
  MSize->setFloodPercent(capacity.usedPercent);
  LblMemorySize->setText(capacity.caption);
}

void MemoryWindow::AddSetRow(int set, const QString& startText) {
  const int row = GridSet->rowCount();
  GridSet->insertRow(row);
  GridSet->setItem(row, 0, new QTableWidgetItem(QString::number(set)));
  GridSet->setItem(row, 1, new QTableWidgetItem(startText));
  auto* mark = new QTableWidgetItem;
  mark->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
  mark->setCheckState(Qt::Unchecked);
  GridSet->setItem(row, 2, mark);
}

void MemoryWindow::MarkRow(int row, bool marked) {
  if (QTableWidgetItem* mark = GridSet->item(row, 2))
    mark->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
}

void MemoryWindow::CmdCompareClick() {
  if (downloading_) return;
  std::vector<int> sets;
  for (int row = 0; row < GridSet->rowCount(); ++row) {
    const QTableWidgetItem* mark = GridSet->item(row, 2);
    const QTableWidgetItem* set = GridSet->item(row, 0);
    if (mark && set && mark->checkState() == Qt::Checked) sets.push_back(set->text().toInt());
  }
  const DialogOwner owner(instrument_.dialogs, this);
  if (const std::optional<QString> refusal = CompareRefusal(static_cast<int>(sets.size()))) {
    instrument_.dialogs.message(*refusal, kProgramTitle, MessageIcon::Exclamation);
    return;
  }
  std::optional<std::vector<ComparedSet>> compared;
  Guarded([&](const DownloadHooks& hooks) {
    compared = DownloadSetsToCompare(instrument_, state_, sets, hooks);
  });
  if (compared && onCompare && !instrument_.Ending()) onCompare(std::move(*compared));
}

void MemoryWindow::Guarded(const std::function<void(const DownloadHooks&)>& download) {
  // Nothing else may reach the meter while the blocks arrive: this window and the main
  // window's keys and toolbar take no clicks until the download ends.
  downloading_ = true;
  const DialogOwner owner(instrument_.dialogs, this);
  setEnabled(false);
  if (onDownloadRunning) onDownloadRunning(true);
  DownloadHooks hooks;
  hooks.progress = [this](int percent) { MBar->setValue(percent); };
  hooks.letEventsRun = [] { QCoreApplication::processEvents(); };
  download(hooks);
  if (onDownloadRunning) onDownloadRunning(false);
  setEnabled(true);
  downloading_ = false;
}

void MemoryWindow::ChooseRow(int row) {
  if (downloading_) return;
  const QTableWidgetItem* item = GridSet->item(row, 0);
  if (!item) return;
  const int set = item->text().toInt();
  Guarded([&](const DownloadHooks& hooks) {
    lastOutcome_ = DownloadLoggerSet(instrument_, state_, set, dataList_, hooks);
  });
}

void MemoryWindow::Erase(unsigned code) {
  if (downloading_) return;
  const DialogOwner owner(instrument_.dialogs, this);
  if (ConfirmAndErase(instrument_, code, {})) close();
}

void MemoryWindow::closeEvent(QCloseEvent* e) {
  if (downloading_) {
    e->ignore();
    return;
  }
  state_.MemoryOpen = false;
  e->accept();
}

}  // namespace solardesk
