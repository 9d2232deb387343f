#pragma once
// What the lighting page shows for the profile's effect code, and which
// profile field each effect sub-page edits.

#include <cstdint>

#include "SettingsImage.h"
#include "SliderMath.h"

// `lightFx` codes as the keyboard knows them (Ripple is 6, Reactive 4).
enum LightingEffect : int32_t {
  kEffectStatic = 1,
  kEffectBreathe = 2,
  kEffectWave = 3,
  kEffectReactive = 4,
  kEffectRipple = 6,
  kEffectCustom = 51,
};

// The effect menu: commands 1001..1006, name strings 1042..1047, in menu order.
constexpr int kEffectMenuFirstCommand = 1001;
constexpr int kEffectMenuCount = 6;
constexpr int kEffectNameFirstString = 1042;
struct EffectMenuEntry {
  int command;
  int32_t effect;
  int nameString;
};
const EffectMenuEntry& EffectMenuEntryAt(int index);  // 0..kEffectMenuCount-1, clamped

// Unknown commands choose Static.
int32_t EffectForMenuCommand(int command);
// Unknown codes are named as Custom (1047), although they show the Breathe sub-page.
int EffectNameString(int32_t lightFx);

// The six sub-pages in the order the lighting page creates them.
enum class LightingSubPage { Static, Breathe, Wave, Ripple, Reactive, Custom };
constexpr int kLightingSubPageCount = 6;
// Unknown codes show Breathe.
LightingSubPage SubPageForEffect(int32_t lightFx);

// Each sub-page's skin file in "LightFX\" (Static and Reactive share one)
// and how many of its BUTTONPOS entries are controls: the swatch, then the
// speed slider, then the two variant buttons, as far as the effect has them;
// Custom has its own six.
const char* SubPageSkinFile(LightingSubPage page);
int SubPageControlCount(LightingSubPage page);
constexpr int kCustomControlCount = 6;

// What the main window's keyboard picture shows while the lighting page is up.
enum class LightingPicture { LedButtons, Nothing };
LightingPicture LightingPictureFor(int32_t lightFx, int32_t customMode);

// The profile fields behind a sub-page's swatch, speed slider and variant
// buttons; null where the sub-page has no such control. The Custom sub-page's
// two swatches are its own business (LED and global colour).
struct SubPageFields {
  Color ProfileRecord::*color = nullptr;
  int32_t ProfileRecord::*speed = nullptr;
  int32_t ProfileRecord::*mode = nullptr;
};
SubPageFields FieldsOf(LightingSubPage page);

// Variant button `button` (0 or 1) is checked exactly when the mode equals it.
constexpr int kVariantButtonCount = 2;
inline bool VariantChecked(int32_t mode, int button) { return mode == button; }

// The sliders of the lighting page and its sub-pages share one identifier.
constexpr int kLightingSliderId = 201;
// Both snap; the track and thumb sizes come from the skin.
SliderGeometry BrightnessSliderGeometry(int trackWidth, int thumbWidth);
SliderGeometry SpeedSliderGeometry(int trackWidth, int thumbWidth);
