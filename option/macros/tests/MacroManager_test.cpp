#include <gtest/gtest.h>

#include <cstring>

#include "FakeKeyboardLayout.h"
#include "MacroManagerRules.h"
#include "StepMenuRules.h"

namespace {

constexpr uint32_t kVkA = 'A', kVkB = 'B';

MacroRecord named(const char* name) {
  MacroRecord r{};
  std::strcpy(r.name, name);
  return r;
}
HookEvent down(uint32_t vk, uint32_t tick) { return hookEventFromMessage(vk, 0, tick); }
HookEvent up(uint32_t vk, uint32_t tick) { return hookEventFromMessage(vk, kHookFlagReleased, tick); }

class MacroManagerTest : public ::testing::Test {
 protected:
  MacroLibrary library_{named("Jump"), named("Dash")};
  MacroManagerSession session_{library_};
  FakeUsLayout layout_;
};

TEST_F(MacroManagerTest, WithoutAMacroEveryEditOnlyWarns) {
  MacroLibrary empty;
  MacroManagerSession session(empty);
  session.open(KeyAssignment{});
  EXPECT_EQ(session.current(), -1);
  EXPECT_EQ(session.repeat().count, 1);
  EXPECT_EQ(session.startRecording(), ManagerStatus::NoMacro);
  EXPECT_FALSE(session.recording());
  EXPECT_EQ(session.runStepCommand(kCmdInsertDelay, {}), ManagerStatus::NoMacro);
  EXPECT_EQ(session.runStepCommand(kCmdMouseFirst, {}), ManagerStatus::NoMacro);
  EXPECT_EQ(session.commitDelayEdit({0, true}, "5", nullptr), ManagerStatus::NoMacro);
  EXPECT_EQ(session.deleteCurrent(), -1);
}

TEST_F(MacroManagerTest, RecordingWritesEveryStepBackAndStopsItselfAtForty) {
  KeyAssignment key{};
  key.functionCode = kFunctionRecordedMacro;
  std::strcpy(key.macroName, "dash");
  session_.open(key);
  ASSERT_EQ(session_.current(), 1);

  session_.setRecordDelays(true);
  ASSERT_EQ(session_.startRecording(), ManagerStatus::Done);
  EXPECT_FALSE(session_.stepMenuOpens());
  session_.onHookKey(down(kVkA, 100), layout_);
  session_.onHookKey(down(kVkA, 130), layout_);  // auto-repeat
  session_.onHookKey(up(kVkA, 180), layout_);
  EXPECT_EQ(library_[1].stepCount, 2);
  EXPECT_EQ(library_[1].steps[0], MacroStep::make(4, kActionPress, 80));
  EXPECT_EQ(session_.changedLine(), 2);  // the release, below its press's delay line

  RecordOutcome last = RecordOutcome::Stored;
  for (int i = 0; last != RecordOutcome::Full && i < 100; ++i)
    last = session_.onHookKey(i % 2 ? up(kVkB, 200 + i) : down(kVkB, 200 + i), layout_);
  EXPECT_EQ(last, RecordOutcome::Full);
  EXPECT_FALSE(session_.recording());
  EXPECT_EQ(library_[1].stepCount, kMaxMacroSteps);
  // A key still queued after the stop records nothing.
  EXPECT_EQ(session_.onHookKey(down(kVkA, 999), layout_), RecordOutcome::Dropped);
  EXPECT_EQ(session_.startRecordingAfter({3, false}), ManagerStatus::Full);
  EXPECT_EQ(session_.runStepCommand(mouseCommand(kMouseLeft, MouseInsertKind::Press), {}),
            ManagerStatus::Full);
  // The Record button starts over, so a full macro can be recorded again.
  EXPECT_EQ(session_.startRecording(), ManagerStatus::Done);
  EXPECT_EQ(library_[1].stepCount, 0);
}

TEST_F(MacroManagerTest, StepEditsReachTheRecordAndMoveTheCaret) {
  session_.select(0);
  session_.runStepCommand(mouseCommand(kMouseMiddle, MouseInsertKind::Click), {});
  session_.runStepCommand(mouseCommand(kMouseLeft, MouseInsertKind::Press), {1, false});
  ASSERT_EQ(library_[0].stepCount, 3);
  EXPECT_EQ(library_[0].steps[1], MacroStep::make(kMouseLeft, kActionPress, 0));
  EXPECT_EQ(session_.changedLine(), 1);

  EXPECT_EQ(session_.runStepCommand(kCmdInsertDelay, {2, false}), ManagerStatus::Done);
  EXPECT_EQ(session_.changedLine(), 2);
  ClampedNumber shown;
  EXPECT_EQ(session_.commitDelayEdit({1, true}, "70000", &shown), ManagerStatus::Done);
  EXPECT_TRUE(shown.clamped);
  EXPECT_EQ(library_[0].steps[1].delayMs(), 65535);
  EXPECT_EQ(session_.runStepCommand(kCmdInsertDelay, {0, false}), ManagerStatus::Unchanged);

  EXPECT_EQ(session_.runStepCommand(kCmdDeleteStep, {0, false}), ManagerStatus::Done);
  EXPECT_EQ(library_[0].stepCount, 2);
  EXPECT_EQ(library_[0].steps[0].code(), kMouseLeft);
}

TEST_F(MacroManagerTest, NamesRepeatAndDeletion) {
  session_.select(0);
  session_.setRepeatOn(true);
  EXPECT_TRUE(session_.setRepeatCountText("300").clamped);
  EXPECT_EQ(library_[0].repeatCount, 255);
  session_.setRepeatOn(false);
  EXPECT_EQ(library_[0].repeatCount, 1);

  const auto refused = session_.commitNewLine(" JUMP ");
  EXPECT_FALSE(refused.accepted);
  EXPECT_EQ(refused.select, 1);  // the line above the removed new one
  EXPECT_EQ(session_.current(), 1);
  const auto added = session_.commitNewLine("Reload");
  EXPECT_TRUE(added.accepted);
  EXPECT_EQ(added.select, 2);
  EXPECT_EQ(session_.steps().count, 0);

  EXPECT_FALSE(session_.commitRename(2, "dash").accepted);
  EXPECT_TRUE(session_.commitRename(2, "Reload2").accepted);
  EXPECT_STREQ(library_[2].name, "Reload2");

  EXPECT_EQ(session_.deleteCurrent(), 1);
  EXPECT_EQ(session_.deleteCurrent(), 0);
  EXPECT_EQ(session_.deleteCurrent(), -1);
  EXPECT_TRUE(library_.empty());
}

TEST_F(MacroManagerTest, TheRenamedLineBecomesTheCurrentMacro) {
  session_.select(0);
  session_.setRepeatOn(true);
  session_.setRepeatCountText("9");
  // The editor was open over Dash while Jump was current: the rename and
  // what follows act on Dash, the line the user sees.
  const auto renamed = session_.commitRename(1, "Sprint");
  EXPECT_TRUE(renamed.accepted);
  EXPECT_EQ(renamed.select, 1);
  EXPECT_EQ(session_.current(), 1);
  EXPECT_STREQ(library_[0].name, "Jump");
  EXPECT_STREQ(library_[1].name, "Sprint");
  ASSERT_EQ(session_.startRecording(), ManagerStatus::Done);
  session_.onHookKey(down(kVkA, 10), layout_);
  session_.stopRecording();
  EXPECT_EQ(library_[1].stepCount, 1);
  EXPECT_EQ(library_[0].repeatCount, 9);
  EXPECT_EQ(session_.commitRename(7, "Nowhere").accepted, false);
  EXPECT_EQ(session_.current(), 1);

  const RenameMap map = session_.renames();
  ASSERT_EQ(map.size(), 1u);
  EXPECT_EQ(map[0].from, "Dash");
  EXPECT_EQ(map[0].to, "Sprint");
}

TEST_F(MacroManagerTest, AnEmptiedCountWaitsForTheNumberAndIsClampedWhenLeft) {
  session_.select(1);
  session_.setRepeatOn(true);
  session_.setRepeatCountText("12");
  EXPECT_FALSE(session_.repeatCountTyped("").has_value());  // nothing put back
  EXPECT_EQ(library_[1].repeatCount, 12);
  ASSERT_TRUE(session_.repeatCountTyped("7").has_value());
  EXPECT_EQ(library_[1].repeatCount, 7);
  EXPECT_TRUE(session_.repeatCountTyped("900")->clamped);
  EXPECT_EQ(library_[1].repeatCount, 255);
  // Left empty: the field and the record take the lowest count.
  const ClampedNumber left = session_.setRepeatCountText("");
  EXPECT_TRUE(left.clamped);
  EXPECT_EQ(left.value, 1);
  EXPECT_EQ(library_[1].repeatCount, 1);
}

}  // namespace

TEST_F(MacroManagerTest, ANewMacroWithoutStepsIsHeldBackUntilItHasSomeOrGoes) {
  session_.open(KeyAssignment{});
  // Macros of the file without steps are the file's; only this run's count.
  EXPECT_EQ(session_.emptyNewMacro(), -1);
  ASSERT_TRUE(session_.commitNewLine("Reload").accepted);
  ASSERT_TRUE(session_.commitNewLine("Crouch").accepted);
  EXPECT_EQ(session_.emptyNewMacro(), 2);
  session_.select(2);
  ASSERT_EQ(session_.startRecording(), ManagerStatus::Done);
  session_.onHookKey(down(kVkA, 100), layout_);
  session_.onHookKey(up(kVkA, 150), layout_);
  session_.stopRecording();
  EXPECT_EQ(session_.emptyNewMacro(), 3);  // Crouch now
  session_.select(3);
  session_.deleteCurrent();
  EXPECT_EQ(session_.emptyNewMacro(), -1);
}
