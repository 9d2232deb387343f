#include "ProfileShare.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "BoundedText.h"
#include "IniDocument.h"
#include "ProfileFiles.h"

namespace {

constexpr const char* kHeader = "VarnelQuillonProfile";
constexpr const char* kSetting = "Setting";
constexpr const char* kLineEnd = "\r\n";
constexpr int kMaxSharedMacros = kKeyCount;  // one per key at most

// ------------------------------------------------------------ small texts

std::string quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

// A decimal integer and nothing else: a damaged value must not read as 0.
bool parseStrictInt(std::string_view text, long long low, long long high, long long& value) {
  if (text.empty()) return false;
  const char* begin = text.data();
  if (*begin == '+') ++begin;
  const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

// ------------------------------------------------------------ stores

// The profile files' accessor over a document in memory.
class DocumentStore : public IniStore {
 public:
  explicit DocumentStore(IniDocument& doc) : doc_(doc) {}
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override {
    const auto value = doc_.find(section, key);
    return std::string((value ? *value : defaultValue).substr(0, kMaxIniString));
  }
  int readInt(std::string_view section, std::string_view key, int defaultValue) const override {
    const auto value = doc_.find(section, key);
    return value && !value->empty() ? parseIniInt(*value) : defaultValue;
  }
  bool readStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const override {
    const auto value = doc_.find(section, key);
    return value && decodeStruct(*value, buffer, size);
  }
  void writeString(std::string_view section, std::string_view key, std::string_view value) override {
    doc_.set(section, key, value.substr(0, value.find_first_of("\r\n")));
  }
  void writeInt(std::string_view section, std::string_view key, int value) override {
    doc_.set(section, key, std::to_string(value));
  }
  void writeStruct(std::string_view section, std::string_view key, const void* buffer, size_t size) override {
    doc_.set(section, key, encodeStruct(buffer, size));
  }

 private:
  IniDocument& doc_;
};

bool isLinkKey(std::string_view key) { return key.size() > 8 && sameName(key.substr(0, 8), "GameFile"); }

// What a profile file holds, seen through the share file's eyes: linked
// programs are neither written nor read, and the profile's name is UTF-8.
class ShareStore : public IniStore {
 public:
  ShareStore(IniStore& inner, const TextCodec& codec) : inner_(inner), codec_(codec) {}
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override {
    if (isLinkKey(key)) return std::string(defaultValue);
    std::string value = inner_.readString(section, key, defaultValue), text;
    return codec_.fromUtf8(value, codec_.codePage(), text) ? text : value;
  }
  int readInt(std::string_view section, std::string_view key, int defaultValue) const override {
    return inner_.readInt(section, key, defaultValue);
  }
  bool readStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const override {
    return inner_.readStruct(section, key, buffer, size);
  }
  void writeString(std::string_view section, std::string_view key, std::string_view value) override {
    if (isLinkKey(key)) return;
    std::string utf8;
    if (!codec_.toUtf8(value, codec_.codePage(), utf8)) utf8 = "?";
    inner_.writeString(section, key, utf8);
  }
  void writeInt(std::string_view section, std::string_view key, int value) override {
    inner_.writeInt(section, key, value);
  }
  void writeStruct(std::string_view section, std::string_view key, const void* buffer, size_t size) override {
    inner_.writeStruct(section, key, buffer, size);
  }

 private:
  IniStore& inner_;
  const TextCodec& codec_;
};

// The keys that saveProfile writes, in order, with their kind: the reader
// checks each of them, so that what the writer adds is checked too.
struct WrittenKey {
  enum Kind { Text, Number, Block } kind;
  std::string name;
  size_t size = 0;
};

class KeyCollector : public IniStore {
 public:
  std::vector<WrittenKey> keys;
  std::string readString(std::string_view, std::string_view, std::string_view d) const override {
    return std::string(d);
  }
  int readInt(std::string_view, std::string_view, int d) const override { return d; }
  bool readStruct(std::string_view, std::string_view, void*, size_t) const override { return false; }
  void writeString(std::string_view, std::string_view key, std::string_view) override {
    if (!isLinkKey(key)) keys.push_back({WrittenKey::Text, std::string(key)});
  }
  void writeInt(std::string_view, std::string_view key, int) override {
    keys.push_back({WrittenKey::Number, std::string(key)});
  }
  void writeStruct(std::string_view, std::string_view key, const void*, size_t size) override {
    keys.push_back({WrittenKey::Block, std::string(key), size});
  }
};

const std::vector<WrittenKey>& profileKeys() {
  static const std::vector<WrittenKey> keys = [] {
    KeyCollector collector;
    auto profile = std::make_unique<ProfileRecord>();
    buildDefaultProfile(*profile, 0);
    saveProfile(*profile, collector);
    return collector.keys;
  }();
  return keys;
}

// ------------------------------------------------------------ Latin-1

class Latin1Codec : public TextCodec {
 public:
  static constexpr unsigned kCodePage = 28591;
  unsigned codePage() const override { return kCodePage; }
  bool toUtf8(std::string_view text, unsigned cp, std::string& utf8) const override {
    if (cp != kCodePage) return false;
    utf8.clear();
    for (unsigned char c : text) {
      if (c < 0x80) {
        utf8 += char(c);
      } else {
        utf8 += char(0xC0 | c >> 6);
        utf8 += char(0x80 | (c & 0x3F));
      }
    }
    return true;
  }
  bool fromUtf8(std::string_view utf8, unsigned cp, std::string& text) const override {
    if (cp != kCodePage) return false;
    text.clear();
    for (size_t i = 0; i < utf8.size();) {
      const unsigned char c = uint8_t(utf8[i]);
      const size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      if (length == 2 && i + 1 < utf8.size()) {
        const unsigned value = (c & 0x1Fu) << 6 | (uint8_t(utf8[i + 1]) & 0x3Fu);
        text += value < 0x100 ? char(value) : '?';
      } else {
        text += length == 1 ? char(c) : '?';
      }
      i += length;
    }
    return true;
  }
};

// ------------------------------------------------------------ steps

std::string stepsText(const MacroStep* steps, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    if (i) out += ' ';
    out += std::to_string(steps[i].code()) + ':' + std::to_string(steps[i].action()) + ':' +
           std::to_string(steps[i].delayMs());
  }
  return out;
}

bool parseSteps(std::string_view text, MacroStep (&steps)[kMaxMacroSteps], int& count, std::string& error) {
  count = 0;
  size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ' || text[at] == '\t') {
      ++at;
      continue;
    }
    const size_t end = std::min(text.find_first_of(" \t", at), text.size());
    const std::string_view token = text.substr(at, end - at);
    at = end;
    const size_t first = token.find(':'), second = token.find(':', first + 1);
    long long code = 0, action = 0, delay = 0;
    if (first == std::string_view::npos || second == std::string_view::npos ||
        !parseStrictInt(token.substr(0, first), 0, 255, code) ||
        !parseStrictInt(token.substr(first + 1, second - first - 1), 0, 255, action) ||
        !parseStrictInt(token.substr(second + 1), 0, 65535, delay)) {
      error = "the step \"" + std::string(token.substr(0, 24)) + "\" is not code:action:delay";
      return false;
    }
    if (count == kMaxMacroSteps) {
      error = "it has more than " + std::to_string(kMaxMacroSteps) + " steps";
      return false;
    }
    steps[count++] = MacroStep::make(uint8_t(code), uint8_t(action), uint16_t(delay));
  }
  return true;
}

// ------------------------------------------------------------ reading

std::string damaged(const std::string& what) {
  return "The profile file is damaged or cut short: " + what + ".";
}

// Reads one file; `error` names the first thing that is wrong.
class Reader {
 public:
  Reader(const IniDocument& doc, const TextCodec& codec) : doc_(doc), codec_(codec) {}

  std::optional<std::string_view> value(const std::string& section, std::string_view key) {
    const auto v = doc_.find(section, key);
    if (!v && error.empty()) error = damaged("[" + section + "] " + std::string(key) + " is missing");
    return v;
  }
  bool number(const std::string& section, std::string_view key, long long low, long long high,
              long long& out) {
    const auto v = value(section, key);
    if (!v) return false;
    if (parseStrictInt(*v, low, high, out)) return true;
    error = damaged("[" + section + "] " + std::string(key) + " is not a number from " + std::to_string(low) +
                    " to " + std::to_string(high));
    return false;
  }
  // A text of the file, unescaped, in this machine's code page.
  bool text(const std::string& section, std::string_view key, size_t capacity, std::string& out) {
    const auto v = value(section, key);
    if (!v) return false;
    std::string utf8;
    if (!unescapeText(*v, utf8) || !isValidUtf8(utf8) || !codec_.fromUtf8(utf8, codec_.codePage(), out)) {
      error = damaged("[" + section + "] " + std::string(key) + " is not a text");
      return false;
    }
    if (out.size() >= capacity) {
      error = damaged("[" + section + "] " + std::string(key) + " is longer than " +
                      std::to_string(capacity - 1) + " bytes");
      return false;
    }
    return true;
  }
  bool section(const std::string& name) {
    if (doc_.hasSection(name)) return true;
    error = damaged("[" + name + "] is missing");
    return false;
  }

  std::string error;

 private:
  const IniDocument& doc_;
  const TextCodec& codec_;
};

bool readVersion(std::string_view text, int& major, int& minor) {
  const size_t dot = text.find('.');
  long long a = 0, b = 0;
  if (dot == std::string_view::npos) {
    if (!parseStrictInt(text, 0, 9999, a)) return false;
  } else if (!parseStrictInt(text.substr(0, dot), 0, 9999, a) ||
             !parseStrictInt(text.substr(dot + 1), 0, 9999, b)) {
    return false;
  }
  major = int(a);
  minor = int(b);
  return true;
}

// Every key saveProfile writes must be there and sound: loadProfile takes
// defaults for what is missing, which would import half a profile.
std::string checkSettingKeys(const IniDocument& doc) {
  for (const WrittenKey& key : profileKeys()) {
    const auto value = doc.find(kSetting, key.name);
    if (!value) return damaged("[Setting] " + key.name + " is missing");
    long long number = 0;
    std::vector<uint8_t> block(key.size);
    bool sound = true;
    if (key.kind == WrittenKey::Number) sound = parseStrictInt(*value, INT32_MIN, UINT32_MAX, number);
    if (key.kind == WrittenKey::Block) sound = decodeStruct(*value, block.data(), key.size);
    if (!sound) return damaged("[Setting] " + key.name + " is damaged");
  }
  return {};
}

// Texts in the key blocks are in the writer's code page.
template <size_t N>
void recode(char (&field)[N], unsigned from, const TextCodec& codec) {
  std::string utf8, text;
  if (codec.toUtf8(boundedText(field), from, utf8) && codec.fromUtf8(utf8, codec.codePage(), text))
    setBoundedText(field, text);
}

template <typename Record>
const Record* recordNamed(const std::vector<Record>& list, std::string_view name) {
  for (const Record& r : list)
    if (sameName(boundedText(r.name), name)) return &r;
  return nullptr;
}

// ------------------------------------------------------------ merging

bool sameSteps(const MacroRecord& a, const MacroRecord& b) {
  const int count = std::clamp(a.stepCount, 0, kMaxMacroSteps);
  return a.stepCount == b.stepCount && std::equal(a.steps, a.steps + count, b.steps);
}
bool sameText(const TextMacroRecord& a, const TextMacroRecord& b) {
  return a.delayMs == b.delayMs && a.keyBefore == b.keyBefore && a.keyAfter == b.keyAfter &&
         boundedText(a.text) == boundedText(b.text);
}

// The last entry of that name: the one the libraries hand to keys.
template <typename Record>
int lastNamed(const std::vector<Record>& list, std::string_view name) {
  int found = -1;
  for (size_t i = 0; i < list.size(); ++i)
    if (sameName(boundedText(list[i].name), name)) found = int(i);
  return found;
}

enum class Merge { Added, Shared, Renamed };

// Finds the library entry the shared record becomes: its own name when free
// or held by the same macro, else the first free or same "Name (n)". Returns
// the entry's position.
template <typename Record, typename Same>
int merge(std::vector<Record>& library, const Record& shared, size_t nameLimit, Same same, Merge& how) {
  const std::string base(trimBlanks(boundedText(shared.name)));
  for (int n = 1; n <= kMaxFreeNameTries; ++n) {
    const std::string name = numberedName(base, n, nameLimit);
    const int at = lastNamed(library, name);
    if (at >= 0 && same(library[size_t(at)], shared)) {
      how = Merge::Shared;
      return at;
    }
    if (at < 0) {
      Record added = shared;
      setBoundedText(added.name, name);
      library.push_back(added);
      how = n == 1 ? Merge::Added : Merge::Renamed;
      return int(library.size()) - 1;
    }
  }
  how = Merge::Shared;
  return -1;
}

void count(Merge how, int& added, int& shared, int& renamed) {
  (how == Merge::Added ? added : how == Merge::Shared ? shared : renamed) += 1;
}

// The installed-only values and the switches a file never carries.
void keepLocalValues(ProfileRecord& imported, const ProfileRecord& target) {
  std::memcpy(imported.linkedApps, target.linkedApps, sizeof imported.linkedApps);
  for (int32_t ProfileRecord::*field :
       {&ProfileRecord::mediaOption, &ProfileRecord::hddKeyboard, &ProfileRecord::ltSwitch,
        &ProfileRecord::ltColor, &ProfileRecord::ltSaving, &ProfileRecord::ltPulsation,
        &ProfileRecord::contextKey, &ProfileRecord::capsLockKey, &ProfileRecord::tabKey,
        &ProfileRecord::fnStatus, &ProfileRecord::pollingRate, &ProfileRecord::reportDelay,
        &ProfileRecord::previewOn})
    imported.*field = target.*field;
}

}  // namespace

const TextCodec& latin1Codec() {
  static const Latin1Codec codec;
  return codec;
}

bool isValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = uint8_t(text[i]);
    size_t length = 0;
    unsigned value = 0, least = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      length = 2, value = c & 0x1Fu, least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3, value = c & 0x0Fu, least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4, value = c & 0x07u, least = 0x10000;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = uint8_t(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      value = value << 6 | (next & 0x3Fu);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::string escapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (uint8_t(c) < 0x20 || c == 0x7F) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(uint8_t(c)));
          out += hex;
        } else {
          out += c;
        }
    }
  }
  return out;
}

bool unescapeText(std::string_view value, std::string& text) {
  text.clear();
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c != '\\') {
      text += c;
      continue;
    }
    if (++i == value.size()) return false;
    switch (value[i]) {
      case '\\':
        text += '\\';
        break;
      case 'n':
        text += '\n';
        break;
      case 'r':
        text += '\r';
        break;
      case 't':
        text += '\t';
        break;
      case 'x': {
        unsigned byte = 0;
        if (i + 2 >= value.size()) return false;
        const auto [end, ec] = std::from_chars(value.data() + i + 1, value.data() + i + 3, byte, 16);
        if (ec != std::errc() || end != value.data() + i + 3 || byte == 0) return false;
        text += char(byte);
        i += 2;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

std::string writeProfileFile(const ProfileRecord& profile, const MacroLibrary& macros,
                             std::string_view softwareVersion, const TextCodec& codec) {
  // The macros the keys bind, once per name, as the keys play them.
  MacroLibrary boundMacros;
  TextMacroLibrary boundTexts;
  for (const KeyAssignment& key : profile.keys) {
    if (key.functionCode == kFunctionRecordedMacro && !trimBlanks(boundedText(key.macroName)).empty()) {
      const std::string_view name = trimBlanks(boundedText(key.macroName));
      if (recordNamed(boundMacros, name)) continue;
      MacroRecord record{};
      setBoundedText(record.name, name);
      const int library = lastNamed(macros, name);
      record.repeatCount = library >= 0 ? macros[size_t(library)].repeatCount : 0;
      record.stepCount = std::min<int>(key.stepCount, kMaxMacroSteps);
      std::copy(key.steps, key.steps + kMaxMacroSteps, record.steps);
      boundMacros.push_back(record);
    } else if (key.functionCode == kFunctionTextMacro &&
               !trimBlanks(boundedText(key.textMacroName)).empty()) {
      const std::string_view name = trimBlanks(boundedText(key.textMacroName));
      if (recordNamed(boundTexts, name)) continue;
      TextMacroRecord record{};
      setBoundedText(record.name, name);
      setBoundedText(record.text, boundedText(key.textMacroText));
      record.delayMs = key.textDelayMs;
      record.keyBefore = key.keyBefore;
      record.keyAfter = key.keyAfter;
      boundTexts.push_back(record);
    }
  }

  auto utf8 = [&](std::string_view text) {
    std::string out;
    return codec.toUtf8(text, codec.codePage(), out) ? out : std::string(text.size(), '?');
  };
  auto line = [](std::string& out, std::string_view key, std::string_view value) {
    out.append(key).append("=").append(value).append(kLineEnd);
  };

  std::string out = "; Varnel Quillon profile: lighting, keys and the macros they play.";
  out += kLineEnd;
  out.append("[").append(kHeader).append("]").append(kLineEnd);
  line(out, "Format", std::to_string(kProfileFormatMajor) + "." + std::to_string(kProfileFormatMinor));
  line(out, "Software", softwareVersion);
  line(out, "CodePage", std::to_string(codec.codePage()));
  line(out, "Macros", std::to_string(boundMacros.size()));
  line(out, "TextMacros", std::to_string(boundTexts.size()));
  for (size_t i = 0; i < boundMacros.size(); ++i) {
    const MacroRecord& m = boundMacros[i];
    out.append(kLineEnd).append("[Macro" + std::to_string(i + 1) + "]").append(kLineEnd);
    line(out, "Name", quoted(escapeText(utf8(boundedText(m.name)))));
    line(out, "RepeatCount", std::to_string(m.repeatCount));
    line(out, "Steps", stepsText(m.steps, m.stepCount));
  }
  for (size_t i = 0; i < boundTexts.size(); ++i) {
    const TextMacroRecord& t = boundTexts[i];
    out.append(kLineEnd).append("[TextMacro" + std::to_string(i + 1) + "]").append(kLineEnd);
    line(out, "Name", quoted(escapeText(utf8(boundedText(t.name)))));
    line(out, "Text", quoted(escapeText(utf8(boundedText(t.text)))));
    line(out, "DelayMs", std::to_string(t.delayMs));
    line(out, "KeyBefore", std::to_string(t.keyBefore));
    line(out, "KeyAfter", std::to_string(t.keyAfter));
  }
  out += kLineEnd;

  // The profile itself through the profile files' own writer; its keys last,
  // so that a file cut short loses a key block the reader misses.
  IniDocument setting;
  DocumentStore store(setting);
  ShareStore share(store, codec);
  saveProfile(profile, share);
  std::string body = setting.serialize();
  // A document made from nothing starts with its section header.
  out += body;
  if (body.size() < 2 || body.compare(body.size() - 2, 2, kLineEnd) != 0) out += kLineEnd;
  return out;
}

std::string readProfileFile(std::string_view bytes, SharedProfile& shared, const TextCodec& codec) {
  if (bytes.size() > kMaxProfileFileBytes)
    return "The file is too large to be a profile (" + std::to_string(bytes.size() >> 20) + " MB).";
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (!isValidUtf8(bytes)) return "The file is not UTF-8 text: it is not a profile file.";
  IniDocument doc = IniDocument::parse(bytes);
  const auto format = doc.find(kHeader, "Format");
  if (!format)
    return "The file is not a Varnel Quillon profile: its [" + std::string(kHeader) + "] Format is missing.";
  SharedProfile read;
  if (!readVersion(*format, read.formatMajor, read.formatMinor))
    return damaged("its format \"" + std::string(format->substr(0, 16)) + "\" is not a version number");
  read.software = std::string(doc.find(kHeader, "Software").value_or("").substr(0, 32));
  if (read.formatMajor > kProfileFormatMajor)
    return "The profile was made by a newer version (format " + std::to_string(read.formatMajor) + "." +
           std::to_string(read.formatMinor) + ", Varnel Quillon " + read.software +
           "); this version reads format " + std::to_string(kProfileFormatMajor) + ".";
  if (read.formatMajor < 1)
    return damaged("its format " + std::string(format->substr(0, 16)) + " was never written");

  Reader reader(doc, codec);
  long long writerCodePage = 0, macroCount = 0, textCount = 0;
  if (!reader.number(kHeader, "CodePage", 0, 65535, writerCodePage) ||
      !reader.number(kHeader, "Macros", 0, kMaxSharedMacros, macroCount) ||
      !reader.number(kHeader, "TextMacros", 0, kMaxSharedMacros, textCount))
    return reader.error;
  {
    std::string probe;
    if (unsigned(writerCodePage) != codec.codePage() && !codec.toUtf8("A", unsigned(writerCodePage), probe))
      return "The profile's texts are in code page " + std::to_string(writerCodePage) +
             ", which this system cannot read.";
  }

  for (long long i = 1; i <= macroCount; ++i) {
    const std::string section = "Macro" + std::to_string(i);
    MacroRecord m{};
    std::string name, error;
    long long repeat = 0;
    if (!reader.section(section) || !reader.text(section, "Name", sizeof m.name, name) ||
        !reader.number(section, "RepeatCount", 0, 255, repeat))
      return reader.error;
    const auto steps = reader.value(section, "Steps");
    if (!steps) return reader.error;
    int stepCount = 0;
    if (!parseSteps(*steps, m.steps, stepCount, error)) return damaged("in [" + section + "] Steps " + error);
    if (trimBlanks(name).empty()) return damaged("[" + section + "] has no name");
    if (recordNamed(read.macros, name)) return damaged("two macros are named \"" + name + "\"");
    setBoundedText(m.name, trimBlanks(name));
    m.repeatCount = int32_t(repeat);
    m.stepCount = stepCount;
    read.macros.push_back(m);
  }
  for (long long i = 1; i <= textCount; ++i) {
    const std::string section = "TextMacro" + std::to_string(i);
    TextMacroRecord t{};
    std::string name, text;
    long long delay = 0, before = 0, after = 0;
    if (!reader.section(section) || !reader.text(section, "Name", sizeof t.name, name) ||
        !reader.text(section, "Text", sizeof t.text, text) ||
        !reader.number(section, "DelayMs", INT32_MIN, INT32_MAX, delay) ||
        !reader.number(section, "KeyBefore", 0, 255, before) ||
        !reader.number(section, "KeyAfter", 0, 255, after))
      return reader.error;
    if (trimBlanks(name).empty()) return damaged("[" + section + "] has no name");
    if (recordNamed(read.textMacros, name)) return damaged("two text macros are named \"" + name + "\"");
    setBoundedText(t.name, trimBlanks(name));
    setBoundedText(t.text, text);
    t.delayMs = int32_t(delay);
    t.keyBefore = uint8_t(before);
    t.keyAfter = uint8_t(after);
    read.textMacros.push_back(t);
  }

  if (!doc.hasSection(kSetting)) return damaged("[Setting] is missing");
  if (std::string error = checkSettingKeys(doc); !error.empty()) return error;
  read.profile = std::make_unique<ProfileRecord>();
  ProfileRecord& profile = *read.profile;
  std::memset(&profile, 0, sizeof profile);
  buildDefaultProfile(profile, 0);
  {
    DocumentStore store(doc);
    ShareStore share(store, codec);
    loadProfile(profile, share);
  }
  std::memset(profile.linkedApps, 0, sizeof profile.linkedApps);

  for (int k = 0; k < kKeyCount; ++k) {
    KeyAssignment& key = profile.keys[k];
    if (unsigned(writerCodePage) != codec.codePage()) {
      recode(key.macroName, unsigned(writerCodePage), codec);
      recode(key.textMacroName, unsigned(writerCodePage), codec);
      recode(key.textMacroText, unsigned(writerCodePage), codec);
      recode(key.appPath, unsigned(writerCodePage), codec);
    }
    // Every macro a key binds travels with it; a key without its macro
    // would be turned into a plain key by the next library pass.
    const std::string_view macro = trimBlanks(boundedText(key.macroName));
    if (key.functionCode == kFunctionRecordedMacro && !macro.empty() && !recordNamed(read.macros, macro))
      return damaged("key " + std::to_string(k) + " plays the macro \"" + std::string(macro) +
                     "\", which the file does not hold");
    const std::string_view text = trimBlanks(boundedText(key.textMacroName));
    if (key.functionCode == kFunctionTextMacro && !text.empty() && !recordNamed(read.textMacros, text))
      return damaged("key " + std::to_string(k) + " types the text macro \"" + std::string(text) +
                     "\", which the file does not hold");
  }
  shared = std::move(read);
  return {};
}

ImportSummary importSharedProfile(const SharedProfile& shared, ProfileRecord& target, MacroLibrary& macros,
                                  TextMacroLibrary& textMacros) {
  ImportSummary summary;
  if (!shared.profile) return summary;
  auto imported = std::make_unique<ProfileRecord>(*shared.profile);
  keepLocalValues(*imported, target);

  // Each shared macro that a key binds gets its place in the library once.
  std::vector<int> macroAt(shared.macros.size(), -2), textAt(shared.textMacros.size(), -2);
  constexpr size_t kMacroNameLimit = sizeof(KeyAssignment::macroName) - 1;
  constexpr size_t kTextNameLimit = sizeof(KeyAssignment::textMacroName) - 1;
  for (KeyAssignment& key : imported->keys) {
    if (key.functionCode == kFunctionRecordedMacro && !trimBlanks(boundedText(key.macroName)).empty()) {
      const MacroRecord* record = recordNamed(shared.macros, boundedText(key.macroName));
      if (!record) continue;
      int& at = macroAt[size_t(record - shared.macros.data())];
      if (at == -2) {
        Merge how;
        at = merge(macros, *record, kMacroNameLimit, sameSteps, how);
        count(how, summary.macrosAdded, summary.macrosShared, summary.macrosRenamed);
      }
      if (at < 0) continue;
      const MacroRecord& entry = macros[size_t(at)];
      setBoundedText(key.macroName, trimBlanks(boundedText(entry.name)));
      key.reserved0 = 0;
      key.stepCount = uint16_t(std::clamp(entry.stepCount, 0, kMaxMacroSteps));
      std::copy(entry.steps, entry.steps + kMaxMacroSteps, key.steps);
      key.macroListIndex = at;
    } else if (key.functionCode == kFunctionTextMacro &&
               !trimBlanks(boundedText(key.textMacroName)).empty()) {
      const TextMacroRecord* record = recordNamed(shared.textMacros, boundedText(key.textMacroName));
      if (!record) continue;
      int& at = textAt[size_t(record - shared.textMacros.data())];
      if (at == -2) {
        Merge how;
        at = merge(textMacros, *record, kTextNameLimit, sameText, how);
        count(how, summary.textMacrosAdded, summary.textMacrosShared, summary.textMacrosRenamed);
      }
      if (at < 0) continue;
      const TextMacroRecord& entry = textMacros[size_t(at)];
      setBoundedText(key.textMacroName, trimBlanks(boundedText(entry.name)));
      setBoundedText(key.textMacroText, boundedText(entry.text));
      key.textDelayMs = entry.delayMs;
      key.keyBefore = entry.keyBefore;
      key.keyAfter = entry.keyAfter;
      key.macroListIndex = -1;  // placed below, after every recorded macro is in
    }
  }
  // The key page's picker lists the library macros first, then the texts.
  for (KeyAssignment& key : imported->keys)
    if (key.functionCode == kFunctionTextMacro && !trimBlanks(boundedText(key.textMacroName)).empty()) {
      const int at = lastNamed(textMacros, boundedText(key.textMacroName));
      key.macroListIndex = at < 0 ? -1 : int(macros.size()) + at;
    }
  imported->totalMacro = countMacroKeys(*imported);
  sanitizeProfile(*imported);
  target = *imported;
  return summary;
}
