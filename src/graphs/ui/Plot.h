#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "RangeField.h"
#include "analysis/Site.h"
#include "graphs/logic/Overlay.h"
#include "graphs/logic/PlotRanges.h"
#include "graphs/logic/SeriesEnvelope.h"
#include "graphs/logic/TimeAxisText.h"
#include "graphs/logic/TrackModes.h"
#include "graphs/logic/ViewEnergy.h"
#include "panel/logic/Instrument.h"

class QCustomPlot;
class QCPAxisTicker;
class QCPGraph;
class QCPItemTracer;
class QMouseEvent;

namespace solardesk {

// The file plot: the values of an opened data file against their record numbers or against the
// clock, with a cursor read-out, pan and zoom with the mouse, typed axis ranges, a reset and
// printing. Up to eight series (more files, or logger sets to compare) lie over one another, by
// record, by time or by time of day, each in its own colour with a legend entry.
class Plot : public QWidget {
  Q_OBJECT
 public:
  // The Y title is the opened file's unit, set once here: later series keep it.
  Plot(Instrument& instrument, const QString& openedFileUnit, const QWidget* mainWindow);
  ~Plot() override;

  static const QString kCaption;  // "Plot"

  // Replaces the plotted series: X from 1 to pointCount, Y from 0 to 10000, both range field
  // pairs set to match. The track mode and the cursors stay as they are.
  void LoadSeries(const std::vector<float>& series, int pointCount);
  // The same for whole series (with their times, unit and name), replacing every series shown:
  // X from 1 to pointCount by record, or over the times of all series on a time axis.
  void LoadSeries(std::vector<PlotSeriesData> series, int pointCount);
  // Lays one more series over the others. Refused with a message when the plot holds
  // kMostSeries already or the series is in another unit; true when added.
  bool AddSeries(PlotSeriesData series);
  // Takes series `index` (from 0) off the plot; the last one stays.
  void RemoveSeries(int index);
  int SeriesCount() const { return static_cast<int>(series_.size()); }
  const PlotSeriesData& Series(int index) const {
    return series_.at(static_cast<std::size_t>(index));
  }
  QCPGraph* SeriesGraph(int index) const { return graphs_.at(static_cast<std::size_t>(index)); }

  // The X axis: record numbers ("No.s"), or time (by time or by time of day); the X range
  // goes back to its default for the axis, the Y range stays.
  void SetOverlay(OverlayMode mode);
  OverlayMode Overlay() const { return overlay_; }

  // "Add file…" asks this for a data file and reads it; nothing when none was chosen or read.
  // Its dialogs are the plot's own.
  std::function<std::optional<PlotSeriesData>(Dialogs& dialogs)> chooseFile;
  // Reads a data file dropped on the window, which adds it as "Add file…" does (each file of
  // the drop in turn). Only ".pvd" files are taken, and none while this is unset.
  std::function<std::optional<PlotSeriesData>(const QString& path)> readFile;
  // Adds the series read from each of `paths`, as a drop does.
  void AddFiles(const QStringList& paths);

  // The axis ranges now shown.
  PlotRanges visibleRanges() const;

  // Cursor 1 or 2 of the graph.
  QCPItemTracer* cursor(int index) const;
  // Moves a cursor as a drag does, with the read-out that follows. Cursor 1 stands on the
  // record nearest to X, at its value; on an empty plot it goes where it is put.
  void MoveCursor(int index, double x, double y);

  // Handlers, named as the controls know them.
  void SelectTrackMode(int index);
  void ApplyRangeFields();
  // A pair of range fields left with its minimum above its maximum is refused with a message;
  // the edited field gets its value from before the editing back (the steps of the typing may
  // have moved the axis), and the axis follows.
  void RefuseInvertedRange(RangeField& edited);
  // Says that a range field could not read `text`.
  void RefuseRangeText(const RangeField& field, const QString& text);
  void CmdResetClick();
  // Both axes around the data, with a small margin, the Y axis also around the clear-sky curve
  // where it is drawn; the range fields follow.
  void CmdFitClick();
  void CmdPrintClick();
  // "Print Preview...": the printed picture in the print preview, printed from there on request.
  void CmdPreviewClick();
  void CmdAddFileClick();
  void CmdRemoveClick();  // removes the series chosen in CboSeries
  // "Site...": asks for the site where the readings were taken (kept across runs).
  void CmdSiteClick();
  // The dashed clear-sky curve at the site over the first series: drawn on the "By time" axis
  // for readings in W/(M)2 or Btu/(ft)2.h; null while it is not shown.
  QCPGraph* ClearSkyGraph() const;
  // The site the clear-sky curve is drawn for (the kept one when the window opens).
  void SetSite(const std::optional<Site>& site);

  int PlotPointCount = 0;  // values of the series last loaded; "Reset Scale" uses it

  // Controls.
  QCustomPlot* CWGraph1 = nullptr;
  QLabel* Label4 = nullptr;  // the Y title
  QGroupBox* FrmGraphic = nullptr;
  std::array<RangeField*, 3> AxisMin{};  // elements 1 (X) and 2 (Y)
  std::array<RangeField*, 3> AxisMax{};
  QComboBox* Combo1 = nullptr;
  QPlainTextEdit* txtDescription = nullptr;
  QLabel* XPosition = nullptr;
  QLabel* YPosition = nullptr;
  QPushButton* CmdReset = nullptr;
  QPushButton* CmdFit = nullptr;
  QPushButton* CmdPrint = nullptr;
  QPushButton* CmdPreview = nullptr;  // "Print Preview..."
  // The energy of the readings in view: one line per series with known times, named by its
  // legend entry where the plot holds several; again whenever the X range changes.
  QLabel* LblStatus = nullptr;
  QComboBox* CboXAxis = nullptr;    // "No.s", "Time"
  QComboBox* CboOverlay = nullptr;  // "By record", "By time", "By time of day"
  QComboBox* CboSeries = nullptr;   // the series shown, for "Remove"
  QPushButton* CmdAddFile = nullptr;
  QPushButton* CmdRemove = nullptr;
  QPushButton* CmdSite = nullptr;
  QLabel* LblXTitle = nullptr;  // "No.s ( X ) :" or "Time ( X ) :"

  static const QColor kPlotAreaColor;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void BuildGraph();
  // The window's picture as it is printed: on white, without the frame of controls.
  QImage PrintedImage();
  void BuildControls();
  QLayout* BuildSeriesBar();
  void ShowSeries();
  void ShowAxisKind();
  void ShowTimeTicks();
  void ShowClearSky();
  PlotRanges DefaultRangesNow() const;
  QString XText(double x) const;
  void SetRanges(const PlotRanges& ranges);
  void ShowRanges(const PlotRanges& ranges);
  void SetRangeFields(const PlotRanges& ranges);
  void ShowVisiblePoints();
  void ShowRangeStatus();
  // The legend in the corner of the plot area where it covers the fewest drawn lines.
  void PlaceLegend();
  void CursorMoved(int index, double x, double y);
  void GraphMousePress(QMouseEvent* e);
  void GraphMouseMove(QMouseEvent* e);

  Instrument& instrument_;
  WindowDialogs dialogs_{instrument_.dialogs, this};
  std::array<QCPItemTracer*, 3> cursors_{};
  std::vector<PlotSeriesData> series_;
  std::vector<SeriesEnvelope> envelopes_;
  std::vector<QCPGraph*> graphs_;
  OverlayMode overlay_ = OverlayMode::ByRecord;
  QSharedPointer<QCPAxisTicker> recordTicker_;
  UtcOffsetAt offsetAt_;
  std::optional<Site> site_;
  QCPGraph* clearSky_ = nullptr;
  bool clearSkyStale_ = true;  // the series, the site or the axis changed since it was drawn
  bool fillingFields_ = false;
  bool draggingCursor_ = false;
  std::vector<ViewEnergy> energies_;  // one per series, for the X axis in force
};

}  // namespace solardesk
