#pragma once
// The macro page: the key assignment page's sub-page for the macro category.
// One list of the library's macros followed by the text macros; choosing a
// line binds it to the edited key, and a menu opens either manager.
//
//   MacroPage page(host, profile);
//   page.create(keyPageWindow, at, editEntry);   // once, hidden
//   page.show(true);  page.refresh();           // when category 5 is chosen
//   page.show(false);                            // for any other category

#include "LibraryRenames.h"
#include "OptionHost_win.h"
#include "SkinDialog_win.h"

class SkinListBox;

class MacroPage : public SkinPage {
 public:
  // `profile` is the one the edited key belongs to: a recorded macro needs
  // one of its macro buffers.
  MacroPage(OptionHost& host, const ProfileRecord& profile) : host_(host), profile_(profile) {}
  // A hidden child of `parent` at `at`, editing `entry` (the key page's copy
  // of the key, which outlives the page).
  bool create(HWND parent, POINT at, EditEntry& entry);
  // Rebuilds the list from both libraries and selects the entry's macro, or
  // nothing when the entry carries none (macroListIndex -1 then). The entry
  // holds the selected macro's steps and texts afterwards.
  void refresh();
  void show(bool visible);
  // Called after a manager closed with OK: the entry follows a rename, then
  // takes the library's macro of its name again, or becomes a default key
  // when it is gone.
  void entryFromLibraries(const LibraryRenames& renames);

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;

 private:
  SkinListBox* list() const;
  void openManagerMenu();
  void choose(int line);

  OptionHost& host_;
  const ProfileRecord& profile_;
  EditEntry* entry_ = nullptr;
};
