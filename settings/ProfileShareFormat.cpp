#include "ProfileShareFormat.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {

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

bool isLinkKey(std::string_view key) { return key.size() > 8 && sameName(key.substr(0, 8), "GameFile"); }

constexpr struct {
  int32_t code;
  const char* name;
} kEffects[] = {{1, "Static"}, {2, "Breathe"}, {3, "Wave"}, {4, "Reactive"}, {6, "Ripple"}, {51, "Custom"}};

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

namespace profileshare {

// A decimal integer and nothing else: a damaged value must not read as 0.
bool parseStrictInt(std::string_view text, long long low, long long high, long long& value) {
  if (text.empty()) return false;
  const char* begin = text.data();
  if (*begin == '+') ++begin;
  const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

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
        !parseStrictInt(token.substr(first + 1, second - first - 1), kActionPress, kActionRelease, action) ||
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

std::string colorText(Color color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", unsigned(color & 0xFF), unsigned(color >> 8 & 0xFF),
                unsigned(color >> 16 & 0xFF));
  return text;
}

bool parseColor(std::string_view text, Color& color) {
  if (text.size() != 7 || text[0] != '#') return false;
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
  if (ec != std::errc() || end != text.data() + 7) return false;
  color = Color((value >> 16 & 0xFF) | (value & 0xFF00) | (value & 0xFF) << 16);
  return true;
}

const char* effectName(int32_t lightFx) {
  for (const auto& e : kEffects)
    if (e.code == lightFx) return e.name;
  return nullptr;
}

bool parseEffect(std::string_view text, int32_t& lightFx) {
  for (const auto& e : kEffects)
    if (equalIgnoringCase(text, e.name)) {
      lightFx = e.code;
      return true;
    }
  return false;
}

std::string damaged(const std::string& what) {
  return "The profile file is damaged or cut short: " + what + ".";
}

std::string DocumentStore::readString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
  const auto value = doc_.find(section, key);
  return std::string((value ? *value : defaultValue).substr(0, kMaxIniString));
}
int DocumentStore::readInt(std::string_view section, std::string_view key, int defaultValue) const {
  const auto value = doc_.find(section, key);
  return value && !value->empty() ? parseIniInt(*value) : defaultValue;
}
bool DocumentStore::readStruct(std::string_view section, std::string_view key, void* buffer,
                               size_t size) const {
  const auto value = doc_.find(section, key);
  return value && decodeStruct(*value, buffer, size);
}
void DocumentStore::writeString(std::string_view section, std::string_view key, std::string_view value) {
  doc_.set(section, key, value.substr(0, value.find_first_of("\r\n")));
}
void DocumentStore::writeInt(std::string_view section, std::string_view key, int value) {
  doc_.set(section, key, std::to_string(value));
}
void DocumentStore::writeStruct(std::string_view section, std::string_view key, const void* buffer,
                                size_t size) {
  doc_.set(section, key, encodeStruct(buffer, size));
}

std::string ShareStore::readString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
  if (isLinkKey(key)) return std::string(defaultValue);
  std::string value = inner_.readString(section, key, defaultValue), text;
  return codec_.fromUtf8(value, codec_.codePage(), text) ? text : value;
}
int ShareStore::readInt(std::string_view section, std::string_view key, int defaultValue) const {
  return inner_.readInt(section, key, defaultValue);
}
bool ShareStore::readStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const {
  return inner_.readStruct(section, key, buffer, size);
}
void ShareStore::writeString(std::string_view section, std::string_view key, std::string_view value) {
  if (isLinkKey(key)) return;
  std::string utf8;
  if (!codec_.toUtf8(value, codec_.codePage(), utf8)) utf8 = "?";
  inner_.writeString(section, key, utf8);
}
void ShareStore::writeInt(std::string_view section, std::string_view key, int value) {
  inner_.writeInt(section, key, value);
}
void ShareStore::writeStruct(std::string_view section, std::string_view key, const void* buffer,
                             size_t size) {
  inner_.writeStruct(section, key, buffer, size);
}

}  // namespace profileshare
