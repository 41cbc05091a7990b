#include "Plot.h"

#include <cmath>

#include <qcustomplot.h>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPrinter>
#include <QVBoxLayout>

#include "ImagePrint.h"
#include "analysis/SiteSettings.h"
#include "core/WriteGate.h"
#include "data/LocalTimeline.h"
#include "graphs/logic/LegendPlace.h"
#include "graphs/logic/NumberText.h"
#include "graphs/logic/PlotCursor.h"
#include "panel/ui/WindowPlacement.h"

namespace solardesk {

const QString Plot::kCaption = QStringLiteral("Plot");
const QColor Plot::kPlotAreaColor(0, 0, 0);

namespace {

constexpr double kRecordMarkSize = 6;

// A read-out longer than its label ends in "…" rather than widening the window.
void ShowReadout(QLabel& label, const QString& text) {
  label.setText(label.fontMetrics().elidedText(text, Qt::ElideRight, label.width()));
}

}  // namespace

// QWidget takes the children down after this object's own part is gone, and a range field that
// loses the focus then still says so: nothing a child signals may reach this object by then.
Plot::~Plot() {
  for (QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
}

Plot::Plot(Instrument& instrument, const QString& openedFileUnit, const QWidget* mainWindow)
    : QWidget(nullptr), instrument_(instrument), offsetAt_(SystemUtcOffset), site_(LoadSite()) {
  setObjectName(QStringLiteral("Plot"));
  setAcceptDrops(true);
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
  // Long names do not widen the window.
  LblStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
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

void Plot::ShowRangeStatus() {
  const QCPRange x = CWGraph1->xAxis->range();
  QStringList lines;
  for (std::size_t i = 0; i < energies_.size() && i < graphs_.size(); ++i) {
    const ViewEnergy& e = energies_[i];
    if (!e.Known()) continue;
    const QString figure = EnergyFigure(e.Between(x.lower, x.upper), e.Unit());
    lines << (energies_.size() > 1
                  ? QStringLiteral("Energy in view, %1: %2").arg(graphs_[i]->name(), figure)
                  : QStringLiteral("Energy in view: ") + figure);
  }
  LblStatus->setText(lines.join(QLatin1Char('\n')));
}

// Before each drawing: the legend's size is known from its entries, the plot area from the last
// layout, and the lines from the points now set. The legend goes into the corner of the plot
// area that no line crosses, or, where every corner has some, beside the plot area on the right.
// The corners are judged on the plot area as wide as it is with the legend inside.
void Plot::PlaceLegend() {
  QCPLegend* legend = CWGraph1->legend;
  QCPAxisRect* area = CWGraph1->axisRect();
  QCPLayoutInset* inset = area->insetLayout();
  QCPLayoutGrid* layout = CWGraph1->plotLayout();
  const bool outside = legend->layout() == layout;
  QRectF room = area->rect();
  if (outside) room.setRight(room.right() + legend->outerRect().width());
  const QCPRange x = CWGraph1->xAxis->range();
  const QCPRange y = CWGraph1->yAxis->range();
  const auto pixel = [&](double key, double value) {
    return QPointF(room.left() + (key - x.lower) / x.size() * room.width(),
                   room.bottom() - (value - y.lower) / y.size() * room.height());
  };
  std::vector<std::vector<QPointF>> curves;
  for (int g = 0; legend->visible() && g < CWGraph1->graphCount(); ++g) {
    QCPGraph* graph = CWGraph1->graph(g);
    if (!graph->visible()) continue;
    curves.emplace_back();
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it) {
      // A reading that is no number breaks the line.
      if (std::isnan(it->value)) {
        if (!curves.back().empty()) curves.emplace_back();
        continue;
      }
      curves.back().push_back(pixel(it->key, it->value));
    }
  }
  long crossings = 0;
  const Qt::Alignment corner = EmptiestCorner(room, legend->minimumOuterSizeHint(),
                                              inset->margins().left(), curves, &crossings);
  const bool beside = legend->visible() && crossings > 0;
  if (beside && !outside) {
    inset->take(legend);
    inset->simplify();
    layout->addElement(0, 1, legend);
    layout->setColumnStretchFactor(1, 0.001);
  } else if (!beside && outside) {
    layout->take(legend);
    layout->simplify();
    inset->addElement(legend, corner);
  }
  for (int i = 0; i < inset->elementCount(); ++i)
    if (inset->elementAt(i) == legend) inset->setInsetAlignment(i, corner);
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

// While a pair of fields has its minimum above its maximum (halfway through typing, or a
// mistake), its axis stays as it is; when the editing ends, RefuseInvertedRange says so.
void Plot::ApplyRangeFields() {
  const PlotRanges shown = visibleRanges();
  const auto pair = [](const RangeField* min, const RangeField* max, AxisRange kept) {
    return min->value() > max->value() ? kept : AxisRange{min->value(), max->value()};
  };
  SetRanges({pair(AxisMin[1], AxisMax[1], shown.x), pair(AxisMin[2], AxisMax[2], shown.y)});
  CWGraph1->replot(QCustomPlot::rpQueuedReplot);
}

void Plot::RefuseInvertedRange(RangeField& edited) {
  for (int axis = 1; axis <= 2; ++axis) {
    const auto i = static_cast<std::size_t>(axis);
    if (AxisMin[i]->value() <= AxisMax[i]->value()) continue;
    const QString min = AxisMin[i]->text();
    const QString max = AxisMax[i]->text();
    edited.setValue(edited.ValueBeforeEditing());  // runs the range rule
    dialogs_.message(QStringLiteral("The minimum %1 is above the maximum %2: the %3 range stays "
                                    "as it was.")
                         .arg(min, max, axis == 1 ? QStringLiteral("X") : QStringLiteral("Y")),
                     kProgramTitle, MessageIcon::Exclamation);
    return;
  }
}

void Plot::RefuseRangeText(const RangeField& field, const QString& text) {
  const QString what =
      field.TakesTimes()
          ? QStringLiteral("a date and time")
          : QStringLiteral("a number (decimals after \"%1\" or \".\", no thousands separators)")
                .arg(field.decimalSign());
  dialogs_.message(QStringLiteral("\"%1\" cannot be read as %2.").arg(text, what), kProgramTitle,
                   MessageIcon::Exclamation);
}

void Plot::CmdResetClick() {
  ShowRanges(DefaultRangesNow());
}

void Plot::CmdFitClick() {
  PlotPoints sky;
  if (clearSky_) {
    for (auto it = clearSky_->data()->constBegin(); it != clearSky_->data()->constEnd(); ++it) {
      sky.keys.push_back(it->key);
      sky.values.push_back(it->value);
    }
  }
  if (const std::optional<PlotRanges> fitted = FitRanges(envelopes_, sky)) ShowRanges(*fitted);
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
  double read = y;
  if (index == 1 && !envelopes_.empty()) {
    const SeriesEnvelope& first = envelopes_.front();
    if (const std::optional<int> at = first.Nearest(x)) {
      x = first.key(*at);
      read = first.values()[static_cast<std::size_t>(*at)];
      // On an unreadable record the cursor keeps its height and reads "unreadable".
      if (!std::isnan(read)) y = read;
    }
  }
  cursor(index)->position->setCoords(x, y);
  CursorMoved(index, x, read);
  CWGraph1->replot(QCustomPlot::rpQueuedReplot);
}

void Plot::CursorMoved(int index, double x, double y) {
  if (index != 1) return;
  ShowReadout(*XPosition, XText(x));
  ShowReadout(*YPosition, std::isnan(y) ? QStringLiteral("unreadable") : OneDecimalText(y));
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
QImage Plot::PrintedImage() {
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

  const QImage image = grab().toImage();

  setPalette(keptPalette);
  setAutoFillBackground(keptAutoFill);
  FrmGraphic->show();
  CWGraph1->axisRect()->setBackground(keptPlotArea);
  CWGraph1->replot();
  return image;
}

void Plot::CmdPrintClick() {
  const DialogOwner owner(instrument_.dialogs, this);
  QPrinter printer(QPrinter::HighResolution);
  std::unique_ptr<FileWriter> pdf;
  if (!ChoosePrinterFree(instrument_.dialogs, printer, pdf)) return;
  PrintImage(PrintedImage(), printer);
}

// The preview shows the picture that "Print Graph" prints; its "Print" prints that picture.
void Plot::CmdPreviewClick() {
  const DialogOwner owner(instrument_.dialogs, this);
  PreviewThenPrintImage(instrument_.dialogs, PrintedImage());
}

}  // namespace solardesk
