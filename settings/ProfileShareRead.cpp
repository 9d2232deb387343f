// The gate of a profile file: everything it brings is read from what a
// person sees in it, checked against the editor's ranges, and a key is
// built from its readable description alone.
#include <cstring>
#include <memory>
#include <vector>

#include "BoundedText.h"
#include "KeyFunction.h"
#include "ProfileFiles.h"
#include "ProfileShareFormat.h"

using namespace profileshare;

namespace {

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
    if (!(key.size() > 8 && sameName(key.substr(0, 8), "GameFile")))
      keys.push_back({WrittenKey::Text, std::string(key)});
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

// Texts in the key blocks of a 1.0 file are in the writer's code page.
template <size_t N>
void recode(char (&field)[N], unsigned from, const TextCodec& codec) {
  std::string utf8, text;
  if (codec.toUtf8(boundedText(field), from, utf8) && codec.fromUtf8(utf8, codec.codePage(), text))
    setBoundedText(field, text);
}

std::string outOfRange(const std::string& what) {
  return "The profile holds a value the editor cannot make: " + what + ".";
}

// [Macro1].. and [TextMacro1]..: the macros as a person reads them.
std::string readMacros(Reader& reader, long long macroCount, long long textCount, SharedProfile& read) {
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
        !reader.number(section, "DelayMs", 0, kTextDelayMax, delay) ||
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
  return {};
}

// Each key from its description alone: what the file does not show does
// not come in. A program to launch is another machine's and stays there.
std::string placeKeys(const std::vector<KeyFunction>& functions, SharedProfile& read) {
  ProfileRecord& profile = *read.profile;
  for (int k = 0; k < kKeyCount; ++k) {
    const KeyFunction& f = functions[size_t(k)];
    const MacroRecord* macro = nullptr;
    const TextMacroRecord* text = nullptr;
    if (f.kind == KeyFunction::Launch) ++read.launchKeysDropped;
    if (f.kind == KeyFunction::Unknown) ++read.unknownKeysDropped;
    if (std::string error = checkKeyFunction(f); !error.empty())
      return outOfRange("key " + std::to_string(k) + " holds " + error);
    if (f.kind == KeyFunction::Macro && !(macro = recordNamed(read.macros, f.name)))
      return damaged("key " + std::to_string(k) + " plays the macro \"" + f.name +
                     "\", which the file does not hold");
    if (f.kind == KeyFunction::TextMacro && !(text = recordNamed(read.textMacros, f.name)))
      return damaged("key " + std::to_string(k) + " types the text macro \"" + f.name +
                     "\", which the file does not hold");
    buildKey(f, k, macro, text, profile.keys[k]);
  }
  profile.totalMacro = countMacroKeys(profile);
  if (profile.totalMacro > kMaxMacroKeys)
    return outOfRange(std::to_string(profile.totalMacro) + " keys play macros or combinations (at most " +
                      std::to_string(kMaxMacroKeys) + ")");
  return {};
}

// Format 1.0: the profile files' own keys and key blocks; a key block is
// read for what its key does, nothing more.
std::string readBody10(IniDocument& doc, const TextCodec& codec, unsigned writerCodePage,
                       SharedProfile& read) {
  if (!doc.hasSection(kSetting)) return damaged("[Setting] is missing");
  if (std::string error = checkSettingKeys(doc); !error.empty()) return error;
  ProfileRecord& profile = *read.profile;
  {
    DocumentStore store(doc);
    ShareStore share(store, codec);
    readProfileValues(profile, share);
  }
  // The values only installed files hold are no part of a shared profile.
  auto fresh = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*fresh, 0);
  for (int32_t ProfileRecord::*field :
       {&ProfileRecord::mediaOption, &ProfileRecord::hddKeyboard, &ProfileRecord::ltSwitch,
        &ProfileRecord::ltColor, &ProfileRecord::ltSaving, &ProfileRecord::ltPulsation,
        &ProfileRecord::contextKey, &ProfileRecord::capsLockKey, &ProfileRecord::tabKey,
        &ProfileRecord::fnStatus, &ProfileRecord::pollingRate, &ProfileRecord::reportDelay})
    profile.*field = (*fresh).*field;
  if (std::string what = profileValueOutOfRange(profile); !what.empty()) return outOfRange(what);
  std::vector<KeyFunction> functions(kKeyCount);
  for (int k = 0; k < kKeyCount; ++k) {
    KeyAssignment& key = profile.keys[k];
    if (writerCodePage != codec.codePage()) {
      recode(key.macroName, writerCodePage, codec);
      recode(key.textMacroName, writerCodePage, codec);
    }
    functions[size_t(k)] = describeKey(key);
  }
  return placeKeys(functions, read);
}

bool named(std::string_view text, const char* a, const char* b, int32_t& value) {
  if (equalIgnoringCase(text, a)) return value = 0, true;
  if (equalIgnoringCase(text, b)) return value = 1, true;
  return false;
}

// Format 1.1: the profile, its lighting and its keys as a person reads them.
std::string readBody11(const IniDocument& doc, const TextCodec& codec, Reader& reader, SharedProfile& read) {
  ProfileRecord& p = *read.profile;
  if (!doc.hasSection(kEnd)) return damaged("its end is missing");
  std::string name;
  if (!reader.section(kProfile) || !reader.text(kProfile, "Name", sizeof p.profileName, name))
    return reader.error;
  setBoundedText(p.profileName, name);
  auto bad = [&](const char* section, const char* key, const std::string& expected) {
    return damaged("[" + std::string(section) + "] " + key + " is not " + expected);
  };
  auto namedValue = [&](const char* section, const char* key, const char* a, const char* b, int32_t& field,
                        std::string& error) {
    const auto v = reader.value(section, key);
    if (!v) return error = reader.error, false;
    if (named(*v, a, b, field)) return true;
    error = bad(section, key, std::string(a) + " or " + b);
    return false;
  };
  std::string error;
  int32_t on = 0;
  if (!namedValue(kProfile, "WindowsKey", "Off", "On", on, error)) return error;
  p.leftWinLock = on;

  if (!reader.section(kLighting)) return reader.error;
  const auto effect = reader.value(kLighting, "Effect");
  if (!effect) return reader.error;
  if (!parseEffect(*effect, p.lightFx))
    return bad(kLighting, "Effect", "Static, Breathe, Wave, Reactive, Ripple or Custom");
  long long number = 0;
  if (!reader.number(kLighting, "Brightness", kBrightnessMin, kBrightnessMax, number)) return reader.error;
  p.ltControl = int32_t(number);
  if (!namedValue(kLighting, "Lighting", "On", "Off", p.lightFxFlag, error)) return error;
  struct Speed {
    const char* key;
    int32_t ProfileRecord::*field;
  };
  for (const Speed& s :
       {Speed{"BreatheSpeed", &ProfileRecord::breatheSpeed}, Speed{"WaveSpeed", &ProfileRecord::waveSpeed},
        Speed{"RippleSpeed", &ProfileRecord::rippleSpeed}}) {
    if (!reader.number(kLighting, s.key, kSpeedMin, kSpeedMax, number)) return reader.error;
    p.*s.field = int32_t(number);
  }
  for (const Speed& m :
       {Speed{"WaveMode", &ProfileRecord::waveMode}, Speed{"RippleMode", &ProfileRecord::rippleMode},
        Speed{"CustomMode", &ProfileRecord::customMode}})
    if (!namedValue(kLighting, m.key, "Mode1", "Mode2", p.*m.field, error)) return error;
  struct Colour {
    const char* key;
    Color ProfileRecord::*field;
  };
  for (const Colour& c :
       {Colour{"StaticColor", &ProfileRecord::staticColor},
        Colour{"BreatheColor", &ProfileRecord::breatheColor}, Colour{"WaveColor", &ProfileRecord::waveColor},
        Colour{"RippleColor", &ProfileRecord::rippleColor},
        Colour{"ReactiveColor", &ProfileRecord::reactiveColor},
        Colour{"GlobalColor", &ProfileRecord::globalColor},
        Colour{"CtrlClickColor", &ProfileRecord::customCtrlClickColor}}) {
    const auto v = reader.value(kLighting, c.key);
    if (!v) return reader.error;
    if (!parseColor(*v, p.*c.field)) return bad(kLighting, c.key, "a colour #RRGGBB");
  }
  for (int i = 0; i < kLedCount; ++i) {
    const std::string key = "Led" + std::to_string(i);
    if (const auto v = doc.find(kCustomColors, key); v && !parseColor(*v, p.customColors[i]))
      return bad(kCustomColors, key.c_str(), "a colour #RRGGBB");
  }
  for (int k = 0; k < kKeyCount; ++k) {
    const std::string key = "Key" + std::to_string(k);
    if (const auto v = doc.find(kRemap, key); v && !parseUsage(*v, p.standardKey[k]))
      return bad(kRemap, key.c_str(), "a key");
  }
  std::vector<KeyFunction> functions(kKeyCount);
  for (int k = 0; k < kKeyCount; ++k) {
    const std::string key = "Key" + std::to_string(k);
    const auto v = doc.find(kKeys, key);
    if (!v) continue;
    std::string utf8Error;
    KeyFunction& f = functions[size_t(k)];
    if (!parseKeyFunction(*v, f, utf8Error)) return damaged("[Keys] " + key + ": " + utf8Error);
    std::string text;
    if (!isValidUtf8(f.name) || !codec.fromUtf8(f.name, codec.codePage(), text))
      return damaged("[Keys] " + key + " names no text");
    f.name = std::string(trimBlanks(text));
  }
  if (std::string what = profileValueOutOfRange(p); !what.empty()) return outOfRange(what);
  return placeKeys(functions, read);
}

}  // namespace

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
  long long macroCount = 0, textCount = 0;
  if (!reader.number(kHeader, "Macros", 0, kMaxSharedMacros, macroCount) ||
      !reader.number(kHeader, "TextMacros", 0, kMaxSharedMacros, textCount))
    return reader.error;
  const bool first = read.formatMinor == 0;
  long long writerCodePage = codec.codePage();
  if (first) {
    // 1.0 kept the key blocks' texts in the writer's code page.
    if (!reader.number(kHeader, "CodePage", 0, 65535, writerCodePage)) return reader.error;
    std::string probe;
    if (unsigned(writerCodePage) != codec.codePage() && !codec.toUtf8("A", unsigned(writerCodePage), probe))
      return "The profile's texts are in code page " + std::to_string(writerCodePage) +
             ", which this system cannot read.";
  }
  if (std::string error = readMacros(reader, macroCount, textCount, read); !error.empty()) return error;

  read.profile = std::make_unique<ProfileRecord>();
  std::memset(read.profile.get(), 0, sizeof *read.profile);
  buildDefaultProfile(*read.profile, 0);
  const std::string error =
      first ? readBody10(doc, codec, unsigned(writerCodePage), read) : readBody11(doc, codec, reader, read);
  if (!error.empty()) return error;
  std::memset(read.profile->linkedApps, 0, sizeof read.profile->linkedApps);
  sanitizeProfile(*read.profile);
  shared = std::move(read);
  return {};
}
