#include "UnappliedEdits.h"

#include <cstddef>
#include <cstring>

namespace {

template <typename Record>
bool sameRecords(const std::vector<Record>& a, const std::vector<Record>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Record)) == 0);
}

}  // namespace

bool UnappliedEdits::any() const {
  bool profile = false;
  for (bool p : profiles) profile = profile || p;
  return activeProfile || desktopProfile || profile || macroLibraries || programLists;
}

bool sameSettings(const ProfileRecord& a, const ProfileRecord& b) {
  static_assert(offsetof(ProfileRecord, previewOn) + sizeof(int32_t) == sizeof(ProfileRecord));
  return std::memcmp(&a, &b, offsetof(ProfileRecord, previewOn)) == 0;
}

bool sameLibraries(const OptionLists& a, const OptionLists& b) {
  return sameRecords(a.macros, b.macros) && sameRecords(a.textMacros, b.textMacros);
}

bool sameProgramLists(const OptionLists& a, const OptionLists& b) {
  if (!sameRecords(a.launchApps, b.launchApps)) return false;
  for (int p = 0; p < kProfileCount; ++p)
    if (!sameRecords(a.profileApps[p], b.profileApps[p])) return false;
  return true;
}

UnappliedEdits unappliedEdits(const SettingsImage& edited, const SettingsImage& applied, const OptionLists& lists,
                              const OptionLists& appliedLists) {
  UnappliedEdits u;
  u.activeProfile = edited.currentProfile != applied.currentProfile;
  u.desktopProfile = edited.desktopProfile != applied.desktopProfile;
  for (int p = 0; p < kProfileCount; ++p) u.profiles[p] = !sameSettings(edited.profiles[p], applied.profiles[p]);
  u.macroLibraries = !sameLibraries(lists, appliedLists);
  u.programLists = !sameProgramLists(lists, appliedLists);
  return u;
}
