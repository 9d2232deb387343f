#include "CommandLine_win.h"

#include <windows.h>

#include <string>

#include "Console_win.h"
#include "MonitorCommandLine.h"
#include "MonitorMessages.h"

namespace {

constexpr UINT kMonitorAnswerMs = 10000;  // the monitor answers at once unless it hangs

int fail(const std::string& line) {
  writeConsoleLine(ConsoleStream::Error, line);
  return 1;
}

int selectProfile(int profile) {
  const std::string number = std::to_string(profile + 1);
  HWND monitor = FindWindowA(nullptr, kMonitorWindowTitle);
  if (!monitor) return fail("The monitor is not running: profile " + number + " was not made active.");
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(monitor, UM_SELECT_PROFILE, WPARAM(profile), 0, SMTO_ABORTIFHUNG, kMonitorAnswerMs,
                           &answer))
    return fail("The monitor did not answer: profile " + number + " was not made active.");
  switch (answer) {
    case kProfileSelected:
      return 0;
    case kProfileNotConnected:
      return fail("The keyboard is not connected: profile " + number + " was not made active.");
    case kProfileBusy:
      return fail("The settings were busy: profile " + number + " was not made active. Try again.");
    default:
      return fail("The monitor refused profile " + number + ".");
  }
}

}  // namespace

std::optional<int> RunMonitorCommandLine(const char* commandLine) {
  const MonitorCommand command = parseMonitorCommand(commandLine ? commandLine : "");
  switch (command.kind) {
    case MonitorCommand::Run:
      return std::nullopt;
    case MonitorCommand::Help:
      writeConsoleLine(ConsoleStream::Output, kMonitorUsage);
      return 0;
    case MonitorCommand::Invalid:
      return fail(command.error);
    case MonitorCommand::SelectProfile:
      return selectProfile(command.profile);
  }
  return std::nullopt;
}
