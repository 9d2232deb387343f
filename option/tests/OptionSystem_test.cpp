// Option.exe against Monitor.exe and the emulated keyboard, driven with real
// mouse input at the skin's places: start-up, the apply path and its busy
// state, profile selection, preview, the Windows-key page and the monitor's
// profile switch.

#include <cstring>
#include <memory>

#include "ChangeFlags.h"
#include "DownloadEncoder.h"
#include "OptionHarness_win.h"
#include "ProfileFiles.h"
#include "SharedBlock_win.h"

namespace {

using namespace harness;

class OptionSystem : public OptionHarness {
 protected:
  // The one download that `action` causes, checked byte for byte against
  // the encoder's list for `profile` with `flags`.
  template <typename Action>
  Download downloadOf(Action action) {
    const size_t mark = traceSize();
    action();
    std::vector<Download> downloads = waitForDownloads(mark, 1);
    EXPECT_EQ(downloads.size(), 1u);
    return downloads.empty() ? Download{} : downloads.front();
  }
  void expectSent(const Download& got, const ProfileRecord& profile, const kbd::DownloadFlags& flags) {
    const emu::Comparison c = emu::compareDownload(got, kbd::encodeDownload(profile, flags, false));
    EXPECT_EQ(c.firstDifference, "");
  }
  std::unique_ptr<SettingsImage> savedImage() {
    auto image = std::make_unique<SettingsImage>();
    clearImage(*image);
    loadAll(*image, folder_);
    return image;
  }
};

TEST_F(OptionSystem, ASecondStartLeavesOneWindow) {
  startOption();
  PROCESS_INFORMATION second = startOptionProcess();
  ASSERT_EQ(WaitForSingleObject(second.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(second.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(second.hProcess);
  CloseHandle(second.hThread);
  int windows = 0;
  for (HWND w = FindWindowA(nullptr, kOptionWindowTitle); w;
       w = FindWindowExA(nullptr, w, nullptr, kOptionWindowTitle))
    ++windows;
  EXPECT_EQ(windows, 1);
  EXPECT_TRUE(optionRunning());
}

TEST_F(OptionSystem, WithoutMonitorItStartsFromTheFilesAndApplyOnlySaves) {
  WritePrivateProfileStringA("Setting", "CurrentProfile", "2", configPath().c_str());
  writeProfile(2, [](ProfileRecord& p) { p.leftWinLock = 0; });
  startOption();
  // Profile 3 is active: only its profile button is enabled.
  for (int p = 0; p < kProfileCount; ++p)
    EXPECT_EQ(IsWindowEnabled(mainButton(kFirstProfilePage + p)) != FALSE, p == 2) << p;
  click(winKeyButton(2));  // lock the Windows key
  click(mainControl(kApply));
  EXPECT_TRUE(waitFor([&] { return savedImage()->profiles[2].leftWinLock == 1; }, 5000));
  EXPECT_TRUE(IsWindowEnabled(mainButton(kApply)));  // no monitor: no busy state to wait out
  EXPECT_EQ(GetPrivateProfileIntA("Setting", "CurrentProfile", -1, configPath().c_str()), 2);
}

TEST_F(OptionSystem, ApplyWithoutAChangeSendsTheThreeLightingCommands) {
  startWithEmulatedKeyboard();
  startOption();
  auto block = readBlock();
  const Download sent = downloadOf([&] { click(mainControl(kApply)); });
  EXPECT_EQ(sent.size(), 3u);
  expectSent(sent, block->profiles[block->currentProfile], {});
  EXPECT_TRUE(waitApplyEnabled());
}

TEST_F(OptionSystem, AnotherProfileSelectedAndAppliedIsSentWhole) {
  startWithEmulatedKeyboard();
  startOption();
  click(mainControl(kFirstSelector + 2));
  // The click is the window's to take; the test waits for what it does.
  EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(mainButton(kFirstProfilePage + 2)) != FALSE; }, 2000));
  EXPECT_FALSE(IsWindowEnabled(mainButton(kFirstProfilePage)));
  // A whole profile takes the keyboard over a second: the window is busy
  // (Apply disabled) until the monitor answers.
  bool sawBusy = false;
  const Download sent = downloadOf([&] {
    click(mainControl(kApply));
    sawBusy = waitFor([&] { return !IsWindowEnabled(mainButton(kApply)); }, 2000);
  });
  EXPECT_TRUE(sawBusy);
  auto block = readBlock();
  EXPECT_EQ(block->currentProfile, 2);
  kbd::DownloadFlags all;
  all.profileSwitched = true;
  expectSent(sent, block->profiles[2], all);
  EXPECT_TRUE(waitApplyEnabled());
  EXPECT_EQ(GetPrivateProfileIntA("Setting", "CurrentProfile", -1, configPath().c_str()), 2);
}

TEST_F(OptionSystem, PreviewSendsTheWindowsKeyAtOnceWithoutTheBusyState) {
  startWithEmulatedKeyboard();
  startOption();
  click(mainControl(kPreview));
  bool busy = false;
  const Download sent = downloadOf([&] {
    click(winKeyButton(1));  // unlock
    busy = !IsWindowEnabled(mainButton(kApply));
  });
  EXPECT_FALSE(busy);
  auto block = readBlock();
  EXPECT_EQ(block->profiles[block->currentProfile].leftWinLock, 0);
  EXPECT_EQ(block->profiles[block->currentProfile].previewOn, 1);
  kbd::DownloadFlags winLock;
  winLock.winLockChanged = true;
  expectSent(sent, block->profiles[block->currentProfile], winLock);
}

TEST_F(OptionSystem, WithPreviewOffTheWindowsKeyWaitsForApply) {
  startWithEmulatedKeyboard();
  startOption();
  const size_t mark = traceSize();
  click(winKeyButton(1));
  click(winKeyButton(2));
  click(winKeyButton(1));
  Sleep(300);
  EXPECT_TRUE(downloadsSince(mark).empty());
  const Download sent = downloadOf([&] { click(mainControl(kApply)); });
  auto block = readBlock();
  kbd::DownloadFlags winLock;
  winLock.winLockChanged = true;
  expectSent(sent, block->profiles[block->currentProfile], winLock);
}

TEST_F(OptionSystem, ASwitchByTheMonitorIsFollowed) {
  startWithEmulatedKeyboard();
  startOption();
  // What the monitor's watcher does on a match: the block, then the message.
  auto block = readBlock();
  block->currentProfile = 3;
  {
    SharedBlock shared;
    ASSERT_TRUE(shared.open());
    ASSERT_TRUE(shared.copyToBlock(*block));
  }
  PostMessageA(optionWindow(), UM_PROFILE_SWITCHED, 0, 0);
  EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(mainButton(kFirstProfilePage + 3)) != FALSE; }, 5000));
  EXPECT_FALSE(IsWindowEnabled(mainButton(kFirstProfilePage)));
  // An apply now sends the followed profile without a switch.
  const Download sent = downloadOf([&] { click(mainControl(kApply)); });
  EXPECT_EQ(readBlock()->currentProfile, 3);
  EXPECT_EQ(sent.size(), 3u);
}

TEST_F(OptionSystem, WithTheMonitorTheBlocksProfileWinsOverConfigIni) {
  startWithEmulatedKeyboard();
  auto block = readBlock();
  block->currentProfile = 4;
  {
    SharedBlock shared;
    ASSERT_TRUE(shared.open());
    ASSERT_TRUE(shared.copyToBlock(*block));
  }
  WritePrivateProfileStringA("Setting", "CurrentProfile", "1", configPath().c_str());
  startOption();
  EXPECT_TRUE(IsWindowEnabled(mainButton(kFirstProfilePage + 4)));
  EXPECT_FALSE(IsWindowEnabled(mainButton(kFirstProfilePage + 1)));
}

TEST_F(OptionSystem, CloseEndsTheProgramWithoutApplying) {
  startWithEmulatedKeyboard();
  startOption();
  const size_t mark = traceSize();
  click(mainControl(kFirstSelector + 1));
  click(mainControl(kClose));
  ASSERT_EQ(WaitForSingleObject(option_.hProcess, 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(downloadsSince(mark).empty());
  EXPECT_EQ(readBlock()->currentProfile, 0);
}

}  // namespace

namespace {

// A monitor that crashed and is started again while the configuration window
// still holds the block takes it over and has the window read it again.
TEST_F(OptionSystem, ARestartedMonitorTakesTheBlockOverAndTheWindowFollows) {
  startWithEmulatedKeyboard();
  startOption();
  ASSERT_TRUE(TerminateProcess(monitor_.hProcess, 1));
  WaitForSingleObject(monitor_.hProcess, 5000);
  CloseHandle(monitor_.hProcess);
  CloseHandle(monitor_.hThread);
  monitor_ = {};
  // What the restarted monitor finds in the files differs from the window's.
  WritePrivateProfileStringA("Setting", "CurrentProfile", "4", configPath().c_str());
  startWithEmulatedKeyboard();
  EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(mainButton(kFirstProfilePage + 4)) != FALSE; }, 10000));
  EXPECT_FALSE(IsWindowEnabled(mainButton(kFirstProfilePage)));
  EXPECT_EQ(readBlock()->currentProfile, 4);
  // The window's applies reach the new monitor and end their busy state.
  const size_t mark = traceSize();
  click(mainControl(kApply));
  EXPECT_EQ(waitForDownloads(mark, 1).size(), 1u);
  EXPECT_TRUE(waitApplyEnabled());
}

}  // namespace
