#pragma once
// The keyboard in the skinned windows (rules in FocusRules.h): Tab walks the
// controls in reading order, Enter and Space press the focused button, Enter
// is OK and Escape Cancel, Alt+F4 closes, Shift+F10 and the menu key open a
// control's menu. The focus mark shows once a key has moved the focus, as the
// system's own focus rectangles do, and goes with the next mouse press: a
// window used with the mouse looks as it always did.

#include <windows.h>

#include <string>
#include <vector>

// Window property of a control that takes Enter or Escape itself (bits).
constexpr char kTakesKeysProperty[] = "QuillonTakesKeys";
constexpr UINT_PTR kTakesEnter = 1, kTakesEscape = 2;

// The buttons Enter and Escape press in a window (null: none; Escape then
// closes the window as its close box would).
struct DialogKeys {
  HWND ok = nullptr;
  HWND cancel = nullptr;
};

// Handles a key message of `root` or of one of its controls. True when it
// was handled and must not be dispatched.
bool TranslateFocusKey(HWND root, const MSG& msg, const DialogKeys& keys);

// The controls Tab stops at inside `root`, in order.
void CollectTabStops(HWND root, std::vector<HWND>& stops);

// Whether `control` shows the focus mark now.
bool ShowsFocusMark(HWND control);
// A key moved the focus (true) or the mouse was pressed (false): the focused
// control repaints with or without its mark.
void SetFocusMarksShown(bool shown);
// The focus mark over a control's picture: a light frame inside its edge.
void DrawFocusMark(HDC dc, const RECT& rect);

// Presses a control that can be pressed (a skinned button) as a click would:
// the focus moves to it first, so that what the focused field had typed
// settles before the press arrives. False when it cannot be pressed now.
bool PressControl(HWND control);

// The press of a skinned button from the keyboard: a toggle flips `checked`
// and tells its parent at once, as its click does; a push button's command
// is posted, after what the focus change has posted.
void PressButtonWindow(HWND button, bool toggle, bool& checked);
// BM_GETCHECK of a skinned button.
inline LRESULT CheckStateOf(bool checked) { return checked ? BST_CHECKED : BST_UNCHECKED; }
// Tells screen readers that a button's checked state changed.
void NotifyCheckChanged(HWND button);

// The visible windows below `root` that carry no text for a screen reader to
// say (edit fields say what is typed in them and are left out); for checks.
std::vector<HWND> UnnamedControls(HWND root);

// Gives `control` `name` as its window text, which screen readers announce;
// an empty name leaves the text as it is.
void NameControl(HWND control, const std::string& name);
