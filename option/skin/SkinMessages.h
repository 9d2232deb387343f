#pragma once
// Every window message of the skinned controls. All are posted, except the
// toggle buttons' WM_COMMAND, which is sent.

constexpr unsigned kSkinWmUser = 0x0400;

// Slider value changed (thumb to its track, track forwards to the page).
// wParam: new value. lParam: the slider's control identifier.
constexpr unsigned MSG_SLIDER_POS = kSkinWmUser + 70;  // 1094
// BitmapEdit finished. wParam: 0 on loss of focus, 13 when Enter was released. lParam: 0.
constexpr unsigned MSG_EDIT_DONE = kSkinWmUser + 92;  // 1116
// Mouse entered or left a button. wParam: 1 entered, 0 left. lParam: the button's tag.
constexpr unsigned MSG_CONTROL_HOVER = kSkinWmUser + 100;  // 1124
// To the main window: quick-help text changed. wParam: 1 show, 0 clear. lParam: 0.
constexpr unsigned MSG_SHOW_HELP = kSkinWmUser + 101;  // 1125
// SkinListBox: a new line was committed. wParam: line index. lParam: list identifier.
constexpr unsigned MSG_LIST_ITEM_ADDED = 1524;
// SkinListBox: a line was renamed. wParam: line index. lParam: list identifier.
constexpr unsigned MSG_LIST_ITEM_EDITED = 1526;
// SkinListBox: the line's editor holds more than a name keeps (or refused a
// character at its limit). wParam: the characters kept. lParam: list identifier.
constexpr unsigned MSG_LIST_NAME_CUT = 1527;
// SkinListBox: right button pressed over the list, or its menu asked for from
// the keyboard. wParam: 0 mouse, 1 keyboard. lParam: list identifier.
constexpr unsigned MSG_LIST_RCLICK = 1724;
// BitmapEdit to its parent: Up or Down pressed. wParam: the key. Answer: 1 when the parent stepped.
constexpr unsigned MSG_EDIT_ARROW = 1792;

// Notifications a skinned parent reflects back to the control that caused them:
// MSG_REFLECT_BASE + WM_DRAWITEM, + WM_CTLCOLOREDIT, + WM_COMMAND ... with the
// original wParam and lParam. Answer: nonzero when the control handled it.
constexpr unsigned MSG_REFLECT_BASE = kSkinWmUser + 0x1C00;  // 8192

// Registered message posted by BitmapEdit after every text change. wParam 0, lParam 0.
constexpr const char kBitmapEditKillFocusName[] = "BitmapEdit_KillFocus";
// Window property in which the menu-frame hook keeps a menu's previous procedure.
constexpr const char kMenuOldProcProperty[] = "CoolMenu_oldProc";
// Window class of the mask-shaped buttons.
constexpr const char kRegionButtonClass[] = "Rgn Button";
