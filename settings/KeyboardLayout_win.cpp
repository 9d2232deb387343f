#include "KeyboardLayout_win.h"

#include <windows.h>

uint32_t SystemKeyboardLayout::scanCodeOf(uint32_t virtualKey) const {
  return MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
}

uint32_t SystemKeyboardLayout::virtualKeyOf(uint32_t scanCode) const {
  return MapVirtualKeyA(scanCode, MAPVK_VSC_TO_VK_EX);
}

char SystemKeyboardLayout::characterOf(uint32_t virtualKey, uint32_t scanCode) const {
  BYTE noModifiers[256] = {};
  WORD chars[2] = {};
  if (ToAscii(virtualKey, scanCode, noModifiers, chars, 0) < 1) return 0;
  return char(chars[0] & 0xFF);
}

const KeyboardLayout& systemKeyboardLayout() {
  static const SystemKeyboardLayout layout;
  return layout;
}
