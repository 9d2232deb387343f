#include "OptionDocument.h"

#include <cstring>

#include "UnappliedEdits.h"

void OptionLists::loadAll(const std::string& folder) {
  clearList(macros);
  loadList(macros, folder, kMacroLibraryFile);
  readOsdSettings(osdSettings, folder);
  clearList(launchApps);
  loadList(launchApps, folder, kLaunchAppListFile);
  clearList(textMacros);
  loadList(textMacros, folder, kTextMacroLibraryFile);
  for (int n = 1; n <= kProfileCount; ++n) {
    clearList(profileApps[n - 1]);
    loadList(profileApps[n - 1], folder, profileAppListFile(n));
  }
}

int OptionDocument::activeIndex() const {
  const int p = edit->currentProfile;
  return p >= 0 && p < kProfileCount ? p : 0;
}

namespace {

template <typename Record>
bool saveIfChanged(const std::vector<Record>& list, std::vector<Record>& saved, const std::string& folder,
                   const ListFile& file, bool always) {
  if (!always && list.size() == saved.size() &&
      (list.empty() || std::memcmp(list.data(), saved.data(), list.size() * sizeof(Record)) == 0))
    return true;
  if (!saveList(list, folder, file)) return false;
  saved = list;
  return true;
}

}  // namespace

bool OptionDocument::saveChangedLists() {
  // The first apply writes them all: a file may be missing or damaged where
  // the list loaded empty or repaired.
  const bool all = !listsWritten;
  bool saved = saveIfChanged(lists.macros, appliedLists.macros, folder, kMacroLibraryFile, all);
  saved = saveIfChanged(lists.textMacros, appliedLists.textMacros, folder, kTextMacroLibraryFile, all) && saved;
  saved = saveIfChanged(lists.launchApps, appliedLists.launchApps, folder, kLaunchAppListFile, all) && saved;
  for (int n = 1; n <= kProfileCount; ++n)
    saved = saveIfChanged(lists.profileApps[n - 1], appliedLists.profileApps[n - 1], folder,
                          profileAppListFile(n), all) &&
            saved;
  listsWritten = listsWritten || saved;
  return saved;
}

bool OptionDocument::saveChangedProfiles() {
  bool profiles[kProfileCount];
  for (int p = 0; p < kProfileCount; ++p)
    profiles[p] = !profilesWritten || !sameSettings(edit->profiles[p], exchange->profiles[p]);
  const bool config = !profilesWritten || edit->currentProfile != exchange->currentProfile ||
                      edit->desktopProfile != exchange->desktopProfile;
  const bool saved = saveProfiles(*edit, folder, profiles, config);
  profilesWritten = profilesWritten || saved;
  return saved;
}

void OptionDocument::markApplied() {
  *exchange = *edit;
  clearChangeFlags(*exchange);
  appliedLists = lists;
}

void OptionDocument::collectMacros() {
  collectMacrosFromProfiles(lists.macros, *edit);
  // The file gains what the applied keys carry, and nothing not applied yet.
  if (collectMacrosFromProfiles(appliedLists.macros, *exchange))
    saveList(appliedLists.macros, folder, kMacroLibraryFile);
}
