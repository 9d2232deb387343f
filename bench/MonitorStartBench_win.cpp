// How long Monitor.exe takes from process start to an open keyboard and its
// tray icon, beside the 1000 ms pause the keyboard needs before the open and
// beside the bare cost of starting a process; and what memory it holds once
// started. Run under Wine from the build's bin folder:
//   monitor_start_bench.exe <program folder> [runs]
// Prints figures; judges nothing.

// psapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "BenchCommon_win.h"
#include "MonitorMessages.h"
#include "SettingsImage.h"

namespace {

bool traceHas(const std::string& path, const char* call) {
  std::ifstream trace(path);
  for (std::string line; std::getline(trace, line);)
    if (line.find(call) != std::string::npos) return true;
  return false;
}

int trayIcons() {
  HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
  int icons = 0;
  for (HWND icon = tray ? FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr) : nullptr; icon;
       icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr))
    icons += IsWindowVisible(icon) ? 1 : 0;
  return icons;
}

struct Run {
  double window = 0, open = 0, tray = 0, device = 0, exit = 0;
  double privateMb = 0, committedMb = 0, workingSetMb = 0, peakWorkingSetMb = 0;
};

}  // namespace

int main(int argc, char** argv) {
  BenchArgs args;
  if (!parseBenchArgs(argc, argv, "monitor_start_bench", args)) return 2;
  const std::string& dist = args.dist;
  const int runs = args.runs;
  const std::string folder = args.folder;
  if (!copyFile(dist + "Monitor.exe", folder + "Monitor.exe") ||
      !copyFile(dist + "emulated\\hiddriver.dll", folder + "hiddriver.dll")) {
    std::fprintf(stderr, "no Monitor.exe or emulated keyboard in %s\n", dist.c_str());
    return 1;
  }
  copyFile(dist + "lan.dll", folder + "lan.dll");
  // The baseline: a process that does nothing but start and end.
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string marker = self;
  marker = marker.substr(0, marker.find_last_of('\\') + 1) + "marker.exe";
  copyFile(marker, folder + "Baseline.exe");

  const std::string trace = folder + "kbd_trace.txt";
  const std::string ini = folder + "config.ini";
  SetEnvironmentVariableA("QUILLON_KBD_TRACE", trace.c_str());

  // The memory that any process holds under this system, for comparison.
  double bareCommittedMb = 0, bareWorkingSetMb = 0;
  std::string bareAccount;
  {
    DeleteFileA((folder + "Baseline.exe.started").c_str());
    PROCESS_INFORMATION bare = launch(folder + "Baseline.exe", folder, "--stay");
    until(nowMs(), [&] {
      return GetFileAttributesA((folder + "Baseline.exe.started").c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    Sleep(200);
    bareCommittedMb = committedPrivateMb(bare.hProcess);
    bareAccount = memoryAccount("a process doing nothing (Wine's own)", bare.hProcess, bare.dwProcessId, {});
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(bare.hProcess, &memory, sizeof memory))
      bareWorkingSetMb = double(memory.WorkingSetSize) / (1 << 20);
    TerminateProcess(bare.hProcess, 0);
    WaitForSingleObject(bare.hProcess, INFINITE);
    finish(bare);
  }

  std::vector<Run> results;
  std::vector<double> baseline;
  const std::vector<KnownAllocation> known{
      {"settings image (working copy)", sizeof(SettingsImage), kLargeHeapBlockSlack}};
  std::string account, shippedAccount;
  for (int i = 0; i < runs; ++i) {
    double start = nowMs();
    PROCESS_INFORMATION bare = launch(folder + "Baseline.exe", folder);
    WaitForSingleObject(bare.hProcess, INFINITE);
    baseline.push_back(nowMs() - start);
    finish(bare);

    DeleteFileA(trace.c_str());
    WritePrivateProfileStringA("Setting", "Device", "-1", ini.c_str());
    const int iconsBefore = trayIcons();
    Run run;
    start = nowMs();
    PROCESS_INFORMATION monitor = launch(folder + "Monitor.exe", folder);
    run.window = until(start, [] { return FindWindowA(nullptr, kMonitorWindowTitle) != nullptr; });
    run.open = until(start, [&] { return traceHas(trace, "Open_ReportDevice"); });
    run.tray = until(start, [&] { return trayIcons() > iconsBefore; });
    run.device =
        until(start, [&] { return GetPrivateProfileIntA("Setting", "Device", -1, ini.c_str()) == 1; });
    Sleep(500);  // settled: the firmware check 200 ms after start has run
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(monitor.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
      run.privateMb = double(memory.PrivateUsage) / (1 << 20);
      run.workingSetMb = double(memory.WorkingSetSize) / (1 << 20);
      run.peakWorkingSetMb = double(memory.PeakWorkingSetSize) / (1 << 20);
    }
    run.committedMb = committedPrivateMb(monitor.hProcess);
    if (i == runs - 1)
      account = memoryAccount("Monitor.exe, emulated keyboard", monitor.hProcess, monitor.dwProcessId, known);
    start = nowMs();
    PostMessageA(FindWindowA(nullptr, kMonitorWindowTitle), WM_COMMAND, ID_TRAY_EXIT, 0);
    WaitForSingleObject(monitor.hProcess, 30000);
    run.exit = nowMs() - start;
    finish(monitor);
    results.push_back(run);
  }

  // The shipped driver finds no keyboard under Wine; what the monitor holds
  // then, without the emulated keyboard's own threads and buffers.
  double realDriverMb = -1;
  if (copyFile(dist + "hiddriver.dll", folder + "hiddriver.dll")) {
    WritePrivateProfileStringA("Setting", "Device", "-1", ini.c_str());
    PROCESS_INFORMATION monitor = launch(folder + "Monitor.exe", folder);
    until(nowMs(), [&] { return GetPrivateProfileIntA("Setting", "Device", -1, ini.c_str()) == 0; });
    Sleep(500);
    realDriverMb = committedPrivateMb(monitor.hProcess);
    shippedAccount =
        memoryAccount("Monitor.exe, shipped driver", monitor.hProcess, monitor.dwProcessId, known);
    PostMessageA(FindWindowA(nullptr, kMonitorWindowTitle), WM_COMMAND, ID_TRAY_EXIT, 0);
    WaitForSingleObject(monitor.hProcess, 30000);
    finish(monitor);
  }

  auto column = [&](double Run::*field) {
    std::vector<double> values;
    for (const Run& r : results) values.push_back(r.*field);
    return values;
  };
  std::printf("Monitor.exe start-up with the emulated keyboard, %d runs (median, min..max)\n", runs);
  printLine("bare process start and end", baseline, "ms");
  std::printf("  %-36s %8.1f ms\n", "required pause before the open", double(kOpenPauseMs));
  printLine("start -> main window", column(&Run::window), "ms");
  printLine("start -> keyboard open", column(&Run::open), "ms", "<= 1100 ms");
  printLine("start -> tray icon", column(&Run::tray), "ms");
  printLine("start -> Device=1 in config.ini", column(&Run::device), "ms");
  std::vector<double> overhead;
  for (size_t i = 0; i < results.size(); ++i)
    overhead.push_back(results[i].tray - kOpenPauseMs - baseline[i]);
  printLine("tray icon - pause - bare process", overhead, "ms");
  // Under Xvfb without a window manager Wine's tray waits 2 s for the X
  // server when its last icon goes, and the monitor's removal waits with it.
  printLine("exit from tray (1000 ms pause in it)", column(&Run::exit), "ms");
  printLine("private usage counter once started", column(&Run::privateMb), "MB");
  printLine("committed private memory", column(&Run::committedMb), "MB", "<= 14 MB");
  std::printf("  %-40s %8.1f MB   goal <= 16 MB\n", "  the same with the shipped driver", realDriverMb);
  std::printf("  %-36s %8.1f MB\n", "  the same of a process doing nothing", bareCommittedMb);
  printLine("working set once started", column(&Run::workingSetMb), "MB");
  std::printf("  %-36s %8.1f MB\n", "  the same of a process doing nothing", bareWorkingSetMb);
  printLine("peak working set", column(&Run::peakWorkingSetMb), "MB");
  std::printf("%s%s%s", account.c_str(), shippedAccount.c_str(), bareAccount.c_str());

  for (const char* name : {"Monitor.exe", "hiddriver.dll", "lan.dll", "Baseline.exe", "Baseline.exe.started",
                           "config.ini", "kbd_trace.txt"})
    DeleteFileA((folder + name).c_str());
  RemoveDirectoryA((folder + "config").c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}
