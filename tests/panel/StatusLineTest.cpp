// The status line below the meter picture: what it says of the meter and of the recording, and
// the main window keeping it true through connect, unplug, refusal, silence, recording and pause.
#include "panel/logic/StatusLine.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "recording/ui/RecordingWindows.h"
#include "support/AppOnVirtualMeter.h"

namespace solardesk {
namespace {

using Presence = MeterLink::Presence;

TEST(StatusLine, MeterPartNamesEveryPresence) {
  const struct {
    Presence presence;
    const char* text;
    StatusTone tone;
    const char* tipHas;  // empty: no tool tip
  } cases[] = {
      {Presence::Connected, "Meter connected", StatusTone::Normal, ""},
      {Presence::NotFound, "Meter not found", StatusTone::Alarm, "last reading"},
      {Presence::NotPermitted, "Meter not permitted", StatusTone::Alarm,
       "70-solardesk-meter.rules"},
      {Presence::NotAnswering, "Meter not answering", StatusTone::Alarm, "within 2 seconds"},
  };
  for (const auto& c : cases) {
    const StatusPart part = MeterStatusPart(c.presence);
    EXPECT_EQ(part.text.toStdString(), c.text);
    EXPECT_EQ(part.tone, c.tone) << c.text;
    if (*c.tipHas == 0) {
      EXPECT_TRUE(part.toolTip.isEmpty()) << c.text;
    } else {
      EXPECT_TRUE(part.toolTip.contains(QLatin1String(c.tipHas))) << c.text;
    }
  }
}

TEST(StatusLine, RecordingPartPutsLostSamplesBeforePauseBeforeProgress) {
  const QDateTime at(QDate(2026, 12, 4), QTime(9, 30, 5));
  RecordingStatus file;
  file.filePath = QStringLiteral("/data/site.pvd");
  file.fileCount = QStringLiteral("12");
  file.lastSample = at;
  RecordingStatus one = file;
  one.fileCount = QStringLiteral("1");
  RecordingStatus list;
  list.listRecording = true;
  list.listCount = QStringLiteral("3");
  list.lastSample = at;
  RecordingStatus paused = file;
  paused.paused = true;
  paused.missedWhilePaused = 4;
  RecordingStatus failing = paused;
  failing.unwritten = 2;
  failing.unwrittenCause = QStringLiteral("Disk full");
  RecordingStatus started;
  started.filePath = file.filePath;

  const struct {
    const char* name;
    RecordingStatus status;
    Presence presence;
    const char* text;
    StatusTone tone;
    const char* tipHas;
  } cases[] = {
      {"idle", RecordingStatus(), Presence::NotFound, "Not recording", StatusTone::Normal, "Save"},
      {"started", started, Presence::Connected, "Rec 0 samples in site.pvd", StatusTone::Normal,
       "No sample taken yet"},
      {"file", file, Presence::Connected, "Rec 12 samples, 09:30:05 in site.pvd",
       StatusTone::Normal, "2026/12/04 09:30:05"},
      {"one", one, Presence::Connected, "Rec 1 sample, 09:30:05 in site.pvd", StatusTone::Normal,
       "/data/site.pvd"},
      {"list", list, Presence::Connected, "List 3 samples, 09:30:05", StatusTone::Normal,
       "live list"},
      {"stale", file, Presence::NotAnswering, "Rec 12 samples, 09:30:05 in site.pvd",
       StatusTone::Warning, "repeat its last reading"},
      {"paused", paused, Presence::Connected, "Paused, 4 missed: press a key", StatusTone::Warning,
       "4 sample(s) missed"},
      {"failing", failing, Presence::Connected, "Not saved: 2 samples", StatusTone::Alarm,
       "Disk full"},
  };
  for (const auto& c : cases) {
    const StatusPart part = RecordingStatusPart(c.status, c.presence);
    EXPECT_EQ(part.text.toStdString(), c.text) << c.name;
    EXPECT_EQ(part.tone, c.tone) << c.name;
    EXPECT_TRUE(part.toolTip.contains(QLatin1String(c.tipHas))) << c.name;
  }
}

// The whole program on the virtual meter, stepped through one session.
TEST(StatusLineWindow, FollowsTheMeterAndTheRecording) {
  testing::AppOnVirtualMeter a;
  a.clock.set(QDateTime(QDate(2026, 12, 4), QTime(9, 30, 0)));
  a.meter->SetFixedReading(QStringLiteral("98.76"));
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("site.pvd"));
  PanelWindow& panel = a.panel();
  RecordingWindows& recording = a.app.recording();
  const auto tick = [&] { panel.Timer1Tick(); };

  const struct {
    const char* name;
    std::function<void()> step;
    const char* meter;
    const char* recording;
    StatusTone recordingTone;
  } steps[] = {
      {"connect", tick, "Meter connected", "Not recording", StatusTone::Normal},
      {"unplug",
       [&] {
         a.port.present = false;
         tick();
       },
       "Meter not found", "Not recording", StatusTone::Normal},
      {"refused",
       [&] {
         a.port.present = true;
         a.port.accessDenied = true;
         tick();
       },
       "Meter not permitted", "Not recording", StatusTone::Normal},
      {"silent",
       [&] {
         a.port.accessDenied = false;
         a.port.silent = true;
         tick();
         tick();  // found again, and silent again
       },
       "Meter not answering", "Not recording", StatusTone::Normal},
      {"answers",
       [&] {
         a.port.silent = false;
         tick();
       },
       "Meter connected", "Not recording", StatusTone::Normal},
      {"save",
       [&] {
         a.dialogs.saveAnswers.push_back(path);
         panel.clickToolbar(QStringLiteral("Save"));
       },
       "Meter connected", "Rec 0 samples in site.pvd", StatusTone::Normal},
      {"sample",
       [&] {
         a.clock.advanceMs(1000);
         recording.ticker.Timeout();
       },
       "Meter connected", "Rec 1 sample, 09:30:01 in site.pvd", StatusTone::Normal},
      {"unplugged while recording",
       [&] {
         a.port.present = false;
         tick();
         a.clock.advanceMs(1000);
         recording.ticker.Timeout();
       },
       "Meter not found", "Rec 2 samples, 09:30:02 in site.pvd", StatusTone::Warning},
      {"paused",
       [&] {
         a.port.present = true;
         tick();
         a.app.setup().Choose(0);  // the reservation panel holds both timers off
         a.clock.advanceMs(3000);
         recording.WatchTimers();
       },
       "Meter connected", "Paused, 3 missed: press a key", StatusTone::Warning},
      {"resumed",
       [&] {
         a.instrument().PauseTimers();
         a.instrument().ResumeTimers();
         recording.WatchTimers();
       },
       "Meter connected", "Rec 2 samples, 09:30:02 in site.pvd", StatusTone::Normal},
      {"stop", [&] { panel.clickToolbar(QStringLiteral("Save")); }, "Meter connected",
       "Not recording", StatusTone::Normal},
  };
  for (const auto& s : steps) {
    s.step();
    EXPECT_EQ(panel.LblStatusMeter->text().toStdString(), s.meter) << s.name;
    EXPECT_EQ(panel.LblStatusRecording->text().toStdString(), s.recording) << s.name;
    EXPECT_EQ(panel.LblStatusRecording->property("tone").toInt(), static_cast<int>(s.recordingTone))
        << s.name;
    EXPECT_EQ(panel.face->nameToolTip(), panel.LblStatusMeter->toolTip()) << s.name;
    for (const QLabel* l : {panel.LblStatusMeter, panel.LblStatusRecording})
      EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << s.name;
  }
  // A name too long for the line loses its end, never the count or the time.
  a.dialogs.saveAnswers.push_back(dir.filePath(QString(60, QLatin1Char('n')) + ".pvd"));
  panel.clickToolbar(QStringLiteral("Save"));
  a.clock.advanceMs(1000);
  recording.ticker.Timeout();
  const QLabel* line = panel.LblStatusRecording;
  EXPECT_TRUE(line->text().startsWith(QStringLiteral("Rec 1 sample, 09:30:")))
      << line->text().toStdString();
  EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width());
}

}  // namespace
}  // namespace solardesk
