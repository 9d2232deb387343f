// Text macros end to end: keys of the emulated keyboard programmed through the
// shared block, pressed through its control pipe, and the text that Monitor.exe
// types and pastes arriving in an edit control of this test in the foreground;
// the user's clipboard around the paste, and the end of a macro at the
// monitor's exit and at the keyboard's removal.

#include <cstdio>
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
  int32_t textDelayMs = 20;
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
      key.textDelayMs = k.textDelayMs;
      key.keyBefore = kUsageA;
      key.keyAfter = kUsageB;
      image->keyDirty[1][k.key] = 1;
    }
    ASSERT_TRUE(apply(*image));
    appliedAt_ = GetTickCount();
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

  // What the clipboard offered when the edit control pasted.
  struct PasteView {
    int pastes = 0;
    std::string text;
    bool excluded = false;     // "ExcludeClipboardContentFromMonitorProcessing"
    DWORD historyAllowed = 1;  // "CanIncludeInClipboardHistory"
    DWORD cloudAllowed = 1;    // "CanUploadToCloudClipboard"
  };
  static inline PasteView* gView = nullptr;
  static inline WNDPROC gEditProc = nullptr;
  static DWORD formatWord(const char* name) {
    DWORD value = 1;
    if (HANDLE data = GetClipboardData(RegisterClipboardFormatA(name))) {
      if (const DWORD* word = static_cast<const DWORD*>(GlobalLock(data))) value = *word;
      GlobalUnlock(data);
    }
    return value;
  }
  static LRESULT CALLBACK watchingEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PASTE && gView && OpenClipboard(hwnd)) {
      ++gView->pastes;
      gView->excluded = IsClipboardFormatAvailable(
          RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing"));
      gView->historyAllowed = formatWord("CanIncludeInClipboardHistory");
      gView->cloudAllowed = formatWord("CanUploadToCloudClipboard");
      if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) gView->text = chars;
        GlobalUnlock(data);
      }
      CloseClipboard();
    }
    return CallWindowProcA(gEditProc, hwnd, message, wParam, lParam);
  }
  // Looks at the clipboard at each paste into the edit control.
  void watchPastes(PasteView& view) {
    gView = &view;
    gEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchingEditProc)));
  }

  // Sets the clipboard as a program does: text and a format of its own.
  void setClipboardWithOwnFormat(const std::string& value, const std::string& own) {
    ASSERT_TRUE(OpenClipboard(top_));
    EmptyClipboard();
    for (UINT format : {UINT(CF_TEXT), RegisterClipboardFormatA("Quillon test format")}) {
      const std::string& bytes = format == CF_TEXT ? value : own;
      HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
      lstrcpyA(static_cast<char*>(GlobalLock(memory)), bytes.c_str());
      GlobalUnlock(memory);
      EXPECT_NE(SetClipboardData(format, memory), nullptr);
    }
    CloseClipboard();
  }
  std::string ownFormat() {
    std::string value = "<none>";
    if (!OpenClipboard(top_)) return "<locked>";
    if (HANDLE data = GetClipboardData(RegisterClipboardFormatA("Quillon test format"))) {
      if (const char* chars = static_cast<const char*>(GlobalLock(data))) value = chars;
      GlobalUnlock(data);
    }
    CloseClipboard();
    return value;
  }

  // The keyboard's pause after the apply's download is over: an exit now
  // waits for nothing of the keyboard's.
  void waitKeyboardPause() {
    waitFor([&] { return GetTickCount() - appliedAt_ > kShutdownPauseMs + 100; }, kLong);
  }

  HWND top_ = nullptr;
  HWND edit_ = nullptr;
  DWORD appliedAt_ = 0;
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

TEST_F(TextMacros, TheUsersClipboardComesBackAfterEachPasteAndTheTextIsKeptOutOfItsHistory) {
  startWith({{6, kPlayOnce, 0, 1, 0, "Mend me"}, {7, kPlayNTimes, 0, 3, 50, "Thrice"}});
  if (IsSkipped() || HasFatalFailure()) return;
  PasteView view;
  watchPastes(view);

  setClipboardWithOwnFormat("Copied by the user", "own bytes");
  press(6);
  release(6);
  EXPECT_TRUE(waitText(unit("Mend me"))) << text();
  EXPECT_EQ(view.pastes, 1);
  EXPECT_EQ(view.text, "Mend me");
  EXPECT_TRUE(view.excluded);
  EXPECT_EQ(view.historyAllowed, 0u);
  EXPECT_EQ(view.cloudAllowed, 0u);
  // Every format the user's program put there comes back.
  EXPECT_TRUE(waitFor([&] { return clipboard() == "Copied by the user"; }, kLong)) << clipboard();
  EXPECT_EQ(ownFormat(), "own bytes");
  clear();

  // Each pass of a repeating macro pastes its text, never the user's.
  press(7);
  release(7);
  EXPECT_TRUE(waitText(times(unit("Thrice"), 3))) << text();
  EXPECT_EQ(quietText(), times(unit("Thrice"), 3));
  EXPECT_EQ(view.pastes, 4);
  EXPECT_EQ(clipboard(), "Copied by the user");
  EXPECT_EQ(ownFormat(), "own bytes");
  exitFromTray();
}

TEST_F(TextMacros, TrayExitEndsTheMonitorWithinASecondWhileATextMacroWaits) {
  // The longest wait the editor allows before its paste, repeating until
  // pressed again.
  startWith({{8, kPlayToggle, 0, 1, 300, "Never pasted", 65535}});
  if (IsSkipped() || HasFatalFailure()) return;
  setClipboard("Mine");
  press(8);
  release(8);
  ASSERT_TRUE(waitText("a")) << text();  // the key before, then the wait
  waitKeyboardPause();

  const DWORD start = GetTickCount();
  ASSERT_TRUE(PostMessageA(monitorWindow(), WM_COMMAND, ID_TRAY_EXIT, 0));
  ASSERT_TRUE(waitFor([&] { return WaitForSingleObject(monitor_.hProcess, 0) == WAIT_OBJECT_0; }, kLong));
  const DWORD took = GetTickCount() - start;
  std::printf("tray Exit during a text macro's wait: the monitor ended after %lu ms\n", took);
  EXPECT_LT(took, 1000u);
  EXPECT_EQ(text(), "a");
  EXPECT_EQ(clipboard(), "Mine");
}

TEST_F(TextMacros, TheKeyboardsRemovalEndsATextMacroAndTheClipboardComesBack) {
  startWith({{9, kPlayToggle, 0, 1, 200, "Pass"}});
  if (IsSkipped() || HasFatalFailure()) return;
  setClipboard("Mine");
  press(9);
  release(9);
  EXPECT_TRUE(waitFor([&] { return text().size() >= 2 * unit("Pass").size(); }, kLong)) << text();
  ASSERT_TRUE(control("unplug").has_value());
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, kLong));
  // Never quiet if the removal did not end it.
  const std::string typed = quietText();
  EXPECT_GE(typed.size(), 2 * unit("Pass").size());
  EXPECT_EQ(typed.rfind(unit("Pass"), 0), 0u) << typed;
  EXPECT_EQ(clipboard(), "Mine");

  // Plugged in again, the key plays anew.
  ASSERT_TRUE(control("plug").has_value());
  ASSERT_TRUE(waitFor([&] { return device() == 1; }, kLong));
  clear();
  focus();
  press(9);
  release(9);
  EXPECT_TRUE(waitFor([&] { return text().size() >= unit("Pass").size(); }, kLong)) << text();
  press(9);
  release(9);
  EXPECT_GE(passes(quietText(), unit("Pass")), 1);
  exitFromTray();
}

}  // namespace
