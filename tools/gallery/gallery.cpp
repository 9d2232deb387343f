// gallery.exe <skin ini relative to skins\> [entryCount] | --all | --menu
// Shows skinned windows with the control of every position entry, to look at
// and to screenshot. A test tool; not shipped.
// commctrl.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdlib>
#include <string>

#include "GallerySkins.h"
#include "MenuFrameHook_win.h"
#include "SkinHelp_win.h"
#include "SkinMenu_win.h"
#include "SkinWindow_win.h"

namespace {

class ShowWindowOf : public SkinWindow {
 public:
  std::string folder;

 protected:
  HWND createControl(int ordinal, int, const SkinPosition& position,
                     const SkinStatePictures& pictures) override {
    return CreateGalleryControl(hwnd(), 1000 + ordinal, position, pictures, folder);
  }
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return SkinWindow::onMessage(message, wParam, lParam);
  }
};

// Runs messages for `milliseconds` (0: until the window closes).
void runFor(DWORD milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  MSG msg;
  for (;;) {
    if (milliseconds && GetTickCount() >= end) return;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  LoadSkinFonts();
  if (argc < 2) {
    std::fputs("usage: gallery <skin ini relative to skins\\> [entryCount] | --all\n", stderr);
    return 2;
  }
  std::string first = argv[1];
  if (first == "--menu") {
    // The lighting page's effect menu, open over the main window until the
    // user picks or dismisses it.
    InstallMenuFrameHook();
    ShowWindowOf window;
    const SkinSource source = GallerySource(SkinRoot(), "skin_Config.ini", 0);
    window.folder = source.pageFolder;
    if (!window.create(source, "Varnel Quillon Gallery", nullptr, false)) return 1;
    ShowWindow(window.hwnd(), SW_SHOW);
    runFor(300);
    SkinMenu menu("Play", 14, FW_NORMAL);
    menu.setMinimumWidth(133);
    menu.append(3001, "Static");
    menu.append(3002, "Breathing");
    menu.append(3003, "Wave", true);
    menu.append(kMenuSeparatorCommand, "");
    menu.append(3004, "Ripple");
    menu.append(3005, "Custom colours", false, true);
    SkinMenu* more = menu.appendSubMenu("Reactive", 133);
    more->append(3006, "Single key");
    more->append(3007, "Whole row");
    menu.check(3002, true);
    POINT at{40, 90};
    ClientToScreen(window.hwnd(), &at);
    menu.track(window.hwnd(), at.x, at.y);
    RemoveMenuFrameHook();
    return 0;
  }
  if (first == "--all") {
    for (const std::string& ini : GalleryIniFiles()) {
      ShowWindowOf window;
      const SkinSource source = GallerySource(SkinRoot(), ini, 0);
      window.folder = source.pageFolder;
      if (!window.create(source, ini.c_str(), nullptr, false)) continue;
      ShowWindow(window.hwnd(), SW_SHOW);
      runFor(1500);
    }
    return 0;
  }
  int count = argc > 2 ? std::atoi(argv[2]) : 0;
  ShowWindowOf window;
  const SkinSource source = GallerySource(SkinRoot(), first, count);
  window.folder = source.pageFolder;
  if (!window.create(source, first.c_str(), nullptr, false)) return 1;
  ShowWindow(window.hwnd(), SW_SHOW);
  runFor(0);
  return 0;
}
