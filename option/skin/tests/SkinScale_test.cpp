#include "SkinScale.h"

#include <gtest/gtest.h>

#include <vector>

#include "PictureScale.h"

TEST(SkinScale, LengthsRoundToTheNearestPixelAsTheGeneratorDoes) {
  EXPECT_EQ(ScaleLength(1060, 100), 1060);
  EXPECT_EQ(ScaleLength(1060, 150), 1590);
  EXPECT_EQ(ScaleLength(82, 125), 103);  // 102.5: halves go up
  EXPECT_EQ(ScaleLength(82, 175), 144);  // 143.5
  EXPECT_EQ(ScaleLength(7, 125), 9);     // 8.75
  EXPECT_EQ(ScaleLength(0, 200), 0);
  EXPECT_EQ(ScaleLength(-82, 125), -103);  // symmetric about zero
  // A damaged skin's coordinates stay bounded.
  EXPECT_LE(ScaleLength(kSkinCoordinateLimit, 200), 2 * kSkinCoordinateLimit);
}

TEST(SkinScale, RectanglesThatTouchStillTouch) {
  // Two tabs side by side at 100 %: 20..160 and 160..304.
  const SkinRect a = ScaleSkinRect({20, 52, 160, 82}, 175), b = ScaleSkinRect({160, 52, 304, 82}, 175);
  EXPECT_EQ(a.right, b.left);
  EXPECT_EQ(a, (SkinRect{35, 91, 280, 144}));
  EXPECT_EQ(ScaleSkinRect({20, 52, 160, 82}, 100), (SkinRect{20, 52, 160, 82}));
}

TEST(SkinScale, EachMonitorDpiTakesTheLargestScaleNotAboveIt) {
  EXPECT_EQ(SkinScaleForDpi(96), 100);
  EXPECT_EQ(SkinScaleForDpi(110), 100);
  EXPECT_EQ(SkinScaleForDpi(120), 125);
  EXPECT_EQ(SkinScaleForDpi(144), 150);
  EXPECT_EQ(SkinScaleForDpi(168), 175);
  EXPECT_EQ(SkinScaleForDpi(192), 200);
  EXPECT_EQ(SkinScaleForDpi(288), 200);  // 300 %: no larger set
  EXPECT_EQ(SkinScaleForDpi(72), 100);   // never below 1x
  EXPECT_EQ(SkinScaleForDpi(0), 100);
  EXPECT_EQ(SkinScaleForDpi(-5), 100);
}

TEST(SkinScale, TheWindowTakesTheLargestScaleThatFitsItsWorkArea) {
  constexpr int w = 1060, h = 620;  // the main window at 100 %
  // 1920 x 1080 less a 40 px task bar: 150 % fits (930 high), 175 % does not (1085).
  const SkinRect fullHd{0, 0, 1920, 1040};
  EXPECT_EQ(FittingSkinScale(200, w, h, fullHd), 150);
  EXPECT_EQ(FittingSkinScale(175, w, h, fullHd), 150);
  EXPECT_EQ(FittingSkinScale(150, w, h, fullHd), 150);
  EXPECT_EQ(FittingSkinScale(125, w, h, fullHd), 125);
  // 1366 x 768 at 125 % is a 1093 x 614 work area of scaled pixels.
  EXPECT_EQ(FittingSkinScale(125, w, h, {0, 0, 1366, 728}), 100);
  // Nothing fits: never below 1x.
  EXPECT_EQ(FittingSkinScale(200, w, h, {0, 0, 800, 600}), 100);
  // 4K at 200 %: exactly what it asks for.
  EXPECT_EQ(FittingSkinScale(200, w, h, {0, 0, 3840, 2120}), 200);
  // Width counts as well as height.
  EXPECT_EQ(FittingSkinScale(200, w, h, {0, 0, 1500, 2000}), 125);
}

TEST(SkinPlacement, ARememberedPlaceOnAScreenIsKeptWholeInsideIt) {
  const std::vector<SkinRect> areas{{0, 0, 1920, 1040}, {1920, 0, 3840, 1080}};
  const SkinRect pointer = areas[0];
  // Where it was, on the second monitor.
  EXPECT_EQ(PlaceSkinWindow(1060, 620, SkinRect{2000, 100, 3060, 720}, areas, pointer),
            (SkinRect{2000, 100, 3060, 720}));
  // Larger now (another scale) and running off the right edge: moved back in.
  EXPECT_EQ(PlaceSkinWindow(1590, 930, SkinRect{3000, 100, 4060, 720}, areas, pointer),
            (SkinRect{2250, 100, 3840, 1030}));
  // Half on each monitor: it goes to the one it was more on.
  EXPECT_EQ(PlaceSkinWindow(1060, 620, SkinRect{1500, 0, 2560, 620}, areas, pointer),
            (SkinRect{1920, 0, 2980, 620}));
}

TEST(SkinPlacement, APlaceNoLongerOnAScreenOpensOnThePointersMonitor) {
  const std::vector<SkinRect> areas{{0, 0, 1920, 1040}};
  const SkinRect pointer = areas[0];
  // The second monitor was unplugged.
  EXPECT_EQ(PlaceSkinWindow(1060, 620, SkinRect{2000, 100, 3060, 720}, areas, pointer),
            (SkinRect{430, 210, 1490, 830}));
  // Nothing remembered: centred on the pointer's monitor, wherever that is.
  const std::vector<SkinRect> two{{0, 0, 1920, 1040}, {-1280, 0, 0, 984}};
  EXPECT_EQ(PlaceSkinWindow(1060, 620, std::nullopt, two, two[1]), (SkinRect{-1170, 182, -110, 802}));
  // Larger than the work area: the top left corner stays on it.
  EXPECT_EQ(PlaceSkinWindow(1060, 620, std::nullopt, {{0, 0, 800, 560}}, {0, 0, 800, 560}),
            (SkinRect{0, 0, 1060, 620}));
}

TEST(SkinPlacement, DialogsAndBalloonsStayOnTheirWorkArea) {
  const SkinRect area{0, 0, 1920, 1040};
  EXPECT_EQ(KeepInside({1800, 1000, 2000, 1100}, area), (SkinRect{1720, 940, 1920, 1040}));
  EXPECT_EQ(KeepInside({-50, -20, 150, 80}, area), (SkinRect{0, 0, 200, 100}));
  EXPECT_EQ(KeepInside({10, 10, 110, 110}, area), (SkinRect{10, 10, 110, 110}));
  EXPECT_EQ(AreaOfPlace({5000, 5000, 5100, 5100}, {area}), std::nullopt);
}

TEST(SkinPlacement, ThePlaceInConfigIniIsCheckedWhereItIsRead) {
  EXPECT_EQ(ParseWindowPlace("100,50,1160,670"), (SkinRect{100, 50, 1160, 670}));
  EXPECT_EQ(ParseWindowPlace("-1270,10,-210,630"), (SkinRect{-1270, 10, -210, 630}));
  EXPECT_EQ(ParseWindowPlace(WindowPlaceText({1, 2, 3, 4})), (SkinRect{1, 2, 3, 4}));
  for (const char* bad : {"", "100,50,1160", "100,50,1160,670,1", "a,b,c,d", "100,50,100,670",
                          "100,670,1160,50", "99999999999,0,1,1", "100, 50,1160,670x", "0,0,40000,1"})
    EXPECT_EQ(ParseWindowPlace(bad), std::nullopt) << bad;
}

TEST(PictureScale, SmoothScalingKeepsFlatColourAndRefusesNonsense) {
  // A flat grey 8 x 4 picture at 3/4: still flat grey, nothing outside written.
  std::vector<uint8_t> from(8 * 3 * 4, 77), to(6 * 3 * 3 + 16, 1);
  ASSERT_TRUE(ScalePictureRows(from.data(), 8, 4, 24, 3, to.data(), 6, 3, 18, PictureFilter::Smooth));
  for (size_t i = 0; i < 54; ++i) EXPECT_EQ(to[i], 77) << i;
  EXPECT_EQ(to[54], 1);
  EXPECT_FALSE(ScalePictureRows(from.data(), 8, 4, 24, 3, to.data(), 0, 3, 18, PictureFilter::Smooth));
  EXPECT_FALSE(ScalePictureRows(from.data(), 8, 4, 23, 3, to.data(), 6, 3, 18, PictureFilter::Smooth));
  EXPECT_FALSE(ScalePictureRows(from.data(), 8, 4, 24, 2, to.data(), 6, 3, 18, PictureFilter::Smooth));
  EXPECT_FALSE(ScalePictureRows(nullptr, 8, 4, 24, 3, to.data(), 6, 3, 18, PictureFilter::Smooth));
}

TEST(PictureScale, KeyColoursAndOutlinesGetNoColourInBetween) {
  // Left half magenta (transparent), right half red, 4 x 2 -> 3 x 2 and 6 x 3.
  std::vector<uint8_t> from;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      const uint8_t px[3] = {uint8_t(x < 2 ? 255 : 0), 0, 255};
      from.insert(from.end(), px, px + 3);
    }
  for (auto [w, h] : {std::pair{3, 2}, std::pair{6, 3}}) {
    std::vector<uint8_t> to(size_t(w) * 3 * h);
    ASSERT_TRUE(
        ScalePictureRows(from.data(), 4, 2, 12, 3, to.data(), w, h, size_t(w) * 3, PictureFilter::Nearest));
    for (size_t i = 0; i < to.size(); i += 3) EXPECT_TRUE(to[i] == 0 || to[i] == 255) << int(to[i]);
    EXPECT_EQ(to[0], 255);
    EXPECT_EQ(to[size_t(w - 1) * 3], 0);
  }
  // A mask with a soft edge comes out black and white only.
  std::vector<uint8_t> mask{0, 0, 255, 255, 0, 0, 255, 255}, out(6 * 2);
  ASSERT_TRUE(ScalePictureRows(mask.data(), 4, 2, 4, 1, out.data(), 6, 2, 6, PictureFilter::Outline));
  for (uint8_t v : out) EXPECT_TRUE(v == 0 || v == 255) << int(v);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[5], 255);
}
