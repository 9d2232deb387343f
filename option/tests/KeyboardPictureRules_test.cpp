#include "KeyboardPictureRules.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Kind = PictureItem::Kind;

// Keys in a row of 20 x 20 squares from x = 0; the Enter key an L in a
// 40 x 40 box whose lower left quarter is free and holds key 44 instead.
PictureLayout rowLayout() {
  PictureLayout layout;
  for (int k = 0; k < kKeyCount; ++k) layout.keys[k] = {k * 20, 0, k * 20 + 20, 20};
  layout.keys[kEnterKeyIndex] = {1000, 100, 1040, 140};
  layout.enterOutline = {{0, 0, 40, 20}, {20, 20, 40, 40}};
  layout.keys[44] = {1000, 120, 1020, 140};
  for (int i = 0; i < kLedCount; ++i) layout.leds[i] = layout.keys[i % kKeyCount];
  layout.leds[110] = {};  // no key carries it
  return layout;
}

TEST(KeyboardPictureHit, EachModeFindsItsOwnItemsOnly) {
  const PictureLayout layout = rowLayout();
  EXPECT_EQ(ItemAt(layout, KeyboardPictureMode::Keys, 25, 5), PictureItem::Key(1));
  EXPECT_EQ(ItemAt(layout, KeyboardPictureMode::Leds, 25, 5), PictureItem::Led(1));
  EXPECT_FALSE(ItemAt(layout, KeyboardPictureMode::Empty, 25, 5));
  EXPECT_FALSE(ItemAt(layout, KeyboardPictureMode::Keys, 25, 25)) << "below the row";
  // Right and bottom edges belong to the next key, as with windows.
  EXPECT_EQ(ItemAt(layout, KeyboardPictureMode::Keys, 20, 0), PictureItem::Key(1));
  EXPECT_FALSE(ItemAt(layout, KeyboardPictureMode::Keys, 0, 20));
}

TEST(KeyboardPictureHit, TheEnterKeyCountsOnlyInsideItsL) {
  const PictureLayout layout = rowLayout();
  EXPECT_EQ(ItemAt(layout, KeyboardPictureMode::Keys, 1005, 105), PictureItem::Key(kEnterKeyIndex));
  EXPECT_EQ(ItemAt(layout, KeyboardPictureMode::Keys, 1035, 135), PictureItem::Key(kEnterKeyIndex));
  // The free quarter of its box is the key below it.
  EXPECT_EQ(ItemAt(layout, KeyboardPictureMode::Keys, 1005, 135), PictureItem::Key(44));
  PictureLayout box = layout;
  box.enterOutline.clear();
  EXPECT_EQ(ItemAt(box, KeyboardPictureMode::Keys, 1005, 135), PictureItem::Key(kEnterKeyIndex))
      << "without an outline the whole box";
}

TEST(KeyboardPictureHit, OverlapsGoToTheLowerIndexAndUnplacedLedsToNone) {
  PictureLayout layout = rowLayout();
  layout.keys[7] = layout.keys[3];
  EXPECT_EQ(ItemAt(layout, KeyboardPictureMode::Keys, 65, 5), PictureItem::Key(3));
  layout.leds[110] = {0, 0, 0, 20};
  EXPECT_FALSE(layout.ledPlaced(110));
  EXPECT_EQ(layout.rectOf(PictureItem::Led(110)), SkinRect{});
  EXPECT_EQ(layout.rectOf({}), SkinRect{});
  EXPECT_EQ(layout.rectOf(PictureItem::Key(kKeyCount)), SkinRect{});
}

TEST(KeyboardPictureInput, HoverFollowsTheMouseWithoutHoldingIt) {
  PictureInput input;
  PictureEffect e = input.move(PictureItem::Key(1));
  EXPECT_EQ(e.hoverEntered, PictureItem::Key(1));
  EXPECT_FALSE(e.capture) << "hover takes no capture";
  EXPECT_EQ(input.look(PictureItem::Key(1)), StateImage::Over);
  e = input.move(PictureItem::Key(2));
  EXPECT_EQ(e.hoverLeft, PictureItem::Key(1));
  EXPECT_EQ(e.hoverEntered, PictureItem::Key(2));
  EXPECT_EQ(e.repaint.size(), 2u);
  EXPECT_TRUE(input.move(PictureItem::Key(2)).repaint.empty()) << "no change, no paint";
  e = input.leave();
  EXPECT_EQ(e.hoverLeft, PictureItem::Key(2));
  EXPECT_FALSE(input.hovered());
  EXPECT_EQ(input.look(PictureItem::Key(2)), StateImage::Normal);
}

TEST(KeyboardPictureInput, APressHoldsTheMouseAndOnlyAReleaseOnTheSameItemClicks) {
  PictureInput input;
  input.move(PictureItem::Key(5));
  PictureEffect e = input.press(PictureItem::Key(5), false);
  EXPECT_TRUE(e.capture);
  EXPECT_EQ(input.look(PictureItem::Key(5)), StateImage::Down);
  e = input.release(PictureItem::Key(5));
  EXPECT_TRUE(e.release);
  EXPECT_EQ(e.clicked, PictureItem::Key(5));
  EXPECT_EQ(input.look(PictureItem::Key(5)), StateImage::Over) << "still under the mouse";

  input.press(PictureItem::Key(5), false);
  EXPECT_TRUE(input.leave().repaint.empty()) << "the held mouse does not leave";
  input.move(PictureItem::Key(6));
  EXPECT_EQ(input.look(PictureItem::Key(5)), StateImage::Normal) << "dragged off";
  EXPECT_EQ(input.look(PictureItem::Key(6)), StateImage::Normal) << "nothing else hovers meanwhile";
  input.move(PictureItem::Key(5));
  EXPECT_EQ(input.look(PictureItem::Key(5)), StateImage::Down) << "and back";
  input.move(PictureItem::Key(6));
  e = input.release(PictureItem::Key(6));
  EXPECT_FALSE(e.clicked);
  EXPECT_TRUE(e.release);
  EXPECT_EQ(e.hoverLeft, PictureItem::Key(5));
  EXPECT_EQ(e.hoverEntered, PictureItem::Key(6));
}

TEST(KeyboardPictureInput, APressOnTheBarePictureTakesNothingAndACancelForgetsAll) {
  PictureInput input;
  PictureEffect e = input.press({}, false);
  EXPECT_FALSE(e.capture);
  EXPECT_FALSE(input.release({}).clicked);
  input.press(PictureItem::Key(9), false);
  e = input.cancel();
  EXPECT_TRUE(e.release);
  EXPECT_EQ(e.hoverLeft, PictureItem::Key(9));
  EXPECT_FALSE(input.pressed());
  EXPECT_FALSE(input.release(PictureItem::Key(9)).clicked) << "the press is gone";
}

TEST(KeyboardPictureLeds, ALedShowsThePaintOnlyWhileACtrlPressHoldsIt) {
  auto profile = std::make_unique<ProfileRecord>();
  profile->customColors[3] = 0x0000FF;
  profile->customCtrlClickColor = 0xFF0000;
  PictureInput input;
  const PictureItem led = PictureItem::Led(3);

  input.press(led, true);
  EXPECT_EQ(ShownLedColor(LedColorsOf(*profile), input, 3), 0xFF0000u);
  EXPECT_EQ(ShownLedColor(LedColorsOf(*profile), input, 4), profile->customColors[4])
      << "only the pressed LED";
  // Dragged off: the profile's colour again, and no click.
  EXPECT_EQ(input.move(PictureItem::Led(4)).repaint.size(), 1u);
  EXPECT_EQ(ShownLedColor(LedColorsOf(*profile), input, 3), 0x0000FFu);
  EXPECT_FALSE(input.release(PictureItem::Led(4)).clicked);
  EXPECT_EQ(ShownLedColor(LedColorsOf(*profile), input, 3), 0x0000FFu);

  // Ctrl let go before the button: repainted from the profile at once.
  input.press(led, true);
  const PictureEffect e = input.ctrl(false);
  ASSERT_EQ(e.repaint.size(), 1u);
  EXPECT_EQ(e.repaint[0], led);
  EXPECT_EQ(ShownLedColor(LedColorsOf(*profile), input, 3), 0x0000FFu);
  input.release(led);

  // A plain press paints nothing; after a completed Ctrl click the LED shows
  // what the profile holds, which the click's handler decides.
  input.press(led, false);
  EXPECT_EQ(ShownLedColor(LedColorsOf(*profile), input, 3), 0x0000FFu);
  input.release(led);
  input.press(led, true);
  EXPECT_EQ(input.release(led).clicked, led);
  EXPECT_EQ(ShownLedColor(LedColorsOf(*profile), input, 3), 0x0000FFu);
  profile->customColors[3] = profile->customCtrlClickColor;
  EXPECT_EQ(ShownLedColor(LedColorsOf(*profile), input, 3), 0xFF0000u);
  EXPECT_EQ(ShownLedColor(LedColorsOf(*profile), input, kLedCount), 0u);
}

}  // namespace

namespace {

TEST(KeyboardPictureReport, AnAnswerReadsBackAsItWasWritten) {
  const PictureItemReport report{true, StateImage::Down, KeyLook::Dective, 0xABCDEF};
  EXPECT_EQ(DecodePictureItem(EncodePictureItem(report)), report);
  EXPECT_EQ(DecodePictureItem(0), PictureItemReport{});
  PictureItemReport hidden = report;
  hidden.shown = false;
  hidden.state = StateImage::Over;
  EXPECT_EQ(DecodePictureItem(EncodePictureItem(hidden)), hidden);
}

}  // namespace
