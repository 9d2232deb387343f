// How closely the settings download keeps its pauses: a full download with
// 35 macros of 40 steps through the real Monitor.exe and the emulated
// keyboard, several times; from the keyboard's trace the sum of the pauses
// the keyboard needs beside the time the download took, and the shortest
// pause beside its requirement. Run under Wine:
//   download_pacing_bench.exe <program folder> [runs]
// Prints figures; judges nothing.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "DownloadEncoder.h"
#include "DownloadTrace.h"
#include "MonitorMessages.h"
#include "SharedBlock_win.h"

namespace {

int applyDone = 0;

LRESULT CALLBACK standInProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == UM_APPLY_DONE) {
    ++applyDone;
    return 0;
  }
  if (message == WM_CLOSE) return 0;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

template <typename Predicate>
bool pumpUntil(Predicate done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

std::vector<std::string> traceLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream trace(path);
  for (std::string line; std::getline(trace, line);) lines.push_back(line);
  return lines;
}

// 35 keys with a 40-step recorded macro each: the largest download there is.
void fillMacros(ProfileRecord& profile) {
  for (int k = 0; k < kbd::kMaxMacroBuffers; ++k) {
    KeyAssignment& key = profile.keys[k];
    key.category = kCategoryMacro;
    key.functionCode = kFunctionRecordedMacro;
    key.playMode = kPlayNTimes;
    key.playCount = 2;
    key.repeatDelayMs = 300;
    key.stepCount = kMaxMacroSteps;
    for (int s = 0; s < kMaxMacroSteps; ++s)
      key.steps[s] = MacroStep::make(uint8_t(4 + k), s % 2 ? kActionRelease : kActionPress, uint16_t(s * 37));
  }
}

}  // namespace

int main(int argc, char** argv) {
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  std::string dist = argc > 1 ? argv[1] : current;
  if (dist.back() != '\\') dist += '\\';
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "quillon_pacing_" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "config").c_str(), nullptr);
  if (!CopyFileA((dist + "Monitor.exe").c_str(), (folder + "Monitor.exe").c_str(), FALSE) ||
      !CopyFileA((dist + "emulated\\hiddriver.dll").c_str(), (folder + "hiddriver.dll").c_str(), FALSE)) {
    std::fprintf(stderr, "no Monitor.exe or emulated keyboard in %s\n", dist.c_str());
    return 1;
  }
  CopyFileA((dist + "lan.dll").c_str(), (folder + "lan.dll").c_str(), FALSE);

  WNDCLASSA wc = {};
  wc.lpfnWndProc = standInProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "QuillonPacingOption";
  RegisterClassA(&wc);
  HWND option = CreateWindowExA(0, wc.lpszClassName, kOptionWindowTitle, WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                nullptr, wc.hInstance, nullptr);

  const std::string trace = folder + "kbd_trace.txt";
  const std::string ini = folder + "config.ini";
  SetEnvironmentVariableA("QUILLON_KBD_TRACE", trace.c_str());
  std::string commandLine = "\"" + folder + "Monitor.exe\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION monitor = {};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &monitor) ||
      !pumpUntil([&] { return GetPrivateProfileIntA("Setting", "Device", -1, ini.c_str()) == 1; }, 20000)) {
    std::fprintf(stderr, "Monitor.exe did not connect to the emulated keyboard\n");
    return 1;
  }
  HWND monitorWindow = FindWindowA(nullptr, kMonitorWindowTitle);

  std::printf("full download, 35 macros of 40 steps, %d runs\n", runs);
  std::printf("%4s %8s %13s %13s %7s %22s %12s\n", "run", "reports", "required ms", "measured ms", "ratio",
              "shortest pause ms", "short pauses");
  long long requiredSum = 0, measuredSum = 0;
  int shortTotal = 0;
  for (int run = 0; run < runs; ++run) {
    auto image = std::make_unique<SettingsImage>();
    SharedBlock block;
    if (!block.open() || !block.copyFromBlock(*image)) {
      std::fprintf(stderr, "no shared block\n");
      break;
    }
    clearChangeFlags(*image);
    ProfileRecord& profile = image->profiles[image->currentProfile];
    fillMacros(profile);
    profile.staticColor = 0x000010u * Color(run + 1);
    image->profileSwitched = 1;  // everything goes

    const size_t before = traceLines(trace).size();
    const int done = applyDone;
    block.copyToBlock(*image);
    PostMessageA(monitorWindow, UM_APPLY, 0, 0);
    if (!pumpUntil([&] { return applyDone > done; }, 60000)) {
      std::fprintf(stderr, "run %d: no answer\n", run);
      break;
    }
    std::vector<std::string> lines = traceLines(trace);
    lines.erase(lines.begin(), lines.begin() + long(std::min(before, lines.size())));
    const auto downloads = emu::splitDownloads(emu::receivedReports(lines));
    if (downloads.size() != 1) {
      std::fprintf(stderr, "run %d: %zu downloads in the trace\n", run, downloads.size());
      continue;
    }
    const std::vector<kbd::Report> want = kbd::encodeDownload(profile, kbd::readDownloadFlags(*image), false);
    const emu::Comparison c = emu::compareDownload(downloads[0], want);
    if (!c.firstDifference.empty()) std::fprintf(stderr, "run %d: %s\n", run, c.firstDifference.c_str());
    const int at = c.shortestAt;
    const double gapMs = at > 0 ? double(downloads[0][at].micros - downloads[0][at - 1].micros) / 1000.0 : 0;
    char shortest[64];
    std::snprintf(shortest, sizeof shortest, "%.3f of %d", gapMs, at > 0 ? want[at].pauseBeforeMs : 0);
    std::printf("%4d %8d %13.1f %13.1f %7.4f %22s %12d\n", run + 1, c.reports,
                double(c.requiredMicros) / 1000.0, double(c.measuredMicros) / 1000.0,
                double(c.measuredMicros) / double(c.requiredMicros), shortest, c.shortPauses);
    requiredSum += c.requiredMicros;
    measuredSum += c.measuredMicros;
    shortTotal += c.shortPauses;
  }
  if (requiredSum > 0)
    std::printf("all  %8s %13.1f %13.1f %7.4f %22s %12d\n", "", double(requiredSum) / 1000.0,
                double(measuredSum) / 1000.0, double(measuredSum) / double(requiredSum), "", shortTotal);

  PostMessageA(monitorWindow, WM_COMMAND, ID_TRAY_EXIT, 0);
  pumpUntil([&] { return WaitForSingleObject(monitor.hProcess, 0) == WAIT_OBJECT_0; }, 20000);
  CloseHandle(monitor.hProcess);
  CloseHandle(monitor.hThread);
  DestroyWindow(option);
  for (const char* name : {"Monitor.exe", "hiddriver.dll", "lan.dll", "kbd_trace.txt", "config.ini"})
    DeleteFileA((folder + name).c_str());
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "config\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do DeleteFileA((folder + "config\\" + found.cFileName).c_str());
    while (FindNextFileA(find, &found));
    FindClose(find);
  }
  RemoveDirectoryA((folder + "config").c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}
