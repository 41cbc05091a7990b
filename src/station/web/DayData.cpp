#include "DayData.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTimeZone>
#include <algorithm>
#include <chrono>

#include "analysis/ClearSky.h"
#include "analysis/ReadingSeries.h"
#include "analysis/SeriesStatistics.h"
#include "analysis/StatisticsReport.h"
#include "core/WriteGate.h"
#include "data/RecordFile.h"
#include "station/SampleFormats.h"

namespace solardesk::station::web {
namespace {

// Bumped when the figures kept in the cache file change their form.
constexpr int kCacheVersion = 2;

qint64 SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// What the cached figures were computed for: the site, the sensor and the sky model, as `stats`
// echoes them.
QString SiteKey(const SiteAssumptions& assumed) {
  if (!assumed.site) return {};
  QStringList parts;
  for (const SiteEchoValue& v : SiteEcho(assumed))
    parts << (v.number ? QString::number(*v.number, 'g', 10) : v.text);
  return parts.join(QLatin1Char(','));
}

}  // namespace

std::optional<QDate> DayOfFileName(const QString& name) {
  static const QRegularExpression pattern(
      QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})(-[1-9][0-9]{0,3})?\\.pvd$"));
  const QRegularExpressionMatch m = pattern.match(name);
  if (!m.hasMatch()) return std::nullopt;
  const QDate day = QDate::fromString(m.captured(1), u"yyyy-MM-dd");
  if (!day.isValid()) return std::nullopt;
  return day;
}

QString DayFilePath(const QString& dir, const QString& name) {
  if (!DayOfFileName(name)) return QString();
  const QString folder = QFileInfo(dir).canonicalFilePath();
  const QFileInfo file(QDir(dir).filePath(name));
  const QString real = file.canonicalFilePath();
  if (folder.isEmpty() || real.isEmpty() || !QFileInfo(real).isFile()) return QString();
  if (QFileInfo(real).path() != folder) return QString();
  return real;
}

QStringList DayFileNames(const QString& dir) {
  QStringList names;
  const QStringList candidates =
      QDir(dir).entryList({QStringLiteral("*.pvd")}, QDir::Files | QDir::System, QDir::Name);
  for (const QString& name : candidates)
    if (!DayFilePath(dir, name).isEmpty()) names << name;
  // A day's parts in the order they were written: "2026-06-01.pvd", then "-1", "-2", ...
  const auto part = [](const QString& name) {
    return name.size() > 14 ? name.mid(11, name.size() - 15).toInt() : 0;
  };
  std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
    const int byDay = QStringView(a).left(10).compare(QStringView(b).left(10));
    return byDay != 0 ? byDay < 0 : part(a) < part(b);
  });
  return names;
}

QByteArray DayRecordsJson(const QString& dir, const QDate& date) {
  QByteArray out = "[";
  bool first = true;
  const QString prefix = date.toString(u"yyyy-MM-dd");
  for (const QString& name : DayFileNames(dir)) {
    if (!name.startsWith(prefix)) continue;
    RecordSeries records;
    ReadRecordFile(DayFilePath(dir, name), records);
    for (int i = 0; i < records.count(); ++i) {
      const std::optional<Sample> s = SampleOfRecord(records, i);
      if (!s) continue;
      if (!first) out += ",\n";
      out += SampleJson(*s);
      first = false;
    }
  }
  return out + "]\n";
}

std::optional<QJsonObject> ComputeDayFigures(const QString& path, const SiteAssumptions& assumed) {
  RecordSeries records;
  ReadRecordFile(path, records);
  const ReadingSeries series = ReadSeries(records);
  SeriesStatistics s = ComputeStatistics(series, records.unit());
  if (s.count == 0 || s.days.empty()) return std::nullopt;
  if (assumed.site) AddClearSky(s, series, *assumed.site, assumed.clearSky);
  // The same figures and the same writing of them as `stats --json`.
  const QJsonObject all = QJsonDocument::fromJson(StatisticsJson(s)).object();
  QJsonObject day = all.value(QLatin1String("days")).toArray().first().toObject();
  day.insert(QLatin1String("file"), QFileInfo(path).fileName());
  day.insert(QLatin1String("unit"), all.value(QLatin1String("unit")));
  day.insert(QLatin1String("energy_unit"),
             all.value(QLatin1String("energy")).toObject().value(QLatin1String("unit")));
  return day;
}

DailyFigures::DailyFigures(QString dir, SiteAssumptions assumed)
    : dir_(std::move(dir)), assumed_(std::move(assumed)) {
  LoadCache();
}

void DailyFigures::LoadCache() {
  QFile file(QDir(dir_).filePath(QLatin1String(kCacheName)));
  if (!file.open(QIODevice::ReadOnly) || file.size() > 16 * 1024 * 1024) return;
  const QJsonObject cache = QJsonDocument::fromJson(file.readAll()).object();
  if (cache.value(QLatin1String("version")).toInt() != kCacheVersion ||
      cache.value(QLatin1String("site")).toString() != SiteKey(assumed_))
    return;
  const QJsonObject files = cache.value(QLatin1String("files")).toObject();
  const std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = files.begin(); it != files.end(); ++it) {
    const QJsonObject e = it.value().toObject();
    if (!DayOfFileName(it.key()) || !e.value(QLatin1String("size")).isDouble()) continue;
    Entry entry;
    entry.size = static_cast<qint64>(e.value(QLatin1String("size")).toDouble());
    if (e.value(QLatin1String("figures")).isObject())
      entry.figures = e.value(QLatin1String("figures")).toObject();
    entries_[it.key()] = entry;
  }
}

bool DailyFigures::WriteCache() {
  QJsonObject files;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& [name, e] : entries_) {
      if (e.computedMs != 0) continue;  // today's, still growing
      QJsonObject o{{QLatin1String("size"), static_cast<double>(e.size)}};
      o.insert(QLatin1String("figures"), e.figures ? QJsonValue(*e.figures) : QJsonValue());
      files.insert(name, o);
    }
  }
  const QJsonObject cache{{QLatin1String("version"), kCacheVersion},
                          {QLatin1String("site"), SiteKey(assumed_)},
                          {QLatin1String("files"), files}};
  const std::lock_guard<std::mutex> lock(writeMutex_);
  QString why;
  const std::unique_ptr<FileWriter> out = WriteGate::Shared().Open(
      QDir(dir_).filePath(QLatin1String(kCacheName)), WriteUse::Saving, &why);
  return out && out->Write(QJsonDocument(cache).toJson(QJsonDocument::Compact)) && out->Close();
}

std::optional<QJsonObject> DailyFigures::Figures(const QString& name, bool today, bool* added) {
  const QString path = DayFilePath(dir_, name);
  if (path.isEmpty()) return std::nullopt;
  const qint64 size = QFileInfo(path).size();
  const qint64 now = SteadyMs();
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto it = entries_.find(name);
    if (it != entries_.end()) {
      Entry& e = it->second;
      if (e.size == size && !today && e.computedMs != 0) {
        e.computedMs = 0;  // yesterday's file, complete when its figures were computed
        if (added) *added = true;
      }
      if (e.size == size || (today && now - e.computedMs < kTodayRefreshSeconds * 1000))
        return e.figures;
    }
  }
  Entry e{size, ComputeDayFigures(path, assumed_), today ? std::max<qint64>(now, 1) : 0};
  const std::lock_guard<std::mutex> lock(mutex_);
  entries_[name] = e;
  if (added) *added = !today;
  return e.figures;
}

QByteArray DailyFigures::RangeJson(const QDate& from, const QDate& to, const QDate& today) {
  QJsonArray days;
  for (const QString& name : DayFileNames(dir_)) {
    const QDate day = *DayOfFileName(name);
    if (day < from || day > to) continue;
    if (const auto figures = Figures(name, day >= today)) days.append(*figures);
  }
  return QJsonDocument(days).toJson(QJsonDocument::Compact) + '\n';
}

void DailyFigures::Complete(const QDate& today) {
  bool added = false;
  for (const QString& name : DayFileNames(dir_)) {
    if (*DayOfFileName(name) >= today) continue;
    bool computed = false;
    Figures(name, false, &computed);
    added = added || computed;
  }
  if (added) WriteCache();
}

}  // namespace solardesk::station::web
