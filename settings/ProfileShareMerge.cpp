// A shared profile joins the libraries and replaces the target profile.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "BoundedText.h"
#include "ProfileFiles.h"
#include "ProfileShareFormat.h"

using profileshare::recordNamed;

namespace {

bool sameSteps(const MacroRecord& a, const MacroRecord& b) {
  const int count = std::clamp(a.stepCount, 0, kMaxMacroSteps);
  return a.stepCount == b.stepCount && std::equal(a.steps, a.steps + count, b.steps);
}
bool sameText(const TextMacroRecord& a, const TextMacroRecord& b) {
  return a.delayMs == b.delayMs && a.keyBefore == b.keyBefore && a.keyAfter == b.keyAfter &&
         boundedText(a.text) == boundedText(b.text);
}

// The last entry of that name: the one the libraries hand to keys.
template <typename Record>
int lastNamed(const std::vector<Record>& list, std::string_view name) {
  int found = -1;
  for (size_t i = 0; i < list.size(); ++i)
    if (sameName(boundedText(list[i].name), name)) found = int(i);
  return found;
}

enum class Merge { Added, Shared, Renamed };

// Finds the library entry the shared record becomes: its own name when free
// or held by the same macro, else the first free or same "Name (n)". Returns
// the entry's position.
template <typename Record, typename Same>
int merge(std::vector<Record>& library, const Record& shared, size_t nameLimit, Same same, Merge& how) {
  const std::string base(trimBlanks(boundedText(shared.name)));
  for (int n = 1; n <= kMaxFreeNameTries; ++n) {
    const std::string name = numberedName(base, n, nameLimit);
    const int at = lastNamed(library, name);
    if (at >= 0 && same(library[size_t(at)], shared)) {
      how = Merge::Shared;
      return at;
    }
    if (at < 0) {
      Record added = shared;
      setBoundedText(added.name, name);
      library.push_back(added);
      how = n == 1 ? Merge::Added : Merge::Renamed;
      return int(library.size()) - 1;
    }
  }
  how = Merge::Shared;
  return -1;
}

void count(Merge how, int& added, int& shared, int& renamed) {
  (how == Merge::Added ? added : how == Merge::Shared ? shared : renamed) += 1;
}

// The installed-only values and the switches a file never carries.
void keepLocalValues(ProfileRecord& imported, const ProfileRecord& target) {
  std::memcpy(imported.linkedApps, target.linkedApps, sizeof imported.linkedApps);
  for (int32_t ProfileRecord::*field :
       {&ProfileRecord::mediaOption, &ProfileRecord::hddKeyboard, &ProfileRecord::ltSwitch,
        &ProfileRecord::ltColor, &ProfileRecord::ltSaving, &ProfileRecord::ltPulsation,
        &ProfileRecord::contextKey, &ProfileRecord::capsLockKey, &ProfileRecord::tabKey,
        &ProfileRecord::fnStatus, &ProfileRecord::pollingRate, &ProfileRecord::reportDelay,
        &ProfileRecord::previewOn})
    imported.*field = target.*field;
}

}  // namespace

ImportSummary importSharedProfile(const SharedProfile& shared, ProfileRecord& target, MacroLibrary& macros,
                                  TextMacroLibrary& textMacros) {
  ImportSummary summary;
  if (!shared.profile) return summary;
  auto imported = std::make_unique<ProfileRecord>(*shared.profile);
  keepLocalValues(*imported, target);

  // Each shared macro that a key binds gets its place in the library once.
  std::vector<int> macroAt(shared.macros.size(), -2), textAt(shared.textMacros.size(), -2);
  constexpr size_t kMacroNameLimit = sizeof(KeyAssignment::macroName) - 1;
  constexpr size_t kTextNameLimit = sizeof(KeyAssignment::textMacroName) - 1;
  for (KeyAssignment& key : imported->keys) {
    if (key.functionCode == kFunctionRecordedMacro && !trimBlanks(boundedText(key.macroName)).empty()) {
      const MacroRecord* record = recordNamed(shared.macros, boundedText(key.macroName));
      if (!record) continue;
      int& at = macroAt[size_t(record - shared.macros.data())];
      if (at == -2) {
        Merge how;
        at = merge(macros, *record, kMacroNameLimit, sameSteps, how);
        count(how, summary.macrosAdded, summary.macrosShared, summary.macrosRenamed);
      }
      if (at < 0) continue;
      const MacroRecord& entry = macros[size_t(at)];
      setBoundedText(key.macroName, trimBlanks(boundedText(entry.name)));
      key.reserved0 = 0;
      key.stepCount = uint16_t(std::clamp(entry.stepCount, 0, kMaxMacroSteps));
      std::copy(entry.steps, entry.steps + kMaxMacroSteps, key.steps);
      key.macroListIndex = at;
    } else if (key.functionCode == kFunctionTextMacro &&
               !trimBlanks(boundedText(key.textMacroName)).empty()) {
      const TextMacroRecord* record = recordNamed(shared.textMacros, boundedText(key.textMacroName));
      if (!record) continue;
      int& at = textAt[size_t(record - shared.textMacros.data())];
      if (at == -2) {
        Merge how;
        at = merge(textMacros, *record, kTextNameLimit, sameText, how);
        count(how, summary.textMacrosAdded, summary.textMacrosShared, summary.textMacrosRenamed);
      }
      if (at < 0) continue;
      const TextMacroRecord& entry = textMacros[size_t(at)];
      setBoundedText(key.textMacroName, trimBlanks(boundedText(entry.name)));
      setBoundedText(key.textMacroText, boundedText(entry.text));
      key.textDelayMs = entry.delayMs;
      key.keyBefore = entry.keyBefore;
      key.keyAfter = entry.keyAfter;
      key.macroListIndex = -1;  // placed below, after every recorded macro is in
    }
  }
  // The key page's picker lists the library macros first, then the texts.
  for (KeyAssignment& key : imported->keys)
    if (key.functionCode == kFunctionTextMacro && !trimBlanks(boundedText(key.textMacroName)).empty()) {
      const int at = lastNamed(textMacros, boundedText(key.textMacroName));
      key.macroListIndex = at < 0 ? -1 : int(macros.size()) + at;
    }
  for (const KeyAssignment& key : imported->keys) {
    summary.macroKeys += key.functionCode == kFunctionRecordedMacro;
    summary.textMacroKeys += key.functionCode == kFunctionTextMacro;
  }
  summary.launchKeysDropped = shared.launchKeysDropped;
  summary.unknownKeysDropped = shared.unknownKeysDropped;
  imported->totalMacro = countMacroKeys(*imported);
  sanitizeProfile(*imported);
  target = *imported;
  return summary;
}

ImportSummary previewImport(const SharedProfile& shared, const ProfileRecord& target,
                            const MacroLibrary& macros, const TextMacroLibrary& textMacros) {
  auto profile = std::make_unique<ProfileRecord>(target);
  MacroLibrary macroCopy = macros;
  TextMacroLibrary textCopy = textMacros;
  return importSharedProfile(shared, *profile, macroCopy, textCopy);
}
