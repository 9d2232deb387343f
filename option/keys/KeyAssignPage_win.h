#pragma once
// The key assignment page: the modal dialog that edits one key's entry (a copy
// the main window filled), with the category and play mode selectors, the
// play count and repeat delay, the trigger, and one sub-page per category.
// OK hands the entry back to the main window with UM_KEY_ASSIGNED.

#include <array>
#include <memory>
#include <string>

#include "KeyPageRules.h"
#include "KeySubPages_win.h"
#include "MacroPage_win.h"
#include "OptionHost_win.h"
#include "SkinDialog_win.h"

class KeyAssignPage : public SkinDialog {
 public:
  // `profile` is the profile the key belongs to: the page reads it (the key
  // limit, the stored key) and OK remaps in it, whichever profile the window
  // shows by then.
  KeyAssignPage(OptionHost& host, EditEntry& entry, ProfileRecord& profile)
      : host_(host), entry_(entry), profile_(profile) {}
  ~KeyAssignPage() override;
  // Runs the page; true after OK (UM_KEY_ASSIGNED is then posted to the host).
  bool open(HWND owner);

  static constexpr int kPlayCountEditId = 5011;
  static constexpr int kRepeatDelayEditId = 5010;

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onInit() override;
  void onCommand(int id, int code, HWND control) override;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void onDestroyed() override;
  void paintOver(HDC dc) override;

 private:
  AssignSubPage* subPage(KeySubPage which);  // made when first needed
  MacroPage* macroPage();
  POINT subPageOrigin() const;
  void refresh();
  void showCategory();
  void applyEnabling(const KeyControlStates& states);
  void showPlayMode();
  void showTrigger();
  void openCategoryMenu();
  void openPlayModeMenu();
  void checkPlayCount();
  void confirm();
  void stopCapture();
  std::string editText(int key) const;

  OptionHost& host_;
  EditEntry& entry_;
  ProfileRecord& profile_;
  std::string keyName_;
  static constexpr size_t kSubPageCount = 6;
  std::array<std::unique_ptr<AssignSubPage>, kSubPageCount> subPages_;  // all but the macro page
  AssignSubPage* shown_ = nullptr;
  std::unique_ptr<MacroPage> macroPage_;  // category 5: recorded and text macros
  std::array<bool, kSubPageCount> made_{};
  bool macroMade_ = false;
};
