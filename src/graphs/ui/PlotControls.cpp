// The controls of the file plot: the graph, the frame of ranges, track mode and cursor read-outs,
// and the bar of series above the graph.
#include "Plot.h"

#include <qcustomplot.h>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPrinter>
#include <QVBoxLayout>

#include "PlotLook.h"
#include "graphs/logic/NumberText.h"

namespace solardesk {
namespace {

using plotlook::kSeriesColors;
const QColor kCursorColor(0, 170, 255);

// The widest read-outs a cursor position needs, "-" and ten figures with one decimal or a date
// and time: the labels keep this width whatever they show, so that the window never grows
// under the user.
const QString kWidestReadout = QStringLiteral("-0000000000.0");
const QString kWidestTimeReadout = QStringLiteral("0000/00/00 00:00:00");
// Room around the text of a range field.
constexpr int kFieldMarginPixels = 12;

QLabel* MakeReadout(QWidget* parent) {
  auto* label = new QLabel(parent);
  const QFontMetrics fm = label->fontMetrics();
  label->setFixedWidth(
      std::max(fm.horizontalAdvance(kWidestReadout), fm.horizontalAdvance(kWidestTimeReadout)));
  return label;
}

}  // namespace

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
  connect(CWGraph1, &QCustomPlot::beforeReplot, this, &Plot::PlaceLegend);
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
      connect(f, &RangeField::refused, this,
              [this, f](const QString& text) { RefuseRangeText(*f, text); });
      connect(f, &QAbstractSpinBox::editingFinished, this, [this, f] {
        if (!fillingFields_) RefuseInvertedRange(*f);
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
  CmdPreview = new QPushButton(QStringLiteral("Print Preview..."), FrmGraphic);
  connect(CmdPrint, &QPushButton::clicked, this, &Plot::CmdPrintClick);
  connect(CmdPreview, &QPushButton::clicked, this, &Plot::CmdPreviewClick);
  auto* buttons = new QGridLayout;
  buttons->addWidget(CmdReset, 0, 0);
  buttons->addWidget(CmdFit, 0, 1);
  buttons->addWidget(CmdPrint, 1, 0, 1, 2);
  buttons->addWidget(CmdPreview, 2, 0, 1, 2);
  buttons->setRowStretch(3, 1);

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

}  // namespace solardesk
