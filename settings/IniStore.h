#pragma once
// The INI accessor of the settings files, as an interface so that the
// profile and list logic runs over our in-memory files (IniFile), over the
// platform's private-profile functions (the reference, in tests and the
// benchmark) or over a fake.
//
// Values: strings of up to 2047 characters, decimal integers, and struct
// blocks written as two upper-case hex digits per byte plus two digits of
// the byte sum modulo 256.

#include <cstddef>
#include <string>
#include <string_view>

constexpr size_t kMaxIniString = 2047;

class IniStore {
 public:
  virtual ~IniStore() = default;
  virtual std::string readString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const = 0;
  virtual int readInt(std::string_view section, std::string_view key, int defaultValue) const = 0;
  // False, with `buffer` untouched, when the key is missing, has the wrong
  // length or fails its checksum.
  virtual bool readStruct(std::string_view section, std::string_view key, void* buffer,
                          size_t size) const = 0;
  virtual void writeString(std::string_view section, std::string_view key, std::string_view value) = 0;
  virtual void writeInt(std::string_view section, std::string_view key, int value) = 0;
  virtual void writeStruct(std::string_view section, std::string_view key, const void* buffer,
                           size_t size) = 0;
};

// The struct encoding, shared by every store.
std::string encodeStruct(const void* buffer, size_t size);
// The same into `out` (replacing what it held), so that a caller encoding
// many blocks reuses one buffer.
void encodeStructTo(std::string& out, const void* buffer, size_t size);
// Whether `text` is exactly encodeStruct(buffer, size), without making it.
bool isEncodingOf(std::string_view text, const void* buffer, size_t size);
bool decodeStruct(std::string_view text, void* buffer, size_t size);
// Decimal value as the platform reads it: leading blanks, optional sign,
// digits; anything else stops the number (no digits gives 0).
int parseIniInt(std::string_view text);
