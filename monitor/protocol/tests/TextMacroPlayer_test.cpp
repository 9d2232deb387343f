#include "TextMacroPlayer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#if !defined(_WIN32)
#include <chrono>
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
// Its clock moves only by what the player waits; consecutive waits are
// logged as one. The window in front reads the text at the paste unless a
// test says otherwise.
class RecordingOutput : public MacroOutput {
 public:
  void typeKey(uint8_t code) override { log.push_back("key " + std::to_string(code)); }
  void wait(int ms) override {
    EXPECT_GT(ms, 0);
    EXPECT_LE(ms, kWaitSliceMs);
    clock += uint64_t(ms);
    ++slices;
    if (!log.empty() && log.back().rfind("wait ", 0) == 0)
      log.back() = "wait " + std::to_string(std::stoi(log.back().substr(5)) + ms);
    else
      log.push_back("wait " + std::to_string(ms));
    if (onWait) onWait(slices);
  }
  uint64_t nowMs() override { return clock; }
  bool placeText(const std::string& text) override {
    if (!clipboardOpens) return false;
    log.push_back("clip " + text);
    taken = false;
    return true;
  }
  bool textTaken() override { return taken; }
  void restoreClipboard() override { log.push_back("restore"); }
  void paste() override {
    log.push_back("paste");
    ++pastes;
    taken = readsAtPaste;
    if (onPaste) onPaste(pastes);
  }
  void trace(const std::string& line) override { traces.push_back(line); }

  std::vector<std::string> log;
  std::vector<std::string> traces;
  uint64_t clock = 1000;
  int slices = 0;
  bool clipboardOpens = true;
  bool readsAtPaste = true;
  bool taken = false;
  int pastes = 0;
  std::function<void(int)> onPaste;
  std::function<void(int)> onWait;
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
  p.play(out, p.epoch());
  EXPECT_TRUE(playingDuringPass);
  EXPECT_FALSE(p.playing());
  EXPECT_EQ(out.log,
            (std::vector<std::string>{"key 40", "wait 25", "clip hello", "paste",
                                      "wait " + std::to_string(kPasteSettleMs), "restore", "key 240"}));
  EXPECT_EQ(out.traces, std::vector<std::string>{kTracePaste});
}

TEST(TextMacroPlayback, NTimesCountsPassesAndTraces) {
  TextMacroPlayer p;
  KeyAssignment k = textKey(kPlayNTimes, 0, "abc", 3);
  k.repeatDelayMs = 40;
  ASSERT_TRUE(p.trigger(k, 0).post);
  RecordingOutput out;
  p.play(out, p.epoch());
  EXPECT_EQ(out.pastes, 3);
  EXPECT_EQ(count(out.log, "wait 40"), 2);
  EXPECT_EQ(count(out.log, "clip abc"), 3);
  EXPECT_EQ(count(out.log, "restore"), 3);
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
  p.play(out, p.epoch());
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
  toggle.play(out, toggle.epoch());
  EXPECT_EQ(out.pastes, 4);
  EXPECT_EQ(out.log.back(), "restore");

  TextMacroPlayer held;
  KeyAssignment h = textKey(kPlayWhilePressed, 0, "h");
  h.keyAfter = 44;
  ASSERT_TRUE(held.trigger(h, 0).post);
  RecordingOutput heldOut;
  heldOut.onPaste = [&](int n) {
    if (n == 3) held.trigger(h, 1);
  };
  held.play(heldOut, held.epoch());
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
  p.play(out, p.epoch());
  // The running playback goes on with the new text and the reset count.
  EXPECT_EQ(out.pastes, 2);
  EXPECT_EQ(count(out.log, "clip one"), 1);
  EXPECT_EQ(count(out.log, "clip two"), 1);
  out.onPaste = nullptr;
  p.play(out, p.epoch());  // the queued message: one more pass, the count is used up
  EXPECT_EQ(out.pastes, 3);
  EXPECT_EQ(count(out.log, "clip two"), 2);
}

TEST(ClipboardHandOver, TheTextIsOnTheClipboardOnlyUntilThePasteHasReadIt) {
  TextMacroPlayer p;
  RecordingOutput out;
  p.trigger(textKey(kPlayOnce, 0, "same"), 0);
  p.play(out, p.epoch());
  p.trigger(textKey(kPlayOnce, 0, "same"), 0);
  p.play(out, p.epoch());
  // Placed for every paste, given back after each: the clipboard holds the
  // user's contents between passes, so the same text is placed again.
  const std::string settle = "wait " + std::to_string(kPasteSettleMs);
  EXPECT_EQ(out.log, (std::vector<std::string>{"clip same", "paste", settle, "restore", "clip same", "paste",
                                               settle, "restore"}));

  // Nobody reads it (the window in front takes no text): given back after the time-out.
  out.log.clear();
  out.readsAtPaste = false;
  const uint64_t before = out.clock;
  p.trigger(textKey(kPlayOnce, 0, "unread"), 0);
  p.play(out, p.epoch());
  EXPECT_EQ(out.log, (std::vector<std::string>{"clip unread", "paste",
                                               "wait " + std::to_string(kPasteReadTimeoutMs), "restore"}));
  EXPECT_EQ(out.clock - before, uint64_t(kPasteReadTimeoutMs));

  // Read a little later: given back right then.
  out.log.clear();
  out.onWait = [&](int) { out.taken = true; };
  p.trigger(textKey(kPlayOnce, 0, "late"), 0);
  p.play(out, p.epoch());
  EXPECT_EQ(out.log,
            (std::vector<std::string>{"clip late", "paste",
                                      "wait " + std::to_string(kWaitSliceMs + kPasteSettleMs), "restore"}));
}

TEST(ClipboardHandOver, NothingIsPastedWithoutTheTextOnTheClipboard) {
  // Control+V would type what the user copied last into the window in front.
  TextMacroPlayer p;
  RecordingOutput out;
  out.clipboardOpens = false;
  KeyAssignment k = textKey(kPlayOnce, 0, "locked");
  k.keyBefore = 40;
  k.keyAfter = 44;
  p.trigger(k, 0);
  p.play(out, p.epoch());
  EXPECT_EQ(out.log, (std::vector<std::string>{"key 40", "wait " + std::to_string(kPasteHoldMs), "key 44"}));
  EXPECT_TRUE(out.traces.empty());

  out.clipboardOpens = true;
  p.trigger(textKey(kPlayOnce, 0, ""), 0);
  p.play(out, p.epoch());
  EXPECT_EQ(out.pastes, 0);
}

TEST(Cancel, EndsAPlaybackWithinAWaitSliceWhateverItsPauses) {
  // The longest pause a damaged key could ask for: 24.8 days.
  TextMacroPlayer p;
  KeyAssignment k = textKey(kPlayToggle, 0, "never");
  k.textDelayMs = INT32_MAX;
  k.keyBefore = 40;
  k.keyAfter = 44;
  ASSERT_TRUE(p.trigger(k, 0).post);
  RecordingOutput out;
  uint64_t cancelledAt = 0;
  out.onWait = [&](int slices) {
    if (slices == 50) {
      p.cancel();
      cancelledAt = out.clock;
    }
  };
  p.play(out, p.epoch());
  EXPECT_FALSE(p.playing());
  EXPECT_EQ(out.clock, cancelledAt);  // not one more slice
  EXPECT_EQ(out.log, (std::vector<std::string>{"key 40", "wait " + std::to_string(50 * kWaitSliceMs)}));

  // A cancel during the repeat pause of an endless macro, and while the
  // paste waits for its read: the clipboard is given back all the same.
  TextMacroPlayer q;
  KeyAssignment r = textKey(kPlayWhilePressed, 0, "again");
  r.repeatDelayMs = 65535;
  ASSERT_TRUE(q.trigger(r, 0).post);
  RecordingOutput repeat;
  constexpr int kSettleSlices = kPasteSettleMs / kWaitSliceMs;
  repeat.onWait = [&](int slices) {
    if (slices == kSettleSlices + 3) q.cancel();
  };
  q.play(repeat, q.epoch());
  EXPECT_EQ(repeat.pastes, 1);
  EXPECT_EQ(repeat.log.back(), "wait " + std::to_string(3 * kWaitSliceMs));

  TextMacroPlayer s;
  ASSERT_TRUE(s.trigger(textKey(kPlayNTimes, 0, "unread", 1000), 0).post);
  RecordingOutput reading;
  reading.readsAtPaste = false;
  reading.onWait = [&](int slices) {
    if (slices == 2) s.cancel();
  };
  s.play(reading, s.epoch());
  EXPECT_EQ(reading.log, (std::vector<std::string>{"clip unread", "paste",
                                                   "wait " + std::to_string(2 * kWaitSliceMs), "restore"}));
}

TEST(Cancel, PlaybacksQueuedBeforeItDoNotStartButLaterTriggersPlay) {
  TextMacroPlayer p;
  KeyAssignment k = textKey(kPlayNTimes, 0, "queued", 2);
  ASSERT_TRUE(p.trigger(k, 0).post);
  const uint32_t queued = p.epoch();
  ASSERT_TRUE(p.trigger(k, 0).post);
  p.cancel();  // the keyboard was pulled out
  RecordingOutput out;
  p.play(out, queued);
  p.play(out, queued);
  EXPECT_TRUE(out.log.empty());
  EXPECT_FALSE(p.playing());

  ASSERT_TRUE(p.trigger(k, 0).post);  // plugged in again and pressed
  p.play(out, p.epoch());
  EXPECT_EQ(out.pastes, 2);
}

#if !defined(_WIN32)  // threads are exercised natively, under the sanitizers
// A real clock and real sleeps, as on the macro thread.
class SleepingOutput : public RecordingOutput {
 public:
  void wait(int ms) override {
    EXPECT_LE(ms, kWaitSliceMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
  uint64_t nowMs() override {
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count());
  }
};

TEST(Cancel, TriggersAndCancelFromAnotherThreadDuringPlayback) {
  TextMacroPlayer p;
  KeyAssignment k = textKey(kPlayWhilePressed, 0, "threaded");
  ASSERT_TRUE(p.trigger(k, 0).post);
  RecordingOutput out;
  std::atomic<int> pastes{0};
  out.onPaste = [&](int n) { pastes = n; };
  std::thread worker([&] { p.play(out, p.epoch()); });
  while (pastes < 2) std::this_thread::yield();
  p.trigger(k, 1);
  worker.join();
  EXPECT_FALSE(p.playing());
  EXPECT_GE(out.pastes, 2);

  // A pause of a minute between passes ends at the cancel, within a slice or so.
  k.repeatDelayMs = 60000;
  ASSERT_TRUE(p.trigger(k, 0).post);
  SleepingOutput slow;
  std::atomic<int> slowPastes{0};
  slow.onPaste = [&](int n) { slowPastes = n; };
  std::thread sleeper([&] { p.play(slow, p.epoch()); });
  while (slowPastes < 1) std::this_thread::yield();
  const auto start = std::chrono::steady_clock::now();
  p.cancel();
  sleeper.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(slow.pastes, 1);
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
