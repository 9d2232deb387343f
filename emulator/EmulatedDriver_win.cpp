// The emulated hiddriver.dll: the keyboard link's exports over the firmware
// model, a trace of every call, and a control pipe that plugs, unplugs and
// presses keys on the emulated keyboard.

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "ControlPipe_win.h"
#include "FirmwareModel.h"
#include "SettingsImage.h"

namespace {

constexpr char kTraceVariable[] = "QUILLON_KBD_TRACE";
// "MAJOR.MINOR": the firmware version the keyboard has from the start, for
// tests that need another firmware before the host first asks.
constexpr char kVersionVariable[] = "QUILLON_KBD_VERSION";
constexpr WPARAM kArrived = 1;
constexpr WPARAM kRemoved = 0;

LARGE_INTEGER loadTime{};
LARGE_INTEGER frequency{};

std::mutex lock;  // guards everything below
emu::FirmwareModel* model = nullptr;
HWND target = nullptr;
UINT keyboardEventMsg = 0;
UINT deviceChangeMsg = 0;
bool plugged = true;
// Set by "pull-at-read": the next GetFeature finds the keyboard pulled out.
bool pullAtNextRead = false;
std::thread pipeThread;
std::mutex traceLock;

void applyStartVersion(emu::FirmwareModel& keyboard) {
  char text[32];
  const DWORD n = GetEnvironmentVariableA(kVersionVariable, text, sizeof text);
  if (n == 0 || n >= sizeof text) return;
  int major = -1, minor = -1;
  if (std::sscanf(text, "%d.%d", &major, &minor) != 2) return;
  if (major < 0 || major > 255 || minor < 0 || minor > 255) return;
  keyboard.setVersion(static_cast<uint8_t>(major), static_cast<uint8_t>(minor));
}

emu::FirmwareModel& firmware() {
  if (!model) {
    model = new emu::FirmwareModel();  // lives as long as the process
    applyStartVersion(*model);
  }
  return *model;
}

std::string hex(const unsigned char* data, int n) { return emu::hex(data, size_t(n)); }

void trace(const char* name, const std::string& data = {}) {
  char path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA(kTraceVariable, path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const long long micros = (now.QuadPart - loadTime.QuadPart) * 1000000LL / frequency.QuadPart;
  std::lock_guard<std::mutex> guard(traceLock);
  FILE* f = std::fopen(path, "ab");
  if (!f) return;
  std::fprintf(f, "%lld %s%s%s\n", micros, name, data.empty() ? "" : " ", data.c_str());
  std::fflush(f);
  std::fclose(f);
}

void post(UINT msg, WPARAM w, LPARAM l) {
  if (target && msg) PostMessageW(target, msg, w, l);
}

std::string handleCommand(const std::string& line) {
  std::istringstream in(line);
  std::string verb;
  in >> verb;
  std::lock_guard<std::mutex> guard(lock);
  if (verb == "plug" || verb == "unplug") {
    plugged = verb == "plug";
    post(deviceChangeMsg, plugged ? kArrived : kRemoved, 0);
    return "ok";
  }
  if (verb == "press" || verb == "release") {
    int key = -1;
    if (!(in >> key) || key < 0 || key >= kKeyCount) return "error bad key index";
    const auto event = firmware().keyChange(key, verb == "release");
    if (!event) return "ok";
    if (plugged) post(keyboardEventMsg, event->wParam, event->lParam);
    return "ok event " + std::to_string(event->wParam) + " " + std::to_string(event->lParam);
  }
  if (verb == "version") {
    int major = -1, minor = -1;
    if (!(in >> major >> minor) || major < 0 || major > 255 || minor < 0 || minor > 255)
      return "error bad version";
    firmware().setVersion(static_cast<uint8_t>(major), static_cast<uint8_t>(minor));
    return "ok";
  }
  if (verb == "pull-at-read") {
    pullAtNextRead = true;
    return "ok";
  }
  if (verb == "dump") return firmware().stateJson();
  return "error unknown command";
}

HANDLE pipeStopEvent = nullptr;  // set by Close_DevMonitor

// Finishes one overlapped call on the pipe; false when it failed or the pipe is stopping.
bool finishIo(HANDLE pipe, OVERLAPPED& ov, BOOL started, DWORD& n) {
  if (!started) {
    const DWORD error = GetLastError();
    if (error == ERROR_PIPE_CONNECTED) return true;
    if (error != ERROR_IO_PENDING) return false;
    const HANDLE waits[] = {ov.hEvent, pipeStopEvent};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
      CancelIo(pipe);
      GetOverlappedResult(pipe, &ov, &n, TRUE);
      return false;
    }
  }
  return GetOverlappedResult(pipe, &ov, &n, FALSE) != 0;
}

void servePipe(HANDLE ioEvent) {
  while (WaitForSingleObject(pipeStopEvent, 0) == WAIT_TIMEOUT) {
    HANDLE pipe = CreateNamedPipeA(emu::kControlPipeName, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                   PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1,
                                   emu::kControlPipeBuffer, emu::kControlPipeBuffer, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return;
    OVERLAPPED ov{};
    ov.hEvent = ioEvent;
    DWORD n = 0;
    ResetEvent(ioEvent);
    if (finishIo(pipe, ov, ConnectNamedPipe(pipe, &ov), n)) {
      std::string line;
      char buf[256];
      bool ok = true;
      while (ok && line.find('\n') == std::string::npos) {
        ResetEvent(ioEvent);
        ok = finishIo(pipe, ov, ReadFile(pipe, buf, sizeof buf, nullptr, &ov), n) && n > 0;
        if (ok) line.append(buf, n);
      }
      if (ok) {
        line = line.substr(0, line.find_first_of("\r\n"));
        const std::string reply = handleCommand(line) + "\n";
        ResetEvent(ioEvent);
        if (finishIo(pipe, ov, WriteFile(pipe, reply.data(), static_cast<DWORD>(reply.size()), nullptr, &ov),
                     n))
          FlushFileBuffers(pipe);
      }
      DisconnectNamedPipe(pipe);
    }
    CloseHandle(pipe);
  }
}

void startPipe() {
  if (pipeThread.joinable()) return;
  pipeStopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE ioEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!pipeStopEvent || !ioEvent) return;
  pipeThread = std::thread([ioEvent] {
    servePipe(ioEvent);
    CloseHandle(ioEvent);
  });
}

void stopPipe() {
  if (!pipeThread.joinable()) return;
  SetEvent(pipeStopEvent);
  pipeThread.join();
  CloseHandle(pipeStopEvent);
  pipeStopEvent = nullptr;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&loadTime);
  } else if (reason == DLL_PROCESS_DETACH && pipeThread.joinable()) {
    pipeThread.detach();  // the host skipped Close_DevMonitor: nothing can be joined under the loader lock
  }
  return TRUE;
}

__declspec(dllexport) void __cdecl Set_VIDPID(int vid, int pid) {
  char data[16];
  std::snprintf(data, sizeof data, "%04X %04X", vid & 0xFFFF, pid & 0xFFFF);
  trace("Set_VIDPID", data);
}

__declspec(dllexport) void __cdecl Open_DevMonitor(HWND window, UINT keyboardEvent, UINT deviceChange) {
  trace("Open_DevMonitor");
  {
    std::lock_guard<std::mutex> guard(lock);
    target = window;
    keyboardEventMsg = keyboardEvent;
    deviceChangeMsg = deviceChange;
  }
  startPipe();
}

// The control pipe stops here: the host closes the monitor before unloading.
__declspec(dllexport) void __cdecl Close_DevMonitor() {
  trace("Close_DevMonitor");
  stopPipe();
  std::lock_guard<std::mutex> guard(lock);
  target = nullptr;
}

__declspec(dllexport) void __cdecl Open_FeatureDevice() { trace("Open_FeatureDevice"); }
__declspec(dllexport) void __cdecl Close_FeatureDevice() { trace("Close_FeatureDevice"); }

__declspec(dllexport) int __cdecl Open_ReportDevice() {
  int result;
  {
    std::lock_guard<std::mutex> guard(lock);
    result = plugged ? 1 : 0;
  }
  trace("Open_ReportDevice", std::to_string(result));
  return result;
}

__declspec(dllexport) void __cdecl Close_ReportDevice() { trace("Close_ReportDevice"); }

__declspec(dllexport) int __cdecl SetFeature(unsigned char* data, int length) {
  trace("SetFeature", data && length > 0 ? hex(data, length) : std::string());
  if (!data || length <= 0) return 0;
  std::lock_guard<std::mutex> guard(lock);
  if (!plugged) return 0;
  firmware().setFeature(data, static_cast<size_t>(length));
  return 1;
}

__declspec(dllexport) int __cdecl GetFeature(unsigned char* data, int length) {
  if (!data || length <= 0) {
    trace("GetFeature");
    return 0;
  }
  const std::string before = hex(data, length);
  int result = 0;
  {
    std::lock_guard<std::mutex> guard(lock);
    if (plugged && pullAtNextRead) {
      pullAtNextRead = false;
      plugged = false;
      post(deviceChangeMsg, kRemoved, 0);
    } else if (plugged) {
      firmware().getFeature(data, static_cast<size_t>(length));
      result = 1;
    }
  }
  trace("GetFeature", before + " " + hex(data, length));
  return result;
}

__declspec(dllexport) int __cdecl WriteUSB(unsigned char* data, int length) {
  trace("WriteUSB", data && length > 0 ? hex(data, length) : std::string());
  if (!data || length <= 0) return 0;
  std::lock_guard<std::mutex> guard(lock);
  if (!plugged) return 0;
  firmware().writeBlock(data, static_cast<size_t>(length));
  return 1;
}

// The emulated keyboard sends its input as messages, never as read reports.
__declspec(dllexport) int __cdecl ReadUSB(unsigned char*, int) {
  trace("ReadUSB");
  return 0;
}

}  // extern "C"
