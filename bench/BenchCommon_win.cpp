#include "BenchCommon_win.h"

#include <algorithm>
#include <cstdio>

double nowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

bool copyFile(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE);
}

PROCESS_INFORMATION launch(const std::string& program, const std::string& folder, const char* arguments) {
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                 &process);
  return process;
}

void finish(PROCESS_INFORMATION& process) {
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

double committedPrivateMb(HANDLE process) {
  double bytes = 0;
  MEMORY_BASIC_INFORMATION region;
  for (char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
       at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += double(region.RegionSize);
  }
  return bytes / (1 << 20);
}

bool parseBenchArgs(int argc, char** argv, const char* name, BenchArgs& args) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <program folder> [runs]\n", name);
    return false;
  }
  args.dist = argv[1];
  if (args.dist.back() != '\\') args.dist += '\\';
  args.runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  args.folder = std::string(temp) + "quillon_" + name + "_" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(args.folder.c_str(), nullptr);
  CreateDirectoryA((args.folder + "config").c_str(), nullptr);
  return true;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

void printLine(const char* what, std::vector<double> values, const char* unit) {
  if (values.empty()) return;
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  std::printf("  %-40s %8.1f %s  (%.1f..%.1f)\n", what, median(values), unit, *low, *high);
}
