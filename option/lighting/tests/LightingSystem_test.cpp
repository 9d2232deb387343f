// The lighting page in the real Option.exe against Monitor.exe and the
// emulated keyboard, driven with real mouse input at the skin's places: the
// effect menu, sliders and variants reach the keyboard with the right bytes,
// the colour dialog keeps or drops a colour, Ctrl+click paints single LEDs.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "ColorMath.h"
#include "DownloadEncoder.h"
#include "LightingRules.h"
#include "OptionHarness_win.h"

namespace {

using namespace harness;

constexpr char kPageIni[] = "skin_color_control.ini";
constexpr char kDialogIni[] = "LightFX\\skin_Color_Select.ini";
constexpr char kDialogTitle[] = "Color Select";
constexpr char kMenuClass[] = "#32768";
constexpr int kMenuItemHeight = 18;
constexpr DWORD kPaintSettleMs = 500;
constexpr POINT kDialogOffset{570, 255};
constexpr int kLightingPagePosition = 2;  // PAGEPOSITION of skin_Config.ini
// Page controls and dialog controls by skin key.
enum PageKey { kSelector = 1, kToggle = 2, kBrightness = 4, kEffectArea = 6 };
enum SubKey { kSwatch = 1, kSpeed = 2, kFirstVariant = 3 };
enum CustomKey { kLedSwatch = 1, kGlobalSwatch = 2, kFirstMode = 3, kGlobalHelp = 6 };
constexpr int kSubPageIdBase = 100;
constexpr int kSliderId = 201;  // control id = base + key on every sub-page
enum DialogKey { kField = 1, kHue = 2, kRed = 4, kHex = 7, kFirstPreset = 8, kOk = 14, kCancel = 15 };
constexpr int kHexId = 500 + kHex;

struct Effect {
  const char* ini;
  int32_t code;
};
// In menu order.
constexpr Effect kEffects[kEffectMenuCount] = {
    {"skin_CONSTANT.ini", kEffectStatic},   {"skin_Breathe.ini", kEffectBreathe},
    {"skin_wave.ini", kEffectWave},         {"skin_Ripple.ini", kEffectRipple},
    {"skin_CONSTANT.ini", kEffectReactive}, {"skin_Custom.ini", kEffectCustom},
};

std::string textOf(HWND window) {
  // WM_GETTEXT itself: GetWindowText does not ask a window of another process.
  char buffer[64] = {};
  DWORD_PTR ignored = 0;
  if (window)
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                        2000, &ignored);
  return buffer;
}

// The first window below `root` with identifier `id`, leaving out `root`'s own children when `deep`.
HWND descendantWithId(HWND root, int id, bool deep = false) {
  struct Search {
    int id;
    HWND skipParent;
    HWND found;
  } search{id, deep ? root : nullptr, nullptr};
  EnumChildWindows(
      root,
      [](HWND w, LPARAM l) {
        auto* s = reinterpret_cast<Search*>(l);
        if (GetDlgCtrlID(w) != s->id || GetParent(w) == s->skipParent) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class LightingSystem : public OptionHarness {
 protected:
  void SetUp() override {
    OptionHarness::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // Brightness in the middle: neither end of the track lies under the thumb.
    for (int p = 0; p < kProfileCount; ++p) writeProfile(p, [](ProfileRecord& r) { r.ltControl = 5; });
  }

  void startLighting() {
    startWithEmulatedKeyboard();
    startOption();
    click(mainControl(kTabLighting));
    start_ = readBlock();
    expected_ = std::make_unique<ProfileRecord>(start_->profiles[start_->currentProfile]);
  }

  POINT pageOrigin() const {
    POINT origin = clientOrigin(optionWindow());
    const SkinPosition page = position("skin_Config.ini", "PAGEPOSITION", kLightingPagePosition);
    return {origin.x + page.rect.left, origin.y + page.rect.top};
  }
  POINT pageControl(int key) const { return centreOf(kPageIni, key, pageOrigin()); }
  POINT subControl(const char* ini, int key) const {
    POINT origin = pageOrigin();
    const SkinPosition area = position(kPageIni, "BUTTONPOS", kEffectArea);
    return centreOf(std::string("LightFX\\") + ini, key,
                    {origin.x + area.rect.left, origin.y + area.rect.top});
  }
  POINT alongTrack(const std::string& ini, int key, POINT origin, double fraction) const {
    const SkinPosition track = position(ini, "BUTTONPOS", key);
    return {origin.x + track.rect.left + int(std::lround(track.rect.width() * fraction)),
            origin.y + (track.rect.top + track.rect.bottom) / 2};
  }
  POINT brightnessAt(double fraction) const {
    return alongTrack(kPageIni, kBrightness, pageOrigin(), fraction);
  }
  POINT speedAt(const char* ini, double fraction) const {
    POINT origin = pageOrigin();
    const SkinPosition area = position(kPageIni, "BUTTONPOS", kEffectArea);
    return alongTrack(std::string("LightFX\\") + ini, kSpeed,
                      {origin.x + area.rect.left, origin.y + area.rect.top}, fraction);
  }

  // Opens the effect menu and clicks entry `index` (0..5).
  void chooseEffect(int index) {
    click(pageControl(kSelector));
    HWND menu = nullptr;
    for (int i = 0; i < 100 && !(menu && IsWindowVisible(menu)); ++i) {
      Sleep(50);
      menu = FindWindowA(kMenuClass, nullptr);
    }
    ASSERT_TRUE(menu && IsWindowVisible(menu)) << "no effect menu";
    RECT client;
    GetClientRect(menu, &client);
    const POINT origin = clientOrigin(menu);
    // Items are at least 18 high; the system may make them taller.
    const int itemHeight = std::max(kMenuItemHeight, int(client.bottom) / kEffectMenuCount);
    click({origin.x + client.right / 2, origin.y + index * itemHeight + itemHeight / 2});
    for (int i = 0; i < 40 && IsWindowVisible(menu); ++i) Sleep(50);
  }

  HWND openDialog(POINT swatch) {
    click(swatch);
    return waitForWindow(kDialogTitle);
  }
  POINT dialogControl(HWND dialog, int key) const { return centreOf(kDialogIni, key, clientOrigin(dialog)); }
  void closeDialog(HWND dialog, int key) {
    click(dialogControl(dialog, key));
    for (int i = 0; i < 100 && IsWindow(dialog); ++i) Sleep(50);
    EXPECT_FALSE(IsWindow(dialog));
  }

  // Apply, and the download it causes held against `expected_`.
  void applyAndExpect(const kbd::DownloadFlags& flags = {}) {
    const size_t mark = traceSize();
    click(mainControl(kApply));
    std::vector<Download> downloads = waitForDownloads(mark, 1);
    ASSERT_EQ(downloads.size(), 1u);
    const emu::Comparison c =
        emu::compareDownload(downloads.front(), kbd::encodeDownload(*expected_, flags, false));
    EXPECT_EQ(c.firstDifference, "");
    EXPECT_TRUE(waitApplyEnabled());
  }
  const ProfileRecord& applied() {
    block_ = readBlock();
    return block_->profiles[block_->currentProfile];
  }

  std::string shot(const std::string& name) const {
    const char* dir = std::getenv("LIGHTING_SCREENSHOTS");
    return (dir ? std::string(dir) + "\\" : folder_) + name + ".bmp";
  }
  void expectPainted(HWND window, const std::string& name) {
    Sleep(kPaintSettleMs);
    const Capture c = capture(window, shot(name));
    EXPECT_GT(c.width, 0) << name;
    EXPECT_GT(c.colours(), 8u) << name << " looks blank";
  }

  template <typename Condition>
  bool waitUntil(Condition condition, DWORD ms = 5000) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
      if (condition()) return true;
      Sleep(50);
    }
    return condition();
  }
  // Visible Wave or Ripple sub-pages (the ones with a second variant button besides Custom).
  int visibleVariantPages() const {
    struct Count {
      HWND main;  // whose own buttons share the sub-pages' identifiers
      int visible = 0;
    } count{optionWindow()};
    EnumChildWindows(
        optionWindow(),
        [](HWND w, LPARAM l) {
          auto* c = reinterpret_cast<Count*>(l);
          if (GetDlgCtrlID(w) == kSubPageIdBase + kFirstVariant + 1 && GetParent(w) != c->main &&
              !GetDlgItem(GetParent(w), kSubPageIdBase + kGlobalHelp) && IsWindowVisible(w))
            ++c->visible;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.visible;
  }

  // Visible sub-pages with a swatch and a speed slider but neither variant
  // buttons nor the lighting page's toggle (the page has a slider of the same
  // identifier, and so has each slider's thumb).
  int visibleBreathePages() const {
    struct Count {
      int visible = 0;
    } count;
    EnumChildWindows(
        optionWindow(),
        [](HWND w, LPARAM l) {
          HWND page = GetParent(w);
          if (GetDlgCtrlID(w) == kSliderId && IsWindowVisible(w) &&
              GetDlgItem(page, kSubPageIdBase + kSwatch) &&
              !GetDlgItem(page, kSubPageIdBase + kFirstVariant + 1) &&
              !GetDlgItem(page, kSubPageIdBase + kToggle))
            ++reinterpret_cast<Count*>(l)->visible;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.visible;
  }

  std::unique_ptr<SettingsImage> start_, block_;
  std::unique_ptr<ProfileRecord> expected_;
};

TEST_F(LightingSystem, EveryEffectOfTheMenuReachesTheKeyboardWithItsSpeedAndVariant) {
  startLighting();
  for (int i = 0; i < kEffectMenuCount; ++i) {
    SCOPED_TRACE(kEffects[i].ini);
    chooseEffect(i);
    expected_->lightFx = kEffects[i].code;
    const int32_t code = kEffects[i].code;
    // The defaults are speed 2, wave variant 1 and ripple variant 0: every click changes something.
    if (code == kEffectBreathe) {
      click(speedAt(kEffects[i].ini, 0.04));
      expected_->breatheSpeed = kSpeedMin;
    } else if (code == kEffectWave) {
      click(speedAt(kEffects[i].ini, 0.95));
      click(subControl(kEffects[i].ini, kFirstVariant));
      expected_->waveSpeed = kSpeedMax;
      expected_->waveMode = 0;
    } else if (code == kEffectRipple) {
      click(speedAt(kEffects[i].ini, 0.04));
      click(subControl(kEffects[i].ini, kFirstVariant));
      click(subControl(kEffects[i].ini, kFirstVariant + 1));
      expected_->rippleSpeed = kSpeedMin;
      expected_->rippleMode = 1;
    }
    expectPainted(optionWindow(), std::string("lighting-") + std::to_string(code));
    applyAndExpect();
    const ProfileRecord& now = applied();
    EXPECT_EQ(now.lightFx, code);
    EXPECT_EQ(now.breatheSpeed, expected_->breatheSpeed);
    EXPECT_EQ(now.waveSpeed, expected_->waveSpeed);
    EXPECT_EQ(now.waveMode, expected_->waveMode);
    EXPECT_EQ(now.rippleSpeed, expected_->rippleSpeed);
    EXPECT_EQ(now.rippleMode, expected_->rippleMode);
  }
}

TEST_F(LightingSystem, BrightnessTrackAndToggleWaitForApplyWithoutPreview) {
  startLighting();
  const size_t mark = traceSize();
  click(brightnessAt(0.04));
  click(pageControl(kToggle));
  Sleep(300);
  EXPECT_TRUE(downloadsSince(mark).empty());  // preview is off
  expected_->ltControl = 0;
  expected_->lightFxFlag = expected_->lightFxFlag == 1 ? 0 : 1;
  applyAndExpect();
  EXPECT_EQ(applied().ltControl, 0);
  click(brightnessAt(0.95));
  expected_->ltControl = kBrightnessMax;
  applyAndExpect();
  EXPECT_EQ(applied().ltControl, kBrightnessMax);
}

TEST_F(LightingSystem, TheColourDialogStoresAPresetDropsACancelAndClampsTypedNumbers) {
  startLighting();
  chooseEffect(0);  // Static
  const POINT swatch = subControl("skin_CONSTANT.ini", kSwatch);

  HWND dialog = openDialog(swatch);
  ASSERT_NE(dialog, nullptr);
  RECT main, placed;
  GetWindowRect(optionWindow(), &main);
  GetWindowRect(dialog, &placed);
  EXPECT_EQ(placed.left, main.left + kDialogOffset.x);
  EXPECT_EQ(placed.top, main.top + kDialogOffset.y);
  click(dialogControl(dialog, kFirstPreset + 2));  // green
  EXPECT_EQ(textOf(GetDlgItem(dialog, kHexId)), "00ff00");
  EXPECT_EQ(textOf(descendantWithId(GetDlgItem(dialog, 402), 402)), "255");
  expectPainted(dialog, "colour-dialog");
  closeDialog(dialog, kOk);
  expected_->staticColor = 0x00FF00;
  applyAndExpect();
  EXPECT_EQ(applied().staticColor, 0x00FF00u);

  // Both pickers moved, then Cancel: nothing changes.
  dialog = openDialog(swatch);
  ASSERT_NE(dialog, nullptr);
  click(dialogControl(dialog, kField));
  click(dialogControl(dialog, kHue));
  EXPECT_NE(textOf(GetDlgItem(dialog, kHexId)), "00ff00");
  closeDialog(dialog, kCancel);
  const size_t mark = traceSize();
  click(mainControl(kApply));
  waitForDownloads(mark, 1);
  EXPECT_TRUE(waitApplyEnabled());
  EXPECT_EQ(applied().staticColor, 0x00FF00u);

  // 300 typed into red shows 255 and sets the red byte.
  dialog = openDialog(swatch);
  ASSERT_NE(dialog, nullptr);
  HWND redField = GetDlgItem(dialog, 401);
  HWND redEdit = descendantWithId(redField, 401);
  ASSERT_NE(redEdit, nullptr);
  RECT edit;
  GetWindowRect(redEdit, &edit);
  click({(edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2});
  key("End BackSpace BackSpace BackSpace 3 0 0");
  Sleep(300);
  EXPECT_EQ(textOf(redEdit), "255");
  EXPECT_EQ(textOf(GetDlgItem(dialog, kHexId)), "ffff00");
  closeDialog(dialog, kOk);
  expected_->staticColor = 0x00FFFF;
  applyAndExpect();
  EXPECT_EQ(applied().staticColor, 0x00FFFFu);
}

// A damaged profile file: a value out of its range loads as the field's
// default (brightness full, lighting on, the Windows key working, the middle
// speed), the window shows it, and Apply sends exactly what the window shows.
TEST_F(LightingSystem, DamagedValuesAreShownAndSentAsTheirDefaults) {
  writeProfile(0, [](ProfileRecord& p) {
    p.ltControl = 60;
    p.lightFxFlag = 2;
    p.leftWinLock = -1;
    p.lightFx = kEffectBreathe;
    p.breatheSpeed = 0;
  });
  startLighting();
  // The block holds what the monitor loaded: in range already.
  EXPECT_EQ(expected_->ltControl, kBrightnessMax);
  EXPECT_EQ(expected_->lightFxFlag, 0);
  EXPECT_EQ(expected_->leftWinLock, 1);
  EXPECT_EQ(expected_->breatheSpeed, 2);
  applyAndExpect();  // the lighting commands carry brightness 10 and speed 2
  const ProfileRecord& now = applied();
  EXPECT_EQ(now.ltControl, kBrightnessMax);
  EXPECT_EQ(now.lightFxFlag, 0);
  EXPECT_EQ(now.leftWinLock, 1);
  EXPECT_EQ(now.breatheSpeed, 2);
}

TEST_F(LightingSystem, CtrlClickPaintsTheChosenColourOnTheClickedLedsOnly) {
  startLighting();
  chooseEffect(kEffectMenuCount - 1);  // Custom
  HWND dialog = openDialog(subControl("skin_Custom.ini", kLedSwatch));
  ASSERT_NE(dialog, nullptr);
  click(dialogControl(dialog, kFirstPreset + 3));  // blue
  closeDialog(dialog, kOk);
  constexpr Color kBlue = 0xFF0000;
  expected_->lightFx = kEffectCustom;
  // No LED was selected yet: the colour is for the Ctrl+clicks only, and
  // LED 0 keeps its own.
  expected_->customCtrlClickColor = kBlue;

  // Three placed LEDs painted with Ctrl, a fourth only clicked.
  std::vector<int> leds;
  for (int i = 1; i < kLedCount && leds.size() < 4; i += 9) {
    if (pictureLed(i).shown) leds.push_back(i);
  }
  ASSERT_EQ(leds.size(), 4u);
  auto ledCentre = [&](int i) { return keyboardLed(i); };
  ASSERT_TRUE(xdotool("keydown ctrl"));
  for (int k = 0; k < 3; ++k) click(ledCentre(leds[size_t(k)]));
  ASSERT_TRUE(xdotool("keyup ctrl"));
  click(ledCentre(leds[3]));
  for (int k = 0; k < 3; ++k) expected_->customColors[leds[size_t(k)]] = kBlue;

  // The LED swatch shows the plainly clicked LED's own colour.
  const POINT swatch = subControl("skin_Custom.ini", kLedSwatch);
  const POINT origin = clientOrigin(optionWindow());
  const Color own = expected_->customColors[leds[3]];
  const uint32_t ownPixel = uint32_t(RedOf(own)) << 16 | uint32_t(GreenOf(own)) << 8 | BlueOf(own);
  uint32_t shown = 0;
  EXPECT_TRUE(waitUntil([&] {
    shown = capture(optionWindow()).at(swatch.x - origin.x, swatch.y - origin.y);
    return shown == ownPixel;
  })) << std::hex
      << shown << " instead of " << ownPixel;
  expectPainted(optionWindow(), "lighting-page");

  kbd::DownloadFlags colours;
  colours.colorsChanged = true;
  applyAndExpect(colours);
  const ProfileRecord& now = applied();
  for (int i = 0; i < kLedCount; ++i)
    EXPECT_EQ(now.customColors[i], expected_->customColors[i]) << "LED " << i;
  // The keyboard's own table: blue on the painted LEDs, the rest as before.
  const std::optional<std::string> dump = control("dump");
  ASSERT_TRUE(dump.has_value());
  const auto table = kbd::keyColorTable(*expected_);
  for (int i = 0; i < kLedCount; ++i) {
    char entry[16];
    std::snprintf(entry, sizeof entry, "\"%02X%02X%02X\"", table[size_t(i) * 4 + 1], table[size_t(i) * 4 + 2],
                  table[size_t(i) * 4 + 3]);
    const size_t at = dump->find("\"keyColors\":[");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(dump->compare(at + 13 + size_t(i) * 9, 8, entry), 0) << "LED " << i << " " << entry;
  }
}

TEST_F(LightingSystem, TheKeyMapModeHidesTheLedsAndEachProfileShowsItsOwnSubPage) {
  writeProfile(1, [](ProfileRecord& r) {
    r.ltControl = 5;
    r.lightFx = kEffectWave;
  });
  startLighting();
  chooseEffect(kEffectMenuCount - 1);  // Custom
  // Only the Custom sub-page has a sixth control; Wave and Ripple have variant buttons.
  HWND customPage = GetParent(descendantWithId(optionWindow(), kSubPageIdBase + kGlobalHelp, true));
  ASSERT_TRUE(customPage);
  EXPECT_TRUE(waitUntil([&] { return pictureLed(1).shown && IsWindowVisible(customPage); }));
  EXPECT_FALSE(pictureKey(1).shown);

  click(subControl("skin_Custom.ini", kFirstMode + 1));
  // Neither set while the lighting page is up.
  EXPECT_TRUE(waitUntil([&] { return !pictureLed(1).shown; }));
  EXPECT_FALSE(pictureKey(1).shown);

  // Profile 2 has Wave: its sub-page replaces Custom's, and back.
  click(mainControl(kFirstSelector + 1));
  EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(customPage) && visibleVariantPages() == 1; }))
      << IsWindowVisible(customPage) << " " << visibleVariantPages();
  expectPainted(optionWindow(), "lighting-wave-profile");
  click(mainControl(kFirstSelector));
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(customPage) && visibleVariantPages() == 0; }))
      << IsWindowVisible(customPage) << " " << visibleVariantPages();
}

TEST_F(LightingSystem, WithPreviewOnAnEffectReachesTheKeyboardAtOnce) {
  startLighting();
  // Turned on, preview sends the shown profile at once.
  const size_t on = traceSize();
  click(mainControl(kPreview));
  ASSERT_EQ(waitForDownloads(on, 1).size(), 1u);
  expected_->lightFx = kEffectWave;
  const size_t mark = traceSize();
  chooseEffect(2);  // Wave
  std::vector<Download> downloads = waitForDownloads(mark, 1);
  ASSERT_EQ(downloads.size(), 1u);
  const emu::Comparison c =
      emu::compareDownload(downloads.front(), kbd::encodeDownload(*expected_, {}, false));
  EXPECT_EQ(c.firstDifference, "");
  EXPECT_TRUE(IsWindowEnabled(mainButton(kApply)));  // a preview shows no busy state
}

TEST_F(LightingSystem, EscapeCancelsTheColourDialogUpStepsANumberAndEnterIsOk) {
  startLighting();
  const POINT swatch = subControl("skin_CONSTANT.ini", kSwatch);
  HWND dialog = openDialog(swatch);
  ASSERT_NE(dialog, nullptr);
  click(dialogControl(dialog, kFirstPreset + 1));  // cyan
  EXPECT_EQ(textOf(GetDlgItem(dialog, kHexId)), "00ffff");
  key("Escape");
  EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
  applyAndExpect();
  EXPECT_EQ(applied().staticColor, expected_->staticColor);

  dialog = openDialog(swatch);
  ASSERT_NE(dialog, nullptr);
  click(dialogControl(dialog, kFirstPreset + 1));
  HWND redEdit = descendantWithId(GetDlgItem(dialog, 401), 401);
  ASSERT_NE(redEdit, nullptr);
  RECT edit;
  GetWindowRect(redEdit, &edit);
  click({(edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2});
  key("Up");
  EXPECT_TRUE(waitUntil([&] { return textOf(GetDlgItem(dialog, kHexId)) == "01ffff"; }))
      << textOf(GetDlgItem(dialog, kHexId));
  EXPECT_EQ(textOf(redEdit), "1");
  key("Return");
  EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
  expected_->staticColor = 0xFFFF01;  // 0x00BBGGRR
  applyAndExpect();
  EXPECT_EQ(applied().staticColor, 0xFFFF01u);
}

TEST_F(LightingSystem, TheBrightnessSliderMovesWithTheArrowKeys) {
  startLighting();  // brightness 5
  focusWindowTitled(kOptionWindowTitle);
  // The page's own slider; the speed sliders lie one page deeper.
  HWND slider = tabUntil([&](HWND focus) {
    return GetDlgCtrlID(focus) == kSliderId && GetParent(GetParent(focus)) == optionWindow();
  });
  ASSERT_NE(slider, nullptr);
  key("Right Right Left");
  expected_->ltControl = 6;
  applyAndExpect();
  EXPECT_EQ(applied().ltControl, 6);
}

// An effect code the keyboard does not know loads as the static effect: the
// page shows it, and Apply sends it.
TEST_F(LightingSystem, AnUnknownEffectCodeLoadsAsTheStaticEffect) {
  for (int p = 0; p < kProfileCount; ++p)
    writeProfile(p, [](ProfileRecord& r) {
      r.ltControl = 5;
      r.lightFx = 9;
    });
  startLighting();
  EXPECT_EQ(expected_->lightFx, kEffectStatic);
  EXPECT_EQ(visibleBreathePages(), 0);
  expectPainted(optionWindow(), "lighting-unknown-effect");
  const size_t mark = traceSize();
  click(mainControl(kApply));
  waitForDownloads(mark, 1);
  EXPECT_TRUE(waitApplyEnabled());
  EXPECT_EQ(applied().lightFx, kEffectStatic);
}

}  // namespace
