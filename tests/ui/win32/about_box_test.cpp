// The about entry in the main dialog's real system menu, the system commands
// that reach it through WM_SYSCOMMAND, and the box it opens.
#include "platform/window/resources.h"
#include "tests/support/named_rows.h"
#include "tests/ui/win32/main_dialog_fixture.h"
#include "ui/resource.h"
#include "ui/ui_resources.h"

namespace {

std::wstring MenuText(HMENU menu, int position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
  return text;
}

class AboutBoxTest : public MainDialogTest {
 protected:
  AboutBoxTest() { driver.boxTitle = L"About Orlimar"; }
  ~AboutBoxTest() override { RegisterStringResource(IDS_ABOUTBOX, "&About Orlimar..."); }
};

TEST_F(AboutBoxTest, EntryFollowsASeparatorAfterTheStandardItems) {
  Start();
  driver.Do([&] {
    HMENU menu = GetSystemMenu(Dialog(), FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 3);
    EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), IDM_ABOUTBOX);
    EXPECT_EQ(MenuText(menu, count - 1), L"&About Orlimar...");
    EndDialog(Dialog(), 7);
  });
  EXPECT_EQ(Finish(), 7);
}

TEST_F(AboutBoxTest, EmptyStringLeavesOutSeparatorAndEntry) {
  RegisterUiResources();
  RegisterStringResource(IDS_ABOUTBOX, "");
  Start();
  driver.Do([&] {
    HMENU menu = GetSystemMenu(Dialog(), FALSE);
    const int count = GetMenuItemCount(menu);
    EXPECT_EQ(GetMenuState(menu, IDM_ABOUTBOX, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_FALSE(GetMenuState(menu, static_cast<UINT>(count - 1), MF_BYPOSITION) & MF_SEPARATOR);
    EndDialog(Dialog(), 7);
  });
  EXPECT_EQ(Finish(), 7);
}

TEST_F(AboutBoxTest, TheBoxIsModalOverTheDialogAndEnterClosesIt) {
  driver.boxTitle = L"none";  // this test closes the box itself
  Start();
  HWND box = nullptr;
  driver.Do([&] { SendMessageW(Dialog(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0); });
  driver.WaitFor([&] {
    for (HWND d : ThreadDialogs()) {
      if (WindowText(d) == L"About Orlimar") box = d;
    }
    return box != nullptr;
  });
  driver.Do([&] {
    EXPECT_EQ(GetWindow(box, GW_OWNER), Dialog());
    EXPECT_FALSE(IsWindowEnabled(Dialog()));
    EXPECT_EQ(LOWORD(SendMessageW(box, DM_GETDEFID, 0, 0)), IDOK);
    EXPECT_EQ(GetFocus(), GetDlgItem(box, IDOK));
    std::vector<std::wstring> texts;
    HICON icon = nullptr;
    for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
      if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ClassOf(c) == L"Static") {
        icon = reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0));
      } else {
        texts.push_back(WindowText(c));
      }
    }
    EXPECT_NE(icon, nullptr);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], L"Orlimar    Version 1.00.002");
    EXPECT_EQ(texts[2], L"OK");
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
  });
  driver.WaitFor([&] { return !IsWindow(box); });
  driver.Do([&] {
    EXPECT_TRUE(IsWindowEnabled(Dialog()));
    EndDialog(Dialog(), 7);
  });
  EXPECT_EQ(Finish(), 7);
}

struct SystemCommand {
  std::string name;
  UINT id;
  bool opensBox;
  bool endsDialog;
};
using named_rows::PrintTo;

std::vector<SystemCommand> AllSystemCommands() {
  std::vector<SystemCommand> rows;
  for (UINT low = 0; low < 16; ++low) {
    rows.push_back({"About" + std::to_string(low), IDM_ABOUTBOX + low, true, false});
  }
  rows.push_back({"Unknown0000", 0x0000, false, false});
  rows.push_back({"Unknown0020", 0x0020, false, false});
  rows.push_back({"Close", SC_CLOSE, false, true});
  rows.push_back({"CloseLowBits", SC_CLOSE + 0xF, false, true});
  return rows;
}

class SystemCommands : public AboutBoxTest, public ::testing::WithParamInterface<SystemCommand> {};

TEST_P(SystemCommands, ReachTheAboutBoxOrTheDefaultHandling) {
  const SystemCommand& row = GetParam();
  Start();
  // Returns once the box it opened has been answered.
  driver.Do([&] { SendMessageW(Dialog(), WM_SYSCOMMAND, row.id, 0); });
  if (!row.endsDialog) driver.Do([&] { EndDialog(Dialog(), 7); });
  EXPECT_EQ(Finish(), row.endsDialog ? IDCANCEL : 7);
  ASSERT_EQ(driver.boxes.size(), row.opensBox ? 1u : 0u);
  if (row.opensBox) {
    EXPECT_EQ(driver.boxes[0].text, L"Orlimar    Version 1.00.002");
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, SystemCommands, ::testing::ValuesIn(AllSystemCommands()),
                         named_rows::RowName<SystemCommand>);

}  // namespace
