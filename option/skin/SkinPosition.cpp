#include "SkinPosition.h"

#include <algorithm>
#include <cstdio>
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

  // sscanf needs a terminated string; the numbers follow the first comma.
  std::string numbers(value.substr(firstComma + 1));
  int x = 0, y = 0, w = 0, h = 0;
  if (std::sscanf(numbers.c_str(), "%d,%d,%d,%d", &x, &y, &w, &h) == 4) {
    const auto bounded = [](int v) { return std::clamp(v, -kSkinCoordinateLimit, kSkinCoordinateLimit); };
    x = bounded(x), y = bounded(y), w = bounded(w), h = bounded(h);
    pos.rect = {x, y, x + w, y + h};
  }
  size_t lastComma = value.rfind(',');
  copyBounded(pos.text, sizeof pos.text, trim(value.substr(lastComma + 1)));
  return pos;
}
