#pragma once
// A profile's name as the user types it on the profile page and as the main
// window's profile buttons show it. Names are in the system's code page, as
// the record and the profile files hold them.

#include <cstddef>
#include <string>
#include <string_view>

#include "SettingsImage.h"

// What the record holds before its terminator.
constexpr size_t kMaxProfileNameBytes = sizeof(ProfileRecord::profileName) - 1;

// The bytes of the character that starts with `lead`: 2 for the lead byte of
// a double-byte code page, else 1.
using CharacterLength = size_t (*)(unsigned char lead);

// The name a typed text stands for: one line (control characters become
// blanks), without the blanks around it, cut to what the record holds
// without splitting a character. Empty when nothing is left.
std::string profileNameFromField(std::string_view typed, CharacterLength length = nullptr);

// The profile's name, or its default ("Profile #n") when it has none.
std::string shownProfileName(const ProfileRecord& profile, int index);

// Names profile `index` by what the field holds; an empty field gives back
// the default name, as a profile never goes unnamed. True when it changed.
bool renameProfile(ProfileRecord& profile, int index, std::string_view typed,
                   CharacterLength length = nullptr);

// The tooltip and quick help of a profile button: the full name, whatever
// the button has room for.
std::string profileButtonHelp(const std::string& name);
