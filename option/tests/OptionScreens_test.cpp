// What the configuration program shows, read off the screen: the main window
// on both pages with its keys or LEDs where the skin puts them, and a profile
// page. The captures are kept beside the test program for a look.

#include <cmath>
#include <memory>

#include "OptionHarness_win.h"

namespace {

using namespace harness;

constexpr int kKeyIdBase = 1000, kLedIdBase = 2000;  // the keyboard picture's control ids

class OptionScreens : public OptionHarness {
 protected:
  std::string shotPath(const char* name) const {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\') + 1) + name;
  }
  HWND keyboardPage() const {
    HWND key = nullptr;
    for (HWND page = FindWindowExA(optionWindow(), nullptr, nullptr, nullptr); page && !key;
         page = FindWindowExA(optionWindow(), page, nullptr, nullptr))
      if (GetDlgItem(page, kKeyIdBase)) key = page;
    return key;
  }
  // The control's rectangle in the keyboard page against the skin's entry.
  void expectPlaced(HWND control, int entry) {
    ASSERT_NE(control, nullptr) << entry;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    const SkinPosition p = position("skin_main.ini", "BUTTONPOS", entry);
    EXPECT_EQ(r.left, p.rect.left) << entry;
    EXPECT_EQ(r.top, p.rect.top) << entry;
    EXPECT_EQ(r.right, p.rect.right) << entry;
    EXPECT_EQ(r.bottom, p.rect.bottom) << entry;
  }
  // Mean colour of a control's middle third, off the captured main window.
  static void meanOf(const Capture& shot, HWND window, HWND control, double rgb[3]) {
    RECT r, w;
    GetWindowRect(control, &r);
    GetWindowRect(window, &w);
    const int x0 = r.left - w.left + (r.right - r.left) / 3, x1 = r.right - w.left - (r.right - r.left) / 3;
    const int y0 = r.top - w.top + (r.bottom - r.top) / 3, y1 = r.bottom - w.top - (r.bottom - r.top) / 3;
    int n = 0;
    rgb[0] = rgb[1] = rgb[2] = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const uint32_t p = shot.at(x, y);
        rgb[0] += (p >> 16) & 0xFF;
        rgb[1] += (p >> 8) & 0xFF;
        rgb[2] += p & 0xFF;
        ++n;
      }
    for (int c = 0; c < 3; ++c) rgb[c] /= n ? n : 1;
  }
};

TEST_F(OptionScreens, TheWindowsKeyPageShowsEveryKeyInItsPlace) {
  writeProfile(0, [](ProfileRecord& p) {
    p.keys[0].category = kCategoryMacro;  // Escape lit red
    p.keys[0].functionCode = kFunctionRecordedMacro;
  });
  startOption();
  const Capture shot = capture(optionWindow(), shotPath("option-windows-key.bmp"));
  ASSERT_EQ(shot.width, 1060);
  EXPECT_GT(shot.colours(), 200u);
  HWND page = keyboardPage();
  ASSERT_NE(page, nullptr);
  for (int k = 0; k < kKeyCount; ++k) {
    HWND key = GetDlgItem(page, kKeyIdBase + k);
    expectPlaced(key, 40 + k);
    EXPECT_TRUE(IsWindowVisible(key)) << k;
  }
  for (int i = 0; i < kLedCount; ++i) EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, kLedIdBase + i))) << i;
  double escape[3], f1[3];
  meanOf(shot, optionWindow(), GetDlgItem(page, kKeyIdBase), escape);
  meanOf(shot, optionWindow(), GetDlgItem(page, kKeyIdBase + 1), f1);
  EXPECT_GT(escape[0], escape[1] + 60) << "Escape shows the macro colour";
  EXPECT_LT(std::abs(f1[0] - f1[1]), 20) << "F1 keeps its plain look";
}

TEST_F(OptionScreens, TheLightingPageShowsTheLedsInTheirColoursForPerKeyLighting) {
  writeProfile(0, [](ProfileRecord& p) {
    p.lightFx = 51;
    p.customMode = 0;
    for (int i = 0; i < kLedCount; ++i) p.customColors[i] = i % 2 ? 0x00FF00 : 0x0000FF;  // green, red
  });
  startOption();
  click(mainControl(kTabLighting));
  HWND page = keyboardPage();
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(waitFor([&] { return IsWindowVisible(GetDlgItem(page, kLedIdBase)) != FALSE; }, 5000));
  for (int k = 0; k < kKeyCount; ++k) EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, kKeyIdBase + k))) << k;
  // Each LED shows its own colour once the picture has settled (126 blends
  // take a while on a busy machine).
  std::string wrong;
  int shown = 0;
  waitFor(
      [&] {
        const Capture shot = capture(optionWindow(), shotPath("option-lighting.bmp"));
        wrong.clear();
        shown = 0;
        for (int i = 0; i < kLedCount; ++i) {
          HWND led = GetDlgItem(page, kLedIdBase + i);
          if (position("skin_main.ini", "BUTTONPOS", 150 + i).rect.width() == 0) {
            if (IsWindowVisible(led)) wrong += " LED " + std::to_string(i) + " has no key but shows;";
            continue;
          }
          ++shown;
          double rgb[3];
          meanOf(shot, optionWindow(), led, rgb);
          const bool green = rgb[1] > rgb[0] + 40, red = rgb[0] > rgb[1] + 40;
          if (i % 2 ? !green : !red) wrong += " LED " + std::to_string(i) + ";";
        }
        return wrong.empty();
      },
      10000);
  EXPECT_EQ(wrong, "");
  EXPECT_EQ(shown, kKeyCount);
  for (int i = 0; i < kLedCount; ++i)
    if (position("skin_main.ini", "BUTTONPOS", 150 + i).rect.width() > 0)
      expectPlaced(GetDlgItem(page, kLedIdBase + i), 150 + i);
}

TEST_F(OptionScreens, AProfilePageIsDrawnWithItsPrograms) {
  writeAppList(2, 3);
  startOption();
  click(mainControl(kFirstSelector + 1));
  click(mainControl(kFirstProfilePage + 1));
  HWND page = waitForWindow("Profile 2");
  ASSERT_NE(page, nullptr);
  Sleep(200);
  const Capture shot = capture(page, shotPath("option-profile-page.bmp"));
  EXPECT_EQ(shot.width, 440);
  EXPECT_GT(shot.colours(), 100u);
}

}  // namespace
