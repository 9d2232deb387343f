#include "ProfileCommandLine.h"

const char kOptionUsage[] =
    "Usage: Option.exe [--export-profile N FILE | --import-profile N FILE | --help]\n"
    "  (nothing)                 open the configuration window\n"
    "  --export-profile N FILE   write profile N (1 to 5), as applied, to FILE (.vqprofile)\n"
    "  --import-profile N FILE   replace profile N (1 to 5) with the profile in FILE; with the\n"
    "                            monitor running the keyboard receives it at once\n"
    "  --help                    show this list\n"
    "Exit code 0 on success; 1 otherwise, with the reason on the console.";

ProfileCommand parseProfileCommand(const std::vector<std::string>& args) {
  ProfileCommand command;
  if (args.empty()) return command;
  const std::string& first = args[0];
  if (first == "--help" || first == "-h" || first == "/?") {
    command.kind = ProfileCommand::Help;
    return command;
  }
  const bool exporting = first == "--export-profile", importing = first == "--import-profile";
  if (!exporting && !importing) {
    // The window ignores its arguments; only our own options are refused.
    if (first.rfind("--", 0) == 0) {
      command.kind = ProfileCommand::Invalid;
      command.error = "Unknown option " + first + " (Option.exe --help lists them).";
    }
    return command;
  }
  command.kind = ProfileCommand::Invalid;
  if (args.size() != 3) {
    command.error = first + " takes a profile number (1 to 5) and a file.";
    return command;
  }
  const std::string& number = args[1];
  if (number.size() != 1 || number[0] < '1' || number[0] > '5') {
    command.error = "The profile number must be 1 to 5, not \"" + number + "\".";
    return command;
  }
  if (args[2].empty()) {
    command.error = first + " needs a file name.";
    return command;
  }
  command.kind = exporting ? ProfileCommand::Export : ProfileCommand::Import;
  command.profile = number[0] - '1';
  command.file = args[2];
  return command;
}
