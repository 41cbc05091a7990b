// The window program's memory with a full recording (345,600 records) opened in the file list
// and plotted: the resident set of the program with its main window shown, then after "Open" and
// after "Plot", and the highest it reached. Run on the offscreen platform, no person needed:
//   QT_QPA_PLATFORM=offscreen build/bench/solardesk_bench_window_memory
#include <QApplication>
#include <cstdio>

#include "FullFile.h"
#include "ProcessMemory.h"
#include "app/SolarDeskApp.h"
#include "core/Clock.h"
#include "core/NoDialogs.h"
#include "recording/ui/FileList.h"
#include "sim/VirtualHidBackend.h"

using namespace solardesk;

namespace {

double Mb(long kb) {
  return kb / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString path = FullFile();  // written before anything is measured
  SystemClock clock;
  sim::VirtualHidBackend bus;
  NoDialogs dialogs;
  SolarDeskApp program(bus, clock, dialogs);
  program.panel().show();
  QApplication::processEvents();
  const long shown = StatusKb("VmRSS");

  program.OpenDataFile(path);
  QApplication::processEvents();
  FileList* list = program.recording().fileList();
  if (!list || list->Entries().count() != kRecordsPerFile) {
    std::fprintf(stderr, "the full file did not open in the file list\n");
    return 1;
  }
  const long opened = StatusKb("VmRSS");

  list->clickToolbar(QStringLiteral("Plot"));
  QApplication::processEvents();
  if (!program.plotWindow()) {
    std::fprintf(stderr, "the plot did not open\n");
    return 1;
  }
  program.plotWindow()->repaint();
  const long plotted = StatusKb("VmRSS");
  const long highest = StatusKb("VmHWM");

  std::printf("records: %d\n", kRecordsPerFile);
  std::printf("main window shown:        %6.1f MB resident\n", Mb(shown));
  std::printf("file opened in the list:  %6.1f MB (+%.1f MB)\n", Mb(opened), Mb(opened - shown));
  std::printf("file plotted:             %6.1f MB (+%.1f MB)\n", Mb(plotted), Mb(plotted - shown));
  std::printf("highest:                  %6.1f MB (+%.1f MB over the window alone)\n", Mb(highest),
              Mb(highest - shown));
  std::printf("per record, opened and plotted: %.0f bytes\n",
              (plotted - shown) * 1024.0 / kRecordsPerFile);
  return 0;
}
