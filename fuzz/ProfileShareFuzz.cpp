// Profile files as anyone may hand them over: any bytes, a sound file (of
// format 1.1 or 1.0) with one line replaced, a sound file cut short. Reading
// either refuses with one sentence and leaves what it was given alone, or
// gives a profile the editor could have made: every key one of its kinds,
// with values in its ranges and nothing its function does not use, no
// program to launch, and every key finds its macro in the libraries after
// the import, as the key plays it; the imported profile is written again and
// reads back, and a second import of it shares every macro instead of
// adding any.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>
#include <vector>

#include "FuzzSupport.h"
#include "KeyFunction.h"
#include "ProfileFiles.h"
#include "ProfileShare.h"

namespace {

void bind(KeyAssignment& key, const char* name, std::initializer_list<MacroStep> steps) {
  key.category = kCategoryMacro;
  key.functionCode = kFunctionRecordedMacro;
  std::strcpy(key.macroName, name);
  key.stepCount = uint16_t(steps.size());
  std::copy(steps.begin(), steps.end(), key.steps);
}

// A profile with two recorded macros (one bound twice), a text macro, a
// launch key, a combination, a media key and a remapped key: every section
// the writer makes.
std::unique_ptr<ProfileRecord> soundProfile() {
  auto profile = std::make_unique<ProfileRecord>(fuzz::defaultImage().profiles[1]);
  std::strcpy(profile->profileName, "Racing");
  bind(profile->keys[20], "Combo",
       {MacroStep::make(4, kActionPress, 30), MacroStep::make(4, kActionRelease, 0)});
  bind(profile->keys[21], "Combo",
       {MacroStep::make(4, kActionPress, 30), MacroStep::make(4, kActionRelease, 0)});
  bind(profile->keys[22], "Boost", {MacroStep::make(225, kActionPress, 5)});
  KeyAssignment& text = profile->keys[1];
  text.category = kCategoryMacro;
  text.functionCode = kFunctionTextMacro;
  std::strcpy(text.textMacroName, "Greeting");
  std::strcpy(text.textMacroText, "Good game,\nwell played!");
  std::strcpy(profile->keys[2].appPath, "C:\\Windows\\notepad.exe");
  profile->keys[2].category = kCategoryLaunch;
  profile->keys[2].functionCode = kFunctionLaunch;
  KeyAssignment& combination = profile->keys[3];
  combination.category = kCategoryCombination;
  combination.functionCode = kFunctionCombination;
  combination.steps[0] = MacroStep{224};
  combination.steps[1] = MacroStep{14};
  combination.stepCount = 2;
  profile->keys[4].category = kCategoryMedia;
  profile->keys[4].functionCode = 25;
  profile->standardKey[5] = 6;
  profile->customColors[7] = 0x123456;
  return profile;
}

const std::string& soundFile() {
  static const std::string text = writeProfileFile(*soundProfile(), {}, "1.02", latin1Codec());
  return text;
}

const std::string& soundFile10() {
  static const std::string text = writeProfileFileFormat10(*soundProfile(), {}, "1.02", latin1Codec());
  return text;
}

// Nothing the editor could not have made.
void checkEditorsOwn(const ProfileRecord& p) {
  FUZZ_CHECK(profileValueOutOfRange(p).empty());
  FUZZ_CHECK(countMacroKeys(p) <= kMaxMacroKeys);
  for (const KeyAssignment& key : p.keys) {
    const KeyFunction f = describeKey(key);
    FUZZ_CHECK(f.kind != KeyFunction::Unknown && f.kind != KeyFunction::Launch);
    FUZZ_CHECK(checkKeyFunction(f).empty());
    FUZZ_CHECK(key.appPath[0] == 0);
    KeyAssignment used = key;
    clearUnusedKeyFields(used);
    FUZZ_CHECK(std::memcmp(&used, &key, sizeof key) == 0);
  }
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find('\n', at), text.size());
    out.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

bool terminated(const ProfileRecord& p) {
  if (!fuzz::terminated(p.profileName)) return false;
  for (const KeyAssignment& k : p.keys)
    if (!fuzz::terminated(k.macroName) || !fuzz::terminated(k.textMacroName) ||
        !fuzz::terminated(k.textMacroText) || !fuzz::terminated(k.appPath) || k.stepCount > kMaxMacroSteps)
      return false;
  return true;
}

// Every key that binds a macro finds it in the library as it plays it.
void checkBindings(const ProfileRecord& p, const MacroLibrary& macros, const TextMacroLibrary& texts) {
  for (const KeyAssignment& key : p.keys) {
    if (key.functionCode == kFunctionRecordedMacro) {
      const MacroMatch m = findMacro(macros, key);
      FUZZ_CHECK(m.found && m.identical);
    } else if (key.functionCode == kFunctionTextMacro) {
      const MacroMatch m = findTextMacro(texts, key);
      FUZZ_CHECK(m.found && std::strcmp(texts[size_t(m.position)].text, key.textMacroText) == 0);
    }
  }
  FUZZ_CHECK(p.totalMacro == countMacroKeys(p));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int mode = in.ConsumeIntegralInRange(0, 3);
  std::string text;
  if (mode == 0) {
    text = in.ConsumeRemainingBytesAsString();
  } else if (mode == 1) {
    std::vector<std::string> all = lines(soundFile());
    all[in.ConsumeIntegralInRange<size_t>(0, all.size() - 1)] = in.ConsumeRemainingBytesAsString();
    for (const std::string& line : all) text += line + "\n";
  } else if (mode == 3) {
    // A 1.0 file: three times in four a key block or value of [Setting].
    std::vector<std::string> all = lines(soundFile10());
    size_t head = 0;
    while (head < all.size() && all[head].rfind("[Setting]", 0) != 0) ++head;
    const bool inBody = in.ConsumeIntegralInRange(0, 3) != 0;
    const size_t at = inBody ? in.ConsumeIntegralInRange<size_t>(head, all.size() - 1)
                             : in.ConsumeIntegralInRange<size_t>(0, all.size() - 1);
    all[at] = in.ConsumeRemainingBytesAsString();
    for (const std::string& line : all) text += line + "\n";
  } else {
    text = soundFile().substr(0, in.ConsumeIntegralInRange<size_t>(0, soundFile().size()));
  }

  SharedProfile shared;
  shared.software = "before";
  const std::string error = readProfileFile(text, shared, latin1Codec());
  if (!error.empty()) {
    FUZZ_CHECK(error.back() == '.' && error.find('\n') == std::string::npos);
    FUZZ_CHECK(!shared.profile && shared.software == "before");
    return 0;
  }
  FUZZ_CHECK(shared.profile && terminated(*shared.profile));
  FUZZ_CHECK(shared.formatMajor == kProfileFormatMajor);
  checkEditorsOwn(*shared.profile);

  // Libraries that already hold a "Combo" of other steps and the "Boost" as it is.
  MacroLibrary macros(2);
  std::strcpy(macros[0].name, "Combo");
  macros[0].stepCount = 1;
  std::strcpy(macros[1].name, "Boost");
  macros[1].stepCount = 1;
  macros[1].steps[0] = MacroStep::make(225, kActionPress, 5);
  TextMacroLibrary texts;
  static const auto target = std::make_unique<ProfileRecord>();
  *target = fuzz::defaultImage().profiles[3];
  std::strcpy(target->linkedApps[0], "C:\\Games\\mine.exe");
  importSharedProfile(shared, *target, macros, texts);
  FUZZ_CHECK(terminated(*target));
  checkEditorsOwn(*target);
  FUZZ_CHECK(std::strcmp(target->linkedApps[0], "C:\\Games\\mine.exe") == 0);
  checkBindings(*target, macros, texts);

  // Written again, it reads back, and a second import adds nothing.
  SharedProfile again;
  FUZZ_CHECK(readProfileFile(writeProfileFile(*target, macros, "1.02", latin1Codec()), again, latin1Codec())
                 .empty());
  const size_t macroCount = macros.size(), textCount = texts.size();
  static const auto second = std::make_unique<ProfileRecord>();
  *second = fuzz::defaultImage().profiles[3];
  std::strcpy(second->linkedApps[0], "C:\\Games\\mine.exe");
  importSharedProfile(again, *second, macros, texts);
  FUZZ_CHECK(macros.size() == macroCount && texts.size() == textCount);
  FUZZ_CHECK(std::memcmp(second->keys, target->keys, sizeof target->keys) == 0);
  return 0;
}
