// xdg-open started with posix_spawnp and reaped on a thread of its own, so
// the dialog never waits on the browser and no zombie stays behind.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/interfaces/platform_factories.h"

extern char** environ;

namespace {

// Starts "xdg-open ADDRESS" (found on PATH) with no shell between, without
// waiting for it; a failure to start writes one line to standard error.
class XdgOpenShell : public ShellOpener {
 public:
  void Open(const std::string& address) override;
};

}  // namespace

void XdgOpenShell::Open(const std::string& address) {
  std::string program = "xdg-open";
  std::string argument = address;
  char* argv[] = {program.data(), argument.data(), nullptr};

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // Its own process group: a Ctrl+C meant for this program spares the browser.
  posix_spawnattr_setpgroup(&attributes, 0);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);

  pid_t pid = 0;
  const int error = posix_spawnp(&pid, "xdg-open", nullptr, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) {
    std::fprintf(stderr, "orlimar: cannot start xdg-open: %s\n", std::strerror(error));
    return;
  }
  std::thread([pid] {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

std::unique_ptr<ShellOpener> MakeShellOpener() { return std::make_unique<XdgOpenShell>(); }
