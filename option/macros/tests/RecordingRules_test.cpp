#include "RecordingRules.h"

#include <gtest/gtest.h>

#include "FakeKeyboardLayout.h"

namespace {

constexpr uint32_t kVkA = 'A', kVkB = 'B', kVkShift = 0xA0, kVkUnknown = 0xFF;
constexpr uint8_t kUsageA = 4, kUsageB = 5, kUsageEnter = 40, kUsageKeypadEnter = 88, kUsageLShift = 225;

HookEvent down(uint32_t vk, uint32_t tick) { return hookEventFromMessage(vk, 0, tick); }
HookEvent up(uint32_t vk, uint32_t tick) { return hookEventFromMessage(vk, kHookFlagReleased, tick); }

MacroSteps stepsOfCodes(std::initializer_list<uint8_t> codes) {
  MacroSteps s;
  for (uint8_t c : codes) insertStep(s, kAppend, MacroStep::make(c, kActionPress, 0));
  return s;
}

class RecordingTest : public ::testing::Test {
 protected:
  MacroSteps record(bool delays, const std::vector<HookEvent>& events) {
    MacroSteps steps = stepsOfCodes({9, 9, 9});  // the Record button throws these away
    Recording rec = startRecording(steps, delays);
    return recordAll(steps, rec, events, layout_);
  }
  FakeUsLayout layout_;
};

TEST_F(RecordingTest, HeldKeyGivesOnePressAndItsRelease) {
  const MacroSteps s = record(false, {down(kVkA, 0), down(kVkA, 30), down(kVkA, 60), up(kVkA, 90)});
  ASSERT_EQ(s.count, 2);
  EXPECT_EQ(s.steps[0], MacroStep::make(kUsageA, kActionPress, 0));
  EXPECT_EQ(s.steps[1], MacroStep::make(kUsageA, kActionRelease, 0));
}

TEST_F(RecordingTest, DelaysOnlyWhenAskedAndCappedOnThePreviousStep) {
  const std::vector<HookEvent> events{down(kVkA, 1000), up(kVkA, 1120), down(kVkB, 1120 + 70000),
                                      up(kVkB, 1120 + 70000)};
  const MacroSteps off = record(false, events);
  ASSERT_EQ(off.count, 4);
  for (int i = 0; i < off.count; ++i) EXPECT_EQ(off.steps[i].delayMs(), 0) << i;

  const MacroSteps on = record(true, events);
  ASSERT_EQ(on.count, 4);
  EXPECT_EQ(on.steps[0].delayMs(), 120);
  EXPECT_EQ(on.steps[1].delayMs(), kMaxStepDelayMs);  // a pause over 65.5 s
  EXPECT_EQ(on.steps[2].delayMs(), 0);
  EXPECT_EQ(on.steps[3].delayMs(), 0);  // nothing follows the last step
}

TEST_F(RecordingTest, TickCountWrapKeepsTheRealPause) {
  const MacroSteps s = record(true, {down(kVkA, 0xFFFFFFF0u), up(kVkA, 0x10)});
  ASSERT_EQ(s.count, 2);
  EXPECT_EQ(s.steps[0].delayMs(), 0x20);
}

TEST_F(RecordingTest, ExtendedEnterIsTheKeypadEnter) {
  const MacroSteps s = record(
      false, {hookEventFromMessage(kVkReturn, kHookFlagExtended, 0),
              hookEventFromMessage(kVkReturn, kHookFlagExtended | kHookFlagReleased, 0), down(kVkReturn, 0)});
  ASSERT_EQ(s.count, 3);
  EXPECT_EQ(s.steps[0].code(), kUsageKeypadEnter);
  EXPECT_EQ(s.steps[1].code(), kUsageKeypadEnter);
  EXPECT_EQ(s.steps[2].code(), kUsageEnter);
}

TEST_F(RecordingTest, KeysWithoutCodeAreLeftOutAndDoNotBreakRepeatDetection) {
  const MacroSteps s =
      record(true, {down(kVkShift, 0), down(kVkUnknown, 10), down(kVkShift, 20), up(kVkShift, 50)});
  ASSERT_EQ(s.count, 2);
  EXPECT_EQ(s.steps[0], MacroStep::make(kUsageLShift, kActionPress, 50));
  EXPECT_EQ(s.steps[1].action(), kActionRelease);
}

TEST_F(RecordingTest, StopsAtFortySteps) {
  MacroSteps steps;
  Recording rec = startRecording(steps, false);
  int stored = 0;
  RecordOutcome last = RecordOutcome::Stored;
  for (int i = 0; i < 50 && last != RecordOutcome::Full; ++i, ++stored)
    last = recordEvent(rec, steps, i % 2 ? up(kVkA, 0) : down(kVkA, 0), layout_);
  EXPECT_EQ(stored, kMaxMacroSteps);
  EXPECT_EQ(steps.count, kMaxMacroSteps);
  EXPECT_EQ(recordEvent(rec, steps, down(kVkB, 0), layout_), RecordOutcome::Full);
  EXPECT_EQ(steps.count, kMaxMacroSteps);
  EXPECT_FALSE(canRecordInto(steps));
}

TEST_F(RecordingTest, RecordBeforeAndAfterInsertInOrderAndTimeTheInsertedSteps) {
  MacroSteps steps = stepsOfCodes({30, 31, 32});
  setStepDelay(steps, 0, 500);

  Recording before = startRecordingBefore(steps, 1, true);
  steps = recordAll(steps, before, {down(kVkA, 100), down(kVkB, 130)}, layout_);
  ASSERT_EQ(steps.count, 5);
  EXPECT_EQ(steps.steps[0], MacroStep::make(30, kActionPress, 500));  // the first event has no pause
  EXPECT_EQ(steps.steps[1], MacroStep::make(kUsageA, kActionPress, 30));
  EXPECT_EQ(steps.steps[2], MacroStep::make(kUsageB, kActionPress, 0));
  EXPECT_EQ(steps.steps[3].code(), 31);

  Recording after = startRecordingAfter(steps, 4, false);  // after the last: append
  EXPECT_EQ(after.insertAt, kAppend);
  Recording afterFirst = startRecordingAfter(steps, 0, false);
  EXPECT_EQ(afterFirst.insertAt, 1);
  Recording nothingSelected = startRecordingBefore(steps, -1, false);
  EXPECT_EQ(nothingSelected.insertAt, kAppend);
}

TEST_F(RecordingTest, RecordBeforeOnAFullMacroStoresNothing) {
  MacroSteps steps;
  for (int i = 0; i < kMaxMacroSteps; ++i) insertStep(steps, kAppend, MacroStep::make(4, kActionPress, 0));
  const MacroSteps before = steps;
  Recording rec = startRecordingBefore(steps, 3, true);
  EXPECT_EQ(recordEvent(rec, steps, down(kVkB, 5), layout_), RecordOutcome::Full);
  EXPECT_EQ(steps.count, kMaxMacroSteps);
  EXPECT_EQ(steps.steps[3], before.steps[3]);
}

}  // namespace
