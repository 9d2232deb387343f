// The keyboard picture of the real Option.exe, one window for all keys and
// LEDs, driven with real mouse and key input at the places the skin gives:
// keys hover without holding the mouse and click only where the press began;
// an LED takes its Ctrl+click colour only from a completed click, and the
// profile keeps what the picture shows.

#include <memory>

#include "OptionHarness_win.h"
#include "SharedBlock_win.h"

namespace {

using namespace harness;

constexpr char kKeyPageTitle[] = "Key Assignment";
constexpr DWORD kShort = 5000;
constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;

class KeyboardPictureTest : public OptionHarness {
 protected:
  void to(POINT at, const std::string& then = "") {
    ASSERT_TRUE(xdotool("mousemove --sync " + std::to_string(at.x) + " " + std::to_string(at.y) +
                        (then.empty() ? "" : " " + then)));
  }
};

TEST_F(KeyboardPictureTest, KeysHoverWithoutHoldingTheMouseAndClickOnlyWhereThePressBegan) {
  startOption();
  const POINT f1 = keyboardKey(1), f2 = keyboardKey(2);
  to(f1);
  EXPECT_TRUE(waitFor([&] { return pictureKey(1).state == StateImage::Over; }, kShort));
  to(f2);
  EXPECT_TRUE(waitFor([&] { return pictureKey(2).state == StateImage::Over; }, kShort));
  EXPECT_EQ(pictureKey(1).state, StateImage::Normal);

  // Pressed, dragged off and released elsewhere: no click, and while the
  // button is held nothing else lights up.
  to(f1, "mousedown 1");
  EXPECT_TRUE(waitFor([&] { return pictureKey(1).state == StateImage::Down; }, kShort));
  to(f2);
  EXPECT_TRUE(waitFor([&] { return pictureKey(1).state == StateImage::Normal; }, kShort));
  EXPECT_EQ(pictureKey(2).state, StateImage::Normal);
  ASSERT_TRUE(xdotool("mouseup 1"));
  EXPECT_TRUE(waitFor([&] { return pictureKey(2).state == StateImage::Over; }, kShort));
  EXPECT_EQ(FindWindowA(nullptr, kKeyPageTitle), nullptr) << "a press dragged off is no click";

  // A hover holds nothing: a click on the main window right after it acts.
  click(mainControl(kTabLighting));
  EXPECT_TRUE(waitFor([&] { return !pictureKey(2).shown; }, kShort));
  click(mainControl(kTabWindowsKey));
  ASSERT_TRUE(waitFor([&] { return pictureKey(2).shown; }, kShort));

  // A whole click opens the key's page.
  click(f2);
  HWND page = waitForWindow(kKeyPageTitle);
  ASSERT_NE(page, nullptr);
  PostMessageA(page, WM_CLOSE, 0, 0);
  EXPECT_TRUE(waitFor([&] { return !IsWindow(page); }, kShort));
}

TEST_F(KeyboardPictureTest, AnLedKeepsThePaintOnlyFromACompletedCtrlClick) {
  writeProfile(0, [](ProfileRecord& p) {
    p.lightFx = 51;
    p.customMode = 0;
    for (Color& c : p.customColors) c = kRed;
    p.customCtrlClickColor = kBlue;
  });
  startWithEmulatedKeyboard();
  startOption();
  click(mainControl(kTabLighting));
  ASSERT_TRUE(waitFor([&] { return pictureLed(1).shown; }, kShort));
  std::vector<int> leds;
  for (int i = 1; i < kLedCount && leds.size() < 3; i += 7)
    if (pictureLed(i).shown) leds.push_back(i);
  ASSERT_EQ(leds.size(), 3u);
  const int dragged = leds[0], letGo = leds[1], painted = leds[2];

  // A Ctrl press shows the paint; dragged off, the LED shows its own colour again.
  ASSERT_TRUE(xdotool("keydown ctrl"));
  to(keyboardLed(dragged), "mousedown 1");
  EXPECT_TRUE(waitFor([&] { return pictureLed(dragged).color == kBlue; }, kShort));
  to(keyboardLed(letGo));
  EXPECT_TRUE(waitFor([&] { return pictureLed(dragged).color == kRed; }, kShort));
  ASSERT_TRUE(xdotool("mouseup 1"));
  ASSERT_TRUE(xdotool("keyup ctrl"));
  EXPECT_TRUE(waitFor([&] { return pictureLed(letGo).state == StateImage::Over; }, kShort));
  EXPECT_EQ(pictureLed(dragged).color, kRed);
  EXPECT_EQ(pictureLed(letGo).color, kRed);

  // Ctrl let go before the button: a plain click, which paints nothing.
  ASSERT_TRUE(xdotool("keydown ctrl mousedown 1"));
  EXPECT_TRUE(waitFor([&] { return pictureLed(letGo).color == kBlue; }, kShort));
  ASSERT_TRUE(xdotool("keyup ctrl mouseup 1"));
  EXPECT_TRUE(waitFor([&] { return pictureLed(letGo).color == kRed; }, kShort));

  // A whole Ctrl+click paints, and the LED keeps it.
  ASSERT_TRUE(xdotool("keydown ctrl"));
  click(keyboardLed(painted));
  ASSERT_TRUE(xdotool("keyup ctrl"));
  EXPECT_TRUE(waitFor([&] { return pictureLed(painted).color == kBlue; }, kShort));
  to(keyboardLed(dragged));
  EXPECT_TRUE(waitFor([&] { return pictureLed(dragged).state == StateImage::Over; }, kShort));
  EXPECT_EQ(pictureLed(painted).color, kBlue);

  // What the picture showed is what the profile holds.
  click(mainControl(kApply));
  ASSERT_TRUE(waitApplyEnabled());
  SharedBlock block;
  ASSERT_TRUE(block.open());
  auto image = std::make_unique<SettingsImage>();
  ASSERT_TRUE(block.copyFromBlock(*image));
  const ProfileRecord& applied = image->profiles[0];
  EXPECT_EQ(applied.customColors[dragged], kRed);
  EXPECT_EQ(applied.customColors[letGo], kRed);
  EXPECT_EQ(applied.customColors[painted], kBlue);
}

}  // namespace
