// From an unlinked program's arrival in the front, after a linked program's
// profile was active, to the desktop profile active in the shared block. The
// rule waits kDesktopProfileDelayMs (the baseline: a glance away shorter than
// that costs no download); the figure shows what the monitor adds to it, with
// the foreground hook and with the slow look alone. Run under Wine from the
// build's bin folder:
//   desktop_profile_bench.exe <program folder> [runs]
// Prints figures; judges nothing.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BenchCommon_win.h"
#include "DesktopProfile.h"
#include "MonitorMessages.h"
#include "ProfileFiles.h"
#include "SharedBlock_win.h"

namespace {

struct Mode {
  const char* name;
  const char* variable;  // QUILLON_APP_WATCH
  std::vector<double> latencies;
};

void measure(Mode& mode, const std::string& folder, int runs) {
  // Profile 3 links BenchGame.exe; profile 1 is the desktop profile.
  for (int p = 0; p < kProfileCount; ++p) {
    auto profile = std::make_unique<ProfileRecord>();
    buildDefaultProfile(*profile, p);
    if (p == 2) std::strcpy(profile->linkedApps[0], "C:\\Bench\\BenchGame.exe");
    saveProfile(*profile, profilePath(folder, p));
  }
  const std::string ini = folder + "config.ini";
  WritePrivateProfileStringA("Setting", "Device", "-1", ini.c_str());
  WritePrivateProfileStringA("Setting", "CurrentProfile", "0", ini.c_str());
  WritePrivateProfileStringA("Setting", "DesktopProfile", "1", ini.c_str());
  SetEnvironmentVariableA(kAppWatchVariable, mode.variable);
  PROCESS_INFORMATION monitor = launch(folder + "Monitor.exe", folder);
  SetEnvironmentVariableA(kAppWatchVariable, nullptr);
  until(nowMs(), [&] { return GetPrivateProfileIntA("Setting", "Device", -1, ini.c_str()) == 1; });
  Sleep(500);  // the firmware check after the start

  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName);
  const auto* active =
      mapping ? static_cast<const volatile int32_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 4))
              : nullptr;
  std::vector<PROCESS_INFORMATION> apps;
  HWND game = startForegroundApp(folder, "BenchGame.exe", "Quillon bench game", apps);
  HWND other = startForegroundApp(folder, "BenchOther.exe", "Quillon bench other", apps);
  // Each program came to the front as it started: the first run begins
  // once that has settled on the desktop profile.
  SetForegroundWindow(other);
  until(nowMs(), [&] { return active && *active == 0; }, 10000);

  for (int i = 0; i < runs && active; ++i) {
    SetForegroundWindow(game);
    if (until(
            nowMs(), [&] { return *active == 2; }, 10000) < 0)
      continue;
    Sleep(2500);  // the game's download is over
    const double start = nowMs();
    SetForegroundWindow(other);
    const double ms = until(
        start, [&] { return *active == 0; }, 10000);
    if (ms >= 0) mode.latencies.push_back(ms);
    Sleep(2500 + (i * 731) % kAppWatchPeriodMs);
  }

  if (active) UnmapViewOfFile(const_cast<int32_t*>(active));
  if (mapping) CloseHandle(mapping);
  PostMessageA(FindWindowA(nullptr, kMonitorWindowTitle), WM_COMMAND, ID_TRAY_EXIT, 0);
  WaitForSingleObject(monitor.hProcess, 30000);
  finish(monitor);
  for (PROCESS_INFORMATION& app : apps) {
    TerminateProcess(app.hProcess, 0);
    WaitForSingleObject(app.hProcess, 5000);
    finish(app);
  }
}

}  // namespace

int main(int argc, char** argv) {
  BenchArgs args;
  if (!parseBenchArgs(argc, argv, "desktop_profile_bench", args)) return 2;
  const std::string& folder = args.folder;
  if (!copyFile(args.dist + "Monitor.exe", folder + "Monitor.exe") ||
      !copyFile(args.dist + "emulated\\hiddriver.dll", folder + "hiddriver.dll")) {
    std::fprintf(stderr, "no Monitor.exe or emulated keyboard in %s\n", args.dist.c_str());
    return 1;
  }
  copyFile(args.dist + "lan.dll", folder + "lan.dll");

  Mode hook{"foreground hook", ""}, poll{"slow look alone", "poll"};
  measure(hook, folder, args.runs);
  measure(poll, folder, args.runs);

  std::printf(
      "Desktop profile: unlinked program in front -> desktop profile active in the shared block, %d runs\n",
      args.runs);
  std::printf("  %-40s %8u ms  (the rule's delay)\n", "baseline", unsigned(apps::kDesktopProfileDelayMs));
  printLine(hook.name, hook.latencies, "ms");
  printLine(poll.name, poll.latencies, "ms");

  for (const char* name :
       {"Monitor.exe", "hiddriver.dll", "lan.dll", "config.ini", "BenchGame.exe", "BenchOther.exe"})
    DeleteFileA((folder + name).c_str());
  for (int p = 0; p < kProfileCount; ++p) DeleteFileA(profilePath(folder, p).c_str());
  RemoveDirectoryA((folder + "config").c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}
