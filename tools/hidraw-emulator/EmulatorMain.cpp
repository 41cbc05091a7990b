// solardesk-hidraw-emulator: runs a program with the virtual meter plugged in as a real USB HID
// device would be, so that the program's hidapi back end finds it through libudev and talks to
// it through /dev/hidraw0. Everything happens in a private mount namespace: nothing is seen
// outside, and it all goes when the program ends. Needs root.
//
//   solardesk-hidraw-emulator [--scenario FILE.json] [--mode OCTAL] -- PROGRAM [ARGUMENTS...]
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "EmulatedHidDevice.h"
#include "PrivateMounts.h"
#include "core/Clock.h"
#include "sim/Scenario.h"

using namespace solardesk;

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: solardesk-hidraw-emulator [--scenario FILE.json] [--mode OCTAL] -- "
               "PROGRAM [ARGUMENTS...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QString scenarioPath;
  mode_t mode = 0666;  // as the packaged udev rule makes the meter's node
  int i = 1;
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--") break;
    if (a == "--scenario" && i + 1 < argc) {
      scenarioPath = QString::fromLocal8Bit(argv[++i]);
    } else if (a == "--mode" && i + 1 < argc) {
      mode = static_cast<mode_t>(std::strtoul(argv[++i], nullptr, 8));
    } else {
      return Usage();
    }
  }
  if (i + 1 >= argc) return Usage();
  char** program = argv + i + 1;

  // The mount namespace is made before any thread starts.
  const std::string why = hidraw::EnterPrivateDeviceTree();
  if (!why.empty()) {
    std::fprintf(stderr, "solardesk-hidraw-emulator: %s\n", why.c_str());
    return 1;
  }
  QCoreApplication app(argc, argv);
  SystemClock clock;
  auto scenario = scenarioPath.isEmpty() ? sim::LoadScenario("{}", clock)
                                         : sim::LoadScenarioFile(scenarioPath, clock);
  if (!scenario.error.isEmpty()) {
    std::fprintf(stderr, "solardesk-hidraw-emulator: %s\n", qPrintable(scenario.error));
    return 1;
  }
  const sim::VirtualPort& port = scenario.bus->port(0);
  hidraw::EmulatedDeviceSpec spec;
  spec.vendorId = port.vendorId;
  spec.productId = port.productId;
  spec.reportDescriptor =
      hidraw::MeterReportDescriptor(port.inputReportLength - 1, port.outputReportLength - 1);
  spec.mode = mode;
  hidraw::EmulatedHidDevice device(spec,
                                   hidraw::MeterBehindNode(scenario.meter, spec.reportDescriptor));
  const std::string error = device.Plug();
  if (!error.empty()) {
    std::fprintf(stderr, "solardesk-hidraw-emulator: %s\n", error.c_str());
    return 1;
  }
  device.node().SetSilent(port.silent);
  if (!port.present) device.Unplug();

  // The program needs the library that lets libudev read the emulated /sys.
  std::string preload = SOLARDESK_SYSFS_SHIM;
  if (const char* old = std::getenv("LD_PRELOAD"); old && *old) preload += std::string(":") + old;
  const pid_t child = ::fork();
  if (child == 0) {
    ::setenv("LD_PRELOAD", preload.c_str(), 1);
    ::execvp(program[0], program);
    std::perror(program[0]);
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
