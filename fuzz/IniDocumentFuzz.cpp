// The INI document: any bytes parse; what was parsed serialises to the same
// bytes; an edit changes one line (or adds a key, and its section when
// missing) and keeps every other line's bytes; the struct encoding reads
// back what it wrote.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "IniDocument.h"
#include "IniStore.h"

namespace {

std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// `after` is `before` with lines inserted in one place and at most
// `replaced` lines of it changed there: the lines before and after that place
// are the same.
bool keepsLines(std::string_view before, std::string_view after, size_t replaced) {
  const auto a = linesOf(before), b = linesOf(after);
  size_t prefix = 0;
  while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
  size_t suffix = 0;
  while (prefix + suffix < a.size() && prefix + suffix < b.size() &&
         a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
    ++suffix;
  return a.size() - prefix - suffix <= replaced;
}

// Names and values that set() stores as one line and find() gives back
// unchanged: no line breaks or NULs, no blanks around them, nothing that
// makes the line a header or a comment, no '=' in a name, no quote pair
// around a value.
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool oneLine(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}
bool unpadded(std::string_view s) { return s.empty() || (!isBlank(s.front()) && !isBlank(s.back())); }

bool plainName(std::string_view s) {
  return !s.empty() && oneLine(s) && unpadded(s) && s.find_first_of("=[];") == std::string_view::npos;
}

bool plainValue(std::string_view s) {
  const bool quoted = s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front();
  return oneLine(s) && unpadded(s) && !quoted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string section = in.ConsumeRandomLengthString(16);
  const std::string key = in.ConsumeRandomLengthString(16);
  const std::string value = in.ConsumeRandomLengthString(64);
  const std::string text = in.ConsumeRemainingBytesAsString();

  IniDocument doc = IniDocument::parse(text);
  FUZZ_CHECK(doc.serialize() == text);
  FUZZ_CHECK(IniDocument::adopt(text).serialize() == text);

  const bool changed = doc.set(section, key, value);
  const std::string edited = doc.serialize();
  if (!changed) FUZZ_CHECK(edited == text);
  // One line replaced, or none when a key line (and maybe a header) was added.
  FUZZ_CHECK(keepsLines(text, edited, 1));

  // Whatever was set, the document finds what a reader of the file finds.
  const IniDocument written = IniDocument::parse(edited);
  FUZZ_CHECK(doc.find(section, key) == written.find(section, key));
  if (plainName(section) && plainName(key) && plainValue(value)) {
    FUZZ_CHECK(doc.find(section, key) == std::optional<std::string_view>(value));
    const IniDocument reread = IniDocument::parse(edited);
    FUZZ_CHECK(reread.find(section, key) == std::optional<std::string_view>(value));
    FUZZ_CHECK(reread.hasSection(section));
  }

  // The struct encoding, both ways, over the value's bytes.
  const std::string encoded = encodeStruct(value.data(), value.size());
  std::string decoded(value.size(), '\0');
  FUZZ_CHECK(decodeStruct(encoded, decoded.data(), decoded.size()));
  FUZZ_CHECK(decoded == value);
  char small[8];
  decodeStruct(text, small, sizeof small);
  parseIniInt(text);
  return 0;
}
