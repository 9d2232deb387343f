#include "TextMacroPlayer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#if !defined(_WIN32)
#include <thread>
#endif

#include "FakeKeyboardLayout.h"

using namespace player;

namespace {

TextMacroFields fields(int mode, int trigger, int count = 1) {
  TextMacroFields f;
  f.playMode = mode;
  f.triggerMode = trigger;
  f.playCount = count;
  return f;
}

KeyAssignment textKey(int mode, int trigger, const char* text, int count = 1) {
  KeyAssignment k{};
  buildDefaultKey(k, 7);
  k.category = kCategoryMacro;
  k.functionCode = kFunctionTextMacro;
  k.playMode = mode;
  k.triggerMode = trigger;
  k.playCount = count;
  std::strncpy(k.textMacroText, text, sizeof k.textMacroText - 1);
  return k;
}

// Records what a playback does; hooks let a test act in the middle of a pass.
class RecordingOutput : public MacroOutput {
 public:
  void typeKey(uint8_t code) override { log.push_back("key " + std::to_string(code)); }
  void wait(int ms) override { log.push_back("wait " + std::to_string(ms)); }
  bool setClipboard(const std::string& text) override {
    if (!clipboardOpens) return false;
    log.push_back("clip " + text);
    ++sequence;
    return true;
  }
  uint32_t clipboardSequence() override { return sequence; }
  void paste() override {
    log.push_back("paste");
    ++pastes;
    if (onPaste) onPaste(pastes);
  }
  void trace(const std::string& line) override { traces.push_back(line); }

  std::vector<std::string> log;
  std::vector<std::string> traces;
  uint32_t sequence = 100;
  bool clipboardOpens = true;
  int pastes = 0;
  std::function<void(int)> onPaste;
};

int count(const std::vector<std::string>& v, const std::string& s) {
  return int(std::count(v.begin(), v.end(), s));
}

}  // namespace

TEST(TriggerRules, PlayOnce) {
  TriggerActions a = decideTrigger(fields(kPlayOnce, 0), 0, false);
  EXPECT_TRUE(a.post && a.clearStop && !a.setStop);
  EXPECT_EQ(a.passCount, 1);
  EXPECT_EQ(a.traces, std::vector<std::string>{"output0 success!\n"});
  a = decideTrigger(fields(kPlayOnce, 0), 1, true);  // the release while the pass runs
  EXPECT_TRUE(a.setStop && !a.post);
  a = decideTrigger(fields(kPlayOnce, 0), 1, false);
  EXPECT_FALSE(a.post || a.setStop || a.clearStop);
  EXPECT_EQ(a.passCount, 1);
  a = decideTrigger(fields(kPlayOnce, 1), 1, false);
  EXPECT_TRUE(a.post);
}

TEST(TriggerRules, PlayNTimesNeverStops) {
  TriggerActions a = decideTrigger(fields(kPlayNTimes, 1, 4), 1, true);
  EXPECT_TRUE(a.post && a.clearStop && !a.setStop);
  EXPECT_EQ(a.passCount, 4);
  EXPECT_EQ(a.traces, (std::vector<std::string>{"g_iFlag=1\n", "g_iFlag=1\n", "output1 success!\n"}));
  a = decideTrigger(fields(kPlayNTimes, 1, 4), 0, false);
  EXPECT_FALSE(a.post || a.setStop || a.clearStop || a.passCount);
}

TEST(TriggerRules, WhilePressedAndToggle) {
  TriggerActions a = decideTrigger(fields(kPlayWhilePressed, 1), 0, true);
  EXPECT_TRUE(a.post && a.clearStop);
  EXPECT_EQ(a.traces, std::vector<std::string>{"output2 success!\n"});
  a = decideTrigger(fields(kPlayWhilePressed, 0), 1, true);
  EXPECT_TRUE(a.setStop && !a.post);

  a = decideTrigger(fields(kPlayToggle, 0), 0, false);
  EXPECT_TRUE(a.post && a.clearStop);
  EXPECT_EQ(a.traces, std::vector<std::string>{"output3 success!\n"});
  a = decideTrigger(fields(kPlayToggle, 0), 0, true);
  EXPECT_TRUE(a.setStop && !a.post);
  a = decideTrigger(fields(kPlayToggle, 0), 1, true);
  EXPECT_FALSE(a.post || a.setStop || a.clearStop);

  a = decideTrigger(fields(7, 0), 0, false);
  EXPECT_FALSE(a.post || a.setStop || a.clearStop || a.passCount);
}

TEST(TextMacroPlayback, OnePassTypesKeysPastesAndIgnoresOtherFunctions) {
  TextMacroPlayer p;
  KeyAssignment other = textKey(kPlayOnce, 0, "x");
  other.functionCode = kFunctionLaunch;
  EXPECT_FALSE(p.trigger(other, 0).post);

  KeyAssignment k = textKey(kPlayOnce, 0, "hello");
  k.keyBefore = 40;
  k.keyAfter = kMouseLeft;
  k.textDelayMs = 25;
  k.repeatDelayMs = 500;
  ASSERT_TRUE(p.trigger(k, 0).post);
  RecordingOutput out;
  bool playingDuringPass = false;
  out.onPaste = [&](int) {
    playingDuringPass = p.playing();
    EXPECT_TRUE(p.trigger(k, 1).setStop);  // the release arrives mid-pass
  };
  p.play(out);
  EXPECT_TRUE(playingDuringPass);
  EXPECT_FALSE(p.playing());
  EXPECT_EQ(out.log, (std::vector<std::string>{"key 40", "wait 25", "clip hello", "paste", "key 240"}));
  EXPECT_EQ(out.traces, std::vector<std::string>{kTracePaste});
}

TEST(TextMacroPlayback, NTimesCountsPassesAndTraces) {
  TextMacroPlayer p;
  KeyAssignment k = textKey(kPlayNTimes, 0, "abc", 3);
  k.repeatDelayMs = 40;
  ASSERT_TRUE(p.trigger(k, 0).post);
  RecordingOutput out;
  p.play(out);
  EXPECT_EQ(out.pastes, 3);
  EXPECT_EQ(count(out.log, "wait 40"), 2);
  EXPECT_EQ(count(out.log, "clip abc"), 1);
  EXPECT_EQ(out.traces[1], "g_iLoppTimes=2\n");
  EXPECT_EQ(out.traces[2], "g_iFlag=0\n");
  EXPECT_EQ(out.traces[3], "g_iTriggerMode=0\n");
  EXPECT_EQ(out.traces.back(), "g_iTriggerMode=0\n");
  EXPECT_EQ(count(out.traces, "g_iLoppTimes=0\n"), 1);
}

TEST(TextMacroPlayback, NTimesWithADamagedCountPlaysOnePass) {
  // The lowest int as count: the pass count must not wrap to the highest.
  TextMacroPlayer p;
  KeyAssignment k = textKey(kPlayNTimes, 0, "abc", INT32_MIN);
  ASSERT_TRUE(p.trigger(k, 0).post);
  RecordingOutput out;
  p.play(out);
  EXPECT_EQ(out.pastes, 1);
}

TEST(TextMacroPlayback, ToggleAndWhilePressedStopAfterTheCurrentPass) {
  TextMacroPlayer toggle;
  KeyAssignment k = textKey(kPlayToggle, 0, "t");
  ASSERT_TRUE(toggle.trigger(k, 0).post);
  RecordingOutput out;
  out.onPaste = [&](int n) {
    if (n == 1) {
      EXPECT_FALSE(toggle.trigger(k, 1).setStop);  // release: not the trigger
    }
    if (n == 4) {
      EXPECT_TRUE(toggle.trigger(k, 0).setStop);
    }
  };
  toggle.play(out);
  EXPECT_EQ(out.pastes, 4);
  EXPECT_EQ(out.log.back(), "paste");

  TextMacroPlayer held;
  KeyAssignment h = textKey(kPlayWhilePressed, 0, "h");
  h.keyAfter = 44;
  ASSERT_TRUE(held.trigger(h, 0).post);
  RecordingOutput heldOut;
  heldOut.onPaste = [&](int n) {
    if (n == 3) held.trigger(h, 1);
  };
  held.play(heldOut);
  EXPECT_EQ(heldOut.pastes, 3);
  EXPECT_EQ(heldOut.log.back(), "key 44");  // the key after still follows the last paste
}

TEST(TextMacroPlayback, NewTriggerReplacesWhatTheNextPassUses) {
  TextMacroPlayer p;
  KeyAssignment first = textKey(kPlayNTimes, 0, "one", 2);
  KeyAssignment second = textKey(kPlayNTimes, 0, "two", 2);
  ASSERT_TRUE(p.trigger(first, 0).post);
  RecordingOutput out;
  out.onPaste = [&](int n) {
    if (n == 1) {
      EXPECT_TRUE(p.trigger(second, 0).post);  // queued, count back to 2
    }
  };
  p.play(out);
  // The running playback goes on with the new text and the reset count.
  EXPECT_EQ(out.pastes, 2);
  EXPECT_EQ(count(out.log, "clip one"), 1);
  EXPECT_EQ(count(out.log, "clip two"), 1);
  out.onPaste = nullptr;
  p.play(out);  // the queued message: one more pass, the count is used up
  EXPECT_EQ(out.pastes, 3);
  EXPECT_EQ(count(out.log, "clip two"), 1);
}

TEST(ClipboardRule, PlacesOnlyWhenNeeded) {
  TextMacroPlayer p;
  RecordingOutput out;
  // Nothing placed yet: whatever the clipboard holds is not the macro's
  // text, not even when that text is the initial sample.
  p.trigger(textKey(kPlayOnce, 0, kSampleClipboardText), 0);
  p.play(out);
  EXPECT_EQ(count(out.log, std::string("clip ") + kSampleClipboardText), 1);

  p.trigger(textKey(kPlayOnce, 0, "same"), 0);
  p.play(out);
  p.trigger(textKey(kPlayOnce, 0, "same"), 0);
  p.play(out);
  EXPECT_EQ(count(out.log, "clip same"), 1);  // untouched clipboard: left alone

  out.sequence += 5;  // the user copied something meanwhile
  p.trigger(textKey(kPlayOnce, 0, "same"), 0);
  p.play(out);
  EXPECT_EQ(count(out.log, "clip same"), 2);

  out.clipboardOpens = false;
  p.trigger(textKey(kPlayOnce, 0, "locked"), 0);
  p.play(out);
  EXPECT_EQ(out.pastes, 5);  // pasted anyway
  out.clipboardOpens = true;
  p.trigger(textKey(kPlayOnce, 0, "locked"), 0);
  p.play(out);
  EXPECT_EQ(count(out.log, "clip locked"), 1);  // tried again

  p.trigger(textKey(kPlayOnce, 0, ""), 0);
  const size_t before = out.log.size();
  p.play(out);
  EXPECT_EQ(out.log.size(), before + 1);  // only the paste
}

#if !defined(_WIN32)  // threads are exercised natively, under the sanitizers
TEST(ClipboardRule, TriggersFromAnotherThreadDuringPlayback) {
  TextMacroPlayer p;
  KeyAssignment k = textKey(kPlayWhilePressed, 0, "threaded");
  ASSERT_TRUE(p.trigger(k, 0).post);
  RecordingOutput out;
  std::atomic<int> pastes{0};
  out.onPaste = [&](int n) { pastes = n; };
  std::thread worker([&] { p.play(out); });
  while (pastes < 2) std::this_thread::yield();
  p.trigger(k, 1);
  worker.join();
  EXPECT_FALSE(p.playing());
  EXPECT_GE(out.pastes, 2);
}
#endif

TEST(InputMapping, MouseButtonsAndVirtualKeys) {
  EXPECT_EQ(mouseEventsFor(240),
            (std::array{MouseEvent{MouseAction::LeftDown, 0}, MouseEvent{MouseAction::LeftUp, 0}}));
  EXPECT_EQ(mouseEventsFor(241),
            (std::array{MouseEvent{MouseAction::RightDown, 0}, MouseEvent{MouseAction::RightUp, 0}}));
  EXPECT_EQ(mouseEventsFor(242),
            (std::array{MouseEvent{MouseAction::MiddleDown, 0}, MouseEvent{MouseAction::MiddleUp, 0}}));
  EXPECT_EQ(mouseEventsFor(243),
            (std::array{MouseEvent{MouseAction::XDown, 2}, MouseEvent{MouseAction::XUp, 2}}));
  EXPECT_EQ(mouseEventsFor(244),
            (std::array{MouseEvent{MouseAction::XDown, 1}, MouseEvent{MouseAction::XUp, 1}}));
  EXPECT_EQ(mouseEventsFor(239), std::nullopt);
  EXPECT_EQ(mouseEventsFor(4), std::nullopt);

  FakeUsLayout us;
  EXPECT_EQ(virtualKeyForCode(225, us), kVkShift);
  EXPECT_EQ(virtualKeyForCode(229, us), kVkShift);
  EXPECT_EQ(virtualKeyForCode(224, us), kVkControl);
  EXPECT_EQ(virtualKeyForCode(228, us), kVkControl);
  EXPECT_EQ(virtualKeyForCode(226, us), kVkMenu);
  EXPECT_EQ(virtualKeyForCode(230, us), kVkMenu);
  EXPECT_EQ(virtualKeyForCode(4, us), uint32_t('A'));
  EXPECT_EQ(virtualKeyForCode(40, us), 0x0Du);
  EXPECT_EQ(virtualKeyForCode(0xFE, us), 0u);
}
