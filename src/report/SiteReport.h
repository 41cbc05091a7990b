#pragma once

#include <QByteArray>
#include <QLocale>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <vector>

#include "analysis/ReadingSeries.h"
#include "analysis/SeriesStatistics.h"
#include "analysis/StatisticsReport.h"

class QPagedPaintDevice;

namespace solardesk {

// The site report: what a series of readings at a site amounts to, on paper. The title with the
// site and the period, the figures, a bar chart of the daily insolation beside the clear sky's,
// the daily and the monthly table, one chart of each date's readings and clear-sky curve over
// the time of day (the first kMaxDayCharts dates), and the files the readings come from with
// their size and SHA-256, and the program's version. Everything is drawn as vector paths and
// text, no raster images.

inline constexpr int kMaxDayCharts = 31;

// One file of the series: its name (without folder), size in bytes and SHA-256 in hexadecimal.
struct ReportFile {
  QString name;
  qint64 size = 0;
  QByteArray sha256;
};

// Reads `path` through to describe it; the size is -1 and the hash empty when it cannot be read.
ReportFile DescribeFile(const QString& path);

struct SiteReportInput {
  const SeriesStatistics& statistics;  // with the clear-sky figures when a site is given
  const ReadingSeries& series;         // the readings the statistics are those of
  SiteAssumptions assumed;
  std::vector<ReportFile> files;
  QString version;  // the program's
};

// Where a date's chart lies: its page (from 0) and its plot area in millimetres from the top left
// of the paper. x runs over the date's wall-clock time from 00:00 to 24:00, y from 0 at the bottom
// to `top` (in the unit of the readings) at the top.
struct DayChartPlace {
  qint64 day = 0;
  int page = 0;
  QRectF plot;
  double top = 0;
};

// Where the daily insolation chart lies, likewise: date i of n has its slot of the plot's width
// from i / n to (i + 1) / n, the measured bar from 0.12 of the slot on, the clear sky's bar
// (with a site) right beside it, each `barShare` of the slot wide; y from 0 to `top` (energy).
struct InsolationChartPlace {
  int page = 0;
  QRectF plot;
  double top = 0;
  double barShare = 0;
};

// How the report was laid out.
struct ReportLayout {
  int pages = 0;
  InsolationChartPlace insolation;
  std::vector<DayChartPlace> dayCharts;
};

// The paper the desktop's locale uses: Letter where US measures are used, A4 elsewhere.
QPageSize ReportPageSize(const QLocale& locale);

// Draws the report on `device`, whose page size and margins are set; gives its layout.
ReportLayout DrawSiteReport(QPagedPaintDevice& device, const SiteReportInput& input);

// The report as a PDF file on `pageSize` paper, with its layout in `layout` when asked for.
QByteArray SiteReportPdf(const SiteReportInput& input, const QPageSize& pageSize,
                         ReportLayout* layout = nullptr);

// The colours of the charts: the readings and the clear sky.
inline constexpr unsigned kReadingsColour = 0x1f5fbf;
inline constexpr unsigned kClearSkyColour = 0xe67300;

}  // namespace solardesk
