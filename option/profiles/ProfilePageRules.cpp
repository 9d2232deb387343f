#include "ProfilePageRules.h"

#include <cstring>

#include "ChangeFlags.h"
#include "ProfileNameRules.h"

ProfilePageState ProfilePageState::opened(int page) {
  ProfilePageState state;
  state.page = page;
  state.copyTarget = page == 1 ? 1 : 0;  // the first other profile
  return state;
}

void ProfilePageState::chooseCopyTarget(unsigned command) {
  const bool known = command >= kCopyTargetFirstCommand && command < kCopyTargetFirstCommand + kProfileCount;
  copyTarget = known ? int(command - kCopyTargetFirstCommand) : 0;
}

bool ProfilePageState::resetClickAsksFirst() {
  if (!resetArmed) return true;
  resetArmed = false;
  return false;
}

std::vector<CopyMenuEntry> copyMenuEntries(int page) {
  std::vector<CopyMenuEntry> entries;
  for (int p = 0; p < kProfileCount; ++p)
    if (p != page - 1) entries.push_back({kCopyTargetFirstCommand + p, kProfileNameTextFirst + p});
  return entries;
}

void linkApplications(ProfileRecord& profile, const AppList& list) {
  for (int i = 0; i < kLinkedAppCount; ++i) {
    char(&slot)[sizeof profile.linkedApps[0]] = profile.linkedApps[i];
    std::memset(slot, 0, sizeof slot);
    if (size_t(i) < list.size()) {
      const AppPathEntry& entry = list[size_t(i)];
      std::memcpy(slot, entry.path, strnlen(entry.path, sizeof slot - 1));
    }
  }
}

bool listShowsLinks(const AppList& list, const ProfileRecord& profile) {
  for (int i = 0; i < kLinkedAppCount; ++i) {
    const char* linked = profile.linkedApps[i];
    const char* listed = size_t(i) < list.size() ? list[size_t(i)].path : "";
    if (std::strncmp(linked, listed, sizeof profile.linkedApps[i] - 1) != 0) return false;
  }
  return true;
}

void showLinksInList(AppList& list, const ProfileRecord& profile) {
  if (listShowsLinks(list, profile)) return;
  clearList(list);
  for (const auto& linked : profile.linkedApps)
    if (linked[0]) addPath(list, std::string(linked, strnlen(linked, sizeof linked)));
}

ProfilePageOutcome applyProfilePage(SettingsImage& image, AppList (&lists)[kProfileCount],
                                    const ProfilePageState& state, const AppList& pageList) {
  ProfilePageOutcome outcome;
  const int profile = state.profile();
  if (profile < 0 || profile >= kProfileCount) return outcome;
  lists[profile] = pageList;
  linkApplications(image.profiles[profile], pageList);
  if (state.desktopChoice == 1)
    image.desktopProfile = state.page;
  else if (state.desktopChoice == 0 && image.desktopProfile == state.page)
    image.desktopProfile = 0;
  if (state.imported) {
    outcome.refresh = true;
    outcome.edited = true;
  }
  if (state.named && renameProfile(image.profiles[profile], profile, state.name)) {
    outcome.refresh = true;
    outcome.edited = true;
  }
  const int target = state.copyTarget;
  if (state.copyBoxOn && target >= 0 && target < kProfileCount) {
    if (target != profile) {
      ProfileRecord& copy = image.profiles[target];
      decltype(copy.linkedApps) kept;
      std::memcpy(kept, copy.linkedApps, sizeof kept);
      copy = image.profiles[profile];
      std::memcpy(copy.linkedApps, kept, sizeof kept);
    }
    outcome.refresh = true;
  }
  if (state.resetArmed) {
    buildDefaultProfile(image.profiles[profile], profile);
    clearList(lists[profile]);
    markProfileForFullDownload(image, profile);
    outcome.refresh = true;
    outcome.applyAfterReset = true;
    outcome.edited = false;  // the reset's apply sends everything
  }
  return outcome;
}

std::string programDisplayName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}
