// Option.exe: one configuration window per user session.
// commctrl.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "MainWindow_win.h"
#include "MenuFrameHook_win.h"
#include "OptionMessages.h"
#include "ProfileCommandLine_win.h"
#include "ProgramFolder_win.h"
#include "SkinHelp_win.h"
#include "SystemLibraries_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  UseSystemLibraryFolders();
  // Profiles to and from files run without a window, also beside an open one.
  if (const std::optional<int> exitCode = RunProfileCommandLine()) return *exitCode;

  // A second start leaves quietly; the first window stays where it is.
  UniqueHandle instance(CreateMutexA(nullptr, FALSE, kOptionInstanceMutexName));
  if (!instance || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  programFolder();
  InstallMenuFrameHook();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  LoadSkinFonts();
  {
    MainWindow window;
    window.run();
  }
  UnloadSkinFonts();
  RemoveMenuFrameHook();
  return 0;
}
