#pragma once
// The number field with up and down arrows: its typing limit, its steps and
// what it makes of the typed text.

#include <optional>
#include <string>
#include <string_view>

struct SpinRange {
  int minimum = 0;
  int maximum = 0;
  int step = 1;
};
// The colour dialog's red, green and blue fields.
constexpr SpinRange kColorByteRange{0, 255, 1};

// Characters the edit accepts: the digits of the maximum, one more for a sign
// when the minimum is negative.
int SpinTextLimit(const SpinRange& range);

// Decimal integer after leading blanks; text without one gives 0. Values
// beyond int saturate instead of wrapping.
int ParseSpinText(std::string_view text);

// Rounded to a multiple of the step and clamped; `rewrite` when the edit must
// show `value` instead of what was typed.
struct SpinSettled {
  int value = 0;
  bool rewrite = false;
};
SpinSettled SettleSpinValue(const SpinRange& range, int typed);

// The arrows: nothing when the current value lies beyond the end they move to.
std::optional<int> SpinUp(const SpinRange& range, int value);
std::optional<int> SpinDown(const SpinRange& range, int value);

std::string SpinText(int value);
