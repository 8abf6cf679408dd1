// ShellExecuteW's "open" under Wine reaches the browser of the prefix's
// WineBrowser setting, here a fake that records its arguments (never the
// machine's real xdg-open); the call does not wait for it.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/interfaces/platform_factories.h"

namespace {

using namespace std::chrono_literals;

// The fake's Linux path, as winebrowser starts it; it writes PATH.log.
constexpr const char* kFakeBrowser = ORLIMAR_FAKE_BROWSER;

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The same file as this program sees it: the Linux root is drive Z:.
std::string WindowsPath(const std::string& linuxPath) { return "Z:" + linuxPath; }

class ShellExecuteTest : public testing::Test {
 protected:
  void SetUp() override {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring browsers = Wide(kFakeBrowser);
    ASSERT_EQ(RegSetValueExW(key, L"Browsers", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(browsers.c_str()),
                             static_cast<DWORD>((browsers.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
    log_ = std::string(kFakeBrowser) + ".log";
    DeleteFileA(WindowsPath(log_).c_str());
  }

  std::string WaitForLog() {
    for (auto waited = 0ms; waited < 20s; waited += 50ms) {
      std::ifstream file(WindowsPath(log_), std::ios::binary);
      if (file) {
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
      }
      std::this_thread::sleep_for(50ms);
    }
    return "(never started)";
  }

  std::string log_;
};

TEST_F(ShellExecuteTest, TheAddressReachesTheBrowserAsItsOneArgument) {
  const std::string address =
      "https://forecast.weather.gov/MapClick.php?w0=t&w3=sfcwind&AheadHour=0"
      "&FcstType=graphical&textField1=38.5816&textField2=-121.4944&site=all";
  const auto started = std::chrono::steady_clock::now();
  MakeShellOpener()->Open(address);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
  EXPECT_EQ(WaitForLog(), address + "\n");
}

}  // namespace
