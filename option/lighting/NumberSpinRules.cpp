#include "NumberSpinRules.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {
// A step below 1 would divide by zero; it means single steps.
int stepOf(const SpinRange& range) { return std::max(range.step, 1); }

// The nearest multiple of the step, also below zero: the division rounds
// down, not towards zero, or a negative value would round up past the range.
int roundToStep(int64_t value, int step) {
  const int64_t shifted = value + step / 2;
  const int64_t quotient = shifted / step - (shifted % step < 0 ? 1 : 0);
  const int64_t rounded = step * quotient;
  return int(std::clamp<int64_t>(rounded, INT_MIN, INT_MAX));
}
}  // namespace

int SpinTextLimit(const SpinRange& range) {
  return int(SpinText(range.maximum).size()) + (range.minimum < 0 ? 1 : 0);
}

int ParseSpinText(std::string_view text) {
  size_t at = text.find_first_not_of(" \t");
  if (at == std::string_view::npos) return 0;
  bool negative = false;
  if (text[at] == '-' || text[at] == '+') negative = text[at++] == '-';
  int64_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10 + (text[at] - '0');
    if (value > int64_t(INT_MAX) + 1) break;  // saturates below
  }
  if (negative) value = -value;
  return int(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

SpinSettled SettleSpinValue(const SpinRange& range, int typed) {
  // Not std::clamp: a range given upside down must not be undefined behaviour.
  int value = std::max(range.minimum, std::min(roundToStep(typed, stepOf(range)), range.maximum));
  return {value, value != typed};
}

std::optional<int> SpinUp(const SpinRange& range, int value) {
  if (value > range.maximum) return std::nullopt;
  int step = stepOf(range);
  int next = int(std::min<int64_t>(int64_t(value) + step, range.maximum));
  return roundToStep(std::max(next, range.minimum), step);
}

std::optional<int> SpinDown(const SpinRange& range, int value) {
  if (value < range.minimum) return std::nullopt;
  int step = stepOf(range);
  int next = int(std::max<int64_t>(int64_t(value) - step, range.minimum));
  return roundToStep(std::min(next, range.maximum), step);
}

std::string SpinText(int value) { return std::to_string(value); }
