#pragma once
// The number fields of the managers: typed text read as a number and held
// inside its range while the user types.

#include <string>
#include <string_view>

// The leading decimal number of a text as the edit shows it ("250", "250 ms",
// " -3"); no digits read as 0. Saturates instead of overflowing.
long long parseLeadingNumber(std::string_view text);

struct ClampedNumber {
  int value = 0;
  bool clamped = false;  // the edit must show `value` instead of what was typed
};
ClampedNumber clampTypedNumber(std::string_view text, int low, int high);

std::string numberText(int value);
