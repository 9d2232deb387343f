#pragma once
// Option.exe's command line: a profile written to a file or read from one,
// without the configuration window. Anything that is not one of these
// options opens the window, as it always did.

#include <string>
#include <vector>

struct ProfileCommand {
  enum Kind { Window, Help, Export, Import, Invalid } kind = Window;
  int profile = 0;   // 0..4
  std::string file;  // as given
  std::string error;
};

// `args` without the program's own name.
ProfileCommand parseProfileCommand(const std::vector<std::string>& args);

extern const char kOptionUsage[];
