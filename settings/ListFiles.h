#pragma once
// The configuration program's libraries and application lists, each an
// ordered list of fixed-size records stored in its own INI file under
// config\: key "number" holds the count, keys "0".."n-1" the records as
// struct values.
//
//   MacroLibrary macros;
//   loadList(macros, folder, kMacroLibraryFile);   // appends; clear first
//   saveList(macros, folder, kMacroLibraryFile);   // replaces the file whole
//   MacroMatch m = findMacro(macros, key);
//   collectMacrosFromProfiles(macros, image);       // keys -> library
//   applyMacroLibrary(macros, image);               // library -> keys
//
// Records read from files are sanitised: texts terminated inside their
// arrays, step counts clamped.

#include <cstdint>
#include <string>
#include <vector>

#include "IniStore.h"
#include "SettingsImage.h"

struct MacroRecord {
  char name[52];
  int32_t repeatCount;
  int32_t stepCount;
  MacroStep steps[kMaxMacroSteps];
};
static_assert(sizeof(MacroRecord) == 220);

struct TextMacroRecord {
  char name[50];
  char text[5002];
  int32_t delayMs;
  uint8_t keyBefore;
  uint8_t keyAfter;
  uint8_t padding[2];
};
static_assert(sizeof(TextMacroRecord) == 5060);
static_assert(offsetof(TextMacroRecord, delayMs) == 5052);

struct AppPathEntry {
  char path[500];
};
static_assert(sizeof(AppPathEntry) == 500);

using MacroLibrary = std::vector<MacroRecord>;
using TextMacroLibrary = std::vector<TextMacroRecord>;
using AppList = std::vector<AppPathEntry>;

struct ListFile {
  const char* file;  // below the program folder
  const char* section;
};
constexpr ListFile kMacroLibraryFile{"config\\sequence.dat", "Macros"};
constexpr ListFile kTextMacroLibraryFile{"config\\TextMacro.dat", "TextMacro"};
constexpr ListFile kLaunchAppListFile{"config\\APPList.dat", "APP"};
// Profile page n, 1..5.
ListFile profileAppListFile(int n);

// A hostile "number" must not make us allocate without end.
constexpr int kMaxListRecords = 4096;

void sanitizeRecord(MacroRecord& r);
void sanitizeRecord(TextMacroRecord& r);
void sanitizeRecord(AppPathEntry& r);

template <typename Record>
void loadList(std::vector<Record>& list, const IniStore& store, const char* section);
template <typename Record>
void saveList(const std::vector<Record>& list, IniStore& store, const char* section);
template <typename Record>
void loadList(std::vector<Record>& list, const std::string& programFolder, const ListFile& file);
// The old file is replaced whole, so records beyond the new count vanish.
template <typename Record>
bool saveList(const std::vector<Record>& list, const std::string& programFolder, const ListFile& file);

template <typename Record>
void clearList(std::vector<Record>& list) {
  list.clear();
}
template <typename Record>
Record* getEntry(std::vector<Record>& list, int position) {
  return position >= 0 && size_t(position) < list.size() ? &list[size_t(position)] : nullptr;
}

void addPath(AppList& list, const std::string& path);
void removeAt(AppList& list, int position);

struct MacroMatch {
  bool found = false;
  int position = -1;  // the last entry of that name
  bool identical = false;
};
MacroMatch findMacro(const MacroLibrary& library, const KeyAssignment& key);
MacroMatch findTextMacro(const TextMacroLibrary& library, const KeyAssignment& key);

// Appends an entry for each recorded macro a key carries under a name the
// library lacks. An entry the library holds is never changed from a key's
// copy: the library is what the user last applied, the key may be older.
// True when something was appended.
bool collectMacrosFromProfiles(MacroLibrary& library, const SettingsImage& image);
void applyMacroLibrary(const MacroLibrary& library, SettingsImage& image);
// Key `k` of profile `p` no longer plays a library entry: it becomes a plain
// key again, marked so that the keyboard forgets the macro.
void makeDefaultKey(SettingsImage& image, int p, int k);
void applyTextMacroLibrary(const TextMacroLibrary& library, SettingsImage& image);
