#pragma once
// Repaints the border of every pop-up menu window of the UI thread in the skin
// colours: a window-procedure hook subclasses each menu window as it appears.

#include <windows.h>

#include <cstddef>

bool InstallMenuFrameHook();  // once, at start-up
void RemoveMenuFrameHook();   // at exit: restores every subclassed menu window
// How many menu windows are subclassed right now (0 when the table is freed).
size_t MenuFrameHookEntries();
