#pragma once
// The OSD text that an outside program hands to the monitor by WM_COPYDATA.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace osd {

constexpr uint32_t kOsdDataId = 151;
constexpr size_t kOsdPayloadSize = 151;
constexpr size_t kOsdTextOffset = 1;
constexpr size_t kOsdMaxText = kOsdPayloadSize - kOsdTextOffset;

// The text of a payload, up to its zero and at most 150 bytes; nothing for a
// payload shorter than 151 bytes. Bytes past the 151st are never read.
// Line breaks become blanks: the text is stored as one INI value, and a
// sender must not be able to add keys or sections to config.ini.
std::optional<std::string> parseOsdPayload(const void* data, size_t size);

}  // namespace osd
