#include "EffectSubPage_win.h"

#include "ColorKeyButton_win.h"
#include "ColorSelectDialog_win.h"
#include "SkinButton_win.h"
#include "SkinMessages.h"
#include "SkinSlider_win.h"

namespace {
enum Control { kSwatch = 1, kSpeed = 2, kFirstVariant = 3 };
constexpr int kIdBase = 100;
constexpr char kThumbPicture[] = "scroll_arrow.bmp";
}  // namespace

ColorKeyButton* CreateSwatch(HWND page, int id, const SkinPosition& position,
                             const SkinStatePictures& pictures) {
  ColorKeyButton* swatch = ColorKeyButton::Create(page, id, position, pictures);
  if (swatch) swatch->setDrawMode(ColorKeyDrawMode::Swatch);
  return swatch;
}

SkinSlider* CreateLightingSlider(HWND page, const SkinPosition& position, const SkinStatePictures& pictures,
                                 int minimum, int maximum) {
  const SkinRect& r = position.rect;
  const RECT rect{r.left, r.top, r.right, r.bottom};
  SkinSlider* slider = SkinSlider::Create(SkinRoot() + kThumbPicture, rect, page, kLightingSliderId);
  if (!slider) return nullptr;
  slider->setBackground(rect, pictures.normal);
  slider->setRange(minimum, maximum);
  slider->setSnap(true);
  slider->setHelpText(position.text);
  return slider;
}

std::optional<Color> ChooseColor(OptionHost& host, Color initial) {
  ColorSelectDialog dialog;
  return dialog.choose(host.window(), initial);
}

bool EffectSubPage::create(HWND parent, POINT at) {
  fields_ = FieldsOf(kind_);
  const SkinSource source{
      SubPageSkinFile(kind_), SkinRoot() + "LightFX\\", {{1, SubPageControlCount(kind_)}}, {}};
  return createPage(source, parent, at);
}

HWND EffectSubPage::createControl(int, int key, const SkinPosition& position,
                                  const SkinStatePictures& pictures) {
  if (key == kSwatch) {
    ColorKeyButton* swatch = CreateSwatch(hwnd(), kIdBase + key, position, pictures);
    return swatch ? swatch->hwnd() : nullptr;
  }
  if (key == kSpeed) {
    SkinSlider* slider = CreateLightingSlider(hwnd(), position, pictures, kSpeedMin, kSpeedMax);
    return slider ? slider->hwnd() : nullptr;
  }
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures);
  return button ? button->hwnd() : nullptr;
}

void EffectSubPage::refresh() {
  const ProfileRecord& profile = host_.activeProfile();
  if (fields_.color)
    if (auto* swatch = controlAs<ColorKeyButton>(kSwatch)) swatch->setColor(profile.*fields_.color);
  if (fields_.speed)
    if (auto* slider = controlAs<SkinSlider>(kSpeed)) slider->setValue(profile.*fields_.speed);
  if (fields_.mode)
    for (int i = 0; i < kVariantButtonCount; ++i)
      if (auto* button = controlAs<SkinButton>(kFirstVariant + i))
        button->setChecked(VariantChecked(profile.*fields_.mode, i));
}

void EffectSubPage::chooseColor() {
  if (!fields_.color) return;
  auto* swatch = controlAs<ColorKeyButton>(kSwatch);
  // The colour goes to the profile the dialog was opened on, even when the
  // monitor switched the window to another one meanwhile.
  ProfileRecord& profile = host_.activeProfile();
  const std::optional<Color> chosen = ChooseColor(host_, profile.*fields_.color);
  if (chosen) profile.*fields_.color = *chosen;
  // A Ctrl+click may have painted the swatch; it shows the active profile's
  // field either way.
  if (swatch) {
    swatch->setColor(host_.activeProfile().*fields_.color);
    UpdateWindow(swatch->hwnd());
  }
  if (!chosen) return;
  UpdateWindow(hwnd());
  host_.edited();
}

void EffectSubPage::chooseVariant(int variant) {
  if (!fields_.mode) return;
  host_.activeProfile().*fields_.mode = variant;
  for (int i = 0; i < kVariantButtonCount; ++i)
    if (auto* button = controlAs<SkinButton>(kFirstVariant + i)) button->setChecked(i == variant);
  host_.edited();
}

void EffectSubPage::onCommand(int id, int, HWND) {
  const int key = id - kIdBase;
  if (key == kSwatch) return chooseColor();
  if (key >= kFirstVariant && key < kFirstVariant + kVariantButtonCount) chooseVariant(key - kFirstVariant);
}

LRESULT EffectSubPage::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MSG_SLIDER_POS && fields_.speed) {
    if (lParam == kLightingSliderId) {
      host_.activeProfile().*fields_.speed = int32_t(wParam);
      UpdateWindow(hwnd());
    }
    host_.edited();
    return 0;
  }
  return SkinPage::onMessage(message, wParam, lParam);
}
