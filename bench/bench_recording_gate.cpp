// What the write gate costs a recording tick: a whole recording tick into a data file through the
// gate, beside the same record line written straight to a file as the tick did before.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "DrivenApp.h"
#include "recording/logic/DataFileFormat.h"
#include "recording/logic/DataFileWriter.h"

namespace solardesk {
namespace {

void BM_RecordingTickThroughTheGate(benchmark::State& state) {
  QTemporaryDir dir;
  DrivenApp driven;
  FileTransfer& transfer = driven.app.recording().transfer;
  if (!transfer.StartFileRecording(dir.filePath(QStringLiteral("gate.pvd")))) std::abort();
  for (auto _ : state) {
    driven.clock.advanceMs(1000);
    transfer.recorder.RecordingTick();
  }
  transfer.StopFileRecording();
}
BENCHMARK(BM_RecordingTickThroughTheGate)->Iterations(20000)->Unit(benchmark::kMicrosecond);

// The record line of a tick through the gate alone: the writer's whole-line write and its check
// that the name still leads to the file.
void BM_RecordLineThroughTheGate(benchmark::State& state) {
  QTemporaryDir dir;
  RecordFile file;
  if (!file.Create(dir.filePath(QStringLiteral("line.pvd")), QStringLiteral("W/(M)2")))
    std::abort();
  float number = 0;
  for (auto _ : state) {
    if (!file.WriteRecord(++number, QStringLiteral("2026/12/04 09:30:00"), QStringLiteral("98.76")))
      std::abort();
  }
}
BENCHMARK(BM_RecordLineThroughTheGate)->Iterations(20000)->Unit(benchmark::kMicrosecond);

// The record line of a tick written with one system call, and the check the tick made before
// (whether the file was unlinked), without the gate.
void BM_RecordLineWithoutTheGate(benchmark::State& state) {
  QTemporaryDir dir;
  const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("plain.pvd")));
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  float number = 0;
  for (auto _ : state) {
    const QByteArray line =
        RecordText(++number, QStringLiteral("2026/12/04 09:30:00"), QStringLiteral("98.76"))
            .toLatin1() +
        kLineEnd;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || ::write(fd, line.constData(), line.size()) != line.size())
      std::abort();
  }
  ::close(fd);
}
BENCHMARK(BM_RecordLineWithoutTheGate)->Iterations(20000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace solardesk
