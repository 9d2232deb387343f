// A WM_COPYDATA payload from any program: the OSD text it gives is short,
// one line, and once stored in config.ini reads back as the one value it
// was, without adding keys or sections.

#include <cstring>
#include <vector>

#include "FuzzSupport.h"
#include "IniDocument.h"
#include "OsdPayload.h"
#include "ProfileFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Exactly the payload's bytes, so that a read past its end is caught.
  std::vector<uint8_t> payload(data, data + size);
  const auto text = osd::parseOsdPayload(payload.data(), payload.size());
  if (size < osd::kOsdPayloadSize) {
    FUZZ_CHECK(!text);
    return 0;
  }
  FUZZ_CHECK(text && text->size() <= osd::kOsdMaxText);
  FUZZ_CHECK(text->find_first_of("\r\n") == std::string::npos);
  FUZZ_CHECK(text->find('\0') == std::string::npos);

  const std::string path = configIniPath(fuzz::scratchFolder());
  fuzz::writeFile(path, "[Setting]\r\nCurrentProfile=1\r\n");
  FUZZ_CHECK(writeOsdMessage(path, *text));
  std::string stored;
  FUZZ_CHECK(readWholeFile(path, stored));
  const IniDocument doc = IniDocument::parse(stored);
  FUZZ_CHECK(doc.find("Setting", "CurrentProfile") == std::optional<std::string_view>("1"));
  // Three lines before, at most two more: the section header and the value.
  size_t lines = 0;
  for (char c : stored) lines += c == '\n';
  FUZZ_CHECK(lines <= 4);
  return 0;
}
