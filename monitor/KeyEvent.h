#pragma once
// What a UM_KEYBOARD_EVENT from the keyboard asks the monitor to do. Portable:
// the window only carries out the action that this decides.

#include <cstdint>

#include "SettingsImage.h"

constexpr uint32_t kEventKeyUsed = 0x000A;            // a key whose slot reports code 10
constexpr uint32_t kEventTextMacroPressed = 0x000B;   // a text-macro key went down
constexpr uint32_t kEventTextMacroReleased = 0x800B;  // a text-macro key went up

struct KeyEvent {
  uint32_t code;   // high half of the event word
  int keyNumber;   // key index + 1
  uint32_t extra;  // bits 8..15 of the low half
};

// The event word is (wParam & 0xFFFF) << 16 | (lParam & 0xFFFF).
KeyEvent decodeKeyEvent(uintptr_t wParam, intptr_t lParam);

enum class KeyActionKind { None, Launch, TextMacro };

struct KeyAction {
  KeyActionKind kind = KeyActionKind::None;
  int keyIndex = -1;
  bool released = false;
};

// Looks the key up in the active profile of `image`.
KeyAction keyActionFor(const KeyEvent& event, const SettingsImage& image);
