#include "OsdPayload.h"

#include <cstring>

namespace osd {

std::optional<std::string> parseOsdPayload(const void* data, size_t size) {
  if (data == nullptr || size < kOsdPayloadSize) return std::nullopt;
  const char* text = static_cast<const char*>(data) + kOsdTextOffset;
  const void* zero = std::memchr(text, 0, kOsdMaxText);
  const size_t length = zero ? size_t(static_cast<const char*>(zero) - text) : kOsdMaxText;
  std::string result(text, length);
  for (char& c : result)
    if (c == '\r' || c == '\n') c = ' ';
  return result;
}

}  // namespace osd
