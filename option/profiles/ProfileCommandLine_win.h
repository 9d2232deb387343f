#pragma once
// Option.exe --export-profile / --import-profile / --help: the run without a
// window, before the single-instance rule, so that it works whether or not
// the configuration window is open.

#include <optional>

// The exit code of a command-line run, or nothing when the window is to open.
std::optional<int> RunProfileCommandLine();
