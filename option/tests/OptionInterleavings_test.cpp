// What happens meanwhile: the first click after every dialog closes, a
// profile switch by the monitor while edits wait and pages are open, a
// monitor that never confirms an apply, and a shared block that cannot be
// read. Real X input at the skin's places; results in the block and files.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "OptionHarness_win.h"
#include "ProfileFiles.h"
#include "SharedBlock_win.h"

namespace {

using namespace harness;

constexpr char kKeyPageTitle[] = "Key Assignment";
constexpr char kKeyPageIni[] = "buttons\\skin_set_button.ini";
constexpr char kMacroSectionIni[] = "buttons\\skin_Macro_section.ini";
constexpr char kMacroManagerTitle[] = "Varnel Quillon Macro Manager";
constexpr char kMacroManagerIni[] = "skin_macro_manager.ini";
constexpr char kTextManagerTitle[] = "Text Macro Manager";
constexpr char kTextManagerIni[] = "skin_text_macro_manager.ini";
constexpr char kColourTitle[] = "Color Select";
constexpr char kColourIni[] = "LightFX\\skin_Color_Select.ini";
constexpr char kLightingIni[] = "skin_color_control.ini";
constexpr int kMacroMenuButton = 3;
constexpr DWORD kQuickUser = 150;  // how soon a quick user clicks after a window changed
enum KeyPageKey { kCategory = 1, kKeyOk = 7, kKeyCancel = 8, kSubPageArea = 9 };
enum ManagerKey { kManagerOk = 1, kManagerCancel = 2, kNew = 4, kDelete = 5, kRecord = 7 };
enum ColourKey { kFirstPreset = 8, kColourOk = 14 };
enum WarnKey { kWarnOk = 1, kWarnCancel = 2 };
constexpr int kLightingEffectArea = 6;
constexpr int kLightingPagePosition = 2;
constexpr int kProfilePageOk = 7;

class OptionInterleavings : public OptionHarness {
 protected:
  // Waits for `window` to go, then lets a quick user's reaction time pass.
  void closedThenQuickUser(HWND window) {
    ASSERT_TRUE(waitFor([&] { return !IsWindowVisible(window); }, 5000));
    Sleep(kQuickUser);
  }
  // The Windows-key page: the main window's skinned child with three buttons.
  HWND windowsKeyPage() const {
    for (HWND c = GetWindow(optionWindow(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      char name[64] = {};
      GetClassNameA(c, name, sizeof name);
      int children = 0;
      for (HWND b = GetWindow(c, GW_CHILD); b; b = GetWindow(b, GW_HWNDNEXT)) ++children;
      if (std::strcmp(name, "QuillonSkinWindow") == 0 && children == 3) return c;
    }
    return nullptr;
  }
  bool showsWindowsKeyPage(bool shown) {
    return waitFor([&] { return (IsWindowVisible(windowsKeyPage()) != FALSE) == shown; }, 2000);
  }
  // Profile p's page button is enabled exactly while p is the profile shown.
  bool showsProfile(int p, DWORD ms = 2000) {
    return waitFor([&] { return IsWindowEnabled(mainButton(kFirstProfilePage + p)) != FALSE; }, ms);
  }
  POINT lightingSwatch() const {
    POINT origin = clientOrigin(optionWindow());
    const SkinPosition page = position("skin_Config.ini", "PAGEPOSITION", kLightingPagePosition);
    const SkinPosition area = position(kLightingIni, "BUTTONPOS", kLightingEffectArea);
    return centreOf("LightFX\\skin_CONSTANT.ini", 1,
                    {origin.x + page.rect.left + area.rect.left, origin.y + page.rect.top + area.rect.top});
  }
  POINT subPageOrigin(HWND page) const {
    POINT origin = clientOrigin(page);
    const SkinPosition area = position(kKeyPageIni, "BUTTONPOS", kSubPageArea);
    return {origin.x + area.rect.left, origin.y + area.rect.top};
  }
  // The key page of `keyIndex` with the category of menu line `line` chosen
  // (4: macro, 7: key disabled).
  HWND openKeyPageOn(int keyIndex, int line) {
    click(keyboardKey(keyIndex));
    HWND page = waitForWindow(kKeyPageTitle);
    if (!page) return nullptr;
    clickOn(page, kKeyPageIni, kCategory);
    Sleep(300);
    std::string keys;
    for (int i = 0; i < line; ++i) keys += "Down ";
    key(keys + "Return");
    Sleep(300);
    return page;
  }
  HWND openManagerFrom(HWND page, int menuLine, const char* title) {
    click(centreOf(kMacroSectionIni, 2, subPageOrigin(page)));
    Sleep(300);
    key(menuLine == 1 ? "Down Return" : "Down Down Return");
    return waitForWindow(title);
  }
};

// Each dialog hands the next click to the window it was opened from at once:
// the owner is active again, and OK's work is done before it takes input.
TEST_F(OptionInterleavings, TheFirstClickAfterEveryDialogTakesEffect) {
  startWithEmulatedKeyboard();
  startOption();

  click(mainControl(kFirstProfilePage));
  HWND dialog = waitForWindow("Profile 1");
  ASSERT_NE(dialog, nullptr);
  clickOn(dialog, "buttons\\skin_profile1.ini", kProfilePageOk);
  closedThenQuickUser(dialog);
  click(mainControl(kTabLighting));
  EXPECT_TRUE(showsWindowsKeyPage(false)) << "after the profile page";

  dialog = (click(lightingSwatch()), waitForWindow(kColourTitle));
  ASSERT_NE(dialog, nullptr);
  clickOn(dialog, kColourIni, kFirstPreset + 2);
  clickOn(dialog, kColourIni, kColourOk);
  closedThenQuickUser(dialog);
  click(mainControl(kTabWindowsKey));
  EXPECT_TRUE(showsWindowsKeyPage(true)) << "after the colour dialog";

  click(mainControl(kReset));
  dialog = waitForWindow("Reset");
  ASSERT_NE(dialog, nullptr);
  clickOn(dialog, "skin_reset_warn.ini", kWarnCancel);
  closedThenQuickUser(dialog);
  click(mainControl(kTabLighting));
  EXPECT_TRUE(showsWindowsKeyPage(false)) << "after the reset warning";

  click(mainControl(kMacroMenuButton));
  key("Down Return");
  dialog = waitForWindow(kMacroManagerTitle);
  ASSERT_NE(dialog, nullptr);
  clickOn(dialog, kMacroManagerIni, kManagerOk);
  closedThenQuickUser(dialog);
  click(mainControl(kFirstSelector + 1));
  EXPECT_TRUE(showsProfile(1)) << "after the macro manager";

  click(mainControl(kMacroMenuButton));
  key("Down Down Return");
  dialog = waitForWindow(kTextManagerTitle);
  ASSERT_NE(dialog, nullptr);
  clickOn(dialog, kTextManagerIni, kManagerCancel);
  closedThenQuickUser(dialog);
  click(mainControl(kFirstSelector + 2));
  EXPECT_TRUE(showsProfile(2)) << "after the text macro manager";

  // Inside the macro manager: its delete warning, then the manager's Cancel.
  click(mainControl(kMacroMenuButton));
  key("Down Return");
  HWND manager = waitForWindow(kMacroManagerTitle);
  ASSERT_NE(manager, nullptr);
  clickOn(manager, kMacroManagerIni, kNew);
  Sleep(300);
  key("ctrl+a T m p Return");
  Sleep(300);
  clickOn(manager, kMacroManagerIni, kDelete);
  dialog = waitForWindow("Warning");
  ASSERT_NE(dialog, nullptr);
  clickOn(dialog, "skin_delete_macro_warn.ini", kWarnCancel);
  closedThenQuickUser(dialog);
  clickOn(manager, kMacroManagerIni, kManagerCancel);
  EXPECT_TRUE(waitFor([&] { return !IsWindow(manager); }, 2000)) << "after the delete warning";

  // The key assignment page and a manager opened from it: the new macro's
  // line, clicked at once, binds it, and OK at once stores the key.
  click(mainControl(kFirstSelector));
  ASSERT_TRUE(showsProfile(0));
  click(mainControl(kTabWindowsKey));  // the keys show with this page
  ASSERT_TRUE(showsWindowsKeyPage(true));
  HWND page = openKeyPageOn(20, 4);
  ASSERT_NE(page, nullptr);
  manager = openManagerFrom(page, 1, kMacroManagerTitle);
  ASSERT_NE(manager, nullptr);
  clickOn(manager, kMacroManagerIni, kNew);
  Sleep(300);
  key("ctrl+a Z e d Return");
  Sleep(300);
  // A new macro is stored with steps only: one key, recorded.
  clickOn(manager, kMacroManagerIni, kRecord);
  Sleep(kQuickUser);
  key("z");
  Sleep(300);
  EXPECT_TRUE(xdotool("click 1"));  // Record again, where the mouse is: stops
  pump();
  clickOn(manager, kMacroManagerIni, kManagerOk);
  closedThenQuickUser(manager);
  const SkinPosition list = position(kMacroSectionIni, "BUTTONPOS", 1);
  const POINT sub = subPageOrigin(page);
  click({sub.x + list.rect.left + 40, sub.y + list.rect.top + 10});  // the first line: "Zed"
  Sleep(kQuickUser);
  clickOn(page, kKeyPageIni, kKeyOk);
  closedThenQuickUser(page);
  click(mainControl(kTabLighting));
  EXPECT_TRUE(showsWindowsKeyPage(false)) << "after the key assignment page";
  applyAndWait();
  auto block = readBlock();
  EXPECT_EQ(block->profiles[0].keys[20].functionCode, kFunctionRecordedMacro);
  EXPECT_STREQ(block->profiles[0].keys[20].macroName, "Zed");
}

// A linked program coming to the front switches the monitor's profile; the
// window follows it and keeps every edit not applied yet, and a page open
// on the old profile still writes into that profile.
TEST_F(OptionInterleavings, AProfileSwitchByTheMonitorKeepsEditsAndOpenPagesWriteWhereTheyWereOpened) {
  auto linked = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*linked, 1);
  std::snprintf(linked->linkedApps[0], sizeof linked->linkedApps[0], "%sLinkedGame.exe", folder_.c_str());
  ASSERT_TRUE(saveProfile(*linked, profilePath(folder_, 1)));
  startWithEmulatedKeyboard();
  startOption();

  // An edit waiting for Apply, then a key page open on profile 1.
  click(winKeyButton(1));  // OFF
  HWND page = openKeyPageOn(30, 7);
  ASSERT_NE(page, nullptr);
  HWND game = bringUpForegroundApp("LinkedGame.exe", "Quillon linked game");
  ASSERT_NE(game, nullptr);
  ASSERT_TRUE(showsProfile(1, 10000)) << "the window did not follow the monitor";
  clickOn(page, kKeyPageIni, kKeyOk);
  ASSERT_TRUE(waitFor([&] { return !IsWindow(page); }, 5000));
  PostMessageA(game, WM_CLOSE, 0, 0);

  // The colour dialog open on profile 1 while the monitor switches back.
  click(mainControl(kFirstSelector));
  ASSERT_TRUE(showsProfile(0));
  applyAndWait();
  click(mainControl(kTabLighting));
  HWND dialog = (click(lightingSwatch()), waitForWindow(kColourTitle));
  ASSERT_NE(dialog, nullptr);
  game = bringUpForegroundApp("LinkedGame.exe", "Quillon linked game again");
  ASSERT_TRUE(showsProfile(1, 10000));
  clickOn(dialog, kColourIni, kFirstPreset + 2);  // green
  clickOn(dialog, kColourIni, kColourOk);
  ASSERT_TRUE(waitFor([&] { return !IsWindow(dialog); }, 5000));
  PostMessageA(game, WM_CLOSE, 0, 0);
  applyAndWait();

  auto block = readBlock();
  EXPECT_EQ(block->currentProfile, 1);
  EXPECT_EQ(block->profiles[0].leftWinLock, 0);
  EXPECT_EQ(block->profiles[0].keys[30].category, kCategoryDisabled);
  EXPECT_EQ(block->profiles[1].keys[30].category, kCategoryDefault);
  EXPECT_EQ(block->profiles[0].staticColor, 0x00FF00u);
  EXPECT_EQ(block->profiles[1].staticColor, linked->staticColor);
}

// A stand-in for the monitor's window that notes each UM_APPLY's id and
// answers none: the test answers, late or not.
struct SilentMonitor {
  static inline std::vector<LPARAM> ids;
  HWND window = nullptr;
  SilentMonitor() {
    ids.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message != UM_APPLY) return DefWindowProcA(hwnd, message, wParam, lParam);
      ids.push_back(lParam);
      return 0;
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuillonSilentMonitor";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, wc.lpszClassName, kMonitorWindowTitle, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             wc.hInstance, nullptr);
  }
  ~SilentMonitor() { DestroyWindow(window); }
  static void answer(LPARAM id) {
    if (HWND option = FindWindowA(nullptr, kOptionWindowTitle))
      PostMessageA(option, UM_APPLY_DONE, WPARAM(id), kApplySent);
  }
};

// Without an answer the busy state ends after its time-out, and the window
// says that the keyboard did not confirm. That apply's answer, coming late
// while the next apply waits, does not end the next one's wait: only the
// answer with the next one's id does, and the window says where it went.
TEST_F(OptionInterleavings, AnApplyTheMonitorNeverConfirmsEndsAndSaysSoAndItsLateAnswerIsNotTheNext) {
  SilentMonitor monitor;
  ASSERT_NE(monitor.window, nullptr);
  startOption();
  constexpr RECT kStatusStrip{20, 566, 1040, 586};  // the main window's help and status line
  auto stripPixels = [&] { return pixelsOf(optionWindow(), kStatusStrip); };
  xdotool("mousemove 0 0");
  const std::vector<uint32_t> hint = stripPixels();
  click(mainControl(kApply));
  ASSERT_TRUE(waitFor([&] { return SilentMonitor::ids.size() == 1; }, 5000));
  EXPECT_FALSE(IsWindowEnabled(mainButton(kApply)));
  EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(mainButton(kApply)) != FALSE; }, 15000));
  xdotool("mousemove 0 0");
  Sleep(300);
  const std::vector<uint32_t> unconfirmed = stripPixels();
  EXPECT_NE(unconfirmed, hint) << "no word of the missing confirmation";

  // Confirmed: the line says that the keyboard has the settings.
  click(mainControl(kApply));
  ASSERT_TRUE(waitFor([&] { return SilentMonitor::ids.size() == 2; }, 5000));
  EXPECT_NE(SilentMonitor::ids[0], SilentMonitor::ids[1]) << "two applies, one id";
  SilentMonitor::answer(SilentMonitor::ids[0]);  // the first apply's answer, late
  SilentMonitor::answer(0);                      // and one that names no apply
  waitFor([] { return false; }, 1000);
  EXPECT_FALSE(IsWindowEnabled(mainButton(kApply))) << "a late answer ended the wait of the next apply";
  SilentMonitor::answer(SilentMonitor::ids[1]);
  EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(mainButton(kApply)) != FALSE; }, 5000));
  xdotool("mousemove 0 0");
  Sleep(300);
  const std::vector<uint32_t> sent = stripPixels();
  EXPECT_NE(sent, unconfirmed);
  EXPECT_NE(sent, hint) << "no word of where the settings went";
}

// The settings mutex held by someone else: Apply gives up after two seconds
// and says so, sends and saves nothing, and the edits go at the next Apply.
TEST_F(OptionInterleavings, AnApplyWhileTheSettingsAreHeldFailsVisiblyAndLosesNothing) {
  SilentMonitor monitor;
  ASSERT_NE(monitor.window, nullptr);
  SharedBlock monitorBlock;  // as the monitor makes them
  ASSERT_TRUE(monitorBlock.create());
  auto published = std::make_unique<SettingsImage>();
  buildDefaultImage(*published);
  ASSERT_TRUE(monitorBlock.copyToBlock(*published));
  startOption();
  constexpr RECT kStatusStrip{20, 566, 1040, 586};
  auto stripPixels = [&] { return pixelsOf(optionWindow(), kStatusStrip); };
  xdotool("mousemove 0 0");
  const std::vector<uint32_t> hint = stripPixels();
  click(mainControl(kFirstSelector + 2));  // an edit: profile 3 made active
  ASSERT_TRUE(showsProfile(2));

  UniqueHandle held(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kSettingsMutexName));
  ASSERT_TRUE(held);
  ASSERT_EQ(WaitForSingleObject(held.get(), 0), WAIT_OBJECT_0);
  const DWORD start = GetTickCount();
  click(mainControl(kApply));
  ASSERT_TRUE(waitFor(
      [&] { return IsWindowEnabled(mainButton(kApply)) != FALSE && GetTickCount() - start > 500; }, 10000));
  std::printf("Apply with the settings held: gave up after %lu ms\n", GetTickCount() - start);
  xdotool("mousemove 0 0");
  Sleep(300);
  const std::vector<uint32_t> failed = stripPixels();
  EXPECT_NE(failed, hint) << "no word of the failure";
  EXPECT_TRUE(SilentMonitor::ids.empty()) << "nothing announced";
  auto block = std::make_unique<SettingsImage>();
  ASSERT_TRUE(monitorBlock.copyFromBlock(*block));  // this thread holds the mutex
  EXPECT_EQ(block->currentProfile, 0) << "nothing handed over";
  ASSERT_TRUE(ReleaseMutex(held.get()));
  held.reset();

  click(mainControl(kApply));
  ASSERT_TRUE(waitFor([&] { return SilentMonitor::ids.size() == 1; }, 5000));
  SilentMonitor::answer(SilentMonitor::ids[0]);
  ASSERT_TRUE(waitApplyEnabled());
  ASSERT_TRUE(monitorBlock.copyFromBlock(*block));
  EXPECT_EQ(block->currentProfile, 2) << "the edit went at the next Apply";
  xdotool("mousemove 0 0");
  Sleep(300);
  EXPECT_NE(stripPixels(), failed) << "the failure is still said after an apply that went";
}

// A block whose mutex is missing cannot be read: the window starts from the
// files, and its apply writes them back unchanged, not five blank profiles.
TEST_F(OptionInterleavings, ABlockThatCannotBeReadLeavesTheWindowOnTheFiles) {
  writeProfile(0, [](ProfileRecord& p) { p.waveColor = 0x123456; });
  UniqueHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          DWORD(kSharedBlockSize), kSharedBlockName));
  ASSERT_TRUE(mapping);
  startOption();
  click(mainControl(kApply));
  ASSERT_TRUE(waitApplyEnabled());
  auto saved = std::make_unique<SettingsImage>();
  loadAll(*saved, folder_);
  EXPECT_EQ(saved->profiles[0].waveColor, 0x123456u);
  EXPECT_STREQ(saved->profiles[0].profileName, "Profile #1");
  EXPECT_EQ(saved->profiles[3].ltControl, kBrightnessMax);
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

constexpr RECT kStatusStrip{20, 566, 1040, 586};  // the main window's help and status line
constexpr RECT kTitleMark{520, 8, 770, 32};       // the title bar's word on changes not applied

// Changes not applied show on the Apply button and in the title bar; the
// close question's Cancel keeps the window and the change; Apply clears both
// marks and says what it did, and a close then asks nothing.
TEST_F(OptionInterleavings, UnappliedChangesShowOnApplyAndInTheTitleAndCancelKeepsThem) {
  startWithEmulatedKeyboard();
  startOption();
  const SkinPosition applyAt = position("skin_Config.ini", "BUTTONPOS", kApply);
  const RECT applyArea{applyAt.rect.left, applyAt.rect.top, applyAt.rect.right, applyAt.rect.bottom};
  auto applyLook = [&] { return pixelsOf(optionWindow(), applyArea); };
  auto titleLook = [&] { return pixelsOf(optionWindow(), kTitleMark); };
  xdotool("mousemove 0 0");
  Sleep(300);
  const std::vector<uint32_t> plainApply = applyLook(), plainTitle = titleLook();
  const std::vector<uint32_t> hint = pixelsOf(optionWindow(), kStatusStrip);

  click(winKeyButton(1));  // OFF
  xdotool("mousemove 0 0");
  EXPECT_TRUE(waitFor([&] { return applyLook() != plainApply; }, 3000)) << "Apply looks as before";
  EXPECT_NE(titleLook(), plainTitle) << "no word in the title";
  capture(optionWindow(), dist_ + "main-window-unapplied.bmp");

  click(mainControl(kClose));
  HWND question = waitForWindow("Not applied");
  ASSERT_NE(question, nullptr);
  capture(question, dist_ + "unapplied-question.bmp");
  Sleep(kQuickUser);
  clickOn(question, "skin_unapplied_warn.ini", kAnswerCancel);
  closedThenQuickUser(question);
  EXPECT_TRUE(optionRunning());
  xdotool("mousemove 0 0");
  Sleep(300);
  EXPECT_NE(applyLook(), plainApply) << "the change went with Cancel";

  applyAndWait();
  xdotool("mousemove 0 0");
  EXPECT_TRUE(waitFor([&] { return applyLook() == plainApply; }, 3000)) << "Apply still marked";
  EXPECT_EQ(titleLook(), plainTitle);
  EXPECT_NE(pixelsOf(optionWindow(), kStatusStrip), hint) << "the apply said nothing";
  EXPECT_EQ(readBlock()->profiles[0].leftWinLock, 0);
  click(mainControl(kClose));
  EXPECT_EQ(WaitForSingleObject(option_.hProcess, 10000), WAIT_OBJECT_0) << "asked with nothing to apply";
}

// The command-line import beside the open window refuses, with exit 1 and
// one line, while the profile it would replace holds changes not applied or
// while a dialog of the window is open; nothing changes then. Otherwise the
// window's status line says what came in.
TEST_F(OptionInterleavings, AnImportIsRefusedOverUnappliedChangesOrAnOpenDialogAndShownOtherwise) {
  startWithEmulatedKeyboard();
  startOption();
  const std::string file = folder_ + "two.vqprofile";
  ProgramRun r = run("Option.exe", "--export-profile 2 \"" + file + "\"");
  ASSERT_TRUE(r.ended);
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  click(winKeyButton(1));  // profile 1: the Windows key locked, not applied
  const std::string profileBefore = fileBytes(profilePath(folder_, 0));
  const auto blockBefore = readBlock();
  const size_t mark = traceSize();
  r = run("Option.exe", "--import-profile 1 \"" + file + "\"");
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_NE(r.output.find("not applied"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << "one line: " << r.output;
  EXPECT_EQ(fileBytes(profilePath(folder_, 0)), profileBefore);
  EXPECT_EQ(std::memcmp(readBlock().get(), blockBefore.get(), sizeof(SettingsImage)), 0);

  // A key page open: refused for any profile.
  click(keyboardKey(30));
  HWND page = waitForWindow(kKeyPageTitle);
  ASSERT_NE(page, nullptr);
  r = run("Option.exe", "--import-profile 3 \"" + file + "\"");
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_NE(r.output.find("dialog is open"), std::string::npos) << r.output;
  EXPECT_TRUE(downloadsSince(mark).empty());
  Sleep(kQuickUser);
  clickOn(page, kKeyPageIni, kKeyCancel);
  closedThenQuickUser(page);

  // Profile 3, untouched: it comes in, and the window says so.
  xdotool("mousemove 0 0");
  Sleep(300);
  const std::vector<uint32_t> strip = pixelsOf(optionWindow(), kStatusStrip);
  r = run("Option.exe", "--import-profile 3 \"" + file + "\"");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  ASSERT_EQ(waitForDownloads(mark, 1).size(), 1u);
  EXPECT_STREQ(readBlock()->profiles[2].profileName, blockBefore->profiles[1].profileName);
  EXPECT_EQ(readBlock()->profiles[0].leftWinLock, 1) << "an edit not applied was sent";
  EXPECT_TRUE(waitFor([&] { return pixelsOf(optionWindow(), kStatusStrip) != strip; }, 3000))
      << "the status line says nothing of the import";
}

}  // namespace
