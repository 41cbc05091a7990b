#include "SiteReport.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <map>

#include "analysis/ClearSkyModel.h"
#include "analysis/Integration.h"
#include "core/Calendar.h"

namespace solardesk {
namespace {

constexpr double kTitlePoints = 16;
constexpr double kHeadingPoints = 11;
constexpr double kTextPoints = 9;
constexpr double kSmallPoints = 7;
constexpr double kLineMm = 0.35;       // the width of curves and frames
constexpr double kDayChartMm = 62;     // the height of a date's chart with its labels
constexpr double kBarChartMm = 70;     // the height of the daily insolation chart
constexpr int kBuckets = 720;          // points of a date's readings curve: two per bucket
constexpr qint64 kClearSkyStep = 300;  // seconds between the clear sky's points

// The first round number (1, 2 or 5 times a power of ten) at or above `v`, and at least 1.
double NiceTop(double v) {
  if (!(v > 1) || !std::isfinite(v)) return 1;
  const double power = std::pow(10, std::floor(std::log10(v)));
  for (const double step : {1.0, 2.0, 5.0, 10.0})
    if (step * power >= v) return step * power;
  return 10 * power;
}

QString NumberText(double v) {
  return RoundedText(v, 3);
}

// A date's readings reduced to the lowest and the highest of each of kBuckets spans of its
// wall-clock day, in the order they came, with the holes of the record marked.
struct DayCurve {
  struct Bucket {
    bool used = false;
    bool gapBefore = false;  // a hole in the record ends in this bucket
    double low = 0, high = 0;
    bool lowFirst = true;
  };
  std::vector<Bucket> buckets = std::vector<Bucket>(kBuckets);
  double highest = 0;

  void Add(int b, double v, bool gapBefore) {
    Bucket& k = buckets[static_cast<std::size_t>(b)];
    if (gapBefore) k.gapBefore = true;
    if (!k.used) {
      k.used = true;
      k.low = k.high = v;
    } else if (v < k.low) {
      k.low = v;
      k.lowFirst = false;
    } else if (v > k.high) {
      k.high = v;
      k.lowFirst = true;
    }
    highest = std::max(highest, v);
  }
};

// Draws into millimetres of the page: a painter on a device of `unitsPerMm` units per
// millimetre, with the cursor going down the page and new pages as they are needed.
class PageWriter {
 public:
  PageWriter(QPagedPaintDevice& device, QPainter& painter) : device_(device), painter_(painter) {
    const QPageLayout layout = device.pageLayout();
    const QRectF paint = layout.paintRect(QPageLayout::Millimeter);
    unitsPerMm_ = device.logicalDpiX() / 25.4;
    // The painter's origin is the top left of the paint rectangle.
    area_ = QRectF(paint.left(), paint.top(), paint.width(), paint.height());
    y_ = area_.top();
  }

  int page() const { return page_; }
  int pages() const { return page_ + 1; }
  double y() const { return y_; }
  double left() const { return area_.left(); }
  double width() const { return area_.width(); }
  void Down(double mm) { y_ += mm; }

  // Room for `mm` more below the cursor, or a new page.
  void Need(double mm) {
    if (y_ + mm <= area_.bottom() || y_ == area_.top()) return;
    device_.newPage();
    ++page_;
    y_ = area_.top();
  }

  QPointF At(double xMm, double yMm) const {
    return {(xMm - area_.left()) * unitsPerMm_, (yMm - area_.top()) * unitsPerMm_};
  }
  QRectF Rect(const QRectF& mm) const {
    return {At(mm.left(), mm.top()), QSizeF(mm.width() * unitsPerMm_, mm.height() * unitsPerMm_)};
  }
  double Units(double mm) const { return mm * unitsPerMm_; }
  double Mm(double units) const { return units / unitsPerMm_; }

  void SetFont(double points, bool bold = false) {
    QFont font(QStringLiteral("Helvetica"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    // Without ligatures, so that the text copied out of the file is the text drawn ("ff" of a
    // SHA-256 stays two letters).
    font.setStyleStrategy(QFont::PreferNoShaping);
    painter_.setFont(font);
  }
  double LineMm() const { return Mm(painter_.fontMetrics().height()); }
  double TextMm(const QString& text) const {
    return Mm(painter_.fontMetrics().horizontalAdvance(text));
  }

  // One line of text at the cursor, which goes below it.
  void Line(const QString& text, double points, bool bold = false) {
    SetFont(points, bold);
    Need(LineMm());
    painter_.setPen(Qt::black);
    painter_.drawText(Rect({left(), y_, width(), LineMm()}), Qt::AlignLeft | Qt::AlignVCenter,
                      text);
    y_ += LineMm();
  }

  // Text within a box in millimetres.
  void Text(const QRectF& mm, const QString& text, int flags) {
    painter_.drawText(Rect(mm), flags, text);
  }

  QPainter& painter() { return painter_; }

 private:
  QPagedPaintDevice& device_;
  QPainter& painter_;
  double unitsPerMm_ = 1;
  QRectF area_;
  double y_ = 0;
  int page_ = 0;
};

QPen Pen(const PageWriter& w, QColor colour, double mm = kLineMm) {
  QPen pen(colour, w.Units(mm));
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// A table: headings (wrapped onto up to three lines when long) and rows, the first column left,
// the others right, as wide as their widest cell; the font made smaller until it fits the width.
void DrawTable(PageWriter& w, const QStringList& headings, const std::vector<QStringList>& rows) {
  constexpr double kGapMm = 3;  // between columns
  double points = kTextPoints;
  std::vector<double> widths;
  for (;;) {
    widths.assign(static_cast<std::size_t>(headings.size()), 0);
    for (qsizetype c = 0; c < headings.size(); ++c) {
      double& width = widths[static_cast<std::size_t>(c)];
      w.SetFont(points, true);
      for (const QString& word : headings[c].split(QLatin1Char(' ')))
        width = std::max(width, w.TextMm(word) * 1.05);
      width = std::max(width, w.TextMm(headings[c]) * 0.55);
      w.SetFont(points);
      for (const QStringList& row : rows) width = std::max(width, w.TextMm(row.value(c)));
      width += kGapMm;
    }
    double total = 0;
    for (const double width : widths) total += width;
    if (total <= w.width() || points <= kSmallPoints - 1) {
      // Some of what is left spread over the columns.
      const double extra = std::max(0.0, (w.width() - total) / static_cast<double>(widths.size()));
      for (double& width : widths) width += std::min(extra, 6.0);
      break;
    }
    points -= 0.5;
  }
  const double line = w.LineMm() * 1.15;
  const auto drawRow = [&](const QStringList& cells, double height, bool heading) {
    w.Need(height);
    double x = w.left();
    w.painter().setPen(Qt::black);
    for (qsizetype c = 0; c < cells.size() && c < headings.size(); ++c) {
      const double width = widths[static_cast<std::size_t>(c)];
      const int align = (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignBottom |
                        (heading ? Qt::TextWordWrap : 0);
      // The first column from the left edge; the others end a gap before the next column.
      const double left = c == 0 ? x : x + kGapMm / 2;
      w.Text({left, w.y(), x + width - kGapMm / 2 - left, height}, cells[c], align);
      x += width;
    }
    w.Down(height);
  };
  w.SetFont(points, true);
  int headingLines = 1;
  for (qsizetype c = 0; c < headings.size(); ++c) {
    const double width = widths[static_cast<std::size_t>(c)] - kGapMm;
    const QRectF box = w.painter().boundingRect(w.Rect({0, 0, width, 100}),
                                                Qt::AlignLeft | Qt::TextWordWrap, headings[c]);
    headingLines = std::max(headingLines, qRound(w.Mm(box.height()) / w.LineMm()));
  }
  drawRow(headings, headingLines * line, true);
  w.painter().setPen(Pen(w, Qt::black, 0.2));
  w.painter().drawLine(w.At(w.left(), w.y() + 0.5), w.At(w.left() + w.width(), w.y() + 0.5));
  w.Down(1);
  w.SetFont(points);
  for (const QStringList& row : rows) drawRow(row, line, false);
}

// The axes of a chart: frame, value lines with their labels at the left, and the labels below
// (`xLabels` at their share of the width).
void DrawAxes(PageWriter& w, const QRectF& plot, double top,
              const std::vector<std::pair<double, QString>>& xLabels) {
  QPainter& p = w.painter();
  w.SetFont(kSmallPoints);
  const double lineMm = w.LineMm();
  p.setPen(Pen(w, QColor(0xcccccc), 0.15));
  for (int k = 1; k < 4; ++k) {
    const double y = plot.bottom() - plot.height() * k / 4;
    p.drawLine(w.At(plot.left(), y), w.At(plot.right(), y));
  }
  for (const auto& [share, label] : xLabels) {
    const double x = plot.left() + plot.width() * share;
    p.setPen(Pen(w, QColor(0xcccccc), 0.15));
    p.drawLine(w.At(x, plot.top()), w.At(x, plot.bottom()));
    p.setPen(Qt::black);
    w.Text({x - 10, plot.bottom() + 0.5, 20, lineMm}, label, Qt::AlignHCenter | Qt::AlignTop);
  }
  p.setPen(Qt::black);
  for (int k = 0; k <= 4; ++k) {
    const double y = plot.bottom() - plot.height() * k / 4;
    w.Text({plot.left() - 16, y - lineMm / 2, 15, lineMm}, NumberText(top * k / 4),
           Qt::AlignRight | Qt::AlignVCenter);
  }
  p.setPen(Pen(w, Qt::black, 0.2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(w.Rect(plot));
}

void DrawLegend(PageWriter& w, double x, double y, bool clearSky, const QString& readings,
                const QString& clear) {
  QPainter& p = w.painter();
  w.SetFont(kSmallPoints);
  const auto entry = [&](double at, QColor colour, const QString& text) {
    p.setPen(Pen(w, colour, 0.8));
    p.drawLine(w.At(at, y + w.LineMm() / 2), w.At(at + 6, y + w.LineMm() / 2));
    p.setPen(Qt::black);
    w.Text({at + 7, y, 60, w.LineMm()}, text, Qt::AlignLeft | Qt::AlignVCenter);
    return at + 9 + w.TextMm(text);
  };
  const double next = entry(x, QColor(QRgb(kReadingsColour)), readings);
  if (clearSky) entry(next + 4, QColor(QRgb(kClearSkyColour)), clear);
}

// The daily insolation with the clear sky's beside it, one pair of bars per date.
InsolationChartPlace DrawBarChart(PageWriter& w, const SeriesStatistics& s) {
  const QString unit = EnergyUnitText(s.irradianceUnit);
  w.Line(QStringLiteral("Daily insolation (%1)").arg(unit), kHeadingPoints, true);
  w.Need(kBarChartMm);
  const QRectF plot(w.left() + 18, w.y() + 6, w.width() - 20, kBarChartMm - 16);
  DrawLegend(w, plot.left(), w.y(), s.clearSky.has_value(), QStringLiteral("Measured"),
             QStringLiteral("Clear sky"));
  double highest = 0;
  for (const DayFigures& d : s.days) {
    if (std::isfinite(d.energy)) highest = std::max(highest, d.energy);
    if (d.clearSky) highest = std::max(highest, d.clearSky->energy);
  }
  const double top = NiceTop(highest);
  const std::size_t n = s.days.size();
  const std::size_t labelEvery = std::max<std::size_t>(1, (n + 15) / 16);
  std::vector<std::pair<double, QString>> labels;
  for (std::size_t i = 0; i < n; i += labelEvery)
    labels.emplace_back((static_cast<double>(i) + 0.5) / static_cast<double>(n),
                        DateText(s.days[i].day).mid(5));
  DrawAxes(w, plot, top, labels);
  QPainter& p = w.painter();
  p.setPen(Qt::NoPen);
  const double slot = plot.width() / static_cast<double>(n);
  const double barShare = s.clearSky ? 0.38 : 0.7;
  const double bar = slot * barShare;
  for (std::size_t i = 0; i < n; ++i) {
    const DayFigures& d = s.days[i];
    const double x = plot.left() + slot * static_cast<double>(i) + slot * 0.12;
    const auto drawBar = [&](double at, double value, QRgb colour) {
      if (!std::isfinite(value) || value <= 0) return;
      const double h = plot.height() * std::min(value, top) / top;
      p.setBrush(QColor(colour));
      p.drawRect(w.Rect({at, plot.bottom() - h, bar, h}));
    };
    drawBar(x, d.energy, kReadingsColour);
    if (d.clearSky) drawBar(x + bar, d.clearSky->energy, kClearSkyColour);
  }
  p.setBrush(Qt::NoBrush);
  w.Down(kBarChartMm);
  return {w.page(), plot, top, barShare};
}

// Each charted date's readings, reduced to kBuckets spans, in one pass over the series.
std::map<qint64, DayCurve> DayCurves(const SeriesStatistics& s, const ReadingSeries& series) {
  std::map<qint64, DayCurve> curves;
  for (std::size_t d = 0; d < s.days.size() && d < kMaxDayCharts; ++d)
    curves.try_emplace(s.days[d].day);
  const std::span<const qint64> instants(series.instants);
  const double gapLimit = GapLimit(instants);
  DayCurve* curve = nullptr;
  qint64 curveDay = 0;
  bool gapBefore = false;
  for (std::size_t i = 0; i < series.size(); ++i) {
    const qint64 local = instants[i] + series.offsets[i];
    const qint64 day = DayOf(local);
    if (!curve || day != curveDay) {
      const auto found = curves.find(day);
      curve = found == curves.end() ? nullptr : &found->second;
      curveDay = day;
    }
    if (i > 0) {
      const qint64 step = instants[i] - instants[i - 1];
      gapBefore = step < 0 || static_cast<double>(step) > gapLimit;
    }
    if (!curve) continue;
    const double v = series.values[i];
    if (!std::isfinite(v)) continue;
    const qint64 into = local - day * kSecondsPerDay;
    curve->Add(static_cast<int>(into * kBuckets / kSecondsPerDay), v, gapBefore);
  }
  return curves;
}

void DrawDayChart(PageWriter& w, const DayFigures& d, const DayCurve& curve, double top,
                  const SiteReportInput& input, std::vector<DayChartPlace>& places) {
  const SeriesStatistics& s = input.statistics;
  w.Need(kDayChartMm);
  w.SetFont(kTextPoints, true);
  QString title = DateText(d.day) + QStringLiteral(":  ") + RoundedText(d.energy, kEnergyDecimals) +
                  QLatin1Char(' ') + EnergyUnitText(s.irradianceUnit);
  if (d.clearSky && d.clearSky->index)
    title += QStringLiteral(", clear-sky index ") + RoundedText(*d.clearSky->index, kIndexDecimals);
  if (d.completeness) title += QStringLiteral(", completeness ") + PercentText(*d.completeness);
  w.painter().setPen(Qt::black);
  w.Text({w.left(), w.y(), w.width(), w.LineMm()}, title, Qt::AlignLeft | Qt::AlignVCenter);
  const QRectF plot(w.left() + 18, w.y() + w.LineMm() + 2, w.width() - 20, kDayChartMm - 16);
  places.push_back({d.day, w.page(), plot, top});
  std::vector<std::pair<double, QString>> hours;
  for (int h = 0; h <= 24; h += 3)
    hours.emplace_back(h / 24.0, QStringLiteral("%1:00").arg(h, 2, 10, QLatin1Char('0')));
  DrawAxes(w, plot, top, hours);

  const auto point = [&](double share, double v) {
    return w.At(plot.left() + plot.width() * share,
                plot.bottom() - plot.height() * std::clamp(v / top, 0.0, 1.0));
  };
  QPainter& p = w.painter();
  p.save();
  p.setClipRect(w.Rect(plot));
  if (input.assumed.site && d.clearSky) {
    QPainterPath clear;
    for (qint64 t = d.beginUtc; t <= d.endUtc; t += kClearSkyStep) {
      const double v = FromWattsPerSquareMetre(
          ClearSkyAt(*input.assumed.site, input.assumed.clearSky, t).plane.global,
          s.irradianceUnit);
      const double share =
          static_cast<double>(t - d.beginUtc) / static_cast<double>(kSecondsPerDay);
      if (t == d.beginUtc)
        clear.moveTo(point(share, v));
      else
        clear.lineTo(point(share, v));
    }
    p.setPen(Pen(w, QColor(QRgb(kClearSkyColour))));
    p.drawPath(clear);
  }
  QPainterPath readings;
  bool started = false;
  for (int b = 0; b < kBuckets; ++b) {
    const DayCurve::Bucket& k = curve.buckets[static_cast<std::size_t>(b)];
    if (!k.used) continue;
    const double share = (b + 0.5) / kBuckets;
    const double first = k.lowFirst ? k.low : k.high, second = k.lowFirst ? k.high : k.low;
    if (!started || k.gapBefore)
      readings.moveTo(point(share, first));
    else
      readings.lineTo(point(share, first));
    readings.lineTo(point(share, second));
    started = true;
  }
  p.setPen(Pen(w, QColor(QRgb(kReadingsColour))));
  p.drawPath(readings);
  p.restore();
  w.Down(kDayChartMm);
}

QString SizeText(qint64 bytes) {
  return bytes < 0 ? QStringLiteral("unreadable") : QStringLiteral("%1 bytes").arg(bytes);
}

}  // namespace

ReportFile DescribeFile(const QString& path) {
  ReportFile f{QFileInfo(path).fileName(), -1, {}};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return f;
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) return f;
  f.size = file.size();
  f.sha256 = hash.result().toHex();
  return f;
}

QPageSize ReportPageSize(const QLocale& locale) {
  return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                           : QPageSize::A4);
}

ReportLayout DrawSiteReport(QPagedPaintDevice& device, const SiteReportInput& input) {
  const SeriesStatistics& s = input.statistics;
  QPainter painter(&device);
  painter.setRenderHint(QPainter::Antialiasing);
  PageWriter w(device, painter);
  ReportLayout layout;

  w.Line(QStringLiteral("Solar site report"), kTitlePoints, true);
  w.Down(2);
  for (const auto& [label, value] : AssumptionRows(input.assumed))
    w.Line(label + QStringLiteral(": ") + value, kTextPoints);
  const QString period = s.days.empty()
                             ? QString()
                             : QStringLiteral("%1 to %2 (%3 dates with readings)")
                                   .arg(DateText(s.days.front().day), DateText(s.days.back().day))
                                   .arg(s.days.size());
  w.Line(QStringLiteral("Period: ") + period, kTextPoints);
  w.Down(4);

  w.Line(QStringLiteral("Figures"), kHeadingPoints, true);
  std::vector<QStringList> figures;
  for (const auto& [label, value] : SummaryRows(s)) figures.push_back({label, value});
  DrawTable(w, {QStringLiteral("Figure"), QStringLiteral("Value")}, figures);
  w.Down(5);

  layout.insolation = DrawBarChart(w, s);
  w.Down(5);

  w.Line(QStringLiteral("Daily table"), kHeadingPoints, true);
  DrawTable(w, DailyHeadings(s), DailyRows(s));
  w.Down(5);
  w.Line(QStringLiteral("Monthly table"), kHeadingPoints, true);
  DrawTable(w, MonthlyHeadings(s), MonthlyRows(s));
  w.Down(5);

  // One scale for every date, so that the dates compare at a glance.
  const std::map<qint64, DayCurve> curves = DayCurves(s, input.series);
  double highest = 0;
  for (const auto& [day, curve] : curves) highest = std::max(highest, curve.highest);
  if (input.assumed.site) {
    // The clear sky's highest is near noon: looked for every 5 minutes of the charted dates.
    for (std::size_t d = 0; d < s.days.size() && d < kMaxDayCharts; ++d)
      for (qint64 t = s.days[d].beginUtc; t <= s.days[d].endUtc; t += kClearSkyStep)
        highest = std::max(
            highest, FromWattsPerSquareMetre(
                         ClearSkyAt(*input.assumed.site, input.assumed.clearSky, t).plane.global,
                         s.irradianceUnit));
  }
  const double top = NiceTop(highest);
  w.Need(kDayChartMm + 12);
  w.Line(s.days.size() > kMaxDayCharts
             ? QStringLiteral("Readings by date (the first %1 of %2 dates)")
                   .arg(kMaxDayCharts)
                   .arg(s.days.size())
             : QStringLiteral("Readings by date"),
         kHeadingPoints, true);
  DrawLegend(w, w.left(), w.y(), input.assumed.site.has_value(),
             QStringLiteral("Readings (%1)").arg(s.unit), QStringLiteral("Clear sky"));
  w.Down(w.LineMm() + 2);
  for (std::size_t d = 0; d < s.days.size() && d < kMaxDayCharts; ++d)
    DrawDayChart(w, s.days[d], curves.at(s.days[d].day), top, input, layout.dayCharts);

  w.Down(3);
  w.Line(QStringLiteral("Files"), kHeadingPoints, true);
  std::vector<QStringList> files;
  for (const ReportFile& f : input.files)
    files.push_back({f.name, SizeText(f.size), QString::fromLatin1(f.sha256)});
  if (files.empty())
    w.Line(QStringLiteral("None: the readings of a list the program holds"), kTextPoints);
  else
    DrawTable(w, {QStringLiteral("File"), QStringLiteral("Size"), QStringLiteral("SHA-256")},
              files);
  w.Down(3);
  w.Line(QStringLiteral("Made by SolarDesk ") + input.version, kTextPoints);
  layout.pages = w.pages();
  return layout;
}

QByteArray SiteReportPdf(const SiteReportInput& input, const QPageSize& pageSize,
                         ReportLayout* layout) {
  QByteArray pdf;
  QBuffer buffer(&pdf);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setPageSize(pageSize);
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("Solar site report"));
    writer.setCreator(QStringLiteral("SolarDesk ") + input.version);
    const ReportLayout drawn = DrawSiteReport(writer, input);
    if (layout) *layout = drawn;
  }
  return pdf;
}

}  // namespace solardesk
