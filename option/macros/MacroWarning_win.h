#pragma once
// The two questions of the macro managers: "delete this macro?", which names
// it and the keys that play it, and "there is no macro to record into",
// whose text is part of the skin picture.

#include <windows.h>

#include <string>

bool AskDeleteMacro(HWND owner, const std::string& question);
void WarnNoMacro(HWND owner);
