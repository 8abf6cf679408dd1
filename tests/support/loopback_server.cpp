// Spawns the loopback server script and speaks its line protocol over pipes.
#include "tests/support/loopback_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace orlimar::test {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kStartLimit = std::chrono::seconds(10);
constexpr auto kReplyLimit = std::chrono::seconds(5);
constexpr auto kStopLimit = std::chrono::seconds(3);

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error("loopback server: " + what);
}

pid_t Spawn(const std::vector<std::string>& args, posix_spawn_file_actions_t* actions) {
  std::vector<char*> argv;
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (int error = posix_spawn(&pid, argv[0], actions, nullptr, argv.data(), environ)) {
    Fail("cannot start " + args[0] + ": " + std::strerror(error));
  }
  return pid;
}

// Waits for the child; kills it when it outlives `limit`. Gives its exit status.
int Reap(pid_t pid, std::chrono::milliseconds limit) {
  auto deadline = Clock::now() + limit;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The folder holding the certificates and route files; removed when the process ends.
class WorkFolder {
 public:
  WorkFolder() {
    std::string templ = (std::filesystem::temp_directory_path() / "orlimar-loopback-XXXXXX");
    if (!mkdtemp(templ.data())) Fail("cannot make a temporary folder");
    path_ = templ;
    pid_t pid = Spawn({ORLIMAR_PYTHON, ORLIMAR_LOOPBACK_SCRIPT, "make-certs", path_}, nullptr);
    if (Reap(pid, std::chrono::seconds(30)) != 0) Fail("making the test certificates failed");
  }
  ~WorkFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const WorkFolder& Work() {
  static const WorkFolder folder;
  return folder;
}

long Field(const std::string& stats, const std::string& name) {
  auto at = stats.find(name + "=");
  return at == std::string::npos ? 0 : std::atol(stats.c_str() + at + name.size() + 1);
}

}  // namespace

std::string LoopbackRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (key.size() == name.size() && strncasecmp(key.data(), name.data(), name.size()) == 0) {
      return value;
    }
  }
  return {};
}

LoopbackServer::LoopbackServer(LoopbackOptions options) : plain_(options.plain) {
  signal(SIGPIPE, SIG_IGN);  // a server that died must fail the test, not kill it
  static int serial = 0;
  routes_path_ = Work().path() + "/routes-" + std::to_string(getpid()) + "-" +
                 std::to_string(++serial) + ".json";
  std::ofstream(routes_path_, std::ios::binary) << options.routes_json;

  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) Fail("cannot make pipes");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  std::vector<std::string> args = {
      ORLIMAR_PYTHON, ORLIMAR_LOOPBACK_SCRIPT, "serve",  "--control", "--routes", routes_path_,
      "--certs",      Work().path(),           "--leaf", options.leaf};
  if (options.plain) args.push_back("--plain");
  if (options.stall_handshake) args.push_back("--stall-handshake");
  try {
    pid_ = Spawn(args, &actions);
  } catch (...) {
    posix_spawn_file_actions_destroy(&actions);
    for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
    throw;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  to_server_ = in[1];
  from_server_ = out[0];

  auto deadline = Clock::now() + kStartLimit;
  std::string line;
  while (line.rfind("listening ", 0) != 0) {
    if (Clock::now() > deadline) Fail("did not start listening");
    line = ReadLine();
  }
  port_ = std::atoi(line.c_str() + 10);
}

LoopbackServer::~LoopbackServer() {
  if (to_server_ >= 0) close(to_server_);  // end of input: the server exits
  if (pid_ > 0) Reap(pid_, kStopLimit);
  if (from_server_ >= 0) close(from_server_);
  std::error_code ignored;
  std::filesystem::remove(routes_path_, ignored);
}

std::string LoopbackServer::BaseUrl() const {
  return std::string(plain_ ? "http" : "https") + "://127.0.0.1:" + std::to_string(port_);
}

std::string LoopbackServer::ReadLine() {
  auto deadline = Clock::now() + kReplyLimit;
  for (;;) {
    if (auto end = pending_.find('\n'); end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) Fail("no answer in time");
    pollfd poller{from_server_, POLLIN, 0};
    int ready = poll(&poller, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    char chunk[4096];
    ssize_t got = read(from_server_, chunk, sizeof chunk);
    if (got <= 0) Fail("the server went away");
    pending_.append(chunk, static_cast<size_t>(got));
  }
}

std::string LoopbackServer::Command(const std::string& line, bool until_end) {
  std::string text = line + "\n";
  if (write(to_server_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    Fail("cannot send a command");
  }
  std::string reply = ReadLine();
  if (!until_end) return reply;
  for (std::string next; reply.size() < 3 || reply.substr(reply.size() - 3) != "end";) {
    next = ReadLine();
    reply += "\n" + next;
  }
  return reply;
}

LoopbackCounters LoopbackServer::Counters() {
  std::string stats = Command("stats");
  return {Field(stats, "connections"),        Field(stats, "handshakes"),
          Field(stats, "handshake_failures"), Field(stats, "requests"),
          Field(stats, "bytes_sent"),         Field(stats, "client_gone")};
}

std::vector<LoopbackRequest> LoopbackServer::Requests() {
  std::istringstream reply(Command("requests", true));
  std::vector<LoopbackRequest> requests;
  for (std::string line; std::getline(reply, line);) {
    if (line.rfind("request ", 0) == 0) {
      auto space = line.find(' ', 8);
      requests.push_back({line.substr(8, space - 8), line.substr(space + 1), {}});
    } else if (line.rfind("header ", 0) == 0 && !requests.empty()) {
      auto colon = line.find(": ", 7);
      requests.back().headers.emplace_back(line.substr(7, colon - 7), line.substr(colon + 2));
    }
  }
  return requests;
}

void LoopbackServer::Release(const std::string& name) { Command("release " + name); }

bool LoopbackServer::WaitFor(const std::function<bool(const LoopbackCounters&)>& done,
                             std::chrono::milliseconds limit) {
  auto deadline = Clock::now() + limit;
  while (!done(Counters())) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

const std::string& LoopbackServer::CaBundle() {
  static const std::string path = Work().path() + "/ca.pem";
  return path;
}

std::string LoopbackServer::JsonString(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace orlimar::test
