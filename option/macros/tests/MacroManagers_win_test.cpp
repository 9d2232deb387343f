// The two macro managers through the real windows, with real keys and mouse
// clicks: recording, naming, a text macro with its keys, and what OK leaves
// in the library files, in the keys bound to a macro and in the keyboard.

#include <cstdio>
#include <cstring>
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

constexpr char kMacroTitle[] = "Torvane Gaming Mouse Macro Manager";
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
  void clickOn(HWND window, const char* ini, int control, int button = 1) {
    click(centreOf(ini, control, clientOrigin(window)), button);
  }
  // A line of a list, by its index, in screen coordinates (lines are 20 px).
  POINT lineOf(HWND window, const char* ini, int list, int line) {
    const SkinPosition p = position(ini, "BUTTONPOS", list);
    const POINT origin = clientOrigin(window);
    return {origin.x + p.rect.left + 40, origin.y + p.rect.top + line * 20 + 10};
  }
  std::vector<std::string> listLines(HWND window, int controlId) {
    std::vector<std::string> lines;
    HWND list = GetDlgItem(window, controlId);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      // Across processes the text arrives whole only through the wide call.
      wchar_t text[256] = {};
      if (SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0) < LRESULT(std::size(text)))
        SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
      char narrow[256] = {};
      WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
      lines.push_back(narrow);
    }
    return lines;
  }
  bool closed(HWND window) {
    return waitFor([&] { return !IsWindow(window); }, 5000);
  }
  void screenshot(HWND window, const std::string& name) {
    const Capture shot = capture(window, folder_ + name + ".bmp");
    EXPECT_GT(shot.colours(), 20u) << name << " looks blank";
    CopyFileA((folder_ + name + ".bmp").c_str(), (dist_ + name + ".bmp").c_str(), FALSE);
  }
};

constexpr int kMacroNamesId = 500 + kNames;  // the manager's control ids: 500 + position
constexpr int kStepListId = 500 + kSteps;

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
  clickOn(manager, kMacroIni, kRecord);
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
  click(firstDelay, 3);
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

  // The bound key took the recorded steps, and Apply sends them.
  const size_t mark = traceSize();
  click(mainControl(kApply));
  const std::vector<Download> downloads = waitForDownloads(mark, 1);
  ASSERT_EQ(downloads.size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
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
  ASSERT_TRUE(xdotool("mousemove --sync " + std::to_string(gamma.x) + " " + std::to_string(gamma.y) +
                      " click --repeat 2 --delay 80 1"));
  Sleep(300);
  key("ctrl+a A L P H A Return");
  Sleep(300);
  EXPECT_EQ(listLines(manager, kMacroNamesId), (std::vector<std::string>{"Alpha", "Gamma"}));

  clickOn(manager, kMacroIni, kNew);
  Sleep(200);
  key("ctrl+a D e l t a space O n e Return");
  Sleep(300);
  EXPECT_EQ(listLines(manager, kMacroNamesId), (std::vector<std::string>{"Alpha", "Gamma", "Delta One"}));
  clickOn(manager, kMacroIni, kOk);
  ASSERT_TRUE(closed(manager));
  const MacroLibrary saved =
      waitForSaved<MacroLibrary>(kMacroLibraryFile, [](const MacroLibrary& l) { return l.size() == 3; });
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_STREQ(saved[1].name, "Gamma");
  EXPECT_STREQ(saved[2].name, "Delta One");
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
  clickOn(manager, kMacroIni, kRecord);
  clickOn(manager, kMacroIni, kOk);
  ASSERT_TRUE(closed(manager));
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
    const size_t expected = ok ? 1 : 2;
    const MacroLibrary saved = waitForSaved<MacroLibrary>(
        kMacroLibraryFile, [&](const MacroLibrary& l) { return l.size() == expected; });
    EXPECT_EQ(saved.size(), expected) << "ok " << ok;
  }
  const size_t mark = traceSize();
  click(mainControl(kApply));
  ASSERT_EQ(waitForDownloads(mark, 1).size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
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

  const TextMacroLibrary saved = waitForSaved<TextMacroLibrary>(
      kTextMacroLibraryFile, [](const TextMacroLibrary& l) { return !l.empty(); });
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_STREQ(saved[0].name, "Greet");
  EXPECT_STREQ(saved[0].text, "hi there\r\nx");
  EXPECT_EQ(saved[0].delayMs, 65535);
  EXPECT_EQ(saved[0].keyBefore, 225);  // left Shift
  EXPECT_EQ(saved[0].keyAfter, 241);
}

}  // namespace
