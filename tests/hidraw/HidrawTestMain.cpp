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
  if (argc == 3 && std::string(argv[1]) == solardesk::testing::kReadUntilKilled)
    return solardesk::testing::ReadUntilKilled(argv[2]);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
