#include "StatusLine.h"

#include <QDir>
#include <QFileInfo>

namespace solardesk {
namespace {

using Presence = MeterLink::Presence;

const QString kAccessDeniedTip = QStringLiteral(
    "A meter was found but this user may not open it.\n"
    "Install the udev rule that comes with SolarDesk:\n"
    "  sudo cp packaging/70-solardesk-meter.rules /etc/udev/rules.d/\n"
    "  sudo udevadm control --reload-rules && sudo udevadm trigger\n"
    "then unplug the meter and plug it in again.");
const QString kFrozenReading =
    QStringLiteral("The picture shows the last reading, and a recording goes on sampling it.");

QString Samples(const QString& count) {
  const QString n = count.isEmpty() ? QStringLiteral("0") : count;
  return n == QLatin1String("1") ? QStringLiteral("1 sample") : n + QStringLiteral(" samples");
}

// ", 09:30:05" after the count, once a sample was taken.
QString LastTime(const QDateTime& t) {
  return t.isValid() ? QStringLiteral(", ") + t.toString(QStringLiteral("HH:mm:ss")) : QString();
}

StatusPart Taking(const RecordingStatus& s) {
  const QString last = s.lastSample.isValid()
                           ? QStringLiteral("\nLast sample: %1.")
                                 .arg(s.lastSample.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")))
                           : QStringLiteral("\nNo sample taken yet.");
  const QString pause =
      s.pausedBefore
          ? QStringLiteral("\nThe last pause missed %1 sample(s).").arg(s.missedWhilePaused)
          : QString();
  if (!s.filePath.isEmpty()) {
    QString tip = QStringLiteral("Recording to %1\n%2 written.")
                      .arg(QDir::toNativeSeparators(s.filePath), Samples(s.fileCount));
    if (s.listRecording) tip += QStringLiteral(" The live list takes them too.");
    // The name comes last: a line too narrow for it cuts the name, never the count or the time.
    return {
        QStringLiteral("Rec %1%2 in %3")
            .arg(Samples(s.fileCount), LastTime(s.lastSample), QFileInfo(s.filePath).fileName()),
        tip + last + pause};
  }
  return {QStringLiteral("List %1%2").arg(Samples(s.listCount), LastTime(s.lastSample)),
          QStringLiteral("Recording to the live list only, %1 so far.").arg(Samples(s.listCount)) +
              last + pause};
}

}  // namespace

StatusPart MeterStatusPart(Presence presence, bool virtualMeter) {
  switch (presence) {
    case Presence::Connected:
      if (virtualMeter) {
        return {QStringLiteral("Virtual meter"),
                QStringLiteral("The readings come from SolarDesk's virtual meter (--simulate), "
                               "not from a real meter."),
                StatusTone::Warning};
      }
      return {QStringLiteral("Meter connected"), QString(), StatusTone::Normal};
    case Presence::NotPermitted:
      return {QStringLiteral("Meter not permitted"), kAccessDeniedTip, StatusTone::Alarm};
    case Presence::NotAnswering:
      return {QStringLiteral("Meter not answering"),
              QStringLiteral("The meter is plugged in but gave no answer within %1 seconds.\n")
                      .arg(cmd::kReadTimeoutMs / 1000) +
                  kFrozenReading,
              StatusTone::Alarm};
    case Presence::NotFound:
      break;
  }
  return {QStringLiteral("Meter not found"),
          QStringLiteral("No meter with the set vendor and product IDs is plugged in; it is "
                         "searched for ten times a second.\n") +
              kFrozenReading,
          StatusTone::Alarm};
}

StatusPart RecordingStatusPart(const RecordingStatus& s, Presence presence) {
  if (s.unwritten > 0) {
    return {QStringLiteral("Not saved: %1").arg(Samples(QString::number(s.unwritten))),
            NotSavedToolTip(s.unwritten, s.unwrittenCause), StatusTone::Alarm};
  }
  if (s.paused) {
    return {QStringLiteral("Paused, %1 missed: press a key").arg(s.missedWhilePaused),
            QStringLiteral("Recording is paused: no samples are taken while the meter's timers "
                           "are held off (the set-up panel, a calibration).\nPress a key on the "
                           "meter picture to go on.\n%1 sample(s) missed.")
                .arg(s.missedWhilePaused),
            StatusTone::Warning};
  }
  if (!s.Recording() && !s.notice.isEmpty()) return {s.notice, s.notice, StatusTone::Warning};
  if (!s.Recording()) {
    return {QStringLiteral("Not recording"),
            QStringLiteral("Save records the readings to a file, List to the live list.")};
  }
  StatusPart part = Taking(s);
  if (!s.notice.isEmpty()) {
    part.tone = StatusTone::Warning;
    part.toolTip += QLatin1Char('\n') + s.notice + QLatin1Char('.');
  }
  if (presence != Presence::Connected) {
    part.tone = StatusTone::Warning;
    part.toolTip += QStringLiteral(
        "\nThe meter is not answering: the samples repeat its last "
        "reading.");
  }
  return part;
}

QString NotSavedToolTip(int unwritten, const QString& cause) {
  return QStringLiteral("The data file cannot be written: %1.\n%2 sample(s) not saved.")
      .arg(cause)
      .arg(unwritten);
}

}  // namespace solardesk
