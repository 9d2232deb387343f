#include "MonitorHarness_win.h"

#include <algorithm>
#include <fstream>

#include "ControlPipe_win.h"
#include "DownloadEncoder.h"
#include "DownloadTrace.h"
#include "FirmwareModel.h"
#include "FolderTree_win.h"
#include "SharedBlock_win.h"

namespace harness {
namespace {

OptionStandIn* gStandIn = nullptr;

LRESULT CALLBACK standInProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gStandIn) {
    switch (message) {
      case UM_APPLY_DONE:
        ++gStandIn->applyDone;
        gStandIn->lastApplyId = wParam;
        gStandIn->lastOutcome = lParam;
        return 0;
      case UM_KEYBOARD_LINK:
        gStandIn->links.push_back(wParam);
        return 0;
      case UM_PROFILE_SWITCHED:
        ++gStandIn->profileSwitched;
        return 0;
      case UM_RELOAD_SETTINGS:
        ++gStandIn->reloads;
        return 0;
      case WM_CLOSE:
        ++gStandIn->closes;
        return 0;
    }
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::string currentFolder() {
  char buffer[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, buffer);
  std::string folder = buffer;
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::vector<TraceLine> readTrace(const std::string& path) {
  std::vector<TraceLine> lines;
  std::ifstream trace(path);
  for (std::string line; std::getline(trace, line);) {
    const size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    lines.push_back({std::stoll(line.substr(0, space)), line.substr(space + 1)});
  }
  return lines;
}

std::vector<std::string> tracedCalls(const std::string& path) {
  std::vector<std::string> calls;
  for (TraceLine& line : readTrace(path)) calls.push_back(std::move(line.call));
  return calls;
}

int count(const std::vector<std::string>& calls, const std::string& prefix) {
  int n = 0;
  for (const std::string& call : calls) n += call.rfind(prefix, 0) == 0 ? 1 : 0;
  return n;
}

std::vector<std::string> reportFaults(const std::vector<std::string>& calls) {
  emu::FirmwareModel keyboard;
  std::vector<std::string> faults;
  for (const std::string& call : calls) {
    const size_t space = call.find(' ');
    const std::string name = call.substr(0, space);
    const std::string data = space == std::string::npos ? std::string() : call.substr(space + 1);
    std::vector<uint8_t> bytes = emu::unhex(data.substr(0, data.find(' ')));
    if (name == "SetFeature") {
      if (bytes.size() == kbd::kCommandLength && bytes[0] == kbd::kCmdMacro &&
          bytes[kbd::kMacroNumberOffset] >= kbd::kMaxMacroBuffers)
        faults.push_back("macro number " + std::to_string(bytes[kbd::kMacroNumberOffset]));
      keyboard.setFeature(bytes.data(), bytes.size());
    } else if (name == "WriteUSB") {
      keyboard.writeBlock(bytes.data(), bytes.size());
    } else if (name == "GetFeature" && !bytes.empty()) {
      keyboard.getFeature(bytes.data(), bytes.size());
    }
  }
  const std::vector<std::string>& rejected = keyboard.violationLog();
  faults.insert(faults.end(), rejected.begin(), rejected.end());
  return faults;
}

std::optional<std::string> control(const std::string& line) { return emu::sendControlCommand(line); }

void MonitorHarness::SetUp() {
  dist_ = currentFolder();
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  folder_ = std::string(temp) + "quillon_monitor_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(GetTickCount()) + "\\";
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

void MonitorHarness::TearDown() {
  for (PROCESS_INFORMATION& helper : helpers_) {
    if (WaitForSingleObject(helper.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(helper.hProcess, 1);
    WaitForSingleObject(helper.hProcess, 5000);
    CloseHandle(helper.hProcess);
    CloseHandle(helper.hThread);
  }
  helpers_.clear();
  if (monitor_.hProcess) {
    if (WaitForSingleObject(monitor_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(monitor_.hProcess, 1);
      WaitForSingleObject(monitor_.hProcess, 5000);
    }
    CloseHandle(monitor_.hProcess);
    CloseHandle(monitor_.hThread);
    monitor_ = {};
  }
  if (standIn_.hwnd) DestroyWindow(standIn_.hwnd);
  gStandIn = nullptr;
  SetEnvironmentVariableA("QUILLON_KBD_TRACE", nullptr);
  removeTree(folder_);
}

HWND MonitorHarness::bringUpForegroundApp(const std::string& exeName, const std::string& title) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string testBin = self;
  testBin.resize(testBin.find_last_of('\\') + 1);
  const std::string path = folder_ + exeName;
  EXPECT_TRUE(CopyFileA((testBin + "foreground_app.exe").c_str(), path.c_str(), FALSE));
  std::string commandLine = "\"" + path + "\" " + title;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  EXPECT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                             &startup, &process));
  if (process.hProcess) helpers_.push_back(process);
  HWND window = nullptr;
  EXPECT_TRUE(waitFor(
      [&] {
        window = FindWindowA(nullptr, title.c_str());
        if (window && GetForegroundWindow() != window) SetForegroundWindow(window);
        return window && GetForegroundWindow() == window;
      },
      20000))
      << title << " did not come to the foreground";
  return window;
}

bool MonitorHarness::copy(const char* name, const std::string& from) {
  const std::string source = from.empty() ? dist_ + name : from;
  return CopyFileA(source.c_str(), (folder_ + name).c_str(), FALSE) != FALSE;
}

PROCESS_INFORMATION MonitorHarness::start(const char* arguments) {
  std::string commandLine = "\"" + folder_ + "Monitor.exe\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  EXPECT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder_.c_str(), &startup, &process));
  return process;
}

ProgramRun MonitorHarness::run(const std::string& program, const std::string& arguments, DWORD ms) {
  ProgramRun result;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  std::string commandLine = "\"" + folder_ + program + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process = {};
  const bool started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      folder_.c_str(), &startup, &process);
  CloseHandle(writeEnd);
  EXPECT_TRUE(started) << commandLine;
  auto drain = [&] {
    DWORD available = 0;
    char buffer[4096];
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available) {
      DWORD got = 0;
      if (!ReadFile(readEnd, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr) || !got) break;
      result.output.append(buffer, got);
    }
  };
  if (started) {
    result.ended = waitFor(
        [&] {
          drain();
          return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        },
        ms);
    drain();
    if (!result.ended) TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(readEnd);
  return result;
}

void MonitorHarness::startMonitor() {
  monitor_ = start("");
  ASSERT_TRUE(waitFor([&] { return monitorWindow() != nullptr; }, 15000));
}

void MonitorHarness::startWithEmulatedKeyboard() {
  const std::string emulated = emulatedDriver();
  if (emulated.empty()) GTEST_SKIP() << "no emulated keyboard in the program folder";
  ASSERT_TRUE(copy("hiddriver.dll", emulated));
  SetEnvironmentVariableA("QUILLON_KBD_TRACE", tracePath().c_str());
  startMonitor();
  SetEnvironmentVariableA("QUILLON_KBD_TRACE", nullptr);
  ASSERT_TRUE(waitFor([&] { return device() == 1; }, 15000));
}

void MonitorHarness::exitFromTray() {
  standIn_.closes = 0;
  PostMessageA(monitorWindow(), WM_COMMAND, ID_TRAY_EXIT, 0);
  EXPECT_TRUE(waitFor([&] { return WaitForSingleObject(monitor_.hProcess, 0) == WAIT_OBJECT_0; }, 15000));
  pump();
  EXPECT_GE(standIn_.closes, 1);
}

HWND MonitorHarness::monitorWindow() const { return FindWindowA(nullptr, kMonitorWindowTitle); }

int MonitorHarness::device() const {
  return static_cast<int>(GetPrivateProfileIntA("Setting", "Device", -1, (folder_ + "config.ini").c_str()));
}

std::string MonitorHarness::emulatedDriver() const {
  for (const char* candidate : {"emulated\\hiddriver.dll", "hiddriver_emulated.dll"}) {
    if (GetFileAttributesA((dist_ + candidate).c_str()) != INVALID_FILE_ATTRIBUTES) return dist_ + candidate;
  }
  return {};
}

std::vector<std::string> MonitorHarness::downloadCallsSince(size_t from) const {
  std::vector<std::string> calls = tracedCalls(), sent;
  for (size_t i = from; i < calls.size(); ++i)
    if (calls[i].rfind("SetFeature ", 0) == 0 || calls[i].rfind("WriteUSB ", 0) == 0)
      sent.push_back(calls[i]);
  return sent;
}

void MonitorHarness::expectDownloadOf(const SettingsImage& image, bool full, size_t from) {
  auto copy = std::make_unique<SettingsImage>(image);  // the snapshot clears its flags
  kbd::DownloadSnapshot snapshot = kbd::takeDownloadSnapshot(*copy);
  ASSERT_TRUE(snapshot.active);
  const std::vector<kbd::Report> expected = kbd::encodeDownload(*snapshot.active, snapshot.flags, full);
  ASSERT_TRUE(waitFor([&] { return downloadCallsSince(from).size() >= expected.size(); }, 20000))
      << "the download did not end";
  const std::vector<std::string> sent = downloadCallsSince(from);
  ASSERT_EQ(sent.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const char* call = expected[i].kind == kbd::Report::Feature ? "SetFeature " : "WriteUSB ";
    EXPECT_EQ(sent[i], call + emu::hex(expected[i].bytes.data(), expected[i].bytes.size())) << "report " << i;
  }
}

std::string MonitorHarness::iniString(const char* section, const char* key) const {
  char value[512] = {};
  GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, (folder_ + "config.ini").c_str());
  return value;
}

std::unique_ptr<SettingsImage> MonitorHarness::readBlock() {
  auto image = std::make_unique<SettingsImage>();
  SharedBlock block;
  EXPECT_TRUE(block.open());
  EXPECT_TRUE(block.copyFromBlock(*image));
  return image;
}

bool MonitorHarness::apply(const SettingsImage& image, DWORD ms) {
  SharedBlock block;
  if (!block.open() || !block.copyToBlock(image)) return false;
  const int before = standIn_.applyDone;
  PostMessageA(monitorWindow(), UM_APPLY, 0, 0);
  return waitFor([&] { return standIn_.applyDone > before; }, ms);
}

bool MonitorHarness::installMarker(const std::string& name) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string marker = self;
  marker = marker.substr(0, marker.find_last_of('\\') + 1) + "marker.exe";
  DeleteFileA((folder_ + name + ".started").c_str());
  return CopyFileA(marker.c_str(), (folder_ + name).c_str(), FALSE) != FALSE;
}

std::optional<std::string> MonitorHarness::startedMark(const std::string& name, DWORD ms) {
  const std::string mark = folder_ + name + ".started";
  std::optional<std::string> line;
  waitFor(
      [&] {
        // The marker holds the file exclusively until it has written it.
        std::ifstream file(mark, std::ios::binary);
        if (!file) return false;
        line = std::string(std::istreambuf_iterator<char>(file), {});
        return true;
      },
      ms);
  return line;
}

int MonitorHarness::trayIcons() {
  HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
  if (!tray) return -1;
  int icons = 0;
  for (HWND icon = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr); icon;
       icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr)) {
    icons += IsWindowVisible(icon) ? 1 : 0;
  }
  return icons;
}

bool MonitorHarness::trayShowsProgramIcon() {
  HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
  if (!tray) return false;
  HDC screen = GetDC(nullptr);
  bool red = false;
  for (HWND icon = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr); icon && !red;
       icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr)) {
    RECT r;
    GetWindowRect(icon, &r);
    for (LONG y = r.top; y < r.bottom && !red; ++y) {
      for (LONG x = r.left; x < r.right && !red; ++x) {
        const COLORREF c = GetPixel(screen, x, y);
        // At tray size the accent is blurred into the dark cap: a clear red
        // tint, where the generic icon has none.
        red = c != CLR_INVALID && GetRValue(c) >= 0x30 && GetRValue(c) > 2 * GetGValue(c) &&
              GetRValue(c) > 2 * GetBValue(c);
      }
    }
  }
  ReleaseDC(nullptr, screen);
  return red;
}

}  // namespace harness
