#include "AckedRecords.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "DayFiles.h"
#include "core/WriteGate.h"

namespace solardesk::station {

bool operator<(const RecordPosition& a, const RecordPosition& b) {
  if (a.file != b.file) return DayFiles::Before(a.file, b.file);
  return a.record < b.record;
}

bool AckedRecords::ByDayFile::operator()(const QString& a, const QString& b) const {
  return DayFiles::Before(a, b);
}

namespace {

// The biggest state file read: years of day files, each with a few runs.
constexpr qint64 kMaxStateBytes = 4 << 20;

std::optional<std::pair<long long, long long>> ParseRun(const QString& text) {
  const QStringList ends = text.split(QLatin1Char('-'));
  if (ends.size() != 2) return std::nullopt;
  bool okFirst = false, okLast = false;
  const long long first = ends[0].toLongLong(&okFirst);
  const long long last = ends[1].toLongLong(&okLast);
  if (!okFirst || !okLast || first < 1 || last < first) return std::nullopt;
  return std::make_pair(first, last);
}

}  // namespace

bool AckedRecords::Load(const QString& path) {
  files_.clear();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxStateBytes) return false;
  const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
  for (const QString& line : lines) {
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.isEmpty() || !DayFiles::ParseName(fields[0])) continue;
    Note(fields[0]);
    for (qsizetype i = 1; i < fields.size(); ++i)
      if (const auto run = ParseRun(fields[i])) Add(fields[0], run->first, run->second);
  }
  return !files_.empty();
}

bool AckedRecords::Save(const QString& path, QString* why) const {
  QByteArray text;
  for (const auto& [name, runs] : files_) {
    text += name.toUtf8();
    for (const auto& [first, last] : runs)
      text += ' ' + QByteArray::number(first) + '-' + QByteArray::number(last);
    text += '\n';
  }
  const QString temporary = path + QStringLiteral(".tmp");
  const std::unique_ptr<FileWriter> out =
      WriteGate::Shared().Open(temporary, WriteUse::Saving, why);
  if (!out) return false;
  if (!out->Write(text) || !out->Close()) {
    *why = out->Error();
    out->Discard();
    return false;
  }
  if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) !=
      0) {
    *why = QStringLiteral("cannot rename %1: %2")
               .arg(temporary, QString::fromLocal8Bit(strerror(errno)));
    return false;
  }
  return true;
}

void AckedRecords::Add(const QString& file, long long first, long long last) {
  Runs& runs = files_[file];
  // Merged with every run it touches or meets.
  auto at = std::lower_bound(runs.begin(), runs.end(), std::make_pair(first, first));
  if (at != runs.begin() && std::prev(at)->second + 1 >= first) --at;
  auto end = at;
  while (end != runs.end() && end->first <= last + 1) {
    first = std::min(first, end->first);
    last = std::max(last, end->second);
    ++end;
  }
  at = runs.erase(at, end);
  runs.insert(at, {first, last});
}

bool AckedRecords::Contains(const QString& file, long long record) const {
  const auto found = files_.find(file);
  if (found == files_.end()) return false;
  const Runs& runs = found->second;
  auto at = std::upper_bound(runs.begin(), runs.end(),
                             std::make_pair(record, std::numeric_limits<long long>::max()));
  return at != runs.begin() && std::prev(at)->second >= record;
}

long long AckedRecords::CountUpTo(const QString& file, long long upTo) const {
  const auto found = files_.find(file);
  if (found == files_.end()) return 0;
  long long n = 0;
  for (const auto& [first, last] : found->second)
    if (first <= upTo) n += std::min(last, upTo) - first + 1;
  return n;
}

std::optional<QString> AckedRecords::Oldest() const {
  if (files_.empty()) return std::nullopt;
  return files_.begin()->first;
}

std::vector<QString> AckedRecords::Files() const {
  std::vector<QString> out;
  for (const auto& entry : files_) out.push_back(entry.first);
  return out;
}

}  // namespace solardesk::station
