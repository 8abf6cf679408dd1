// xdg-open gets the address as its one argument with no shell between, the
// call does not wait for it, it leaves no zombie, and a missing program is
// one line on standard error.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/interfaces/platform_factories.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class XdgOpen : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orlimar-xdg-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    const char* path = std::getenv("PATH");
    oldPath_ = path != nullptr ? path : "";
  }
  void TearDown() override {
    setenv("PATH", oldPath_.c_str(), 1);
    fs::remove_all(dir_);
  }

  // A stand-in xdg-open that records its arguments, one a line, then lingers.
  void InstallFakeXdgOpen(const std::string& lingerSeconds) {
    const fs::path script = dir_ / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > "
                          << (dir_ / "args.tmp") << "\nmv " << (dir_ / "args.tmp") << " "
                          << (dir_ / "args") << "\nsleep " << lingerSeconds << "\n";
    fs::permissions(script, fs::perms::owner_all);
    setenv("PATH", (dir_.string() + ":/usr/bin:/bin").c_str(), 1);
  }

  std::string WaitForArgs() {
    for (auto waited = 0ms; waited < 10s; waited += 20ms) {
      if (fs::exists(dir_ / "args")) {
        std::stringstream text;
        text << std::ifstream(dir_ / "args").rdbuf();
        return text.str();
      }
      std::this_thread::sleep_for(20ms);
    }
    return "(never started)";
  }

  struct Children {
    int living = 0;
    int zombies = 0;  // ended and not reaped
  };
  static Children CountChildren() {
    Children count;
    DIR* proc = opendir("/proc");
    while (dirent* entry = readdir(proc)) {
      std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
      std::string line;
      if (!std::getline(stat, line)) continue;
      std::istringstream fields(line.substr(line.rfind(')') + 2));
      char state = 0;
      int ppid = 0;
      fields >> state >> ppid;
      if (ppid != getpid()) continue;
      (state == 'Z' ? count.zombies : count.living)++;
    }
    closedir(proc);
    return count;
  }

  fs::path dir_;
  std::string oldPath_;
};

TEST_F(XdgOpen, AddressIsOneArgumentUntouchedByAnyShell) {
  InstallFakeXdgOpen("0");
  const fs::path marker = dir_ / "pwned";
  const std::string address =
      "http://h/MapClick.php?w0=t&a=$(touch " + marker.string() + ")&b=`id` c;d|e 'f\" *";
  MakeShellOpener()->Open(address);
  EXPECT_EQ(WaitForArgs(), address + "\n");
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(XdgOpen, ReturnsAtOnceAndLeavesNoZombie) {
  InstallFakeXdgOpen("1");
  const auto start = std::chrono::steady_clock::now();
  MakeShellOpener()->Open("http://example.invalid/");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
  WaitForArgs();
  // Only a child that has ended can be left unreaped: wait for its end first.
  Children children = CountChildren();
  for (auto waited = 0ms; waited < 10s && children.living != 0; waited += 20ms) {
    std::this_thread::sleep_for(20ms);
    children = CountChildren();
  }
  ASSERT_EQ(children.living, 0) << "the stand-in never ended";
  for (auto waited = 0ms; waited < 2s && children.zombies != 0; waited += 20ms) {
    std::this_thread::sleep_for(20ms);
    children = CountChildren();
  }
  EXPECT_EQ(children.zombies, 0);
}

TEST_F(XdgOpen, MissingProgramIsOneLineOnStandardError) {
  setenv("PATH", dir_.c_str(), 1);
  testing::internal::CaptureStderr();
  MakeShellOpener()->Open("http://example.invalid/");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("xdg-open"), std::string::npos);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

}  // namespace
