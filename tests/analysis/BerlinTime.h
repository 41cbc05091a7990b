#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <cstdlib>
#include <ctime>

namespace solardesk::testing {

// Runs a test under TZ=Europe/Berlin (+01:00, +02:00 from the last Sunday of March to the last
// Sunday of October) and puts the time zone back afterwards.
class BerlinTime : public ::testing::Test {
 protected:
  void SetUp() override {
    had_ = qEnvironmentVariableIsSet("TZ");
    saved_ = qgetenv("TZ");
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
  }
  void TearDown() override {
    if (had_) {
      setenv("TZ", saved_.constData(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  bool had_ = false;
  QByteArray saved_;
};

}  // namespace solardesk::testing
