// The hive file against other processes: a writer killed at random moments
// always leaves a whole file, and two writers never lose each other's values.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "platform/registry/hive.h"
#include "tests/registry/temp_folder.h"

namespace {

namespace fs = std::filesystem;
constexpr const char* kApp = "HKEY_CURRENT_USER\\Software\\Quenwick Software\\Orlimar";

struct Child {
  pid_t pid = -1;
  int output = -1;  // the child's standard output
};

Child Start(std::vector<std::string> args) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  return {pid, pipeFds[0]};
}

// Waits for the first line of output; false when none came in time.
bool AwaitOutput(const Child& child) {
  pollfd fd{child.output, POLLIN, 0};
  return poll(&fd, 1, 10000) == 1;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t count;
  while ((count = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, count);
  close(fd);
  return text;
}

int Wait(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

// The last whole number the writer reported, or `previous` when none.
std::uint32_t LastReported(const std::string& output, std::uint32_t previous) {
  const std::size_t end = output.rfind('\n');
  if (end == std::string::npos) return previous;
  const std::size_t start = output.rfind('\n', end - 1);
  return std::stoul(output.substr(start == std::string::npos ? 0 : start + 1));
}

std::optional<Hive> ReadHive(const fs::path& file) { return ParseHive(ReadWholeFile(file)); }

class HiveProcessTest : public ::testing::Test {
 protected:
  TempFolder temp_;
  fs::path file_ = temp_.path() / "Quenwick Software" / "registry.reg";
};

TEST_F(HiveProcessTest, KilledWriterLeavesTheOldValueOrTheNew) {
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int> delayMicros(0, 10000);
  std::uint32_t stored = 0;
  for (int kill = 0; kill < 50; ++kill) {
    Child child = Start({REGISTRY_WRITER, "count", file_.string()});
    ASSERT_GT(child.pid, 0);
    ASSERT_TRUE(AwaitOutput(child)) << "the writer did not start";
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random)));
    ::kill(child.pid, SIGKILL);
    Wait(child.pid);
    const std::uint32_t reported = LastReported(ReadAll(child.output), stored);

    const std::optional<Hive> hive = ReadHive(file_);
    ASSERT_TRUE(hive) << "unreadable after kill " << kill;
    const HiveKey* key = FindKey(*hive, kApp);
    ASSERT_NE(key, nullptr);
    const HiveValue* value = FindValue(*key, "Counter");
    ASSERT_NE(value, nullptr);
    std::uint32_t n = 0;
    std::memcpy(&n, value->data.data(), 4);
    // The value whose rename the writer did not live to report counts as new.
    EXPECT_TRUE(n == reported || n == reported + 1) << n << " after " << reported;
    EXPECT_EQ(value->data.size(), 4u + 8192u);
    EXPECT_EQ(value->data.find_first_not_of(static_cast<char>(n & 0xff), 4), std::string::npos);
    stored = n;
  }
  EXPECT_GT(stored, 50u);
  for (const auto& entry : fs::directory_iterator(file_.parent_path()))
    EXPECT_EQ(entry.path().string().find(".corrupt"), std::string::npos) << entry.path();
}

TEST_F(HiveProcessTest, TwoWritersKeepEachOthersValues) {
  constexpr int kRounds = 25;
  std::vector<Child> children;
  for (const char* prefix : {"A", "B"})
    children.push_back(
        Start({REGISTRY_WRITER, "flip", file_.string(), prefix, std::to_string(kRounds)}));
  for (const Child& child : children) {
    ASSERT_GT(child.pid, 0);
    ReadAll(child.output);
    const int status = Wait(child.pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  const std::optional<Hive> hive = ReadHive(file_);
  ASSERT_TRUE(hive);
  const HiveKey* prefs = FindKey(*hive, std::string(kApp) + "\\Preferences");
  ASSERT_NE(prefs, nullptr);
  for (const char* prefix : {"A", "B"}) {
    for (int flag = 0; flag < 6; ++flag) {
      const std::string name = prefix + std::to_string(flag);
      const HiveValue* value = FindValue(*prefs, name);
      ASSERT_NE(value, nullptr) << name;
      const std::uint32_t expected = (kRounds - 1 + flag) % 2;
      EXPECT_EQ(value->data, std::string(reinterpret_cast<const char*>(&expected), 4)) << name;
    }
  }
}

}  // namespace
