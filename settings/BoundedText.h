#pragma once
// The fixed-size texts of the settings records and the libraries: what a
// field holds up to its terminator, a field set from a text (cut to fit and
// terminated), and names compared as the libraries compare them (blanks
// around them and the case of ASCII letters do not count).

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

template <size_t N>
std::string_view boundedText(const char (&field)[N]) {
  return std::string_view(field, strnlen(field, N));
}

template <size_t N>
void setBoundedText(char (&field)[N], std::string_view text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

inline std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

inline bool equalIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

inline bool sameName(std::string_view a, std::string_view b) {
  return equalIgnoringCase(trimBlanks(a), trimBlanks(b));
}

// The n-th name offered for `base` where names must differ: "Name" (n = 1),
// "Name (2)", "Name (3)", ..., cut to `limit` characters with the number kept.
inline std::string numberedName(std::string_view base, int n, size_t limit) {
  const std::string suffix = n == 1 ? "" : " (" + std::to_string(n) + ")";
  const std::string_view cut = base.substr(0, limit > suffix.size() ? limit - suffix.size() : 0);
  return std::string(trimBlanks(cut)) + suffix;
}
// How far a search for a free numbered name goes.
constexpr int kMaxFreeNameTries = 9999;
