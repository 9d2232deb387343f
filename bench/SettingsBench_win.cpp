// saveAll plus loadAll of five full profiles, through the platform's
// private-profile functions and through our INI accessor, side by side.
// "cold" writes into files that do not exist yet, "warm" over existing ones.
#include <cstdio>
#include <cstring>
#include <memory>

#include "PlatformIniStore_win.h"
#include "ProfileFiles.h"

namespace {

double nowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

void fillFull(SettingsImage& image) {
  buildDefaultImage(image);
  for (int p = 0; p < kProfileCount; ++p)
    for (int k = 0; k < kKeyCount; ++k) {
      KeyAssignment& key = image.profiles[p].keys[k];
      key.category = kCategoryMacro;
      key.functionCode = kFunctionRecordedMacro;
      std::snprintf(key.macroName, sizeof key.macroName, "m%d_%d", p, k);
      key.stepCount = kMaxMacroSteps;
      for (int s = 0; s < kMaxMacroSteps; ++s) key.steps[s] = MacroStep::make(uint8_t(s + 4), 1, 5);
      std::memset(key.textMacroText, 'a' + k % 26, 4000);
    }
}

double platformRound(const SettingsImage& image, SettingsImage& loaded, const std::string& folder) {
  const double start = nowMs();
  PlatformIniStore config(configIniPath(folder));
  config.writeInt("Setting", "CurrentProfile", image.currentProfile);
  for (int i = 0; i < kProfileCount; ++i) {
    PlatformIniStore file(profilePath(folder, i));
    saveProfile(image.profiles[i], file);
  }
  loaded.currentProfile = config.readInt("Setting", "CurrentProfile", -1);
  for (int i = 0; i < kProfileCount; ++i) {
    buildDefaultProfile(loaded.profiles[i], i);
    loadProfile(loaded.profiles[i], PlatformIniStore(profilePath(folder, i)));
  }
  return nowMs() - start;
}

double ourRound(const SettingsImage& image, SettingsImage& loaded, const std::string& folder) {
  const double start = nowMs();
  saveAll(image, folder);
  const double saved = nowMs();
  loadAll(loaded, folder);
  const double end = nowMs();
  std::printf("  ours: save %.1f ms, load %.1f ms\n", saved - start, end - saved);
  return end - start;
}

}  // namespace

int main() {
  auto image = std::make_unique<SettingsImage>();
  auto loaded = std::make_unique<SettingsImage>();
  std::memset(image.get(), 0, sizeof *image);
  std::memset(loaded.get(), 0, sizeof *loaded);
  fillFull(*image);
  const std::string theirs = makeScratchFolder("bench-platform");
  const std::string ours = makeScratchFolder("bench-ours");
  // Process ids repeat under Wine, so a folder may hold files of an earlier run.
  for (const std::string& folder : {theirs, ours}) {
    DeleteFileA(configIniPath(folder).c_str());
    for (int i = 0; i < kProfileCount; ++i) DeleteFileA(profilePath(folder, i).c_str());
  }
  const double platformCold = platformRound(*image, *loaded, theirs);
  const double platformWarm = platformRound(*image, *loaded, theirs);
  const double oursCold = ourRound(*image, *loaded, ours);
  bool same = true;
  for (int i = 0; i < kProfileCount; ++i)
    same = same && std::memcmp(image->profiles[i].keys, loaded->profiles[i].keys,
                               sizeof image->profiles[i].keys) == 0;
  const double oursWarm = ourRound(*image, *loaded, ours);
  std::printf("saveAll+loadAll, five full profiles\n");
  std::printf("          platform      ours     ratio\n");
  std::printf("cold   %9.1f ms %8.1f ms %8.0fx\n", platformCold, oursCold, platformCold / oursCold);
  std::printf("warm   %9.1f ms %8.1f ms %8.0fx\n", platformWarm, oursWarm, platformWarm / oursWarm);
  std::printf("round trip %s\n", same ? "exact" : "DIFFERS");
  return same ? 0 : 1;
}
