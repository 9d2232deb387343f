#pragma once
// The macro page: its one list of library macros followed by text macros,
// binding a line to the edited key, and what the two managers leave behind
// when they close.

#include <string>
#include <vector>

#include "LibraryRenames.h"
#include "ListFiles.h"
#include "SettingsImage.h"

// Library macro names, then text macro names, in library order.
std::vector<std::string> macroPickerLines(const MacroLibrary& macros, const TextMacroLibrary& texts);

// The line to select for the edited key, -1 for none; also written to the
// key's macroListIndex. The bound macro is found by name, so a list that
// changed since the key was bound still selects that key's own macro. The key
// takes that line's macro again: what the page shows selected is what the
// key holds, even after another category's page cleared its steps.
int selectPickerLine(KeyAssignment& key, const MacroLibrary& macros, const TextMacroLibrary& texts);

// Selecting `line` binds that macro to the key (a recorded one with function
// code 3, a text macro with 58). False for a line outside the list.
bool bindPickerLine(KeyAssignment& key, int line, const MacroLibrary& macros, const TextMacroLibrary& texts);

// What the page's own copy of a key becomes after a manager closed with OK,
// as the stored keys do: it follows a rename, then takes the library's macro
// of that name again, or becomes a default key when it is gone.
void refreshFromLibraries(KeyAssignment& key, int keyIndex, const MacroLibrary& macros,
                          const TextMacroLibrary& texts, const LibraryRenames& renames = {});

// Names trimmed and cut to what a key's copy holds, each to a name no other
// entry has ("Long raid combo 2" becomes "Long raid c (2)" beside "Long raid
// combo"), and the keys of an entry whose name changed follow it. A key holds
// its name cut already: where several entries share that cut, the key goes
// with the one it is a copy of (same steps, or same text). True when a name
// changed.
bool fitMacroNames(MacroLibrary& macros, SettingsImage& image);
bool fitTextMacroNames(TextMacroLibrary& texts, SettingsImage& image);

enum class ManagerClose { Ok, Cancel };
// OK moves the keys of the five profiles along the renames of the run (the
// keys of a macro deleted in the run become default keys first), fits the
// names, hands the library to every key and recounts each profile's macro
// keys. Nothing is written here: the library reaches its file at Apply,
// together with the keys. Cancel puts the library back as it was when the
// manager opened (`atOpen`) and leaves the keys.
void closeMacroManager(ManagerClose how, MacroLibrary& macros, const MacroLibrary& atOpen,
                       const RenameMap& renames, SettingsImage& image);
void closeTextMacroManager(ManagerClose how, TextMacroLibrary& texts, const TextMacroLibrary& atOpen,
                           const RenameMap& renames, SettingsImage& image);
