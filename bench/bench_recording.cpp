// "Open" of a full data file (345,600 records) into the file list, beside `wc -l` on the same
// file in the same run.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "FullFile.h"
#include "app/SolarDeskApp.h"
#include "core/Clock.h"
#include "core/Dialogs.h"
#include "recording/logic/DataFileFormat.h"
#include "sim/VirtualHidBackend.h"

namespace {

using namespace solardesk;

// Answers every open dialog with one path and everything else with Cancel.
class OpenOnlyDialogs final : public Dialogs {
 public:
  QString path;
  DialogAnswer message(const QString&, const QString&, MessageIcon, MessageButtons) override {
    return DialogAnswer::Cancel;
  }
  QString input(const QString&, const QString&, const QString&) override { return {}; }
  std::optional<int> choose(const QString&, const QString&, const QStringList&, int) override {
    return std::nullopt;
  }
  QString saveFileName(const QString&, const QString&) override { return {}; }
  QString openFileName(const QString&, const QString&) override { return path; }
  bool choosePrinter(QPrinter&) override { return false; }
  bool previewPrint(QPrinter&, const std::function<void(QPrinter&)>&) override { return false; }
  QString folderName(const QString&, const QString&) override { return {}; }
};

void BM_OpenFullFileIntoFileList(benchmark::State& state) {
  ManualClock clock;
  OpenOnlyDialogs dialogs;
  dialogs.path = FullFile();
  sim::VirtualHidBackend bus;
  SolarDeskApp program(bus, clock, dialogs);
  for (auto _ : state) {
    program.panel().clickToolbar(QStringLiteral("Open"));
    if (program.recording().fileList()->Entries().count() != kRecordsPerFile) std::abort();
    // The replaced list window goes, as it would at the next turn of the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}
BENCHMARK(BM_OpenFullFileIntoFileList)->Unit(benchmark::kMillisecond);

void BM_WcLinesOfFullFile(benchmark::State& state) {
  const QByteArray command = "wc -l < '" + FullFile().toLocal8Bit() + "' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.constData()) != 0) std::abort();
  }
}
BENCHMARK(BM_WcLinesOfFullFile)->Unit(benchmark::kMillisecond);

}  // namespace
