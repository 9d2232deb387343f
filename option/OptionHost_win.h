#pragma once
// The narrow view that pages and dialogs have of the main window: the active
// profile to read and write, the lists, the language texts, and "I changed
// something" (applied at once when preview is on). Pages never copy the
// image, open the shared block or look for the monitor.

#include <windows.h>

#include <string>

#include "OptionDocument.h"

class OptionHost {
 public:
  virtual OptionDocument& document() = 0;
  ProfileRecord& activeProfile() { return document().active(); }
  OptionLists& lists() { return document().lists; }
  virtual std::string text(int languageId) const = 0;
  // After an edit of the active profile: preview apply when its preview is on.
  virtual void edited() = 0;
  // The lighting effect or the per-key colours changed: the keyboard picture
  // shows keys, LEDs or neither, and the LEDs their colours.
  virtual void keyboardPictureChanged() = 0;
  // The main window, owner of the pages' dialogs.
  virtual HWND window() const = 0;

 protected:
  ~OptionHost() = default;
};
