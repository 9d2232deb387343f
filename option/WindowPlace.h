#pragma once
// Where the configuration window was when it last closed: config.ini,
// [OptionWindow] Place=left,top,right,bottom (screen pixels).

#include <optional>
#include <string>

#include "SkinPosition.h"

constexpr char kWindowPlaceSection[] = "OptionWindow";
constexpr char kWindowPlaceKey[] = "Place";

// None when the key is missing or holds no sound rectangle (the file is
// anyone's to edit).
std::optional<SkinRect> ReadWindowPlace(const std::string& configIni);
// Under the write lock of config.ini, as every writer of the file.
bool WriteWindowPlace(const std::string& configIni, const SkinRect& place);
