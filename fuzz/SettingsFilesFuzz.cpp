// config.ini and a profile file as anyone may have left them: loading gives
// a sound image (current profile in range, texts terminated, counts and
// play modes in range, each key at its own index), and what a profile
// holds in struct blocks survives a save and a load unchanged.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>

#include "FuzzSupport.h"
#include "IniFile.h"
#include "ProfileFiles.h"

namespace {

void checkSound(const ProfileRecord& p) {
  FUZZ_CHECK(fuzz::terminated(p.profileName));
  for (const auto& app : p.linkedApps) FUZZ_CHECK(fuzz::terminated(app));
  for (int k = 0; k < kKeyCount; ++k) {
    const KeyAssignment& key = p.keys[k];
    FUZZ_CHECK(key.keyIndex == k);
    FUZZ_CHECK(key.stepCount <= kMaxMacroSteps);
    FUZZ_CHECK(key.playMode >= kPlayOnce && key.playMode <= kPlayToggle);
    FUZZ_CHECK(fuzz::terminated(key.macroName) && fuzz::terminated(key.appPath));
    FUZZ_CHECK(fuzz::terminated(key.textMacroName) && fuzz::terminated(key.textMacroText));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int profile = in.ConsumeIntegralInRange(0, kProfileCount - 1);
  const std::string config = in.ConsumeRandomLengthString(512);
  const std::string profileText = in.ConsumeRemainingBytesAsString();

  const std::string& folder = fuzz::scratchFolder();
  fuzz::writeFile(configIniPath(folder), config);
  for (int i = 0; i < kProfileCount; ++i) removeFile(profilePath(folder, i));
  fuzz::writeFile(profilePath(folder, profile), profileText);

  // Kept between runs: a fresh 3 MB image each time costs more than the run.
  static const auto image = std::make_unique<SettingsImage>();
  static const auto again = std::make_unique<ProfileRecord>();
  std::memset(image.get(), 0xA5, sizeof *image);
  loadAll(*image, folder);
  FUZZ_CHECK(image->currentProfile >= 0 && image->currentProfile < kProfileCount);
  for (const ProfileRecord& p : image->profiles) checkSound(p);
  readFirmwareVersion(folder);
  unsigned char osd[kOsdSettingsSize] = {};
  readOsdSettings(osd, folder);

  // Save over the same document and read back. Encoding the 105 key blocks
  // (a megabyte of text) is most of a run, so only every eighth input length
  // takes this path; the loading above runs for every input.
  if (profileText.size() % 8 != 0) return 0;
  IniFile store(profilePath(folder, profile));
  const ProfileRecord& loaded = image->profiles[profile];
  saveProfile(loaded, store);
  *again = loaded;
  std::memset(again->keys, 0x5A, sizeof again->keys);
  std::memset(again->customColors, 0x5A, sizeof again->customColors);
  std::memset(again->standardKey, 0x5A, sizeof again->standardKey);
  loadProfile(*again, store);
  checkSound(*again);
  FUZZ_CHECK(std::memcmp(again->keys, loaded.keys, sizeof loaded.keys) == 0);
  FUZZ_CHECK(std::memcmp(again->customColors, loaded.customColors, sizeof loaded.customColors) == 0);
  FUZZ_CHECK(std::memcmp(again->standardKey, loaded.standardKey, sizeof loaded.standardKey) == 0);
  FUZZ_CHECK(again->lightFx == loaded.lightFx && again->leftWinLock == loaded.leftWinLock);
  FUZZ_CHECK(again->globalColor == loaded.globalColor && again->totalMacro == loaded.totalMacro);
  return 0;
}
