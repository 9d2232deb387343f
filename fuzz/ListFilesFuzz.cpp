// The macro library, the text-macro library and the application lists as
// anyone may have left them: loading keeps the record count bounded and every
// record sanitised, a save and a load give the same records, and binding the
// libraries to the keys leaves a sound image that a second pass keeps as it is.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>

#include "FuzzSupport.h"
#include "IniFile.h"
#include "ListFiles.h"

namespace {

bool sound(const MacroRecord& r) {
  return fuzz::terminated(r.name) && r.stepCount >= 0 && r.stepCount <= kMaxMacroSteps;
}
bool sound(const TextMacroRecord& r) { return fuzz::terminated(r.name) && fuzz::terminated(r.text); }
bool sound(const AppPathEntry& r) { return fuzz::terminated(r.path); }

template <typename Record>
std::vector<Record> loadAndCheck(const std::string& folder, const ListFile& file, const std::string& bytes) {
  fuzz::writeFile(folder + file.file, bytes);
  std::vector<Record> list;
  loadList(list, folder, file);
  FUZZ_CHECK(list.size() <= size_t(kMaxListRecords));
  for (const Record& r : list) FUZZ_CHECK(sound(r));

  // A count of thousands with few records written is a damaged file worth
  // loading, but saving and reading back its megabytes is not worth a run.
  if (list.size() > 64) return list;
  FUZZ_CHECK(saveList(list, folder, file));
  std::vector<Record> again;
  loadList(again, folder, file);
  FUZZ_CHECK(again.size() == list.size());
  FUZZ_CHECK(again.empty() || std::memcmp(again.data(), list.data(), list.size() * sizeof(Record)) == 0);
  return list;
}

// A few keys of the first profile name the library's first entries, as
// keys bound through the macro pages do.
template <typename Record>
void bindKeys(const std::vector<Record>& list, SettingsImage& image, uint8_t functionCode) {
  for (size_t i = 0; i < list.size() && i < 4; ++i) {
    KeyAssignment& key = image.profiles[0].keys[i * 7];
    key.functionCode = functionCode;
    char* name = functionCode == kFunctionRecordedMacro ? key.macroName : key.textMacroName;
    const size_t size =
        functionCode == kFunctionRecordedMacro ? sizeof key.macroName : sizeof key.textMacroName;
    std::strncpy(name, list[i].name, size - 1);
    name[size - 1] = '\0';
  }
}

void checkKeys(const SettingsImage& image) {
  for (const ProfileRecord& p : image.profiles)
    for (const KeyAssignment& key : p.keys) {
      FUZZ_CHECK(key.stepCount <= kMaxMacroSteps);
      FUZZ_CHECK(fuzz::terminated(key.macroName) && fuzz::terminated(key.textMacroName));
      FUZZ_CHECK(fuzz::terminated(key.textMacroText));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int kind = in.ConsumeIntegralInRange(0, 3);
  const std::string bytes = in.ConsumeRemainingBytesAsString();
  const std::string& folder = fuzz::scratchFolder();

  // Kept between runs: a fresh 3 MB image each time costs more than the run.
  static const auto image = std::make_unique<SettingsImage>();
  static const auto once = std::make_unique<SettingsImage>();
  *image = fuzz::defaultImage();
  switch (kind) {
    case 0: {
      const MacroLibrary library = loadAndCheck<MacroRecord>(folder, kMacroLibraryFile, bytes);
      bindKeys(library, *image, kFunctionRecordedMacro);
      applyMacroLibrary(library, *image);
      *once = *image;
      applyMacroLibrary(library, *image);
      MacroLibrary collected = library;
      collectMacrosFromProfiles(collected, *image);
      FUZZ_CHECK(collected.size() >= library.size());
      // Entries already there are never changed from a key's copy.
      FUZZ_CHECK(library.empty() ||
                 std::memcmp(collected.data(), library.data(), library.size() * sizeof(MacroRecord)) == 0);
      break;
    }
    case 1: {
      const TextMacroLibrary library = loadAndCheck<TextMacroRecord>(folder, kTextMacroLibraryFile, bytes);
      bindKeys(library, *image, kFunctionTextMacro);
      applyTextMacroLibrary(library, *image);
      *once = *image;
      applyTextMacroLibrary(library, *image);
      break;
    }
    case 2:
      loadAndCheck<AppPathEntry>(folder, kLaunchAppListFile, bytes);
      return 0;
    default:
      loadAndCheck<AppPathEntry>(folder, profileAppListFile(1 + int(size % kProfileCount)), bytes);
      return 0;
  }
  checkKeys(*image);
  FUZZ_CHECK(std::memcmp(once.get(), image.get(), sizeof *image) == 0);
  return 0;
}
