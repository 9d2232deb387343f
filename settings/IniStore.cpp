#include "IniStore.h"

#include <array>
#include <cstdint>

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

void encodeStructTo(std::string& out, const void* buffer, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  out.resize(2 * size + 2);
  char* at = out.data();
  uint8_t sum = 0;
  for (size_t i = 0; i < size; ++i) {
    at[2 * i] = kHex[bytes[i] >> 4];
    at[2 * i + 1] = kHex[bytes[i] & 15];
    sum = uint8_t(sum + bytes[i]);
  }
  at[2 * size] = kHex[sum >> 4];
  at[2 * size + 1] = kHex[sum & 15];
}

std::string encodeStruct(const void* buffer, size_t size) {
  std::string out;
  encodeStructTo(out, buffer, size);
  return out;
}

bool isEncodingOf(std::string_view text, const void* buffer, size_t size) {
  if (text.size() != 2 * size + 2) return false;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  uint8_t sum = 0;
  for (size_t i = 0; i < size; ++i) {
    if (text[2 * i] != kHex[bytes[i] >> 4] || text[2 * i + 1] != kHex[bytes[i] & 15]) return false;
    sum = uint8_t(sum + bytes[i]);
  }
  return text[2 * size] == kHex[sum >> 4] && text[2 * size + 1] == kHex[sum & 15];
}

bool decodeStruct(std::string_view text, void* buffer, size_t size) {
  if (text.size() != 2 * size + 2) return false;
  // Checked whole first: a damaged value must leave the caller's record as
  // it was.
  uint8_t sum = 0, byte = 0;
  for (size_t i = 0; i <= size; ++i) {
    const int hi = hexValue(text[2 * i]), lo = hexValue(text[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    byte = uint8_t(hi << 4 | lo);
    if (i < size) sum = uint8_t(sum + byte);
  }
  if (sum != byte) return false;
  auto* out = static_cast<uint8_t*>(buffer);
  for (size_t i = 0; i < size; ++i) out[i] = uint8_t(hexValue(text[2 * i]) << 4 | hexValue(text[2 * i + 1]));
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
