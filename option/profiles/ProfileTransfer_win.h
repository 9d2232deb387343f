#pragma once
// Profile files on disk, the file dialogs that name them, and the road of an
// imported profile to the running monitor. Paths are wide: a profile may
// come from anywhere a user can name.

#include <windows.h>

#include <string>

#include "ProfileShare.h"
#include "SharedBlock_win.h"

// False, with one sentence in `error`, when the file cannot be read or is
// not a sound profile file.
bool ReadProfileFileAt(const std::wstring& path, SharedProfile& shared, std::string& error);
// Writes `profile` with the macros its keys bind; the old file is replaced
// whole or not at all.
bool WriteProfileFileAt(const std::wstring& path, const ProfileRecord& profile, const MacroLibrary& macros,
                        std::string& error);

// The block gets profile `profile` under the settings mutex, with the flags
// that make the monitor send what changed (replaceProfileInBlock), and the
// monitor is told as an apply tells it. False without a running monitor.
bool SendProfileToMonitor(SharedBlock& block, int profile, const ProfileRecord& imported);

// The save and open dialogs for profile files, starting in the user's
// documents; empty when cancelled.
std::wstring ChooseProfileFileToSave(HWND owner, const std::string& suggestedName);
std::wstring ChooseProfileFileToOpen(HWND owner);
