#pragma once
// Program-wide pieces the skinned controls share: the quick-help text, the
// main window that shows it, the private "Play" typeface.

#include <windows.h>

#include <string>

const std::string& QuickHelpText();
void SetQuickHelpText(const std::string& text);
// The window that receives MSG_SHOW_HELP; when unset, the root of `from`.
void SetSkinMainWindow(HWND window);
void PostShowHelp(HWND from, WPARAM show);

// Adds "Play-Regular.ttf" and "Play-Bold.ttf" of the program folder for this
// process only; returns how many faces were added.
int LoadSkinFonts();
void UnloadSkinFonts();

// Hands WM_DRAWITEM, WM_CTLCOLOR* and WM_COMMAND back to the control that
// caused them (MSG_REFLECT_BASE + message). Call from a parent's window procedure; true when a control
// handled it.
bool ReflectToControl(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
