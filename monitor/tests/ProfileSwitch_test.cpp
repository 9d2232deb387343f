// Profile switches of the running Monitor.exe, seen from outside: the
// foreground watcher with real foreground programs (and its latency, printed),
// its slow look when the hook is not set, a switch while an apply waits to be
// taken, and "Monitor.exe --profile N".

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "MonitorHarness_win.h"
#include "SharedBlock_win.h"

namespace {

using namespace harness;

constexpr DWORD kLong = 20000;  // generous: a loaded machine, Wine

void link(SettingsImage& image, int profile, const char* path) {
  lstrcpynA(image.profiles[profile].linkedApps[0], path, sizeof image.profiles[profile].linkedApps[0]);
}

// currentProfile as the block holds it, read in place: cheap enough to look
// every millisecond.
class ActiveProfileProbe {
 public:
  ActiveProfileProbe() {
    mapping_.reset(OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName));
    if (mapping_) view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, sizeof(int32_t)));
  }
  int current() const { return view_ ? *static_cast<const volatile int32_t*>(view_.get()) : -1; }

 private:
  UniqueHandle mapping_;
  UniqueMappedView view_;
};

double nowMs() {
  LARGE_INTEGER t, f;
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return 1000.0 * double(t.QuadPart) / double(f.QuadPart);
}

class ProfileSwitch : public MonitorHarness {
 protected:
  void TearDown() override {
    SetEnvironmentVariableA(kAppWatchVariable, nullptr);
    MonitorHarness::TearDown();
  }
  void startAndWaitForTheFirmwareCheck() {
    startWithEmulatedKeyboard();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(waitFor([&] { return count(tracedCalls(), "GetFeature") == 2; }, kLong)) << "start-up check";
  }
  // Brings `window` to the front and gives the milliseconds until the
  // block names `profile` active, or -1.
  double switchTime(HWND window, int profile, const ActiveProfileProbe& probe) {
    const double start = nowMs();
    SetForegroundWindow(window);
    if (!waitFor([&] { return probe.current() == profile; }, kLong)) return -1;
    return nowMs() - start;
  }
  void printLatencies(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::string line;
    for (double v : ms) line += " " + std::to_string(int(v + 0.5));
    std::printf("[ latency  ] %s: median %.0f ms (runs:%s ms)\n", what, ms[ms.size() / 2], line.c_str());
    RecordProperty(what, int(ms[ms.size() / 2] + 0.5));
  }
};

}  // namespace

TEST_F(ProfileSwitch, TheForegroundChangeItselfSwitchesWithItsLatencyPrinted) {
  startAndWaitForTheFirmwareCheck();
  if (IsSkipped() || HasFatalFailure()) return;
  std::unique_ptr<SettingsImage> image = readBlock();
  image->currentProfile = 0;
  link(*image, 1, "C:\\Games\\QuickOne.exe");
  link(*image, 0, "C:\\Games\\QuickZero.exe");
  ASSERT_TRUE(apply(*image));
  ActiveProfileProbe probe;
  HWND one = bringUpForegroundApp("QuickOne.exe", "Quillon quick one");
  ASSERT_TRUE(waitFor([&] { return probe.current() == 1; }, kLong));
  HWND zero = bringUpForegroundApp("QuickZero.exe", "Quillon quick zero");
  ASSERT_TRUE(waitFor([&] { return probe.current() == 0; }, kLong));
  ASSERT_TRUE(waitFor([&] { return standIn_.profileSwitched == 2; }, kLong));

  std::vector<double> latencies;
  for (int run = 0; run < 6; ++run) {
    waitFor([] { return false; }, 150 + 37 * run % 100);  // not in step with the monitor's looks
    const int profile = run % 2 == 0 ? 1 : 0;
    const double ms = switchTime(profile == 1 ? one : zero, profile, probe);
    ASSERT_GE(ms, 0) << "run " << run << ": no switch to profile " << profile + 1;
    latencies.push_back(ms);
  }
  printLatencies("foreground change to active profile", latencies);
  ASSERT_TRUE(waitFor([&] { return standIn_.profileSwitched == 8; }, kLong));
  EXPECT_EQ(iniString("Setting", "CurrentProfile"), "0");
  exitFromTray();
}

TEST_F(ProfileSwitch, WithoutTheHookTheSlowLookStillSwitches) {
  SetEnvironmentVariableA(kAppWatchVariable, "poll");
  startAndWaitForTheFirmwareCheck();
  SetEnvironmentVariableA(kAppWatchVariable, nullptr);
  if (IsSkipped() || HasFatalFailure()) return;
  std::unique_ptr<SettingsImage> image = readBlock();
  image->currentProfile = 0;
  link(*image, 3, "C:\\Games\\SlowGame.exe");
  ASSERT_TRUE(apply(*image));
  ActiveProfileProbe probe;
  const double start = nowMs();
  bringUpForegroundApp("SlowGame.exe", "Quillon slow game");
  ASSERT_TRUE(waitFor([&] { return probe.current() == 3; }, kLong)) << "the slow look did not switch";
  printLatencies("slow look, start to active profile", {nowMs() - start});
  ASSERT_TRUE(waitFor([&] { return standIn_.profileSwitched == 1; }, kLong));
  EXPECT_EQ(iniString("Setting", "CurrentProfile"), "3");
  exitFromTray();
}

// Option has written its apply into the block and not yet announced it when
// a linked program comes to the front: the switch changes only the active
// profile and its flag, so the apply reaches the keyboard all the same.
TEST_F(ProfileSwitch, ASwitchKeepsAnApplyTheMonitorHasNotTakenYet) {
  startAndWaitForTheFirmwareCheck();
  if (IsSkipped() || HasFatalFailure()) return;
  std::unique_ptr<SettingsImage> image = readBlock();
  image->currentProfile = 0;
  link(*image, 1, "C:\\Games\\GameTwo.exe");
  ASSERT_TRUE(apply(*image));
  // What the monitor holds from now on, switched to profile 2 by the watcher.
  auto held = std::make_unique<SettingsImage>(*image);
  clearChangeFlags(*held);
  held->currentProfile = 1;
  held->profileSwitched = 1;
  const size_t before = tracedCalls().size();

  image->profiles[1].staticColor = 0x00345678;
  image->profiles[1].keys[7].category = kCategoryDisabled;
  image->profiles[1].keys[7].functionCode = kFunctionDisabled;
  clearChangeFlags(*image);
  image->effectColorDirty[1] = 1;
  image->keyDirty[1][7] = 1;
  {
    SharedBlock block;
    ASSERT_TRUE(block.open());
    ASSERT_TRUE(block.copyToBlock(*image));
  }
  bringUpForegroundApp("GameTwo.exe", "Quillon game two");
  ASSERT_TRUE(waitFor([&] { return standIn_.profileSwitched == 1; }, kLong)) << "no UM_PROFILE_SWITCHED";
  std::unique_ptr<SettingsImage> published = readBlock();
  EXPECT_EQ(published->currentProfile, 1);
  EXPECT_EQ(published->profileSwitched, 1);
  EXPECT_EQ(published->profiles[1].staticColor, 0x00345678u) << "the switch wrote over the apply";
  EXPECT_EQ(published->profiles[1].keys[7].category, kCategoryDisabled);
  EXPECT_EQ(published->effectColorDirty[1], 1);
  EXPECT_EQ(published->keyDirty[1][7], 1);

  // The switch's own download sends profile 2 as the monitor held it; the
  // apply, taken now, sends what the block holds.
  expectDownloadOf(*held, true, before);
  if (HasFatalFailure()) return;
  const size_t mark = tracedCalls().size();
  const int answered = standIn_.applyDone;
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  ASSERT_TRUE(waitFor([&] { return standIn_.applyDone > answered; }, kLong));
  expectDownloadOf(*published, false, mark);
  exitFromTray();
}

TEST_F(ProfileSwitch, ProfileCommandMakesAProfileActiveInTheRunningMonitor) {
  startAndWaitForTheFirmwareCheck();
  if (IsSkipped() || HasFatalFailure()) return;
  const size_t before = tracedCalls().size();
  ProgramRun r = run("Monitor.exe", "--profile 3");
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.output, "");
  ASSERT_TRUE(waitFor([&] { return standIn_.profileSwitched == 1; }, kLong)) << "Option was not told";
  std::unique_ptr<SettingsImage> published = readBlock();
  EXPECT_EQ(published->currentProfile, 2);
  EXPECT_EQ(iniString("Setting", "CurrentProfile"), "2");
  expectDownloadOf(*published, true, before);

  // The active profile again: nothing to do, and nothing is sent.
  const size_t mark = tracedCalls().size();
  r = run("Monitor.exe", "--profile 3");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  waitFor([] { return false; }, 500);
  EXPECT_EQ(standIn_.profileSwitched, 1);
  EXPECT_TRUE(downloadCallsSince(mark).empty());

  r = run("Monitor.exe", "--profile 9");
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_NE(r.output.find("1 to 5"), std::string::npos) << r.output;
  r = run("Monitor.exe", "--help");
  EXPECT_EQ(r.exitCode, 0u);
  EXPECT_NE(r.output.find("--profile N"), std::string::npos) << r.output;

  // Without a keyboard the switch could not be sent: refused, nothing changes.
  ASSERT_TRUE(control("unplug").has_value());
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, kLong));
  r = run("Monitor.exe", "--profile 1");
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_NE(r.output.find("not connected"), std::string::npos) << r.output;
  EXPECT_EQ(readBlock()->currentProfile, 2);
  ASSERT_TRUE(control("plug").has_value());
  exitFromTray();

  r = run("Monitor.exe", "--profile 2");
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_NE(r.output.find("not running"), std::string::npos) << r.output;
  EXPECT_EQ(FindWindowA(nullptr, kMonitorWindowTitle), nullptr) << "--profile started a monitor";
}
