// The program's strings and icons: the module's own resources first, then
// what the program registered (test programs carry no resource script).
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/window/resources.h"
#include "platform/window/win32/window_win.h"

namespace {

struct RegisteredIcon {
  std::vector<const char* const*> images;
  HICON icon = nullptr;  // made on first use from the image of the system's icon size
};

std::map<UINT, std::string>& Strings() {
  static std::map<UINT, std::string> strings;
  return strings;
}

std::map<UINT, RegisteredIcon>& Icons() {
  static std::map<UINT, RegisteredIcon> icons;
  return icons;
}

bool ParseColor(const char* text, std::uint32_t& argb) {
  if (std::strncmp(text, "None", 4) == 0) {
    argb = 0;
    return true;
  }
  unsigned rgb = 0;
  if (std::sscanf(text, "#%6x", &rgb) != 1) return false;
  argb = 0xFF000000u | rgb;
  return true;
}

// An XPM image ("W H COLOURS CHARS", colour rows "<chars> c #RRGGBB|None",
// pixel rows) as an icon with an alpha channel.
HICON IconFromXpm(const char* const* xpm) {
  int width = 0, height = 0, colours = 0, chars = 0;
  if (std::sscanf(xpm[0], "%d %d %d %d", &width, &height, &colours, &chars) != 4 || width <= 0 ||
      height <= 0 || chars <= 0) {
    return nullptr;
  }
  std::map<std::string, std::uint32_t> palette;
  for (int i = 1; i <= colours; ++i) {
    const char* row = xpm[i];
    const char* colour = std::strstr(row + chars, " c ");
    std::uint32_t argb = 0;
    if (colour == nullptr || !ParseColor(colour + 3, argb)) return nullptr;
    palette[std::string(row, static_cast<std::size_t>(chars))] = argb;
  }
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof(header);
  header.bV5Width = width;
  header.bV5Height = -height;  // top-down
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP colour = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
  ::ReleaseDC(nullptr, screen);
  if (colour == nullptr) return nullptr;
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    const char* row = xpm[1 + colours + y];
    for (int x = 0; x < width; ++x) {
      const auto found = palette.find(std::string(row + x * chars, static_cast<std::size_t>(chars)));
      pixels[y * width + x] = found != palette.end() ? found->second : 0;
    }
  }
  // The alpha channel decides; the mask is only required to exist.
  const std::vector<std::uint8_t> maskBits(static_cast<std::size_t>((width + 15) / 16 * 2 * height));
  HBITMAP mask = ::CreateBitmap(width, height, 1, 1, maskBits.data());
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(mask);
  ::DeleteObject(colour);
  return icon;
}

}  // namespace

void RegisterStringResource(UINT id, std::string text) { Strings()[id] = std::move(text); }

bool LoadStringResource(UINT id, std::string& text) {
  const wchar_t* own = nullptr;
  // Length 0 asks for a pointer into the resource itself.
  const int length =
      ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&own), 0);
  if (length > 0) {
    text = Narrow(std::wstring_view(own, static_cast<std::size_t>(length)));
    return true;
  }
  const auto found = Strings().find(id);
  text = found != Strings().end() ? found->second : std::string();
  return found != Strings().end();
}

void RegisterIconResource(UINT id, const char* const* xpm) {
  RegisteredIcon& icon = Icons()[id];
  icon.images.push_back(xpm);
  if (icon.icon != nullptr) ::DestroyIcon(icon.icon);
  icon.icon = nullptr;
}

HICON LoadIconResource(UINT id) {
  if (HICON own = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id))) return own;
  const auto found = Icons().find(id);
  if (found == Icons().end() || found->second.images.empty()) return nullptr;
  RegisteredIcon& icon = found->second;
  if (icon.icon == nullptr) {
    // The image nearest the system's icon size, as LoadIcon chooses.
    const int wanted = ::GetSystemMetrics(SM_CXICON);
    const char* const* best = icon.images.front();
    int bestWidth = 0;
    for (const char* const* xpm : icon.images) {
      int width = 0;
      std::sscanf(xpm[0], "%d", &width);
      if (bestWidth == 0 || std::abs(width - wanted) < std::abs(bestWidth - wanted)) {
        best = xpm, bestWidth = width;
      }
    }
    icon.icon = IconFromXpm(best);
  }
  return icon.icon;
}
