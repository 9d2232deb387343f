// What the configuration program shows, read off the screen: the main window
// on both pages with its keys or LEDs where the skin puts them, and a profile
// page. The captures are kept beside the test program for a look.

#include <cmath>
#include <memory>

#include "OptionHarness_win.h"

namespace {

using namespace harness;

class OptionScreens : public OptionHarness {
 protected:
  std::string shotPath(const char* name) const {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\') + 1) + name;
  }
  // The picture sits where the main window's skin puts it, as large as its own picture.
  void expectPicturePlaced() {
    HWND picture = keyboardPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(IsWindowVisible(picture));
    RECT r;
    GetWindowRect(picture, &r);
    MapWindowPoints(nullptr, optionWindow(), reinterpret_cast<POINT*>(&r), 2);
    const SkinPosition page = position("skin_Config.ini", "PAGEPOSITION", 3);
    EXPECT_EQ(r.left, page.rect.left);
    EXPECT_EQ(r.top, page.rect.top);
    EXPECT_EQ(r.right - r.left, 768);
    EXPECT_EQ(r.bottom - r.top, 244);
  }
  // Mean colour of the middle third of BUTTONPOS `entry` of the picture, off
  // the captured main window.
  void meanOf(const Capture& shot, int entry, double rgb[3]) const {
    RECT w;
    GetWindowRect(optionWindow(), &w);
    POINT origin = clientOrigin(keyboardPicture());
    const SkinRect p = position("skin_main.ini", "BUTTONPOS", entry).rect;
    const RECT r{origin.x + p.left, origin.y + p.top, origin.x + p.right, origin.y + p.bottom};
    const int x0 = r.left - w.left + (r.right - r.left) / 3, x1 = r.right - w.left - (r.right - r.left) / 3;
    const int y0 = r.top - w.top + (r.bottom - r.top) / 3, y1 = r.bottom - w.top - (r.bottom - r.top) / 3;
    int n = 0;
    rgb[0] = rgb[1] = rgb[2] = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const uint32_t px = shot.at(x, y);
        rgb[0] += (px >> 16) & 0xFF;
        rgb[1] += (px >> 8) & 0xFF;
        rgb[2] += px & 0xFF;
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
  expectPicturePlaced();
  for (int k = 0; k < kKeyCount; ++k) EXPECT_TRUE(pictureKey(k).shown) << k;
  for (int i = 0; i < kLedCount; ++i) EXPECT_FALSE(pictureLed(i).shown) << i;
  EXPECT_EQ(pictureKey(0).look, KeyLook::Red);
  EXPECT_EQ(pictureKey(1).look, KeyLook::Normal);
  double escape[3], f1[3];
  meanOf(shot, 40, escape);
  meanOf(shot, 41, f1);
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
  ASSERT_TRUE(waitFor([&] { return pictureLed(0).shown; }, 5000));
  expectPicturePlaced();
  for (int k = 0; k < kKeyCount; ++k) EXPECT_FALSE(pictureKey(k).shown) << k;
  // Each placed LED shows its own colour once the picture has settled.
  std::string wrong;
  int shown = 0;
  waitFor(
      [&] {
        const Capture shot = capture(optionWindow(), shotPath("option-lighting.bmp"));
        wrong.clear();
        shown = 0;
        for (int i = 0; i < kLedCount; ++i) {
          if (position("skin_main.ini", "BUTTONPOS", 150 + i).rect.width() == 0) {
            if (pictureLed(i).shown) wrong += " LED " + std::to_string(i) + " has no key but shows;";
            continue;
          }
          ++shown;
          if (!pictureLed(i).shown) wrong += " LED " + std::to_string(i) + " hidden;";
          double rgb[3];
          meanOf(shot, 150 + i, rgb);
          const bool green = rgb[1] > rgb[0] + 40, red = rgb[0] > rgb[1] + 40;
          if (i % 2 ? !green : !red) wrong += " LED " + std::to_string(i) + ";";
        }
        return wrong.empty();
      },
      10000);
  EXPECT_EQ(wrong, "");
  EXPECT_EQ(shown, kKeyCount);
  EXPECT_EQ(pictureLed(1).color, 0x00FF00u);
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
