#include "SkinPosition.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

void copyBounded(char* target, size_t size, std::string_view source) {
  size_t n = source.size() < size - 1 ? source.size() : size - 1;
  std::memcpy(target, source.data(), n);
  target[n] = '\0';
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// "%d,%d,%d,%d", each number cut to the coordinate limit; false when one is missing.
bool readNumbers(const char* at, int32_t (&n)[4]) {
  for (int i = 0; i < 4; ++i) {
    char* end = nullptr;
    const long long number = std::strtoll(at, &end, 10);
    if (end == at) return false;
    n[i] = int32_t(std::clamp<long long>(number, -kSkinCoordinateLimit, kSkinCoordinateLimit));
    if (i < 3 && *end != ',') return false;
    at = end + 1;
  }
  return true;
}

}  // namespace

SkinPosition ParseSkinPosition(std::string_view value) {
  SkinPosition pos;
  size_t firstComma = value.find(',');
  if (firstComma == std::string_view::npos) {
    // No fields at all: only a name, nothing to place.
    copyBounded(pos.name, sizeof pos.name, value);
    return pos;
  }
  copyBounded(pos.name, sizeof pos.name, value.substr(0, firstComma));

  // Four numbers separated by commas directly after the first comma.
  const std::string numbers(value.substr(firstComma + 1));
  int32_t n[4] = {};
  if (readNumbers(numbers.c_str(), n)) pos.rect = {n[0], n[1], n[0] + n[2], n[1] + n[3]};
  size_t lastComma = value.rfind(',');
  copyBounded(pos.text, sizeof pos.text, trim(value.substr(lastComma + 1)));
  return pos;
}
