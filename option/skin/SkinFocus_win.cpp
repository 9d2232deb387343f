#include "SkinFocus_win.h"

#include <vector>

#include "FocusRules.h"
#include "Handle_win.h"
#include "SkinControl_win.h"

namespace {
bool g_marksShown = false;

bool isEditWindow(HWND window) {
  char name[16] = {};
  return window && GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, "Edit") == 0;
}

// Enter and Escape belong to the focused control when it says so (a line
// editor ends its edit with them, the keyboard picture opens a key, a text of
// several lines starts a new line with Enter).
bool wantsKey(HWND focus, UINT key) {
  if (!focus) return false;
  const LONG_PTR style = GetWindowLongPtrA(focus, GWL_STYLE);
  if (key == VK_RETURN && isEditWindow(focus) && (style & ES_MULTILINE)) return true;
  const auto taken = reinterpret_cast<UINT_PTR>(GetPropA(focus, kTakesKeysProperty));
  if (key == VK_RETURN) return (taken & kTakesEnter) != 0;
  if (key == VK_ESCAPE) return (taken & kTakesEscape) != 0;
  return false;
}

SkinControl* pressableAt(HWND window) {
  SkinControl* control = SkinControl::FromWindow(window);
  return control && control->pressable() ? control : nullptr;
}

void repaintFocus() {
  if (HWND focus = GetFocus()) InvalidateRect(focus, nullptr, FALSE);
}

void collect(HWND parent, HWND root, std::vector<HWND>& stops) {
  std::vector<HWND> children;
  std::vector<SkinRect> rects;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child) || !IsWindowEnabled(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    if (r.right <= r.left || r.bottom <= r.top) continue;  // nowhere to be seen or clicked
    MapWindowPoints(nullptr, root, reinterpret_cast<POINT*>(&r), 2);
    children.push_back(child);
    rects.push_back({r.left, r.top, r.right, r.bottom});
  }
  for (size_t i : ReadingOrder(rects)) {
    HWND child = children[i];
    if (GetWindowLongPtrA(child, GWL_STYLE) & WS_TABSTOP)
      stops.push_back(child);
    else
      collect(child, root, stops);  // a page, or a field made of several windows
  }
}

void moveFocus(HWND root, bool backwards) {
  std::vector<HWND> stops;
  CollectTabStops(root, stops);
  HWND focus = GetFocus();
  int current = -1;
  for (HWND at = focus; at && at != root && current < 0; at = GetParent(at))
    for (size_t i = 0; i < stops.size(); ++i)
      if (stops[i] == at) current = int(i);
  const int next = NextTabIndex(int(stops.size()), current, backwards);
  if (next < 0) return;
  SetFocusMarksShown(true);
  HWND target = stops[size_t(next)];
  SetFocus(target);
  if (isEditWindow(target)) SendMessageA(target, EM_SETSEL, 0, -1);  // typing replaces, as in any dialog
}

bool isNavigationKey(WPARAM key) {
  return key == VK_TAB || key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}
}  // namespace

void CollectTabStops(HWND root, std::vector<HWND>& stops) {
  stops.clear();
  if (root) collect(root, root, stops);
}

bool ShowsFocusMark(HWND control) { return g_marksShown && control && GetFocus() == control; }

void SetFocusMarksShown(bool shown) {
  if (shown == g_marksShown) return;
  g_marksShown = shown;
  repaintFocus();
}

void DrawFocusMark(HDC dc, const RECT& rect) {
  // White at two thirds over the dark and the red pictures alike, two pixels
  // in from the edge, where no picture of the skin draws a line of its own.
  RECT frame = rect;
  InflateRect(&frame, -2, -2);
  if (frame.right - frame.left < 4 || frame.bottom - frame.top < 4) frame = rect;
  UniqueBrush brush(CreateSolidBrush(RGB(0xE6, 0xE6, 0xE6)));
  FrameRect(dc, &frame, brush.get());
}

bool PressControl(HWND window) {
  SkinControl* control = pressableAt(window);
  if (!control || !IsWindowVisible(window) || !IsWindowEnabled(window)) return false;
  if (GetFocus() != window && control->takesFocusOnPress()) SetFocus(window);
  control->press();
  return true;
}

void PressButtonWindow(HWND button, bool toggle, bool& checked) {
  HWND parent = GetParent(button);
  const WPARAM command = MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED);
  if (toggle) {
    checked = !checked;
    InvalidateRect(button, nullptr, FALSE);
    NotifyCheckChanged(button);
    if (parent) SendMessageA(parent, WM_COMMAND, command, reinterpret_cast<LPARAM>(button));
    return;
  }
  if (parent) PostMessageA(parent, WM_COMMAND, command, reinterpret_cast<LPARAM>(button));
}

void NotifyCheckChanged(HWND button) {
  NotifyWinEvent(EVENT_OBJECT_STATECHANGE, button, OBJID_CLIENT, CHILDID_SELF);
}

std::vector<HWND> UnnamedControls(HWND root) {
  std::vector<HWND> unnamed;
  EnumChildWindows(
      root,
      [](HWND child, LPARAM data) {
        // The stored text, without a message: the window may be another program's.
        WCHAR text[4] = {};
        if (IsWindowVisible(child) && !isEditWindow(child) && InternalGetWindowText(child, text, 4) == 0)
          reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&unnamed));
  return unnamed;
}

void NameControl(HWND control, const std::string& name) {
  if (!control || name.empty()) return;
  // The same name again (a caption set on every refresh) costs no repaint.
  char current[512] = {};
  if (GetWindowTextA(control, current, sizeof current) == int(name.size()) && name == current) return;
  SetWindowTextA(control, name.c_str());
}

bool TranslateFocusKey(HWND root, const MSG& msg, const DialogKeys& keys) {
  if (!root || !msg.hwnd || (msg.hwnd != root && !IsChild(root, msg.hwnd))) return false;
  if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN) {
    SetFocusMarksShown(false);
    return false;
  }
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  // Keys come as WM_SYSKEYDOWN also when no control has the focus: Alt is the
  // key's own context bit, not the message.
  const bool alt = (HIWORD(msg.lParam) & KF_ALTDOWN) != 0;
  HWND focus = GetFocus();
  if (focus && focus != root && !IsChild(root, focus)) focus = nullptr;
  if (isNavigationKey(msg.wParam)) SetFocusMarksShown(true);

  // Shift+F10 and the menu key: the focused control's menu, as a right click.
  if ((msg.wParam == VK_APPS && msg.message == WM_KEYDOWN) || (msg.wParam == VK_F10 && shift)) {
    if (focus && focus != root) SendMessageA(focus, WM_CONTEXTMENU, WPARAM(focus), LPARAM(-1));
    return true;
  }

  FocusContext context;
  context.button = focus && pressableAt(focus);
  context.wantsKey = wantsKey(focus, UINT(msg.wParam));
  switch (DialogKeyAction(unsigned(msg.wParam), shift, alt, ctrl, context)) {
    case KeyAction::Pass:
      return false;
    case KeyAction::NextControl:
    case KeyAction::PreviousControl:
      moveFocus(root, shift);
      return true;
    case KeyAction::Press:
      if ((msg.lParam & (1L << 30)) == 0) PressControl(focus);  // once, not again while the key repeats
      return true;
    case KeyAction::Ok:
      if ((msg.lParam & (1L << 30)) == 0 && keys.ok) PressControl(keys.ok);
      return true;
    case KeyAction::Cancel:
    case KeyAction::Close:
      // Alt+F4 too goes the way of the Cancel or close button (the main
      // window's asks about unapplied edits first).
      if ((msg.lParam & (1L << 30)) != 0) return true;
      // A Cancel that cannot be pressed now (while a macro records) holds the window.
      if (keys.cancel)
        PressControl(keys.cancel);
      else
        PostMessageA(root, WM_CLOSE, 0, 0);
      return true;
  }
  return false;
}
