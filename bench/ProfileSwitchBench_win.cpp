// From a foreground change to the linked profile active in the shared block,
// with the foreground hook (the goal: a median of 100 ms or less under Wine)
// beside the slow look alone, which is what the two-second polling of the
// watcher was; and how often the monitor wakes while nothing changes. Run
// under Wine from the build's bin folder:
//   profile_switch_bench.exe <program folder> [runs]
// Prints figures; judges nothing.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchCommon_win.h"
#include "MonitorMessages.h"
#include "ProfileFiles.h"
#include "SharedBlock_win.h"

namespace {

constexpr DWORD kIdleSeconds = 10;

// Voluntary and involuntary context switches of all threads of the Wine
// process whose command line names `program`, read from Linux's /proc
// through Wine's Z: drive; -1 where there is none (not under Wine).
long long contextSwitches(const std::string& program) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
  if (find == INVALID_HANDLE_VALUE) return -1;
  long long total = -1;
  do {
    const std::string pid = entry.cFileName;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream cmdline("Z:\\proc\\" + pid + "\\cmdline", std::ios::binary);
    std::string line((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
    if (line.find(program) == std::string::npos) continue;
    total = 0;
    WIN32_FIND_DATAA task;
    const std::string tasks = "Z:\\proc\\" + pid + "\\task\\";
    HANDLE each = FindFirstFileA((tasks + "*").c_str(), &task);
    if (each == INVALID_HANDLE_VALUE) break;
    do {
      if (task.cFileName[0] == '.') continue;
      std::ifstream status(tasks + task.cFileName + "\\status");
      for (std::string field; std::getline(status, field);)
        if (field.find("ctxt_switches:") != std::string::npos)
          total += std::atoll(field.substr(field.find(':') + 1).c_str());
    } while (FindNextFileA(each, &task));
    FindClose(each);
    break;
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return total;
}

struct Mode {
  const char* name;
  const char* variable;  // QUILLON_APP_WATCH
  std::vector<double> latencies;
  long long idleSwitches = -1;
};

void measure(Mode& mode, const std::string& folder, int runs) {
  // Profile 2 links BenchA.exe, profile 3 BenchB.exe.
  for (int p = 0; p < kProfileCount; ++p) {
    auto profile = std::make_unique<ProfileRecord>();
    buildDefaultProfile(*profile, p);
    if (p == 1) std::strcpy(profile->linkedApps[0], "C:\\Bench\\BenchA.exe");
    if (p == 2) std::strcpy(profile->linkedApps[0], "C:\\Bench\\BenchB.exe");
    saveProfile(*profile, profilePath(folder, p));
  }
  const std::string ini = folder + "config.ini";
  WritePrivateProfileStringA("Setting", "Device", "-1", ini.c_str());
  WritePrivateProfileStringA("Setting", "CurrentProfile", "0", ini.c_str());
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
  HWND a = startForegroundApp(folder, "BenchA.exe", "Quillon bench A", apps);
  HWND b = startForegroundApp(folder, "BenchB.exe", "Quillon bench B", apps);
  until(
      nowMs(), [&] { return active && *active == 2; }, 5000);

  for (int i = 0; i < 2 * runs && active; ++i) {
    const bool toA = i % 2 == 0;
    const double start = nowMs();
    SetForegroundWindow(toA ? a : b);
    const double ms = until(
        start, [&] { return *active == (toA ? 1 : 2); }, 5000);
    if (ms >= 0) mode.latencies.push_back(ms);
    // A user does not switch faster, and not in step with the watcher's
    // looks: the pause spreads over the slow look's whole period, and over
    // every part of a quick look's.
    Sleep(200 + (i * 731) % kAppWatchPeriodMs);
  }

  // Idle: the same program in front, nothing changes.
  Sleep(3000);  // the last switch's download is over
  const long long before = contextSwitches(folder + "Monitor.exe");
  Sleep(kIdleSeconds * 1000);
  const long long after = contextSwitches(folder + "Monitor.exe");
  if (before >= 0 && after >= 0) mode.idleSwitches = after - before;

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
  if (!parseBenchArgs(argc, argv, "profile_switch_bench", args)) return 2;
  const std::string& folder = args.folder;
  if (!copyFile(args.dist + "Monitor.exe", folder + "Monitor.exe") ||
      !copyFile(args.dist + "emulated\\hiddriver.dll", folder + "hiddriver.dll")) {
    std::fprintf(stderr, "no Monitor.exe or emulated keyboard in %s\n", args.dist.c_str());
    return 1;
  }
  copyFile(args.dist + "lan.dll", folder + "lan.dll");

  Mode hook{"foreground hook", ""}, poll{"slow look alone (the old 2 s polling)", "poll"};
  measure(hook, folder, args.runs);
  measure(poll, folder, args.runs);

  std::printf("Profile switching: foreground change -> profile active in the shared block, %d runs\n",
              2 * args.runs);
  printLine(hook.name, hook.latencies, "ms");
  printLine(poll.name, poll.latencies, "ms");
  std::printf("  goal: median <= 100 ms under Wine\n");
  std::printf("Monitor.exe while nothing changes: context switches of its threads in %lu s\n", kIdleSeconds);
  for (const Mode* mode : {&hook, &poll}) {
    if (mode->idleSwitches < 0)
      std::printf("  %-40s      n/a (no /proc through Z:)\n", mode->name);
    else
      std::printf("  %-40s %8lld  (%.1f per second)\n", mode->name, mode->idleSwitches,
                  double(mode->idleSwitches) / kIdleSeconds);
  }

  for (const char* name :
       {"Monitor.exe", "hiddriver.dll", "lan.dll", "config.ini", "BenchA.exe", "BenchB.exe"})
    DeleteFileA((folder + name).c_str());
  for (int p = 0; p < kProfileCount; ++p) DeleteFileA(profilePath(folder, p).c_str());
  RemoveDirectoryA((folder + "config").c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}
