#pragma once
// Monitor.exe's command line: "1" opens the configuration window (as it
// always did), "--profile N" makes profile N active in the running monitor,
// "--help" lists these. Portable: the program only carries out what this
// decides.

#include <string>
#include <string_view>

struct MonitorCommand {
  enum Kind { Run, Help, SelectProfile, Invalid } kind = Run;
  bool openOption = false;  // Run: the first character is "1"
  int profile = 0;          // SelectProfile: 0..4
  std::string error;        // Invalid: one sentence
};

// `commandLine` as the program receives it, without its own name.
MonitorCommand parseMonitorCommand(std::string_view commandLine);

extern const char kMonitorUsage[];
