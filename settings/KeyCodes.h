#pragma once
// Conversions between platform virtual keys, HID usages and scan codes, and
// the key names shown to the user. The platform's own translations sit behind
// KeyboardLayout so that the table logic runs anywhere.

#include <cstdint>
#include <string>

struct KeyCodeRow {
  uint32_t virtualKey;
  uint32_t usage;
  uint32_t scanCode;  // scan-code set 1, 0 where none
};

constexpr int kKeyCodeRows = 132;
extern const KeyCodeRow keyCodeTable[kKeyCodeRows];

// Mouse buttons share the code space of keyboard usages.
enum MouseButtonCode : uint8_t {
  kMouseLeft = 240,
  kMouseRight = 241,
  kMouseMiddle = 242,
  kMouseButton5 = 243,
  kMouseButton4 = 244,
};
constexpr bool isMouseButtonCode(unsigned code) { return code >= kMouseLeft && code <= kMouseButton4; }

class KeyboardLayout {
 public:
  virtual ~KeyboardLayout() = default;
  // 0 when the key has no scan code.
  virtual uint32_t scanCodeOf(uint32_t virtualKey) const = 0;
  // The virtual key that tells left and right keys apart; 0 when none.
  virtual uint32_t virtualKeyOf(uint32_t scanCode) const = 0;
  // The character the key types without modifiers; 0 when none.
  virtual char characterOf(uint32_t virtualKey, uint32_t scanCode) const = 0;
};

struct KeyLookup {
  uint32_t value;
  bool found;
};

KeyLookup usageFromVirtualKey(uint32_t virtualKey, const KeyboardLayout& layout);
KeyLookup virtualKeyFromUsage(uint32_t usage, const KeyboardLayout& layout);

// Name by usage for codes outside 4..57 and 232..239; empty when unnamed.
const char* usageName(uint32_t usage);
std::string virtualKeyName(uint32_t virtualKey, const KeyboardLayout& layout);
std::string keyName(uint32_t usage, const KeyboardLayout& layout);
