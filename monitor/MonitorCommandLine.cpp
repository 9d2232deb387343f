#include "MonitorCommandLine.h"

#include <vector>

const char kMonitorUsage[] =
    "Usage: Monitor.exe [1 | --profile N | --help]\n"
    "  (nothing)     start the monitor: tray icon, keyboard link, profile switching\n"
    "  1             the same, and open the configuration window (also when it runs)\n"
    "  --profile N   make profile N (1 to 5) active in the running monitor\n"
    "  --help        show this list\n"
    "Exit code 0 on success; 1 otherwise, with the reason on the console.";

namespace {

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> out;
  size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ' || text[at] == '\t') {
      ++at;
      continue;
    }
    size_t end = text.find_first_of(" \t", at);
    if (end == std::string_view::npos) end = text.size();
    out.push_back(text.substr(at, end - at));
    at = end;
  }
  return out;
}

}  // namespace

MonitorCommand parseMonitorCommand(std::string_view commandLine) {
  MonitorCommand command;
  const std::vector<std::string_view> args = words(commandLine);
  const std::string_view first = args.empty() ? std::string_view() : args[0];
  if (first == "--help" || first == "-h" || first == "/?") {
    command.kind = MonitorCommand::Help;
    return command;
  }
  if (first != "--profile") {
    if (first.substr(0, 2) == "--") {
      command.kind = MonitorCommand::Invalid;
      command.error = "Unknown option " + std::string(first) + " (Monitor.exe --help lists them).";
      return command;
    }
    // Exactly the old rule: the first character, whatever follows it.
    command.openOption = !commandLine.empty() && commandLine[0] == '1';
    return command;
  }
  command.kind = MonitorCommand::Invalid;
  if (args.size() != 2) {
    command.error = "--profile takes one profile number, 1 to 5.";
    return command;
  }
  if (args[1].size() != 1 || args[1][0] < '1' || args[1][0] > '5') {
    command.error = "The profile number must be 1 to 5, not \"" + std::string(args[1]) + "\".";
    return command;
  }
  command.kind = MonitorCommand::SelectProfile;
  command.profile = args[1][0] - '1';
  return command;
}
