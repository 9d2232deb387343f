#pragma once
// Character filters of the skinned edit field.

#include <string>
#include <string_view>

enum class EditFilter { None, Decimal, Hexadecimal };

bool IsEditCharAllowed(EditFilter filter, char c);
// The text with every character the filter refuses removed, order kept.
std::string FilterEditText(EditFilter filter, std::string_view text);

// The two filters of an edit are separate settings; with both on, the
// decimal one runs first and the hexadecimal one over its result.
struct EditFilters {
  bool decimal = false;
  bool hexadecimal = false;
  bool any() const { return decimal || hexadecimal; }
};
std::string FilterEditText(EditFilters filters, std::string_view text);
