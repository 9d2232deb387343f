#include "LaunchRule.h"

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool isDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

wchar_t lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c; }

}  // namespace

LaunchVerdict launchVerdict(std::wstring_view path) {
  if (path.empty()) return LaunchVerdict::Empty;
  if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return LaunchVerdict::NetworkPath;
  if (path.size() < 4 || !isDriveLetter(path[0]) || path[1] != L':' || !isSeparator(path[2]))
    return LaunchVerdict::NotFullPath;
  for (size_t i = 2; i < path.size(); ++i) {
    const wchar_t c = path[i];
    // A second colon names a stream or a scheme; the rest are not in file names.
    if (c < 0x20 || c == L':' || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|')
      return LaunchVerdict::BadCharacter;
    // "C:\\server" style doubled separators reach shares on some systems.
    if (isSeparator(c) && isSeparator(path[i - 1])) return LaunchVerdict::NetworkPath;
  }
  const size_t nameStart = path.find_last_of(L"\\/") + 1;
  const std::wstring_view name = path.substr(nameStart);
  constexpr std::wstring_view kExtension = L".exe";
  if (name.size() <= kExtension.size()) return LaunchVerdict::NotAProgram;
  for (size_t i = 0; i < kExtension.size(); ++i)
    if (lower(name[name.size() - kExtension.size() + i]) != kExtension[i]) return LaunchVerdict::NotAProgram;
  // " x.exe" would be trimmed by the system to another name than the one checked.
  if (name.front() == L' ') return LaunchVerdict::NotAProgram;
  return LaunchVerdict::Runnable;
}

std::wstring launchFolder(std::wstring_view path) {
  const size_t last = path.find_last_of(L"\\/");
  if (last == std::wstring_view::npos) return {};
  // The root of a drive keeps its separator: "C:" alone is the drive's current folder.
  return std::wstring(path.substr(0, last == 2 ? 3 : last));
}

std::string launchRefusal(LaunchVerdict verdict) {
  const char* why = "";
  switch (verdict) {
    case LaunchVerdict::Runnable:
      return {};
    case LaunchVerdict::Empty:
      why = "no program set";
      break;
    case LaunchVerdict::NetworkPath:
      why = "a network or device path";
      break;
    case LaunchVerdict::NotFullPath:
      why = "not a full local path";
      break;
    case LaunchVerdict::BadCharacter:
      why = "a character no file name holds";
      break;
    case LaunchVerdict::NotAProgram:
      why = "not a program file (.exe)";
      break;
  }
  return std::string("CMonitorWnd OnLaunch not run: ") + why + "\n";
}
