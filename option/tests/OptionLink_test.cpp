// The configuration window and the tray at the keyboard link's edges, driven
// with real input: an unplug keeps the window, its edits and an open key
// page, and Apply after the plug-in sends them; the firmware box shows what
// the keyboard answered; the tray menu lists the profiles and makes the
// chosen one active.

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "DownloadEncoder.h"
#include "OptionHarness_win.h"
#include "ProfileFiles.h"
#include "SharedBlock_win.h"

namespace {

using namespace harness;

constexpr DWORD kLong = 20000;
constexpr char kKeyPageTitle[] = "Key Assignment";
constexpr char kKeyPageIni[] = "buttons\\skin_set_button.ini";
enum KeyPageKey { kCategory = 1, kKeyOk = 7 };
constexpr RECT kStatusStrip{20, 566, 1040, 586};  // the main window's help and status line
constexpr RECT kFirmwareBox{308, 252, 348, 282};

class OptionLink : public OptionHarness {
 protected:
  void TearDown() override {
    SetEnvironmentVariableA(kTrayTraceVariable, nullptr);
    OptionHarness::TearDown();
  }
  // The key page of `keyIndex` with the category of menu line `line` chosen
  // (7: key disabled).
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
  std::vector<uint32_t> strip() {
    xdotool("mousemove 0 0");
    Sleep(300);
    return pixelsOf(optionWindow(), kStatusStrip);
  }
  void waitForVersionReads(int n) {
    ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "GetFeature") == n; }, kLong))
        << n << " version reads";
  }
};

// A cable hiccup, a switch box or sleep used to close the window and throw
// away every edit not applied, with a key page open under it.
TEST_F(OptionLink, UnpluggedTheWindowKeepsItsEditsAndItsOpenPageAndApplySendsThemOnceItIsBack) {
  startWithEmulatedKeyboard();
  startOption();
  waitForVersionReads(2);
  const std::vector<uint32_t> hint = strip();

  click(winKeyButton(1));  // unlock the Windows key: not applied
  HWND page = openKeyPageOn(30, 7);
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(control("unplug").has_value());
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, kLong));
  waitFor([] { return false; }, 1000);
  ASSERT_TRUE(optionRunning()) << "the window closed at the unplug";
  ASSERT_TRUE(IsWindow(page)) << "the key page closed at the unplug";

  // The page's OK is handled by the window that stayed.
  clickOn(page, kKeyPageIni, kKeyOk);
  ASSERT_TRUE(waitFor([&] { return !IsWindow(page); }, 5000));
  const std::vector<uint32_t> away = strip();
  EXPECT_NE(away, hint) << "no word that the keyboard is not connected";

  ASSERT_TRUE(control("plug").has_value());
  waitForVersionReads(3);
  EXPECT_TRUE(waitFor([&] { return strip() != away; }, 5000)) << "no word that it is back";
  EXPECT_TRUE(downloadsSince(0).empty()) << "nothing was applied, nothing is sent";

  const size_t mark = traceSize();
  applyAndWait();
  EXPECT_EQ(downloadsSince(mark).size(), 1u);
  auto block = readBlock();
  const ProfileRecord& active = block->profiles[block->currentProfile];
  EXPECT_EQ(active.leftWinLock, 0);
  EXPECT_EQ(active.keys[30].category, kCategoryDisabled);
  EXPECT_TRUE(reportFaults(tracedCalls()).empty());
}

// Applied while the keyboard is away: the files take it at once, the window
// says it was only saved, and the keyboard receives it at its arrival.
TEST_F(OptionLink, AppliedWhileUnpluggedTheKeyboardReceivesItAtItsArrival) {
  startWithEmulatedKeyboard();
  startOption();
  waitForVersionReads(2);
  ASSERT_TRUE(control("unplug").has_value());
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, kLong));
  const std::vector<uint32_t> away = strip();
  click(winKeyButton(1));
  click(mainControl(kApply));
  EXPECT_TRUE(waitApplyEnabled(5000));
  EXPECT_NE(strip(), away) << "no word where the settings went";
  auto saved = std::make_unique<SettingsImage>();
  clearImage(*saved);
  loadAll(*saved, folder_);
  EXPECT_EQ(saved->profiles[saved->currentProfile].leftWinLock, 0) << "Apply did not save the files";

  const size_t mark = traceSize();
  ASSERT_TRUE(control("plug").has_value());
  const std::vector<Download> sent = waitForDownloads(mark, 1);
  ASSERT_EQ(sent.size(), 1u) << "the keyboard did not receive what was applied while it was away";
  auto block = readBlock();
  kbd::DownloadFlags winLock;
  winLock.winLockChanged = true;
  const emu::Comparison c = emu::compareDownload(
      sent.front(), kbd::encodeDownload(block->profiles[block->currentProfile], winLock, false));
  EXPECT_EQ(c.firstDifference, "");
}

// The firmware box shows what the keyboard answered, also in a window that
// was open before the monitor read it.
TEST_F(OptionLink, TheFirmwareBoxShowsTheKeyboardsFirmware) {
  startOption();  // no monitor yet: the stored default, 1.00
  const std::vector<uint32_t> stored = pixelsOf(optionWindow(), kFirmwareBox);
  startWithEmulatedKeyboard();
  ASSERT_TRUE(waitFor([&] { return iniString("Setting", "FWVersion") == "103"; }, kLong));
  EXPECT_TRUE(waitFor([&] { return pixelsOf(optionWindow(), kFirmwareBox) != stored; }, 5000))
      << "the window still shows the stored version";
}

// The tray menu, laid out as Monitor.exe lays it out, measured on a copy in
// this process: where each item's centre lies below the menu's top.
struct MenuProbe {
  static inline HMENU menu = nullptr;
  static inline std::vector<LONG> centres;
  static void CALLBACK measure(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    RECT frame{};
    for (HWND w = FindWindowA("#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == GetCurrentProcessId() && IsWindowVisible(w)) GetWindowRect(w, &frame);
    }
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      RECT item{};
      GetMenuItemRect(nullptr, menu, UINT(i), &item);
      centres.push_back((item.top + item.bottom) / 2 - frame.top);
    }
    EndMenu();
  }
};

std::vector<LONG> trayMenuCentres() {
  HWND owner =
      CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  MenuProbe::menu = CreatePopupMenu();
  MenuProbe::centres.clear();
  for (int p = 0; p < kProfileCount; ++p)
    AppendMenuW(MenuProbe::menu, MF_STRING, 100 + p, (L"Profile #" + std::to_wstring(p + 1)).c_str());
  AppendMenuW(MenuProbe::menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(MenuProbe::menu, MF_STRING, 200, L"Open Settings");
  AppendMenuW(MenuProbe::menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(MenuProbe::menu, MF_STRING, 201, L"Exit");
  SetTimer(nullptr, 0, 300, MenuProbe::measure);
  TrackPopupMenu(MenuProbe::menu, TPM_LEFTBUTTON, 100, 100, 0, owner, nullptr);
  DestroyMenu(MenuProbe::menu);
  DestroyWindow(owner);
  return MenuProbe::centres;
}

TEST_F(OptionLink, TheTrayMenuListsTheProfilesAndTheChosenOneBecomesActiveAndNamedInTheTip) {
  const std::vector<LONG> centres = trayMenuCentres();
  ASSERT_EQ(centres.size(), 9u);
  const std::string trayTrace = folder_ + "tray_trace.txt";
  SetEnvironmentVariableA(kTrayTraceVariable, trayTrace.c_str());
  startWithEmulatedKeyboard();
  SetEnvironmentVariableA(kTrayTraceVariable, nullptr);
  waitForVersionReads(2);
  ASSERT_EQ(readBlock()->currentProfile, 0);

  // Opened by its notification message where the pointer stands, as a
  // right click on the icon does.
  xdotool("mousemove --sync 300 200");
  PostMessageA(monitorWindow(), UM_TRAY_NOTIFY, kTrayIconId, WM_RBUTTONDOWN);
  HWND menu = nullptr;
  ASSERT_TRUE(waitFor(
      [&] {
        for (HWND w = FindWindowA("#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner == monitor_.dwProcessId && IsWindowVisible(w)) menu = w;
        }
        return menu != nullptr;
      },
      kLong));
  Sleep(150);
  RECT frame{};
  GetWindowRect(menu, &frame);
  const size_t mark = traceSize();
  click({(frame.left + frame.right) / 2, frame.top + centres[2]});  // profile 3

  ASSERT_TRUE(waitFor([&] { return readBlock()->currentProfile == 2; }, kLong)) << "profile 3 is not active";
  EXPECT_EQ(GetPrivateProfileIntA("Setting", "CurrentProfile", -1, configPath().c_str()), 2);
  auto block = readBlock();
  expectDownloadOf(*block, true, mark);
  std::vector<std::string> lines;
  std::ifstream file(trayTrace);
  for (std::string line; std::getline(file, line);) lines.push_back(line.substr(0, line.find('\r')));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "NIM_MODIFY Varnel Quillon Keyboard \xE2\x80\x94 Profile #3");
  for (const std::string& line : lines)
    EXPECT_NE(line.rfind("NOTICE", 0), 0u) << "the user's own choice announced";
}

}  // namespace
