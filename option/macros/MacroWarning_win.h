#pragma once
// The two questions of the macro managers: "delete the selected macro?" and
// "there is no macro to record into". Their texts are part of the skin picture.

#include <windows.h>

bool AskDeleteMacro(HWND owner);
void WarnNoMacro(HWND owner);
