#include "KeyboardWords.h"

#include <gtest/gtest.h>

#include <memory>

// The legend and the hint follow what the picture shows on each page.
TEST(KeyboardWords, LegendAndHintFollowThePicture) {
  auto profile = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*profile, 0);
  auto words = [&](ContentPage page) {
    const KeyboardPictureMode mode = keyboardPictureMode(page, *profile);
    return std::make_pair(keyboardLegend(mode), keyboardHint(mode));
  };
  auto [keys, keysHint] = words(ContentPage::WindowsKey);
  EXPECT_TRUE(keys.skinLegend);  // the key functions' colours
  EXPECT_NE(keysHint.find("assign"), std::string::npos);

  auto [effect, effectHint] = words(ContentPage::Lighting);
  EXPECT_FALSE(effect.skinLegend);
  EXPECT_EQ(effectHint.find("Click a key"), std::string::npos);  // a click does nothing there

  profile->lightFx = kCustomEffect;
  profile->customMode = 0;  // per key: the picture shows each key's light
  auto [leds, ledsHint] = words(ContentPage::Lighting);
  EXPECT_FALSE(leds.skinLegend);
  EXPECT_EQ(leds.title, "KEY LIGHTS");
  EXPECT_NE(ledsHint.find("Ctrl+click"), std::string::npos);
  EXPECT_TRUE(words(ContentPage::WindowsKey).first.skinLegend);
}
