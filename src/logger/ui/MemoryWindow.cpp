#include "MemoryWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>

#include "DownloadAll.h"
#include "SetFiles.h"
#include "link/Commands.h"
#include "panel/ui/WindowPlacement.h"

namespace solardesk {
namespace {

const QColor kUsedColor(0, 0, 192);
const QColor kUnusedColor(255, 255, 255);
const QString kChooseASet = QStringLiteral("Select a record set first.");
const QString kDownloadAllTitle = QStringLiteral("Download all record sets into");

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
  setFixedSize(390, 350);
  PlaceBeside(mainWindow);
}

void MemoryWindow::BuildGrid() {
  GridSet = new QTableWidget(0, 5, this);
  GridSet->setObjectName(QStringLiteral("GridSet"));
  GridSet->setGeometry(8, 8, 374, 200);
  GridSet->setHorizontalHeaderLabels({QStringLiteral("Set"), QStringLiteral("  Start Time  "),
                                      QStringLiteral("Records"), QStringLiteral("Interval"),
                                      QStringLiteral("Cmp")});
  GridSet->verticalHeader()->hide();
  GridSet->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridSet->setSelectionBehavior(QAbstractItemView::SelectRows);
  GridSet->setSelectionMode(QAbstractItemView::SingleSelection);
  const QFontMetrics fm(font());
  GridSet->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral(" No.S ")));
  GridSet->setColumnWidth(1, fm.horizontalAdvance(QStringLiteral("AA/AA/AA AA:AA:AA")));
  GridSet->setColumnWidth(kRecordsColumn, fm.horizontalAdvance(QStringLiteral("Records")) + 12);
  GridSet->setColumnWidth(kIntervalColumn, fm.horizontalAdvance(QStringLiteral("Interval")) + 12);
  GridSet->setColumnWidth(kMarkColumn, fm.horizontalAdvance(QStringLiteral("Cmp")) + 12);
  // A click in the "Cmp" column marks the set for "Compare" rather than downloading it.
  connect(GridSet, &QTableWidget::cellClicked, this, [this](int row, int column) {
    if (column != kMarkColumn) ChooseRow(row);
  });

  CmdCompare = AddButton("CmdCompare", QStringLiteral("Compare"),
                         QStringLiteral("Plot the marked sets over one another"), 8);
  connect(CmdCompare, &QPushButton::clicked, this, &MemoryWindow::CmdCompareClick);
  CmdPlot = AddButton("CmdPlot", QStringLiteral("Plot"),
                      QStringLiteral("Download the selected set and plot it"), 102);
  connect(CmdPlot, &QPushButton::clicked, this, &MemoryWindow::CmdPlotClick);
  CmdExport = AddButton("CmdExport", QStringLiteral("Export CSV"),
                        QStringLiteral("Download the selected set into a CSV file"), 196);
  connect(CmdExport, &QPushButton::clicked, this, &MemoryWindow::CmdExportClick);
  CmdDownloadAll =
      AddButton("CmdDownloadAll", QStringLiteral("Download all..."),
                QStringLiteral("Download every set into a folder, one data file each"), 290);
  connect(CmdDownloadAll, &QPushButton::clicked, this, &MemoryWindow::CmdDownloadAllClick);

  MBar = new QProgressBar(this);
  MBar->setObjectName(QStringLiteral("MBar"));
  MBar->setRange(0, 100);
  MBar->setValue(0);
  MBar->setGeometry(8, 322, 374, 18);
}

QPushButton* MemoryWindow::AddButton(const char* name, const QString& text, const QString& tip,
                                     int left) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(tip);
  button->setGeometry(left, 212, 88, 28);
  return button;
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
  GridSet->setItem(row, kSetColumn, new QTableWidgetItem(QString::number(set)));
  GridSet->setItem(row, kStartColumn, new QTableWidgetItem(startText));
  for (const int column : {kRecordsColumn, kIntervalColumn}) {
    auto* item = new QTableWidgetItem;
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    GridSet->setItem(row, column, item);
  }
  auto* mark = new QTableWidgetItem;
  mark->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
  mark->setCheckState(Qt::Unchecked);
  GridSet->setItem(row, kMarkColumn, mark);
  ShowSetFacts();
}

void MemoryWindow::ShowSetFacts() {
  for (int row = 0; row < GridSet->rowCount(); ++row) {
    const QTableWidgetItem* setItem = GridSet->item(row, kSetColumn);
    QTableWidgetItem* records = GridSet->item(row, kRecordsColumn);
    QTableWidgetItem* interval = GridSet->item(row, kIntervalColumn);
    if (!setItem || !records || !interval) continue;
    const int set = setItem->text().toInt();
    if (const std::optional<LoggerState::Decoded> decoded = state_.DecodedSet(set)) {
      records->setText(QString::number(decoded->records));
      interval->setText(IntervalText(decoded->intervalSeconds));
    } else {
      records->setText(QString::number(AnnouncedRecordCount(state_.SetLength(set))));
      interval->setText(QString());
    }
  }
}

void MemoryWindow::MarkRow(int row, bool marked) {
  if (QTableWidgetItem* mark = GridSet->item(row, kMarkColumn))
    mark->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
}

void MemoryWindow::CmdCompareClick() {
  if (downloading_) return;
  std::vector<int> sets;
  for (int row = 0; row < GridSet->rowCount(); ++row) {
    const QTableWidgetItem* mark = GridSet->item(row, kMarkColumn);
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
  ShowSetFacts();
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

std::optional<int> MemoryWindow::SelectedSet() const {
  const QList<QTableWidgetItem*> selected = GridSet->selectedItems();
  for (const QTableWidgetItem* item : selected) {
    if (const QTableWidgetItem* set = GridSet->item(item->row(), kSetColumn))
      return set->text().toInt();
  }
  return std::nullopt;
}

std::optional<ComparedSet> MemoryWindow::DownloadSelected() {
  const std::optional<int> set = SelectedSet();
  if (!set) {
    instrument_.dialogs.message(kChooseASet, kProgramTitle, MessageIcon::Exclamation);
    return std::nullopt;
  }
  std::optional<std::vector<ComparedSet>> downloaded;
  Guarded([&](const DownloadHooks& hooks) {
    downloaded = DownloadSetsToCompare(instrument_, state_, {*set}, hooks);
  });
  if (!downloaded || downloaded->empty() || instrument_.Ending()) return std::nullopt;
  return std::move(downloaded->front());
}

void MemoryWindow::CmdPlotClick() {
  if (downloading_) return;
  const DialogOwner owner(instrument_.dialogs, this);
  std::optional<ComparedSet> set = DownloadSelected();
  if (set && onCompare) onCompare({std::move(*set)});
}

void MemoryWindow::CmdExportClick() {
  if (downloading_) return;
  const DialogOwner owner(instrument_.dialogs, this);
  if (const std::optional<ComparedSet> set = DownloadSelected())
    dataList_.ExportSetCsv(set->unit, set->lines);
}

void MemoryWindow::CmdDownloadAllClick() {
  if (downloading_ || GridSet->rowCount() == 0) return;
  const DialogOwner owner(instrument_.dialogs, this);
  const QString folder = instrument_.dialogs.folderName(kDownloadAllTitle, lastFolder_);
  if (folder.isEmpty()) return;
  lastFolder_ = folder;
  std::vector<int> sets;
  for (int row = 0; row < GridSet->rowCount(); ++row) {
    if (const QTableWidgetItem* set = GridSet->item(row, kSetColumn))
      sets.push_back(set->text().toInt());
  }
  // Asked before the window stops taking clicks: the question is the user's last word on it.
  const DownloadAllPlan plan = PlanDownloadAll(instrument_.dialogs, folder, sets, state_);
  DownloadAllResult result;
  Guarded([&](const DownloadHooks& hooks) {
    result = DownloadAllSets(instrument_, state_, plan, dataList_, hooks);
  });
  if (instrument_.Ending()) return;
  instrument_.dialogs.message(
      DownloadAllSummary(result, folder), kProgramTitle,
      DownloadAllComplete(result) ? MessageIcon::Information : MessageIcon::Exclamation);
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
