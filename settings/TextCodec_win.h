#pragma once
// The platform's side of the texts: the settings' code page (the system's
// ANSI code page) against UTF-8 and the wide texts of paths and consoles.

#include <string>
#include <string_view>

#include "ProfileShare.h"

// The system's ANSI code page, converted through UTF-16.
const TextCodec& systemTextCodec();

std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);
