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
  // 2.9 MB each: on the heap.
  std::unique_ptr<SettingsImage> edit = std::make_unique<SettingsImage>();
  // The image as last applied, or as taken from the monitor or the files:
  // what the edits are measured against (its change flags stay clear).
  std::unique_ptr<SettingsImage> exchange = std::make_unique<SettingsImage>();
  OptionLists lists;
  // The libraries and program lists as their files hold them. They are
  // written at Apply together with the keys that name their macros, so that
  // a session closed without Apply leaves both as they were.
  OptionLists appliedLists;
  std::string folder;  // the program folder, with its trailing backslash

  int activeIndex() const;  // currentProfile of the edited image, kept in 0..4
  ProfileRecord& active() { return edit->profiles[activeIndex()]; }

  // The libraries learn the macros that keys carry when they lack their
  // names; an entry the library holds is never changed from a key's copy.
  // What was added is written at once: the keys already carry it.
  void collectMacros();
  // At Apply: writes the libraries and program lists that differ from their
  // files (libraries first: keys name their macros); the first apply of a
  // session writes them all. False when one could not be written.
  bool saveChangedLists();
  // At Apply: writes the profiles that differ from what was applied, and
  // CurrentProfile when it changed. The first apply of a session writes all:
  // the files may differ from what the window took from the monitor.
  bool saveChangedProfiles();
  // The edited image (its change flags cleared) and the lists are now what
  // was applied.
  void markApplied();
  bool profilesWritten = false;
  bool listsWritten = false;  // likewise the list files
};

// The entry the key assignment page edits: a copy of one key of the active
// profile, which carries its own key index.
using EditEntry = KeyAssignment;
