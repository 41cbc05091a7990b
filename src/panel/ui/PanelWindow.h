#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QWidget>
#include <array>
#include <functional>
#include <map>

#include "DiagnosticsWindow.h"
#include "MeterFace.h"
#include "panel/logic/Instrument.h"
#include "panel/logic/StatusLine.h"

namespace solardesk {

// The main window: a menu bar above the meter picture mirrored from the meter ten times a second,
// the toolbar, the recording labels, the status line below the picture and the hidden set-up area,
// at a fixed size that cannot be maximized. The link diagnostics have a window of their own, opened
// only on purpose (the "Diagnostics" action, in the window's context menu, which a right click on
// the toolbar or the status line opens). Closing the main window closes the device and ends the
// program.
class PanelWindow : public QWidget {
  Q_OBJECT
 public:
  explicit PanelWindow(Instrument& instrument, QWidget* parent = nullptr);
  ~PanelWindow() override;

  static const QString kCaption;  // "Panel   V8.01"

  Instrument& instrument() { return instrument_; }

  // One tick of Timer1: the polling cycle and the redraw.
  void Timer1Tick();

  // Toolbar: nine buttons keyed "Save", "Open", "Interval", "List", "Graph", "RTC", "Set",
  // "Logger", "Erase". Every click first runs the steps before any command, then the command
  // registered for its key, if any.
  void setToolbarCommand(const QString& key, std::function<void()> command);
  void clickToolbar(const QString& key);
  QAction* toolbarAction(const QString& key) const;

  // The menu bar: File (Record..., Open..., Recent files, Export CSV..., Print..., Print
  // Preview..., Quit), Meter (Interval, Clock, Set-up, Logger, Erase), View (Live list, Live
  // graph, Plot), Help (User guide, Diagnostics, About). An entry with a toolbar button clicks
  // it; the others ("Export CSV", "Print", "Print Preview", "Plot", "User guide", "About") run
  // the command set for their key with setToolbarCommand. The shortcuts show in the menus and in
  // the buttons' tool tips.
  QMenuBar* menuBar = nullptr;
  QMenu* recentMenu = nullptr;  // filled by whoever keeps the recent files
  QAction* menuAction(const QString& key) const;
  void RunMenuCommand(const QString& key);
  // The Save button's two states: idle ("Save As") and recording ("Stop Recording").
  void setSaveButtonRecording(bool recording);

  // While recorded samples cannot be written, LblRecording stands out, its tool tip naming the
  // cause; otherwise it looks as usual.
  void ShowRecordingTrouble(bool failing, const QString& toolTip);
  // The recording part of the status line; the meter part follows the link by itself.
  void ShowRecordingStatus(const RecordingStatus& status);
  // Marks the meter as the virtual one, in the status line and its tool tip.
  void SetVirtualMeter(bool isVirtual) {
    virtualMeter_ = isVirtual;
    ShowStatus();
  }

  // Shows the diagnostics window and brings it to the front.
  void ShowDiagnostics();
  QAction* diagnosticsAction = nullptr;  // "Diagnostics"

  // Ends the program: closes both device handles for good and tells every long loop to stop,
  // then calls `onEnd` (by default it hides every window and quits the application).
  void CloseLinkAndEnd();
  std::function<void()> onEnd;

  // A single ".pvd" file dropped on the window goes here (the program opens it as "Open"
  // does); other drops, and any drop while this is unset, are refused.
  std::function<void(const QString& path)> openDroppedFile;

  // Controls, named as the program's handlers know them.
  MeterFace* face = nullptr;
  QToolBar* Toolbar1 = nullptr;
  QLabel* LblRecording = nullptr;
  QLabel* LblCount = nullptr;
  QLabel* LblFileName = nullptr;
  // The status line below the picture: the meter's presence, and the recording.
  QLabel* LblStatusMeter = nullptr;
  QLabel* LblStatusRecording = nullptr;
  QFrame* PicSetup = nullptr;        // the set-up chooser, hidden at start
  QFrame* PicReservation = nullptr;  // the reservation panel, hidden at start
  QFrame* PicCycling = nullptr;      // the daily cycle panel, hidden at start
  std::array<QComboBox*, 12> ComboRes{};
  std::array<QComboBox*, 6> ComboCyc{};
  DiagnosticsWindow* diagnostics = nullptr;  // hidden until asked for
  QTimer tmrDelay;
  QTimer tmrContinuousDataCollect;

  // The status line widens the client area below the picture by one line.
  static constexpr int kStatusLineHeight = 20;

 signals:
  // After every toolbar click, once the command has run.
  void toolbarClicked(const QString& key);

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void Load();
  void BuildToolbar();
  void BuildMenuBar();
  void SetButtonToolTip(QAction& button, const QString& text);
  void BuildStatusLabels();
  void BuildStatusLine();
  void ShowStatus();
  void BuildSetupArea();
  void BuildDiagnostics();
  void FillFieldLists();
  void InitTestControls();
  void BeforeAnyCommand(const QString& key);
  void ShowLinkState(const QString& caption);
  // The one data file a drop carries that the window takes, or the empty text.
  QString DroppedFile(const QMimeData* mime) const;

  Instrument& instrument_;
  QWidget* body_ = nullptr;                   // everything below the menu bar
  std::map<QString, QString> shortcutTexts_;  // by toolbar key: the shortcut of its menu entry
  std::map<QString, std::function<void()>> commands_;
  RecordingStatus recordingStatus_;
  bool virtualMeter_ = false;
  bool ended_ = false;
};

}  // namespace solardesk
