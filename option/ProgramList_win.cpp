#include "ProgramList_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstdio>

#include "OptionRules.h"
#include "SkinListBox_win.h"

std::string ChooseProgram(HWND owner) {
  char desktop[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOP, FALSE);
  char file[MAX_PATH] = {};
  std::snprintf(file, sizeof file, "%s\\.exe", desktop);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = "exe file(*.exe)\0*.EXE\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrInitialDir = desktop;
  dialog.lpstrDefExt = "exe";
  dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  return GetOpenFileNameA(&dialog) ? std::string(file) : std::string();
}

void RemoveSelectedProgram(SkinListBox& lines, AppList& programs) {
  const int selected = int(SendMessageA(lines.hwnd(), LB_GETCURSEL, 0, 0));
  if (selected < 0) return;
  SendMessageA(lines.hwnd(), LB_DELETESTRING, WPARAM(selected), 0);
  removeAt(programs, selected);
  SendMessageA(lines.hwnd(), LB_SETCURSEL, WPARAM(selectionAfterRemove(selected, lines.count())), 0);
}
