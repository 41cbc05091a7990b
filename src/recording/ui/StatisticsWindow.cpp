#include "StatisticsWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "analysis/RecordsCsv.h"
#include "analysis/StatisticsReport.h"
#include "core/Dialogs.h"

namespace solardesk {
namespace {

QTableWidget* ReadOnlyTable(QWidget* parent, const QString& name, int rows, int columns) {
  auto* table = new QTableWidget(rows, columns, parent);
  table->setObjectName(name);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->verticalHeader()->hide();
  return table;
}

void SetCell(QTableWidget* table, int row, int column, const QString& text, bool right) {
  auto* item = new QTableWidgetItem(text);
  if (right) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  table->setItem(row, column, item);
}

}  // namespace

const QString StatisticsWindow::kCaption = QStringLiteral("Statistics");

StatisticsWindow::StatisticsWindow(SeriesStatistics statistics, const QString& listCaption,
                                   Dialogs& dialogs, QString folder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      statistics_(std::move(statistics)),
      dialogs_(dialogs),
      folder_(std::move(folder)) {
  setObjectName(QStringLiteral("Statistics"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kCaption + QStringLiteral(": ") + listCaption);

  const auto figures = SummaryRows(statistics_);
  GridFigures =
      ReadOnlyTable(this, QStringLiteral("GridFigures"), static_cast<int>(figures.size()), 2);
  GridFigures->horizontalHeader()->hide();
  for (int r = 0; r < static_cast<int>(figures.size()); ++r) {
    SetCell(GridFigures, r, 0, figures[static_cast<std::size_t>(r)].first, false);
    SetCell(GridFigures, r, 1, figures[static_cast<std::size_t>(r)].second, false);
  }
  GridFigures->resizeColumnsToContents();
  GridFigures->horizontalHeader()->setStretchLastSection(true);

  const QStringList headings = DailyHeadings(statistics_);
  const std::vector<QStringList> days = DailyRows(statistics_);
  GridDays = ReadOnlyTable(this, QStringLiteral("GridDays"), static_cast<int>(days.size()),
                           static_cast<int>(headings.size()));
  GridDays->setHorizontalHeaderLabels(headings);
  for (int r = 0; r < static_cast<int>(days.size()); ++r) {
    const QStringList& row = days[static_cast<std::size_t>(r)];
    for (int c = 0; c < row.size(); ++c) SetCell(GridDays, r, c, row[c], c > 0);
  }
  GridDays->resizeColumnsToContents();

  CmdCopy = new QPushButton(QStringLiteral("Copy"), this);
  CmdExport = new QPushButton(QStringLiteral("Export CSV"), this);
  connect(CmdCopy, &QPushButton::clicked, this, &StatisticsWindow::CmdCopyClick);
  connect(CmdExport, &QPushButton::clicked, this, &StatisticsWindow::CmdExportClick);
  auto* copy = new QAction(this);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(copy, &QAction::triggered, this, &StatisticsWindow::CmdCopyClick);
  addAction(copy);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(CmdCopy);
  buttons->addWidget(CmdExport);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(GridFigures, 2);
  layout->addWidget(GridDays, 3);
  layout->addLayout(buttons);
  resize(640, 560);
}

void StatisticsWindow::CmdCopyClick() {
  QApplication::clipboard()->setText(StatisticsTabText(statistics_));
}

void StatisticsWindow::CmdExportClick() {
  const QString path = dialogs_.saveFileName(kCsvFilter, folder_);
  if (path.isEmpty()) return;
  const QByteArray csv = DailyTableCsv(statistics_);
  WriteExportFile(dialogs_, path,
                  [&csv](QIODevice& file) { return file.write(csv) == csv.size(); });
}

bool WriteExportFile(Dialogs& dialogs, const QString& path,
                     const std::function<bool(QIODevice& file)>& write) {
  QFile out(path);
  if (out.open(QIODevice::WriteOnly | QIODevice::Truncate) && write(out) && out.flush())
    return true;
  dialogs.message(QStringLiteral("Cannot write %1: %2").arg(path, out.errorString()), kProgramTitle,
                  MessageIcon::Critical);
  return false;
}

}  // namespace solardesk
