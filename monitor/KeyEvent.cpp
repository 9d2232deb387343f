#include "KeyEvent.h"

KeyEvent decodeKeyEvent(uintptr_t wParam, intptr_t lParam) {
  const uint32_t word =
      (static_cast<uint32_t>(wParam & 0xFFFF) << 16) | static_cast<uint32_t>(lParam & 0xFFFF);
  return KeyEvent{word >> 16, static_cast<int>(word & 0xFF), (word >> 8) & 0xFF};
}

KeyAction keyActionFor(const KeyEvent& event, const SettingsImage& image) {
  bool released = false;
  switch (event.code) {
    case kEventKeyUsed:
      // A non-zero extra byte marks a report that is not a plain key use.
      if (event.extra != 0) return {};
      break;
    case kEventTextMacroPressed:
      break;
    case kEventTextMacroReleased:
      released = true;
      break;
    default:
      return {};
  }
  const int keyIndex = event.keyNumber - 1;
  if (keyIndex < 0 || keyIndex >= kKeyCount) return {};
  const int profile = image.currentProfile;
  if (profile < 0 || profile >= kProfileCount) return {};
  switch (image.profiles[profile].keys[keyIndex].functionCode) {
    case kFunctionLaunch:
      if (released) return {};
      return {KeyActionKind::Launch, keyIndex, false};
    case kFunctionTextMacro:
      return {KeyActionKind::TextMacro, keyIndex, released};
    default:
      return {};
  }
}
