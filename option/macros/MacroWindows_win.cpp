#include "MacroWindows_win.h"

void ShowBeside(BalloonTip& balloon, HWND control, const std::string& text) {
  RECT r{};
  if (!control || !GetWindowRect(control, &r)) return;
  const POINT at{(r.left + r.right) / 2, r.top};
  balloon.show(text, 0, 0, &at);
}

std::string NameCutNote(WPARAM kept) {
  return "A name keeps " + std::to_string(kept) + " characters;\nwhat you type beyond is cut.";
}

SkinListBox* CreateMacroList(HWND parent, int id, const SkinPosition& position, int identifier) {
  return SkinListBox::CreateOnPage(parent, id, position, identifier, kMacroListBackground,
                                   kMacroListSelection, kMacroListText);
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(size_t(length) + 1, '\0');
  const int got = GetWindowTextA(window, text.data(), length + 1);
  text.resize(size_t(got > 0 ? got : 0));
  return text;
}

int SelectedLine(const SkinListBox& list) { return int(SendMessageA(list.hwnd(), LB_GETCURSEL, 0, 0)); }

void SelectLine(const SkinListBox& list, int line) {
  SendMessageA(list.hwnd(), LB_SETCURSEL, WPARAM(line), 0);
}

void ReplaceLines(SkinListBox& list, const std::vector<std::string>& lines) {
  SendMessageA(list.hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(list.hwnd(), LB_RESETCONTENT, 0, 0);
  for (const std::string& line : lines) list.addLine(line, 0);
  SendMessageA(list.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list.hwnd(), nullptr, TRUE);
}

void ReplaceLineText(SkinListBox& list, int line, const std::string& text) {
  if (line < 0 || line >= list.count()) return;
  const unsigned data = list.lineData(line);
  const bool selected = SelectedLine(list) == line;
  SendMessageA(list.hwnd(), LB_DELETESTRING, WPARAM(line), 0);
  list.insertLine(line, text, data);
  if (selected) SelectLine(list, line);
}

void FillStepMenu(SkinMenu& menu, const std::vector<StepMenuItem>& items,
                  const std::function<std::string(int)>& text) {
  for (const StepMenuItem& item : items) {
    if (item.children.empty()) {
      menu.append(unsigned(item.command), text(item.textId));
      if (!item.enabled) EnableMenuItem(menu.handle(), UINT(item.command), MF_BYCOMMAND | MF_GRAYED);
      continue;
    }
    // The mouse buttons' menu holds one menu per button, each of three entries.
    const bool buttonMenu = item.children.front().children.empty();
    SkinMenu* sub =
        menu.appendSubMenu(text(item.textId), buttonMenu ? kButtonMenuMinWidth : kMouseMenuMinWidth);
    if (sub) FillStepMenu(*sub, item.children, text);
  }
}

bool IsMouseButtonDown(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
      return true;
  }
  return false;
}

bool LeavesEditorOf(const SkinListBox* list, const MSG& msg) {
  if (!list || !list->editing()) return false;
  HWND editor = list->editorWindow();
  return msg.hwnd != editor && !IsChild(editor, msg.hwnd);
}
