// saveAll plus loadAll of five full profiles, through the platform's
// private-profile functions and through our INI accessor, side by side.
// "cold" writes into files that do not exist yet, "warm" over existing ones
// with one key of every profile changed, "unchanged" the same image again.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

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

struct Timing {
  double save = 0, load = 0;
  double total() const { return save + load; }
};

Timing ourRound(const SettingsImage& image, SettingsImage& loaded, const std::string& folder) {
  const double start = nowMs();
  saveAll(image, folder);
  const double saved = nowMs();
  loadAll(loaded, folder);
  return {saved - start, nowMs() - saved};
}

void deleteFiles(const std::string& folder) {
  DeleteFileA(configIniPath(folder).c_str());
  for (int i = 0; i < kProfileCount; ++i) DeleteFileA(profilePath(folder, i).c_str());
}

// The median run of `runs` by total, with the range of the totals.
struct Summary {
  Timing median;
  double low = 0, high = 0;
};
Summary summarise(std::vector<Timing> runs) {
  std::sort(runs.begin(), runs.end(), [](const Timing& a, const Timing& b) { return a.total() < b.total(); });
  return {runs[runs.size() / 2], runs.front().total(), runs.back().total()};
}

// One key of every profile changes, so every profile file must be rewritten.
void touchEveryProfile(SettingsImage& image) {
  for (int p = 0; p < kProfileCount; ++p) ++image.profiles[p].keys[p].repeatDelayMs;
}

bool sameKeys(const SettingsImage& a, const SettingsImage& b) {
  bool same = true;
  for (int i = 0; i < kProfileCount; ++i)
    same = same && std::memcmp(a.profiles[i].keys, b.profiles[i].keys, sizeof a.profiles[i].keys) == 0;
  return same;
}

}  // namespace

int main() {
  constexpr int kRuns = 7;
  auto image = std::make_unique<SettingsImage>();
  auto loaded = std::make_unique<SettingsImage>();
  std::memset(image.get(), 0, sizeof *image);
  std::memset(loaded.get(), 0, sizeof *loaded);
  fillFull(*image);
  const std::string theirs = makeScratchFolder("bench-platform");
  const std::string ours = makeScratchFolder("bench-ours");
  // Process ids repeat under Wine, so a folder may hold files of an earlier run.
  deleteFiles(theirs);
  deleteFiles(ours);

  // The platform path takes seconds a round: once each is enough.
  const double platformCold = platformRound(*image, *loaded, theirs);
  touchEveryProfile(*image);
  const double platformWarm = platformRound(*image, *loaded, theirs);

  std::vector<Timing> cold, warm, unchanged;
  bool same = true;
  for (int run = 0; run < kRuns; ++run) {
    deleteFiles(ours);
    cold.push_back(ourRound(*image, *loaded, ours));
    same = same && sameKeys(*image, *loaded);
    touchEveryProfile(*image);
    warm.push_back(ourRound(*image, *loaded, ours));
    same = same && sameKeys(*image, *loaded);
    unchanged.push_back(ourRound(*image, *loaded, ours));
    same = same && sameKeys(*image, *loaded);
  }
  std::printf("saveAll+loadAll, five full profiles; ours: median of %d runs (range)\n", kRuns);
  std::printf("             platform       ours    save    load   ratio        range\n");
  const auto row = [](const char* name, double platform, const Summary& s) {
    char theirsText[32] = "";
    if (platform > 0) std::snprintf(theirsText, sizeof theirsText, "%9.1f ms", platform);
    char ratio[16] = "";
    if (platform > 0) std::snprintf(ratio, sizeof ratio, "%6.0fx", platform / s.median.total());
    std::printf("%-10s %12s %7.1f ms %7.1f %7.1f %7s  %5.1f..%5.1f\n", name, theirsText, s.median.total(),
                s.median.save, s.median.load, ratio, s.low, s.high);
  };
  row("cold", platformCold, summarise(cold));
  row("warm", platformWarm, summarise(warm));
  row("unchanged", 0, summarise(unchanged));
  std::printf("goal: under 50 ms cold and warm; unchanged files are not written\n");
  std::printf("round trip %s\n", same ? "exact" : "DIFFERS");
  return same ? 0 : 1;
}
