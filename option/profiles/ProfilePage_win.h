#pragma once
// The profile page of one profile: programs linked to it, a copy onto another
// profile, a reset, and the profile written to a file or read from one. The
// page works on a copy of its list; nothing takes effect before OK: then a
// profile file chosen with Import replaces the profile, and the main window
// takes the list as the profile's links, copies and resets (applyProfilePage).

#include <memory>
#include <string>

#include "OptionHost_win.h"
#include "ProfilePageRules.h"
#include "ProfileShare.h"
#include "SkinDialog_win.h"

class SkinListBox;

class ProfilePage : public SkinDialog {
 public:
  ProfilePage(OptionHost& host, int page)
      : host_(host), state_(ProfilePageState::opened(page)), apps_(host.lists().profileApps[page - 1]) {}
  // Runs the page; true after OK.
  bool open(HWND owner);
  const ProfilePageState& state() const { return state_; }
  // The programs on the page when it closed.
  const AppList& programs() const { return apps_; }

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onInit() override;
  void onCommand(int id, int code, HWND control) override;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintOver(HDC dc) override;
  bool preTranslate(MSG& msg) override;

 private:
  AppList& apps() { return apps_; }
  SkinListBox* list() const;
  void addProgram();
  void removeProgram();
  void chooseCopyTarget();
  void showCopyTarget();
  void clickReset();
  void showResetArmed();
  void showSelectedPath();
  void exportProfile();
  void chooseImport();
  void importChosen();
  void setStatus(const std::string& status);
  HWND createNameField(const SkinPosition& position);
  void showName(const std::string& name);
  void takeName();

  OptionHost& host_;
  ProfilePageState state_;
  AppList apps_;
  std::string help_;                       // the help area's text while the mouse is over a control
  std::string status_;                     // what the last export or import did, shown otherwise
  std::unique_ptr<SharedProfile> import_;  // read and checked; replaces the profile at OK
};
