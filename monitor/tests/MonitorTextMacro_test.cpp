// Text macros end to end: keys of the emulated keyboard programmed through the
// shared block, pressed through its control pipe, and the text that Monitor.exe
// types and pastes arriving in an edit control of this test in the foreground.

#include <memory>
#include <string>

#include "MonitorHarness_win.h"
#include "TextMacroPlayer.h"

namespace {

using namespace harness;

constexpr DWORD kLong = 20000;
// Long enough that no pass of the macros below pauses this long inside.
constexpr DWORD kQuietMs = 2000;
constexpr uint8_t kUsageA = 0x04;  // typed before the paste
constexpr uint8_t kUsageB = 0x05;  // typed after it

struct TextKey {
  int key;
  int32_t playMode;
  int32_t triggerMode;
  int32_t playCount;
  uint16_t repeatDelayMs;
  const char* text;
};

class TextMacros : public MonitorHarness {
 protected:
  void SetUp() override {
    MonitorHarness::SetUp();
    if (HasFatalFailure()) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuillonTypingTarget";
    RegisterClassA(&wc);
    top_ = CreateWindowExA(0, wc.lpszClassName, "Quillon typing target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60,
                           60, 600, 120, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(top_, nullptr);
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 580, 30, top_,
                            nullptr, wc.hInstance, nullptr);
    ASSERT_NE(edit_, nullptr);
    SendMessageA(edit_, EM_SETLIMITTEXT, 0, 0);
  }

  void TearDown() override {
    if (top_) DestroyWindow(top_);
    MonitorHarness::TearDown();
  }

  // Starts the monitor with the keys programmed as text macros by a real
  // apply, and puts the edit control into the foreground with the focus.
  void startWith(std::initializer_list<TextKey> keys) {
    startWithEmulatedKeyboard();
    if (IsSkipped() || HasFatalFailure()) return;
    std::unique_ptr<SettingsImage> image = readBlock();
    image->currentProfile = 1;
    for (const TextKey& k : keys) {
      KeyAssignment& key = image->profiles[1].keys[k.key];
      // Text macros live in the macro category, as the key page stores them.
      key.category = kCategoryMacro;
      key.functionCode = kFunctionTextMacro;
      lstrcpynA(key.textMacroName, "Typed", sizeof key.textMacroName);
      key.playMode = k.playMode;
      key.triggerMode = k.triggerMode;
      key.playCount = k.playCount;
      key.repeatDelayMs = k.repeatDelayMs;
      lstrcpynA(key.textMacroText, k.text, sizeof key.textMacroText);
      key.textDelayMs = 20;
      key.keyBefore = kUsageA;
      key.keyAfter = kUsageB;
      image->keyDirty[1][k.key] = 1;
    }
    ASSERT_TRUE(apply(*image));
    focus();
  }

  void focus() {
    ASSERT_TRUE(waitFor(
        [&] {
          if (GetForegroundWindow() != top_) SetForegroundWindow(top_);
          SetFocus(edit_);
          return GetForegroundWindow() == top_ && GetFocus() == edit_;
        },
        kLong));
  }

  void press(int key) { ASSERT_TRUE(control("press " + std::to_string(key)).has_value()); }
  void release(int key) { ASSERT_TRUE(control("release " + std::to_string(key)).has_value()); }

  std::string text() const {
    const int length = GetWindowTextLengthA(edit_);
    std::string value(length + 1, '\0');
    GetWindowTextA(edit_, value.data(), length + 1);
    value.resize(length);
    return value;
  }
  void clear() {
    SetWindowTextA(edit_, "");
    pump();
  }

  bool waitText(const std::string& expected) {
    return waitFor([&] { return text() == expected; }, kLong);
  }
  // Waits until the text has not changed for kQuietMs and returns it.
  std::string quietText() {
    std::string last = text();
    DWORD since = GetTickCount();
    waitFor(
        [&] {
          const std::string now = text();
          if (now != last) {
            last = now;
            since = GetTickCount();
          }
          return GetTickCount() - since >= kQuietMs;
        },
        120000);
    return last;
  }

  static std::string unit(const std::string& pasted) { return "a" + pasted + "b"; }
  static std::string times(const std::string& part, size_t n) {
    std::string all;
    for (size_t i = 0; i < n; ++i) all += part;
    return all;
  }
  // The number of whole passes of `part` that make `all`, or -1.
  static int passes(const std::string& all, const std::string& part) {
    if (all.size() % part.size() != 0) return -1;
    const size_t n = all.size() / part.size();
    return all == times(part, n) ? static_cast<int>(n) : -1;
  }

  std::string clipboard() {
    std::string value = "<none>";
    if (!OpenClipboard(top_)) return "<locked>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      if (const char* chars = static_cast<const char*>(GlobalLock(data))) value = chars;
      GlobalUnlock(data);
    }
    CloseClipboard();
    return value;
  }
  void setClipboard(const std::string& value) {
    ASSERT_TRUE(OpenClipboard(top_));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, value.size() + 1);
    lstrcpyA(static_cast<char*>(GlobalLock(memory)), value.c_str());
    GlobalUnlock(memory);
    EXPECT_NE(SetClipboardData(CF_TEXT, memory), nullptr);
    CloseClipboard();
  }

  HWND top_ = nullptr;
  HWND edit_ = nullptr;
};

TEST_F(TextMacros, OnceAndNTimesTypeTheirPassesOnTheirTriggerEdge) {
  startWith({{1, kPlayOnce, 0, 1, 0, "Once"},
             {2, kPlayNTimes, 0, 3, 50, "Thrice"},
             {3, kPlayNTimes, 1, 2, 50, "OnRelease"}});
  if (IsSkipped() || HasFatalFailure()) return;

  press(1);
  release(1);  // while the pass runs: it ends nothing more than the one pass
  EXPECT_TRUE(waitText(unit("Once"))) << text();
  EXPECT_EQ(quietText(), unit("Once"));
  clear();

  press(2);
  release(2);
  EXPECT_TRUE(waitText(times(unit("Thrice"), 3))) << text();
  EXPECT_EQ(quietText(), times(unit("Thrice"), 3));
  clear();

  // Triggered by the release: the press alone types nothing.
  press(3);
  EXPECT_EQ(quietText(), "");
  release(3);
  EXPECT_TRUE(waitText(times(unit("OnRelease"), 2))) << text();
  EXPECT_EQ(quietText(), times(unit("OnRelease"), 2));
  exitFromTray();
}

TEST_F(TextMacros, WhileHeldAndToggleRepeatUntilTheirStopAfterTheCurrentPass) {
  startWith({{4, kPlayWhilePressed, 0, 1, 300, "Held"}, {5, kPlayToggle, 0, 1, 300, "Toggle"}});
  if (IsSkipped() || HasFatalFailure()) return;

  press(4);
  EXPECT_TRUE(waitFor([&] { return text().size() >= 2 * unit("Held").size(); }, kLong)) << text();
  release(4);
  const std::string held = quietText();  // never quiet if the release did not stop it
  EXPECT_GE(passes(held, unit("Held")), 2) << held;
  clear();

  press(5);
  release(5);  // not the trigger edge: goes on
  EXPECT_TRUE(waitFor([&] { return text().size() >= 2 * unit("Toggle").size(); }, kLong)) << text();
  press(5);  // stops
  release(5);
  const std::string toggled = quietText();
  EXPECT_GE(passes(toggled, unit("Toggle")), 2) << toggled;

  // The next press starts it again.
  clear();
  press(5);
  release(5);
  EXPECT_TRUE(waitFor([&] { return text().size() >= unit("Toggle").size(); }, kLong)) << text();
  press(5);
  release(5);
  EXPECT_GE(passes(quietText(), unit("Toggle")), 1);
  exitFromTray();
}

TEST_F(TextMacros, TheClipboardIsPlacedWhenItDoesNotHoldTheTextAndLeftAloneWhenItDoes) {
  startWith({{6, kPlayOnce, 0, 1, 0, player::kSampleClipboardText}, {7, kPlayOnce, 0, 1, 0, "Mend me"}});
  if (IsSkipped() || HasFatalFailure()) return;

  // The first playback has put nothing there yet: even the initial sample
  // text must be placed, not what the user copied.
  setClipboard("Copied by the user");
  press(6);
  release(6);
  EXPECT_TRUE(waitText(unit(player::kSampleClipboardText))) << text();
  clear();

  press(7);
  release(7);
  EXPECT_TRUE(waitText(unit("Mend me"))) << text();
  EXPECT_EQ(clipboard(), "Mend me");

  // The same text again with the clipboard untouched: it is left alone.
  const DWORD sequence = GetClipboardSequenceNumber();
  press(7);
  release(7);
  EXPECT_TRUE(waitText(times(unit("Mend me"), 2))) << text();
  EXPECT_EQ(GetClipboardSequenceNumber(), sequence);

  // Someone copied something in between: the text is placed again.
  setClipboard("Other");
  press(7);
  release(7);
  EXPECT_TRUE(waitText(times(unit("Mend me"), 3))) << text();
  EXPECT_EQ(clipboard(), "Mend me");
  exitFromTray();
}

}  // namespace
