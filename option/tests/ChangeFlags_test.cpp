#include "ChangeFlags.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Pair {
  std::unique_ptr<SettingsImage> edited = std::make_unique<SettingsImage>();
  std::unique_ptr<SettingsImage> exchanged = std::make_unique<SettingsImage>();
  Pair() {
    buildDefaultImage(*exchanged);
    clearChangeFlags(*exchanged);
    *edited = *exchanged;
  }
  SettingsImage& compute() {
    computeChangeFlags(*edited, *exchanged);
    return *edited;
  }
};

int flagsSet(const SettingsImage& image) {
  const auto* words =
      reinterpret_cast<const int32_t*>(reinterpret_cast<const char*>(&image) + kChangeFlagsOffset);
  int set = 0;
  for (size_t i = 0; i < kChangeFlagsSize / 4; ++i) set += words[i] != 0;
  return set;
}

}  // namespace

TEST(ChangeFlags, IdenticalImagesSetNothingAndStaleFlagsAreCleared) {
  Pair pair;
  pair.edited->profileSwitched = 1;
  pair.edited->keyDirty[2][7] = 1;
  pair.edited->reserved2 = 5;
  EXPECT_EQ(flagsSet(pair.compute()), 0);
}

TEST(ChangeFlags, ProfileSwitchIsTheCurrentProfileOnly) {
  Pair pair;
  pair.edited->currentProfile = 3;
  SettingsImage& e = pair.compute();
  EXPECT_EQ(e.profileSwitched, 1);
  EXPECT_EQ(flagsSet(e), 1);
}

TEST(ChangeFlags, EachKeyByteMarksOnlyItsKeyInItsProfile) {
  for (size_t byte : {size_t(0), size_t(3), size_t(204), sizeof(KeyAssignment) - 1}) {
    Pair pair;
    reinterpret_cast<unsigned char*>(&pair.edited->profiles[4].keys[104])[byte] ^= 0x40;
    reinterpret_cast<unsigned char*>(&pair.edited->profiles[0].keys[0])[byte] ^= 0x01;
    SettingsImage& e = pair.compute();
    EXPECT_EQ(e.keyDirty[4][104], 1) << byte;
    EXPECT_EQ(e.keyDirty[0][0], 1) << byte;
    EXPECT_EQ(flagsSet(e), 2) << byte;
  }
}

// Every field of every flag group, in every profile, sets exactly the flags
// that watch it (lightFx is watched by both effect flags).
TEST(ChangeFlags, EveryFieldSetsExactlyItsGroups) {
  using F = int32_t(SettingsImage::*)[kProfileCount];
  struct Case {
    const char* name;
    void (*change)(ProfileRecord&);
    F flags[2];
    int count;
  };
  const F std = &SettingsImage::standardKeyDirty, light = &SettingsImage::lightSwitchDirty,
          win = &SettingsImage::winLockDirty, effect = &SettingsImage::effectDirty,
          colour = &SettingsImage::effectColorDirty, custom = &SettingsImage::customColorDirty;
  const std::vector<Case> cases = {
      {"standardKey", [](ProfileRecord& p) { p.standardKey[104] ^= 1; }, {std, nullptr}, 1},
      {"ltSwitch", [](ProfileRecord& p) { p.ltSwitch ^= 1; }, {light, nullptr}, 1},
      {"ltColor", [](ProfileRecord& p) { p.ltColor ^= 1; }, {light, nullptr}, 1},
      {"ltSaving", [](ProfileRecord& p) { p.ltSaving ^= 1; }, {light, nullptr}, 1},
      {"ltPulsation", [](ProfileRecord& p) { p.ltPulsation ^= 1; }, {light, nullptr}, 1},
      {"leftWinLock", [](ProfileRecord& p) { p.leftWinLock ^= 1; }, {win, nullptr}, 1},
      {"lightFx", [](ProfileRecord& p) { p.lightFx ^= 1; }, {effect, colour}, 2},
      {"ltControl", [](ProfileRecord& p) { p.ltControl ^= 1; }, {effect, nullptr}, 1},
      {"breatheSpeed", [](ProfileRecord& p) { p.breatheSpeed ^= 1; }, {effect, nullptr}, 1},
      {"waveSpeed", [](ProfileRecord& p) { p.waveSpeed ^= 1; }, {effect, nullptr}, 1},
      {"rippleSpeed", [](ProfileRecord& p) { p.rippleSpeed ^= 1; }, {effect, nullptr}, 1},
      {"rippleMode", [](ProfileRecord& p) { p.rippleMode ^= 1; }, {effect, nullptr}, 1},
      {"waveMode", [](ProfileRecord& p) { p.waveMode ^= 1; }, {effect, nullptr}, 1},
      {"lightFxFlag", [](ProfileRecord& p) { p.lightFxFlag ^= 1; }, {effect, nullptr}, 1},
      {"staticColor", [](ProfileRecord& p) { p.staticColor ^= 1; }, {colour, nullptr}, 1},
      {"breatheColor", [](ProfileRecord& p) { p.breatheColor ^= 1; }, {colour, nullptr}, 1},
      {"waveColor", [](ProfileRecord& p) { p.waveColor ^= 1; }, {colour, nullptr}, 1},
      {"rippleColor", [](ProfileRecord& p) { p.rippleColor ^= 1; }, {colour, nullptr}, 1},
      {"reactiveColor", [](ProfileRecord& p) { p.reactiveColor ^= 1; }, {colour, nullptr}, 1},
      {"globalColor", [](ProfileRecord& p) { p.globalColor ^= 1; }, {custom, nullptr}, 1},
      {"customColors[0]", [](ProfileRecord& p) { p.customColors[0] ^= 1; }, {custom, nullptr}, 1},
      {"customColors[125]", [](ProfileRecord& p) { p.customColors[125] ^= 1; }, {custom, nullptr}, 1},
      {"customMode", [](ProfileRecord& p) { p.customMode ^= 1; }, {custom, nullptr}, 1},
  };
  for (const Case& c : cases) {
    for (int profile = 0; profile < kProfileCount; ++profile) {
      Pair pair;
      c.change(pair.edited->profiles[profile]);
      SettingsImage& e = pair.compute();
      for (int f = 0; f < c.count; ++f) EXPECT_EQ((e.*c.flags[f])[profile], 1) << c.name << " " << profile;
      EXPECT_EQ(flagsSet(e), c.count) << c.name << " " << profile;
    }
  }
}

TEST(ChangeFlags, FieldsNoFlagWatchesSetNothing) {
  Pair pair;
  ProfileRecord& p = pair.edited->profiles[1];
  p.customCtrlClickColor ^= 1;
  p.previewOn ^= 1;
  p.linkedApps[3][0] = 'x';
  p.profileName[0] = 'x';
  EXPECT_EQ(flagsSet(pair.compute()), 0);
}

TEST(ChangeFlags, FullDownloadMarksWhatTheDownloadLooksAt) {
  Pair pair;
  markProfileForFullDownload(*pair.edited, 2);
  const SettingsImage& e = *pair.edited;
  for (int k = 0; k < kKeyCount; ++k) EXPECT_EQ(e.keyDirty[2][k], 1);
  EXPECT_EQ(e.standardKeyDirty[2], 1);
  EXPECT_EQ(e.effectDirty[2], 1);
  EXPECT_EQ(e.effectColorDirty[2], 1);
  EXPECT_EQ(e.customColorDirty[2], 1);
  EXPECT_EQ(e.profileSwitched, 1);
  EXPECT_EQ(flagsSet(e), kKeyCount + 5);
  markProfileForFullDownload(*pair.edited, 5);  // no such profile: nothing
  markProfileForFullDownload(*pair.edited, -1);
  EXPECT_EQ(flagsSet(e), kKeyCount + 5);
}
