// The key assignment page through the real windows, with real mouse and key
// input: each category chosen through the menu, confirmed with OK, applied,
// and read back from the emulated keyboard's key table and macro buffers.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "DownloadEncoder.h"
#include "FirmwareModel.h"
#include "ListFiles.h"
#include "OptionHarness_win.h"

namespace {

using namespace harness;

constexpr char kPageTitle[] = "Key Assignment";
constexpr char kPageIni[] = "buttons\\skin_set_button.ini";
constexpr char kKeyboardIni[] = "buttons\\skin_Keyboard_button.ini";
constexpr char kMediaIni[] = "buttons\\skin_Media_button.ini";
constexpr char kShortcutIni[] = "buttons\\skin_Shortcut_button.ini";
constexpr char kLaunchIni[] = "buttons\\skin_LaunchAP_button.ini";
enum PageControl { kCategory = 1, kPlayMode = 2, kPlayCount = 3, kOk = 7, kCancel = 8, kSubPageArea = 9 };
constexpr int kPlayCountEditId = 5011;

// Lines of the category menu, counted with Down from the top (separators
// are skipped); with 35 macro keys the combination and macro lines are gone.
enum MenuLine {
  kDefaultLine = 1,
  kCombinationLine,
  kMediaLine,
  kMacroLine,
  kLaunchLine,
  kShortcutLine,
  kDisabledLine
};

int keyOfUsage(uint8_t usage) {
  for (int k = 0; k < kKeyCount; ++k)
    if (defaultUsageOf[k] == usage) return k;
  return -1;
}

// The emulated keyboard's stored key slots and macro buffers, from `dump`.
struct StoredKeys {
  std::string json;
  static StoredKeys read() { return {control("dump").value_or("")}; }
  std::string slot(int keyIndex) const {
    size_t at = json.find("\"keyTable\":[");
    if (at == std::string::npos) return {};
    at += 12;
    for (int i = 0; i < kbd::keySlotOf[keyIndex]; ++i) at = json.find('"', json.find('"', at) + 1) + 1;
    const size_t from = json.find('"', at) + 1;
    return json.substr(from, json.find('"', from) - from);
  }
  bool containsMacro(const std::string& hexBytes) const { return json.find(hexBytes) != std::string::npos; }
};

std::string hexOf(const uint8_t* bytes, size_t n) { return emu::hex(bytes, n); }

class KeyAssignSystem : public OptionHarness {
 protected:
  HWND openPage(int keyIndex) {
    clickAt(keyboardKey(keyIndex));
    return waitForWindow(kPageTitle);
  }
  // A click at `at`, as the harness's click: only where the mouse already is,
  // a synchronous move there would wait for a motion that never comes.
  void clickAt(POINT at) {
    POINT now{};
    if (GetCursorPos(&now) && now.x == at.x && now.y == at.y) {
      EXPECT_TRUE(xdotool("click 1"));
      pump();
    } else {
      click(at);
    }
  }
  void clickOn(HWND window, const char* ini, int key) { clickAt(centreOf(ini, key, clientOrigin(window))); }
  POINT subPageOrigin(HWND page) const {
    POINT origin = clientOrigin(page);
    const SkinPosition area = position(kPageIni, "BUTTONPOS", kSubPageArea);
    return {origin.x + area.rect.left, origin.y + area.rect.top};
  }
  void clickSubPage(HWND page, const char* ini, int key) { clickAt(centreOf(ini, key, subPageOrigin(page))); }
  void chooseLine(HWND page, int line) {
    clickOn(page, kPageIni, kCategory);
    Sleep(300);
    std::string keys;
    for (int i = 0; i < line; ++i) keys += "Down ";
    key(keys + "Return");
    Sleep(300);
  }
  // The number of controls on the visible sub-page: 0 default, 1 keyboard
  // key, 3 launch, 6 media, 10 shortcut; -1 when none is visible.
  static HWND visibleSubPage(HWND page) {
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char name[64] = {};
      GetClassNameA(child, name, sizeof name);
      if (std::strcmp(name, "QuillonSkinWindow") == 0 && IsWindowVisible(child)) return child;
    }
    return nullptr;
  }
  // The list of another program holds `count` lines once it handled the click.
  static bool linesAre(HWND list, LRESULT count) {
    return waitFor([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == count; }, 5000);
  }
  static int visibleSubPageControls(HWND page) {
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char name[64] = {};
      GetClassNameA(child, name, sizeof name);
      if (std::strcmp(name, "QuillonSkinWindow") != 0 || !IsWindowVisible(child)) continue;
      int controls = 0;
      for (HWND c = GetWindow(child, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++controls;
      return controls;
    }
    return -1;
  }
  // The help balloon on the screen, if one is.
  static HWND visibleBalloon() {
    HWND balloon = nullptr;
    while ((balloon = FindWindowExA(nullptr, balloon, "QuillonBalloonTip", nullptr)))
      if (IsWindowVisible(balloon)) return balloon;
    return nullptr;
  }
  // What the balloon says once it shows; "" when none shows.
  static std::string balloonText() {
    std::string text;
    waitFor(
        [&] {
          char buffer[256] = {};
          if (HWND balloon = visibleBalloon()) GetWindowTextA(balloon, buffer, sizeof buffer);
          text = buffer;
          return !text.empty();
        },
        5000);
    return text;
  }
  void applyAll() {
    const size_t mark = traceSize();
    click(mainControl(kApply));
    ASSERT_FALSE(waitForDownloads(mark, 1).empty());
    ASSERT_TRUE(waitApplyEnabled());
  }
  // Beside the test program, where they outlive the test's private folder.
  static std::string shotsFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.rfind('\\') + 1);
    folder += "key-page-shots\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
  }
  void screenshot(HWND page, const std::string& name) {
    Sleep(500);  // painted
    const Capture shot = capture(page, shotsFolder() + name + ".bmp");
    EXPECT_GT(shot.colours(), 8u) << name << " looks blank";
  }
};

TEST_F(KeyAssignSystem, EveryCategoryThroughTheMenuReachesTheKeyboard) {
  ASSERT_TRUE(installMarker("Launched.exe"));
  AppList launch;
  addPath(launch, folder_ + "Launched.exe");
  ASSERT_TRUE(saveList(launch, folder_, kLaunchAppListFile));
  startWithEmulatedKeyboard();
  startOption();
  const int media = keyOfUsage(58), combo = keyOfUsage(59), single = keyOfUsage(60),
            shortcut = keyOfUsage(61), launcher = keyOfUsage(62), disabled = keyOfUsage(63);

  HWND page = openPage(media);
  ASSERT_NE(page, nullptr);
  screenshot(page, "default-page");
  chooseLine(page, kMediaLine);
  EXPECT_EQ(visibleSubPageControls(page), 6);
  clickSubPage(page, kMediaIni, 1);  // Mute
  screenshot(page, "media-page");
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));

  page = openPage(combo);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kCombinationLine);
  EXPECT_EQ(visibleSubPageControls(page), 1);
  clickSubPage(page, kKeyboardIni, 1);  // RECORD down
  key("ctrl+shift+a");
  key("b");  // after A the capture has ended: not taken
  Sleep(300);
  screenshot(page, "keyboard-key-page");
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));

  page = openPage(single);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kCombinationLine);
  clickSubPage(page, kKeyboardIni, 1);
  key("b");
  Sleep(300);
  screenshot(page, "single-key");
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));

  page = openPage(shortcut);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kShortcutLine);
  EXPECT_EQ(visibleSubPageControls(page), 10);
  clickSubPage(page, kShortcutIni, 4);  // copy: Ctrl+C, code 51
  screenshot(page, "shortcut-page");
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));

  page = openPage(launcher);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kLaunchLine);
  EXPECT_EQ(visibleSubPageControls(page), 3);
  const SkinPosition list = position(kLaunchIni, "BUTTONPOS", 1);
  const POINT origin = subPageOrigin(page);
  click({origin.x + list.rect.left + 30, origin.y + list.rect.top + 10});  // the first line
  screenshot(page, "launch-page");
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));

  page = openPage(disabled);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kDisabledLine);
  EXPECT_EQ(visibleSubPageControls(page), 0);
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));

  applyAll();
  auto block = readBlock();
  const ProfileRecord& p = block->profiles[block->currentProfile];
  EXPECT_EQ(p.keys[media].category, kCategoryMedia);
  EXPECT_EQ(p.keys[media].functionCode, 24);
  EXPECT_EQ(p.keys[combo].functionCode, kFunctionCombination);
  EXPECT_EQ(p.keys[combo].stepCount, 3);
  EXPECT_EQ(p.keys[combo].steps[2].code(), 4);  // A; B came after the end
  EXPECT_EQ(p.keys[combo].steps[3].code(), 0);
  EXPECT_EQ(p.standardKey[combo], defaultUsageOf[combo]);  // a combination is no remap
  EXPECT_EQ(p.standardKey[single], 5);                     // B
  EXPECT_EQ(p.keys[shortcut].functionCode, 51);
  EXPECT_EQ(p.keys[launcher].functionCode, kFunctionLaunch);
  EXPECT_EQ(std::string(p.keys[launcher].appPath), folder_ + "Launched.exe");
  EXPECT_EQ(p.keys[disabled].category, kCategoryDisabled);
  EXPECT_EQ(p.totalMacro, 2);

  const StoredKeys stored = StoredKeys::read();
  EXPECT_EQ(stored.slot(media), "0300E200");
  const kbd::KeyTableBuild want = kbd::buildKeyTable(p);
  for (int k : {combo, single, shortcut, launcher, disabled})
    EXPECT_EQ(stored.slot(k), hexOf(want.slots[kbd::keySlotOf[k]].data(), 4)) << "key " << k;
  // Ctrl, Shift, A pressed in order, then released in the same order.
  const kbd::MacroBuffer macro = kbd::encodeMacro(p.keys[combo]);
  EXPECT_TRUE(stored.containsMacro(hexOf(macro.data(), macro.size())));
  const std::string events = hexOf(macro.data() + kbd::kMacroEventsOffset, 12);
  EXPECT_EQ(events.substr(2, 2) + events.substr(6, 2) + events.substr(10, 2), "E0E104");
  EXPECT_EQ(events.substr(14, 2) + events.substr(18, 2) + events.substr(22, 2), "E0E104");

  // The launcher key starts its program when the keyboard reports it.
  ASSERT_TRUE(control("press " + std::to_string(launcher)).has_value());
  EXPECT_TRUE(startedMark("Launched.exe", 10000).has_value());
}

TEST_F(KeyAssignSystem, OkOnMediaWithoutAMediaKeySaysWhyAndTheKeyStaysAsItWas) {
  constexpr int kKey = 20;
  writeProfile(0, [](ProfileRecord& p) {
    p.keys[kKey].category = kCategoryDisabled;
    p.keys[kKey].functionCode = kFunctionDisabled;
  });
  startWithEmulatedKeyboard();
  startOption();
  HWND page = openPage(kKey);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kMediaLine);
  clickOn(page, kPageIni, kOk);
  const std::string said = balloonText();
  EXPECT_NE(said.find("No media function is chosen"), std::string::npos) << said;
  EXPECT_NE(said.find("as it was"), std::string::npos) << said;
  ASSERT_TRUE(IsWindowVisible(page));
  // Beside OK, not over it: OK's middle is still OK's.
  HWND balloon = visibleBalloon();
  RECT okRect{}, tip{};
  GetWindowRect(GetDlgItem(page, 200 + kOk), &okRect);
  GetWindowRect(balloon, &tip);
  EXPECT_LE(tip.bottom, okRect.top);
  screenshot(page, "key-page-incomplete");
  // Completed, the same OK takes it.
  clickSubPage(page, kMediaIni, 5);  // volume up
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));
  applyAll();
  auto block = readBlock();
  EXPECT_EQ(block->profiles[0].keys[kKey].category, kCategoryMedia);

  // Incomplete again, then Cancel: the key is what it was.
  page = openPage(kKey);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kCombinationLine);
  clickOn(page, kPageIni, kOk);
  EXPECT_NE(balloonText().find("No key combination"), std::string::npos);
  clickOn(page, kPageIni, kCancel);
  ASSERT_TRUE(closed(page));
  applyAll();
  block = readBlock();
  EXPECT_EQ(block->profiles[0].keys[kKey].category, kCategoryMedia);
}

TEST_F(KeyAssignSystem, EscapeAndCancelChangeNothingAndCountIsClamped) {
  startWithEmulatedKeyboard();
  startOption();
  const int k = keyOfUsage(64);
  const KeyAssignment before = readBlock()->profiles[0].keys[k];
  HWND page = openPage(k);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kDisabledLine);
  Sleep(150);
  key("Escape");  // the page's Cancel
  ASSERT_TRUE(closed(page));
  page = openPage(k);
  ASSERT_NE(page, nullptr);

  chooseLine(page, kMacroLine);
  clickOn(page, kPageIni, kPlayMode);
  Sleep(300);
  key("Down Down Return");  // Play N Times
  Sleep(300);
  HWND count = GetDlgItem(page, kPlayCountEditId);
  ASSERT_NE(count, nullptr);
  EXPECT_TRUE(IsWindowEnabled(count));
  clickOn(page, kPageIni, kPlayCount);
  key("End BackSpace BackSpace BackSpace BackSpace 0");
  Sleep(300);
  char text[16] = {};  // another program's edit: its text only by message
  SendMessageA(count, WM_GETTEXT, sizeof text, LPARAM(text));
  EXPECT_STREQ(text, "1");
  chooseLine(page, kDisabledLine);
  EXPECT_FALSE(IsWindowEnabled(count));
  clickOn(page, kPageIni, kCancel);
  ASSERT_TRUE(closed(page));
  click(mainControl(kApply));
  ASSERT_TRUE(waitApplyEnabled());
  auto block = readBlock();
  EXPECT_EQ(std::memcmp(&block->profiles[block->currentProfile].keys[k], &before, sizeof before), 0);
}

TEST_F(KeyAssignSystem, MacroThenCombinationRecordThenMacroAgainSendsTheMacrosOwnSteps) {
  MacroLibrary macros(1);
  std::strcpy(macros[0].name, "Alpha");
  macros[0].stepCount = 4;
  macros[0].steps[0] = MacroStep::make(0x04, kActionPress, 30);
  macros[0].steps[1] = MacroStep::make(0x04, kActionRelease, 0);
  macros[0].steps[2] = MacroStep::make(0x05, kActionPress, 0);
  macros[0].steps[3] = MacroStep::make(0x05, kActionRelease, 0);
  ASSERT_TRUE(saveList(macros, folder_, kMacroLibraryFile));
  constexpr int kF5 = 5;
  writeProfile(0, [](ProfileRecord& p) {
    KeyAssignment& k = p.keys[kF5];
    k.category = kCategoryMacro;
    k.functionCode = kFunctionRecordedMacro;
    std::strcpy(k.macroName, "Alpha");
    k.stepCount = 4;
    k.steps[0] = MacroStep::make(0x04, kActionPress, 30);
    k.steps[1] = MacroStep::make(0x04, kActionRelease, 0);
    k.steps[2] = MacroStep::make(0x05, kActionPress, 0);
    k.steps[3] = MacroStep::make(0x05, kActionRelease, 0);
  });
  startWithEmulatedKeyboard();
  startOption();
  HWND page = openPage(kF5);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(visibleSubPageControls(page), 2);  // the macro page: list and MANAGE
  chooseLine(page, kCombinationLine);
  clickSubPage(page, kKeyboardIni, 1);  // RECORD clears the combination's key bytes
  Sleep(150);
  chooseLine(page, kMacroLine);  // Alpha shows selected again
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));
  applyAll();

  auto block = readBlock();
  const KeyAssignment& key = block->profiles[0].keys[kF5];
  EXPECT_EQ(key.category, kCategoryMacro);
  EXPECT_EQ(key.functionCode, kFunctionRecordedMacro);
  ASSERT_EQ(key.stepCount, 4);
  EXPECT_EQ(std::memcmp(key.steps, macros[0].steps, sizeof key.steps), 0);
  const kbd::MacroBuffer sent = kbd::encodeMacro(key);
  EXPECT_TRUE(StoredKeys::read().containsMacro(hexOf(sent.data(), sent.size())));
}

TEST_F(KeyAssignSystem, TheLaunchListBindsWhatItShowsAndACancelledPageUndoesItsDelete) {
  AppList launch;
  for (const char* name : {"One", "Two", "Three"})
    addPath(launch, std::string("C:\\Games\\") + name + ".exe");
  ASSERT_TRUE(saveList(launch, folder_, kLaunchAppListFile));
  constexpr int kF7 = 7, kF8 = 8;
  writeProfile(0, [](ProfileRecord& p) {
    p.keys[kF7].category = kCategoryLaunch;
    p.keys[kF7].functionCode = kFunctionLaunch;
    std::strcpy(p.keys[kF7].appPath, "C:\\Games\\Two.exe");
  });
  startWithEmulatedKeyboard();
  startOption();
  constexpr int kListId = 801;  // the launch page's list: its id base + position 1

  // Delete takes Two away; Three comes into its place, highlighted and bound.
  HWND page = openPage(kF7);
  ASSERT_NE(page, nullptr);
  HWND list = GetDlgItem(visibleSubPage(page), kListId);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  clickSubPage(page, kLaunchIni, 3);
  EXPECT_TRUE(linesAre(list, 2));
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));

  // On a page that is cancelled, a Delete is undone with the rest.
  page = openPage(kF8);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kLaunchLine);
  list = GetDlgItem(visibleSubPage(page), kListId);
  const SkinPosition area = position(kLaunchIni, "BUTTONPOS", 1);
  const POINT origin = subPageOrigin(page);
  click({origin.x + area.rect.left + 30, origin.y + area.rect.top + 10});  // One
  clickSubPage(page, kLaunchIni, 3);
  EXPECT_TRUE(linesAre(list, 1));
  clickOn(page, kPageIni, kCancel);
  ASSERT_TRUE(closed(page));
  page = openPage(kF8);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kLaunchLine);
  list = GetDlgItem(visibleSubPage(page), kListId);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
  clickOn(page, kPageIni, kCancel);
  ASSERT_TRUE(closed(page));

  applyAll();
  auto block = readBlock();
  EXPECT_EQ(block->profiles[0].keys[kF7].functionCode, kFunctionLaunch);
  EXPECT_STREQ(block->profiles[0].keys[kF7].appPath, "C:\\Games\\Three.exe");
  EXPECT_EQ(block->profiles[0].keys[kF8].category, kCategoryDefault);
  AppList saved;
  loadList(saved, folder_, kLaunchAppListFile);
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_STREQ(saved[0].path, "C:\\Games\\One.exe");
  EXPECT_STREQ(saved[1].path, "C:\\Games\\Three.exe");
}

// A window of this test program: another program than the one capturing.
class OtherProgram {
 public:
  OtherProgram() {
    window_ = CreateWindowExA(WS_EX_TOPMOST, "EDIT", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 20, 200, 40,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~OtherProgram() { DestroyWindow(window_); }
  POINT centre() const {
    RECT r;
    GetWindowRect(window_, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  std::string text() {
    pump();
    char text[64] = {};
    GetWindowTextA(window_, text, sizeof text);
    return text;
  }
  static void pump() {
    const DWORD until = GetTickCount() + 500;
    while (GetTickCount() < until) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      Sleep(10);
    }
  }

 private:
  HWND window_;
};

TEST_F(KeyAssignSystem, ACaptureSwallowsTypingUntilThePageCloses) {
  startWithEmulatedKeyboard();
  startOption();
  HWND page = openPage(keyOfUsage(66));
  ASSERT_NE(page, nullptr);
  chooseLine(page, kCombinationLine);
  clickSubPage(page, kKeyboardIni, 1);  // RECORD down: the hook runs
  OtherProgram other;
  click(other.centre());
  OtherProgram::pump();
  key("x");  // the whole combination: swallowed
  EXPECT_EQ(other.text(), "");
  clickSubPage(page, kKeyboardIni, 1);  // RECORD again
  key("shift");                         // a modifier: the capture goes on
  // Closed without a command: the page's end removes the hook.
  PostMessageA(page, WM_CLOSE, 0, 0);
  ASSERT_TRUE(closed(page));
  click(other.centre());
  OtherProgram::pump();
  key("z");
  EXPECT_EQ(other.text(), "z");
}

}  // namespace

namespace {

constexpr char kMacroSectionIni[] = "buttons\\skin_Macro_section.ini";
constexpr int kMacroListLineHeight = 20;

// The macro page of category 5: a recorded macro and a text macro of the
// libraries bound to two keys through the real windows; the keyboard plays
// the recorded one itself, and the monitor types the text one.
class MacroBindingSystem : public KeyAssignSystem {
 protected:
  void SetUp() override {
    KeyAssignSystem::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuillonBindingTarget";
    RegisterClassA(&wc);
    top_ = CreateWindowExA(0, wc.lpszClassName, "Quillon typing target", WS_OVERLAPPEDWINDOW, 60, 700, 600,
                           120, nullptr, nullptr, wc.hInstance, nullptr);
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 580, 30, top_,
                            nullptr, wc.hInstance, nullptr);
    ASSERT_NE(edit_, nullptr);
  }
  void TearDown() override {
    if (top_) DestroyWindow(top_);
    KeyAssignSystem::TearDown();
  }
  // Clicks line `line` of the macro page's list: macros first, then text macros.
  void chooseMacroLine(HWND page, int line) {
    const SkinPosition list = position(kMacroSectionIni, "BUTTONPOS", 1);
    const POINT origin = subPageOrigin(page);
    clickAt({origin.x + list.rect.left + 60, origin.y + list.rect.top + line * kMacroListLineHeight + 10});
  }
  std::string typed() const {
    char text[256] = {};
    GetWindowTextA(edit_, text, sizeof text);
    return text;
  }
  HWND top_ = nullptr, edit_ = nullptr;
};

TEST_F(MacroBindingSystem, ARecordedAndATextMacroChosenOnTheMacroPageArePlayed) {
  MacroLibrary macros(1);
  std::strcpy(macros[0].name, "Alpha");
  macros[0].stepCount = 2;
  macros[0].steps[0] = MacroStep::make(0x04, kActionPress, 30);
  macros[0].steps[1] = MacroStep::make(0x04, kActionRelease, 0);
  ASSERT_TRUE(saveList(macros, folder_, kMacroLibraryFile));
  TextMacroLibrary texts(1);
  std::strcpy(texts[0].name, "Hello");
  std::strcpy(texts[0].text, "hi there");
  texts[0].delayMs = 20;
  ASSERT_TRUE(saveList(texts, folder_, kTextMacroLibraryFile));
  startWithEmulatedKeyboard();
  startOption();
  const int recorded = keyOfUsage(0x3E), text = keyOfUsage(0x3F);  // F5, F6

  HWND page = openPage(recorded);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kMacroLine);
  chooseMacroLine(page, 0);
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));
  page = openPage(text);
  ASSERT_NE(page, nullptr);
  chooseLine(page, kMacroLine);
  chooseMacroLine(page, 1);
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));
  applyAll();

  auto block = readBlock();
  const ProfileRecord& profile = block->profiles[block->currentProfile];
  const KeyAssignment& macroKey = profile.keys[recorded];
  EXPECT_EQ(macroKey.category, kCategoryMacro);
  EXPECT_EQ(macroKey.functionCode, kFunctionRecordedMacro);
  EXPECT_STREQ(macroKey.macroName, "Alpha");
  ASSERT_EQ(macroKey.stepCount, 2);
  EXPECT_EQ(macroKey.steps[0], macros[0].steps[0]);
  const KeyAssignment& textKey = profile.keys[text];
  EXPECT_EQ(textKey.category, kCategoryMacro);
  EXPECT_EQ(textKey.functionCode, kFunctionTextMacro);
  EXPECT_STREQ(textKey.textMacroName, "Hello");
  EXPECT_STREQ(textKey.textMacroText, "hi there");
  // The keyboard holds the recorded macro in its buffers: the key table
  // points the key at one.
  EXPECT_NE(StoredKeys::read().slot(recorded), StoredKeys::read().slot(keyOfUsage(0x40)));

  // The text macro key pressed on the keyboard: the monitor types the text
  // into the program in front.
  ShowWindow(top_, SW_SHOW);
  ASSERT_TRUE(waitFor(
      [&] {
        if (GetForegroundWindow() != top_) SetForegroundWindow(top_);
        SetFocus(edit_);
        return GetForegroundWindow() == top_ && GetFocus() == edit_;
      },
      10000));
  ASSERT_TRUE(control("press " + std::to_string(text)).has_value());
  ASSERT_TRUE(control("release " + std::to_string(text)).has_value());
  EXPECT_TRUE(waitFor([&] { return typed().find("hi there") != std::string::npos; }, 15000)) << typed();
}

TEST_F(MacroBindingSystem, ThirtyFiveMacroKeysInAFileWithoutTheirCountRefuseAThirtySixthButNotATextMacro) {
  MacroLibrary macros(1);
  std::strcpy(macros[0].name, "Alpha");
  macros[0].stepCount = 2;
  macros[0].steps[0] = MacroStep::make(0x04, kActionPress, 0);
  macros[0].steps[1] = MacroStep::make(0x04, kActionRelease, 0);
  ASSERT_TRUE(saveList(macros, folder_, kMacroLibraryFile));
  TextMacroLibrary texts(1);
  std::strcpy(texts[0].name, "Hello");
  std::strcpy(texts[0].text, "hi there");
  ASSERT_TRUE(saveList(texts, folder_, kTextMacroLibraryFile));
  writeProfile(0, [](ProfileRecord& p) {
    for (int k = 0; k < 35; ++k) {
      p.keys[k].category = kCategoryCombination;
      p.keys[k].functionCode = kFunctionCombination;
      p.keys[k].stepCount = 1;
      p.keys[k].steps[0].word = 4;
    }
    p.totalMacro = -1;  // as a file without TotalMacro, or with a wrong one
  });
  startWithEmulatedKeyboard();
  startOption();
  constexpr int kRefused = kKeyCount - 1, kText = kKeyCount - 2;  // far from the 35

  HWND page = openPage(kRefused);
  ASSERT_NE(page, nullptr);
  chooseLine(page, 2);  // the second line is media now: no combination
  EXPECT_EQ(visibleSubPageControls(page), 6);
  chooseLine(page, 3);  // the macro line stays for text macros
  EXPECT_EQ(visibleSubPageControls(page), 2);
  chooseMacroLine(page, 0);  // the recorded macro: no buffer left for it
  clickOn(page, kPageIni, kOk);
  // OK does not take it: the page stays and says why; Cancel keeps the key.
  EXPECT_FALSE(balloonText().empty());
  EXPECT_TRUE(IsWindowVisible(page));
  clickOn(page, kPageIni, kCancel);
  ASSERT_TRUE(closed(page));

  page = openPage(kText);
  ASSERT_NE(page, nullptr);
  chooseLine(page, 3);
  chooseMacroLine(page, 1);
  clickOn(page, kPageIni, kOk);
  ASSERT_TRUE(closed(page));

  page = openPage(0);  // holds a combination: may change it
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(visibleSubPageControls(page), 1);
  chooseLine(page, 2);
  EXPECT_EQ(visibleSubPageControls(page), 1);
  clickOn(page, kPageIni, kCancel);
  ASSERT_TRUE(closed(page));

  applyAll();
  auto block = readBlock();
  const ProfileRecord& p = block->profiles[0];
  // As it was: the refused macro is bound nowhere.
  EXPECT_EQ(p.keys[kRefused].category, kCategoryDefault);
  EXPECT_NE(p.keys[kRefused].functionCode, kFunctionRecordedMacro);
  EXPECT_EQ(p.keys[kText].functionCode, kFunctionTextMacro);
  EXPECT_STREQ(p.keys[kText].textMacroName, "Hello");
  EXPECT_EQ(p.totalMacro, 35);
  EXPECT_EQ(countMacroKeys(p), 35);
}

}  // namespace
