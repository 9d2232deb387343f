#pragma once
// The program lists of the launch page and the profile pages: choosing a
// program and removing one.

#include <windows.h>

#include <string>

#include "ListFiles.h"

class SkinListBox;

// The system's open-file dialog for programs, starting on the user's desktop
// (its proposed name "<desktop>\.exe"); empty when cancelled.
std::string ChooseProgram(HWND owner);
// Removes the selected line and its entry; then selects the line now at that
// place, or the last, or none. Nothing without a selection.
void RemoveSelectedProgram(SkinListBox& lines, AppList& programs);
