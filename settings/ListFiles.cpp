#include "ListFiles.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "BoundedText.h"
#include "FileIo.h"
#include "IniFile.h"

namespace {

constexpr const char* kProfileListFiles[] = {"config\\PROFILE1APPList.dat", "config\\PROFILE2APPList.dat",
                                             "config\\PROFILE3APPList.dat", "config\\PROFILE4APPList.dat",
                                             "config\\PROFILE5APPList.dat"};
constexpr const char* kProfileListSections[] = {"PROFILE1APP", "PROFILE2APP", "PROFILE3APP", "PROFILE4APP",
                                                "PROFILE5APP"};

}  // namespace

void makeDefaultKey(SettingsImage& image, int p, int k) {
  KeyAssignment& key = image.profiles[p].keys[k];
  buildDefaultKey(key, k);
  key.functionCode = kFunctionDefault;
  image.keyDirty[p][k] = 1;
}

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
  setBoundedText(entry.path, path);
  list.push_back(entry);
}

void removeAt(AppList& list, int position) {
  if (position >= 0 && size_t(position) < list.size()) list.erase(list.begin() + position);
}

MacroMatch findMacro(const MacroLibrary& library, const KeyAssignment& key) {
  MacroMatch match;
  const std::string_view keyName = boundedText(key.macroName);
  const int keySteps = std::min<int>(key.stepCount, kMaxMacroSteps);
  for (size_t i = 0; i < library.size(); ++i) {
    const MacroRecord& entry = library[i];
    if (!equalIgnoringCase(trimBlanks(boundedText(entry.name)), keyName)) continue;
    match.found = true;
    match.position = int(i);
    match.identical =
        entry.stepCount == key.stepCount && std::equal(entry.steps, entry.steps + keySteps, key.steps);
  }
  return match;
}

MacroMatch findTextMacro(const TextMacroLibrary& library, const KeyAssignment& key) {
  MacroMatch match;
  const std::string_view keyName = boundedText(key.textMacroName);
  const std::string_view keyText = boundedText(key.textMacroText);
  for (size_t i = 0; i < library.size(); ++i) {
    const TextMacroRecord& entry = library[i];
    if (!equalIgnoringCase(trimBlanks(boundedText(entry.name)), keyName)) continue;
    match.found = true;
    match.position = int(i);
    match.identical = entry.keyBefore == key.keyBefore && entry.keyAfter == key.keyAfter &&
                      entry.delayMs == key.textDelayMs && equalIgnoringCase(boundedText(entry.text), keyText);
  }
  return match;
}

bool collectMacrosFromProfiles(MacroLibrary& library, const SettingsImage& image) {
  // Every key, not only the first few: a macro on any key whose name the
  // library lacks would otherwise be wiped by the next applyMacroLibrary.
  bool appended = false;
  for (const ProfileRecord& profile : image.profiles)
    for (const KeyAssignment& key : profile.keys) {
      if (key.functionCode != kFunctionRecordedMacro || key.macroName[0] == '\0') continue;
      if (findMacro(library, key).found) continue;
      MacroRecord entry{};
      setBoundedText(entry.name, trimBlanks(boundedText(key.macroName)));
      entry.stepCount = std::min<int>(key.stepCount, kMaxMacroSteps);
      std::copy(key.steps, key.steps + kMaxMacroSteps, entry.steps);
      library.push_back(entry);
      appended = true;
    }
  return appended;
}

void applyMacroLibrary(const MacroLibrary& library, SettingsImage& image) {
  for (int p = 0; p < kProfileCount; ++p)
    for (int k = 0; k < kKeyCount; ++k) {
      KeyAssignment& key = image.profiles[p].keys[k];
      if (key.functionCode != kFunctionRecordedMacro || key.macroName[0] == '\0') continue;
      const MacroMatch match = findMacro(library, key);
      if (!match.found) {
        makeDefaultKey(image, p, k);
        continue;
      }
      const MacroRecord& entry = library[size_t(match.position)];
      key.stepCount = uint16_t(std::clamp(entry.stepCount, 0, kMaxMacroSteps));
      // Trimmed as the lookup compares: a name copied with its blanks would
      // not match its own entry at the next pass, and the key would be lost.
      setBoundedText(key.macroName, trimBlanks(boundedText(entry.name)));
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
        makeDefaultKey(image, p, k);
        continue;
      }
      const TextMacroRecord& entry = library[size_t(match.position)];
      setBoundedText(key.textMacroName, trimBlanks(boundedText(entry.name)));
      setBoundedText(key.textMacroText, boundedText(entry.text));
      key.keyBefore = entry.keyBefore;
      key.keyAfter = entry.keyAfter;
      key.textDelayMs = entry.delayMs;
      image.keyDirty[p][k] = 1;
    }
}
