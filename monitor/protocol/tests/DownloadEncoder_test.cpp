#include "DownloadEncoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "KeyCodes.h"

using namespace kbd;

namespace {

std::unique_ptr<SettingsImage> defaultImage() {
  auto image = std::make_unique<SettingsImage>();
  clearImage(*image);
  buildDefaultImage(*image);
  return image;
}

std::unique_ptr<ProfileRecord> defaultProfile() {
  auto p = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*p, 0);
  return p;
}

void makeRecordedMacro(KeyAssignment& key, std::initializer_list<MacroStep> steps) {
  key.category = kCategoryMacro;
  key.functionCode = kFunctionRecordedMacro;
  key.stepCount = uint16_t(steps.size());
  int i = 0;
  for (MacroStep s : steps) key.steps[i++] = s;
}

void makeCombination(KeyAssignment& key, std::initializer_list<uint8_t> codes) {
  key.category = kCategoryCombination;
  key.functionCode = kFunctionCombination;
  key.stepCount = uint16_t(codes.size());
  int i = 0;
  for (uint8_t c : codes) key.steps[i++] = MacroStep::make(c, 0, 0);
}

std::vector<uint8_t> cmd(std::initializer_list<uint8_t> first7) {
  Command c{};
  std::copy(first7.begin(), first7.end(), c.begin());
  c[7] = checksumOf(c);
  return {c.begin(), c.end()};
}

// Every command carries its checksum and every report has its length.
void expectWellFormed(const std::vector<Report>& reports) {
  for (const Report& r : reports) {
    if (r.kind == Report::Feature) {
      ASSERT_EQ(r.bytes.size(), kCommandLength);
      Command c;
      std::copy(r.bytes.begin(), r.bytes.end(), c.begin());
      EXPECT_TRUE(checksumOk(c));
    } else {
      EXPECT_EQ(r.bytes.size(), kBlockLength);
    }
  }
}

// The shape of a list: 'C' for a command with its code, 'B' for a block, and the pauses.
std::string shapeOf(const std::vector<Report>& reports) {
  std::string s;
  char buf[32];
  for (const Report& r : reports) {
    if (r.kind == Report::Feature)
      snprintf(buf, sizeof buf, "C%02X/%d ", r.bytes[0], r.pauseBeforeMs);
    else
      snprintf(buf, sizeof buf, "B/%d ", r.pauseBeforeMs);
    s += buf;
  }
  return s;
}

std::string blocks(int n, int firstPause) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "B/" + std::to_string(i == 0 ? firstPause : 15) + " ";
  return s;
}

const std::string kKeyTable = "C0D/85 " + blocks(8, 25);
const std::string kMacro = "C11/85 " + blocks(3, 15);
const std::string kLock = "C0E/85 " + blocks(1, 15);
const std::string kColors = "C12/70 " + blocks(8, 15);

}  // namespace

TEST(KeySlotTables, EveryKeyFindsItsOwnUsageInTheDefaultTable) {
  std::set<int> used;
  for (int k = 0; k < kKeyCount; ++k) {
    EXPECT_TRUE(used.insert(keySlotOf[k]).second) << "key " << k;
    const Slot expected = k == kFnKeyIndex ? Slot{kSlotFn, 0, 0, 0} : Slot{0, 0, defaultUsageOf[k], 0};
    EXPECT_EQ(defaultKeySlotTable[keySlotOf[k]], expected) << "key " << k;
  }
  for (int s = kSentSlots; s < kSlotCount; ++s) EXPECT_EQ(defaultKeySlotTable[s], (Slot{0, 0, 0, 0}));
  EXPECT_EQ(defaultKeySlotTable[85], (Slot{0, 224, 31, 0}));
  EXPECT_EQ(defaultKeySlotTable[86], (Slot{3, 0, 183, 0}));
  EXPECT_EQ(defaultKeySlotTable[125], (Slot{3, 0, 182, 0}));
  EXPECT_EQ(defaultKeySlotTable[24], (Slot{0, 0, 0, 0}));
}

TEST(KeySlotTables, FunctionEntriesAndUnknownCodes) {
  EXPECT_EQ(functionEntryOf(8), (Slot{0, 247, 50, 2}));
  EXPECT_EQ(functionEntryOf(27), (Slot{3, 0, 131, 1}));
  EXPECT_EQ(functionEntryOf(57), (Slot{0, 226, 44, 27}));
  EXPECT_EQ(functionEntryOf(54), (Slot{0, 226, 70, 0}));
  EXPECT_EQ(functionEntryOf(64), (Slot{0, 0, 0, 0}));
  EXPECT_EQ(functionEntryOf(200), (Slot{0, 0, 0, 0}));
}

// Stored entries may carry categories the editor no longer offers (2, 7,
// 10) or any other byte: the slot comes from the function code, and no
// category or code reaches outside the tables (checked under the sanitizers).
TEST(KeyTableBuild, AnyCategoryAndFunctionCodeBuildsWithinBounds) {
  auto p = defaultProfile();
  p->keys[3].category = 2;
  p->keys[3].functionCode = 27;
  p->keys[40].category = 7;
  p->keys[40].functionCode = kFunctionTextMacro;
  p->keys[41].category = 10;
  p->keys[41].functionCode = kFunctionRecordedMacro;
  p->keys[41].stepCount = 0xFFFF;
  const KeyTableBuild b = buildKeyTable(*p);
  EXPECT_EQ(b.slots[keySlotOf[3]], (Slot{3, 0, 131, 1}));
  EXPECT_EQ(b.slots[keySlotOf[40]], (Slot{10, 0, 11, 41}));
  EXPECT_EQ(b.slots[keySlotOf[41]], (Slot{4, 1, 0, 0}));
  EXPECT_EQ(b.macros.size(), 1u);

  for (int category = 0; category < 256; category += 3) {
    for (int k = 0; k < kKeyCount; ++k) {
      p->keys[k].category = uint8_t(category);
      p->keys[k].functionCode = uint8_t(category + k);
      p->keys[k].stepCount = uint16_t(category * 257);
      p->keys[k].playMode = category - 128;
    }
    const KeyTableBuild all = buildKeyTable(*p);
    EXPECT_LE(all.macros.size(), size_t(kMaxMacroBuffers));
  }
}

TEST(KeyTableBuild, DefaultProfileGivesTheDefaultTable) {
  const auto p = defaultProfile();
  const KeyTableBuild b = buildKeyTable(*p);
  EXPECT_EQ(b.slots, defaultKeySlotTable);
  EXPECT_TRUE(b.macros.empty());
}

TEST(KeyTableBuild, CategoryOneAlwaysGetsItsStandardSlot) {
  auto p = defaultProfile();
  p->keys[10].functionCode = kFunctionTextMacro;  // stale code under category 1
  p->keys[kFnKeyIndex].functionCode = 27;
  p->standardKey[10] = 4;
  const KeyTableBuild b = buildKeyTable(*p);
  EXPECT_EQ(b.slots[keySlotOf[10]], (Slot{0, 0, defaultUsageOf[10], 0}));
  EXPECT_EQ(b.slots[keySlotOf[kFnKeyIndex]], (Slot{2, 0, 0, 0}));
}

TEST(KeyTableBuild, HostKeysMediaShortcutsAndDisabledKeys) {
  auto p = defaultProfile();
  p->keys[20].category = kCategoryMacro;
  p->keys[20].functionCode = kFunctionTextMacro;
  p->keys[21].category = kCategoryLaunch;
  p->keys[21].functionCode = kFunctionLaunch;
  p->keys[22].category = kCategoryMedia;
  p->keys[22].functionCode = 28;
  p->keys[23].category = kCategoryShortcut;
  p->keys[23].functionCode = 55;
  p->keys[24].category = kCategoryDisabled;
  p->keys[24].functionCode = kFunctionDisabled;
  p->keys[25].category = kCategoryShortcut;
  p->keys[25].functionCode = 99;  // unknown: nothing
  const KeyTableBuild b = buildKeyTable(*p);
  EXPECT_EQ(b.slots[keySlotOf[20]], (Slot{10, 0, 11, 21}));
  EXPECT_EQ(b.slots[keySlotOf[21]], (Slot{10, 0, 10, 22}));
  EXPECT_EQ(b.slots[keySlotOf[22]], (Slot{3, 0, 182, 0}));
  EXPECT_EQ(b.slots[keySlotOf[23]], (Slot{0, 227, 7, 0}));
  EXPECT_EQ(b.slots[keySlotOf[24]], (Slot{0, 0, 0, 0}));
  EXPECT_EQ(b.slots[keySlotOf[25]], (Slot{0, 0, 0, 0}));
  EXPECT_TRUE(b.macros.empty());
}

TEST(KeyTableBuild, MacroSlotsCarryPlayByteAndBufferNumber) {
  struct Case {
    int trigger, mode;
    uint8_t play;
  } cases[] = {{0, 0, 1},    {0, 1, 1},    {0, 2, 2},    {0, 3, 3},
               {1, 0, 0x81}, {1, 1, 0x81}, {1, 2, 0x02}, {1, 3, 0x83}};
  auto p = defaultProfile();
  int k = 0;
  for (const Case& c : cases) {
    makeCombination(p->keys[k], {4});
    p->keys[k].triggerMode = c.trigger;
    p->keys[k].playMode = c.mode;
    ++k;
  }
  const KeyTableBuild b = buildKeyTable(*p);
  ASSERT_EQ(b.macros.size(), std::size(cases));
  for (int i = 0; i < k; ++i) EXPECT_EQ(b.slots[keySlotOf[i]], (Slot{4, cases[i].play, uint8_t(i), 0})) << i;
}

TEST(KeyTableBuild, KindFourFunctionsTakeTheMacroCountAsWritten) {
  auto p = defaultProfile();
  p->keys[0].category = kCategoryShortcut;
  p->keys[0].functionCode = 33;  // before any macro: count - 1 wraps to 0xFF
  makeRecordedMacro(p->keys[1], {MacroStep::make(4, kActionPress, 0)});
  p->keys[2].category = kCategoryShortcut;
  p->keys[2].functionCode = 41;
  const KeyTableBuild b = buildKeyTable(*p);
  EXPECT_EQ(b.slots[keySlotOf[0]], (Slot{4, 0, 0xFF, 0}));
  EXPECT_EQ(b.slots[keySlotOf[1]], (Slot{4, 1, 0, 0}));
  EXPECT_EQ(b.slots[keySlotOf[2]], (Slot{4, 0, 0, 0}));
  EXPECT_EQ(b.macros.size(), 1u);
}

TEST(KeyTableBuild, MoreThan35MacroKeysSendExactly35AndKeepTheRestStandard) {
  auto p = defaultProfile();
  for (int k = 0; k < 37; ++k) makeCombination(p->keys[k], {uint8_t(4 + k)});
  p->keys[40].category = kCategoryLaunch;  // after the stop: untouched
  p->keys[40].functionCode = kFunctionLaunch;
  p->standardKey[36] = kMouseRight;  // key 36 is the 37th macro key
  const KeyTableBuild b = buildKeyTable(*p);
  ASSERT_EQ(b.macros.size(), 35u);
  EXPECT_EQ(b.slots[keySlotOf[34]], (Slot{4, 1, 34, 0}));
  EXPECT_EQ(b.slots[keySlotOf[35]], (Slot{0, 0, defaultUsageOf[35], 0}));
  EXPECT_EQ(b.slots[keySlotOf[36]], (Slot{1, 0, kMouseRight, 0}));
  EXPECT_EQ(b.slots[keySlotOf[40]], (Slot{0, 0, defaultUsageOf[40], 0}));
  EXPECT_EQ(b.macros[34][3], 4 + 34);

  const auto reports = encodeDownload(*p, DownloadFlags{true, false, false, false}, false);
  int macroCommands = 0;
  for (const Report& r : reports) macroCommands += r.kind == Report::Feature && r.bytes[0] == kCmdMacro;
  EXPECT_EQ(macroCommands, 35);
  EXPECT_EQ(reports[reports.size() - 5].bytes, cmd({0x11, 0, 34, 3}));
}

TEST(MacroEncoding, TimedStepsShortAndLongDelays) {
  KeyAssignment key{};
  buildDefaultKey(key, 0);
  makeRecordedMacro(key, {MacroStep::make(4, kActionPress, 0x40), MacroStep::make(4, kActionRelease, 0x80),
                          MacroStep::make(5, kActionPress, 0x7E), MacroStep::make(5, kActionRelease, 0x1234),
                          MacroStep::make(6, kActionPress, 9)});
  const MacroBuffer b = encodeMacro(key);
  const uint8_t expected[] = {0,    1,              // repeat 1
                              0x01, 4,              // first step: no delay before it
                              0xC1, 4,              // 0x40 | 0x81
                              0x7F, 5, 0x00, 0x80,  // long press
                              0xFF, 5,              // 0x7E | 0x81
                              0x7F, 6, 0x12, 0x34,  // long press after 0x1234
                              0,    0};             // play once: plain terminator
  for (size_t i = 0; i < sizeof expected; ++i) EXPECT_EQ(b[i], expected[i]) << i;
  for (size_t i = sizeof expected; i < b.size(); ++i) ASSERT_EQ(b[i], 0) << i;
}

TEST(MacroEncoding, RepeatCountAndTerminatorFollowThePlayMode) {
  KeyAssignment key{};
  buildDefaultKey(key, 0);
  makeCombination(key, {224, 4});
  key.playCount = 300;
  key.repeatDelayMs = 300;
  key.playMode = kPlayOnce;
  MacroBuffer b = encodeMacro(key);
  EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 12),
            (std::vector<uint8_t>{0, 1, 0x01, 224, 0x01, 4, 0x81, 224, 0x81, 4, 0, 0}));

  key.playMode = kPlayNTimes;
  b = encodeMacro(key);
  EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 15),
            (std::vector<uint8_t>{1, 0x2C, 0x01, 224, 0x01, 4, 0x81, 224, 0x81, 4, 0xFF, 0, 1, 0x2C, 0}));

  key.repeatDelayMs = 0x7F;
  key.playCount = 0;
  b = encodeMacro(key);
  EXPECT_EQ(b[0], 0);
  EXPECT_EQ(b[1], 1);
  EXPECT_EQ(b[10], 0xFF);
  EXPECT_EQ(b[11], 0);

  key.repeatDelayMs = 0;
  b = encodeMacro(key);
  EXPECT_EQ(b[10], 0);
}

TEST(MacroEncoding, FortyLongStepsFitTheBuffer) {
  KeyAssignment key{};
  buildDefaultKey(key, 0);
  key.category = kCategoryMacro;
  key.functionCode = kFunctionRecordedMacro;
  key.stepCount = 0xFFFF;  // corrupt count: bounded by the step array
  for (int i = 0; i < kMaxMacroSteps; ++i) key.steps[i] = MacroStep::make(4, kActionPress, 0xFFFF);
  key.playMode = kPlayToggle;
  key.repeatDelayMs = 9999;
  const MacroBuffer b = encodeMacro(key);
  EXPECT_EQ(b[2 + 2 + 39 * 4], 0xFF);  // terminator after 1 short + 39 long steps
  EXPECT_EQ(b[2 + 2 + 39 * 4 + 2], 9999 >> 8);
  EXPECT_EQ(b[2 + 2 + 39 * 4 + 3], 9999 & 0xFF);
}

TEST(Lighting, EffectCommandsAndColour) {
  auto p = defaultProfile();
  auto v = [](const Command& c) { return std::vector<uint8_t>(c.begin(), c.end()); };
  EXPECT_EQ(v(effectCommand(*p, false)), cmd({0x08, 1, 1, 5, 0, 7, 0}));
  p->lightFx = kFxWave;
  p->waveSpeed = 3;
  p->waveMode = 1;
  p->ltControl = 7;
  p->waveColor = 0x123456;
  EXPECT_EQ(v(effectCommand(*p, false)), cmd({0x08, 1, 3, 4, 0, 8, 1}));
  EXPECT_EQ(v(effectCommand(*p, true)), cmd({0x08, 2, 3, 4, 35, 8, 1}));
  EXPECT_EQ(v(effectColorCommand(*p)), cmd({0x14, 0, 6, 0x56, 0x34, 0x12, 0}));
  p->lightFxFlag = 1;
  EXPECT_EQ(v(effectCommand(*p, true)), cmd({0x08, 2, 3, 4, 0, 8, 1}));

  p->lightFx = kFxRipple;
  p->rippleSpeed = 1;
  p->rippleMode = 0;
  p->lightFxFlag = 0;
  EXPECT_EQ(v(effectCommand(*p, true)), cmd({0x08, 2, 6, 10, 35, 7, 0}));
  p->lightFx = kFxBreathe;
  p->breatheSpeed = 5;  // out of range wraps as a byte
  EXPECT_EQ(v(effectCommand(*p, false)), cmd({0x08, 1, 2, uint8_t(13 - 15), 0, 7, 0}));
  p->lightFx = kFxReactive;
  p->reactiveColor = 0xABCDEF;
  EXPECT_EQ(v(effectCommand(*p, false)), cmd({0x08, 1, 4, 10, 0, 7, 0}));
  EXPECT_EQ(v(effectColorCommand(*p)), cmd({0x14, 0, 6, 0xEF, 0xCD, 0xAB, 0}));

  p->lightFx = 51;  // custom
  EXPECT_EQ(v(effectCommand(*p, false)), cmd({0x08, 1, 51, 0, 0, 0, 0}));
  EXPECT_EQ(v(effectCommand(*p, true)), cmd({0x08, 2, 51, 7, 35, 0, 0}));
  EXPECT_EQ(v(effectColorCommand(*p)), cmd({0x14, 0, 6, 0, 0, 0, 0}));
  p->lightFxFlag = 1;
  EXPECT_EQ(v(effectCommand(*p, true)), cmd({0x08, 2, 51, 0, 0, 0, 0}));
}

TEST(Lighting, DamagedSpeedsAndBrightnessWrapAsBytes) {
  // Values from a damaged file or block: the same bytes as small ones that
  // wrap, without signed overflow.
  auto p = defaultProfile();
  p->lightFx = kFxWave;
  p->waveSpeed = INT32_MIN + 1;
  p->ltControl = 1903260017;
  const Command c = effectCommand(*p, true);
  EXPECT_EQ(c[kEffectSpeedOffset], uint8_t(13u - 3u * uint32_t(INT32_MIN + 1)));
  EXPECT_EQ(c[kEffectBrightnessOffset], uint8_t(1903260017u * 5u));
  EXPECT_TRUE(checksumOk(c));
}

TEST(Lighting, PerKeyColoursAndWinLock) {
  auto p = defaultProfile();
  auto t = keyColorTable(*p);
  EXPECT_EQ(t[9 * 4 + 0], 0);
  EXPECT_EQ(t[9 * 4 + 1], 0xFF);  // 0x11FFFF
  EXPECT_EQ(t[9 * 4 + 3], 0x11);
  p->customMode = 1;
  p->globalColor = 0x010203;
  t = keyColorTable(*p);
  for (int i = 0; i < kLedCount; ++i) {
    EXPECT_EQ(t[i * 4], 0);
    EXPECT_EQ(t[i * 4 + 1], 3);
    EXPECT_EQ(t[i * 4 + 2], 2);
    EXPECT_EQ(t[i * 4 + 3], 1);
  }
  for (size_t i = kLedCount * 4; i < t.size(); ++i) EXPECT_EQ(t[i], 0);

  Block b = winLockBlock(*p);
  EXPECT_EQ(b[0], 0x3F);
  EXPECT_EQ(b[1], 0x3F);  // leftWinLock 1
  p->leftWinLock = 0;
  b = winLockBlock(*p);
  EXPECT_EQ(b[1], 0x3E);
  for (int i = 2; i <= 20; ++i) EXPECT_EQ(b[i], 0x3F);
  for (int i = 21; i < 64; ++i) EXPECT_EQ(b[i], 0);
}

TEST(DownloadSequence, EffectColourOnlyApplySendsThreeCommands) {
  auto image = defaultImage();
  image->effectColorDirty[0] = 1;
  image->effectDirty[0] = 1;
  image->standardKeyDirty[0] = 1;
  const DownloadSnapshot s = takeDownloadSnapshot(*image);
  const auto reports = encodeDownload(*s.active, s.flags, false);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0], (Report{Report::Feature, cmd({0x08, 1, 1, 5, 0, 7, 0}), 0}));
  EXPECT_EQ(reports[1], (Report{Report::Feature, cmd({0x14, 0, 6, 0xFF, 0, 0, 0}), 15}));
  EXPECT_EQ(reports[2], (Report{Report::Feature, cmd({0x08, 2, 1, 5, 50, 7, 0}), 30}));
}

TEST(DownloadSequence, KeyChangedInAnotherProfileSendsActiveTableAndAllMacros) {
  auto image = defaultImage();
  image->currentProfile = 1;
  makeCombination(image->profiles[1].keys[3], {224, 6});
  makeRecordedMacro(image->profiles[1].keys[50],
                    {MacroStep::make(4, kActionPress, 200), MacroStep::make(4, kActionRelease, 0)});
  image->keyDirty[3][10] = 1;
  const DownloadSnapshot s = takeDownloadSnapshot(*image);
  const auto reports = encodeDownload(*s.active, s.flags, false);
  expectWellFormed(reports);
  EXPECT_EQ(shapeOf(reports), "C08/0 C14/15 " + kKeyTable + kMacro + kMacro + "C08/30 ");
  EXPECT_EQ(reports[2].bytes, cmd({0x0D, 0, 0, 8}));
  // Key 3 (F3) sits in slot 29, in the second block.
  EXPECT_EQ(std::vector<uint8_t>(reports[4].bytes.begin() + (29 - 16) * 4,
                                 reports[4].bytes.begin() + (30 - 16) * 4),
            (std::vector<uint8_t>{4, 1, 0, 0}));
  EXPECT_EQ(reports[11].bytes, cmd({0x11, 0, 0, 3}));
  EXPECT_EQ(std::vector<uint8_t>(reports[12].bytes.begin(), reports[12].bytes.begin() + 10),
            (std::vector<uint8_t>{0, 1, 1, 224, 1, 6, 0x81, 224, 0x81, 6}));
  EXPECT_EQ(reports[15].bytes, cmd({0x11, 0, 1, 3}));
  EXPECT_EQ(std::vector<uint8_t>(reports[16].bytes.begin(), reports[16].bytes.begin() + 10),
            (std::vector<uint8_t>{0, 1, 1, 4, 0xFF, 4, 0, 200, 0, 0}));
}

TEST(DownloadSequence, FullDownloadSendsEverythingWithItsPauses) {
  auto p = defaultProfile();
  makeCombination(p->keys[0], {4});
  const auto reports = encodeDownload(*p, DownloadFlags{}, true);
  expectWellFormed(reports);
  EXPECT_EQ(shapeOf(reports), "C08/0 C14/15 " + kKeyTable + kMacro + kLock + kColors + "C08/30 ");
  EXPECT_EQ(reports[15].bytes, cmd({0x0E, 0, 0, 0x15}));
  EXPECT_EQ(reports[17].bytes, cmd({0x12, 0, 0, 8}));
  // effect, colour, table, one macro, lock, colours, closing effect
  EXPECT_EQ(totalPauseMs(reports), 15 + (85 + 25 + 7 * 15) + (85 + 3 * 15) + (85 + 15) + (70 + 8 * 15) + 30);

  const auto switched = encodeDownload(*p, DownloadFlags{false, false, false, true}, false);
  EXPECT_EQ(switched, reports);
}

TEST(DownloadSequence, LockBlockIsNotFollowedByAWait) {
  auto p = defaultProfile();
  const auto reports = encodeDownload(*p, DownloadFlags{false, true, false, false}, false);
  EXPECT_EQ(shapeOf(reports), "C08/0 C14/15 " + kLock + "C08/15 ");
  const auto colours = encodeDownload(*p, DownloadFlags{false, false, true, false}, false);
  EXPECT_EQ(shapeOf(colours), "C08/0 C14/15 C12/85 " + blocks(8, 15) + "C08/30 ");
}

TEST(DownloadSequence, CustomModeOneSendsGlobalColourEverywhere) {
  auto p = defaultProfile();
  p->lightFx = 51;
  p->customMode = 1;
  p->globalColor = 0x00FF00;
  const auto reports = encodeDownload(*p, DownloadFlags{false, false, true, false}, false);
  ASSERT_EQ(reports.size(), 12u);
  for (int b = 0; b < 8; ++b) {
    const auto& bytes = reports[3 + b].bytes;
    for (int e = 0; e < 16; ++e) {
      const bool led = b * 16 + e < kLedCount;
      EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + e * 4, bytes.begin() + e * 4 + 4),
                (std::vector<uint8_t>{0, 0, uint8_t(led ? 0xFF : 0), 0}));
    }
  }
}

TEST(DownloadSnapshot, TakesFlagsOnceAndKeepsLaterAppliesForTheNextDownload) {
  auto image = defaultImage();
  image->currentProfile = 2;
  image->profiles[2].staticColor = 0x0000AA;
  image->keyDirty[2][5] = 1;
  image->winLockDirty[4] = 1;
  image->reserved2 = 7;

  const DownloadSnapshot first = takeDownloadSnapshot(*image);
  EXPECT_TRUE(first.flags.keysChanged);
  EXPECT_TRUE(first.flags.winLockChanged);
  EXPECT_FALSE(first.flags.colorsChanged);
  EXPECT_FALSE(first.flags.profileSwitched);
  EXPECT_EQ(first.active->staticColor, 0x0000AAu);
  EXPECT_EQ(image->keyDirty[2][5], 0);
  EXPECT_EQ(image->reserved2, 0);

  // An apply lands while the first download runs: it must not change what
  // that download sends, and its flags wait for the next one.
  image->profiles[2].staticColor = 0x0000BB;
  image->customColorDirty[2] = 1;
  const auto running = encodeDownload(*first.active, first.flags, false);
  EXPECT_EQ(running[1].bytes, cmd({0x14, 0, 6, 0xAA, 0, 0, 0}));

  const DownloadSnapshot second = takeDownloadSnapshot(*image);
  EXPECT_FALSE(second.flags.keysChanged);
  EXPECT_TRUE(second.flags.colorsChanged);
  EXPECT_EQ(second.active->staticColor, 0x0000BBu);
  const DownloadSnapshot third = takeDownloadSnapshot(*image);
  EXPECT_FALSE(third.flags.colorsChanged);
}

TEST(DownloadSnapshot, ApplyThatReplacesTheWorkingCopyKeepsFlagsNotYetSent) {
  auto working = defaultImage();
  working->keyDirty[1][104] = 1;
  working->winLockDirty[0] = 1;
  working->profileSwitched = 1;
  auto received = defaultImage();
  received->profiles[0].staticColor = 0x0000CC;
  received->customColorDirty[0] = 1;

  keepPendingFlags(*working, *received);
  const DownloadFlags f = readDownloadFlags(*received);
  EXPECT_TRUE(f.keysChanged);
  EXPECT_TRUE(f.winLockChanged);
  EXPECT_TRUE(f.colorsChanged);
  EXPECT_TRUE(f.profileSwitched);
  EXPECT_EQ(received->keyDirty[1][104], 1);
  EXPECT_EQ(received->profiles[0].staticColor, 0x0000CCu);

  // Once a download has taken the flags, a later image brings only its own.
  takeDownloadSnapshot(*received);
  auto later = defaultImage();
  keepPendingFlags(*received, *later);
  const DownloadFlags none = readDownloadFlags(*later);
  EXPECT_FALSE(none.keysChanged || none.winLockChanged || none.colorsChanged || none.profileSwitched);
}

// Applies while the keyboard is away leave their flags: the arrival sends
// them, and sends nothing when nothing was applied. A download cut short by
// an unplug gives its flags back for the next arrival.
TEST(DownloadSnapshot, FlagsWaitForTheKeyboardAndACutDownloadGivesThemBack) {
  auto image = defaultImage();
  EXPECT_FALSE(hasPendingChanges(*image));
  image->effectDirty[3] = 1;  // lighting alone counts too
  EXPECT_TRUE(hasPendingChanges(*image));
  image->effectDirty[3] = 0;
  image->keyDirty[0][7] = 1;
  image->profileSwitched = 1;
  EXPECT_TRUE(hasPendingChanges(*image));

  const DownloadSnapshot cut = takeDownloadSnapshot(*image);
  EXPECT_FALSE(hasPendingChanges(*image));
  image->customColorDirty[1] = 1;  // an apply during the cut download
  returnFlags(cut, *image);
  EXPECT_EQ(image->keyDirty[0][7], 1);
  EXPECT_EQ(image->profileSwitched, 1);
  EXPECT_EQ(image->customColorDirty[1], 1);
  const DownloadFlags again = takeDownloadSnapshot(*image).flags;
  EXPECT_TRUE(again.keysChanged && again.profileSwitched && again.colorsChanged);
  EXPECT_FALSE(hasPendingChanges(*image));

  // A snapshot of nothing gives nothing back.
  DownloadSnapshot none;
  returnFlags(none, *image);
  EXPECT_FALSE(hasPendingChanges(*image));
}
