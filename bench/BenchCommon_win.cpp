#include "BenchCommon_win.h"

// winsock2.h comes before windows.h; psapi.h and tlhelp32.h after it.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

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

void printLine(const char* what, std::vector<double> values, const char* unit, const char* goal) {
  if (values.empty()) return;
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  std::printf("  %-40s %8.1f %s  (%.1f..%.1f)%s%s\n", what, median(values), unit, *low, *high,
              goal ? "   goal " : "", goal ? goal : "");
}

namespace {

struct ThreadBasicInformation {
  LONG exitStatus;
  PVOID tebBaseAddress;
  PVOID clientId[2];
  ULONG_PTR affinityMask;
  LONG priority;
  LONG basePriority;
};
using QueryThread = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
constexpr size_t kDeallocationStackOffset = 0x1478;  // in a 64-bit thread block

// The allocation bases of the stacks of the process's threads.
std::vector<const void*> stackBases(HANDLE process, DWORD processId) {
  std::vector<const void*> bases;
  auto query = reinterpret_cast<QueryThread>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (!query || snapshot == INVALID_HANDLE_VALUE) return bases;
  THREADENTRY32 entry{sizeof entry};
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != processId) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
    if (!thread) continue;
    ThreadBasicInformation info{};
    void* stack = nullptr;
    if (query(thread, 0, &info, sizeof info, nullptr) >= 0 && info.tebBaseAddress &&
        ReadProcessMemory(process, static_cast<char*>(info.tebBaseAddress) + kDeallocationStackOffset, &stack,
                          sizeof stack, nullptr) &&
        stack)
      bases.push_back(stack);
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
  return bases;
}

double mb(double bytes) { return bytes / (1 << 20); }

}  // namespace

std::string memoryAccount(const char* title, HANDLE process, DWORD processId,
                          const std::vector<KnownAllocation>& known) {
  std::string text;
  auto print = [&text](const char* format, auto... values) {
    char line[256];
    std::snprintf(line, sizeof line, format, values...);
    text += line;
  };
  // Committed private bytes per allocation.
  std::map<const void*, size_t> allocations;
  MEMORY_BASIC_INFORMATION region;
  for (char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
       at = static_cast<char*>(region.BaseAddress) + region.RegionSize)
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
      allocations[region.AllocationBase] += region.RegionSize;
  const std::vector<const void*> stacks = stackBases(process, processId);
  struct Line {
    double bytes = 0;
    int count = 0;
  };
  std::map<std::string, Line> lines;
  double total = 0, rest = 0;
  for (const auto& [base, bytes] : allocations) {
    total += double(bytes);
    std::string what;
    if (std::find(stacks.begin(), stacks.end(), base) != stacks.end()) what = "thread stacks";
    for (const KnownAllocation& k : known)
      if (what.empty() && bytes >= k.bytes && bytes < k.bytes + k.slack) what = k.what;
    if (what.empty() && bytes >= (256 << 10)) {
      char size[64];
      std::snprintf(size, sizeof size, "other allocations of %.2f MB", mb(double(bytes)));
      what = size;
    }
    if (what.empty()) {
      rest += double(bytes);
      continue;
    }
    lines[what].bytes += double(bytes);
    ++lines[what].count;
  }
  print("  %s: %.1f MB committed private\n", title, mb(total));
  for (const auto& [what, line] : lines)
    print("    %-44s %2d x %6.2f MB = %6.2f MB\n", what.c_str(), line.count, mb(line.bytes / line.count),
          mb(line.bytes));
  print("    %-44s                %6.2f MB\n", "heaps and allocations under 256 KB", mb(rest));
  HMODULE modules[512];
  DWORD needed = 0;
  if (EnumProcessModules(process, modules, sizeof modules, &needed)) {
    double images = 0;
    const DWORD count = std::min<DWORD>(needed / sizeof(HMODULE), 512);
    for (DWORD i = 0; i < count; ++i) {
      MODULEINFO info{};
      if (GetModuleInformation(process, modules[i], &info, sizeof info)) images += info.SizeOfImage;
    }
    print("    %u modules loaded, images of %.1f MB (shared, not counted above)\n", unsigned(count),
          mb(images));
  }
  return text;
}

bool xdotool(const std::string& args) {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  const char* port = std::getenv("QUILLON_INPUT_RELAY");
  if (!started || !port || std::atoi(port) <= 0) return false;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return false;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(u_short(std::atoi(port)));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
    const std::string line = args + "\n";
    send(s, line.data(), int(line.size()), 0);
    char buffer[256];
    for (int got; (got = recv(s, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, size_t(got));
  }
  closesocket(s);
  return !answer.empty() && std::atoi(answer.c_str()) == 0;
}

HWND startForegroundApp(const std::string& folder, const std::string& name, const std::string& title,
                        std::vector<PROCESS_INFORMATION>& started) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string app = self;
  app = app.substr(0, app.find_last_of('\\') + 1) + "foreground_app.exe";
  copyFile(app, folder + name);
  started.push_back(launch(folder + name, folder, title.c_str()));
  HWND window = nullptr;
  until(nowMs(), [&] { return (window = FindWindowA(nullptr, title.c_str())) != nullptr; });
  return window;
}
