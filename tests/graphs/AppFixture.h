#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "support/AppOnVirtualMeter.h"

namespace solardesk::testing {

// The program on a virtual meter with its main window's timers stopped: the tests run the ticks
// themselves.
class AppFixture : public ::testing::Test, public AppOnVirtualMeter {
 protected:
  AppFixture() { instrument().PauseTimers(); }
  ~AppFixture() override { Settle(); }

  // Shows `reading` on the meter in `unit` and lets one polling tick publish it.
  void MeterShows(const QString& reading, const QString& unit) {
    meter->SetFixedReading(reading);
    meter->unit = unit;
    panel().Timer1Tick();
  }

  // Lets windows closed with deletion go.
  static void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }

  QTemporaryDir dir;
};

}  // namespace solardesk::testing
