#pragma once
// What the configuration program edits: the edited image and the libraries
// and lists beside them. What the monitor holds is the shared block itself,
// which the main window compares the edited image with when it applies. The
// main window owns the one document; pages reach it through OptionHost.

#include <memory>
#include <string>

#include "ListFiles.h"
#include "ProfileFiles.h"
#include "SettingsImage.h"

struct OptionLists {
  MacroLibrary macros;
  TextMacroLibrary textMacros;
  AppList launchApps;                  // the launch page's programs, shared by every key
  AppList profileApps[kProfileCount];  // the programs linked on each profile page
  unsigned char osdSettings[kOsdSettingsSize] = {};

  // In the order the program has always loaded them; each list starts empty.
  void loadAll(const std::string& folder);
};

struct OptionDocument {
  // 2.9 MB: on the heap.
  std::unique_ptr<SettingsImage> edit = std::make_unique<SettingsImage>();
  OptionLists lists;
  std::string folder;  // the program folder, with its trailing backslash

  int activeIndex() const;  // currentProfile of the edited image, kept in 0..4
  ProfileRecord& active() { return edit->profiles[activeIndex()]; }

  // The libraries learn the macros that keys carry, and the macro library is saved.
  void collectMacros();
  // The five profile pages' lists are saved with the profiles they link: an
  // apply saves them when they changed since the last save.
  bool profileListsChanged = false;
  void saveProfileLists();
};

// The entry the key assignment page edits: a copy of one key of the active
// profile, which carries its own key index.
using EditEntry = KeyAssignment;
