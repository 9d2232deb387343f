#pragma once
// The launch application page: the programs of the launch list (shared by
// every key and profile) by name; selecting one binds the key to it.

#include <string>
#include <vector>

#include "KeySubPages_win.h"

class SkinListBox;

class LaunchAppPage : public AssignSubPage {
 public:
  using AssignSubPage::AssignSubPage;
  bool create(HWND parent, POINT at) override;
  void refresh() override;

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;

 private:
  SkinListBox* list() const;
  std::vector<std::string> paths() const;
  void addProgram();
  void deleteProgram();
  void selectLine(int line);

  AppList& apps() { return host_.lists().launchApps; }
};
