#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "app/SolarDeskApp.h"
#include "core/Clock.h"
#include "recording/logic/DataFileReader.h"
#include "recording/logic/FileTransfer.h"
#include "support/AppOnVirtualMeter.h"
#include "support/FileBytes.h"

namespace solardesk::testing {

// The recorder's counters set directly, to reach a full file or list without recording it.
struct RecorderAccess {
  static float& FileRecordCount(Recorder& r) { return r.FileRecordCount; }
  static float& ListRecordCount(Recorder& r) { return r.ListRecordCount; }
  static int& SampleTicks(Recorder& r) { return r.SampleTicks; }
};

// A list window without a window: caption, busy state and rows as the logic leaves them.
class FakeLiveList final : public LiveList {
 public:
  LineStore rows;
  QString caption = QStringLiteral("Real Time List");
  int follows = 0;
  int busyDepth = 0;
  bool closed = false;
  std::function<void()> onClose;

  LineStore& Rows() override { return rows; }
  void RowsChanged() override {}
  void FollowNewest() override { ++follows; }
  void Close() override {
    closed = true;
    if (onClose) onClose();
  }
  QString Caption() const override { return caption; }
  void SetCaption(const QString& text) override { caption = text; }
  void SetBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
  void LetEventsRun() override {}
};

// The file list without a window.
class FakeFileList final : public LoadTarget {
 public:
  QString title;
  bool titleSet = false;
  RecordSeries records;
  QString caption;

  void SetTitle(const QString& t) override {
    title = t;
    titleSet = true;
  }
  RecordSeries& Records() override { return records; }
  void EntriesAdded() override {}
  QString Caption() const override { return caption; }
  void SetCaption(const QString& text) override { caption = text; }
  void SetBusy(bool) override {}
  void LetEventsRun() override {
    if (onEvents) onEvents();
  }
  std::function<void()> onEvents;  // runs where the loop lets events run
};

// A base ahead of the program's, so that the folder outlives the files the program holds.
struct WithFolder {
  QTemporaryDir dir;
};

// The whole program on a virtual meter, a manual clock and scripted dialogs; the meter shows a
// fixed reading in watts and one polling tick has published it.
class ProgramTest : public ::testing::Test, public WithFolder, public AppOnVirtualMeter {
 protected:
  ProgramTest() {
    clock.set(QDateTime(QDate(2026, 12, 4), QTime(9, 30, 0)));
    meter->SetFixedReading(QStringLiteral("98.76"));
    Poll();
  }

  // One polling tick: the meter's reading and unit become ReadingText and ReadingUnit.
  void Poll() { panel().Timer1Tick(); }
  RecordingWindows& recording() { return app.recording(); }
  FileTransfer& transfer() { return app.recording().transfer; }
  QString Path(const QString& name) const { return dir.filePath(name); }
  void Tick() { transfer().recorder.RecordingTick(); }
  // Writes `content` into `name` (unless it is null) and opens it with the main window's "Open".
  FileList* OpenFile(const QString& name, const QByteArray& content = {}) {
    if (!content.isNull()) WriteBytes(Path(name), content);
    dialogs.openAnswers.push_back(Path(name));
    panel().clickToolbar(QStringLiteral("Open"));
    return recording().fileList();
  }
  // Answers the save dialog with `name` in the folder and clicks the window's "Save".
  template <typename Window>
  void SaveAs(Window& window, const QString& name) {
    dialogs.saveAnswers.push_back(Path(name));
    window.clickToolbar(QStringLiteral("Save"));
  }
  // Starts recording into `path` with the main window's "Save".
  void Record(const QString& path) {
    dialogs.saveAnswers.push_back(path);
    panel().clickToolbar(QStringLiteral("Save"));
    ASSERT_TRUE(transfer().recorder.fileRecording());
  }
  // The record numbers of a data file, in order; -1 for a first line that is not the header.
  std::vector<int> Numbers(const QString& path) {
    std::vector<int> numbers;
    const QList<QByteArray> lines = ReadBytes(path).split('\n');
    if (!lines[0].startsWith("      No.s\t")) numbers.push_back(-1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
      if (!lines[i].isEmpty()) numbers.push_back(lines[i].trimmed().split('\t')[0].toInt());
    }
    return numbers;
  }
  // The texts of the messages shown, each of them a warning.
  std::vector<QString> Warnings() {
    std::vector<QString> texts;
    for (const auto& m : dialogs.of(QStringLiteral("message"))) {
      EXPECT_EQ(m.icon, MessageIcon::Exclamation) << m.text.toStdString();
      texts.push_back(m.text);
    }
    return texts;
  }
  // Both main timers off, as a command that left them off would leave them.
  void StopTimers() {
    instrument().Timer1.stop();
    instrument().Timer2.stop();
  }

  SolarDeskApp& program = app;  // the name the recording tests know it by
};

}  // namespace solardesk::testing
