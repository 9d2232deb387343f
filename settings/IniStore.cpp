#include "IniStore.h"

#include <array>
#include <cstdint>
#include <vector>

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// Digit values by character, -1 for anything that is not a hex digit.
constexpr auto kHexValues = [] {
  std::array<int8_t, 256> values{};
  values.fill(-1);
  for (int c = '0'; c <= '9'; ++c) values[c] = int8_t(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) values[c] = int8_t(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) values[c] = int8_t(c - 'a' + 10);
  return values;
}();

int hexValue(char c) { return kHexValues[uint8_t(c)]; }

}  // namespace

std::string encodeStruct(const void* buffer, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  std::string out(2 * size + 2, '0');
  uint8_t sum = 0;
  for (size_t i = 0; i < size; ++i) {
    out[2 * i] = kHex[bytes[i] >> 4];
    out[2 * i + 1] = kHex[bytes[i] & 15];
    sum = uint8_t(sum + bytes[i]);
  }
  out[2 * size] = kHex[sum >> 4];
  out[2 * size + 1] = kHex[sum & 15];
  return out;
}

bool decodeStruct(std::string_view text, void* buffer, size_t size) {
  if (text.size() != 2 * size + 2) return false;
  // Decode aside first: a damaged value must leave the caller's record as it was.
  std::vector<uint8_t> bytes(size + 1);
  uint8_t sum = 0;
  for (size_t i = 0; i <= size; ++i) {
    const int hi = hexValue(text[2 * i]), lo = hexValue(text[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes[i] = uint8_t(hi << 4 | lo);
    if (i < size) sum = uint8_t(sum + bytes[i]);
  }
  if (sum != bytes[size]) return false;
  if (size) std::copy(bytes.begin(), bytes.end() - 1, static_cast<uint8_t*>(buffer));
  return true;
}

int parseIniInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > int64_t(1) << 32) value = int64_t(1) << 32;  // saturate, then wrap below
  }
  if (negative) value = -value;
  return int(uint32_t(value));
}
