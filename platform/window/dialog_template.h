// A dialog template as data: one table of controls, like a resource script.
#pragma once

#include <cstdint>
#include <span>

struct DialogControl {
  int id;               // -1 for the unnamed statics and group boxes
  const char* cls;      // "EDIT", "BUTTON" or "STATIC"
  std::uint32_t style;  // WS_, ES_, BS_, SS_ bits
  int x, y, cx, cy;     // dialog units
  // The text; for an SS_ICON static, the icon's resource id in decimal.
  const char* caption;
};

struct DialogTemplate {
  int id;
  std::uint32_t style;
  std::uint32_t exStyle;
  int cx, cy;  // client size in dialog units
  const char* caption;
  const char* fontName;  // "MS Shell Dlg" stands for the desktop's dialog font
  int pointSize;
  std::span<const DialogControl> controls;  // template order: tab and z-order
};
