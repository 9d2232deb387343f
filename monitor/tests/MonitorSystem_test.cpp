// Starts the real Monitor.exe from a copy of the program folder and watches it
// from outside: its window, config.ini, the answers it sends to a stand-in
// for Option's window, and how it ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "MonitorMessages.h"

namespace {

struct OptionStandIn {
  HWND hwnd = nullptr;
  int applyDone = 0;
  int closes = 0;
};
OptionStandIn* gStandIn = nullptr;

LRESULT CALLBACK standInProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gStandIn && message == UM_APPLY_DONE) {
    ++gStandIn->applyDone;
    return 0;
  }
  if (gStandIn && message == WM_CLOSE) {
    ++gStandIn->closes;  // counted, the window stays for the rest of the test
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Pumps messages until `done` holds or `ms` pass.
template <typename Predicate>
bool waitFor(Predicate done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    pump();
  }
  return true;
}

std::string currentFolder() {
  char buffer[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, buffer);
  std::string folder = buffer;
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

class MonitorSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    dist_ = currentFolder();
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "quillon_monitor_" + std::to_string(GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    CreateDirectoryA((folder_ + "config").c_str(), nullptr);
    ASSERT_TRUE(copy("Monitor.exe"));
    copy("lan.dll");

    WNDCLASSA wc = {};
    wc.lpfnWndProc = standInProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuillonOptionStandIn";
    RegisterClassA(&wc);
    gStandIn = &standIn_;
    standIn_.hwnd = CreateWindowExA(0, wc.lpszClassName, kOptionWindowTitle, WS_OVERLAPPED, 0, 0, 50, 50,
                                    nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(standIn_.hwnd, nullptr);
  }

  void TearDown() override {
    if (monitor_.hProcess) {
      if (WaitForSingleObject(monitor_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(monitor_.hProcess, 1);
      CloseHandle(monitor_.hProcess);
      CloseHandle(monitor_.hThread);
    }
    if (standIn_.hwnd) DestroyWindow(standIn_.hwnd);
    gStandIn = nullptr;
    for (const char* name : {"Monitor.exe", "lan.dll", "hiddriver.dll", "config.ini", "kbd_trace.txt"}) {
      DeleteFileA((folder_ + name).c_str());
    }
    RemoveDirectoryA((folder_ + "config").c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  bool copy(const char* name, const std::string& from = {}) {
    std::string source = from.empty() ? dist_ + name : from;
    return CopyFileA(source.c_str(), (folder_ + name).c_str(), FALSE) != FALSE;
  }

  PROCESS_INFORMATION start(const char* arguments) {
    std::string commandLine = "\"" + folder_ + "Monitor.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    EXPECT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder_.c_str(), &startup, &process));
    return process;
  }

  int device() const {
    return static_cast<int>(GetPrivateProfileIntA("Setting", "Device", -1, (folder_ + "config.ini").c_str()));
  }

  std::string emulatedDriver() const {
    for (const char* candidate : {"emulated\\hiddriver.dll", "hiddriver_emulated.dll"}) {
      if (GetFileAttributesA((dist_ + candidate).c_str()) != INVALID_FILE_ATTRIBUTES)
        return dist_ + candidate;
    }
    return {};
  }

  // The export calls of the emulated keyboard, without their time stamps.
  static std::vector<std::string> tracedCalls(const std::string& path) {
    std::vector<std::string> calls;
    std::ifstream trace(path);
    for (std::string line; std::getline(trace, line);) {
      const size_t space = line.find(' ');
      if (space != std::string::npos) calls.push_back(line.substr(space + 1));
    }
    return calls;
  }

  static int count(const std::vector<std::string>& calls, const std::string& prefix) {
    int n = 0;
    for (const std::string& call : calls) n += call.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
  }

  HWND monitorWindow() const { return FindWindowA(nullptr, kMonitorWindowTitle); }

  void startMonitor() {
    monitor_ = start("");
    ASSERT_TRUE(waitFor([&] { return monitorWindow() != nullptr; }, 15000));
  }

  void exitFromTray() {
    standIn_.closes = 0;
    PostMessageA(monitorWindow(), WM_COMMAND, ID_TRAY_EXIT, 0);
    EXPECT_TRUE(waitFor([&] { return WaitForSingleObject(monitor_.hProcess, 0) == WAIT_OBJECT_0; }, 15000));
    pump();
    EXPECT_GE(standIn_.closes, 1);
  }

  std::string dist_;
  std::string folder_;
  OptionStandIn standIn_;
  PROCESS_INFORMATION monitor_ = {};
};

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
  const std::string emulated = emulatedDriver();
  if (emulated.empty()) GTEST_SKIP() << "no emulated keyboard in the program folder";
  ASSERT_TRUE(copy("hiddriver.dll", emulated));
  const std::string tracePath = folder_ + "kbd_trace.txt";
  SetEnvironmentVariableA("QUILLON_KBD_TRACE", tracePath.c_str());
  startMonitor();
  SetEnvironmentVariableA("QUILLON_KBD_TRACE", nullptr);
  EXPECT_TRUE(waitFor([&] { return device() == 1; }, 10000));

  // Connected: the answer to an apply comes from downloadThread.
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  EXPECT_TRUE(waitFor([&] { return standIn_.applyDone == 1; }, 5000));
  exitFromTray();

  // The open sequence and the version read, in this order.
  const std::vector<std::string> calls = tracedCalls(tracePath);
  const std::vector<std::string> expected = {"Set_VIDPID 04D9 0A5C", "Open_DevMonitor", "Open_FeatureDevice",
                                             "Open_ReportDevice 1", "SetFeature 800000000000007F"};
  ASSERT_GE(calls.size(), expected.size() + 1);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(calls[i], expected[i]) << "call " << i;
  EXPECT_EQ(calls[expected.size()].rfind("GetFeature 800000000000007F ", 0), 0u) << calls[expected.size()];
  DeleteFileA(tracePath.c_str());
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
  const std::string emulated = emulatedDriver();
  if (emulated.empty()) GTEST_SKIP() << "no emulated keyboard in the program folder";
  ASSERT_TRUE(copy("hiddriver.dll", emulated));
  const std::string tracePath = folder_ + "kbd_trace.txt";
  SetEnvironmentVariableA("QUILLON_KBD_TRACE", tracePath.c_str());
  startMonitor();
  SetEnvironmentVariableA("QUILLON_KBD_TRACE", nullptr);
  ASSERT_TRUE(waitFor([&] { return device() == 1; }, 10000));
  Sleep(500);  // the firmware check after start

  standIn_.closes = 0;
  PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, 0, 0);
  PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, 0, 0);
  EXPECT_TRUE(waitFor([&] { return device() == 0 && standIn_.closes >= 1; }, 5000));
  waitFor([] { return false; }, 300);
  EXPECT_EQ(standIn_.closes, 1);

  const size_t before = tracedCalls(tracePath).size();
  PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, 1, 0);
  PostMessageA(monitorWindow(), UM_DEVICE_CHANGE, 1, 0);
  EXPECT_TRUE(waitFor([&] { return device() == 1; }, 5000));
  waitFor([] { return false; }, 500);

  exitFromTray();
  std::vector<std::string> calls = tracedCalls(tracePath);
  EXPECT_EQ(count(calls, "Close_FeatureDevice"), 2);  // one removal, one shutdown
  EXPECT_EQ(count(calls, "Open_FeatureDevice"), 2);   // start and one arrival
  EXPECT_EQ(count(calls, "WriteUSB"), 0);             // arrival sends no settings
  ASSERT_GT(calls.size(), before);
  DeleteFileA(tracePath.c_str());
}

}  // namespace
