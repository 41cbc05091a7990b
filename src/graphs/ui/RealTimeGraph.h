#pragma once

#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QWidget>

#include "graphs/logic/LiveGraphState.h"
#include "graphs/logic/SweepGraph.h"
#include "graphs/logic/SweepLimits.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

// The live sweep graph: once a second the current reading is drawn as one more segment of a
// line that sweeps across the plot. Everything is drawn on an image the window keeps, so the
// picture persists and "Print" prints it as it is ("Print Preview" shows that page first, taken at
// the moment it was asked for, while the sweep goes on). The toolbar and the limits panel lie over
// the picture; hiding them does not change it.
class RealTimeGraph : public QWidget {
  Q_OBJECT
 public:
  RealTimeGraph(Instrument& instrument, LiveGraphState& state, const QWidget* mainWindow);
  ~RealTimeGraph() override;

  static const QString kCaption;  // "Real Time Graph"

  const QImage& picture() const { return image_; }
  SweepGraph& graph() { return graph_; }
  QAction* toolbarAction(const QString& key) const;  // "Limit", "Print" or "Print Preview"

  // Handlers, named as the controls know them.
  void Timer1Tick();
  void Limit();
  void CmdOKClick();
  // Closes the limits panel without storing anything; the sweep goes on where it paused.
  void CmdCancelClick();
  void Print();
  void PrintPreview();

  // Controls.
  QToolBar* Toolbar1 = nullptr;
  QFrame* PMessage = nullptr;  // the limits panel, hidden except while the limits are edited
  QLineEdit* TxtMax = nullptr;
  QLineEdit* TxtMin = nullptr;
  QLineEdit* TxtCounts = nullptr;
  QPushButton* CmdOK = nullptr;
  QPushButton* CmdCancel = nullptr;
  QTimer Timer1;  // 1000 ms, enabled by the first layout

  static constexpr int kTickIntervalMs = 1000;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void BuildToolbar();
  void BuildLimitsPanel();
  void RunLayout();
  bool FilterLimitKey(LimitField field, QKeyEvent* e);

  Instrument& instrument_;
  LiveGraphState& state_;
  SweepGraph graph_;
  QImage image_;
};

}  // namespace solardesk
