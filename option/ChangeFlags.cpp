#include "ChangeFlags.h"

#include <cstring>

namespace {

template <typename T>
bool differs(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) != 0;
}

bool lightSwitchDiffers(const ProfileRecord& e, const ProfileRecord& x) {
  return e.ltSwitch != x.ltSwitch || e.ltColor != x.ltColor || e.ltSaving != x.ltSaving ||
         e.ltPulsation != x.ltPulsation;
}

bool effectDiffers(const ProfileRecord& e, const ProfileRecord& x) {
  return e.lightFx != x.lightFx || e.ltControl != x.ltControl || e.breatheSpeed != x.breatheSpeed ||
         e.waveSpeed != x.waveSpeed || e.rippleSpeed != x.rippleSpeed || e.rippleMode != x.rippleMode ||
         e.waveMode != x.waveMode || e.lightFxFlag != x.lightFxFlag;
}

bool effectColorDiffers(const ProfileRecord& e, const ProfileRecord& x) {
  return e.lightFx != x.lightFx || e.staticColor != x.staticColor || e.breatheColor != x.breatheColor ||
         e.waveColor != x.waveColor || e.rippleColor != x.rippleColor || e.reactiveColor != x.reactiveColor;
}

bool customColorDiffers(const ProfileRecord& e, const ProfileRecord& x) {
  return e.globalColor != x.globalColor || differs(e.customColors, x.customColors) ||
         e.customMode != x.customMode;
}

}  // namespace

void computeChangeFlags(SettingsImage& edited, const SettingsImage& exchanged) {
  clearChangeFlags(edited);
  edited.profileSwitched = edited.currentProfile != exchanged.currentProfile;
  for (int p = 0; p < kProfileCount; ++p) {
    const ProfileRecord& e = edited.profiles[p];
    const ProfileRecord& x = exchanged.profiles[p];
    for (int k = 0; k < kKeyCount; ++k) edited.keyDirty[p][k] = differs(e.keys[k], x.keys[k]);
    edited.standardKeyDirty[p] = differs(e.standardKey, x.standardKey);
    edited.lightSwitchDirty[p] = lightSwitchDiffers(e, x);
    edited.winLockDirty[p] = e.leftWinLock != x.leftWinLock;
    edited.effectDirty[p] = effectDiffers(e, x);
    edited.effectColorDirty[p] = effectColorDiffers(e, x);
    edited.customColorDirty[p] = customColorDiffers(e, x);
  }
}

void markProfileForFullDownload(SettingsImage& image, int profile) {
  if (profile < 0 || profile >= kProfileCount) return;
  for (int& dirty : image.keyDirty[profile]) dirty = 1;
  image.standardKeyDirty[profile] = 1;
  image.effectDirty[profile] = 1;
  image.effectColorDirty[profile] = 1;
  image.customColorDirty[profile] = 1;
  image.profileSwitched = 1;
}
