#pragma once
// The macro page: the key assignment page's sub-page for the macro category.
// One list of the library's macros followed by the text macros; choosing a
// line binds it to the edited key, and a menu opens either manager.
//
//   MacroPage page(host);
//   page.create(keyPageWindow, at, editEntry);   // once, hidden
//   page.show(true);  page.refresh();           // when category 5 is chosen
//   page.show(false);                            // for any other category

#include "OptionHost_win.h"
#include "SkinDialog_win.h"

class SkinListBox;

class MacroPage : public SkinPage {
 public:
  explicit MacroPage(OptionHost& host) : host_(host) {}
  // A hidden child of `parent` at `at`, editing `entry` (the key page's copy
  // of the key, which outlives the page).
  bool create(HWND parent, POINT at, EditEntry& entry);
  // Rebuilds the list from both libraries and selects the entry's macro, or
  // nothing when the entry carries none (macroListIndex -1 then).
  void refresh();
  void show(bool visible);
  // Called after a manager closed with OK: the entry takes the library's
  // macro of its name again, or becomes a default key when it is gone.
  void entryFromLibraries();

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;

 private:
  SkinListBox* list() const;
  void openManagerMenu();

  OptionHost& host_;
  EditEntry* entry_ = nullptr;
};
