#include "StatisticsWindow.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QVBoxLayout>

#include "analysis/RecordsCsv.h"
#include "analysis/SiteDialog.h"
#include "analysis/SiteSettings.h"
#include "analysis/StatisticsReport.h"
#include "core/Dialogs.h"
#include "core/WriteGate.h"
#include "report/SiteReport.h"

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

// A table of the readable summary: the first column left, the figures right.
void FillTable(QTableWidget* table, const QStringList& headings,
               const std::vector<QStringList>& rows) {
  table->clear();
  table->setRowCount(static_cast<int>(rows.size()));
  table->setColumnCount(static_cast<int>(headings.size()));
  table->setHorizontalHeaderLabels(headings);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const QStringList& row = rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < row.size(); ++c) SetCell(table, r, c, row[c], c > 0);
  }
  table->resizeColumnsToContents();
}

// The height that shows the table's heading and its first `rows` rows (fewer when it has fewer).
int HeightForRows(const QTableWidget* table, int rows) {
  int height = table->horizontalHeader()->sizeHint().height() +
               table->horizontalScrollBar()->sizeHint().height() + 2 * table->frameWidth();
  for (int r = 0; r < std::min(table->rowCount(), rows); ++r)
    height += table->verticalHeader()->sectionSize(r);
  return height;
}

}  // namespace

const QString StatisticsWindow::kCaption = QStringLiteral("Statistics");

StatisticsWindow::StatisticsWindow(SeriesStatistics statistics, ReadingSeries series,
                                   const QString& listCaption, Dialogs& dialogs, QString folder,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window),
      statistics_(std::move(statistics)),
      series_(std::move(series)),
      dialogs_(dialogs, this),
      folder_(std::move(folder)) {
  setObjectName(QStringLiteral("Statistics"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kCaption + QStringLiteral(": ") + listCaption);

  GridFigures = ReadOnlyTable(this, QStringLiteral("GridFigures"), 0, 2);
  GridFigures->horizontalHeader()->hide();
  GridFigures->horizontalHeader()->setStretchLastSection(true);
  GridFigures->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  GridDays = ReadOnlyTable(this, QStringLiteral("GridDays"), 0, 0);
  GridMonths = ReadOnlyTable(this, QStringLiteral("GridMonths"), 0, 0);
  ShowFigures();

  CmdCopy = new QPushButton(QStringLiteral("Copy"), this);
  CmdExport = new QPushButton(QStringLiteral("Export CSV"), this);
  CmdSite = new QPushButton(QStringLiteral("Site..."), this);
  CmdSensor = new QPushButton(QStringLiteral("Sensor..."), this);
  CmdReport = new QPushButton(QStringLiteral("Report..."), this);
  connect(CmdSite, &QPushButton::clicked, this, &StatisticsWindow::CmdSiteClick);
  connect(CmdSensor, &QPushButton::clicked, this, &StatisticsWindow::CmdSensorClick);
  connect(CmdReport, &QPushButton::clicked, this, &StatisticsWindow::CmdReportClick);
  connect(CmdCopy, &QPushButton::clicked, this, &StatisticsWindow::CmdCopyClick);
  connect(CmdExport, &QPushButton::clicked, this, &StatisticsWindow::CmdExportClick);
  auto* copy = new QAction(this);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(copy, &QAction::triggered, this, &StatisticsWindow::CmdCopyClick);
  addAction(copy);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CmdSite);
  buttons->addWidget(CmdSensor);
  buttons->addStretch();
  buttons->addWidget(CmdCopy);
  buttons->addWidget(CmdExport);
  buttons->addWidget(CmdReport);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(GridFigures);
  layout->addWidget(GridDays, 1);
  layout->addWidget(GridMonths);
  layout->addLayout(buttons);
  resize(640, 600);
}

void StatisticsWindow::ShowFigures() {
  statistics_.clearSky.reset();
  statistics_.completeness.reset();
  for (DayFigures& d : statistics_.days) {
    d.clearSky.reset();
    d.completeness.reset();
  }
  assumed_ = LoadSiteAssumptions();
  if (assumed_.site) AddClearSky(statistics_, series_, *assumed_.site, assumed_.clearSky);
  // What the figures assume first (the site, the sensor, the clear sky, the time zone that splits
  // the days), as the command line's summary gives them.
  const auto figures = AssumedAndSummaryRows(statistics_, assumed_);
  GridFigures->setRowCount(static_cast<int>(figures.size()));
  for (int r = 0; r < static_cast<int>(figures.size()); ++r) {
    SetCell(GridFigures, r, 0, figures[static_cast<std::size_t>(r)].first, false);
    SetCell(GridFigures, r, 1, figures[static_cast<std::size_t>(r)].second, false);
  }
  GridFigures->resizeColumnToContents(0);
  // Every figure in sight: the grid as tall as its rows, the daily table taking the rest.
  GridFigures->setFixedHeight(GridFigures->verticalHeader()->length() +
                              2 * GridFigures->frameWidth());

  FillTable(GridDays, DailyHeadings(statistics_), DailyRows(statistics_));
  FillTable(GridMonths, MonthlyHeadings(statistics_), MonthlyRows(statistics_));
  // The months in sight (up to half a year, then it scrolls); the daily table gets the rest, and
  // the window grows rather than hide the first few days when the figures take more room.
  GridMonths->setFixedHeight(HeightForRows(GridMonths, 6));
  GridDays->setMinimumHeight(HeightForRows(GridDays, 4));
}

void StatisticsWindow::CmdSiteClick() {
  const DialogOwner owner(dialogs_, this);
  if (EditSite(dialogs_)) ShowFigures();
}

void StatisticsWindow::CmdSensorClick() {
  const DialogOwner owner(dialogs_, this);
  if (EditSensor(dialogs_)) ShowFigures();
}

void StatisticsWindow::CmdReportClick() {
  const DialogOwner owner(dialogs_, this);
  const QString path = WriteGate::Shared()
                           .AskFree(dialogs_,
                                    [&]() -> std::optional<QString> {
                                      return dialogs_.saveFileName(kPdfFilter, folder_);
                                    })
                           .value_or(QString());
  if (path.isEmpty()) return;
  std::vector<ReportFile> files;
  for (const QString& source : sourceFiles_) files.push_back(DescribeFile(source));
  const SiteReportInput input{statistics_, series_, assumed_, files,
                              QCoreApplication::applicationVersion()};
  const QByteArray pdf = SiteReportPdf(input, ReportPageSize(QLocale()));
  WriteExportFile(dialogs_, path, [&pdf](const PutBytes& put) { return put(pdf); });
}

void StatisticsWindow::CmdCopyClick() {
  QApplication::clipboard()->setText(StatisticsTabText(statistics_));
}

void StatisticsWindow::CmdExportClick() {
  const DialogOwner owner(dialogs_, this);
  const QString path = ChooseExportFile(dialogs_, folder_);
  if (path.isEmpty()) return;
  const QByteArray csv = DailyTableCsv(statistics_);
  WriteExportFile(dialogs_, path, [&csv](const PutBytes& put) { return put(csv); });
}

QString ChooseExportFile(Dialogs& dialogs, const QString& folder) {
  return WriteGate::Shared()
      .AskFree(dialogs,
               [&]() -> std::optional<QString> { return dialogs.saveFileName(kCsvFilter, folder); })
      .value_or(QString());
}

bool WriteExportFile(Dialogs& dialogs, const QString& path,
                     const std::function<bool(const PutBytes& put)>& write) {
  QString why;
  const std::unique_ptr<FileWriter> out = WriteGate::Shared().Open(path, WriteUse::Saving, &why);
  // Small pieces are gathered, so that a long export costs one system call per 64 KiB.
  QByteArray gathered;
  const auto put = [&](QByteArrayView piece) {
    gathered.append(piece.data(), piece.size());
    if (gathered.size() < (1 << 16)) return true;
    const bool ok = out->Write(gathered);
    gathered.clear();
    return ok;
  };
  if (out && write(put) && (gathered.isEmpty() || out->Write(gathered)) && out->Close())
    return true;
  if (out) why = out->Error();
  dialogs.message(QStringLiteral("Cannot write %1: %2").arg(path, why), kProgramTitle,
                  MessageIcon::Critical);
  return false;
}

}  // namespace solardesk
