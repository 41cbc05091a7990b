#include "Plot.h"

#include <qcustomplot.h>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPrinter>
#include <QVBoxLayout>

#include "ImagePrint.h"
#include "SiteDialog.h"
#include "WindowPlacement.h"
#include "analysis/LocalTimeline.h"
#include "analysis/SiteSettings.h"
#include "graphs/logic/ClearSkyCurve.h"
#include "graphs/logic/NumberText.h"
#include "graphs/logic/PlotCursor.h"

namespace solardesk {

const QString Plot::kCaption = QStringLiteral("Plot");
const QColor Plot::kPlotAreaColor(0, 0, 0);

namespace {

// One colour per series, the first as the single series always had.
const std::array<QColor, kMostSeries> kSeriesColors = {
    QColor(255, 80, 0),   QColor(0, 220, 90),    QColor(255, 230, 0), QColor(220, 60, 220),
    QColor(90, 160, 255), QColor(255, 255, 255), QColor(0, 230, 230), QColor(255, 140, 160)};
const QColor kCursorColor(0, 170, 255);
const QColor kClearSkyColor(200, 200, 200);
constexpr double kRecordMarkSize = 6;

// The widest read-outs a cursor position needs, "-" and ten figures with one decimal or a date
// and time: the labels keep this width whatever they show, so that the window never grows
// under the user.
const QString kWidestReadout = QStringLiteral("-0000000000.0");
const QString kWidestTimeReadout = QStringLiteral("0000/00/00 00:00:00");
// Room around the text of a range field.
constexpr int kFieldMarginPixels = 12;
// Room for one label of a time axis.
constexpr int kTimeTickPixels = 90;

QLabel* MakeReadout(QWidget* parent) {
  auto* label = new QLabel(parent);
  const QFontMetrics fm = label->fontMetrics();
  label->setFixedWidth(
      std::max(fm.horizontalAdvance(kWidestReadout), fm.horizontalAdvance(kWidestTimeReadout)));
  return label;
}

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

// A read-out longer than its label ends in "…" rather than widening the window.
void ShowReadout(QLabel& label, const QString& text) {
  label.setText(label.fontMetrics().elidedText(text, Qt::ElideRight, label.width()));
}

}  // namespace

Plot::Plot(Instrument& instrument, const QString& openedFileUnit, const QWidget* mainWindow)
    : QWidget(nullptr), instrument_(instrument), offsetAt_(SystemUtcOffset), site_(LoadSite()) {
  setObjectName(QStringLiteral("Plot"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kCaption);
  Label4 = new QLabel(openedFileUnit, this);
  Label4->hide();  // carries the Y title into the graph
  BuildGraph();
  BuildControls();

  auto* layout = new QVBoxLayout(this);
  QLayout* bar = BuildSeriesBar();
  layout->addLayout(bar);
  layout->addWidget(CWGraph1, 1);
  layout->addWidget(FrmGraphic);
  LblStatus = new QLabel(this);
  LblStatus->setObjectName(QStringLiteral("LblStatus"));
  LblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(LblStatus);
  connect(CWGraph1->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
          &Plot::ShowRangeStatus);
  // The bar of series comes on top of the graph's room.
  resize(720, 560 + bar->sizeHint().height() + layout->spacing());
  PlaceBesideMain(*this, mainWindow);

  for (const TrackMode& mode : TrackModes()) Combo1->addItem(QString::fromLatin1(mode.name));
  connect(Combo1, &QComboBox::currentIndexChanged, this, &Plot::SelectTrackMode);
  Combo1->setCurrentIndex(0);
  SelectTrackMode(0);
}

void Plot::BuildGraph() {
  CWGraph1 = new QCustomPlot(this);
  CWGraph1->xAxis->setLabel(QStringLiteral("No.s"));
  CWGraph1->yAxis->setLabel(Label4->text());
  CWGraph1->axisRect()->setBackground(kPlotAreaColor);
  CWGraph1->setNoAntialiasingOnDrag(true);
  QCPGraph* series = CWGraph1->addGraph();
  series->setPen(QPen(kSeriesColors[0]));
  series->setAdaptiveSampling(true);
  graphs_.push_back(series);
  CWGraph1->legend->setVisible(false);
  CWGraph1->legend->setBrush(QBrush(QColor(40, 40, 40)));
  CWGraph1->legend->setTextColor(Qt::white);
  // Record numbers are whole: the X axis has no ticks between them.
  auto wholeRecords = QSharedPointer<QCPAxisTickerFixed>::create();
  wholeRecords->setTickStep(1);
  wholeRecords->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
  recordTicker_ = wholeRecords;
  CWGraph1->xAxis->setTicker(wholeRecords);
  for (int i = 1; i <= 2; ++i) {
    cursors_[static_cast<std::size_t>(i)] = new QCPItemTracer(CWGraph1);
    QCPItemTracer* c = cursors_[static_cast<std::size_t>(i)];
    c->setStyle(QCPItemTracer::tsCrosshair);
    c->setPen(QPen(kCursorColor));
    c->setVisible(false);
  }
  SetRanges(DefaultRanges(0));
  // A pan or zoom shows other values: the points worth drawing are picked again.
  connect(CWGraph1->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
          &Plot::ShowVisiblePoints);
  connect(CWGraph1->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
          &Plot::ShowTimeTicks);
  CWGraph1->installEventFilter(this);  // a wider plot draws more of a long series
  connect(CWGraph1, &QCustomPlot::mousePress, this, &Plot::GraphMousePress);
  connect(CWGraph1, &QCustomPlot::mouseMove, this, &Plot::GraphMouseMove);
  connect(CWGraph1, &QCustomPlot::mouseRelease, this, [this] { draggingCursor_ = false; });
}

void Plot::BuildControls() {
  FrmGraphic = new QGroupBox(QStringLiteral("Graphic Plot"), this);
  // Printing hides the frame; the graph keeps its size meanwhile.
  QSizePolicy keep = FrmGraphic->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  FrmGraphic->setSizePolicy(keep);

  auto* range = new QGroupBox(QStringLiteral("Graph Range"), FrmGraphic);
  auto* rangeGrid = new QGridLayout(range);
  rangeGrid->addWidget(new QLabel(QStringLiteral("Min"), range), 0, 1);
  rangeGrid->addWidget(new QLabel(QStringLiteral("Max"), range), 0, 2);
  for (int axis = 1; axis <= 2; ++axis) {
    const auto i = static_cast<std::size_t>(axis);
    AxisMin[i] = new RangeField(range);
    AxisMax[i] = new RangeField(range);
    // The X fields have room for a date and time from the start: a change of the X axis
    // leaves the window as wide as it was.
    if (axis == 1) {
      const int room =
          AxisMin[i]->fontMetrics().horizontalAdvance(kWidestTimeReadout) + kFieldMarginPixels;
      AxisMin[i]->setMinimumWidth(room);
      AxisMax[i]->setMinimumWidth(room);
    }
    rangeGrid->addWidget(new QLabel(axis == 1 ? QStringLiteral("X") : QStringLiteral("Y"), range),
                         axis, 0);
    rangeGrid->addWidget(AxisMin[i], axis, 1);
    rangeGrid->addWidget(AxisMax[i], axis, 2);
    for (RangeField* f : {AxisMin[i], AxisMax[i]}) {
      connect(f, &QDoubleSpinBox::valueChanged, this, [this] {
        if (!fillingFields_) ApplyRangeFields();
      });
    }
  }

  auto* track = new QGroupBox(QStringLiteral("Track Mode"), FrmGraphic);
  auto* trackLayout = new QVBoxLayout(track);
  Combo1 = new QComboBox(track);
  txtDescription = new QPlainTextEdit(track);
  txtDescription->setReadOnly(true);
  txtDescription->setMaximumHeight(60);
  trackLayout->addWidget(Combo1);
  trackLayout->addWidget(txtDescription);

  auto* info = new QGroupBox(QStringLiteral("Cursor Information"), FrmGraphic);
  auto* infoGrid = new QGridLayout(info);
  XPosition = MakeReadout(info);
  YPosition = MakeReadout(info);
  LblXTitle = new QLabel(QStringLiteral("No.s ( X ) :"), info);
  LblXTitle->setMinimumWidth(
      LblXTitle->fontMetrics().horizontalAdvance(QStringLiteral("Time ( X ) :")));
  infoGrid->addWidget(LblXTitle, 0, 0);
  infoGrid->addWidget(XPosition, 0, 1);
  infoGrid->addWidget(new QLabel(QStringLiteral("dB ( Y ) :"), info), 1, 0);
  infoGrid->addWidget(YPosition, 1, 1);

  CmdReset = new QPushButton(QStringLiteral("Reset Scale"), FrmGraphic);
  CmdFit = new QPushButton(QStringLiteral("Fit"), FrmGraphic);
  CmdFit->setToolTip(QStringLiteral("Both axes around the data"));
  CmdPrint = new QPushButton(QStringLiteral("Print Graph"), FrmGraphic);
  connect(CmdReset, &QPushButton::clicked, this, &Plot::CmdResetClick);
  connect(CmdFit, &QPushButton::clicked, this, &Plot::CmdFitClick);
  connect(CmdPrint, &QPushButton::clicked, this, &Plot::CmdPrintClick);
  auto* buttons = new QGridLayout;
  buttons->addWidget(CmdReset, 0, 0);
  buttons->addWidget(CmdFit, 0, 1);
  buttons->addWidget(CmdPrint, 1, 0, 1, 2);
  buttons->setRowStretch(2, 1);

  auto* row = new QHBoxLayout(FrmGraphic);
  row->addWidget(range);
  row->addWidget(track, 1);
  row->addWidget(info);
  row->addLayout(buttons);
}

QLayout* Plot::BuildSeriesBar() {
  CboXAxis = new QComboBox(this);
  CboXAxis->addItems({QStringLiteral("No.s"), QStringLiteral("Time")});
  CboOverlay = new QComboBox(this);
  CboOverlay->addItems(
      {QStringLiteral("By record"), QStringLiteral("By time"), QStringLiteral("By time of day")});
  CboSeries = new QComboBox(this);
  CboSeries->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  CboSeries->setMinimumContentsLength(16);
  CmdRemove = new QPushButton(QStringLiteral("Remove"), this);
  CmdAddFile = new QPushButton(QStringLiteral("Add file…"), this);
  CmdSite = new QPushButton(QStringLiteral("Site..."), this);
  CmdSite->setToolTip(QStringLiteral("Where the readings were taken, for the clear-sky curve"));
  connect(CmdSite, &QPushButton::clicked, this, &Plot::CmdSiteClick);
  connect(CboXAxis, &QComboBox::activated, this, [this](int index) {
    if (index == 0)
      SetOverlay(OverlayMode::ByRecord);
    else if (overlay_ == OverlayMode::ByRecord)
      SetOverlay(OverlayMode::ByTime);
  });
  connect(CboOverlay, &QComboBox::activated, this,
          [this](int index) { SetOverlay(static_cast<OverlayMode>(index)); });
  connect(CmdRemove, &QPushButton::clicked, this, &Plot::CmdRemoveClick);
  connect(CmdAddFile, &QPushButton::clicked, this, &Plot::CmdAddFileClick);
  auto* bar = new QHBoxLayout;
  bar->addWidget(new QLabel(QStringLiteral("X axis"), this));
  bar->addWidget(CboXAxis);
  bar->addWidget(CboOverlay);
  bar->addStretch(1);
  bar->addWidget(CboSeries);
  bar->addWidget(CmdRemove);
  bar->addWidget(CmdAddFile);
  bar->addWidget(CmdSite);
  return bar;
}

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
  if (std::optional<PlotSeriesData> series = chooseFile()) AddSeries(std::move(*series));
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
  std::optional<qint64> referenceDay;
  for (const PlotSeriesData& s : series_)
    if (!referenceDay) referenceDay = FirstDay(s);
  for (const PlotSeriesData& s : series_) {
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

// X from 1 to PlotPointCount by record, or from the first to the last time of all series; Y
// from 0 to 10000.
PlotRanges Plot::DefaultRangesNow() const {
  PlotRanges ranges = DefaultRanges(PlotPointCount);
  if (overlay_ == OverlayMode::ByRecord) return ranges;
  std::optional<AxisRange> x;
  for (const SeriesEnvelope& e : envelopes_) {
    if (e.size() == 0) continue;
    const double first = e.key(0);
    const double last = e.key(e.size() - 1);
    x = x ? AxisRange{std::min(x->min, first), std::max(x->max, last)} : AxisRange{first, last};
  }
  if (x) ranges.x = *x;
  return ranges;
}

bool Plot::eventFilter(QObject* watched, QEvent* e) {
  if (watched == CWGraph1 && e->type() == QEvent::Resize) {
    ShowVisiblePoints();
    ShowTimeTicks();
  }
  return QWidget::eventFilter(watched, e);
}

// One run of values (its lowest and highest value) per two pixels of the graph's width: about
// as many points as pixels, so QCustomPlot draws a long series as fast as a short one.
void Plot::ShowVisiblePoints() {
  const QCPRange x = CWGraph1->xAxis->range();
  const int width = CWGraph1->width();
  for (std::size_t i = 0; i < graphs_.size(); ++i) {
    QCPGraph* series = graphs_[i];
    if (i >= envelopes_.size()) {
      series->data()->clear();
      continue;
    }
    const PlotPoints points = envelopes_[i].PointsFor(x.lower, x.upper, std::max(width / 2, 128));
    series->setData(points.keys, points.values, true);
    const bool marked = overlay_ == OverlayMode::ByRecord
                            ? RecordsMarked({x.lower, x.upper}, width)
                            : RecordsMarked({1, static_cast<double>(points.keys.size())}, width);
    series->setScatterStyle(marked ? QCPScatterStyle(QCPScatterStyle::ssDisc, kRecordMarkSize)
                                   : QCPScatterStyle(QCPScatterStyle::ssNone));
  }
  ShowClearSky();
}

void Plot::SetRangeStatus(std::function<QString(double, double)> describeRange) {
  describeRange_ = std::move(describeRange);
  ShowRangeStatus();
}

void Plot::ShowRangeStatus() {
  const QCPRange x = CWGraph1->xAxis->range();
  // The description counts the records of the one series plotted by record.
  const bool byRecord = overlay_ == OverlayMode::ByRecord && series_.size() <= 1;
  LblStatus->setText(describeRange_ && byRecord ? describeRange_(x.lower, x.upper) : QString());
}

PlotRanges Plot::visibleRanges() const {
  const QCPRange x = CWGraph1->xAxis->range();
  const QCPRange y = CWGraph1->yAxis->range();
  return {{x.lower, x.upper}, {y.lower, y.upper}};
}

void Plot::SetRanges(const PlotRanges& ranges) {
  const AxisRange x = ShownRange(ranges.x);
  const AxisRange y = ShownRange(ranges.y);
  CWGraph1->xAxis->setRange(x.min, x.max);
  CWGraph1->yAxis->setRange(y.min, y.max);
}

// Fills the four fields without running the range rule for each: the ranges are set once after.
void Plot::SetRangeFields(const PlotRanges& ranges) {
  fillingFields_ = true;
  AxisMax[1]->setValue(ranges.x.max);
  AxisMin[1]->setValue(ranges.x.min);
  AxisMax[2]->setValue(ranges.y.max);
  AxisMin[2]->setValue(ranges.y.min);
  fillingFields_ = false;
}

void Plot::ApplyRangeFields() {
  SetRanges(
      {{AxisMin[1]->value(), AxisMax[1]->value()}, {AxisMin[2]->value(), AxisMax[2]->value()}});
  CWGraph1->replot(QCustomPlot::rpQueuedReplot);
}

void Plot::CmdResetClick() {
  ShowRanges(DefaultRangesNow());
}

void Plot::CmdFitClick() {
  if (const std::optional<PlotRanges> fitted = FitRanges(envelopes_)) ShowRanges(*fitted);
}

void Plot::ShowRanges(const PlotRanges& ranges) {
  SetRanges(ranges);
  SetRangeFields(ranges);
  CWGraph1->replot(QCustomPlot::rpQueuedReplot);
}

void Plot::SelectTrackMode(int index) {
  const TrackMode& mode = TrackModeAt(index);
  QCPAxisRect* area = CWGraph1->axisRect();
  Qt::Orientations along;
  if (mode.alongX) along |= Qt::Horizontal;
  if (mode.alongY) along |= Qt::Vertical;
  QCPAxis* x = mode.alongX ? CWGraph1->xAxis : nullptr;
  QCPAxis* y = mode.alongY ? CWGraph1->yAxis : nullptr;
  area->setRangeDrag(along);
  area->setRangeDragAxes(x, y);
  area->setRangeZoom(along);
  area->setRangeZoomAxes(x, y);
  // Zoom modes zoom to the region selected with the mouse (and with the wheel, on the same axes).
  CWGraph1->setInteraction(QCP::iRangeDrag, mode.drag == DragAction::Pan);
  CWGraph1->setInteraction(QCP::iRangeZoom, mode.drag == DragAction::Zoom);
  CWGraph1->setSelectionRectMode(mode.drag == DragAction::Zoom ? QCP::srmZoom : QCP::srmNone);
  txtDescription->setPlainText(QString::fromLatin1(mode.help));

  cursor(2)->setVisible(false);
  cursor(1)->setVisible(mode.cursor1Shown());
  if (mode.cursor1Shown()) {
    const QPointF middle = MiddleOf(visibleRanges());
    MoveCursor(1, middle.x(), middle.y());
  }
  CWGraph1->replot(QCustomPlot::rpQueuedReplot);
}

QCPItemTracer* Plot::cursor(int index) const {
  return cursors_[index == 2 ? 2 : 1];
}

void Plot::MoveCursor(int index, double x, double y) {
  if (index == 1 && !envelopes_.empty()) {
    const SeriesEnvelope& first = envelopes_.front();
    if (const std::optional<int> at = first.Nearest(x)) {
      x = first.key(*at);
      y = first.values()[static_cast<std::size_t>(*at)];
    }
  }
  cursor(index)->position->setCoords(x, y);
  CursorMoved(index, x, y);
  CWGraph1->replot(QCustomPlot::rpQueuedReplot);
}

void Plot::CursorMoved(int index, double x, double y) {
  if (index != 1) return;
  ShowReadout(*XPosition, XText(x));
  ShowReadout(*YPosition, OneDecimalText(y));
}

QString Plot::XText(double x) const {
  switch (overlay_) {
    case OverlayMode::ByTime:
      return TimeText(x, offsetAt_);
    case OverlayMode::ByTimeOfDay:
      return TimeOfDayText(x, NoUtcOffset);
    default:
      return PlainNumberText(x);
  }
}

// In "Cursor Coordinates" mode a press in the plot area takes cursor 1 there, and dragging
// moves it along.
void Plot::GraphMousePress(QMouseEvent* e) {
  if (TrackModeAt(Combo1->currentIndex()).drag != DragAction::MoveCursor) return;
  if (e->button() != Qt::LeftButton) return;
  if (!CWGraph1->axisRect()->rect().contains(e->pos())) return;
  draggingCursor_ = true;
  GraphMouseMove(e);
}

void Plot::GraphMouseMove(QMouseEvent* e) {
  if (!draggingCursor_) return;
  const QPointF p = e->position();
  MoveCursor(1, CWGraph1->xAxis->pixelToCoord(p.x()), CWGraph1->yAxis->pixelToCoord(p.y()));
}

// The graph is printed on white with the frame of controls hidden; whatever happens, the
// frame, the window background and the plot-area colour are restored afterwards.
void Plot::CmdPrintClick() {
  const DialogOwner owner(instrument_.dialogs, this);
  QPrinter printer(QPrinter::HighResolution);
  if (!instrument_.dialogs.choosePrinter(printer)) return;

  const QPalette keptPalette = palette();
  const bool keptAutoFill = autoFillBackground();
  const QBrush keptPlotArea = CWGraph1->axisRect()->backgroundBrush();
  QPalette white = keptPalette;
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);
  FrmGraphic->hide();
  CWGraph1->axisRect()->setBackground(QBrush(Qt::white));
  CWGraph1->replot();

  PrintImage(grab().toImage(), printer);

  setPalette(keptPalette);
  setAutoFillBackground(keptAutoFill);
  FrmGraphic->show();
  CWGraph1->axisRect()->setBackground(keptPlotArea);
  CWGraph1->replot();
}

}  // namespace solardesk
