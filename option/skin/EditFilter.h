#pragma once
// Character filters of the skinned edit field.

#include <string>
#include <string_view>

enum class EditFilter { None, Decimal, Hexadecimal };

bool IsEditCharAllowed(EditFilter filter, char c);
// The text with every character the filter refuses removed, order kept.
std::string FilterEditText(EditFilter filter, std::string_view text);
