#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>

#include "panel/logic/DisplayDecode.h"
#include "recording/logic/DataFileFormat.h"
#include "station/DayFiles.h"

using namespace solardesk;
using namespace solardesk::station;

namespace {

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

// Any bytes as the day's data file the station finds when it starts again (the first byte
// chooses the meter's unit, the rest is the file). The station writes the next sample into
// that file or, when its header names another unit, into the day's next part; what the file
// held up to its last line end is kept byte for byte, a file it cannot carry on in is left as
// it was, the record written is a whole line ending the file, and a second restart numbers
// the next sample one higher (up to the seven figures the file's numbers hold).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static const QString folder = QStringLiteral("/dev/shm/solardesk-fuzz-days-%1").arg(getpid());
  QDir(folder).removeRecursively();
  QDir().mkpath(folder);
  const QDate day(2026, 12, 4);
  const QString path = QDir(folder).filePath(DayFiles::FileName(day, 0));
  const QString next = QDir(folder).filePath(DayFiles::FileName(day, 1));
  const QByteArray before(reinterpret_cast<const char*>(data) + 1,
                          static_cast<qsizetype>(size - 1));
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return 0;
    f.write(before);
  }
  const QString unit = data[0] % 2 ? kUnitBtu : kUnitWatts;
  const QDateTime t(day, QTime(12, 0, 0));
  const QString time = SampleTimeText(t);

  DayFiles files(folder, [](const QString&) {});
  const std::optional<long long> number = files.Write(t, QStringLiteral("12.5"), unit);
  const QString written = files.CurrentPath();
  files.Close();
  const QByteArray after = Contents(path);
  if (!number) {
    if (after != before || QFile::exists(next)) __builtin_trap();
    return 0;
  }
  if (*number < 1 || (written != path && written != next)) __builtin_trap();
  if (written == next && after != before) __builtin_trap();
  const QByteArray result = Contents(written);
  const QByteArray record =
      RecordText(static_cast<float>(*number), time, QStringLiteral("12.5")).toLatin1() + kLineEnd;
  if (!result.endsWith(record)) __builtin_trap();
  const qsizetype lastEnd = before.lastIndexOf(kLineEnd);
  if (written == path && lastEnd >= 0 && !after.startsWith(before.left(lastEnd + 2)))
    __builtin_trap();

  // The file's numbers hold seven significant figures: a record number from 10,000,000 on is
  // written rounded.
  if (*number < 10'000'000) {
    DayFiles again(folder, [](const QString&) {});
    if (again.Write(t, QStringLiteral("13"), unit) != *number + 1) __builtin_trap();
  }
  return 0;
}
