#include "Plot.h"

#include <qcustomplot.h>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPrinter>
#include <QVBoxLayout>

#include "ImagePrint.h"
#include "WindowPlacement.h"
#include "graphs/logic/NumberText.h"
#include "graphs/logic/PlotCursor.h"

namespace solardesk {

const QString Plot::kCaption = QStringLiteral("Plot");
const QColor Plot::kPlotAreaColor(0, 0, 0);

namespace {

const QColor kTraceColor(255, 80, 0);
const QColor kCursorColor(0, 170, 255);
constexpr double kRecordMarkSize = 6;

// The widest read-out a cursor position needs, "-" and ten figures with one decimal: the
// labels keep this width whatever they show, so that the window never grows under the user.
const QString kWidestReadout = QStringLiteral("-0000000000.0");

QLabel* MakeReadout(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setFixedWidth(label->fontMetrics().horizontalAdvance(kWidestReadout));
  return label;
}

// A read-out longer than its label ends in "…" rather than widening the window.
void ShowReadout(QLabel& label, const QString& text) {
  label.setText(label.fontMetrics().elidedText(text, Qt::ElideRight, label.width()));
}

}  // namespace

Plot::Plot(Instrument& instrument, const QString& openedFileUnit, const QWidget* mainWindow)
    : QWidget(nullptr), instrument_(instrument) {
  setObjectName(QStringLiteral("Plot"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kCaption);
  Label4 = new QLabel(openedFileUnit, this);
  Label4->hide();  // carries the Y title into the graph
  BuildGraph();
  BuildControls();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CWGraph1, 1);
  layout->addWidget(FrmGraphic);
  LblStatus = new QLabel(this);
  LblStatus->setObjectName(QStringLiteral("LblStatus"));
  LblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(LblStatus);
  connect(CWGraph1->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
          &Plot::ShowRangeStatus);
  resize(720, 560);
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
  series->setPen(QPen(kTraceColor));
  series->setAdaptiveSampling(true);
  // Record numbers are whole: the X axis has no ticks between them.
  auto wholeRecords = QSharedPointer<QCPAxisTickerFixed>::create();
  wholeRecords->setTickStep(1);
  wholeRecords->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
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
  infoGrid->addWidget(new QLabel(QStringLiteral("No.s ( X ) :"), info), 0, 0);
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

void Plot::LoadSeries(const std::vector<float>& series, int pointCount) {
  PlotPointCount = pointCount;
  envelope_ = SeriesEnvelope(series);
  const PlotRanges ranges = DefaultRanges(pointCount);
  SetRangeFields(ranges);
  SetRanges(ranges);
  ShowVisiblePoints();
  CWGraph1->replot();
}

bool Plot::eventFilter(QObject* watched, QEvent* e) {
  if (watched == CWGraph1 && e->type() == QEvent::Resize) ShowVisiblePoints();
  return QWidget::eventFilter(watched, e);
}

// One run of values (its lowest and highest value) per two pixels of the graph's width: about
// as many points as pixels, so QCustomPlot draws a long series as fast as a short one.
void Plot::ShowVisiblePoints() {
  const QCPRange x = CWGraph1->xAxis->range();
  const PlotPoints points =
      envelope_.PointsFor(x.lower, x.upper, std::max(CWGraph1->width() / 2, 128));
  QCPGraph* series = CWGraph1->graph(0);
  series->setData(points.keys, points.values, true);
  const bool marked = RecordsMarked({x.lower, x.upper}, CWGraph1->width());
  series->setScatterStyle(marked ? QCPScatterStyle(QCPScatterStyle::ssDisc, kRecordMarkSize)
                                 : QCPScatterStyle(QCPScatterStyle::ssNone));
}

void Plot::SetRangeStatus(std::function<QString(double, double)> describeRange) {
  describeRange_ = std::move(describeRange);
  ShowRangeStatus();
}

void Plot::ShowRangeStatus() {
  const QCPRange x = CWGraph1->xAxis->range();
  LblStatus->setText(describeRange_ ? describeRange_(x.lower, x.upper) : QString());
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
  ShowRanges(DefaultRanges(PlotPointCount));
}

void Plot::CmdFitClick() {
  if (const std::optional<PlotRanges> fitted = FitRanges(envelope_.values())) ShowRanges(*fitted);
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
  if (index == 1) {
    if (const std::optional<RecordPoint> at = NearestRecord(envelope_.values(), x)) {
      x = at->record;
      y = at->value;
    }
  }
  cursor(index)->position->setCoords(x, y);
  CursorMoved(index, x, y);
  CWGraph1->replot(QCustomPlot::rpQueuedReplot);
}

void Plot::CursorMoved(int index, double x, double y) {
  if (index != 1) return;
  ShowReadout(*XPosition, PlainNumberText(x));
  ShowReadout(*YPosition, OneDecimalText(y));
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
