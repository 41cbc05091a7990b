#pragma once

#include <QDateTime>
#include <QString>

#include "link/MeterLink.h"

namespace solardesk {

// How a part of the status line stands out: not at all, as a warning, or as an alarm.
enum class StatusTone { Normal, Warning, Alarm };

// One part of the main window's status line: its text, its tool tip and its tone.
struct StatusPart {
  QString text;
  QString toolTip;
  StatusTone tone = StatusTone::Normal;

  bool operator==(const StatusPart&) const = default;
};

// What the status line tells of recording on the PC, as the recording state has it.
struct RecordingStatus {
  QString filePath{};   // the data file being recorded; empty when no file is recorded
  QString fileCount{};  // records written to it, as LblCount shows them (empty before the first)
  bool listRecording = false;
  QString listCount{};  // samples in the live list
  // Recording is on while the main window's timers are held off, and the samples missed so far.
  // Once recording goes on again, missedWhilePaused is the last pause's count (pausedBefore).
  bool paused = false;
  long long missedWhilePaused = 0;
  bool pausedBefore = false;
  // Samples not written since the last write that succeeded, and why the last write failed.
  int unwritten = 0;
  QString unwrittenCause{};
  QDateTime lastSample{};  // invalid before the first sample
  // Something put right meanwhile (a removed file made again), or why recording ended.
  QString notice{};

  bool Recording() const { return !filePath.isEmpty() || listRecording; }
};

// The meter part: connected, not found, found but not permitted (with the udev rule to
// install), or not answering. LblName carries the same tool tip. A virtual meter (the program
// started with --simulate) says so, so that made-up readings are never taken for measured ones.
StatusPart MeterStatusPart(MeterLink::Presence presence, bool virtualMeter = false);

// The recording part: not recording, the sample count with the time of the last sample and the
// file's name (or the live list), paused with the samples missed, or samples not saved. While the
// meter is not answering, a recording samples the frozen reading, and the part warns of it.
StatusPart RecordingStatusPart(const RecordingStatus& status, MeterLink::Presence presence);

// The tool tip of a recording whose samples cannot be written.
QString NotSavedToolTip(int unwritten, const QString& cause);

}  // namespace solardesk
