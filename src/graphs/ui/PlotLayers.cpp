// The series of the file plot: loading, adding and removing them, laying them over one another on
// the chosen X axis, and the clear-sky curve.
#include "Plot.h"

#include <qcustomplot.h>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMimeData>
#include <QPrinter>
#include <QTimer>
#include <QVBoxLayout>

#include "PlotLook.h"
#include "analysis/SiteDialog.h"
#include "analysis/SiteSettings.h"
#include "data/LocalTimeline.h"
#include "graphs/logic/ClearSkyCurve.h"
#include "graphs/logic/NumberText.h"
#include "panel/ui/DroppedFiles.h"

namespace solardesk {
namespace {

using plotlook::kSeriesColors;
const QColor kClearSkyColor(200, 200, 200);
// Room for one label of a time axis.
constexpr int kTimeTickPixels = 90;

QString XAxisTitle(OverlayMode mode) {
  switch (mode) {
    case OverlayMode::ByTime:
      return QStringLiteral("Time");
    case OverlayMode::ByTimeOfDay:
      return QStringLiteral("Time of day");
    default:
      return QStringLiteral("No.s");
  }
}

}  // namespace

void Plot::LoadSeries(const std::vector<float>& series, int pointCount) {
  PlotSeriesData data;
  data.unit = Label4->text().trimmed();
  data.values = series;
  std::vector<PlotSeriesData> all;
  all.push_back(std::move(data));
  LoadSeries(std::move(all), pointCount);
}

void Plot::LoadSeries(std::vector<PlotSeriesData> series, int pointCount) {
  PlotPointCount = pointCount;
  series_ = std::move(series);
  // The read-out spoke of the series before; it shows again when the cursor moves.
  XPosition->clear();
  YPosition->clear();
  if (series_.size() > static_cast<std::size_t>(kMostSeries))
    series_.resize(static_cast<std::size_t>(kMostSeries));
  ShowSeries();
  const PlotRanges ranges = DefaultRangesNow();
  SetRangeFields(ranges);
  SetRanges(ranges);
  ShowVisiblePoints();
  CWGraph1->replot();
}

bool Plot::AddSeries(PlotSeriesData series) {
  const DialogOwner owner(instrument_.dialogs, this);
  if (SeriesCount() >= kMostSeries) {
    instrument_.dialogs.message(TooManySeriesText(), kProgramTitle, MessageIcon::Exclamation);
    return false;
  }
  const QString plotUnit = series_.empty() ? Label4->text() : series_.front().unit;
  if (const std::optional<QString> refusal = UnitRefusal(plotUnit, series.unit)) {
    instrument_.dialogs.message(*refusal, kProgramTitle, MessageIcon::Exclamation);
    return false;
  }
  PlotPointCount = std::max(PlotPointCount, series.size());
  series_.push_back(std::move(series));
  ShowSeries();
  ShowVisiblePoints();
  CWGraph1->replot(QCustomPlot::rpQueuedReplot);
  return true;
}

void Plot::RemoveSeries(int index) {
  if (index < 0 || index >= SeriesCount() || SeriesCount() <= 1) return;
  series_.erase(series_.begin() + index);
  PlotPointCount = 0;
  for (const PlotSeriesData& s : series_) PlotPointCount = std::max(PlotPointCount, s.size());
  ShowSeries();
  ShowVisiblePoints();
  CWGraph1->replot(QCustomPlot::rpQueuedReplot);
}

void Plot::CmdAddFileClick() {
  if (SeriesCount() >= kMostSeries) {
    const DialogOwner owner(instrument_.dialogs, this);
    instrument_.dialogs.message(TooManySeriesText(), kProgramTitle, MessageIcon::Exclamation);
    return;
  }
  if (!chooseFile) return;
  // Reading the file may warn too: over the plot, like the open dialog.
  const DialogOwner owner(instrument_.dialogs, this);
  if (std::optional<PlotSeriesData> series = chooseFile(dialogs_)) AddSeries(std::move(*series));
}

void Plot::AddFiles(const QStringList& paths) {
  const DialogOwner owner(instrument_.dialogs, this);
  // A refused series (too many, another unit) ends the drop: the rest would be refused too.
  for (const QString& path : paths) {
    std::optional<PlotSeriesData> series = readFile(path);
    if (series && !AddSeries(std::move(*series))) return;
  }
}

void Plot::dragEnterEvent(QDragEnterEvent* e) {
  if (readFile && !DroppedDataFiles(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void Plot::dragMoveEvent(QDragMoveEvent* e) {
  if (readFile && !DroppedDataFiles(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void Plot::dropEvent(QDropEvent* e) {
  const QStringList paths = DroppedDataFiles(e->mimeData());
  if (!readFile || paths.isEmpty()) {
    e->ignore();
    return;
  }
  e->acceptProposedAction();
  // The files are read once the drag has ended, so the dragging program is not held.
  QTimer::singleShot(0, this, [this, paths] { AddFiles(paths); });
}

void Plot::CmdSiteClick() {
  const DialogOwner owner(instrument_.dialogs, this);
  if (EditSite(instrument_.dialogs)) SetSite(LoadSite());
}

void Plot::SetSite(const std::optional<Site>& site) {
  site_ = site;
  clearSkyStale_ = true;
  ShowClearSky();
  CWGraph1->replot(QCustomPlot::rpQueuedReplot);
}

QCPGraph* Plot::ClearSkyGraph() const {
  return clearSky_;
}

// A cloudless sky at the site from the first to the last reading, worked out once for the
// series, the site and the axis shown: panning and zooming only draw it.
void Plot::ShowClearSky() {
  const std::optional<IrradianceUnit> unit =
      series_.empty() ? std::nullopt : ClearSkyUnit(series_.front().unit);
  CWGraph1->legend->setVisible(series_.size() > 1 ||
                               (site_ && unit && overlay_ == OverlayMode::ByTime));
  if (!site_ || !unit || overlay_ != OverlayMode::ByTime) {
    if (clearSky_) CWGraph1->removeGraph(clearSky_);
    clearSky_ = nullptr;
    return;
  }
  if (clearSky_ && !clearSkyStale_) return;
  if (!clearSky_) {
    clearSky_ = CWGraph1->addGraph();
    clearSky_->setPen(QPen(kClearSkyColor, 1, Qt::DashLine));
    clearSky_->setName(QStringLiteral("Clear sky"));
  }
  const AxisRange span = DefaultRangesNow().x;
  const PlotPoints points = ClearSkyCurve(*site_, span, ClearSkyPointCount(span), *unit);
  clearSky_->setData(points.keys, points.values, true);
  clearSkyStale_ = false;
}

void Plot::CmdRemoveClick() {
  RemoveSeries(CboSeries->currentIndex());
}

// Builds the drawn series from the data for the X axis in force: one graph and one envelope
// per series, in the series' colour, with the legend shown once there are several.
void Plot::ShowSeries() {
  envelopes_.clear();
  energies_.clear();
  std::optional<qint64> referenceDay;
  for (const PlotSeriesData& s : series_)
    if (!referenceDay) referenceDay = FirstDay(s);
  for (const PlotSeriesData& s : series_) {
    energies_.emplace_back(s, overlay_, referenceDay.value_or(0));
    if (overlay_ == OverlayMode::ByRecord) {
      envelopes_.emplace_back(s.values);
    } else {
      OverlayPoints points = OverlayOf(s, overlay_, referenceDay.value_or(0));
      envelopes_.emplace_back(std::move(points.values), std::move(points.keys));
    }
  }
  while (graphs_.size() > std::max<std::size_t>(series_.size(), 1)) {
    CWGraph1->removeGraph(graphs_.back());
    graphs_.pop_back();
  }
  while (graphs_.size() < series_.size()) {
    QCPGraph* g = CWGraph1->addGraph();
    g->setPen(QPen(kSeriesColors[graphs_.size() % kSeriesColors.size()]));
    g->setAdaptiveSampling(true);
    graphs_.push_back(g);
  }
  CboSeries->clear();
  for (std::size_t i = 0; i < series_.size(); ++i) {
    const QString name =
        series_[i].name.isEmpty() ? QStringLiteral("Series %1").arg(i + 1) : series_[i].name;
    graphs_[i]->setName(name);
    CboSeries->addItem(name);
  }
  CmdRemove->setEnabled(series_.size() > 1);
  clearSkyStale_ = true;
  ShowRangeStatus();
}

void Plot::SetOverlay(OverlayMode mode) {
  const PlotRanges kept = visibleRanges();
  overlay_ = mode;
  ShowRangeStatus();
  ShowAxisKind();
  ShowSeries();
  const PlotRanges ranges{DefaultRangesNow().x, kept.y};
  SetRangeFields(ranges);
  SetRanges(ranges);
  ShowVisiblePoints();
  ShowTimeTicks();
  if (cursor(1)->visible()) {
    const QPointF middle = MiddleOf(visibleRanges());
    MoveCursor(1, middle.x(), middle.y());
  }
  CWGraph1->replot(QCustomPlot::rpQueuedReplot);
}

// The controls, the X title and the range fields for the X axis in force.
void Plot::ShowAxisKind() {
  const bool timed = overlay_ != OverlayMode::ByRecord;
  CboXAxis->setCurrentIndex(timed ? 1 : 0);
  CboOverlay->setCurrentIndex(static_cast<int>(overlay_));
  CWGraph1->xAxis->setLabel(XAxisTitle(overlay_));
  LblXTitle->setText(timed ? QStringLiteral("Time ( X ) :") : QStringLiteral("No.s ( X ) :"));
  fillingFields_ = true;
  for (RangeField* f : {AxisMin[1], AxisMax[1]}) {
    if (!timed) {
      f->TakeNumbers();
    } else if (overlay_ == OverlayMode::ByTime) {
      const UtcOffsetAt at = offsetAt_;
      f->TakeTimes([at](double x) { return TimeText(x, at); },
                   [at](const QString& t) { return ParseTimeText(t, at); });
    } else {
      f->TakeTimes([](double x) { return TimeText(x, NoUtcOffset); },
                   [](const QString& t) { return ParseTimeText(t, NoUtcOffset); });
    }
  }
  fillingFields_ = false;
  if (!timed)
    CWGraph1->xAxis->setTicker(recordTicker_);
  else
    CWGraph1->xAxis->setTicker(QSharedPointer<QCPAxisTickerText>::create());
}

// On a time axis the ticks fall on round times of the wall clock, as many as fit the width.
void Plot::ShowTimeTicks() {
  if (overlay_ == OverlayMode::ByRecord) return;
  auto ticker = CWGraph1->xAxis->ticker().dynamicCast<QCPAxisTickerText>();
  if (!ticker) return;
  const QCPRange x = CWGraph1->xAxis->range();
  const UtcOffsetAt at = overlay_ == OverlayMode::ByTime ? offsetAt_ : NoUtcOffset;
  const int most = std::max(CWGraph1->axisRect()->width() / kTimeTickPixels, 2);
  ticker->clear();
  for (const TimeTick& t : TimeTicks(x.lower, x.upper, most, at)) ticker->addTick(t.at, t.label);
}
}  // namespace solardesk
