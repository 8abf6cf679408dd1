// Writes a picture of the main dialog after a look-up of "Pine Hollow" against
// canned replies, frame included, as a 24-bit BMP: the window's own device
// context copied into a bitmap, which works under Wine's null driver.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/window/win32/window_win.h"
#include "settings/settings_store.h"
#include "tests/support/canned_replies.h"
#include "tests/support/fake_http.h"
#include "tests/support/in_memory_profile_store.h"
#include "tests/ui/win32/main_dialog_fixture.h"
#include "ui/resource.h"

namespace {

bool WriteWindowBmp(HWND hwnd, const char* path) {
  RECT frame{};
  GetWindowRect(hwnd, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files store rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC window = GetWindowDC(hwnd);
  HDC memory = CreateCompatibleDC(window);
  HBITMAP bitmap = CreateDIBSection(window, reinterpret_cast<BITMAPINFO*>(&header),
                                    DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied = BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY) != 0;
  GdiFlush();
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  const std::size_t size = stride * static_cast<std::size_t>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + size);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(size));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(hwnd, window);
  return copied && out.good();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dialog_screenshot_win OUTPUT.bmp\n");
    return 2;
  }
  SetMessageBoxTitle("Orlimar");
  FakeHttpTextSource http;
  http.Serve(kGeocodePrefix, {.lines = FoundGeocodeReply()});
  http.Serve(kElevationPrefix, {.lines = ElevationReply("  <elevation>1608.6379395</elevation>")});
  RecordingShell shell;
  InMemoryProfileStore store;
  AppSettingsState settings;
  SetUpRegistry(store, settings);
  LoadPreferences(store);
  COrlimarDlg dialog(http, shell, store, settings);
  ModalDriver driver;
  bool written = false;
  driver.WaitFor([&] { return dialog.GetSafeHwnd() != nullptr && IsWindowVisible(dialog.GetSafeHwnd()); });
  driver.Do([&] {
    HWND hwnd = dialog.GetSafeHwnd();
    SetWindowTextW(GetDlgItem(hwnd, IDC_LOCATION), L"Pine Hollow");
    SendMessageW(GetDlgItem(hwnd, IDOK), BM_CLICK, 0, 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    written = WriteWindowBmp(hwnd, argv[1]);
    EndDialog(hwnd, IDCANCEL);
  });
  const bool finished = driver.Run([&] { dialog.DoModal(); });
  if (!finished || !written) {
    std::fprintf(stderr, "dialog_screenshot_win: no picture written\n");
    return 1;
  }
  return 0;
}
