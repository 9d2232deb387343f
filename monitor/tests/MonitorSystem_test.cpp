// Monitor.exe's life from outside: start, single instance, the keyboard's
// open sequence, arrival and removal, applies without a keyboard, the end.

#include "MonitorHarness_win.h"

namespace {

using namespace harness;

class MonitorSystem : public MonitorHarness {};

TEST_F(MonitorSystem, WithoutKeyboardLibraryItServesOptionAndEndsFromTheTray) {
  startMonitor();
  ASSERT_TRUE(waitFor([&] { return device() == 0; }, 10000));

  PROCESS_INFORMATION second = start("1");
  EXPECT_EQ(WaitForSingleObject(second.hProcess, 5000), WAIT_OBJECT_0);
  CloseHandle(second.hProcess);
  CloseHandle(second.hThread);
  EXPECT_EQ(WaitForSingleObject(monitor_.hProcess, 0), WAIT_TIMEOUT);

  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  EXPECT_TRUE(waitFor([&] { return standIn_.applyDone == 1; }, 3000));

  exitFromTray();
}

TEST_F(MonitorSystem, WithTheEmulatedKeyboardItOpensReadsTheVersionAndAppliesOnItsThread) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;

  // Connected: the answer to an apply comes from downloadThread.
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  EXPECT_TRUE(waitFor([&] { return standIn_.applyDone == 1; }, 5000));
  exitFromTray();

  // The open sequence and the version read, in this order.
  const std::vector<std::string> calls = tracedCalls();
  const std::vector<std::string> expected = {"Set_VIDPID 04D9 0A5C", "Open_DevMonitor", "Open_FeatureDevice",
                                             "Open_ReportDevice 1", "SetFeature 800000000000007F"};
  ASSERT_GE(calls.size(), expected.size() + 1);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(calls[i], expected[i]) << "call " << i;
  EXPECT_EQ(calls[expected.size()].rfind("GetFeature 800000000000007F ", 0), 0u) << calls[expected.size()];
}

}  // namespace

namespace {

// Wine has no such HID device: the real driver takes the keyboard-absent path.
TEST_F(MonitorSystem, WithTheRealDriverUnderWineTheKeyboardIsAbsent) {
  if (GetFileAttributesA((dist_ + "hiddriver.dll").c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "no real driver in the program folder";
  }
  ASSERT_TRUE(copy("hiddriver.dll"));
  startMonitor();
  EXPECT_TRUE(waitFor([&] { return device() == 0; }, 10000));
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  EXPECT_TRUE(waitFor([&] { return standIn_.applyDone == 1; }, 3000));
  exitFromTray();
}

TEST_F(MonitorSystem, RemovalAndArrivalAreEachHandledOnce) {
  startWithEmulatedKeyboard();
  if (IsSkipped() || HasFatalFailure()) return;
  Sleep(500);  // the firmware check after start

  standIn_.closes = 0;
  PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, 0, 0);
  PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, 0, 0);
  EXPECT_TRUE(waitFor([&] { return device() == 0 && standIn_.closes >= 1; }, 5000));
  waitFor([] { return false; }, 300);
  EXPECT_EQ(standIn_.closes, 1);

  const size_t before = tracedCalls().size();
  PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, 1, 0);
  PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, 1, 0);
  EXPECT_TRUE(waitFor([&] { return device() == 1; }, 5000));
  waitFor([] { return false; }, 500);

  exitFromTray();
  std::vector<std::string> calls = tracedCalls();
  EXPECT_EQ(count(calls, "Close_FeatureDevice"), 2);  // one removal, one shutdown
  EXPECT_EQ(count(calls, "Open_FeatureDevice"), 2);   // start and one arrival
  EXPECT_EQ(count(calls, "WriteUSB"), 0);             // arrival sends no settings
  ASSERT_GT(calls.size(), before);
}

}  // namespace
