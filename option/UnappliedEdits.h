#pragma once
// What the user changed and has not applied: the edited image against the
// image last applied (or taken from the monitor or the files), and the
// libraries and program lists against what their files hold. The close
// question, the Apply button's look and the command-line import all ask this.

#include "OptionDocument.h"

struct UnappliedEdits {
  bool activeProfile = false;  // another profile selected
  bool desktopProfile = false;  // another profile, or none, for when no linked program is in front
  bool profiles[kProfileCount] = {};
  bool macroLibraries = false;  // recorded macros or text macros
  bool programLists = false;    // the launch page's programs or a profile page's links
  bool any() const;
};

// Two profiles hold the same settings; the preview switch is no setting.
bool sameSettings(const ProfileRecord& a, const ProfileRecord& b);

// The libraries and program lists hold the same records in the same order.
bool sameLibraries(const OptionLists& a, const OptionLists& b);
bool sameProgramLists(const OptionLists& a, const OptionLists& b);

UnappliedEdits unappliedEdits(const SettingsImage& edited, const SettingsImage& applied, const OptionLists& lists,
                              const OptionLists& appliedLists);
