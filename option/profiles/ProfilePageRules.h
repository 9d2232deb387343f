#pragma once
// What a profile page decides without a window: its copy menu, its reset
// switch, the linked programs it writes, and the main window's steps after OK.

#include <string>
#include <vector>

#include "ListFiles.h"
#include "SettingsImage.h"

constexpr unsigned kCopyTargetFirstCommand = 2001;  // 2001..2005: profiles 1..5
constexpr int kProfileNameTextFirst = 1088;         // 1088..1092: "Profile 1".."Profile 5"

struct ProfilePageState {
  int page = 1;  // 1..5; edits profile page - 1
  bool copyBoxOn = false;
  int copyTarget = 0;  // profile index 0..4
  bool resetArmed = false;
  bool imported = false;  // OK replaced the profile with a profile file
  // "Use this profile when no linked program is in front", as the box was
  // left: -1 untouched, 0 off, 1 on.
  int desktopChoice = -1;
  bool named = false;     // OK took `name`, the name field's text, as the profile's name
  std::string name;

  static ProfilePageState opened(int page);
  int profile() const { return page - 1; }
  // The copy menu's choice; any command but 2001..2005 means profile 0.
  void chooseCopyTarget(unsigned command);
  int copyTargetTextId() const { return kProfileNameTextFirst + copyTarget; }
  // A click on Reset: disarms an armed reset and returns false, else returns
  // true: the warning dialog decides, and arm() follows its OK.
  bool resetClickAsksFirst();
  void arm() { resetArmed = true; }
};

struct CopyMenuEntry {
  unsigned command;
  int textId;
};
// The four other profiles, in profile order.
std::vector<CopyMenuEntry> copyMenuEntries(int page);

// linkedApps from the first 20 entries of the list, "" for the rest.
void linkApplications(ProfileRecord& profile, const AppList& list);
// True when the list shows what the profile links: its first 20 entries are
// linkedApps in order (further entries are kept but never linked).
bool listShowsLinks(const AppList& list, const ProfileRecord& profile);
// Makes a profile page's list show what the profile links. A list written
// by a page whose OK was never applied (older versions saved it at once)
// gives way to the links the monitor switches on.
void showLinksInList(AppList& list, const ProfileRecord& profile);

struct ProfilePageOutcome {
  bool refresh = false;
  bool applyAfterReset = false;
  bool edited = false;  // the profile changed as by an edit: preview sends it
};
// The main window's steps after the page closed with OK, in their order:
// the page's list becomes the profile's list and its links; the name field
// names the profile (after an import, which brings a name too); the page's
// profile is copied onto the target, which keeps its own linked programs (a
// program linked to two profiles would switch to one of them only); then
// the page's profile is reset, its list emptied, and it is marked for a full
// download. A profile the page imported is shown and, with preview on, sent.
// The desktop choice makes the page's profile the desktop profile, or none
// when it was and the box was cleared; the next apply hands it on.
// `lists` are the five profile pages' lists.
ProfilePageOutcome applyProfilePage(SettingsImage& image, AppList (&lists)[kProfileCount],
                                    const ProfilePageState& state, const AppList& pageList);

// Whether profile page `page` (1..5) is the desktop profile.
inline bool isDesktopProfile(const SettingsImage& image, int page) { return image.desktopProfile == page; }

// The line a program shows in the lists: its file name without folder and extension.
std::string programDisplayName(const std::string& path);
