#pragma once
// The key translations of the current Windows keyboard layout.

#include "KeyCodes.h"

class SystemKeyboardLayout final : public KeyboardLayout {
 public:
  uint32_t scanCodeOf(uint32_t virtualKey) const override;
  uint32_t virtualKeyOf(uint32_t scanCode) const override;
  char characterOf(uint32_t virtualKey, uint32_t scanCode) const override;
};

const KeyboardLayout& systemKeyboardLayout();
