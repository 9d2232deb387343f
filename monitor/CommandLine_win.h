#pragma once
// Monitor.exe --profile N and --help: answered by this process at once, with
// the running monitor doing the work, before the single-instance rule.

#include <optional>

// The exit code of such a run, or nothing when the monitor is to start (or
// hand "1" to the running one) as it always did.
std::optional<int> RunMonitorCommandLine(const char* commandLine);
