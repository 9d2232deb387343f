#include "ListFiles.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "FileIo.h"
#include "IniFile.h"

namespace {

constexpr const char* kProfileListFiles[] = {"config\\PROFILE1APPList.dat", "config\\PROFILE2APPList.dat",
                                             "config\\PROFILE3APPList.dat", "config\\PROFILE4APPList.dat",
                                             "config\\PROFILE5APPList.dat"};
constexpr const char* kProfileListSections[] = {"PROFILE1APP", "PROFILE2APP", "PROFILE3APP", "PROFILE4APP",
                                                "PROFILE5APP"};

std::string_view bounded(const char* text, size_t size) {
  return std::string_view(text, strnlen(text, size));
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

template <size_t N>
void setText(char (&field)[N], std::string_view text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

// The key no longer names a library entry: it becomes a plain key again, and
// is marked so that the keyboard forgets the deleted macro.
void fallBackToDefault(SettingsImage& image, int p, int k) {
  KeyAssignment& key = image.profiles[p].keys[k];
  buildDefaultKey(key, k);
  key.functionCode = kFunctionDefault;
  image.keyDirty[p][k] = 1;
}

}  // namespace

ListFile profileAppListFile(int n) {
  const int i = std::clamp(n, 1, 5) - 1;
  return ListFile{kProfileListFiles[i], kProfileListSections[i]};
}

void sanitizeRecord(MacroRecord& r) {
  r.name[sizeof r.name - 1] = '\0';
  r.stepCount = std::clamp(r.stepCount, 0, kMaxMacroSteps);
}
void sanitizeRecord(TextMacroRecord& r) {
  r.name[sizeof r.name - 1] = '\0';
  r.text[sizeof r.text - 1] = '\0';
}
void sanitizeRecord(AppPathEntry& r) { r.path[sizeof r.path - 1] = '\0'; }

template <typename Record>
void loadList(std::vector<Record>& list, const IniStore& store, const char* section) {
  const int count = std::min(store.readInt(section, "number", -1), kMaxListRecords);
  for (int i = 0; i < count; ++i) {
    // A missing or damaged record is still appended, zero-filled, so that
    // positions stay those of the file.
    Record record{};
    store.readStruct(section, std::to_string(i), &record, sizeof record);
    sanitizeRecord(record);
    list.push_back(record);
  }
}

template <typename Record>
void saveList(const std::vector<Record>& list, IniStore& store, const char* section) {
  store.writeInt(section, "number", int(list.size()));
  for (size_t i = 0; i < list.size(); ++i)
    store.writeStruct(section, std::to_string(i), &list[i], sizeof list[i]);
}

template <typename Record>
void loadList(std::vector<Record>& list, const std::string& programFolder, const ListFile& file) {
  const IniFile ini(programFolder + file.file);
  loadList(list, ini, file.section);
}

template <typename Record>
bool saveList(const std::vector<Record>& list, const std::string& programFolder, const ListFile& file) {
  IniFile ini(programFolder + file.file);
  ini.clear();
  saveList(list, ini, file.section);
  return ini.save();
}

#define QUILLON_LIST_INSTANCES(Record)                                               \
  template void loadList(std::vector<Record>&, const IniStore&, const char*);        \
  template void saveList(const std::vector<Record>&, IniStore&, const char*);        \
  template void loadList(std::vector<Record>&, const std::string&, const ListFile&); \
  template bool saveList(const std::vector<Record>&, const std::string&, const ListFile&);
QUILLON_LIST_INSTANCES(MacroRecord)
QUILLON_LIST_INSTANCES(TextMacroRecord)
QUILLON_LIST_INSTANCES(AppPathEntry)
#undef QUILLON_LIST_INSTANCES

void addPath(AppList& list, const std::string& path) {
  AppPathEntry entry{};
  setText(entry.path, path);
  list.push_back(entry);
}

void removeAt(AppList& list, int position) {
  if (position >= 0 && size_t(position) < list.size()) list.erase(list.begin() + position);
}

MacroMatch findMacro(const MacroLibrary& library, const KeyAssignment& key) {
  MacroMatch match;
  const std::string_view keyName = bounded(key.macroName, sizeof key.macroName);
  const int keySteps = std::min<int>(key.stepCount, kMaxMacroSteps);
  for (size_t i = 0; i < library.size(); ++i) {
    const MacroRecord& entry = library[i];
    if (!equalNoCase(trimBlanks(bounded(entry.name, sizeof entry.name)), keyName)) continue;
    match.found = true;
    match.position = int(i);
    match.identical =
        entry.stepCount == key.stepCount && std::equal(entry.steps, entry.steps + keySteps, key.steps);
  }
  return match;
}

MacroMatch findTextMacro(const TextMacroLibrary& library, const KeyAssignment& key) {
  MacroMatch match;
  const std::string_view keyName = bounded(key.textMacroName, sizeof key.textMacroName);
  const std::string_view keyText = bounded(key.textMacroText, sizeof key.textMacroText);
  for (size_t i = 0; i < library.size(); ++i) {
    const TextMacroRecord& entry = library[i];
    if (!equalNoCase(trimBlanks(bounded(entry.name, sizeof entry.name)), keyName)) continue;
    match.found = true;
    match.position = int(i);
    match.identical = entry.keyBefore == key.keyBefore && entry.keyAfter == key.keyAfter &&
                      entry.delayMs == key.textDelayMs &&
                      equalNoCase(bounded(entry.text, sizeof entry.text), keyText);
  }
  return match;
}

void collectMacrosFromProfiles(MacroLibrary& library, const SettingsImage& image) {
  // Every key, not only the first few: a macro on any key whose name the
  // library lacks would otherwise be wiped by the next applyMacroLibrary.
  for (const ProfileRecord& profile : image.profiles)
    for (const KeyAssignment& key : profile.keys) {
      if (key.functionCode != kFunctionRecordedMacro) continue;
      const MacroMatch match = findMacro(library, key);
      const int steps = std::min<int>(key.stepCount, kMaxMacroSteps);
      if (!match.found) {
        MacroRecord entry{};
        setText(entry.name, bounded(key.macroName, sizeof key.macroName));
        entry.stepCount = steps;
        std::copy(key.steps, key.steps + kMaxMacroSteps, entry.steps);
        library.push_back(entry);
      } else if (!match.identical) {
        MacroRecord& entry = library[size_t(match.position)];
        entry.stepCount = steps;
        std::copy(key.steps, key.steps + kMaxMacroSteps, entry.steps);
      }
    }
}

void applyMacroLibrary(const MacroLibrary& library, SettingsImage& image) {
  for (int p = 0; p < kProfileCount; ++p)
    for (int k = 0; k < kKeyCount; ++k) {
      KeyAssignment& key = image.profiles[p].keys[k];
      if (key.functionCode != kFunctionRecordedMacro || key.macroName[0] == '\0') continue;
      const MacroMatch match = findMacro(library, key);
      if (!match.found) {
        fallBackToDefault(image, p, k);
        continue;
      }
      const MacroRecord& entry = library[size_t(match.position)];
      key.stepCount = uint16_t(std::clamp(entry.stepCount, 0, kMaxMacroSteps));
      // Trimmed as the lookup compares: a name copied with its blanks would
      // not match its own entry at the next pass, and the key would be lost.
      setText(key.macroName, trimBlanks(bounded(entry.name, sizeof entry.name)));
      std::copy(entry.steps, entry.steps + kMaxMacroSteps, key.steps);
      image.keyDirty[p][k] = 1;
    }
}

void applyTextMacroLibrary(const TextMacroLibrary& library, SettingsImage& image) {
  for (int p = 0; p < kProfileCount; ++p)
    for (int k = 0; k < kKeyCount; ++k) {
      KeyAssignment& key = image.profiles[p].keys[k];
      if (key.functionCode != kFunctionTextMacro || key.textMacroName[0] == '\0') continue;
      const MacroMatch match = findTextMacro(library, key);
      if (!match.found) {
        fallBackToDefault(image, p, k);
        continue;
      }
      const TextMacroRecord& entry = library[size_t(match.position)];
      setText(key.textMacroName, trimBlanks(bounded(entry.name, sizeof entry.name)));
      setText(key.textMacroText, bounded(entry.text, sizeof entry.text));
      key.keyBefore = entry.keyBefore;
      key.keyAfter = entry.keyAfter;
      key.textDelayMs = entry.delayMs;
      image.keyDirty[p][k] = 1;
    }
}
