#include "DownloadEncoder.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "KeyCodes.h"

namespace kbd {
namespace {

constexpr Slot K(uint8_t usage) { return {kSlotKey, 0, usage, 0}; }
constexpr Slot M(uint8_t modifier, uint8_t usage) { return {kSlotKey, modifier, usage, 0}; }
constexpr Slot C(uint8_t usage) { return {kSlotConsumer, 0, usage, 0}; }
constexpr Slot N{0, 0, 0, 0};
constexpr Slot FN{kSlotFn, 0, 0, 0};

struct FunctionEntry {
  uint8_t code;
  Slot slot;
};

// Searched in this order; the first row of a code wins.
constexpr FunctionEntry kFunctionEntries[] = {
    {8, {0, 247, 50, 2}},   {2, {4, 0, 0, 0}},      {1, {0, 0, 0, 0}},     {3, {4, 0, 0, 0}},
    {58, {10, 0, 11, 0}},   {11, {10, 0, 10, 0}},   {27, {3, 0, 131, 1}},  {28, {3, 0, 182, 0}},
    {29, {3, 0, 181, 0}},   {30, {3, 0, 205, 0}},   {31, {3, 0, 183, 0}},  {24, {3, 0, 226, 0}},
    {25, {3, 0, 233, 0}},   {26, {3, 0, 234, 0}},   {41, {4, 0, 1, 146}},  {39, {4, 0, 1, 138}},
    {40, {4, 0, 1, 148}},   {33, {4, 0, 2, 35}},    {52, {0, 224, 26, 0}}, {53, {0, 226, 61, 0}},
    {57, {0, 226, 44, 27}}, {56, {0, 226, 44, 17}}, {55, {0, 227, 7, 0}},  {48, {0, 224, 27, 0}},
    {51, {0, 224, 6, 0}},   {49, {0, 224, 25, 0}},  {50, {0, 224, 29, 0}}, {54, {0, 226, 70, 0}},
};

bool isMacroFunction(uint8_t code) { return code == kFunctionCombination || code == kFunctionRecordedMacro; }

// Settings come from files and other processes: the arithmetic is done on
// unsigned values, which wrap to the same byte where signed ones would overflow.
uint8_t speedCode(int32_t setting) { return uint8_t(kSpeedBase - kSpeedStep * uint32_t(setting)); }
uint8_t directionCode(int32_t mode) { return mode != 0 ? kDirectionAlternate : kDirectionDefault; }

uint8_t playByte(const KeyAssignment& key) {
  const uint8_t t = uint8_t(key.triggerMode);
  const uint8_t m = uint8_t(key.playMode);
  if (t == 0) return m == 0 ? kPlayByteOnce : m;
  if (m == kPlayOnce || m == kPlayNTimes) return kPlayByteOnReleaseOnce;
  if (m == kPlayToggle) return kPlayByteOnReleaseToggle;
  return kPlayByteOnReleaseOther;
}

// Collects reports and carries each wait into the next report's pause.
class ReportList {
 public:
  void wait(int ms) { pending_ += ms; }
  void command(const Command& c) { push(Report::Feature, c.data(), c.size()); }
  void block(const uint8_t* data) { push(Report::Block, data, kBlockLength); }

  // Command, 15 ms, then each block followed by 15 ms unless told otherwise.
  void blockSequence(const Command& c, const uint8_t* data, size_t blocks, int extraBeforeFirst,
                     bool waitAfterLast = true) {
    command(c);
    wait(kPauseAfterReportMs + extraBeforeFirst);
    for (size_t i = 0; i < blocks; ++i) {
      block(data + i * kBlockLength);
      if (waitAfterLast || i + 1 < blocks) wait(kPauseAfterReportMs);
    }
  }
  std::vector<Report> take() { return std::move(reports_); }

 private:
  void push(Report::Kind kind, const uint8_t* data, size_t size) {
    reports_.push_back(Report{kind, std::vector<uint8_t>(data, data + size), pending_});
    pending_ = 0;
  }
  std::vector<Report> reports_;
  int pending_ = 0;
};

bool anySet(const int32_t* flags, size_t count) {
  return std::any_of(flags, flags + count, [](int32_t f) { return f != 0; });
}

}  // namespace

const SlotTable defaultKeySlotTable = [] {
  SlotTable t{};
  const Slot sent[kSentSlots] = {
      K(224),     K(225),     K(57),  K(43),      K(53), K(41),  K(227), K(29), K(4),   K(20), K(30), K(100),
      K(226),     K(27),      K(22),  K(26),      K(31), K(58),  K(145), K(6),  K(7),   K(8),  K(32), K(59),
      N,          K(25),      K(9),   K(21),      K(33), K(60),  K(44),  K(5),  K(10),  K(23), K(34), K(61),
      N,          K(17),      K(11),  K(28),      K(35), K(62),  N,      K(16), K(13),  K(24), K(36), K(63),
      K(144),     K(54),      K(14),  K(12),      K(37), K(64),  K(230), K(55), K(15),  K(18), K(38), K(65),
      FN,         K(56),      K(51),  K(19),      K(39), K(66),  K(101), N,     K(52),  K(47), K(45), K(67),
      N,          K(229),     N,      K(48),      K(46), K(68),  K(228), K(50), K(50),  K(40), K(42), K(69),
      K(80),      M(224, 31), C(183), K(76),      K(73), K(70),  K(81),  K(82), C(205), K(77), K(74), K(71),
      K(79),      N,          C(181), K(78),      K(75), K(72),  K(98),  K(89), K(92),  K(95), K(83), C(234),
      M(224, 30), K(90),      K(93),  K(96),      K(84), C(226), K(99),  K(91), K(94),  K(97), K(85), C(233),
      K(88),      N,          K(87),  M(224, 32), K(86), C(182), N,      N,
  };
  std::copy(std::begin(sent), std::end(sent), t.begin());
  return t;
}();

const uint8_t keySlotOf[kKeyCount] = {
    5,   17, 23, 29,  35,  41,  47,  53,  59,  65,  71,  77,  83,  89,  95,  101, 4,   10,  16,  22,  28,
    34,  40, 46, 52,  58,  64,  70,  76,  82,  3,   9,   15,  21,  27,  33,  39,  45,  51,  57,  63,  69,
    75,  81, 2,  8,   14,  20,  26,  32,  38,  44,  50,  56,  62,  68,  80,  1,   7,   13,  19,  25,  31,
    37,  43, 49, 55,  61,  73,  0,   6,   12,  30,  54,  60,  66,  78,  88,  87,  84,  94,  93,  91,  90,
    100, 99, 96, 106, 105, 104, 103, 102, 112, 111, 110, 109, 118, 117, 116, 115, 114, 124, 122, 120, 11,
};

Slot functionEntryOf(uint8_t functionCode) {
  for (const FunctionEntry& e : kFunctionEntries)
    if (e.code == functionCode) return e.slot;
  return N;
}

DownloadFlags readDownloadFlags(const SettingsImage& image) {
  DownloadFlags f;
  f.keysChanged = anySet(&image.keyDirty[0][0], size_t(kProfileCount) * kKeyCount);
  f.winLockChanged = anySet(image.winLockDirty, kProfileCount);
  f.colorsChanged = anySet(image.customColorDirty, kProfileCount);
  f.profileSwitched = image.profileSwitched != 0;
  return f;
}

namespace {

constexpr size_t kFlagWords = kChangeFlagsSize / sizeof(int32_t);

void readFlagWords(const SettingsImage& image, int32_t* words) {
  std::memcpy(words, reinterpret_cast<const unsigned char*>(&image) + kChangeFlagsOffset, kChangeFlagsSize);
}

// Sets in `image` every flag set in `words`.
void addFlagWords(const int32_t* words, SettingsImage& image) {
  int32_t current[kFlagWords];
  readFlagWords(image, current);
  for (size_t i = 0; i < kFlagWords; ++i) current[i] |= words[i];
  std::memcpy(reinterpret_cast<unsigned char*>(&image) + kChangeFlagsOffset, current, kChangeFlagsSize);
}

}  // namespace

DownloadSnapshot takeDownloadSnapshot(SettingsImage& image) {
  DownloadSnapshot s;
  // An image that was never read has no active profile; the first one stands in.
  const int p = image.currentProfile >= 0 && image.currentProfile < kProfileCount ? image.currentProfile : 0;
  s.active = std::make_unique<ProfileRecord>(image.profiles[p]);
  s.flags = readDownloadFlags(image);
  s.taken.resize(kFlagWords);
  readFlagWords(image, s.taken.data());
  clearChangeFlags(image);
  return s;
}

void keepPendingFlags(const SettingsImage& workingCopy, SettingsImage& received) {
  int32_t pending[kFlagWords];
  readFlagWords(workingCopy, pending);
  addFlagWords(pending, received);
}

bool hasPendingChanges(const SettingsImage& image) {
  int32_t words[kFlagWords];
  readFlagWords(image, words);
  return anySet(words, kFlagWords);
}

void returnFlags(const DownloadSnapshot& snapshot, SettingsImage& image) {
  if (snapshot.taken.size() == kFlagWords) addFlagWords(snapshot.taken.data(), image);
}

MacroBuffer encodeMacro(const KeyAssignment& key) {
  MacroBuffer b{};
  const bool repeats = uint8_t(key.playMode) != 0;
  const uint16_t repeat = repeats && key.playCount != 0 ? uint16_t(key.playCount) : 1;
  b[kMacroRepeatHigh] = uint8_t(repeat >> 8);
  b[kMacroRepeatLow] = uint8_t(repeat);

  size_t at = kMacroEventsOffset;
  // Room for the longest terminator is kept at every write.
  auto put = [&](std::initializer_list<uint8_t> bytes) {
    if (at + bytes.size() + 4 > b.size()) return;
    for (uint8_t v : bytes) b[at++] = v;
  };
  const int steps = std::min<int>(key.stepCount, kMaxMacroSteps);
  if (key.functionCode == kFunctionRecordedMacro && key.category == kCategoryMacro) {
    for (int j = 0; j < steps; ++j) {
      const MacroStep s = key.steps[j];
      const bool press = s.action() == kActionPress;
      // The keyboard wants the pause before each step, the record holds the one after.
      const uint16_t d = j == 0 ? 0 : key.steps[j - 1].delayMs();
      if (d < kDelayShortLimit) {
        const uint8_t flag = press ? kEventPress : kEventRelease;
        put({uint8_t((d & kDelayShortMask) | flag), s.code()});
      } else {
        put({press ? kLongPress : kLongRelease, s.code(), uint8_t(d >> 8), uint8_t(d)});
      }
    }
  } else {
    for (int j = 0; j < steps; ++j) put({kEventPress, key.steps[j].code()});
    for (int j = 0; j < steps; ++j) put({kEventRelease, key.steps[j].code()});
  }

  const uint16_t r = key.repeatDelayMs;
  if (!repeats || r == 0) {
    put({0, 0});
  } else if (r < kDelayShortLimit) {
    put({uint8_t(r | kEventRelease), 0});
  } else {
    put({kTerminatorLong, 0, uint8_t(r >> 8), uint8_t(r)});
  }
  return b;
}

KeyTableBuild buildKeyTable(const ProfileRecord& profile) {
  KeyTableBuild out;
  out.slots = defaultKeySlotTable;

  for (int k = 0; k < kKeyCount; ++k) {
    const uint8_t u = defaultUsageOf[k];
    for (int s = 0; s < kSlotCount; ++s) {
      const Slot& d = defaultKeySlotTable[s];
      if (d[kSlotKind] == kSlotKey && d[kSlotData1] == 0 && d[kSlotData2] == u) {
        const uint8_t mapped = profile.standardKey[k];
        out.slots[s][kSlotData2] = mapped;
        if (isMouseButtonCode(mapped)) out.slots[s][kSlotKind] = kSlotMouse;
        break;
      }
    }
  }

  int macroCount = 0;
  for (int k = 0; k < kKeyCount; ++k) {
    const KeyAssignment& a = profile.keys[k];
    Slot b = functionEntryOf(a.functionCode);
    Slot& slot = out.slots[keySlotOf[k]];
    if (a.category == kCategoryDefault) slot = k == kFnKeyIndex ? FN : K(defaultUsageOf[k]);
    if (isMacroFunction(a.functionCode)) {
      ++macroCount;
      b[kSlotData1] = playByte(a);
    }
    if (a.functionCode == kFunctionLaunch || a.functionCode == kFunctionTextMacro)
      b[kSlotData3] = uint8_t(k + 1);
    // Keys past the keyboard's macro capacity keep their standard slots and
    // send no buffer.
    if (macroCount > kMaxMacroBuffers) break;
    if (b[kSlotKind] == kSlotMacro) {
      b[kSlotData2] = uint8_t(macroCount - 1);
      b[kSlotData3] = 0;
    }
    if (a.category != kCategoryDefault) slot = b;
    if (isMacroFunction(a.functionCode)) out.macros.push_back(encodeMacro(a));
  }
  return out;
}

Command effectCommand(const ProfileRecord& p, bool withBrightness) {
  uint8_t speed = 0, direction = 0, wave = 0;
  bool known = true;
  switch (p.lightFx) {
    case kFxStatic:
      speed = kSpeedStatic;
      direction = kDirectionDefault;
      break;
    case kFxBreathe:
      speed = speedCode(p.breatheSpeed);
      direction = kDirectionDefault;
      break;
    case kFxWave:
      speed = speedCode(p.waveSpeed);
      direction = directionCode(p.waveMode);
      wave = 1;
      break;
    case kFxReactive:
      speed = kSpeedReactive;
      direction = kDirectionDefault;
      break;
    case kFxRipple:
      speed = speedCode(p.rippleSpeed);
      direction = directionCode(p.rippleMode);
      break;
    default:
      known = false;
      break;
  }
  uint8_t brightness = 0;
  if (withBrightness && p.lightFxFlag == 0) {
    brightness = uint8_t(uint32_t(p.ltControl) * kBrightnessStep);
    if (!known) speed = kSpeedUnknownEffect;
  }
  std::array<uint8_t, 6> d{};
  d[kEffectFormOffset - 1] = withBrightness ? kEffectFormBrightness : kEffectFormPlain;
  d[kEffectFxOffset - 1] = uint8_t(p.lightFx);
  d[kEffectSpeedOffset - 1] = speed;
  d[kEffectBrightnessOffset - 1] = brightness;
  d[kEffectDirectionOffset - 1] = direction;
  d[kEffectWaveOffset - 1] = wave;
  return makeFeatureCommand(kCmdEffect, d);
}

Command effectColorCommand(const ProfileRecord& p) {
  std::array<uint8_t, 6> d{};
  d[kEffectColorSelectorOffset - 1] = kEffectColorSelector;
  const Color* c = nullptr;
  switch (p.lightFx) {
    case kFxStatic:
      c = &p.staticColor;
      break;
    case kFxBreathe:
      c = &p.breatheColor;
      break;
    case kFxWave:
      c = &p.waveColor;
      break;
    case kFxReactive:
      c = &p.reactiveColor;
      break;
    case kFxRipple:
      c = &p.rippleColor;
      break;
    default:
      break;
  }
  if (c)
    for (size_t i = 0; i < 3; ++i) d[kEffectColorFirst - 1 + i] = uint8_t(*c >> (8 * i));
  return makeFeatureCommand(kCmdEffectColor, d);
}

std::array<uint8_t, kColorTableBytes> keyColorTable(const ProfileRecord& p) {
  std::array<uint8_t, kColorTableBytes> t{};
  for (int i = 0; i < kLedCount; ++i) {
    const Color c = p.customMode == 1 ? p.globalColor : p.customColors[i];
    for (int b = 0; b < 3; ++b) t[size_t(i) * 4 + 1 + b] = uint8_t(c >> (8 * b));
  }
  return t;
}

Block winLockBlock(const ProfileRecord& p) {
  Block b{};
  std::fill(b.begin(), b.begin() + kWinLockFillEnd, kWinLockFill);
  b[kWinLockSwitchOffset] = uint8_t(kWinLockSwitchBase | uint8_t(p.leftWinLock));
  return b;
}

std::vector<Report> encodeDownload(const ProfileRecord& p, const DownloadFlags& flags, bool full) {
  const bool all = full || flags.profileSwitched;
  ReportList out;
  out.command(effectCommand(p, false));
  out.wait(kPauseAfterReportMs);
  out.command(effectColorCommand(p));
  out.wait(kPauseAfterReportMs);

  if (flags.keysChanged || all) {
    const KeyTableBuild build = buildKeyTable(p);
    uint8_t table[kSlotTableBytes];
    for (int s = 0; s < kSentSlots; ++s)
      std::memcpy(table + s * kSlotBytes, build.slots[s].data(), kSlotBytes);
    out.wait(kPauseBeforeTransferMs);
    out.blockSequence(makeFeatureCommand(kCmdKeySlotTable, {0, 0, kKeySlotTableBlocks, 0, 0, 0}), table,
                      kKeySlotTableBlocks, kPauseKeyTableExtraMs);
    for (size_t n = 0; n < build.macros.size(); ++n) {
      out.wait(kPauseBeforeTransferMs);
      out.blockSequence(makeFeatureCommand(kCmdMacro, {0, uint8_t(n), kMacroBlocks, 0, 0, 0}),
                        build.macros[n].data(), kMacroBlocks, 0);
    }
  }
  if (flags.winLockChanged || all) {
    const Block lock = winLockBlock(p);
    out.wait(kPauseBeforeTransferMs);
    out.blockSequence(makeFeatureCommand(kCmdWinLock, {0, 0, kWinLockAnnounced, 0, 0, 0}), lock.data(),
                      kWinLockBlocks, 0, false);
  }
  if (flags.colorsChanged || all) {
    const auto colors = keyColorTable(p);
    out.wait(kPauseBeforeTransferMs);
    out.blockSequence(makeFeatureCommand(kCmdKeyColors, {0, 0, kKeyColorBlocks, 0, 0, 0}), colors.data(),
                      kKeyColorBlocks, 0);
  }
  out.wait(kPauseAfterReportMs);
  out.command(effectCommand(p, true));
  return out.take();
}

int totalPauseMs(const std::vector<Report>& reports) {
  int sum = 0;
  for (const Report& r : reports) sum += r.pauseBeforeMs;
  return sum;
}

}  // namespace kbd
