// The profile file as a person reads it: format 1.1, and the former 1.0.
#include <memory>

#include "BoundedText.h"
#include "KeyFunction.h"
#include "ProfileFiles.h"
#include "ProfileShareFormat.h"

using namespace profileshare;

namespace {

std::string quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

void line(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append("=").append(value).append(kLineEnd);
}

void section(std::string& out, std::string_view name) {
  out.append(kLineEnd).append("[").append(name).append("]").append(kLineEnd);
}

int lastNamedMacro(const MacroLibrary& list, std::string_view name) {
  int found = -1;
  for (size_t i = 0; i < list.size(); ++i)
    if (sameName(boundedText(list[i].name), name)) found = int(i);
  return found;
}

// The macros the keys play, once per name, as the keys play them.
void collectBound(const ProfileRecord& profile, const MacroLibrary& macros, MacroLibrary& boundMacros,
                  TextMacroLibrary& boundTexts) {
  for (const KeyAssignment& key : profile.keys) {
    const KeyFunction f = describeKey(key);
    if (f.name.empty()) continue;
    if (f.kind == KeyFunction::Macro) {
      if (recordNamed(boundMacros, f.name)) continue;
      MacroRecord record{};
      setBoundedText(record.name, f.name);
      const int library = lastNamedMacro(macros, f.name);
      record.repeatCount = library >= 0 ? macros[size_t(library)].repeatCount : 0;
      record.stepCount = std::min<int>(key.stepCount, kMaxMacroSteps);
      std::copy(key.steps, key.steps + record.stepCount, record.steps);
      boundMacros.push_back(record);
    } else if (f.kind == KeyFunction::TextMacro) {
      if (recordNamed(boundTexts, f.name)) continue;
      TextMacroRecord record{};
      setBoundedText(record.name, f.name);
      setBoundedText(record.text, boundedText(key.textMacroText));
      record.delayMs = key.textDelayMs;
      record.keyBefore = key.keyBefore;
      record.keyAfter = key.keyAfter;
      boundTexts.push_back(record);
    }
  }
}

const char* modeName(int32_t mode) { return mode == 1 ? "Mode2" : "Mode1"; }

}  // namespace

std::string writeProfileFile(const ProfileRecord& profile, const MacroLibrary& macros,
                             std::string_view softwareVersion, const TextCodec& codec) {
  MacroLibrary boundMacros;
  TextMacroLibrary boundTexts;
  collectBound(profile, macros, boundMacros, boundTexts);
  auto utf8 = [&](std::string_view text) {
    std::string out;
    return codec.toUtf8(text, codec.codePage(), out) ? out : std::string(text.size(), '?');
  };
  auto text = [&](std::string_view value) { return quoted(escapeText(utf8(value))); };

  std::string out = "; Varnel Quillon profile: lighting, keys and the macros they play.";
  out += kLineEnd;
  out.append("[").append(kHeader).append("]").append(kLineEnd);
  line(out, "Format", std::to_string(kProfileFormatMajor) + "." + std::to_string(kProfileFormatMinor));
  line(out, "Software", softwareVersion);
  line(out, "Macros", std::to_string(boundMacros.size()));
  line(out, "TextMacros", std::to_string(boundTexts.size()));
  for (size_t i = 0; i < boundMacros.size(); ++i) {
    const MacroRecord& m = boundMacros[i];
    section(out, "Macro" + std::to_string(i + 1));
    line(out, "Name", text(boundedText(m.name)));
    line(out, "RepeatCount", std::to_string(m.repeatCount));
    line(out, "Steps", stepsText(m.steps, m.stepCount));
  }
  for (size_t i = 0; i < boundTexts.size(); ++i) {
    const TextMacroRecord& t = boundTexts[i];
    section(out, "TextMacro" + std::to_string(i + 1));
    line(out, "Name", text(boundedText(t.name)));
    line(out, "Text", text(boundedText(t.text)));
    line(out, "DelayMs", std::to_string(t.delayMs));
    line(out, "KeyBefore", std::to_string(t.keyBefore));
    line(out, "KeyAfter", std::to_string(t.keyAfter));
  }

  const ProfileRecord& p = profile;
  section(out, kProfile);
  line(out, "Name", text(boundedText(p.profileName)));
  line(out, "WindowsKey", p.leftWinLock == 0 ? "Off" : "On");

  section(out, kLighting);
  const char* effect = effectName(p.lightFx);
  line(out, "Effect", effect ? effect : "Static");
  line(out, "Brightness", std::to_string(p.ltControl));
  line(out, "Lighting", p.lightFxFlag == 1 ? "Off" : "On");
  line(out, "StaticColor", colorText(p.staticColor));
  line(out, "BreatheColor", colorText(p.breatheColor));
  line(out, "BreatheSpeed", std::to_string(p.breatheSpeed));
  line(out, "WaveColor", colorText(p.waveColor));
  line(out, "WaveSpeed", std::to_string(p.waveSpeed));
  line(out, "WaveMode", modeName(p.waveMode));
  line(out, "RippleColor", colorText(p.rippleColor));
  line(out, "RippleSpeed", std::to_string(p.rippleSpeed));
  line(out, "RippleMode", modeName(p.rippleMode));
  line(out, "ReactiveColor", colorText(p.reactiveColor));
  line(out, "CustomMode", modeName(p.customMode));
  line(out, "GlobalColor", colorText(p.globalColor));
  line(out, "CtrlClickColor", colorText(p.customCtrlClickColor));

  // What differs from the default profile alone.
  auto defaults = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*defaults, 0);
  section(out, kCustomColors);
  for (int i = 0; i < kLedCount; ++i)
    if ((p.customColors[i] & 0xFFFFFF) != defaults->customColors[i])
      line(out, "Led" + std::to_string(i), colorText(p.customColors[i]));
  section(out, kRemap);
  for (int k = 0; k < kKeyCount; ++k)
    if (p.standardKey[k] != defaults->standardKey[k] && p.standardKey[k] != 0)
      line(out, "Key" + std::to_string(k), usageText(p.standardKey[k]));
  section(out, kKeys);
  for (int k = 0; k < kKeyCount; ++k) {
    KeyFunction f = describeKey(p.keys[k]);
    if ((f.kind == KeyFunction::Macro || f.kind == KeyFunction::TextMacro) && f.name.empty()) continue;
    if (!checkKeyFunction(f).empty()) continue;
    f.name = utf8(f.name);
    const std::string value = keyFunctionText(f);
    if (!value.empty()) line(out, "Key" + std::to_string(k), value);
  }
  section(out, kEnd);
  return out;
}

std::string writeProfileFileFormat10(const ProfileRecord& profile, const MacroLibrary& macros,
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
      const int library = lastNamedMacro(macros, name);
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

  std::string out = "; Varnel Quillon profile: lighting, keys and the macros they play.";
  out += kLineEnd;
  out.append("[").append(kHeader).append("]").append(kLineEnd);
  line(out, "Format", "1.0");
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
