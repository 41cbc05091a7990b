#include <gtest/gtest.h>

#include <QApplication>

#include "EmulatedMeterTest.h"
#include "PrivateMounts.h"

namespace solardesk::testing {
std::string& EmulationUnavailable() {
  static std::string why;
  return why;
}
}  // namespace solardesk::testing

// The private /sys and /dev are set up first: a mount namespace can only be entered while the
// process has a single thread.
int main(int argc, char** argv) {
  solardesk::testing::EmulationUnavailable() = solardesk::hidraw::EnterPrivateDeviceTree();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
