#include "NumberText.h"

#include <limits>

namespace {
constexpr long long kSaturation = std::numeric_limits<int>::max();

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

long long parseLeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if (value < kSaturation) value = value * 10 + (text[i] - '0');
  if (value > kSaturation) value = kSaturation;
  return negative ? -value : value;
}

ClampedNumber clampTypedNumber(std::string_view text, int low, int high) {
  const long long typed = parseLeadingNumber(text);
  if (typed < low) return {low, true};
  if (typed > high) return {high, true};
  return {int(typed), false};
}

std::string numberText(int value) { return std::to_string(value); }
