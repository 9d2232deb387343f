#pragma once
// What an imported profile does to the configuration program's document and
// to the image the monitor is handed, and what the user is told about it.

#include <string>

#include "OptionDocument.h"
#include "ProfileShare.h"

// Replaces profile `profile` (0..4) of the edited image with `shared`; its
// macros join the two libraries, which are written with the keys that play
// them, at the next apply. The profile keeps its linked programs, so its
// page's list and its links still agree. False for no such profile.
bool importIntoDocument(OptionDocument& doc, int profile, const SharedProfile& shared,
                        ImportSummary& summary);

// The block's image with profile `profile` replaced, for the monitor: the
// change flags of that profile join those still pending in the block, so
// that an apply the monitor has not taken yet keeps what it asks for, and
// the active profile stays the one the monitor made active.
void replaceProfileInBlock(SettingsImage& block, int profile, const ProfileRecord& imported);

// One line for the user: what came in (macros added, shared and renamed,
// text macros, the keys that play macros or type text) and what was left
// out; importPreview says it before OK (summary of previewImport).
std::string importReport(const ProfileRecord& imported, const ImportSummary& summary);
std::string importPreview(const ProfileRecord& incoming, const ImportSummary& summary);

// What the user reads when a profile file is refused: `error` of the reader
// in plain words, and that nothing changed.
std::string refusalText(const std::string& error);

// A file name for a profile: its name without the characters file names
// cannot hold, and the profile file extension.
std::string profileFileName(const ProfileRecord& profile);
constexpr size_t kMaxProfileFileStem = 100;
