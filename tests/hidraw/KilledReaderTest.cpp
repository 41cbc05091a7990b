// A process that serves an emulated hidraw node and reads from it in the same process is ended
// while it waits for an answer: it must be gone at once, not left waiting in the kernel for a
// server that went with it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <chrono>
#include <cstring>
#include <thread>

#include "EmulatedMeterTest.h"
#include "NodeKeeper.h"
#include "link/HidApiBackend.h"
#include "link/MeterLink.h"

namespace solardesk::testing {

int ReadUntilKilled(const std::string& how) {
  if (!EmulationUnavailable().empty()) return 2;
  ManualClock clock;
  hidraw::EmulatedDeviceSpec spec;
  hidraw::EmulatedHidDevice device(
      spec,
      hidraw::MeterBehindNode(std::make_shared<sim::VirtualMeter>(clock), spec.reportDescriptor));
  if (!device.Plug().empty()) return 2;
  device.node().SetSilent(true);
  std::thread([&device] {
    if (device.node().WaitForWaitingReader(30000)) {
      [[maybe_unused]] const auto n = ::write(STDOUT_FILENO, "waiting\n", 8);
    }
  }).detach();

  if (how == "read") {  // a plain blocking read(), the request parked in the server
    const int fd = ::open(device.path().c_str(), O_RDWR);
    const unsigned char query[65] = {0, cmd::kQuery, cmd::kQueryDisplay};
    if (fd < 0 || ::write(fd, query, sizeof query) < 0) return 2;
    unsigned char answer[65];
    for (;;) {
      [[maybe_unused]] const auto n = ::read(fd, answer, sizeof answer);
    }
  }
  // As the program reads: poll() with a time-out, then read().
  HidApiBackend backend;
  OutputSlots byteSlots;
  MeterLink link{backend, byteSlots};
  byteSlots.setCommand(cmd::kQuery, cmd::kQueryDisplay);
  for (;;) link.TransactReport();
}

namespace {

// A copy of this test program reading from its own emulated node.
struct Reader {
  pid_t pid = -1;
  int out = -1;  // its standard output

  explicit Reader(const char* how) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    const char* argv[] = {"/proc/self/exe", kReadUntilKilled, how, nullptr};
    pid = ::fork();
    if (pid == 0) {
      ::dup2(fds[1], STDOUT_FILENO);
      const rlimit noCore{0, 0};  // an abort() writes no core file
      ::setrlimit(RLIMIT_CORE, &noCore);
      ::execv(argv[0], const_cast<char**>(argv));
      ::_exit(127);
    }
    ::close(fds[1]);
    out = fds[0];
  }
  ~Reader() { ::close(out); }

  // Waits (at most `ms`) for a line on its standard output.
  std::string Line(int ms) const {
    pollfd p{out, POLLIN, 0};
    std::string line;
    char c = 0;
    while (::poll(&p, 1, ms) > 0 && ::read(out, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }

  // Waits (at most `ms`) for it to end; true when it has.
  bool Reaped(int ms, int* status) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
      if (::waitpid(pid, status, WNOHANG) == pid) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
  }

  // Frees a reader stuck in the kernel by aborting the FUSE connection of its node, so that a
  // failed run leaves no process behind that nothing can end.
  void AbortItsConnection() const {
    const long connection =
        hidraw::FuseConnectionAt("/dev/hidraw0", "/proc/" + std::to_string(pid) + "/mountinfo");
    QFile abort(QStringLiteral("/sys/fs/fuse/connections/%1/abort").arg(connection));
    if (connection >= 0 && abort.open(QIODevice::WriteOnly)) abort.write("1");
  }
};

class KilledReaderTest : public EmulatedMeterTest {};

TEST_F(KilledReaderTest, AReaderEndedWhileWaitingForAnAnswerIsGoneAtOnce) {
  // How it reads, the signal that ends it and how long after it began to wait.
  const std::tuple<const char*, int, int> cases[] = {
      {"link", SIGKILL, 300}, {"link", SIGKILL, 1000}, {"link", SIGABRT, 300},
      {"read", SIGKILL, 300}, {"read", SIGABRT, 1000},
  };
  for (const auto& [how, signal, afterMs] : cases) {
    SCOPED_TRACE(std::string(how) + ", " + ::strsignal(signal) + " after " +
                 std::to_string(afterMs) + " ms");
    Reader reader(how);
    ASSERT_GT(reader.pid, 0);
    ASSERT_EQ(reader.Line(30000), "waiting");
    std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
    ::kill(reader.pid, signal);
    int status = 0;
    // Ending a process takes milliseconds; a second tells that from waiting for good.
    const bool gone = reader.Reaped(1000, &status);
    EXPECT_TRUE(gone) << "still there, waiting in the kernel";
    if (!gone) {
      reader.AbortItsConnection();
      reader.Reaped(5000, &status);
    }
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
  }
}

}  // namespace
}  // namespace solardesk::testing
