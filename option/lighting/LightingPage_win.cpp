#include "LightingPage_win.h"

#include "SkinButton_win.h"
#include "SkinMenu_win.h"
#include "SkinMessages.h"
#include "SkinSlider_win.h"

namespace {
enum Control {
  kEffectSelector = 1,
  kLightsToggle = 2,
  kEffectHelp = 3,
  kBrightness = 4,
  kBrightnessHelp = 5,
  kControlCount = 5,
  kEffectArea = 6,  // no control: where the sub-pages lie
};
constexpr int kIdBase = 100;  // below the menu's commands 1001..1006
constexpr char kEffectHelpText[] =
    "Choose the lighting effect and its colour\nand speed below. LIGHTS OFF darkens the\nkeyboard.";
constexpr char kBrightnessHelpText[] = "The brightness of all the lights,\nfrom 0 (dark) to 10 (brightest).";
// The slider's value, beside its "BRIGHTNESS" label.
constexpr RECT kBrightnessValueArea{446, 10, 500, 28};
constexpr int kHelpOffsetX = -15, kHelpOffsetY = 15;

constexpr char kMenuFont[] = "Play";
constexpr int kMenuFontHeight = 14;
constexpr int kMenuMinimumWidth = 133;
constexpr int kMenuOffsetX = 2;  // from the selector's left edge
}  // namespace

LightingPage::~LightingPage() = default;

bool LightingPage::create(HWND parent, POINT at) {
  if (!createPage({"skin_color_control.ini", SkinRoot(), {{1, kControlCount}}, {}}, parent, at)) return false;
  createSubPages();
  refresh();
  return true;
}

HWND LightingPage::createControl(int, int key, const SkinPosition& position,
                                 const SkinStatePictures& pictures) {
  if (key == kBrightness) {
    SkinSlider* slider = CreateLightingSlider(hwnd(), position, pictures, kBrightnessMin, kBrightnessMax);
    return slider ? slider->hwnd() : nullptr;
  }
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures, key == kLightsToggle);
  return button ? button->hwnd() : nullptr;
}

void LightingPage::createSubPages() {
  const SkinPosition area = readPosition("BUTTONPOS", kEffectArea);
  const POINT at{area.rect.left, area.rect.top};
  for (int i = 0; i < kLightingSubPageCount; ++i) {
    const auto kind = LightingSubPage(i);
    std::unique_ptr<EffectSubPage> page;
    if (kind == LightingSubPage::Custom) {
      auto custom = std::make_unique<CustomSubPage>(host_);
      custom_ = custom.get();
      page = std::move(custom);
    } else {
      page = std::make_unique<EffectSubPage>(host_, kind);
    }
    page->create(hwnd(), at);
    subPages_[size_t(i)] = std::move(page);
  }
}

void LightingPage::refresh() {
  const ProfileRecord& profile = host_.activeProfile();
  // The main window switches its keyboard picture itself after a refresh.
  showEffect(profile.lightFx, false);
  if (auto* slider = controlAs<SkinSlider>(kBrightness)) slider->setValue(profile.ltControl);
  InvalidateRect(hwnd(), &kBrightnessValueArea, FALSE);
  if (auto* toggle = controlAs<SkinButton>(kLightsToggle)) toggle->setChecked(profile.lightFxFlag == 1);
  for (auto& page : subPages_)
    if (page) page->refresh();
}

void LightingPage::showEffect(int32_t lightFx, bool switchPicture) {
  EffectSubPage* next = subPage(SubPageForEffect(lightFx));
  if (next != visible_) {
    if (visible_) ShowWindow(visible_->hwnd(), SW_HIDE);
    if (next) ShowWindow(next->hwnd(), SW_SHOW);
    visible_ = next;
  }
  if (auto* selector = controlAs<SkinButton>(kEffectSelector)) {
    selector->setCaption(host_.text(EffectNameString(lightFx)));
    InvalidateRect(selector->hwnd(), nullptr, FALSE);
    UpdateWindow(selector->hwnd());
  }
  if (switchPicture) host_.keyboardPictureChanged();
  UpdateWindow(hwnd());
}

void LightingPage::openEffectMenu() {
  auto* selector = controlAs<SkinButton>(kEffectSelector);
  if (!selector) return;
  // The choice arrives after the menu has gone; it belongs to the profile the
  // menu was opened on, even when the monitor switched profiles meanwhile.
  menuProfile_ = host_.document().activeIndex();
  {
    SkinMenu menu(kMenuFont, kMenuFontHeight, FW_NORMAL);
    menu.setMinimumWidth(kMenuMinimumWidth);
    for (int i = 0; i < kEffectMenuCount; ++i) {
      const EffectMenuEntry& entry = EffectMenuEntryAt(i);
      menu.append(unsigned(entry.command), host_.text(entry.nameString));
    }
    RECT r;
    GetWindowRect(selector->hwnd(), &r);
    menu.track(hwnd(), r.left + kMenuOffsetX, r.bottom, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON);
    PostMessageA(hwnd(), WM_NULL, 0, 0);  // lets the menu loop end cleanly
  }
  selector->setHover(false);
  InvalidateRect(selector->hwnd(), nullptr, FALSE);
}

void LightingPage::chooseEffect(int command) {
  OptionDocument& doc = host_.document();
  const int profile = menuProfile_ >= 0 ? menuProfile_ : doc.activeIndex();
  menuProfile_ = -1;
  doc.edit->profiles[profile].lightFx = EffectForMenuCommand(command);
  showEffect(host_.activeProfile().lightFx, true);
  host_.edited();
}

void LightingPage::ledClicked(int led, bool ctrlHeld) {
  if (custom_) custom_->ledClicked(led, ctrlHeld);
}

void LightingPage::onCommand(int id, int, HWND control) {
  if (!control) return chooseEffect(id);  // a command of the effect menu
  switch (id - kIdBase) {
    case kEffectSelector:
      openEffectMenu();
      break;
    case kLightsToggle:
      if (auto* toggle = controlAs<SkinButton>(kLightsToggle)) {
        host_.activeProfile().lightFxFlag = toggle->checked() ? 1 : 0;
        UpdateWindow(hwnd());
        host_.edited();
      }
      break;
    case kEffectHelp:
      balloon().show(kEffectHelpText, kHelpOffsetX, kHelpOffsetY);
      break;
    case kBrightnessHelp:
      balloon().show(kBrightnessHelpText, kHelpOffsetX, kHelpOffsetY);
      break;
  }
}

void LightingPage::paintOver(HDC dc) {
  const std::string value = std::to_string(host_.activeProfile().ltControl);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Play");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(232, 232, 232));
  RECT area = kBrightnessValueArea;
  DrawTextA(dc, value.c_str(), int(value.size()), &area, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteObject(font);
}

LRESULT LightingPage::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MSG_SLIDER_POS) {
    if (lParam == kLightingSliderId) {
      host_.activeProfile().ltControl = int32_t(wParam);
      InvalidateRect(hwnd(), &kBrightnessValueArea, FALSE);
      UpdateWindow(hwnd());
      host_.edited();
    }
    return 0;
  }
  return SkinPage::onMessage(message, wParam, lParam);
}
