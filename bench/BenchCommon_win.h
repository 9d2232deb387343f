#pragma once
// What the start-up benchmarks share: a clock, process start, memory figures
// and the statistics they print.

#include <windows.h>

#include <string>
#include <vector>

#include "FolderTree_win.h"

// The program folder and run count of the command line, and a fresh scratch
// folder with its config folder; false, after a usage line, without them.
struct BenchArgs {
  std::string dist, folder;
  int runs = 5;
};
bool parseBenchArgs(int argc, char** argv, const char* name, BenchArgs& args);

double nowMs();
PROCESS_INFORMATION launch(const std::string& program, const std::string& folder, const char* arguments = "");
void finish(PROCESS_INFORMATION& process);
bool copyFile(const std::string& from, const std::string& to);
// Committed private memory, summed over the address space: what Windows
// reports as private bytes, and what Wine leaves at zero in the counters.
double committedPrivateMb(HANDLE process);
double median(std::vector<double> values);
// "  what    median unit  (min..max)  goal"
void printLine(const char* what, std::vector<double> values, const char* unit, const char* goal = nullptr);

// Polls every millisecond until `done` holds; the time since `start`, or -1.
template <typename Predicate>
double until(double start, Predicate done, double limitMs = 20000) {
  while (!done()) {
    if (nowMs() - start > limitMs) return -1;
    Sleep(1);
  }
  return nowMs() - start;
}

// Where a process's committed private memory goes: its thread stacks (read
// from each thread's own block), allocations of a size the caller names (a
// settings image, a decoded picture), other allocations of 256 KB and more by
// size, and the rest (heaps and small allocations); beside the modules it has
// loaded, whose images are shared and not counted; as lines under a title.
struct KnownAllocation {
  const char* what;
  size_t bytes;         // as asked for
  size_t slack = 4096;  // what the allocation may hold beyond: whole pages, a heap's header
};
// A block of the C heap this large is mapped on its own, in 64 KB steps.
constexpr size_t kLargeHeapBlockSlack = 64 << 10;
std::string memoryAccount(const char* title, HANDLE process, DWORD processId,
                          const std::vector<KnownAllocation>& known);

// Starts the foreground program of the test programs' folder, installed in
// `folder` as `name`, and waits for its window titled `title`; the process
// joins `started`.
HWND startForegroundApp(const std::string& folder, const std::string& name, const std::string& title,
                        std::vector<PROCESS_INFORMATION>& started);

// Runs xdotool with `args` on the session's display through the input relay
// of tools/session.sh (QUILLON_INPUT_RELAY); false without a relay.
bool xdotool(const std::string& args);
