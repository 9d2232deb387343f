#pragma once
// Where both programs take their DLLs from: the system folder, and the
// program's own folder for its own libraries (hiddriver.dll, lan.dll) only.
// A DLL named like a system one and put beside the programs, or in the
// current folder, is never loaded in its stead.

#include <windows.h>

// First thing in WinMain: the search of every later load, the delay-loaded
// system DLLs included, leaves out the current folder and PATH.
void UseSystemLibraryFolders();
// A system DLL by its full path in the system folder; null when missing.
HMODULE LoadSystemLibrary(const char* name);
