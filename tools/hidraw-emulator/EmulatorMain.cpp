// solardesk-hidraw-emulator: runs a program with the virtual meter plugged in as a real USB HID
// device would be, so that the program's hidapi back end finds it through libudev and talks to
// it through /dev/hidraw0. Everything happens in a private mount namespace: nothing is seen
// outside, and it all goes when the program ends. Needs root.
//
// The scenario's timeline is played as the program runs: the meter is unplugged and plugged in
// again, falls silent or changes its unit at the times the steps give. Ending the emulator
// (SIGTERM, SIGINT, SIGHUP) ends the program with the same signal first; if the emulator is
// killed outright, the program gets SIGTERM.
//
//   solardesk-hidraw-emulator [--scenario FILE.json] [--mode OCTAL] -- PROGRAM [ARGUMENTS...]
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QString>
#include <chrono>
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

// Plays the scenario's timeline on the emulated device: the steps whose time has come change
// the meter (while it handles no report) and its port; the node follows the port.
class TimelinePlayer {
 public:
  TimelinePlayer(sim::VirtualHidBackend& bus, hidraw::EmulatedHidDevice& device)
      : bus_(bus), port_(bus.port(0)), device_(device) {}

  void Play() {
    if (bus_.beforeEachOperation) device_.node().ChangeDevice(bus_.beforeEachOperation);
    if (port_.present != plugged_) {
      plugged_ = port_.present;
      if (!plugged_) {
        device_.Unplug();
      } else if (const std::string error = device_.Plug(); !error.empty()) {
        std::fprintf(stderr, "solardesk-hidraw-emulator: %s\n", error.c_str());
      }
    }
    device_.node().SetSilent(port_.silent);
  }

 private:
  sim::VirtualHidBackend& bus_;
  const sim::VirtualPort& port_;
  hidraw::EmulatedHidDevice& device_;
  bool plugged_ = true;
};

int ExitStatus(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Passes `signal` on to the program and waits for it to end; one that does not within five
// seconds is killed.
int EndProgram(pid_t child, int signal) {
  ::kill(child, signal);
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      break;
    }
    ::usleep(10000);
  }
  return 128 + signal;
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

  // The mount namespace is made before any thread starts, and so is the signal mask: the
  // signals that end the emulator are taken in the loop below, in no other thread.
  const std::string why = hidraw::EnterPrivateDeviceTree();
  if (!why.empty()) {
    std::fprintf(stderr, "solardesk-hidraw-emulator: %s\n", why.c_str());
    return 1;
  }
  sigset_t taken;
  sigset_t programMask;
  sigemptyset(&taken);
  for (int s : {SIGTERM, SIGINT, SIGHUP, SIGCHLD}) sigaddset(&taken, s);
  ::pthread_sigmask(SIG_BLOCK, &taken, &programMask);

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
  TimelinePlayer timeline(*scenario.bus, device);
  timeline.Play();

  // The program needs the library that lets libudev read the emulated /sys.
  std::string preload = SOLARDESK_SYSFS_SHIM;
  if (const char* old = std::getenv("LD_PRELOAD"); old && *old) preload += std::string(":") + old;
  ::setenv("LD_PRELOAD", preload.c_str(), 1);
  const pid_t emulator = ::getpid();
  const pid_t child = ::fork();
  if (child == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != emulator) ::_exit(128 + SIGTERM);  // the emulator is gone already
    ::pthread_sigmask(SIG_SETMASK, &programMask, nullptr);
    ::execvp(program[0], program);
    std::perror(program[0]);
    ::_exit(127);
  }

  const timespec tick{0, 20 * 1000 * 1000};  // how often the timeline is looked at
  for (;;) {
    const int signal = ::sigtimedwait(&taken, nullptr, &tick);
    if (signal == SIGTERM || signal == SIGINT || signal == SIGHUP) return EndProgram(child, signal);
    int status = 0;
    if (::waitpid(child, &status, WNOHANG) == child) return ExitStatus(status);
    timeline.Play();
  }
}
