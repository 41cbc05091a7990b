#pragma once

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <map>
#include <mutex>
#include <optional>

#include "analysis/StatisticsReport.h"

namespace solardesk::station::web {

// The date of a day file's name, "2026-12-06.pvd" or "2026-12-06-2.pvd"; nothing for every
// other name.
std::optional<QDate> DayOfFileName(const QString& name);

// The path of the day file `name` in `dir`, when the name is a day file's and the file, its
// links followed, is a regular file inside `dir`; empty otherwise.
QString DayFilePath(const QString& dir, const QString& name);

// The day files of `dir`, by name (so by date, then part).
QStringList DayFileNames(const QString& dir);

// The records of the day files of `date` as a JSON array of the objects the station publishes
// ({"time", "value", "unit", "record"}), in file order.
QByteArray DayRecordsJson(const QString& dir, const QDate& date);

// The daily figures of one day file as `stats --json` gives them for its date, under the same
// site assumptions ({date, count, min, max, mean, energy, peak_sun_hours, gaps,
// clear_sky_energy, clear_sky_index, completeness}), with "file", "unit" and "energy_unit".
// Nothing when the file has no readable record.
std::optional<QJsonObject> ComputeDayFigures(const QString& path,
                                             const SiteAssumptions& assumed = {});

// The daily figures of the station's folder. A past day's figures are computed once and kept
// in a small cache file in the folder (kCacheName), read again at start and computed anew when
// missing or when the file changed since; today's are computed from the file as it grows, at
// most every kTodayRefreshSeconds. Safe to use from several threads.
class DailyFigures {
 public:
  static constexpr const char* kCacheName = ".solardesk-daily.json";
  static constexpr int kTodayRefreshSeconds = 10;

  DailyFigures(QString dir, SiteAssumptions assumed = {});

  // The figures of the day files from `from` to `to`, dates included, in date order.
  QByteArray RangeJson(const QDate& from, const QDate& to, const QDate& today);
  // Computes what is missing of the days before `today` and writes the cache file when
  // anything was added (at the start and when a day ends; never from a request).
  void Complete(const QDate& today);

 private:
  struct Entry {
    qint64 size = -1;
    std::optional<QJsonObject> figures;
    qint64 computedMs = 0;  // steady time of a today's figures
  };
  void LoadCache();
  bool WriteCache();
  // The figures of `name`, from memory while the file keeps its size (and, for today's file,
  // for a few seconds after), computed otherwise; `added` tells whether they were computed.
  std::optional<QJsonObject> Figures(const QString& name, bool today, bool* added = nullptr);

  const QString dir_;
  const SiteAssumptions assumed_;
  std::mutex mutex_;
  std::map<QString, Entry> entries_;
  std::mutex writeMutex_;
};

}  // namespace solardesk::station::web
