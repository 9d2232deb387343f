#pragma once
// Keyboard layouts for tests, without the platform.

#include <cctype>

#include "KeyCodes.h"

// US: every table row's virtual key sits at the row's own scan code; the
// duplicate rows resolve as the US layout does (0xDD at 0x1B, 0xDC at 0x2B).
class FakeUsLayout : public KeyboardLayout {
 public:
  uint32_t scanCodeOf(uint32_t vk) const override {
    if (vk == 0xDD) return 0x1B;
    for (const KeyCodeRow& r : keyCodeTable)
      if (r.virtualKey == vk) return r.scanCode;
    return 0;
  }
  uint32_t virtualKeyOf(uint32_t scan) const override {
    if (scan == 0x2B) return 0xDC;
    for (const KeyCodeRow& r : keyCodeTable)
      if (r.scanCode == scan && scan != 0) return r.virtualKey;
    return 0;
  }
  char characterOf(uint32_t vk, uint32_t) const override {
    if ((vk >= 'A' && vk <= 'Z')) return char(std::tolower(int(vk)));
    if (vk >= '0' && vk <= '9') return char(vk);
    switch (vk) {
      case 0xBC: return ',';
      case 0xBE: return '.';
      case 0xBF: return '/';
      case 0xDC: return '\\';
      case 0xDE: return '\'';
      default: return 0;
    }
  }
};

// German: Y and Z swap places.
class FakeGermanLayout : public FakeUsLayout {
 public:
  uint32_t scanCodeOf(uint32_t vk) const override {
    if (vk == 'Z') return 0x15;
    if (vk == 'Y') return 0x2C;
    return FakeUsLayout::scanCodeOf(vk);
  }
  uint32_t virtualKeyOf(uint32_t scan) const override {
    if (scan == 0x15) return 'Z';
    if (scan == 0x2C) return 'Y';
    return FakeUsLayout::virtualKeyOf(scan);
  }
};
