#pragma once

#include <QDateTime>
#include <QString>

namespace solardesk {

// How the recording is faring, for the main window's status: whether samples are being lost to
// failed writes or to timers held off, and when the last sample was taken. Kept by FileTransfer.
struct RecordingHealth {
  // Samples that could not be written since the last write that succeeded, and why the last
  // write failed ("Disk full" or the system's message).
  int unwritten = 0;
  QString cause;
  // Samples of this recording that could not be written, in all, and of them the ones that were
  // written but whose hand-over to the disk failed.
  long long unwrittenTotal = 0;
  long long atRiskTotal = 0;
  // Recording (file or list) is on while the main window's timers are held off.
  bool paused = false;
  // Samples that fell due while the timers were held off, in this pause or, once recording goes
  // on, in the last one (pausedBefore).
  long long missedWhilePaused = 0;
  bool pausedBefore = false;
  // The PC time of the last sample taken; invalid before the first.
  QDateTime lastSample;
  // Something that happened to the file and was put right, said once to whoever shows it.
  QString notice;

  bool Failing() const { return unwritten > 0; }
};

// The notice of a recording file that was removed and made again.
inline const QString kFileRecreatedText =
    QStringLiteral("The file was removed: recording goes on in a new file of the same name");

// The notice of a recording that the meter's change of unit ended.
inline const QString kUnitChangedText = QStringLiteral("Recording ended: the unit changed");

// The recording label's caption while writes fail.
inline const QString kNotSavedText = QStringLiteral("Not saved");

}  // namespace solardesk
