// The two macro managers through the real windows, with real keys and mouse
// clicks: recording, naming, a text macro with its keys, and what OK leaves
// in the library files, in the keys bound to a macro and in the keyboard.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "DownloadEncoder.h"
#include "ListFiles.h"
#include "OptionHarness_win.h"
#include "ProfileFiles.h"

namespace {

using namespace harness;

constexpr char kMacroTitle[] = "Varnel Quillon Macro Manager";
constexpr char kTextTitle[] = "Text Macro Manager";
constexpr char kMacroIni[] = "skin_macro_manager.ini";
constexpr char kTextIni[] = "skin_text_macro_manager.ini";
constexpr int kMacroMenuButton = 3;  // main window: opens the managers' menu
constexpr int kBoundKey = 3;         // among the first six keys, which start-up collects

enum MacroControl {
  kOk = 1,
  kCancel,
  kClose,
  kNew,
  kDelete,
  kNames,
  kRecord,
  kDelays,
  kRepeat,
  kCount,
  kSteps
};
enum TextControl { kKeyBefore = 7, kKeyAfter, kClearBefore, kClearAfter, kDelayEdit, kTextEdit };

// The same HID usages the keyboard sends for these letters.
constexpr uint8_t kUsageA = 4, kUsageB = 5, kUsageC = 6;

constexpr int kMacroNamesId = 500 + kNames;  // the manager's control ids: 500 + position
constexpr int kStepListId = 500 + kSteps;
constexpr int kTextNamesId = 600 + kNames;
// A quick user's pause between a window's change and the next click or key.
constexpr DWORD kQuickUserMs = 150;

class MacroManagers : public OptionHarness {
 protected:
  void writeLibrary(const std::vector<std::string>& names) {
    MacroLibrary library;
    for (const std::string& name : names) {
      MacroRecord record{};
      std::snprintf(record.name, sizeof record.name, "%s", name.c_str());
      record.repeatCount = 1;
      library.push_back(record);
    }
    ASSERT_TRUE(saveList(library, folder_, kMacroLibraryFile));
  }
  // The library is written after the window has gone: wait until it holds
  // what `ready` looks for (or give the last read after 5 s).
  template <typename Library, typename Ready>
  Library waitForSaved(const ListFile& file, Ready ready) const {
    Library library;
    waitFor(
        [&] {
          library.clear();
          loadList(library, folder_, file);
          return ready(library);
        },
        5000);
    return library;
  }
  HWND openManager(int menuLine, const char* title) {
    click(mainControl(kMacroMenuButton));
    key(menuLine == 1 ? "Down Return" : "Down Down Return");
    return waitForWindow(title);
  }
  // Where the mouse is: a synchronous move to the same place would wait for
  // a motion that never comes.
  void clickAgain(int button = 1) {
    EXPECT_TRUE(xdotool("click " + std::to_string(button)));
    pump();
  }
  // A line of a list, by its index, in screen coordinates (lines are 20 px).
  POINT lineOf(HWND window, const char* ini, int list, int line) {
    const SkinPosition p = position(ini, "BUTTONPOS", list);
    const POINT origin = clientOrigin(window);
    return {origin.x + p.rect.left + 40, origin.y + p.rect.top + line * 20 + 10};
  }
  std::vector<std::string> listLines(HWND window, int controlId) {
    return OptionHarness::listLines(GetDlgItem(window, controlId));
  }
  // Double-clicks a name: the list's editor opens over it for the new name.
  void renameLine(HWND window, const char* ini, int line, const std::string& typedKeys) {
    const POINT at = lineOf(window, ini, kNames, line);
    doubleClick(at);
    Sleep(kQuickUserMs);
    key("ctrl+a " + typedKeys + " Return");
  }
  // The list's lines once the window has taken what was typed (or the last
  // ones read after 5 s).
  std::vector<std::string> linesOnceThey(HWND window, int controlId,
                                         const std::vector<std::string>& expected) {
    std::vector<std::string> lines;
    waitFor(
        [&] {
          lines = listLines(window, controlId);
          return lines == expected;
        },
        5000);
    return lines;
  }
  size_t lineCountOnceIt(HWND window, int controlId, size_t expected) {
    size_t count = 0;
    waitFor(
        [&] {
          count = listLines(window, controlId).size();
          return count == expected;
        },
        5000);
    return count;
  }
  // A line of the step list by its index, wherever the list is scrolled.
  POINT stepLineOf(HWND window, int line) {
    const int top = int(SendMessageA(GetDlgItem(window, kStepListId), LB_GETTOPINDEX, 0, 0));
    return lineOf(window, kMacroIni, kSteps, line - top);
  }
  // What the manager's help balloon says once it shows; "" when none shows.
  static std::string balloonText() {
    std::string text;
    waitFor(
        [&] {
          char buffer[256] = {};
          HWND balloon = nullptr;
          while ((balloon = FindWindowExA(nullptr, balloon, "QuillonBalloonTip", nullptr)))
            if (IsWindowVisible(balloon)) GetWindowTextA(balloon, buffer, sizeof buffer);
          text = buffer;
          return !text.empty();
        },
        5000);
    return text;
  }
  int selectedLine(HWND window, int controlId) {
    return int(SendMessageA(GetDlgItem(window, controlId), LB_GETCURSEL, 0, 0));
  }
  void screenshot(HWND window, const std::string& name) {
    const Capture shot = capture(window, folder_ + name + ".bmp");
    EXPECT_GT(shot.colours(), 20u) << name << " looks blank";
    CopyFileA((folder_ + name + ".bmp").c_str(), (dist_ + name + ".bmp").c_str(), FALSE);
  }
};

MacroRecord recorded(const char* name, std::initializer_list<uint8_t> keys) {
  MacroRecord record{};
  std::snprintf(record.name, sizeof record.name, "%s", name);
  record.repeatCount = 1;
  for (uint8_t key : keys) {
    record.steps[record.stepCount++] = MacroStep::make(key, kActionPress, 0);
    record.steps[record.stepCount++] = MacroStep::make(key, kActionRelease, 0);
  }
  return record;
}

void bindMacro(KeyAssignment& key, const MacroRecord& macro) {
  key.category = kCategoryMacro;
  key.functionCode = kFunctionRecordedMacro;
  std::snprintf(key.macroName, sizeof key.macroName, "%s", macro.name);
  key.stepCount = uint16_t(macro.stepCount);
  std::memcpy(key.steps, macro.steps, sizeof key.steps);
}

// A window of this test program for the monitor to type a text macro into.
class TypingTarget {
 public:
  TypingTarget() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuillonRenameTarget";
    RegisterClassA(&wc);
    top_ = CreateWindowExA(0, wc.lpszClassName, "Quillon rename target", WS_OVERLAPPEDWINDOW, 60, 700, 600,
                           120, nullptr, nullptr, wc.hInstance, nullptr);
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 580, 30, top_,
                            nullptr, wc.hInstance, nullptr);
  }
  ~TypingTarget() { DestroyWindow(top_); }
  bool inFront() {
    ShowWindow(top_, SW_SHOW);
    return waitFor(
        [&] {
          if (GetForegroundWindow() != top_) SetForegroundWindow(top_);
          SetFocus(edit_);
          return GetForegroundWindow() == top_ && GetFocus() == edit_;
        },
        10000);
  }
  std::string typed() const {
    char text[256] = {};
    GetWindowTextA(edit_, text, sizeof text);
    return text;
  }

 private:
  HWND top_ = nullptr, edit_ = nullptr;
};

TEST_F(MacroManagers, RecordsTypedKeysWithDelaysIntoTheBoundKeyAndSendsThem) {
  writeLibrary({"Alpha", "Gamma"});
  writeProfile(0, [](ProfileRecord& p) {
    KeyAssignment& k = p.keys[kBoundKey];
    k.category = kCategoryMacro;
    k.functionCode = kFunctionRecordedMacro;
    std::snprintf(k.macroName, sizeof k.macroName, "%s", "Alpha");
    k.stepCount = 0;
  });
  startWithEmulatedKeyboard();
  startOption();
  HWND manager = openManager(1, kMacroTitle);
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(listLines(manager, kMacroNamesId), (std::vector<std::string>{"Alpha", "Gamma"}));

  clickOn(manager, kMacroIni, kDelays);
  clickOn(manager, kMacroIni, kRecord);
  // Known pauses: 120 ms held, 250 ms between keys. The repeated key-down of
  // C is what a held key sends; it must give one press.
  ASSERT_TRUE(
      xdotool("keydown a sleep 0.12 keyup a sleep 0.25 keydown b sleep 0.12 keyup b sleep 0.25 "
              "keydown c keydown c keydown c sleep 0.12 keyup c"));
  Sleep(300);
  clickAgain();
  Sleep(200);
  const std::vector<std::string> lines = listLines(manager, kStepListId);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "A");
  std::printf("recorded step 0 delay %s (input 120 ms)\n", lines[1].c_str());
  EXPECT_NE(lines[1].find(" ms"), std::string::npos);
  screenshot(manager, "macro-manager");

  // The step menu's Edit entry (the fifth line) retypes the first pause.
  const POINT firstDelay = lineOf(manager, kMacroIni, kSteps, 1);
  click(firstDelay);
  clickAgain(3);
  Sleep(300);
  // Chosen with Enter: its release must not commit the editor unchanged.
  key("Down Down Down Down Down Return");
  Sleep(300);
  key("ctrl+a 5 0 0 Return");
  Sleep(300);
  EXPECT_EQ(listLines(manager, kStepListId)[1], "500 ms");

  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(manager, 500 + kOk)));
  clickOn(manager, kMacroIni, kOk);
  if (!closed(manager)) capture(manager, dist_ + "after-ok.bmp");
  ASSERT_TRUE(closed(manager));
  // The bound key took the recorded steps; Apply sends them and writes the
  // library with the keys.
  const size_t mark = traceSize();
  click(mainControl(kApply));
  const std::vector<Download> downloads = waitForDownloads(mark, 1);
  ASSERT_EQ(downloads.size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
  const MacroLibrary saved = waitForSaved<MacroLibrary>(
      kMacroLibraryFile, [](const MacroLibrary& l) { return l.size() == 2 && l[0].stepCount > 0; });
  ASSERT_EQ(saved.size(), 2u);
  const MacroRecord& alpha = saved[0];
  ASSERT_EQ(alpha.stepCount, 6);
  const uint8_t codes[] = {kUsageA, kUsageA, kUsageB, kUsageB, kUsageC, kUsageC};
  const int expectedDelay[] = {500, 250, 120, 250, 120, 0};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(alpha.steps[i].code(), codes[i]) << i;
    EXPECT_EQ(alpha.steps[i].action(), i % 2 == 0 ? kActionPress : kActionRelease) << i;
    if (i == 0 || expectedDelay[i] == 0) {
      EXPECT_EQ(alpha.steps[i].delayMs(), expectedDelay[i]) << i;
    } else {
      // Recorded against the input's own timing: xdotool's sleeps are not exact.
      EXPECT_NEAR(alpha.steps[i].delayMs(), expectedDelay[i], 80) << i;
    }
    if (i > 0)
      std::printf("recorded step %d delay %d ms (input %d ms)\n", i, alpha.steps[i].delayMs(),
                  expectedDelay[i]);
  }

  auto block = readBlock();
  const ProfileRecord& profile = block->profiles[0];
  EXPECT_EQ(profile.keys[kBoundKey].functionCode, kFunctionRecordedMacro);
  EXPECT_EQ(profile.keys[kBoundKey].stepCount, 6);
  EXPECT_EQ(std::memcmp(profile.keys[kBoundKey].steps, alpha.steps, sizeof alpha.steps), 0);
  kbd::DownloadFlags flags;
  flags.keysChanged = true;
  EXPECT_EQ(emu::compareDownload(downloads[0], kbd::encodeDownload(profile, flags, false)).firstDifference,
            "");
}

TEST_F(MacroManagers, RenameToAnotherNameInOtherCaseIsRefusedAndANewMacroIsAdded) {
  writeLibrary({"Alpha", "Gamma"});
  startWithEmulatedKeyboard();
  startOption();
  HWND manager = openManager(1, kMacroTitle);
  ASSERT_NE(manager, nullptr);
  const POINT gamma = lineOf(manager, kMacroIni, kNames, 1);
  doubleClick(gamma);
  Sleep(300);
  key("ctrl+a A L P H A Return");
  Sleep(300);
  EXPECT_EQ(listLines(manager, kMacroNamesId), (std::vector<std::string>{"Alpha", "Gamma"}));

  clickOn(manager, kMacroIni, kNew);
  Sleep(200);
  key("ctrl+a D e l t a space O n e Return");
  Sleep(300);
  EXPECT_EQ(listLines(manager, kMacroNamesId), (std::vector<std::string>{"Alpha", "Gamma", "Delta One"}));
  // A new macro plays nothing until it has steps: OK says so and stays.
  clickOn(manager, kMacroIni, kOk);
  EXPECT_NE(balloonText().find("\"Delta One\" has no steps"), std::string::npos);
  ASSERT_TRUE(IsWindowVisible(manager));
  EXPECT_EQ(selectedLine(manager, kMacroNamesId), 2);
  clickOn(manager, kMacroIni, kRecord);
  key("a");
  Sleep(300);
  clickAgain();  // Record again: stops
  clickOn(manager, kMacroIni, kOk);
  ASSERT_TRUE(closed(manager));
  applyAndWait();
  const MacroLibrary saved =
      waitForSaved<MacroLibrary>(kMacroLibraryFile, [](const MacroLibrary& l) { return l.size() == 3; });
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_STREQ(saved[1].name, "Gamma");
  EXPECT_STREQ(saved[2].name, "Delta One");
  EXPECT_EQ(saved[2].stepCount, 2);
}

TEST_F(MacroManagers, ALongNameSaysItIsCutAndTheDeleteWarningNamesTheMacro) {
  writeLibrary({"Alpha"});
  writeProfile(0, [](ProfileRecord& p) {
    for (int k : {kBoundKey, kBoundKey + 1}) {
      p.keys[k].category = kCategoryMacro;
      p.keys[k].functionCode = kFunctionRecordedMacro;
      std::snprintf(p.keys[k].macroName, sizeof p.keys[k].macroName, "%s", "Alpha");
    }
  });
  startWithEmulatedKeyboard();
  startOption();
  HWND manager = openManager(1, kMacroTitle);
  ASSERT_NE(manager, nullptr);
  clickOn(manager, kMacroIni, kNew);
  Sleep(kQuickUserMs);
  key("ctrl+a");
  EXPECT_TRUE(xdotool("type --delay 30 'Sniper Rifle Reload'"));
  // Said while typing, with the editor still open.
  const std::string said = balloonText();
  EXPECT_NE(said.find("15 characters"), std::string::npos) << said;
  EXPECT_NE(GetWindow(GetDlgItem(manager, kMacroNamesId), GW_CHILD), nullptr);
  key("Return");
  EXPECT_EQ(linesOnceThey(manager, kMacroNamesId, {"Alpha", "Sniper Rifle Re"}),
            (std::vector<std::string>{"Alpha", "Sniper Rifle Re"}));

  // The warning names the macro and the keys that play it.
  click(lineOf(manager, kMacroIni, kNames, 0));
  Sleep(kQuickUserMs);
  clickOn(manager, kMacroIni, kDelete);
  HWND warn = waitForWindow("Warning");
  ASSERT_NE(warn, nullptr);
  screenshot(warn, "delete-macro-warning");
  clickOn(warn, "skin_delete_macro_warn.ini", 2);  // Cancel
  ASSERT_TRUE(closed(warn));
  EXPECT_EQ(listLines(manager, kMacroNamesId), (std::vector<std::string>{"Alpha", "Sniper Rifle Re"}));
  clickOn(manager, kMacroIni, kCancel);
  ASSERT_TRUE(closed(manager));
}

TEST_F(MacroManagers, RecordedPausesFollowXdotoolKeyDelay) {
  writeLibrary({"Timing"});
  startWithEmulatedKeyboard();
  startOption();
  HWND manager = openManager(1, kMacroTitle);
  ASSERT_NE(manager, nullptr);
  clickOn(manager, kMacroIni, kDelays);
  clickOn(manager, kMacroIni, kRecord);
  constexpr int kDelayMs = 100;
  ASSERT_TRUE(xdotool("key --delay " + std::to_string(kDelayMs) + " a b c d"));
  Sleep(300);
  clickAgain();
  clickOn(manager, kMacroIni, kOk);
  ASSERT_TRUE(closed(manager));
  applyAndWait();
  const MacroLibrary saved = waitForSaved<MacroLibrary>(
      kMacroLibraryFile, [](const MacroLibrary& l) { return l.size() == 1 && l[0].stepCount == 8; });
  ASSERT_EQ(saved[0].stepCount, 8);
  // xdotool waits half the delay after each press and each release.
  for (int i = 0; i < 7; ++i) {
    const int got = saved[0].steps[i].delayMs();
    std::printf("key --delay %d: step %d waits %d ms\n", kDelayMs, i, got);
    EXPECT_NEAR(got, kDelayMs / 2, 25) << i;
  }
  EXPECT_EQ(saved[0].steps[7].delayMs(), 0);
}

TEST_F(MacroManagers, DeletingABoundMacroMakesItsKeyADefaultKeyOnOkButNotOnCancel) {
  writeLibrary({"Alpha", "Gamma"});
  writeProfile(0, [](ProfileRecord& p) {
    KeyAssignment& k = p.keys[kBoundKey];
    k.category = kCategoryMacro;
    k.functionCode = kFunctionRecordedMacro;
    std::snprintf(k.macroName, sizeof k.macroName, "%s", "Alpha");
  });
  startWithEmulatedKeyboard();
  startOption();
  for (const bool ok : {false, true}) {
    HWND manager = openManager(1, kMacroTitle);
    ASSERT_NE(manager, nullptr);
    clickOn(manager, kMacroIni, kDelete);
    HWND warn = waitForWindow("Warning");
    ASSERT_NE(warn, nullptr);
    clickOn(warn, "skin_delete_macro_warn.ini", kOk);
    ASSERT_TRUE(closed(warn));
    EXPECT_EQ(listLines(manager, kMacroNamesId), std::vector<std::string>{"Gamma"});
    clickOn(manager, kMacroIni, ok ? kOk : kCancel);
    ASSERT_TRUE(closed(manager));
    // The file changes with the keys, at Apply only.
    MacroLibrary saved;
    loadList(saved, folder_, kMacroLibraryFile);
    EXPECT_EQ(saved.size(), 2u) << "ok " << ok;
  }
  const size_t mark = traceSize();
  click(mainControl(kApply));
  ASSERT_EQ(waitForDownloads(mark, 1).size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
  EXPECT_EQ(waitForSaved<MacroLibrary>(kMacroLibraryFile, [](const MacroLibrary& l) { return l.size() == 1; })
                .size(),
            1u);
  auto block = readBlock();
  EXPECT_EQ(block->profiles[0].keys[kBoundKey].category, kCategoryDefault);
  EXPECT_EQ(block->profiles[0].keys[kBoundKey].macroName[0], '\0');
}

TEST_F(MacroManagers, TextMacroIsWrittenSavedAndARightClickIsTheKeyAfter) {
  startWithEmulatedKeyboard();
  startOption();
  HWND manager = openManager(2, kTextTitle);
  ASSERT_NE(manager, nullptr);
  clickOn(manager, kTextIni, kNew);
  Sleep(200);
  key("ctrl+a G r e e t Return");
  Sleep(300);
  clickOn(manager, kTextIni, kTextEdit);
  key("h i space t h e r e Return x");
  clickOn(manager, kTextIni, kDelayEdit);
  key("ctrl+a 7 0 0 0 0");
  Sleep(300);
  char delay[16] = {};
  SendMessageA(GetDlgItem(manager, 4010), WM_GETTEXT, sizeof delay, reinterpret_cast<LPARAM>(delay));
  EXPECT_STREQ(delay, "65535");

  clickOn(manager, kTextIni, kKeyBefore);
  Sleep(200);
  key("shift");
  Sleep(200);
  clickOn(manager, kTextIni, kKeyAfter);
  Sleep(200);
  // A right click anywhere inside the dialog is the key after.
  click(lineOf(manager, kTextIni, kNames, 8), 3);
  Sleep(300);
  screenshot(manager, "text-macro-manager");
  clickOn(manager, kTextIni, kOk);
  if (!closed(manager)) capture(manager, dist_ + "text-after-ok.bmp");
  ASSERT_TRUE(closed(manager));
  applyAndWait();

  const TextMacroLibrary saved = waitForSaved<TextMacroLibrary>(
      kTextMacroLibraryFile, [](const TextMacroLibrary& l) { return !l.empty(); });
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_STREQ(saved[0].name, "Greet");
  EXPECT_STREQ(saved[0].text, "hi there\r\nx");
  EXPECT_EQ(saved[0].delayMs, 65535);
  EXPECT_EQ(saved[0].keyBefore, 225);  // left Shift
  EXPECT_EQ(saved[0].keyAfter, 241);
}

TEST_F(MacroManagers, RenamedMacroAndTextMacroKeepTheirKeysInEveryProfileAndThePlaying) {
  const MacroRecord alpha = recorded("Alpha", {kUsageA, kUsageB});
  ASSERT_TRUE(saveList(MacroLibrary{alpha, recorded("Gamma", {kUsageC})}, folder_, kMacroLibraryFile));
  TextMacroLibrary texts(1);
  std::strcpy(texts[0].name, "Hello");
  std::strcpy(texts[0].text, "hi there");
  texts[0].delayMs = 20;
  ASSERT_TRUE(saveList(texts, folder_, kTextMacroLibraryFile));
  constexpr int kTextKey = 6, kOtherProfileKey = 40;  // F6; a key of profile 3
  writeProfile(0, [](ProfileRecord& p) {
    bindMacro(p.keys[kBoundKey], recorded("Alpha", {kUsageA, kUsageB}));
    KeyAssignment& text = p.keys[kTextKey];
    text.category = kCategoryMacro;
    text.functionCode = kFunctionTextMacro;
    std::strcpy(text.textMacroName, "Hello");
    std::strcpy(text.textMacroText, "hi there");
    text.textDelayMs = 20;
  });
  writeProfile(2, [](ProfileRecord& p) {
    bindMacro(p.keys[kOtherProfileKey], recorded("Alpha", {kUsageA, kUsageB}));
  });
  startWithEmulatedKeyboard();
  startOption();

  // Alpha becomes Omega, and a new macro takes the name Alpha.
  HWND manager = openManager(1, kMacroTitle);
  ASSERT_NE(manager, nullptr);
  renameLine(manager, kMacroIni, 0, "O m e g a");
  clickOn(manager, kMacroIni, kNew);
  Sleep(kQuickUserMs);
  key("ctrl+a A l p h a Return");
  EXPECT_EQ(linesOnceThey(manager, kMacroNamesId, {"Omega", "Gamma", "Alpha"}),
            (std::vector<std::string>{"Omega", "Gamma", "Alpha"}));
  // The new Alpha needs steps to be stored.
  clickOn(manager, kMacroIni, kRecord);
  Sleep(kQuickUserMs);
  key("c");
  EXPECT_EQ(lineCountOnceIt(manager, kStepListId, 2), 2u);
  clickAgain();  // Record again: stops
  clickOn(manager, kMacroIni, kOk);
  ASSERT_TRUE(closed(manager));

  HWND text = openManager(2, kTextTitle);
  ASSERT_NE(text, nullptr);
  renameLine(text, kTextIni, 0, "G r e e t");
  EXPECT_EQ(linesOnceThey(text, kTextNamesId, {"Greet"}), std::vector<std::string>{"Greet"});
  clickOn(text, kTextIni, kOk);
  ASSERT_TRUE(closed(text));

  const size_t mark = traceSize();
  click(mainControl(kApply));
  const std::vector<Download> downloads = waitForDownloads(mark, 1);
  ASSERT_EQ(downloads.size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
  auto block = readBlock();
  const ProfileRecord& profile = block->profiles[0];
  const KeyAssignment& macroKey = profile.keys[kBoundKey];
  EXPECT_EQ(macroKey.functionCode, kFunctionRecordedMacro);
  EXPECT_STREQ(macroKey.macroName, "Omega");
  ASSERT_EQ(macroKey.stepCount, 4);  // the old Alpha's steps, not those of the new Alpha
  EXPECT_EQ(std::memcmp(macroKey.steps, alpha.steps, sizeof alpha.steps), 0);
  EXPECT_STREQ(block->profiles[2].keys[kOtherProfileKey].macroName, "Omega");
  EXPECT_EQ(block->profiles[2].keys[kOtherProfileKey].stepCount, 4);
  EXPECT_EQ(profile.keys[kTextKey].functionCode, kFunctionTextMacro);
  EXPECT_STREQ(profile.keys[kTextKey].textMacroName, "Greet");
  // The keyboard received the renamed key's macro.
  kbd::DownloadFlags flags;
  flags.keysChanged = true;
  EXPECT_EQ(emu::compareDownload(downloads[0], kbd::encodeDownload(profile, flags, false)).firstDifference,
            "");

  // The text macro key, pressed on the keyboard: the monitor types its text.
  TypingTarget target;
  ASSERT_TRUE(target.inFront());
  ASSERT_TRUE(control("press " + std::to_string(kTextKey)).has_value());
  ASSERT_TRUE(control("release " + std::to_string(kTextKey)).has_value());
  EXPECT_TRUE(waitFor([&] { return target.typed().find("hi there") != std::string::npos; }, 15000))
      << target.typed();
}

TEST_F(MacroManagers, WhileANewNameIsTypedEveryOtherClickActsOnTheNewLine) {
  const MacroRecord alpha = recorded("Alpha", {kUsageA});
  ASSERT_TRUE(saveList(MacroLibrary{alpha, recorded("Gamma", {kUsageC})}, folder_, kMacroLibraryFile));
  startWithEmulatedKeyboard();
  startOption();
  HWND manager = openManager(1, kMacroTitle);
  ASSERT_NE(manager, nullptr);

  // Delete while a new line is being named: only that line goes.
  clickOn(manager, kMacroIni, kNew);
  Sleep(kQuickUserMs);
  key("ctrl+a D e l t a");
  clickOn(manager, kMacroIni, kDelete);
  HWND warn = waitForWindow("Warning");
  ASSERT_NE(warn, nullptr);
  clickOn(warn, "skin_delete_macro_warn.ini", kOk);
  ASSERT_TRUE(closed(warn));
  EXPECT_EQ(listLines(manager, kMacroNamesId), (std::vector<std::string>{"Alpha", "Gamma"}));

  // Record while naming: the new macro takes the steps, no other.
  clickOn(manager, kMacroIni, kNew);
  Sleep(kQuickUserMs);
  key("ctrl+a B e t a");
  clickOn(manager, kMacroIni, kRecord);
  Sleep(kQuickUserMs);
  key("b");
  EXPECT_EQ(lineCountOnceIt(manager, kStepListId, 2), 2u);
  clickAgain();  // Record again: stops
  EXPECT_EQ(linesOnceThey(manager, kMacroNamesId, {"Alpha", "Gamma", "Beta"}),
            (std::vector<std::string>{"Alpha", "Gamma", "Beta"}));
  EXPECT_EQ(selectedLine(manager, kMacroNamesId), 2);

  // OK takes a name typed without Enter.
  clickOn(manager, kMacroIni, kNew);
  Sleep(kQuickUserMs);
  key("ctrl+a Z e t a");
  clickOn(manager, kMacroIni, kOk);
  // It is named now, but has no steps: OK says so and stays; with a step it closes.
  EXPECT_NE(balloonText().find("\"Zeta\" has no steps"), std::string::npos);
  EXPECT_EQ(linesOnceThey(manager, kMacroNamesId, {"Alpha", "Gamma", "Beta", "Zeta"}),
            (std::vector<std::string>{"Alpha", "Gamma", "Beta", "Zeta"}));
  clickOn(manager, kMacroIni, kRecord);
  Sleep(kQuickUserMs);
  key("d");
  EXPECT_EQ(lineCountOnceIt(manager, kStepListId, 2), 2u);
  clickAgain();  // Record again: stops
  clickOn(manager, kMacroIni, kOk);
  ASSERT_TRUE(closed(manager));
  applyAndWait();
  const MacroLibrary saved =
      waitForSaved<MacroLibrary>(kMacroLibraryFile, [](const MacroLibrary& l) { return l.size() == 4; });
  ASSERT_EQ(saved.size(), 4u);
  EXPECT_STREQ(saved[0].name, "Alpha");
  EXPECT_EQ(saved[0].stepCount, 2);
  EXPECT_EQ(std::memcmp(saved[0].steps, alpha.steps, sizeof alpha.steps), 0);
  EXPECT_STREQ(saved[1].name, "Gamma");
  EXPECT_EQ(saved[1].stepCount, 2);
  EXPECT_STREQ(saved[2].name, "Beta");
  ASSERT_EQ(saved[2].stepCount, 2);
  EXPECT_EQ(saved[2].steps[0].code(), kUsageB);
  EXPECT_STREQ(saved[3].name, "Zeta");
}

TEST_F(MacroManagers, TheStepMenuDeletesTheRightClickedLineAndTheCaretStaysThere) {
  ASSERT_TRUE(saveList(MacroLibrary{recorded("Steps", {kUsageA, kUsageB, kUsageC, 7, 8})}, folder_,
                       kMacroLibraryFile));
  startWithEmulatedKeyboard();
  startOption();
  HWND manager = openManager(1, kMacroTitle);
  ASSERT_NE(manager, nullptr);
  ASSERT_EQ(listLines(manager, kStepListId).size(), 10u);
  EXPECT_EQ(selectedLine(manager, kStepListId), 9);  // the last line when the macro shows

  // A right click on C's press, which is not selected: the menu's Delete
  // (its sixth entry) removes that step.
  click(stepLineOf(manager, 4), 3);
  Sleep(kQuickUserMs);
  key("Down Down Down Down Down Down Return");
  ASSERT_EQ(lineCountOnceIt(manager, kStepListId, 9), 9u);
  EXPECT_EQ(selectedLine(manager, kStepListId), 4);  // C's release, now in its place
  // Delete again on the line the caret shows: C's release goes, nothing else.
  clickAgain(3);
  Sleep(kQuickUserMs);
  key("Down Down Down Down Down Down Return");
  ASSERT_EQ(lineCountOnceIt(manager, kStepListId, 8), 8u);
  clickOn(manager, kMacroIni, kOk);
  ASSERT_TRUE(closed(manager));
  applyAndWait();
  const MacroLibrary saved = waitForSaved<MacroLibrary>(
      kMacroLibraryFile, [](const MacroLibrary& l) { return l.size() == 1 && l[0].stepCount == 8; });
  ASSERT_EQ(saved[0].stepCount, 8);
  const uint8_t codes[] = {kUsageA, kUsageA, kUsageB, kUsageB, 7, 7, 8, 8};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(saved[0].steps[i].code(), codes[i]) << i;
}

TEST_F(MacroManagers, TextTypedWhileANewNameIsOpenGoesToTheNewTextMacroAndACaptureCanBeLeft) {
  TextMacroLibrary texts(1);
  std::strcpy(texts[0].name, "Hello");
  std::strcpy(texts[0].text, "hi there");
  texts[0].keyBefore = 225;
  ASSERT_TRUE(saveList(texts, folder_, kTextMacroLibraryFile));
  startWithEmulatedKeyboard();
  startOption();
  HWND manager = openManager(2, kTextTitle);
  ASSERT_NE(manager, nullptr);
  clickOn(manager, kTextIni, kNew);
  Sleep(kQuickUserMs);
  key("ctrl+a N o t e");
  clickOn(manager, kTextIni, kTextEdit);
  key("n e w");
  EXPECT_EQ(linesOnceThey(manager, kTextNamesId, {"Hello", "Note"}),
            (std::vector<std::string>{"Hello", "Note"}));

  // Clicking the capture button while it captures, and Escape, end a capture with no key.
  clickOn(manager, kTextIni, kKeyBefore);
  Sleep(kQuickUserMs);
  clickAgain();
  Sleep(kQuickUserMs);
  clickOn(manager, kTextIni, kKeyAfter);
  Sleep(kQuickUserMs);
  key("Escape");
  Sleep(kQuickUserMs);
  // A click on Clear while capturing clears; it is no left mouse button.
  clickAgain();
  Sleep(kQuickUserMs);
  clickOn(manager, kTextIni, kClearAfter);
  Sleep(kQuickUserMs);
  clickOn(manager, kTextIni, kOk);
  ASSERT_TRUE(closed(manager));
  applyAndWait();
  const TextMacroLibrary saved = waitForSaved<TextMacroLibrary>(
      kTextMacroLibraryFile, [](const TextMacroLibrary& l) { return l.size() == 2; });
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_STREQ(saved[0].text, "hi there");
  EXPECT_EQ(saved[0].keyBefore, 225);
  EXPECT_STREQ(saved[1].name, "Note");
  EXPECT_STREQ(saved[1].text, "new");
  EXPECT_EQ(saved[1].keyBefore, 0);
  EXPECT_EQ(saved[1].keyAfter, 0);
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Re-recorded and renamed macros reach the files together with their keys,
// at Apply. The close question's Discard leaves the libraries, the keys, the
// block and the keyboard as they were; its Apply sends, writes both and then
// closes; a new start shows what was applied and has nothing to ask. Start-up
// never takes a key's older copy of a macro over the library's.
TEST_F(MacroManagers, ReRecordAndRenameAreDroppedByDiscardAndKeptByApplyAcrossARestart) {
  ASSERT_TRUE(saveList(MacroLibrary{recorded("Burst", {kUsageA, kUsageB}), recorded("Gamma", {kUsageC})},
                       folder_, kMacroLibraryFile));
  TextMacroLibrary texts(1);
  std::strcpy(texts[0].name, "sig");
  std::strcpy(texts[0].text, "Regards");
  ASSERT_TRUE(saveList(texts, folder_, kTextMacroLibraryFile));
  constexpr int kTextKey = 5;  // F5
  writeProfile(0, [](ProfileRecord& p) {
    bindMacro(p.keys[kBoundKey], recorded("Burst", {kUsageA}));  // older than the library's recording
    KeyAssignment& text = p.keys[kTextKey];
    text.category = kCategoryMacro;
    text.functionCode = kFunctionTextMacro;
    std::strcpy(text.textMacroName, "sig");
    std::strcpy(text.textMacroText, "Regards");
  });
  const std::string library = folder_ + kMacroLibraryFile.file, textLibrary = folder_ + kTextMacroLibraryFile.file;
  const std::string libraryBefore = fileBytes(library), textsBefore = fileBytes(textLibrary);
  const std::string profileBefore = fileBytes(profilePath(folder_, 0));
  auto editBoth = [&] {
    HWND manager = openManager(1, kMacroTitle);
    ASSERT_NE(manager, nullptr);
    clickOn(manager, kMacroIni, kRecord);  // Burst, the first line, is selected
    Sleep(kQuickUserMs);
    key("c");
    ASSERT_EQ(lineCountOnceIt(manager, kStepListId, 2), 2u);
    clickAgain();  // Record again: stops
    renameLine(manager, kMacroIni, 0, "S p r a y");
    ASSERT_EQ(linesOnceThey(manager, kMacroNamesId, {"Spray", "Gamma"}),
              (std::vector<std::string>{"Spray", "Gamma"}));
    clickOn(manager, kMacroIni, kOk);
    ASSERT_TRUE(closed(manager));
    HWND text = openManager(2, kTextTitle);
    ASSERT_NE(text, nullptr);
    renameLine(text, kTextIni, 0, "s i g n a t u r e");
    ASSERT_EQ(linesOnceThey(text, kTextNamesId, {"signature"}), std::vector<std::string>{"signature"});
    clickOn(text, kTextIni, kOk);
    ASSERT_TRUE(closed(text));
  };

  startWithEmulatedKeyboard();
  startOption();
  EXPECT_EQ(fileBytes(library), libraryBefore) << "start-up changed the library";
  size_t mark = traceSize();
  editBoth();
  if (HasFatalFailure()) return;
  closeAnswering(kAnswerDiscard);
  ASSERT_EQ(WaitForSingleObject(option_.hProcess, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(fileBytes(library), libraryBefore);
  EXPECT_EQ(fileBytes(textLibrary), textsBefore);
  EXPECT_EQ(fileBytes(profilePath(folder_, 0)), profileBefore);
  EXPECT_TRUE(downloadsSince(mark).empty());
  EXPECT_STREQ(readBlock()->profiles[0].keys[kBoundKey].macroName, "Burst");

  startOption();
  editBoth();
  if (HasFatalFailure()) return;
  mark = traceSize();
  closeAnswering(kAnswerApply);
  const std::vector<Download> downloads = waitForDownloads(mark, 1);
  ASSERT_EQ(downloads.size(), 1u);
  ASSERT_EQ(WaitForSingleObject(option_.hProcess, 15000), WAIT_OBJECT_0) << "the window stayed after its apply";
  auto block = readBlock();
  const ProfileRecord& profile = block->profiles[0];
  EXPECT_STREQ(profile.keys[kBoundKey].macroName, "Spray");
  ASSERT_EQ(profile.keys[kBoundKey].stepCount, 2);
  EXPECT_EQ(profile.keys[kBoundKey].steps[0].code(), kUsageC);
  EXPECT_STREQ(profile.keys[kTextKey].textMacroName, "signature");
  kbd::DownloadFlags flags;
  flags.keysChanged = true;
  EXPECT_EQ(emu::compareDownload(downloads[0], kbd::encodeDownload(profile, flags, false)).firstDifference,
            "");
  MacroLibrary savedMacros;
  loadList(savedMacros, folder_, kMacroLibraryFile);
  ASSERT_EQ(savedMacros.size(), 2u);
  EXPECT_STREQ(savedMacros[0].name, "Spray");
  EXPECT_STREQ(savedMacros[1].name, "Gamma");
  EXPECT_EQ(savedMacros[0].stepCount, 2);
  EXPECT_EQ(savedMacros[0].steps[0].code(), kUsageC);
  TextMacroLibrary savedTexts;
  loadList(savedTexts, folder_, kTextMacroLibraryFile);
  ASSERT_EQ(savedTexts.size(), 1u);
  EXPECT_STREQ(savedTexts[0].name, "signature");
  auto stored = std::make_unique<ProfileRecord>();
  loadProfile(*stored, profilePath(folder_, 0));
  EXPECT_STREQ(stored->keys[kBoundKey].macroName, "Spray");
  EXPECT_STREQ(stored->keys[kTextKey].textMacroName, "signature");

  const std::string applied = fileBytes(library);
  startOption();
  HWND manager = openManager(1, kMacroTitle);
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(listLines(manager, kMacroNamesId), (std::vector<std::string>{"Spray", "Gamma"}));
  EXPECT_EQ(listLines(manager, kStepListId).size(), 2u);
  clickOn(manager, kMacroIni, kCancel);
  ASSERT_TRUE(closed(manager));
  Sleep(kQuickUserMs);
  click(mainControl(OptionHarness::kClose));
  EXPECT_EQ(WaitForSingleObject(option_.hProcess, 10000), WAIT_OBJECT_0) << "asked with nothing to apply";
  EXPECT_EQ(fileBytes(library), applied);
}

// Keys bound to Jump and Jump2; Jump is deleted and Jump2 renamed Jump in one
// run: Jump's key becomes a default key, Jump2's key plays its own macro under
// the name Jump. Nothing plays the wrong macro on the keyboard.
TEST_F(MacroManagers, ANameDeletedAndReusedInOneRunNeverHandsItsKeysToTheOtherMacro) {
  ASSERT_TRUE(saveList(MacroLibrary{recorded("Jump", {kUsageA}), recorded("Jump2", {kUsageB, kUsageC})}, folder_,
                       kMacroLibraryFile));
  constexpr int kSecondKey = 7;
  writeProfile(0, [](ProfileRecord& p) {
    bindMacro(p.keys[kBoundKey], recorded("Jump", {kUsageA}));
    bindMacro(p.keys[kSecondKey], recorded("Jump2", {kUsageB, kUsageC}));
  });
  startWithEmulatedKeyboard();
  startOption();
  HWND manager = openManager(1, kMacroTitle);
  ASSERT_NE(manager, nullptr);
  clickOn(manager, kMacroIni, kDelete);  // Jump, the first line
  HWND warn = waitForWindow("Warning");
  ASSERT_NE(warn, nullptr);
  clickOn(warn, "skin_delete_macro_warn.ini", kOk);
  ASSERT_TRUE(closed(warn));
  Sleep(kQuickUserMs);
  renameLine(manager, kMacroIni, 0, "J u m p");
  ASSERT_EQ(linesOnceThey(manager, kMacroNamesId, {"Jump"}), std::vector<std::string>{"Jump"});
  clickOn(manager, kMacroIni, kOk);
  ASSERT_TRUE(closed(manager));

  const size_t mark = traceSize();
  click(mainControl(kApply));
  const std::vector<Download> downloads = waitForDownloads(mark, 1);
  ASSERT_EQ(downloads.size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
  auto block = readBlock();
  const ProfileRecord& profile = block->profiles[0];
  EXPECT_EQ(profile.keys[kBoundKey].functionCode, kFunctionDefault);
  EXPECT_EQ(profile.keys[kBoundKey].category, kCategoryDefault);
  EXPECT_STREQ(profile.keys[kSecondKey].macroName, "Jump");
  ASSERT_EQ(profile.keys[kSecondKey].stepCount, 4);
  EXPECT_EQ(profile.keys[kSecondKey].steps[0].code(), kUsageB);
  kbd::DownloadFlags flags;
  flags.keysChanged = true;
  EXPECT_EQ(emu::compareDownload(downloads[0], kbd::encodeDownload(profile, flags, false)).firstDifference,
            "");
  const MacroLibrary saved =
      waitForSaved<MacroLibrary>(kMacroLibraryFile, [](const MacroLibrary& l) { return l.size() == 1; });
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_STREQ(saved[0].name, "Jump");
  EXPECT_EQ(saved[0].stepCount, 4);
}

}  // namespace
