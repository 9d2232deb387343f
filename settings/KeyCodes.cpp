#include "KeyCodes.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr KeyCodeRow row(uint32_t vk, uint32_t usage, uint32_t scan = 0) { return {vk, usage, scan}; }

}  // namespace

const KeyCodeRow keyCodeTable[kKeyCodeRows] = {
    // letters
    row(0x41, 4, 0x1E),
    row(0x42, 5, 0x30),
    row(0x43, 6, 0x2E),
    row(0x44, 7, 0x20),
    row(0x45, 8, 0x12),
    row(0x46, 9, 0x21),
    row(0x47, 10, 0x22),
    row(0x48, 11, 0x23),
    row(0x49, 12, 0x17),
    row(0x4A, 13, 0x24),
    row(0x4B, 14, 0x25),
    row(0x4C, 15, 0x26),
    row(0x4D, 16, 0x32),
    row(0x4E, 17, 0x31),
    row(0x4F, 18, 0x18),
    row(0x50, 19, 0x19),
    row(0x51, 20, 0x10),
    row(0x52, 21, 0x13),
    row(0x53, 22, 0x1F),
    row(0x54, 23, 0x14),
    row(0x55, 24, 0x16),
    row(0x56, 25, 0x2F),
    row(0x57, 26, 0x11),
    row(0x58, 27, 0x2D),
    row(0x59, 28, 0x15),
    row(0x5A, 29, 0x2C),
    // digits 1..9, 0
    row(0x31, 30, 0x02),
    row(0x32, 31, 0x03),
    row(0x33, 32, 0x04),
    row(0x34, 33, 0x05),
    row(0x35, 34, 0x06),
    row(0x36, 35, 0x07),
    row(0x37, 36, 0x08),
    row(0x38, 37, 0x09),
    row(0x39, 38, 0x0A),
    row(0x30, 39, 0x0B),
    // Enter .. Caps Lock; 0xDD and scan 0x2B occur twice, the first row wins
    row(0x0D, 40, 0x1C),
    row(0x1B, 41, 0x01),
    row(0x08, 42, 0x0E),
    row(0x09, 43, 0x0F),
    row(0x20, 44, 0x39),
    row(0xBD, 45, 0x0C),
    row(0xBB, 46, 0x0D),
    row(0xDB, 47, 0x1A),
    row(0xDD, 48, 0x1B),
    row(0xDC, 49, 0x2B),
    row(0xDD, 50, 0x2B),
    row(0xBA, 51, 0x27),
    row(0xDE, 52, 0x28),
    row(0xC0, 53, 0x29),
    row(0xBC, 54, 0x33),
    row(0xBE, 55, 0x34),
    row(0xBF, 56, 0x35),
    row(0x14, 57, 0x3A),
    // F1..F12
    row(0x70, 58, 0x3B),
    row(0x71, 59, 0x3C),
    row(0x72, 60, 0x3D),
    row(0x73, 61, 0x3E),
    row(0x74, 62, 0x3F),
    row(0x75, 63, 0x40),
    row(0x76, 64, 0x41),
    row(0x77, 65, 0x42),
    row(0x78, 66, 0x43),
    row(0x79, 67, 0x44),
    row(0x7A, 68, 0x57),
    row(0x7B, 69, 0x58),
    // navigation, keypad and modifiers, without scan code
    row(0x2C, 70),
    row(0x91, 71),
    row(0x13, 72),
    row(0x2D, 73),
    row(0x24, 74),
    row(0x21, 75),
    row(0x2E, 76),
    row(0x23, 77),
    row(0x22, 78),
    row(0x27, 79),
    row(0x25, 80),
    row(0x28, 81),
    row(0x26, 82),
    row(0x90, 83),
    row(0x6F, 84),
    row(0x6A, 85),
    row(0x6D, 86),
    row(0x6B, 87),
    row(0x6C, 88),
    row(0x61, 89),
    row(0x62, 90),
    row(0x63, 91),
    row(0x64, 92),
    row(0x65, 93),
    row(0x67, 95),
    row(0x66, 94),
    row(0x68, 96),
    row(0x69, 97),
    row(0x60, 98),
    row(0x6E, 99),
    row(0xE2, 100),
    row(0x5D, 101),
    row(0xA2, 224),
    row(0xA0, 225),
    row(0xA4, 226),
    row(0x5B, 227),
    row(0xA3, 228),
    row(0xA1, 229),
    row(0xA5, 230),
    row(0x5C, 231),
    // media and browser functions
    row(0xA6, 112),
    row(0xA7, 113),
    row(0xA8, 114),
    row(0xA9, 115),
    row(0xAA, 116),
    row(0xAB, 117),
    row(0xAC, 118),
    row(0xAD, 119),
    row(0xAE, 120),
    row(0xAF, 121),
    row(0xB0, 122),
    row(0xB1, 123),
    row(0xB2, 124),
    row(0xB3, 125),
    row(0xB4, 126),
    row(0xB5, 127),
    row(0xB6, 128),
    row(0xB7, 129),
    // mouse buttons and spares
    row(0xF0, 240),
    row(0xF1, 241),
    row(0xF2, 242),
    row(0xF3, 243),
    row(0xF4, 244),
    row(0xF5, 245),
    row(0xF6, 246),
    row(0xF7, 247),
};

namespace {

const KeyCodeRow* firstRowWhere(uint32_t KeyCodeRow::*column, uint32_t value) {
  for (const KeyCodeRow& r : keyCodeTable)
    if (r.*column == value) return &r;
  return nullptr;
}

bool isLayoutUsage(uint32_t usage) { return usage >= 4 && usage <= 69; }
bool isNamedByVirtualKey(uint32_t usage) {
  return (usage >= 4 && usage <= 57) || (usage >= 232 && usage <= 239);
}

struct Name {
  uint32_t code;
  const char* text;
};

constexpr Name kUsageNames[] = {
    {58, "F1"},         {59, "F2"},        {60, "F3"},        {61, "F4"},        {62, "F5"},
    {63, "F6"},         {64, "F7"},        {65, "F8"},        {66, "F9"},        {67, "F10"},
    {68, "F11"},        {69, "F12"},       {70, "PrtScr"},    {71, "ScrLock"},   {72, "Break"},
    {73, "Insert"},     {74, "Home"},      {75, "PgUp"},      {76, "Delete"},    {77, "End"},
    {78, "PgDn"},       {79, "R Arrow"},   {80, "L Arrow"},   {81, "Dn Arrow"},  {82, "Up Arrow"},
    {83, "NumLock"},    {84, "Num_/"},     {85, "Num_*"},     {86, "Num_-"},     {87, "Num_+"},
    {88, "Num_Enter"},  {89, "Num_1"},     {90, "Num_2"},     {91, "Num_3"},     {92, "Num_4"},
    {93, "Num_5"},      {94, "Num_6"},     {95, "Num_7"},     {96, "Num_8"},     {97, "Num_9"},
    {98, "Num_0"},      {99, "Num_."},     {100, "\\"},       {101, "APP"},      {130, "Sleep"},
    {136, "Kana/Roma"}, {224, "L_Ctrl"},   {225, "L_Shift"},  {226, "L_Alt"},    {227, "L_Win"},
    {228, "R_Ctrl"},    {229, "R_Shift"},  {230, "R_Alt"},    {231, "R_Win"},    {240, "L Button"},
    {241, "R Button"},  {242, "M Button"}, {243, "Button 5"}, {244, "Button 4"},
};

constexpr Name kVirtualKeyNames[] = {
    {8, "Back"},
    {9, "Tab"},
    {12, "Clr"},
    {13, "L_Enter"},
    {16, "Shift"},
    {17, "Ctrl"},
    {18, "Alt"},
    {19, "Pause"},
    {20, "Caps"},
    {27, "Esc"},
    {32, "Space"},
    {33, "PgUp"},
    {34, "PgDn"},
    {35, "End"},
    {36, "Home"},
    {37, "L Arrow"},
    {38, "Up Arrow"},
    {39, "R Arrow"},
    {40, "Dn Arrow"},
    {41, "Select"},
    {42, "PrtScr"},
    {43, "Exe"},
    {44, "PrtScr"},
    {45, "Insert"},
    {46, "Delete"},
    {47, "Help"},
    {91, "Left Windows Button"},
    {92, "Right Windows Button"},
    {93, "APP"},
    {96, "Num0"},
    {97, "Num1"},
    {98, "Num2"},
    {99, "Num3"},
    {100, "Num4"},
    {101, "Num5"},
    {102, "Num6"},
    {103, "Num7"},
    {104, "Num8"},
    {105, "Num9"},
    {106, "Num*"},
    {107, "Num+"},
    {108, "NumRet"},
    {109, "Num-"},
    {110, "Num."},
    {111, "Num/"},
    {112, "F1"},
    {113, "F2"},
    {114, "F3"},
    {115, "F4"},
    {116, "F5"},
    {117, "F6"},
    {118, "F7"},
    {119, "F8"},
    {120, "F9"},
    {121, "F10"},
    {122, "F11"},
    {123, "F12"},
    {144, "NumLock"},
    {145, "ScrLock"},
    {160, "Left Shift"},
    {161, "Right Shift"},
    {162, "Left Ctrl"},
    {163, "Right Ctrl"},
    {164, "Left Alt"},
    {165, "Right Alt"},
    {221, "\\"},
    {240, "Caps Lock"},
    {241, "E9"},
    {242, "Kana/Roma"},
    {243, "Full/Half Width"},
    {244, "EC"},
    {245, "Full/HalfWidth"},
};

template <size_t N>
const char* lookupName(const Name (&names)[N], uint32_t code) {
  for (const Name& n : names)
    if (n.code == code) return n.text;
  return nullptr;
}

}  // namespace

KeyLookup usageFromVirtualKey(uint32_t virtualKey, const KeyboardLayout& layout) {
  const KeyCodeRow* r = firstRowWhere(&KeyCodeRow::virtualKey, virtualKey);
  if (!r) return {0, false};
  uint32_t usage = r->usage;
  // Letters and punctuation follow the physical key, not the layout.
  if (isLayoutUsage(usage)) {
    const uint32_t scan = layout.scanCodeOf(virtualKey);
    if (scan != 0)
      if (const KeyCodeRow* byScan = firstRowWhere(&KeyCodeRow::scanCode, scan)) usage = byScan->usage;
  }
  return {usage, true};
}

KeyLookup virtualKeyFromUsage(uint32_t usage, const KeyboardLayout& layout) {
  const KeyCodeRow* r = firstRowWhere(&KeyCodeRow::usage, usage);
  if (!r) return {0, false};
  if (isLayoutUsage(usage)) return {layout.virtualKeyOf(r->scanCode), true};
  return {r->virtualKey, true};
}

const char* usageName(uint32_t usage) {
  const char* name = lookupName(kUsageNames, usage);
  return name ? name : "";
}

std::string virtualKeyName(uint32_t virtualKey, const KeyboardLayout& layout) {
  if (const char* name = lookupName(kVirtualKeyNames, virtualKey)) return name;
  const char c = layout.characterOf(virtualKey, layout.scanCodeOf(virtualKey));
  if (c == 0) return {};
  return std::string(1, char(std::toupper(static_cast<unsigned char>(c))));
}

std::string keyName(uint32_t usage, const KeyboardLayout& layout) {
  if (!isNamedByVirtualKey(usage)) return usageName(usage);
  const KeyLookup vk = virtualKeyFromUsage(usage, layout);
  if (!vk.found) return {};
  return virtualKeyName(vk.value, layout);
}
