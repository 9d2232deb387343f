#include "LightingRules.h"

#include <algorithm>
#include <array>

namespace {
constexpr std::array<EffectMenuEntry, kEffectMenuCount> kEffectMenu{{
    {1001, kEffectStatic, 1042},
    {1002, kEffectBreathe, 1043},
    {1003, kEffectWave, 1044},
    {1004, kEffectRipple, 1045},
    {1005, kEffectReactive, 1046},
    {1006, kEffectCustom, 1047},
}};
constexpr int kUnknownEffectName = 1047;
}  // namespace

const EffectMenuEntry& EffectMenuEntryAt(int index) {
  return kEffectMenu[size_t(std::clamp(index, 0, kEffectMenuCount - 1))];
}

int32_t EffectForMenuCommand(int command) {
  for (const EffectMenuEntry& entry : kEffectMenu)
    if (entry.command == command) return entry.effect;
  return kEffectStatic;
}

int EffectNameString(int32_t lightFx) {
  for (const EffectMenuEntry& entry : kEffectMenu)
    if (entry.effect == lightFx) return entry.nameString;
  return kUnknownEffectName;
}

LightingSubPage SubPageForEffect(int32_t lightFx) {
  switch (lightFx) {
    case kEffectStatic:
      return LightingSubPage::Static;
    case kEffectWave:
      return LightingSubPage::Wave;
    case kEffectReactive:
      return LightingSubPage::Reactive;
    case kEffectRipple:
      return LightingSubPage::Ripple;
    case kEffectCustom:
      return LightingSubPage::Custom;
  }
  return LightingSubPage::Breathe;
}

LightingPicture LightingPictureFor(int32_t lightFx, int32_t customMode) {
  return lightFx == kEffectCustom && customMode == 0 ? LightingPicture::LedButtons : LightingPicture::Nothing;
}

SubPageFields FieldsOf(LightingSubPage page) {
  switch (page) {
    case LightingSubPage::Static:
      return {&ProfileRecord::staticColor, nullptr, nullptr};
    case LightingSubPage::Breathe:
      return {&ProfileRecord::breatheColor, &ProfileRecord::breatheSpeed, nullptr};
    case LightingSubPage::Wave:
      return {&ProfileRecord::waveColor, &ProfileRecord::waveSpeed, &ProfileRecord::waveMode};
    case LightingSubPage::Ripple:
      return {&ProfileRecord::rippleColor, &ProfileRecord::rippleSpeed, &ProfileRecord::rippleMode};
    case LightingSubPage::Reactive:
      return {&ProfileRecord::reactiveColor, nullptr, nullptr};
    case LightingSubPage::Custom:
      return {nullptr, nullptr, &ProfileRecord::customMode};
  }
  return {};
}

const char* SubPageSkinFile(LightingSubPage page) {
  switch (page) {
    case LightingSubPage::Static:
    case LightingSubPage::Reactive:
      return "skin_CONSTANT.ini";
    case LightingSubPage::Breathe:
      return "skin_Breathe.ini";
    case LightingSubPage::Wave:
      return "skin_wave.ini";
    case LightingSubPage::Ripple:
      return "skin_Ripple.ini";
    case LightingSubPage::Custom:
      return "skin_Custom.ini";
  }
  return "skin_CONSTANT.ini";
}

int SubPageControlCount(LightingSubPage page) {
  if (page == LightingSubPage::Custom) return kCustomControlCount;
  const SubPageFields fields = FieldsOf(page);
  constexpr int kSwatchOnly = 1, kWithSpeed = 2;
  if (fields.mode) return kWithSpeed + kVariantButtonCount;
  return fields.speed ? kWithSpeed : kSwatchOnly;
}

SliderGeometry BrightnessSliderGeometry(int trackWidth, int thumbWidth) {
  return {0, trackWidth, thumbWidth, kBrightnessMin, kBrightnessMax, true};
}

SliderGeometry SpeedSliderGeometry(int trackWidth, int thumbWidth) {
  return {0, trackWidth, thumbWidth, kSpeedMin, kSpeedMax, true};
}
