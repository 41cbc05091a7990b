#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QWidget>
#include <array>
#include <functional>
#include <map>

#include "MeterFace.h"
#include "panel/logic/Instrument.h"
#include "panel/logic/StatusLine.h"

namespace solardesk {

// The main window: the meter picture mirrored from the meter ten times a second, the toolbar,
// the recording labels, the status line below the picture, the hidden set-up area, and the test
// controls to the right of the visible area. Closing it closes the device and ends the program.
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

  // Ends the program: closes both device handles for good and tells every long loop to stop,
  // then calls `onEnd` (by default it hides every window and quits the application).
  void CloseLinkAndEnd();
  std::function<void()> onEnd;

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
  std::array<QComboBox*, OutputSlots::kCount> CboByte{};
  QPushButton* CmdWrite = nullptr;
  QPushButton* CmdWnR = nullptr;
  QPushButton* Read = nullptr;
  QPushButton* CmdClr = nullptr;
  QPushButton* cmdOnce = nullptr;
  QPushButton* cmdContinuous = nullptr;
  QListWidget* lstResults = nullptr;
  QLineEdit* TxtVid = nullptr;
  QLineEdit* TxtPid = nullptr;
  QTimer tmrDelay;
  QTimer tmrContinuousDataCollect;

  // Where the test controls begin, to the right of the design-time client area.
  static constexpr int kTestControlsLeft = 856;
  // The status line widens the client area below the picture by one line.
  static constexpr int kStatusLineHeight = 20;

 signals:
  // After every toolbar click, once the command has run.
  void toolbarClicked(const QString& key);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void Load();
  void BuildToolbar();
  void BuildStatusLabels();
  void BuildStatusLine();
  void ShowStatus();
  void BuildSetupArea();
  void BuildTestControls();
  void FillFieldLists();
  void InitTestControls();
  void FillByteCombos();
  void BeforeAnyCommand(const QString& key);
  void ShowLinkState(const QString& caption);

  Instrument& instrument_;
  std::map<QString, std::function<void()>> commands_;
  RecordingStatus recordingStatus_;
  bool virtualMeter_ = false;
  bool ended_ = false;
};

}  // namespace solardesk
