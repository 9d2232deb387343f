// How soon the main window of Option.exe takes a click after a modal dialog
// closes: for each dialog the main window opens, a real click on its OK
// (Cancel for the reset warning, whose OK would start a reset) is followed at
// once by a press on the main window's help button, and the time runs from
// the OK until that button shows its pressed picture on the screen. Beside
// it, the same input with a click on the window's bare surface for the OK. Monitor.exe runs on the emulated
// keyboard; input goes through the input relay of tools/session.sh. Run under Wine from the build's bin
// folder:
//   dialog_bench.exe <program folder> [runs]
// Prints figures; judges nothing.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchCommon_win.h"
#include "MonitorMessages.h"
#include "Picture_win.h"
#include "SkinLoader_win.h"
#include "SkinPosition.h"

namespace {

constexpr int kHelpKey = 4, kProfilePageKey = 13, kResetKey = 19, kLightingTabKey = 2;
constexpr int kMainIdBase = 100;
constexpr POINT kBareSpot{328, 267};  // the main window's own surface, no control on it
constexpr UINT kMacroManagerCommand = 4001, kTextMacroManagerCommand = 4002;

std::string folder;

SkinRect skinRect(const std::string& ini, const char* section, int key) {
  char value[512] = {};
  GetPrivateProfileStringA(section, std::to_string(key).c_str(), "", value, sizeof value,
                           (folder + "skins\\" + ini).c_str());
  return ParseSkinPosition(value).rect;
}

POINT screenCentre(HWND window, const SkinRect& r, POINT offset = {0, 0}) {
  POINT p{offset.x + (r.left + r.right) / 2, offset.y + (r.top + r.bottom) / 2};
  ClientToScreen(window, &p);
  return p;
}

std::string at(POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

HWND mainWindow() { return FindWindowA(nullptr, kOptionWindowTitle); }

// A visible top-level window of Option.exe's thread other than the main window.
HWND openDialog() {
  struct Search {
    DWORD thread;
    HWND main, found;
  } search{GetWindowThreadProcessId(mainWindow(), nullptr), mainWindow(), nullptr};
  EnumWindows(
      [](HWND w, LPARAM l) {
        auto* s = reinterpret_cast<Search*>(l);
        char title[8] = {};
        if (w != s->main && GetWindowThreadProcessId(w, nullptr) == s->thread && IsWindowVisible(w) &&
            GetWindowTextA(w, title, sizeof title) > 0) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Dialog {
  const char* name;
  std::string ini;  // the dialog's skin, for the place of its OK
  int okKey;
  void (*open)();
};

void postCommand(UINT id) { PostMessageA(mainWindow(), WM_COMMAND, id, 0); }

// The key assignment page: F1 of the keyboard picture, pressed and released.
void openKeyPage() {
  HWND picture = FindWindowExA(mainWindow(), nullptr, "QuillonKeyboardPicture", nullptr);
  const SkinRect f1 = skinRect("skin_main.ini", "BUTTONPOS", 41);
  const LPARAM point = MAKELPARAM((f1.left + f1.right) / 2, (f1.top + f1.bottom) / 2);
  PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(picture, WM_LBUTTONUP, 0, point);
}

// The colour dialog: the static colour page's swatch on the lighting page.
void openColourDialog() {
  const SkinRect page = skinRect("skin_Config.ini", "PAGEPOSITION", 2);
  const SkinRect effect = skinRect("skin_color_control.ini", "BUTTONPOS", 6);
  const SkinRect swatch = skinRect("LightFX\\skin_CONSTANT.ini", "BUTTONPOS", 1);
  xdotool("mousemove --sync " +
          at(screenCentre(mainWindow(), swatch, {page.left + effect.left, page.top + effect.top})) +
          " click 1");
}

const Dialog kDialogs[] = {
    {"key assignment page", "buttons\\skin_set_button.ini", 7, openKeyPage},
    {"macro manager", "skin_macro_manager.ini", 1, [] { postCommand(kMacroManagerCommand); }},
    {"text macro manager", "skin_text_macro_manager.ini", 1, [] { postCommand(kTextMacroManagerCommand); }},
    {"profile page", "buttons\\skin_profile1.ini", 7, [] { postCommand(kMainIdBase + kProfilePageKey); }},
    {"reset warning (Cancel)", "skin_reset_warn.ini", 2, [] { postCommand(kMainIdBase + kResetKey); }},
    {"colour dialog", "LightFX\\skin_Color_Select.ini", 14, openColourDialog},
};

// The help button's pressed picture at its centre, from the skin itself.
COLORREF pressedColour(POINT centreInWindow) {
  char name[MAX_PATH] = {};
  GetPrivateProfileStringA("SCREEN", "Down", "", name, sizeof name,
                           (folder + "skins\\skin_Config.ini").c_str());
  UniqueBitmap down;
  SIZE size{};
  if (!LoadPictureFile(folder + "skins\\" + name, down, size)) return CLR_INVALID;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  HGDIOBJ old = SelectObject(dc.get(), down.get());
  const COLORREF colour = GetPixel(dc.get(), centreInWindow.x, centreInWindow.y);
  SelectObject(dc.get(), old);
  return colour;
}

bool closeTo(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
             std::abs(GetBValue(a) - GetBValue(b)) <
         24;
}

COLORREF screenPixel(POINT p) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

// Sends `before` and a press on the help button in one go; the time from
// sending until the button shows pressed, -1 when it never did. The button
// is let go again, which shows its balloon, and the balloon is sent away.
double pressAfter(const std::string& before, POINT help, COLORREF pressed) {
  const double start = nowMs();
  xdotool(before + " mousemove --sync " + at(help) + " mousedown 1");
  const double shown = until(
      start, [&] { return closeTo(screenPixel(help), pressed); }, 5000);
  xdotool("mouseup 1 mousemove 0 0");
  Sleep(300);
  xdotool("key Escape");
  return shown;
}

}  // namespace

int main(int argc, char** argv) {
  BenchArgs args;
  if (!parseBenchArgs(argc, argv, "dialog_bench", args)) return 2;
  folder = args.folder;
  if (!xdotool("mousemove 0 0")) {
    std::fprintf(stderr, "no input relay: run through tools/bench\n");
    return 1;
  }
  for (const char* name : {"Monitor.exe", "Option.exe", "lan.dll", "Play-Regular.ttf", "Play-Bold.ttf"})
    copyFile(args.dist + name, folder + name);
  copyFile(args.dist + "emulated\\hiddriver.dll", folder + "hiddriver.dll");
  copyTree(args.dist + "skins\\", folder + "skins\\");
  const std::string ini = folder + "config.ini";
  PROCESS_INFORMATION monitor = launch(folder + "Monitor.exe", folder);
  until(nowMs(), [&] { return GetPrivateProfileIntA("Setting", "Device", -1, ini.c_str()) == 1; });
  PROCESS_INFORMATION option = launch(folder + "Option.exe", folder);
  until(nowMs(), [] { return mainWindow() && IsWindowVisible(mainWindow()); });
  Sleep(1000);

  const SkinRect helpRect = skinRect("skin_Config.ini", "BUTTONPOS", kHelpKey);
  const POINT help = screenCentre(mainWindow(), helpRect);
  const COLORREF pressed =
      pressedColour({(helpRect.left + helpRect.right) / 2, (helpRect.top + helpRect.bottom) / 2});

  // The same input with a click on the window's bare surface (where the
  // firmware version is written) in place of the OK.
  POINT bare{kBareSpot.x, kBareSpot.y};
  ClientToScreen(mainWindow(), &bare);
  std::vector<double> alone;
  for (int i = 0; i < args.runs; ++i)
    alone.push_back(pressAfter("mousemove --sync " + at(bare) + " click 1", help, pressed));

  std::printf(
      "Option.exe: a dialog's OK, then at once a press on the main window, %d runs (median, min..max)\n",
      args.runs);
  printLine("click on the window -> shown pressed", alone, "ms");
  for (const Dialog& dialog : kDialogs) {
    if (dialog.open == openColourDialog)
      xdotool("mousemove --sync " +
              at(screenCentre(mainWindow(), skinRect("skin_Config.ini", "BUTTONPOS", kLightingTabKey))) +
              " click 1 mousemove 0 0");
    std::vector<double> times;
    for (int i = 0; i < args.runs; ++i) {
      Sleep(300);
      dialog.open();
      HWND shown = nullptr;
      until(
          nowMs(), [&] { return (shown = openDialog()) != nullptr; }, 10000);
      if (!shown) break;
      Sleep(500);  // painted and settled, as a user would look at it
      const POINT ok = screenCentre(shown, skinRect(dialog.ini, "BUTTONPOS", dialog.okKey));
      times.push_back(pressAfter("mousemove --sync " + at(ok) + " click 1", help, pressed));
      until(
          nowMs(), [&] { return !IsWindow(shown); }, 5000);
    }
    const std::string what = std::string("OK of the ") + dialog.name;
    printLine(what.c_str(), times, "ms", "<= 100 ms more");
  }

  PostMessageA(mainWindow(), WM_CLOSE, 0, 0);
  if (WaitForSingleObject(option.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(option.hProcess, 1);
  finish(option);
  PostMessageA(FindWindowA(nullptr, kMonitorWindowTitle), WM_COMMAND, ID_TRAY_EXIT, 0);
  WaitForSingleObject(monitor.hProcess, 30000);
  finish(monitor);
  removeTree(folder);
  return 0;
}
