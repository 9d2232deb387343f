#include "OptionDocument.h"

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

void OptionDocument::saveProfileLists() {
  if (!profileListsChanged) return;
  profileListsChanged = false;
  for (int n = 1; n <= kProfileCount; ++n) saveList(lists.profileApps[n - 1], folder, profileAppListFile(n));
}

void OptionDocument::collectMacros() {
  collectMacrosFromProfiles(lists.macros, *edit);
  saveList(lists.macros, folder, kMacroLibraryFile);
}
