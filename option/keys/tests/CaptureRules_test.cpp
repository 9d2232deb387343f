#include "CaptureRules.h"

#include <gtest/gtest.h>

#include <memory>

#include "FakeKeyboardLayout.h"
#include "KeyMessages.h"

namespace {

constexpr uint32_t kCtrl = 0xA2, kShift = 0xA0, kAlt = 0xA4, kEnter = 0x0D;

HookKeyEvent down(uint32_t vk, uint32_t flags = 0) { return {vk, flags}; }
HookKeyEvent up(uint32_t vk) { return {vk, kHookKeyReleased}; }

std::unique_ptr<EditEntry> combinationEntry() {
  auto entry = std::make_unique<EditEntry>();
  buildDefaultKey(*entry, 12);
  ChooseCategory(*entry, 2003);
  return entry;
}

}  // namespace

TEST(CombinationCapture, CtrlShiftAThenNothingMore) {
  const FakeUsLayout us;
  auto entry = combinationEntry();
  CombinationCapture capture;
  capture.Start(*entry);
  EXPECT_EQ(capture.OnHookKey(*entry, down(kCtrl), us), CaptureStep::Taken);
  EXPECT_EQ(capture.OnHookKey(*entry, down(kCtrl), us), CaptureStep::Ignored);  // auto-repeat
  EXPECT_EQ(capture.OnHookKey(*entry, up(kCtrl), us), CaptureStep::Ignored);
  EXPECT_EQ(capture.OnHookKey(*entry, down(kShift), us), CaptureStep::Taken);
  EXPECT_EQ(capture.OnHookKey(*entry, down('A'), us), CaptureStep::Finished);
  EXPECT_FALSE(capture.running());
  // Already queued behind A: not taken.
  EXPECT_EQ(capture.OnHookKey(*entry, down('B'), us), CaptureStep::Ignored);

  EXPECT_EQ(entry->functionCode, kFunctionCombination);
  EXPECT_EQ(entry->stepCount, 3);
  EXPECT_EQ(CombinationKeys(*entry), (std::vector<uint8_t>{224, 225, 4}));
  EXPECT_EQ(CombinationText(*entry, us), "L_Ctrl+L_Shift+A");
  EXPECT_EQ(CombinationTextOnRefresh(*entry, us), "L_Ctrl+L_Shift+A");
  EXPECT_EQ(
      CombinationPlayback(*entry),
      (std::vector<ComboEvent>{{224, true}, {225, true}, {4, true}, {224, false}, {225, false}, {4, false}}));
}

TEST(CombinationCapture, ThePageShowsWhatWasCapturedInThisRunWhateverTheKeyWas) {
  const FakeUsLayout us;
  auto entry = combinationEntry();
  // A macro key whose page switched to the combination category: its steps
  // are a recording, no combination.
  entry->functionCode = kFunctionRecordedMacro;
  entry->stepCount = 2;
  entry->steps[0] = MacroStep::make(4, kActionPress, 20);
  entry->steps[1] = MacroStep::make(4, kActionRelease, 0);
  EXPECT_EQ(CombinationTextOnRefresh(*entry, us), "");
  CombinationCapture capture;
  capture.Start(*entry);
  capture.OnHookKey(*entry, down(kAlt), us);
  capture.OnHookKey(*entry, down('B'), us);
  // Back on the page after another category's: the captured keys show.
  EXPECT_EQ(CombinationTextOnRefresh(*entry, us), "L_Alt+B");
}

TEST(CombinationCapture, StartClearsOnlyTheKeyBytesOfAnOlderCapture) {
  const FakeUsLayout us;
  auto entry = combinationEntry();
  for (int i = 0; i < kMaxMacroSteps; ++i)
    entry->steps[i] = MacroStep::make(uint8_t(30 + i), kActionPress, 7);
  CombinationCapture capture;
  capture.Start(*entry);
  EXPECT_EQ(entry->steps[8], MacroStep::make(0, kActionPress, 7));
  EXPECT_EQ(entry->steps[9], MacroStep::make(39, kActionPress, 7));
  EXPECT_EQ(capture.OnHookKey(*entry, down(0x70), us), CaptureStep::Finished);
  EXPECT_EQ(CombinationKeys(*entry), std::vector<uint8_t>{58});
  EXPECT_EQ(CombinationText(*entry, us), "F1");
}

TEST(CombinationCapture, PureSequences) {
  const FakeUsLayout us;
  // Extended Enter is the keypad's.
  EXPECT_EQ(CaptureCombination(std::vector{down(kEnter, kHookKeyExtended)}, us), std::vector<uint8_t>{88});
  EXPECT_EQ(CaptureCombination(std::vector{down(kEnter)}, us), std::vector<uint8_t>{40});
  // A key without a usage is skipped, not stored as an empty key.
  EXPECT_EQ(CaptureCombination(std::vector{down(kAlt), down(0x07), down(0x73)}, us),
            (std::vector<uint8_t>{226, 61}));
  // Eight modifiers and one key fill all nine places.
  const std::vector<HookKeyEvent> all{down(0xA2), down(0xA3), down(0xA0), down(0xA1), down(0xA4),
                                      down(0xA5), down(0x5B), down(0x5C), down('Z'),  down('X')};
  const std::vector<uint8_t> keys = CaptureCombination(all, us);
  ASSERT_EQ(keys.size(), 9u);
  EXPECT_EQ(keys.back(), 29);
  // Only releases: nothing.
  EXPECT_TRUE(CaptureCombination(std::vector{up('A'), up(kCtrl)}, us).empty());
}

TEST(CombinationCapture, StoppedCaptureTakesNothing) {
  const FakeUsLayout us;
  auto entry = combinationEntry();
  const uint8_t before = entry->functionCode;
  CombinationCapture capture;
  EXPECT_EQ(capture.OnHookKey(*entry, down('A'), us), CaptureStep::Ignored);
  capture.Start(*entry);
  capture.Stop();
  EXPECT_EQ(capture.OnHookKey(*entry, down('A'), us), CaptureStep::Ignored);
  EXPECT_EQ(entry->functionCode, before);
  EXPECT_EQ(entry->stepCount, 0);
}
