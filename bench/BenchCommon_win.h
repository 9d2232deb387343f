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
// "  what    median unit  (min..max)"
void printLine(const char* what, std::vector<double> values, const char* unit);

// Polls every millisecond until `done` holds; the time since `start`, or -1.
template <typename Predicate>
double until(double start, Predicate done, double limitMs = 20000) {
  while (!done()) {
    if (nowMs() - start > limitMs) return -1;
    Sleep(1);
  }
  return nowMs() - start;
}
