// Loads the emulated and the real hiddriver.dll from the program folder and
// drives them as Monitor.exe does.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "../ControlPipe_win.h"
#include "DownloadEncoder.h"
#include "KeyboardProtocol.h"

namespace {

constexpr UINT kKeyboardEvent = 1325;
constexpr UINT kDeviceChange = 1326;

struct Exports {
  void(__cdecl* setVidPid)(int, int);
  void(__cdecl* openDevMonitor)(HWND, UINT, UINT);
  void(__cdecl* closeDevMonitor)();
  void(__cdecl* openFeature)();
  void(__cdecl* closeFeature)();
  int(__cdecl* openReport)();
  void(__cdecl* closeReport)();
  int(__cdecl* setFeature)(unsigned char*, int);
  int(__cdecl* getFeature)(unsigned char*, int);
  int(__cdecl* writeUsb)(unsigned char*, int);
  int(__cdecl* readUsb)(unsigned char*, int);
};

template <typename F>
void bind(HMODULE m, const char* name, F& f) {
  f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
  ASSERT_NE(f, nullptr) << name;
}

void bindAll(HMODULE m, Exports& e) {
  bind(m, "Set_VIDPID", e.setVidPid);
  bind(m, "Open_DevMonitor", e.openDevMonitor);
  bind(m, "Close_DevMonitor", e.closeDevMonitor);
  bind(m, "Open_FeatureDevice", e.openFeature);
  bind(m, "Close_FeatureDevice", e.closeFeature);
  bind(m, "Open_ReportDevice", e.openReport);
  bind(m, "Close_ReportDevice", e.closeReport);
  bind(m, "SetFeature", e.setFeature);
  bind(m, "GetFeature", e.getFeature);
  bind(m, "WriteUSB", e.writeUsb);
  bind(m, "ReadUSB", e.readUsb);
}

HWND messageWindow() {
  return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// Waits for one posted message `msg` to `window`.
bool waitFor(HWND window, UINT msg, MSG& out) {
  for (int i = 0; i < 200; ++i) {
    if (PeekMessageW(&out, window, msg, msg, PM_REMOVE)) return true;
    Sleep(10);
  }
  return false;
}

std::vector<std::string> lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> result;
  for (std::string l; std::getline(in, l);) result.push_back(l);
  return result;
}

// Runs the control program from the program folder and returns its exit code.
DWORD runKbdctl(const char* arguments) {
  std::string command = std::string("kbdctl.exe ") + arguments;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return 999;
  WaitForSingleObject(pi.hProcess, 10000);
  DWORD code = 999;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

std::string tempTrace() {
  char dir[MAX_PATH], file[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  GetTempFileNameA(dir, "kbd", 0, file);
  DeleteFileA(file);
  return file;
}

TEST(EmulatedDriver, TracesEveryCallAndObeysTheControlPipe) {
  const std::string trace = tempTrace();
  SetEnvironmentVariableA("QUILLON_KBD_TRACE", trace.c_str());
  HMODULE dll = LoadLibraryA("emulated\\hiddriver.dll");
  ASSERT_NE(dll, nullptr);
  Exports e{};
  bindAll(dll, e);
  HWND window = messageWindow();
  ASSERT_NE(window, nullptr);

  e.setVidPid(0x04D9, 0x0A5C);
  e.openDevMonitor(window, kKeyboardEvent, kDeviceChange);
  e.openFeature();
  EXPECT_EQ(e.openReport(), 1);
  kbd::Command q = kbd::makeVersionCommand();
  e.setFeature(q.data(), 8);
  e.getFeature(q.data(), 8);
  EXPECT_EQ(kbd::parseFirmwareVersion(q), (kbd::FirmwareVersion{1, 3}));

  // A key table in which key 20 reports itself as a text-macro key.
  const int key = 20;
  kbd::Command table = kbd::makeFeatureCommand(kbd::kCmdKeySlotTable, {0, 0, 8, 0, 0, 0});
  e.setFeature(table.data(), 8);
  std::vector<unsigned char> slots(kbd::kSlotTableBytes, 0);
  const int slot = kbd::keySlotOf[key];
  slots[slot * 4] = 10;
  slots[slot * 4 + 2] = 11;
  slots[slot * 4 + 3] = key + 1;
  for (int b = 0; b < 8; ++b) e.writeUsb(slots.data() + b * 64, 64);

  MSG msg;
  EXPECT_EQ(emu::sendControlCommand("press 20").value_or(""), "ok event 11 21");
  ASSERT_TRUE(waitFor(window, kKeyboardEvent, msg));
  EXPECT_EQ(msg.wParam, 11u);
  EXPECT_EQ(msg.lParam, key + 1);
  EXPECT_EQ(emu::sendControlCommand("release 20").value_or(""), "ok event 32779 21");
  ASSERT_TRUE(waitFor(window, kKeyboardEvent, msg));
  EXPECT_EQ(msg.wParam, 0x800Bu);

  EXPECT_EQ(emu::sendControlCommand("unplug").value_or(""), "ok");
  ASSERT_TRUE(waitFor(window, kDeviceChange, msg));
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_EQ(e.openReport(), 0);
  EXPECT_EQ(emu::sendControlCommand("plug").value_or(""), "ok");
  ASSERT_TRUE(waitFor(window, kDeviceChange, msg));
  EXPECT_EQ(msg.wParam, 1u);
  EXPECT_EQ(emu::sendControlCommand("version 2 5").value_or(""), "ok");
  const std::string dump = emu::sendControlCommand("dump").value_or("");
  EXPECT_NE(dump.find("\"version\":\"2.5\""), std::string::npos) << dump;
  EXPECT_NE(dump.find("\"violations\":0"), std::string::npos) << dump;
  EXPECT_EQ(emu::sendControlCommand("bogus").value_or(""), "error unknown command");
  EXPECT_EQ(runKbdctl("version 1 3"), 0u);
  EXPECT_EQ(runKbdctl("press 999"), 1u);
  EXPECT_EQ(runKbdctl("jump"), 2u);

  e.closeFeature();
  e.closeReport();
  e.closeDevMonitor();
  FreeLibrary(dll);
  SetEnvironmentVariableA("QUILLON_KBD_TRACE", nullptr);

  const auto t = lines(trace);
  DeleteFileA(trace.c_str());
  ASSERT_EQ(t.size(), 19u);
  const std::regex shape("^[0-9]+ [A-Za-z_]+( .*)?$");
  for (const auto& l : t) EXPECT_TRUE(std::regex_match(l, shape)) << l;
  auto rest = [&](size_t i) { return t[i].substr(t[i].find(' ') + 1); };
  EXPECT_EQ(rest(0), "Set_VIDPID 04D9 0A5C");
  EXPECT_EQ(rest(1), "Open_DevMonitor");
  EXPECT_EQ(rest(2), "Open_FeatureDevice");
  EXPECT_EQ(rest(3), "Open_ReportDevice 1");
  EXPECT_EQ(rest(4), "SetFeature 800000000000007F");
  EXPECT_EQ(rest(5), "GetFeature 800000000000007F 800103000000007B");
  EXPECT_TRUE(std::regex_match(rest(7), std::regex("^WriteUSB [0-9A-F]{128}$"))) << rest(7);
  EXPECT_EQ(rest(15), "Open_ReportDevice 0");
  EXPECT_EQ(rest(16), "Close_FeatureDevice");
  EXPECT_EQ(rest(18), "Close_DevMonitor");
  long long last = -1;
  for (const auto& l : t) {
    const long long us = std::stoll(l.substr(0, l.find(' ')));
    EXPECT_GE(us, last);
    last = us;
  }
}

TEST(RealDriver, WithoutAKeyboardTheReportDeviceStaysClosed) {
  HMODULE dll = LoadLibraryA("hiddriver.dll");
  ASSERT_NE(dll, nullptr);
  Exports e{};
  bindAll(dll, e);
  HWND window = messageWindow();
  e.setVidPid(0x04D9, 0x0A5C);
  e.openDevMonitor(window, kKeyboardEvent, kDeviceChange);
  e.openFeature();
  EXPECT_EQ(e.openReport(), 0);
  unsigned char buffer[64] = {0x80};
  EXPECT_EQ(e.setFeature(buffer, 8), 0);
  EXPECT_EQ(e.getFeature(buffer, 8), 0);
  EXPECT_EQ(e.writeUsb(buffer, 64), 0);
  e.closeFeature();
  e.closeReport();
  e.closeDevMonitor();
  FreeLibrary(dll);
}

}  // namespace
