#pragma once
// The texts of the tray icon: its tip with the active profile's name, the
// profile entries of its menu and the notice at a switch the user did not
// make. Wide strings, as the shell takes them.

#include <cstddef>
#include <string>

namespace tray {

// "<tip> — <name>", cut to fit `capacity` units with the terminator; the tip
// alone when the name is empty.
std::wstring tipWithProfile(const std::wstring& tip, const std::wstring& name, size_t capacity);
// A profile's menu entry: its name with '&' shown as typed, "Profile N"
// (N = index + 1) for a blank name, long names cut.
std::wstring menuEntry(const std::wstring& name, int index);
constexpr size_t kMenuEntryMax = 40;
// The balloon's text.
std::wstring switchNotice(const std::wstring& name, int index);

// What the shell says of the user's state (its notification-state values);
// 0 when it could not be asked.
constexpr int kAcceptsNotifications = 5;
// A notice is shown when SwitchNotice is on and the user is not in a
// full-screen game, a presentation or quiet hours.
bool noticeAllowed(bool switchNotice, int userState);

}  // namespace tray
