#pragma once
// The profile page of one profile: programs linked to it, a copy onto another
// profile, and a reset. Nothing takes effect before OK; the main window then
// copies and resets (applyProfilePage) and saves the page's list.

#include <string>

#include "OptionHost_win.h"
#include "ProfilePageRules.h"
#include "SkinDialog_win.h"

class SkinListBox;

class ProfilePage : public SkinDialog {
 public:
  ProfilePage(OptionHost& host, int page) : host_(host), state_(ProfilePageState::opened(page)) {}
  // Runs the page; true after OK (linkedApps written from the list).
  bool open(HWND owner);
  const ProfilePageState& state() const { return state_; }

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onInit() override;
  void onCommand(int id, int code, HWND control) override;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintOver(HDC dc) override;

 private:
  AppList& apps() { return host_.lists().profileApps[state_.profile()]; }
  SkinListBox* list() const;
  void addProgram();
  void removeProgram();
  void chooseCopyTarget();
  void showCopyTarget();
  void clickReset();
  void showSelectedPath();

  OptionHost& host_;
  ProfilePageState state_;
  std::string help_;  // the help area's text
};
