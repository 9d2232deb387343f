#pragma once
// What a launch key may start: only what the key editor can store, a
// program file (.exe) on a local drive named by its full path. The path
// comes from a settings file or another process and is not trusted; the
// window checks the rest (the file exists, the drive is not a network one)
// and starts the program with its own folder as working folder.

#include <string>
#include <string_view>

enum class LaunchVerdict {
  Runnable,
  Empty,
  NetworkPath,   // \\server\share, \\?\..., //...
  NotFullPath,   // relative, a URL, a drive-relative "C:x.exe"
  BadCharacter,  // wildcards, quotes, a stream "x.exe:y", control characters
  NotAProgram,   // .bat, .hta, .lnk, a folder, "x.exe." ...
};

// The rule on the path alone, in the UTF-16 units of the system's wide calls.
LaunchVerdict launchVerdict(std::wstring_view path);

// The folder the program runs in: the path up to its last separator, with
// the separator of a drive's root kept ("C:\").
std::wstring launchFolder(std::wstring_view path);

// The debugger line that says why a launch key started nothing.
std::string launchRefusal(LaunchVerdict verdict);
constexpr char kLaunchMissingTrace[] = "CMonitorWnd OnLaunch not run: no such program file\n";
constexpr char kLaunchRemoteTrace[] = "CMonitorWnd OnLaunch not run: not a local drive\n";
constexpr char kLaunchFailedTrace[] = "CMonitorWnd OnLaunch not run: the program did not start\n";
constexpr char kLaunchStartedTrace[] = "CMonitorWnd OnLaunch started\n";
