// The keyboard link's edges and the profile the user sees, from outside the
// running Monitor.exe: applies answered with their id and where they went,
// what was applied while the keyboard was away sent at its arrival, the
// firmware it answered stored for the configuration window, and the desktop
// profile with its delay, the tray's tip and its notice.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "MonitorHarness_win.h"
#include "SharedBlock_win.h"

namespace {

using namespace harness;

constexpr DWORD kLong = 20000;
const std::string kVersionRead = "GetFeature";

double nowMs() {
  LARGE_INTEGER t, f;
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return 1000.0 * double(t.QuadPart) / double(f.QuadPart);
}

class MonitorLink : public MonitorHarness {
 protected:
  void TearDown() override {
    SetEnvironmentVariableA(kTrayTraceVariable, nullptr);
    MonitorHarness::TearDown();
  }
  std::string trayTracePath() const { return folder_ + "tray_trace.txt"; }
  std::vector<std::string> trayLines() const {
    std::vector<std::string> lines;
    std::ifstream file(trayTracePath());
    for (std::string line; std::getline(file, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
  void startTraced() {
    SetEnvironmentVariableA(kTrayTraceVariable, trayTracePath().c_str());
    startWithEmulatedKeyboard();
    SetEnvironmentVariableA(kTrayTraceVariable, nullptr);
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), kVersionRead) == 2; }, kLong)) << "start-up check";
  }
  // Posts UM_APPLY with `id` and waits for its answer.
  bool applyWithId(LPARAM id) {
    const int before = standIn_.applyDone;
    PostMessageA(monitorWindow(), UM_APPLY, 0, id);
    return waitFor([&] { return standIn_.applyDone > before; }, kLong);
  }
  // The trace position just after the n-th version read's answer.
  size_t afterVersionRead(int n) const {
    const std::vector<std::string> calls = tracedCalls();
    int seen = 0;
    for (size_t i = 0; i < calls.size(); ++i)
      if (calls[i].rfind(kVersionRead, 0) == 0 && ++seen == n) return i + 1;
    return calls.size();
  }
  // Waits until no report has gone to the keyboard for half a second.
  void waitQuiet() {
    size_t last = tracedCalls().size();
    DWORD since = GetTickCount();
    waitFor(
        [&] {
          const size_t now = tracedCalls().size();
          if (now != last) last = now, since = GetTickCount();
          return GetTickCount() - since > 500;
        },
        kLong);
  }
  bool front(HWND window) {
    SetForegroundWindow(window);
    return waitFor([&] { return GetForegroundWindow() == window; }, kLong);
  }
  int activeProfile() { return readBlock()->currentProfile; }
};

TEST_F(MonitorLink, WhatIsAppliedWhileTheKeyboardIsAwayReachesItAtItsArrivalAndOnlyThen) {
  WritePrivateProfileStringA("Setting", "FWVersion", "100", (folder_ + "config.ini").c_str());
  startTraced();
  if (IsSkipped() || HasFatalFailure()) return;
  EXPECT_EQ(iniString("Setting", "FWVersion"), "103") << "what the keyboard answered at start";

  // Connected: the answer names its apply and says the keyboard has it.
  ASSERT_TRUE(applyWithId(41));
  EXPECT_EQ(standIn_.lastApplyId, 41u);
  EXPECT_EQ(standIn_.lastOutcome, LPARAM(kApplySent));

  ASSERT_TRUE(control("unplug").has_value());
  ASSERT_TRUE(waitFor([&] { return device() == 0 && !standIn_.links.empty(); }, kLong));
  EXPECT_EQ(standIn_.links.back(), 0u);
  const size_t away = tracedCalls().size();

  // Two applies while it is away: a key, then a colour. Each is answered at
  // once as stored.
  std::unique_ptr<SettingsImage> image = readBlock();
  const int p = image->currentProfile;
  image->profiles[p].keys[9].category = kCategoryDisabled;
  image->keyDirty[p][9] = 1;
  SharedBlock block;
  ASSERT_TRUE(block.open());
  ASSERT_TRUE(block.copyToBlock(*image));
  ASSERT_TRUE(applyWithId(42));
  EXPECT_EQ(standIn_.lastApplyId, 42u);
  EXPECT_EQ(standIn_.lastOutcome, LPARAM(kApplyStored));
  clearChangeFlags(*image);
  image->profiles[p].staticColor = 0x0000FF;
  image->effectColorDirty[p] = 1;
  ASSERT_TRUE(block.copyToBlock(*image));
  ASSERT_TRUE(applyWithId(43));
  EXPECT_EQ(standIn_.lastApplyId, 43u);
  EXPECT_EQ(standIn_.lastOutcome, LPARAM(kApplyStored));
  EXPECT_TRUE(downloadCallsSince(away).empty());

  // Plugged in: the firmware check, then one download of both applies.
  ASSERT_TRUE(control("plug").has_value());
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), kVersionRead) == 3; }, kLong));
  image->keyDirty[p][9] = 1;
  expectDownloadOf(*image, false, afterVersionRead(3));
  EXPECT_TRUE(waitFor([&] { return standIn_.links.back() == 1; }, kLong));
  EXPECT_TRUE(reportFaults(tracedCalls()).empty());

  // Away and back with nothing applied meanwhile: the check alone.
  waitQuiet();
  ASSERT_TRUE(control("unplug").has_value());
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, kLong));
  ASSERT_TRUE(control("plug").has_value());
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), kVersionRead) == 4; }, kLong));
  waitQuiet();
  EXPECT_TRUE(downloadCallsSince(afterVersionRead(4)).empty()) << "a download with nothing to send";

  // Connected again, an apply is sent and says so.
  ASSERT_TRUE(applyWithId(44));
  EXPECT_EQ(standIn_.lastApplyId, 44u);
  EXPECT_EQ(standIn_.lastOutcome, LPARAM(kApplySent));
  exitFromTray();
}

// A download cut short by an unplug is sent again at the next arrival.
TEST_F(MonitorLink, ADownloadCutShortByAnUnplugIsSentAgainAtTheArrival) {
  startTraced();
  if (IsSkipped() || HasFatalFailure()) return;
  std::unique_ptr<SettingsImage> image = readBlock();
  const int p = image->currentProfile;
  for (int k = 0; k < kMaxMacroKeys; ++k) {  // a long download: 35 macros
    image->profiles[p].keys[k].category = kCategoryMacro;
    image->profiles[p].keys[k].functionCode = kFunctionRecordedMacro;
    image->profiles[p].keys[k].stepCount = 1;
    image->profiles[p].keys[k].steps[0] = MacroStep::make(4, kActionPress, 0);
  }
  image->profileSwitched = 1;
  SharedBlock block;
  ASSERT_TRUE(block.open());
  ASSERT_TRUE(block.copyToBlock(*image));
  PostMessageA(monitorWindow(), UM_APPLY, 0, 7);
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "SetFeature 11") >= 1; }, kLong));
  ASSERT_TRUE(control("unplug").has_value());
  ASSERT_TRUE(waitFor([&] { return standIn_.applyDone == 1; }, kLong));
  EXPECT_EQ(standIn_.lastApplyId, 7u);
  EXPECT_EQ(standIn_.lastOutcome, LPARAM(kApplyStored)) << "a cut download is no sent one";
  ASSERT_TRUE(control("plug").has_value());
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), kVersionRead) == 3; }, kLong));
  expectDownloadOf(*image, false, afterVersionRead(3));
  exitFromTray();
}

// A linked program in front, then an unlinked one: the desktop profile
// comes back two seconds later and not before, with the tray's tip and
// notice; a glance away shorter than that sends nothing; a profile chosen
// by hand stays.
TEST_F(MonitorLink, TheDesktopProfileReturnsAfterItsDelayOnlyFromALinkedProgramsProfile) {
  startTraced();
  if (IsSkipped() || HasFatalFailure()) return;
  std::unique_ptr<SettingsImage> image = readBlock();
  lstrcpynA(image->profiles[2].linkedApps[0], "LinkedGame.exe", sizeof image->profiles[2].linkedApps[0]);
  lstrcpynA(image->profiles[2].profileName, "Shooter", sizeof image->profiles[2].profileName);
  image->desktopProfile = 1;
  ASSERT_TRUE(apply(*image));
  // The applied name reaches the tip at once: profile 1 is still active.
  const std::vector<std::string> start = trayLines();
  ASSERT_FALSE(start.empty());
  EXPECT_EQ(start.front(), "NIM_ADD Varnel Quillon Keyboard \xE2\x80\x94 Profile #1");

  HWND game = bringUpForegroundApp("LinkedGame.exe", "Quillon linked game");
  ASSERT_TRUE(waitFor([&] { return activeProfile() == 2; }, kLong));
  EXPECT_TRUE(waitFor([&] { return trayLines().back() == "NOTICE Profile Shooter"; }, kLong));
  const std::vector<std::string> lines = trayLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "NIM_MODIFY Varnel Quillon Keyboard \xE2\x80\x94 Shooter"),
            lines.end());
  waitQuiet();

  HWND other = bringUpForegroundApp("Unlinked.exe", "Quillon unlinked program");
  const double left = nowMs();
  ASSERT_TRUE(waitFor([&] { return activeProfile() == 0; }, kLong)) << "the desktop profile did not return";
  const double waited = nowMs() - left;
  std::printf("[ desktop  ] desktop profile active %.0f ms after the unlinked program came to the front\n",
              waited);
  // The window was in front a little before this test saw it there.
  EXPECT_GE(waited, 1800.0) << "the desktop profile came before its delay";
  EXPECT_TRUE(waitFor([&] { return trayLines().back() == "NOTICE Profile Profile #1"; }, kLong));
  waitQuiet();

  // Back to the game, a glance at the other program, back within the delay:
  // one switch to the game's profile and nothing more.
  ASSERT_TRUE(front(game));
  ASSERT_TRUE(waitFor([&] { return activeProfile() == 2; }, kLong));
  waitQuiet();
  const size_t mark = tracedCalls().size();
  ASSERT_TRUE(front(other));
  waitFor([] { return false; }, 600);
  ASSERT_TRUE(front(game));
  waitFor([] { return false; }, 3000);
  EXPECT_EQ(activeProfile(), 2);
  EXPECT_TRUE(downloadCallsSince(mark).empty()) << "the glance away reloaded the keyboard";

  // Chosen by hand (the tray's and the command line's path): it stays
  // while unlinked programs come and go, and no notice tells the user what
  // they did themselves.
  const size_t notices = trayLines().size();
  EXPECT_EQ(SendMessageA(monitorWindow(), UM_SELECT_PROFILE, 3, 0), LRESULT(kProfileSelected));
  ASSERT_TRUE(front(other));
  waitFor([] { return false; }, 3000);
  EXPECT_EQ(activeProfile(), 3);
  const std::vector<std::string> after = trayLines();
  ASSERT_GT(after.size(), notices);
  EXPECT_EQ(after.back(), "NIM_MODIFY Varnel Quillon Keyboard \xE2\x80\x94 Profile #4");

  // SwitchNotice=0: the watcher's switches are quiet.
  WritePrivateProfileStringA("Setting", "SwitchNotice", "0", (folder_ + "config.ini").c_str());
  ASSERT_TRUE(front(game));
  ASSERT_TRUE(waitFor([&] { return activeProfile() == 2; }, kLong));
  waitFor([] { return false; }, 500);
  EXPECT_EQ(trayLines().back(), "NIM_MODIFY Varnel Quillon Keyboard \xE2\x80\x94 Shooter");
  exitFromTray();
}

}  // namespace
