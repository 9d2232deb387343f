#pragma once

#include <string>

// The folder of the running executable, always with a trailing backslash.
std::string programFolder();
// The folder of the module (EXE or DLL) that holds `address`.
std::string moduleFolder(const void* address);
