#include "SolarDeskApp.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>

#include "About.h"

#include "graphs/logic/PlotSeriesFile.h"
#include "logger/ui/LoggerCommands.h"
#include "panel/ui/KeyBinder.h"
#include "recording/logic/DataFileFormat.h"
#include "setup/ui/SetupArea.h"

namespace solardesk {
namespace {

// The DataList window as the logger fills it: it opens below the Memory window.
class DataListBelowMemory final : public DataListSink {
 public:
  explicit DataListBelowMemory(SolarDeskApp& app) : app_(app) {}
  bool IsOpen() const override { return app_.dataList().IsOpen(); }
  void Close() override { app_.dataList().Close(); }
  void Show(const QString& loggerUnit) override {
    app_.recording().setMemoryWindow(app_.logger().memory());
    app_.dataList().Show(loggerUnit);
  }
  void AddEntry(const QString& line) override { app_.dataList().AddEntry(line); }
  QString WriteSetFile(const QString& path, const QString& loggerUnit,
                       const QStringList& lines) override {
    return app_.dataList().WriteSetFile(path, loggerUnit, lines);
  }
  void ExportSetCsv(const QString& loggerUnit, const QStringList& lines) override {
    app_.dataList().ExportSetCsv(loggerUnit, lines);
  }

 private:
  SolarDeskApp& app_;
};

}  // namespace

SolarDeskApp::SolarDeskApp(HidBackend& backend, Clock& clock, Dialogs& dialogs)
    : dialogs_(dialogs),
      instrument_(std::make_unique<Instrument>(backend, clock, dialogs_)),
      panel_(std::make_unique<PanelWindow>(*instrument_)) {
  WireKeys();
  WireSetup();
  WireRecording();
  WireLogger();
  WireGraphs();
  WireMenu();
  ShowRecentFiles();
}

// The secondary windows refer to the instrument, so they go before it.
SolarDeskApp::~SolarDeskApp() {
  delete liveGraph_.data();
  delete plot_.data();
}

// Front-panel keys: presses on the meter picture send the meter's key codes.
void SolarDeskApp::WireKeys() {
  keys_ = std::make_unique<KeyBinder>(*panel_->face, *instrument_);
}

// Set-up chooser, schedules, calibration and the meter clock window ("Set", "RTC").
void SolarDeskApp::WireSetup() {
  setup_ = std::make_unique<SetupArea>(*panel_, *instrument_);
  SetupArea* setup = setup_.get();
  panel_->setToolbarCommand(QStringLiteral("Set"), [setup] { setup->ToggleChooser(); });
  panel_->setToolbarCommand(QStringLiteral("RTC"), [setup] { setup->OpenClockWindow(); });
}

// Recording on the PC, data files and list windows ("Save", "Open", "Interval", "List").
void SolarDeskApp::WireRecording() {
  recording_ = std::make_unique<RecordingWindows>(*instrument_, *panel_);
  RecordingWindows& r = *recording_;
  r.plot = [this](const std::vector<float>& series, int plotPointCount,
                  const QString& openedFileUnit) {
    if (plotSeries) plotSeries(series, plotPointCount, openedFileUnit);
  };
  // A file recorded or opened goes to the front of the recent files.
  panel_->setToolbarCommand(QStringLiteral("Save"), [this, &r] {
    r.Save();
    if (r.transfer.recorder.fileRecording()) {
      recentFiles_.Add(r.transfer.recorder.recordFile().Path());
      ShowRecentFiles();
    }
  });
  panel_->setToolbarCommand(QStringLiteral("Open"), [this, &r] {
    const QPointer<FileList> before = r.fileList();
    r.Open();
    if (r.fileList() && r.fileList() != before) {
      recentFiles_.Add(dialogs_.LastOpened());
      ShowRecentFiles();
    }
  });
  panel_->openDroppedFile = [this](const QString& path) { OpenDataFile(path); };
  panel_->setToolbarCommand(QStringLiteral("Interval"), [&r] { r.Interval(); });
  panel_->setToolbarCommand(QStringLiteral("List"), [&r] { r.List(); });
}

// The meter's data logger ("Logger", "Erase").
void SolarDeskApp::WireLogger() {
  dataListBelowMemory_ = std::make_unique<DataListBelowMemory>(*this);
  dataListSink = dataListBelowMemory_.get();
  logger_ =
      std::make_unique<LoggerCommands>(*instrument_, *panel_, [this] { return dataListSink; });
  // While a set downloads, no key or toolbar command may reach the meter.
  logger_->onDownloadRunning = [this](bool running) {
    panel_->face->setEnabled(!running);
    panel_->Toolbar1->setEnabled(!running);
  };
  logger_->onCompare = [this](std::vector<ComparedSet> sets) { CompareSets(std::move(sets)); };
  panel_->setToolbarCommand(QStringLiteral("Logger"), [this] { logger_->Logger(); });
  panel_->setToolbarCommand(QStringLiteral("Erase"), [this] { logger_->Erase(); });
}

// The logger's "Compare": one plot with every set as a series named by its start; sets in
// different units are refused.
void SolarDeskApp::CompareSets(std::vector<ComparedSet> sets) {
  if (sets.empty()) return;
  const QString unit = sets.front().unit;
  for (const ComparedSet& set : sets) {
    if (const std::optional<QString> refusal = UnitRefusal(unit, set.unit)) {
      instrument().dialogs.message(*refusal, kProgramTitle, MessageIcon::Exclamation);
      return;
    }
  }
  std::vector<PlotSeriesData> series;
  int longest = 0;
  for (const ComparedSet& set : sets) {
    RecordSeries records;
    for (const QString& line : set.lines) records.Append(line.toLatin1());
    series.push_back(PlotSeriesOfRecords(records, set.start, set.unit));
    longest = std::max(longest, series.back().size());
  }
  ShowPlot(std::move(series), longest, unit);
}

// The live graph ("Graph") and the file plot.
void SolarDeskApp::WireGraphs() {
  panel().setToolbarCommand(QStringLiteral("Graph"), [this] {
    if (!graphState_.Open(instrument().meter.ReadingUnit)) return;
    liveGraph_ = new RealTimeGraph(instrument(), graphState_, &panel());
    liveGraph_->show();
  });
  plotSeries = [this](const std::vector<float>& series, int plotPointCount,
                      const QString& openedFileUnit) {
    PlotSeriesData data;
    data.values = series;
    data.unit = openedFileUnit.trimmed();
    // The file list's times go with its values, for a plot against the clock.
    if (FileList* list = recording().fileList();
        list && list->Entries().count() == static_cast<int>(series.size())) {
      ReadRecordTimes(list->Records(), data);
      data.name = SeriesName(list->Caption(), data);
    }
    std::vector<PlotSeriesData> all;
    all.push_back(std::move(data));
    ShowPlot(std::move(all), plotPointCount, openedFileUnit);
  };
}

// The menu bar's entries that are no toolbar button: the list commands go to the open file
// list (else the live list or the DataList, where they have the command), the user guide to the
// desktop's browser.
void SolarDeskApp::WireMenu() {
  const auto onList = [this](const QString& key, const QString& none) {
    return [this, key, none] {
      RecordingWindows& r = recording();
      for (ListWindow* list :
           {static_cast<ListWindow*>(r.fileList()), static_cast<ListWindow*>(r.realTimeList()),
            static_cast<ListWindow*>(r.dataList())}) {
        if (list && list->isVisible() && list->toolbarAction(key)) {
          list->raise();
          list->clickToolbar(key);
          return;
        }
      }
      instrument().dialogs.message(none, kProgramTitle, MessageIcon::Information);
    };
  };
  const QString open = QStringLiteral("Open a data file first (File > Open...).");
  panel().setToolbarCommand(QStringLiteral("Export CSV"),
                            onList(QStringLiteral("Export CSV"), open));
  panel().setToolbarCommand(QStringLiteral("Print"), onList(QStringLiteral("Print"), open));
  panel().setToolbarCommand(QStringLiteral("Print Preview"),
                            onList(QStringLiteral("Print Preview"), open));
  panel().setToolbarCommand(QStringLiteral("Plot"), onList(QStringLiteral("Plot"), open));
  panel().setToolbarCommand(QStringLiteral("User guide"), [this] {
    const QString guide = UserGuidePath();
    if (guide.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(guide))) {
      instrument().dialogs.message(
          QStringLiteral("The user guide could not be opened; it is the \"User guide\" section of "
                         "README.md."),
          kProgramTitle, MessageIcon::Information);
    }
  });
  panel().setToolbarCommand(QStringLiteral("About"), [this] {
    instrument().dialogs.message(AboutText(), QStringLiteral("About SolarDesk"),
                                 MessageIcon::Information);
  });
}

void SolarDeskApp::OpenDataFile(const QString& path) {
  dialogs_.AnswerNextOpen(path);
  panel().clickToolbar(QStringLiteral("Open"));
  dialogs_.AnswerNextOpen({});  // "Open" may have been refused before it asked
}

// File > Recent files: one entry per file, numbered, greyed out while there is none.
void SolarDeskApp::ShowRecentFiles() {
  QMenu* menu = panel().recentMenu;
  menu->clear();
  const QStringList paths = recentFiles_.Paths();
  for (int i = 0; i < paths.size(); ++i) {
    const QString& path = paths[i];
    QAction* a =
        menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
    a->setData(path);
    QObject::connect(a, &QAction::triggered, &panel(), [this, path] { OpenRecentFile(path); });
  }
  menu->setEnabled(!paths.isEmpty());
}

void SolarDeskApp::OpenRecentFile(const QString& path) {
  if (!QFileInfo(path).isFile()) {
    const DialogOwner owner(instrument().dialogs, &panel());
    instrument().dialogs.message(
        QStringLiteral("%1\n\nThe file is no longer there; it is taken off the recent files.")
            .arg(QDir::toNativeSeparators(path)),
        kProgramTitle, MessageIcon::Exclamation);
    recentFiles_.Remove(path);
    ShowRecentFiles();
    return;
  }
  OpenDataFile(path);
}

Plot& SolarDeskApp::ShowPlot(std::vector<PlotSeriesData> series, int plotPointCount,
                             const QString& unitTitle) {
  if (plot_.isNull()) {
    plot_ = new Plot(instrument(), unitTitle, &panel());
    plot_->chooseFile = [this](Dialogs& dialogs) -> std::optional<PlotSeriesData> {
      RecordingWindows& r = recording();
      const QString path =
          dialogs.openFileName(kDataFileFilter, r.transfer.recorder.lastDataFolder());
      if (path.isEmpty()) return std::nullopt;
      r.transfer.recorder.SetLastDataFolder(QFileInfo(path).absolutePath());
      return ReadPlotSeriesFile(path, instrument());
    };
    plot_->readFile = [this](const QString& path) {
      return ReadPlotSeriesFile(path, instrument());
    };
  }
  plot_->show();
  plot_->raise();
  plot_->LoadSeries(std::move(series), plotPointCount);
  return *plot_;
}

}  // namespace solardesk
