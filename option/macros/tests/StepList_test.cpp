#include <gtest/gtest.h>

#include "FakeKeyboardLayout.h"
#include "StepListRules.h"
#include "StepMenuRules.h"

namespace {

constexpr uint8_t kUsageA = 4, kUsageF1 = 58;

MacroSteps stepsOf(std::initializer_list<MacroStep> list) {
  MacroSteps s;
  for (MacroStep step : list) insertStep(s, -1, step);
  return s;
}
MacroSteps filled(int count) {
  MacroSteps s;
  for (int i = 0; i < count; ++i) insertStep(s, -1, MacroStep::make(kUsageA, kActionPress, 0));
  return s;
}
StepLineRef stepLine(int step) { return {step, false}; }
StepLineRef delayLine(int step) { return {step, true}; }

TEST(StepLines, TextsPicturesAndItemDataLeadBackToTheirSteps) {
  FakeUsLayout layout;
  const MacroSteps s = stepsOf(
      {MacroStep::make(kUsageA, kActionPress, 250), MacroStep::make(kUsageA, kActionRelease, 0),
       MacroStep::make(kMouseButton5, kActionPress, 0), MacroStep::make(kMouseLeft, kActionRelease, 65535),
       MacroStep::make(kUsageF1, kActionPress, 0)});
  const std::vector<StepLine> lines = stepLines(s, layout);
  const std::vector<std::pair<std::string, uint32_t>> expected{
      {"A", 1u << 16 | 138},           {"250 ms", 1u << 16 | 135},
      {"A", 2u << 16 | 137},           {"Button 5 Down", 3u << 16 | 146},
      {"L Button Up", 4u << 16 | 146}, {"65535 ms", 4u << 16 | 135},
      {"F1", 5u << 16 | 138}};
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].text, expected[i].first) << i;
    EXPECT_EQ(lines[i].itemData, expected[i].second) << i;
    // Every line maps back to the line the rules say it is.
    const StepLineRef ref = stepLineRef(lines[i].itemData);
    EXPECT_EQ(ref.delayLine ? lineOfDelay(s, ref.step) : lineOfStep(s, ref.step), int(i)) << i;
  }
  EXPECT_EQ(lineOfDelay(s, 1), -1);
  EXPECT_EQ(lineOfStep(s, 5), -1);
  EXPECT_EQ(stepLineRef(0).step, -1);
}

TEST(StepLines, CaretStaysOnTheChangedLineAndTheListScrollsTheNextTwoIntoView) {
  EXPECT_EQ(caretAfterRebuild(-1, 0), -1);
  EXPECT_EQ(caretAfterRebuild(-1, 10), 9);  // nothing changed: the last line
  // Anywhere in the list, not two lines further on: the next Delete must
  // remove the step the user sees chosen.
  for (int line = 0; line < 10; ++line) EXPECT_EQ(caretAfterRebuild(line, 10), line);
  EXPECT_EQ(caretAfterRebuild(25, 10), 9);

  // 30 lines, 8 in view from the top.
  EXPECT_EQ(topLineShowingCaret(3, 30, 8, 0), 0);  // already in view with two after it
  EXPECT_EQ(topLineShowingCaret(6, 30, 8, 0), 1);  // line 8 comes into view
  EXPECT_EQ(topLineShowingCaret(20, 30, 8, 0), 15);
  EXPECT_EQ(topLineShowingCaret(29, 30, 8, 0), 22);  // the last: nothing after it
  EXPECT_EQ(topLineShowingCaret(4, 30, 8, 15), 4);   // above the view: to the top
  EXPECT_EQ(topLineShowingCaret(5, 6, 8, 3), 0);     // all lines fit
  EXPECT_EQ(topLineShowingCaret(5, 30, 1, 0), 5);    // one line in view: the caret's
  EXPECT_EQ(topLineShowingCaret(-1, 0, 8, 4), 0);
}

TEST(StepMenu, StructureIdsAndMouseCommands) {
  const std::vector<StepMenuItem> menu = stepMenu(true, filled(2), stepLine(1));
  std::vector<int> top;
  for (const StepMenuItem& m : menu) top.push_back(m.command ? m.command : m.textId);
  EXPECT_EQ(top, (std::vector<int>{1001, 1002, 1003, 1058, 1004, 1005}));
  const StepMenuItem& mouse = menu[3];
  ASSERT_EQ(mouse.children.size(), 5u);
  const int buttonTexts[] = {1059, 1060, 1061, 1062, 1063};
  const uint8_t buttons[] = {240, 241, 242, 244, 243};
  for (int b = 0; b < 5; ++b) {
    EXPECT_EQ(mouse.children[b].textId, buttonTexts[b]);
    ASSERT_EQ(mouse.children[b].children.size(), 3u);
    for (int k = 0; k < 3; ++k) {
      const StepMenuItem& item = mouse.children[b].children[k];
      EXPECT_EQ(item.command, 1020 + 3 * b + k);
      EXPECT_EQ(item.textId, 1064 + k);
      const auto insertion = mouseInsertionOf(item.command);
      ASSERT_TRUE(insertion);
      EXPECT_EQ(insertion->code, buttons[b]);
      EXPECT_EQ(int(insertion->kind), k);
    }
  }
  EXPECT_FALSE(mouseInsertionOf(1019));
  EXPECT_FALSE(mouseInsertionOf(1035));
  EXPECT_FALSE(stepMenuOpens(true));
  EXPECT_TRUE(stepMenuOpens(false));
}

TEST(StepMenu, EnablingFollowsWhatAnEntryCanDo) {
  auto enabled = [](const std::vector<StepMenuItem>& menu, int command) {
    for (const StepMenuItem& m : menu) {
      if (m.command == command) return m.enabled;
      for (const StepMenuItem& b : m.children)
        for (const StepMenuItem& e : b.children)
          if (e.command == command) return e.enabled;
    }
    ADD_FAILURE() << command;
    return false;
  };
  const int leftClick = mouseCommand(kMouseLeft, MouseInsertKind::Click);
  const int leftPress = mouseCommand(kMouseLeft, MouseInsertKind::Press);

  MacroSteps s = filled(39);
  setStepDelay(s, 2, 10);
  auto menu = stepMenu(true, s, stepLine(3));  // previous step waits already
  EXPECT_FALSE(enabled(menu, kCmdInsertDelay));
  EXPECT_FALSE(enabled(menu, kCmdEditDelay));
  EXPECT_TRUE(enabled(menu, kCmdDeleteStep));
  EXPECT_TRUE(enabled(menu, leftPress));
  EXPECT_FALSE(enabled(menu, leftClick));  // a click needs two steps

  menu = stepMenu(true, s, delayLine(2));
  EXPECT_TRUE(enabled(menu, kCmdEditDelay));
  EXPECT_FALSE(enabled(menu, kCmdInsertDelay));

  menu = stepMenu(true, filled(40), StepLineRef{});
  EXPECT_FALSE(enabled(menu, kCmdRecordBefore));
  EXPECT_FALSE(enabled(menu, leftPress));
  EXPECT_FALSE(enabled(menu, kCmdDeleteStep));

  // Without a macro every entry can be chosen, to bring up the warning.
  menu = stepMenu(false, MacroSteps{}, StepLineRef{});
  for (int c : {1001, 1002, 1003, 1004, 1005, 1020, 1034}) EXPECT_TRUE(enabled(menu, c)) << c;
}

TEST(StepEdits, InsertDelayOnlyBehindAStepThatDoesNotWait) {
  MacroSteps s = filled(3);
  EXPECT_FALSE(insertDelay(s, stepLine(0)));  // first step
  EXPECT_TRUE(insertDelay(s, stepLine(2)));
  EXPECT_EQ(s.steps[1].delayMs(), 1);
  EXPECT_FALSE(insertDelay(s, stepLine(2)));  // already waits
  EXPECT_FALSE(insertDelay(s, delayLine(1)));
  EXPECT_FALSE(insertDelay(s, stepLine(7)));
}

TEST(StepEdits, EditDelayClampsToOneUpTo65535) {
  MacroSteps s = filled(2);
  setStepDelay(s, 0, 1);
  struct Case {
    const char* typed;
    int value;
    bool clamped;
  } cases[] = {{"250", 250, false},     {"250 ms", 250, false},
               {"65535", 65535, false}, {"65536", 65535, true},
               {"0", 1, true},          {"-7", 1, true},
               {"", 1, true},           {"99999999999999999999", 65535, true}};
  for (const Case& c : cases) {
    const ClampedNumber r = editDelay(s, delayLine(0), c.typed);
    EXPECT_EQ(r.value, c.value) << c.typed;
    EXPECT_EQ(r.clamped, c.clamped) << c.typed;
    EXPECT_EQ(s.steps[0].delayMs(), c.value) << c.typed;
  }
  editDelay(s, delayLine(1), "40");  // step 1 has no delay line
  EXPECT_EQ(s.steps[1].delayMs(), 0);
}

TEST(StepEdits, DeleteRemovesAStepOrItsDelay) {
  MacroSteps s = stepsOf({MacroStep::make(4, kActionPress, 9), MacroStep::make(5, kActionPress, 0),
                          MacroStep::make(6, kActionPress, 0)});
  EXPECT_TRUE(deleteAtLine(s, delayLine(0)));
  EXPECT_EQ(s.steps[0], MacroStep::make(4, kActionPress, 0));
  EXPECT_FALSE(deleteAtLine(s, delayLine(0)));
  EXPECT_TRUE(deleteAtLine(s, stepLine(1)));
  ASSERT_EQ(s.count, 2);
  EXPECT_EQ(s.steps[1].code(), 6);
  EXPECT_EQ(s.steps[2].word, 0u);  // the freed slot holds nothing
  EXPECT_FALSE(deleteAtLine(s, StepLineRef{}));
}

TEST(StepEdits, MouseButtonsGoBeforeTheSelectionAndAClickNeedsTwoSteps) {
  MacroSteps s = filled(2);
  EXPECT_TRUE(insertMouseButton(s, stepLine(1), mouseCommand(kMouseRight, MouseInsertKind::Click)));
  ASSERT_EQ(s.count, 4);
  EXPECT_EQ(s.steps[1], MacroStep::make(kMouseRight, kActionPress, 0));
  EXPECT_EQ(s.steps[2], MacroStep::make(kMouseRight, kActionRelease, 0));
  EXPECT_TRUE(insertMouseButton(s, StepLineRef{}, mouseCommand(kMouseButton4, MouseInsertKind::Release)));
  EXPECT_EQ(s.steps[4], MacroStep::make(kMouseButton4, kActionRelease, 0));

  MacroSteps nearlyFull = filled(39);
  const MacroSteps before = nearlyFull;
  EXPECT_FALSE(insertMouseButton(nearlyFull, stepLine(0), mouseCommand(kMouseLeft, MouseInsertKind::Click)));
  EXPECT_EQ(nearlyFull.count, 39);
  EXPECT_EQ(nearlyFull.steps[0], before.steps[0]);
  EXPECT_TRUE(insertMouseButton(nearlyFull, stepLine(0), mouseCommand(kMouseLeft, MouseInsertKind::Press)));
  EXPECT_FALSE(insertMouseButton(nearlyFull, stepLine(0), mouseCommand(kMouseLeft, MouseInsertKind::Press)));
  EXPECT_EQ(nearlyFull.count, kMaxMacroSteps);
  EXPECT_FALSE(insertMouseButton(s, stepLine(0), kCmdDeleteStep));
}

}  // namespace
