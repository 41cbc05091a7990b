// The status line below the meter picture, kept true through connect, unplug, refusal, silence,
// recording and pause.
#include "panel/logic/StatusLine.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "recording/ui/RecordingWindows.h"
#include "support/AppOnVirtualMeter.h"

namespace solardesk {
namespace {

using Tone = StatusTone;

// What the program run below does not reach: lost samples go before a pause, the list alone.
TEST(StatusLine, RecordingPartOfLostSamplesAndOfTheListAlone) {
  const RecordingStatus lost{.paused = true, .unwritten = 2, .unwrittenCause = "Disk full"};
  EXPECT_EQ(RecordingStatusPart(lost, MeterLink::Presence::Connected),
            (StatusPart{"Not saved: 2 samples", NotSavedToolTip(2, "Disk full"), Tone::Alarm}));
  const RecordingStatus list{.listRecording = true, .listCount = "3"};
  EXPECT_EQ(RecordingStatusPart(list, MeterLink::Presence::Connected).text, "List 3 samples");
  // Made-up readings are never shown as a meter's.
  const StatusPart virtualMeter = MeterStatusPart(MeterLink::Presence::Connected, true);
  EXPECT_EQ(virtualMeter.text, "Virtual meter");
  EXPECT_EQ(virtualMeter.tone, Tone::Warning);
  EXPECT_EQ(MeterStatusPart(MeterLink::Presence::NotFound, true).text, "Meter not found");
}

TEST(StatusLineWindow, FollowsTheMeterAndTheRecording) {
  testing::AppOnVirtualMeter a;
  a.clock.set(QDateTime(QDate(2026, 12, 4), QTime(9, 30, 0)));
  a.meter->SetFixedReading(QStringLiteral("98.76"));
  QTemporaryDir dir;
  PanelWindow& panel = a.panel();
  RecordingWindows& recording = a.app.recording();
  const auto plug = [&](bool present, bool refused, bool silent) {
    a.port.present = present;
    a.port.accessDenied = refused;
    a.port.silent = silent;
    panel.Timer1Tick();
  };
  const auto sample = [&] {
    a.clock.advanceMs(1000);
    recording.ticker.Timeout();
  };
  const auto save = [&](const QString& name) {
    a.dialogs.saveAnswers.push_back(dir.filePath(name));
    panel.clickToolbar(QStringLiteral("Save"));
  };
  const auto pause = [&](bool on) {
    if (on) {
      a.app.setup().Choose(0);  // the reservation panel holds both timers off
      a.clock.advanceMs(3000);
    } else {
      a.instrument().PauseTimers();  // a key's own pause and resume bring them back
      a.instrument().ResumeTimers();
    }
    recording.WatchTimers();
  };
  const struct {
    std::function<void()> step;
    Tone tone;  // of the recording part
    const char* line;
    const char* meterTipHas;  // empty: no tip
  } steps[] = {
      {[&] { plug(1, 0, 0); }, Tone::Normal, "Meter connected | Not recording", ""},
      {[&] { plug(0, 0, 0); }, Tone::Normal, "Meter not found | Not recording", "last reading"},
      {[&] { plug(1, 1, 0); }, Tone::Normal, "Meter not permitted | Not recording", "udev"},
      {[&] { plug(1, 0, 1); }, Tone::Normal, "Meter not answering | Not recording", "2 seconds"},
      {[&] { plug(1, 0, 0); }, Tone::Normal, "Meter connected | Not recording", ""},
      {[&] { save("site.pvd"); }, Tone::Normal, "Meter connected | Rec 0 samples in site.pvd", ""},
      {sample, Tone::Normal, "Meter connected | Rec 1 sample, 09:30:01 in site.pvd", ""},
      {[&] { plug(0, 0, 0), sample(); }, Tone::Warning,
       "Meter not found | Rec 2 samples, 09:30:02 in site.pvd", "last reading"},
      {[&] { plug(1, 0, 0), pause(true); }, Tone::Warning,
       "Meter connected | Paused, 3 missed: press a key", ""},
      {[&] { pause(false); }, Tone::Normal, "Meter connected | Rec 2 samples, 09:30:02 in site.pvd",
       ""},
      {[&] { panel.clickToolbar(QStringLiteral("Save")); }, Tone::Normal,
       "Meter connected | Not recording", ""},
  };
  for (const auto& s : steps) {
    s.step();
    const QString shown = panel.LblStatusMeter->text() + " | " + panel.LblStatusRecording->text();
    EXPECT_EQ(shown.toStdString(), s.line);
    EXPECT_EQ(panel.LblStatusRecording->property("tone").toInt(), static_cast<int>(s.tone))
        << s.line;
    // A meter that is not connected is an alarm.
    const Tone meterTone =
        QString(s.line).startsWith("Meter connected") ? Tone::Normal : Tone::Alarm;
    EXPECT_EQ(panel.LblStatusMeter->property("tone").toInt(), static_cast<int>(meterTone))
        << s.line;
    const QString tip = panel.face->nameToolTip();
    EXPECT_TRUE(*s.meterTipHas ? tip.contains(QLatin1String(s.meterTipHas)) : tip.isEmpty())
        << s.line;
    EXPECT_EQ(panel.face->nameToolTip(), panel.LblStatusMeter->toolTip()) << s.line;
  }
  // A name too long for the line loses its end, never the count or the time.
  save(QString(60, QLatin1Char('n')) + ".pvd");
  sample();
  const QLabel* line = panel.LblStatusRecording;
  EXPECT_TRUE(line->text().startsWith(QStringLiteral("Rec 1 sample, 09:30:06 in nnn")));
  EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width());
  EXPECT_EQ(line->geometry().united(panel.LblStatusMeter->geometry()), QRect(0, 642, 367, 20));
}

}  // namespace
}  // namespace solardesk
