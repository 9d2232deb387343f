#include "ProgramFolder_win.h"
#include "SkinHelp_win.h"
#include "SkinMessages.h"

namespace {
std::string g_quickHelp;
HWND g_mainWindow = nullptr;
const char* const kFaces[] = {"Play-Regular.ttf", "Play-Bold.ttf"};
}  // namespace

const std::string& QuickHelpText() { return g_quickHelp; }
void SetQuickHelpText(const std::string& text) { g_quickHelp = text; }
void SetSkinMainWindow(HWND window) { g_mainWindow = window; }

void PostShowHelp(HWND from, WPARAM show) {
  HWND target = g_mainWindow ? g_mainWindow : GetAncestor(from, GA_ROOT);
  if (target) PostMessageA(target, MSG_SHOW_HELP, show, 0);
}

int LoadSkinFonts() {
  int added = 0;
  for (const char* face : kFaces) {
    std::string path = programFolder() + face;
    added += AddFontResourceExA(path.c_str(), FR_PRIVATE, nullptr) > 0 ? 1 : 0;
  }
  return added;
}

void UnloadSkinFonts() {
  for (const char* face : kFaces) {
    std::string path = programFolder() + face;
    RemoveFontResourceExA(path.c_str(), FR_PRIVATE, nullptr);
  }
}

bool ReflectToControl(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND control = nullptr;
  switch (message) {
    case WM_DRAWITEM:
      control = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
      break;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (mis->CtlType != ODT_MENU) control = GetDlgItem(parent, int(mis->CtlID));
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      control = reinterpret_cast<HWND>(lParam);
      break;
    case WM_COMMAND:
      control = reinterpret_cast<HWND>(lParam);
      break;
    default:
      return false;
  }
  if (!control || GetParent(control) != parent) return false;
  // Controls answer the reflected message with a nonzero result when they took it.
  result = SendMessageA(control, MSG_REFLECT_BASE + message, wParam, lParam);
  return result != 0;
}
