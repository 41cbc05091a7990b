#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <memory>

#include "app/SolarDeskApp.h"
#include "core/Clock.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualMeter.h"
#include "support/ScriptedDialogs.h"

namespace solardesk::testing {

// The program on the virtual bus with one meter, a clock that stands still and scripted
// dialogs. The main window's timers are stopped: the tests run the ticks themselves.
class AppFixture : public ::testing::Test {
 protected:
  AppFixture() {
    meter = std::make_shared<sim::VirtualMeter>(clock);
    bus.AddPort(meter);
    app = std::make_unique<SolarDeskApp>(bus, clock, dialogs);
    app->instrument().PauseTimers();
  }
  ~AppFixture() override {
    app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // Shows `reading` on the meter in `unit` and lets one polling tick publish it.
  void MeterShows(const QString& reading, const QString& unit) {
    meter->SetFixedReading(reading);
    meter->unit = unit;
    app->panel().Timer1Tick();
  }

  // Lets windows closed with deletion go.
  static void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }

  ManualClock clock;
  sim::VirtualHidBackend bus;
  std::shared_ptr<sim::VirtualMeter> meter;
  ScriptedDialogs dialogs;
  std::unique_ptr<SolarDeskApp> app;
  QTemporaryDir dir;
};

}  // namespace solardesk::testing
