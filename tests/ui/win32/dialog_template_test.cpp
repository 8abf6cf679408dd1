// What the system's dialog manager made of the in-memory templates: every
// control with its class, id, style, rectangle and text, the frame, the font.
#include <cstring>

#include "platform/window/dialog_template.h"
#include "tests/ui/win32/main_dialog_fixture.h"
#include "ui/about_dialog.h"
#include "ui/about_template.h"
#include "ui/main_dialog_template.h"

namespace {

std::wstring ExpectedClass(const char* cls) {
  if (std::strcmp(cls, "EDIT") == 0) return L"Edit";
  if (std::strcmp(cls, "BUTTON") == 0) return L"Button";
  return L"Static";
}

std::wstring Widen(const char* text) {
  std::wstring wide;
  for (const char* p = text; *p != '\0'; ++p) wide += static_cast<wchar_t>(*p);
  return wide;
}

// Compares the dialog's children, in z-order, with the template's rows.
void ExpectBuiltAsTemplate(HWND dialog, const DialogTemplate& tmpl) {
  EXPECT_EQ(WindowText(dialog), Widen(tmpl.caption));
  // The system adds the 3-D look to every dialog.
  EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongW(dialog, GWL_STYLE)) & ~WS_DISABLED,
            tmpl.style | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK);
  EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongW(dialog, GWL_EXSTYLE)) & tmpl.exStyle,
            tmpl.exStyle);
  RECT client{};
  GetClientRect(dialog, &client);
  RECT units{0, 0, tmpl.cx, tmpl.cy};
  MapDialogRect(dialog, &units);
  EXPECT_EQ(client.right, units.right);
  EXPECT_EQ(client.bottom, units.bottom);

  // "MS Shell Dlg" with DS_FIXEDSYS is the shell's dialog font, 8 points.
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(std::wstring(font.lfFaceName), L"MS Shell Dlg");
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(font.lfHeight, -MulDiv(tmpl.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72));
  ReleaseDC(nullptr, screen);
  RECT base{0, 0, 4, 8};
  MapDialogRect(dialog, &base);
  EXPECT_EQ(base.right, 6) << "Tahoma's dialog base units";
  EXPECT_EQ(base.bottom, 13);

  HWND child = GetWindow(dialog, GW_CHILD);
  for (const DialogControl& c : tmpl.controls) {
    ASSERT_NE(child, nullptr);
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(ClassOf(child), ExpectedClass(c.cls));
    EXPECT_EQ(static_cast<int>(GetWindowLongPtrW(child, GWLP_ID)), c.id);
    // In a 3-D dialog an edit's border becomes the sunken client edge.
    std::uint32_t style = c.style;
    if (ExpectedClass(c.cls) == L"Edit" && (style & WS_BORDER)) {
      style &= ~WS_BORDER;
      EXPECT_TRUE(GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    }
    EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongW(child, GWL_STYLE)) & ~WS_DISABLED,
              style & ~WS_DISABLED);
    // Position and size are converted each on its own, as the dialog manager does.
    RECT r{c.x, c.y, c.cx, c.cy};
    MapDialogRect(dialog, &r);
    RECT actual{};
    GetWindowRect(child, &actual);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, r.left);
    EXPECT_EQ(actual.top, r.top);
    if ((c.style & SS_TYPEMASK) == SS_ICON && ExpectedClass(c.cls) == L"Static") {
      // With SS_REALSIZEIMAGE an icon static takes the size of one image of
      // its icon: Windows takes the first image, Wine the smallest.
      EXPECT_NE(SendMessageW(child, STM_GETICON, 0, 0), 0);
      const int side = actual.right - actual.left;
      EXPECT_EQ(actual.bottom - actual.top, side);
      EXPECT_TRUE(side == 16 || side == 32 || side == 48) << side;
    } else {
      EXPECT_EQ(actual.right - actual.left, r.right);
      EXPECT_EQ(actual.bottom - actual.top, r.bottom);
      EXPECT_EQ(WindowText(child), Widen(c.caption));
    }
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "no control beyond the template's";
}

TEST_F(MainDialogTest, MainDialogIsBuiltAsItsTemplate) {
  Start();
  driver.Do([&] {
    ExpectBuiltAsTemplate(Dialog(), kMainDialogTemplate);
    EndDialog(Dialog(), 7);
  });
  EXPECT_EQ(Finish(), 7);
}

TEST_F(MainDialogTest, AboutBoxIsBuiltAsItsTemplate) {
  CAboutDlg about;
  driver.WaitFor([&] { return about.GetSafeHwnd() != nullptr && IsWindowVisible(about.GetSafeHwnd()); });
  driver.Do([&] {
    ExpectBuiltAsTemplate(about.GetSafeHwnd(), kAboutBoxTemplate);
    EndDialog(about.GetSafeHwnd(), 7);
  });
  int result = 0;
  EXPECT_TRUE(driver.Run([&] { result = about.DoModal(); }));
  EXPECT_EQ(result, 7);
}

}  // namespace
