// Monitor.exe's life from outside: start, single instance, the keyboard's
// open sequence, arrival and removal, launch keys, applies without a
// keyboard, and the end with every thread done.

#include <algorithm>
#include <memory>

#include "MonitorHarness_win.h"
#include "SharedBlock_win.h"

namespace {

using namespace harness;

class MonitorSystem : public MonitorHarness {
 protected:
  // A second Monitor.exe asked to bring up Option: it must end by itself.
  void startSecondInstance() {
    PROCESS_INFORMATION second = start("1");
    EXPECT_EQ(WaitForSingleObject(second.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);
    EXPECT_EQ(WaitForSingleObject(monitor_.hProcess, 0), WAIT_TIMEOUT) << "the first one must keep running";
  }

  DWORD exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(monitor_.hProcess, &code);
    return code;
  }
};

int indexOf(const std::vector<std::string>& calls, const std::string& prefix, size_t from = 0) {
  for (size_t i = from; i < calls.size(); ++i)
    if (calls[i].rfind(prefix, 0) == 0) return int(i);
  return -1;
}

TEST_F(MonitorSystem, WithoutKeyboardLibraryItServesOptionAndASecondInstanceBringsItUp) {
  startMonitor();
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, 10000));

  // Option's window exists, minimised: the running monitor restores it.
  ShowWindow(standIn_.hwnd, SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(IsIconic(standIn_.hwnd));
  startSecondInstance();
  EXPECT_TRUE(waitFor([&] { return !IsIconic(standIn_.hwnd); }, 5000));

  // An apply without a keyboard is answered at once.
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  EXPECT_TRUE(waitFor([&] { return standIn_.applyDone == 1; }, 3000));

  // No Option window: the running monitor starts Option.exe from its folder.
  DestroyWindow(standIn_.hwnd);
  standIn_.hwnd = nullptr;
  ASSERT_TRUE(installMarker("Option.exe"));
  startSecondInstance();
  EXPECT_TRUE(startedMark("Option.exe", 10000).has_value());

  PostMessageA(monitorWindow(), WM_COMMAND, ID_TRAY_EXIT, 0);
  EXPECT_EQ(WaitForSingleObject(monitor_.hProcess, 15000), WAIT_OBJECT_0);
  EXPECT_EQ(exitCode(), 0u);
}

// The monitor was ended from the task manager while Option still runs, so
// Option keeps the settings mutex and the block alive. A monitor started
// again takes both over, publishes its own settings and has Option re-read.
TEST_F(MonitorSystem, ARestartedMonitorTakesOverTheBlockThatOptionStillHolds) {
  startMonitor();
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, 10000));
  SharedBlock optionHandles;  // what Option holds open
  ASSERT_TRUE(optionHandles.open());
  auto edited = std::make_unique<SettingsImage>();
  ASSERT_TRUE(optionHandles.copyFromBlock(*edited));
  lstrcpynA(edited->profiles[0].profileName, "Edited, not saved", sizeof edited->profiles[0].profileName);
  edited->currentProfile = 3;
  ASSERT_TRUE(optionHandles.copyToBlock(*edited));

  ASSERT_TRUE(TerminateProcess(monitor_.hProcess, 1));
  ASSERT_EQ(WaitForSingleObject(monitor_.hProcess, 10000), WAIT_OBJECT_0);
  CloseHandle(monitor_.hProcess);
  CloseHandle(monitor_.hThread);
  monitor_ = {};
  ASSERT_TRUE(waitFor([&] { return monitorWindow() == nullptr; }, 5000));
  EXPECT_EQ(standIn_.reloads, 0);

  startMonitor();
  ASSERT_TRUE(waitFor([&] { return standIn_.reloads == 1; }, 10000)) << "Option was not told to re-read";
  EXPECT_EQ(WaitForSingleObject(monitor_.hProcess, 0), WAIT_TIMEOUT) << "the monitor must keep running";
  auto published = std::make_unique<SettingsImage>();
  ASSERT_TRUE(optionHandles.copyFromBlock(*published));
  EXPECT_EQ(published->currentProfile, 0) << "the block holds the files' settings, not Option's old image";
  EXPECT_STREQ(published->profiles[0].profileName, "Profile #1");

  // It serves the block it took over: an apply is taken in and answered.
  ASSERT_TRUE(optionHandles.copyToBlock(*edited));
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  EXPECT_TRUE(waitFor([&] { return standIn_.applyDone == 1; }, 5000));
  exitFromTray();
  EXPECT_EQ(standIn_.reloads, 1);
}

TEST_F(MonitorSystem, WithTheEmulatedKeyboardItOpensReadsTheVersionAndShowsItsIcon) {
  const int iconsBefore = std::max(trayIcons(), 0);
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  EXPECT_TRUE(waitFor([&] { return trayIcons() == iconsBefore + 1; }, 5000));
  EXPECT_TRUE(waitFor([&] { return trayShowsProgramIcon(); }, 5000)) << "the tray shows another icon";

  // Connected: the answer to an apply comes from downloadThread.
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  EXPECT_TRUE(waitFor([&] { return standIn_.applyDone == 1; }, 5000));
  exitFromTray();
  EXPECT_TRUE(waitFor([&] { return trayIcons() == iconsBefore; }, 5000));

  // The open sequence and the version read, in this order.
  const std::vector<std::string> calls = tracedCalls();
  const std::vector<std::string> expected = {"Set_VIDPID 04D9 0A5C", "Open_DevMonitor", "Open_FeatureDevice",
                                             "Open_ReportDevice 1", "SetFeature 800000000000007F"};
  ASSERT_GE(calls.size(), expected.size() + 1);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(calls[i], expected[i]) << "call " << i;
  EXPECT_EQ(calls[expected.size()].rfind("GetFeature 800000000000007F ", 0), 0u) << calls[expected.size()];
}

// Wine has no such HID device: the real driver takes the keyboard-absent path.
TEST_F(MonitorSystem, WithTheRealDriverUnderWineTheKeyboardIsAbsent) {
  if (GetFileAttributesA((dist_ + "hiddriver.dll").c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "no real driver in the program folder";
  }
  const int iconsBefore = std::max(trayIcons(), 0);
  ASSERT_TRUE(copy("hiddriver.dll"));
  startMonitor();
  EXPECT_TRUE(waitFor([&] { return device() == 0; }, 10000));
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  EXPECT_TRUE(waitFor([&] { return standIn_.applyDone == 1; }, 3000));
  EXPECT_EQ(std::max(trayIcons(), 0), iconsBefore);
  exitFromTray();
}

// Unplugged, the configuration window is told and stays (with its edits
// and dialogs); plugged in again, it is told, and a keyboard that missed
// nothing gets nothing but the firmware check.
TEST_F(MonitorSystem, UnplugTellsOptionWithoutClosingItAndPlugChecksTheFirmwareWithoutSendingSettings) {
  const int iconsBefore = std::max(trayIcons(), 0);
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  const std::string versionRead = "SetFeature 800000000000007F";
  // The firmware check 200 ms after start reads the version once more; the
  // unplug comes after its answer.
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "GetFeature") == 2; }, 5000));

  standIn_.closes = 0;
  ASSERT_TRUE(control("unplug").has_value());
  // (The start-up's version reads have told it 1 already.)
  EXPECT_TRUE(
      waitFor([&] { return device() == 0 && !standIn_.links.empty() && standIn_.links.back() == 0; }, 5000));
  const size_t told = standIn_.links.size();
  EXPECT_TRUE(waitFor([&] { return trayIcons() == iconsBefore; }, 5000));
  // A second removal changes nothing.
  PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, 0, 0);
  waitFor([] { return false; }, 300);
  EXPECT_EQ(standIn_.closes, 0) << "the configuration window was asked to close";
  EXPECT_EQ(standIn_.links.size(), told);

  const size_t before = tracedCalls().size();
  ASSERT_TRUE(control("plug").has_value());
  EXPECT_TRUE(waitFor([&] { return device() == 1; }, 5000));
  EXPECT_TRUE(waitFor([&] { return trayIcons() == iconsBefore + 1; }, 5000));
  EXPECT_TRUE(waitFor([&] { return count(tracedCalls(), versionRead) == 3; }, 5000)) << "no firmware check";
  EXPECT_TRUE(waitFor([&] { return standIn_.links.size() > told && standIn_.links.back() == 1; }, 5000));
  // A second arrival changes nothing.
  PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, 1, 0);
  waitFor([] { return false; }, 500);
  PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, 7, 0);  // neither arrival nor removal
  waitFor([] { return false; }, 300);
  EXPECT_EQ(device(), 1);

  exitFromTray();
  const std::vector<std::string> calls = tracedCalls();
  ASSERT_GT(calls.size(), before);
  EXPECT_EQ(count(calls, "Close_FeatureDevice"), 2);  // one removal, one shutdown
  EXPECT_EQ(count(calls, "Open_FeatureDevice"), 2);   // start and one arrival
  EXPECT_EQ(count(calls, "Open_ReportDevice"), 2);
  EXPECT_EQ(count(calls, "Set_VIDPID"), 1);
  EXPECT_EQ(count(calls, "Open_DevMonitor"), 1);
  // Nothing but version reads went to the keyboard: no settings at arrival.
  EXPECT_EQ(count(calls, "WriteUSB"), 0);
  EXPECT_EQ(count(calls, "SetFeature"), count(calls, versionRead));
}

TEST_F(MonitorSystem, ALaunchKeyStartsItsProgramOnlyWithoutAnExtraByte) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  constexpr int kKey = 20;
  std::unique_ptr<SettingsImage> image = readBlock();
  ASSERT_GE(image->currentProfile, 0);
  KeyAssignment& key = image->profiles[image->currentProfile].keys[kKey];
  key.category = kCategoryLaunch;
  key.functionCode = kFunctionLaunch;
  const std::string program = folder_ + "Launched.exe";
  lstrcpynA(key.appPath, program.c_str(), sizeof key.appPath);
  image->keyDirty[image->currentProfile][kKey] = 1;
  ASSERT_TRUE(installMarker("Launched.exe"));
  ASSERT_TRUE(apply(*image));

  // The keyboard's own event for the key carries an extra byte: nothing starts.
  PostMessageA(monitorWindow(), UM_KEYBOARD_EVENT, 0x000A, (kKey + 1) | (5 << 8));
  // A release of the launch key starts nothing either.
  PostMessageA(monitorWindow(), UM_KEYBOARD_EVENT, 0x800B, kKey + 1);
  EXPECT_FALSE(startedMark("Launched.exe", 1500).has_value());

  // Pressed on the keyboard: its slot reports code 10 with the key number.
  ASSERT_TRUE(control("press " + std::to_string(kKey)).has_value());
  ASSERT_TRUE(control("release " + std::to_string(kKey)).has_value());
  EXPECT_TRUE(startedMark("Launched.exe", 10000).has_value());
  exitFromTray();
}

// Option stays busy until its apply is answered: an apply whose download
// was queued while the keyboard was there, and comes up after it was pulled
// out, is answered all the same.
TEST_F(MonitorSystem, AnApplyQueuedBeforeAnUnplugIsStillAnswered) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "GetFeature") == 2; }, 5000)) << "start-up check";

  // A long download: the whole key table with 35 macros.
  std::unique_ptr<SettingsImage> image = readBlock();
  ProfileRecord& p = image->profiles[image->currentProfile];
  for (int k = 0; k < kMaxMacroKeys; ++k) {
    p.keys[k].category = kCategoryMacro;
    p.keys[k].functionCode = kFunctionRecordedMacro;
    p.keys[k].stepCount = 1;
    p.keys[k].steps[0] = MacroStep::make(4, kActionPress, 0);
  }
  image->profileSwitched = 1;
  SharedBlock block;
  ASSERT_TRUE(block.open());
  ASSERT_TRUE(block.copyToBlock(*image));
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);  // its download waits behind the first
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "SetFeature 11") >= 1; }, 10000));
  ASSERT_TRUE(control("unplug").has_value());
  EXPECT_TRUE(waitFor([&] { return device() == 0; }, 5000));
  EXPECT_TRUE(waitFor([&] { return standIn_.applyDone == 2; }, 20000)) << "an apply was never answered";
  exitFromTray();
}

TEST_F(MonitorSystem, TrayExitFinishesTheRunningDownloadClosesOptionAndOsdAndEndsCleanly) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  HWND osd = CreateWindowExA(0, "QuillonOptionStandIn", kOsdWindowTitle, WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(osd, nullptr);

  // A full key table and lighting change, then at once the exit: the exit
  // waits for downloadThread, which finishes the download first.
  std::unique_ptr<SettingsImage> image = readBlock();
  image->keyDirty[image->currentProfile][0] = 1;
  image->customColorDirty[image->currentProfile] = 1;
  SharedBlock block;
  ASSERT_TRUE(block.open());
  ASSERT_TRUE(block.copyToBlock(*image));
  block.close();
  standIn_.closes = 0;
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  PostMessageA(monitorWindow(), WM_COMMAND, ID_TRAY_EXIT, 0);
  ASSERT_TRUE(waitFor([&] { return WaitForSingleObject(monitor_.hProcess, 0) == WAIT_OBJECT_0; }, 20000));
  pump();
  EXPECT_EQ(exitCode(), 0u);
  EXPECT_EQ(standIn_.closes, 2) << "Option's and the OSD's window";
  EXPECT_EQ(standIn_.applyDone, 1) << "the download ran to its end";
  DestroyWindow(osd);

  // The keyboard is closed after the last report, in this order.
  const std::vector<std::string> calls = tracedCalls();
  const int feature = indexOf(calls, "Close_FeatureDevice");
  ASSERT_GE(feature, 0);
  EXPECT_GT(count(calls, "WriteUSB"), 0);
  EXPECT_EQ(indexOf(calls, "WriteUSB", feature), -1);
  EXPECT_EQ(indexOf(calls, "SetFeature", feature), -1);
  EXPECT_EQ(indexOf(calls, "Close_ReportDevice", feature), feature + 1);
  EXPECT_EQ(indexOf(calls, "Close_DevMonitor", feature), feature + 2);
}

}  // namespace
