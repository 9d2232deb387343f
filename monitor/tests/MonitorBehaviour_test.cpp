// Monitor.exe's own duties beside the download, seen from outside: the
// application watcher with real foreground programs, the OSD relay with
// honest and hostile senders, and the firmware check with its warning.

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "MonitorHarness_win.h"

namespace {

using namespace harness;

constexpr DWORD kLong = 20000;  // generous: a loaded machine, Wine

class MonitorBehaviour : public MonitorHarness {
 protected:
  void TearDown() override {
    SetEnvironmentVariableA("QUILLON_KBD_VERSION", nullptr);
    MonitorHarness::TearDown();
  }

};

void link(SettingsImage& image, int profile, int slot, const char* path) {
  lstrcpynA(image.profiles[profile].linkedApps[slot], path, sizeof image.profiles[profile].linkedApps[slot]);
}

// ---------------------------------------------------------------- watcher

class AppWatcher : public MonitorBehaviour {};

TEST_F(AppWatcher, ALinkedProgramSwitchesAndDownloadsAllAndAnUnlinkedOneLeavesTheProfile) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "GetFeature") == 2; }, kLong)) << "start-up check";

  std::unique_ptr<SettingsImage> image = readBlock();
  image->currentProfile = 0;
  // Profile 2 by another letter case, profile 3 with blanks around: the
  // highest matching profile wins.
  link(*image, 1, 3, "C:\\Games\\GAMEONE.EXE");
  link(*image, 2, 19, "  D:\\other place\\GameOne.exe \t");
  link(*image, 0, 0, "C:\\Tools\\BackHome.exe");
  // Profile 3 looks different to the keyboard from profiles 1 and 2.
  image->profiles[2].staticColor = 0x00123456;
  image->profiles[2].keys[5].functionCode = kFunctionDisabled;
  image->profiles[2].keys[5].category = kCategoryDisabled;
  ASSERT_TRUE(apply(*image));
  const size_t before = tracedCalls().size();

  bringUpForegroundApp("GameOne.exe", "Quillon linked game");
  ASSERT_TRUE(waitFor([&] { return standIn_.profileSwitched == 1; }, kLong)) << "no UM_PROFILE_SWITCHED";
  EXPECT_EQ(iniString("Setting", "CurrentProfile"), "2");
  std::unique_ptr<SettingsImage> published = readBlock();
  EXPECT_EQ(published->currentProfile, 2);
  EXPECT_EQ(published->profileSwitched, 1);
  EXPECT_STREQ(published->profiles[2].linkedApps[19], image->profiles[2].linkedApps[19]);

  // The full download of profile 3, report for report. Option did not ask
  // for it, so its end is not answered with UM_APPLY_DONE: that answer
  // belongs to Option's own applies.
  expectDownloadOf(*published, true, before);
  if (HasFatalFailure()) return;
  waitFor([] { return false; }, 500);  // room for a stray answer to arrive
  EXPECT_EQ(standIn_.applyDone, 1) << "the switch's download was answered as an apply";
  const size_t sentBySwitch = downloadCallsSince(before).size();

  // An unlinked program in the foreground for several ticks: the profile
  // stays, nothing more is sent.
  bringUpForegroundApp("Unlinked.exe", "Quillon unlinked program");
  waitFor([] { return false; }, 3 * kAppWatchPeriodMs);
  EXPECT_EQ(standIn_.profileSwitched, 1);
  EXPECT_EQ(iniString("Setting", "CurrentProfile"), "2");
  EXPECT_EQ(readBlock()->currentProfile, 2);
  EXPECT_EQ(downloadCallsSince(before).size(), sentBySwitch);

  // The watcher still runs: a program of profile 1 switches back.
  bringUpForegroundApp("BackHome.exe", "Quillon profile one program");
  ASSERT_TRUE(waitFor([&] { return standIn_.profileSwitched == 2; }, kLong));
  EXPECT_EQ(iniString("Setting", "CurrentProfile"), "0");
  EXPECT_EQ(readBlock()->currentProfile, 0);
  exitFromTray();
}

// ---------------------------------------------------------------- OSD relay

struct OsdStandIn {
  HWND hwnd = nullptr;
  int shows = 0;
  WPARAM lastParam = 0;
};
OsdStandIn* gOsd = nullptr;

LRESULT CALLBACK osdProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == UM_OSD_SHOW && gOsd) {
    ++gOsd->shows;
    gOsd->lastParam = wParam;
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class OsdRelay : public MonitorBehaviour {
 protected:
  void TearDown() override {
    if (osd_.hwnd) DestroyWindow(osd_.hwnd);
    gOsd = nullptr;
    MonitorBehaviour::TearDown();
  }

  void createOsdWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = osdProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuillonOsdStandIn";
    RegisterClassA(&wc);
    gOsd = &osd_;
    osd_.hwnd = CreateWindowExA(0, wc.lpszClassName, kOsdWindowTitle, WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                nullptr, wc.hInstance, nullptr);
    ASSERT_NE(osd_.hwnd, nullptr);
  }

  // Sends `size` bytes of `data` under `id`; the monitor's answer. A post to
  // the OSD window is made before the answer, so one pump sees it.
  LRESULT send(ULONG_PTR id, const void* data, DWORD size) {
    COPYDATASTRUCT copy = {id, size, const_cast<void*>(data)};
    const LRESULT answer = SendMessageA(monitorWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    pump();
    return answer;
  }
  LRESULT sendText(const std::string& text, DWORD size = 151) {
    std::vector<char> payload(std::max<size_t>(size, text.size() + 2), 0);
    payload[0] = 'X';
    std::memcpy(payload.data() + 1, text.data(), text.size());
    return send(151, payload.data(), size);
  }
  std::string message() const { return iniString("OSDData", "Message"); }

  OsdStandIn osd_;
};

TEST_F(OsdRelay, TextsAreStoredAndAnnouncedOnlyWhileConnectedAndToAnExistingWindow) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;

  EXPECT_EQ(sendText("No window yet"), TRUE);
  EXPECT_EQ(message(), "No window yet");

  createOsdWindow();
  EXPECT_EQ(sendText("Profile 3"), TRUE);
  EXPECT_EQ(message(), "Profile 3");
  EXPECT_EQ(osd_.shows, 1);
  EXPECT_EQ(osd_.lastParam, kOsdShowParam);

  // Another data id: nothing stored, nothing announced.
  char other[151] = "XOther id";
  EXPECT_EQ(send(152, other, sizeof other), TRUE);
  EXPECT_EQ(message(), "Profile 3");
  EXPECT_EQ(osd_.shows, 1);

  ASSERT_TRUE(control("unplug").has_value());
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, kLong));
  EXPECT_EQ(sendText("While unplugged"), TRUE);
  EXPECT_EQ(message(), "While unplugged");
  EXPECT_EQ(osd_.shows, 1);

  ASSERT_TRUE(control("plug").has_value());
  ASSERT_TRUE(waitFor([&] { return device() == 1; }, kLong));
  EXPECT_EQ(sendText("Back"), TRUE);
  EXPECT_EQ(osd_.shows, 2);
  exitFromTray();
}

TEST_F(OsdRelay, HostilePayloadsAreCutToTheirBoundsAndCannotRewriteTheIni) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  createOsdWindow();
  ASSERT_EQ(sendText("Start"), TRUE);
  ASSERT_EQ(osd_.shows, 1);

  // Too short, empty, without data: ignored.
  EXPECT_EQ(sendText("Short", 150), TRUE);
  EXPECT_EQ(send(151, nullptr, 0), TRUE);
  char one = 'Y';
  EXPECT_EQ(send(151, &one, 1), TRUE);
  EXPECT_EQ(message(), "Start");
  EXPECT_EQ(osd_.shows, 1);

  // Not terminated within 151 bytes, and 64 KB without any zero: 150 bytes.
  const std::string bounded(150, 'a');
  std::vector<char> unterminated(151, 'a');
  EXPECT_EQ(send(151, unterminated.data(), 151), TRUE);
  EXPECT_EQ(message(), bounded);
  std::vector<char> huge(64 * 1024, 'b');
  EXPECT_EQ(send(151, huge.data(), static_cast<DWORD>(huge.size())), TRUE);
  EXPECT_EQ(message(), std::string(150, 'b'));

  // Line breaks would write keys and sections of the sender's choosing.
  EXPECT_EQ(sendText("Hi\r\n[Setting]\r\nDevice=7\r\nCurrentProfile=4"), TRUE);
  EXPECT_EQ(message(), "Hi  [Setting]  Device=7  CurrentProfile=4");
  EXPECT_EQ(device(), 1);
  EXPECT_EQ(iniString("OSDData", "Device"), "<missing>");
  EXPECT_EQ(iniString("OSDData", "CurrentProfile"), "<missing>");

  // Still alive and serving.
  EXPECT_EQ(sendText("After"), TRUE);
  EXPECT_EQ(message(), "After");
  exitFromTray();
}

// ---------------------------------------------------------------- firmware

class FirmwareCheck : public MonitorBehaviour {
 protected:
  // The warning box, found by its caption; its texts in `texts`.
  HWND waitForWarning(std::vector<std::string>& texts, DWORD timeoutMs = kLong) {
    HWND box = nullptr;
    waitFor([&] { return (box = FindWindowA("#32770", "Update F / W")) != nullptr; }, timeoutMs);
    if (!box) return nullptr;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
          char text[256] = {};
          GetWindowTextA(child, text, sizeof text);
          reinterpret_cast<std::vector<std::string>*>(param)->push_back(text);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return box;
  }

  bool answerAndWaitForTheEnd(HWND box, int button) {
    standIn_.closes = 0;
    PostMessageA(box, WM_COMMAND, button, 0);
    const bool ended =
        waitFor([&] { return WaitForSingleObject(monitor_.hProcess, 0) == WAIT_OBJECT_0; }, kLong);
    pump();
    return ended;
  }

  static bool contains(const std::vector<std::string>& texts, const std::string& wanted) {
    for (const std::string& text : texts)
      if (text == wanted) return true;
    return false;
  }
};

constexpr char kWarning[] = "Please update F / W, otherwise the driver will not work properly.";

TEST_F(FirmwareCheck, AnotherFirmwareAtStartUpCountsAsConnectedAndWarnsAtOnce) {
  ASSERT_TRUE(installMarker("Update.exe"));
  const int iconsBefore = std::max(trayIcons(), 0);
  SetEnvironmentVariableA("QUILLON_KBD_VERSION", "1.2");
  startWithEmulatedKeyboard();  // waits for Device=1
  SetEnvironmentVariableA("QUILLON_KBD_VERSION", nullptr);
  if (IsSkipped() || HasFatalFailure()) return;
  EXPECT_TRUE(waitFor([&] { return trayIcons() == iconsBefore + 1 || trayIcons() < 0; }, kLong));

  std::vector<std::string> texts;
  HWND box = waitForWarning(texts);
  ASSERT_NE(box, nullptr) << "no warning after start-up";
  EXPECT_TRUE(contains(texts, kWarning));
  EXPECT_EQ(iniString("Setting", "FWVersion"), "102") << "what the keyboard answered";
  EXPECT_EQ(GetWindow(box, GW_OWNER), monitorWindow());

  // Cancel: no updater, and the monitor ends as from its tray.
  ASSERT_TRUE(answerAndWaitForTheEnd(box, IDCANCEL));
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(monitor_.hProcess, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_GE(standIn_.closes, 1);
  EXPECT_FALSE(startedMark("Update.exe", 2000).has_value());
  EXPECT_EQ(count(tracedCalls(), "Close_DevMonitor"), 1);
}

TEST_F(FirmwareCheck, APlugInWithAnotherFirmwareWarnsAndOkStartsTheUpdater) {
  ASSERT_TRUE(installMarker("Update.exe"));
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  // Firmware 1.3: the start-up check reads the version and says nothing.
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "GetFeature") == 2; }, kLong));
  pump();
  EXPECT_EQ(FindWindowA("#32770", "Update F / W"), nullptr);
  EXPECT_EQ(iniString("Setting", "FWVersion"), "103");

  ASSERT_EQ(control("version 1 4"), "ok");
  ASSERT_TRUE(control("unplug").has_value());
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, kLong));
  ASSERT_TRUE(control("plug").has_value());

  std::vector<std::string> texts;
  HWND box = waitForWarning(texts);
  ASSERT_NE(box, nullptr) << "no warning after the plug-in";
  EXPECT_TRUE(contains(texts, kWarning));
  EXPECT_EQ(iniString("Setting", "FWVersion"), "104");
  ASSERT_TRUE(answerAndWaitForTheEnd(box, IDOK));
  EXPECT_TRUE(startedMark("Update.exe", kLong).has_value()) << "the updater did not start";
}

TEST_F(FirmwareCheck, AKeyboardPulledOutDuringTheReadIsNoReasonToWarnOrClose) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "GetFeature") == 2; }, kLong));
  ASSERT_TRUE(control("unplug").has_value());
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, kLong));

  // The check after this plug-in asks, and the keyboard is gone before it answers.
  ASSERT_EQ(control("pull-at-read"), "ok");
  ASSERT_TRUE(control("plug").has_value());
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "GetFeature") == 3; }, kLong));
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, kLong));
  std::vector<std::string> texts;
  EXPECT_EQ(waitForWarning(texts, 1500), nullptr) << "an update offer for an unanswered read";
  EXPECT_EQ(WaitForSingleObject(monitor_.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  // Plugged in again, it answers 1.3 and the monitor keeps serving.
  ASSERT_TRUE(control("plug").has_value());
  ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "GetFeature") == 4 && device() == 1; }, kLong));
  EXPECT_EQ(waitForWarning(texts, 1500), nullptr);
  EXPECT_EQ(WaitForSingleObject(monitor_.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(FirmwareCheck, OkWithoutAnUpdaterStillEndsTheMonitor) {
  SetEnvironmentVariableA("QUILLON_KBD_VERSION", "1.4");
  startWithEmulatedKeyboard();
  SetEnvironmentVariableA("QUILLON_KBD_VERSION", nullptr);
  if (IsSkipped() || HasFatalFailure()) return;
  std::vector<std::string> texts;
  HWND box = waitForWarning(texts);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(answerAndWaitForTheEnd(box, IDOK));
}

}  // namespace
