#include "FocusRules.h"

#include <gtest/gtest.h>

namespace {
SkinRect at(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
}  // namespace

// The main window's layout in short: a title row, tabs, a tall page beside
// rows of profile buttons, then the Apply row.
TEST(ReadingOrder, RowsFromTheTopEachFromTheLeftWithATallPageInItsFirstRow) {
  const std::vector<SkinRect> rects = {
      at(1008, 8, 32, 24),    // 0 close
      at(780, 8, 120, 24),    // 1 macros
      at(164, 52, 140, 30),   // 2 second tab
      at(20, 52, 140, 30),    // 3 first tab
      at(844, 82, 150, 30),   // 4 profile 2
      at(640, 82, 150, 30),   // 5 profile 1
      at(20, 86, 600, 160),   // 6 the page
      at(640, 118, 150, 30),  // 7 profile 3
      at(908, 196, 132, 38),  // 8 apply
      at(640, 200, 118, 30),  // 9 preview
  };
  EXPECT_EQ(ReadingOrder(rects), (std::vector<size_t>{1, 0, 3, 2, 6, 5, 4, 7, 9, 8}));
  EXPECT_TRUE(ReadingOrder({}).empty());
  // Rectangles of no height (a hidden control's) still find a place, once.
  EXPECT_EQ(ReadingOrder({at(50, 10, 0, 0), at(10, 10, 0, 0)}), (std::vector<size_t>{1, 0}));
}

TEST(NextTabIndex, CyclesBothWaysAndStartsFromNone) {
  EXPECT_EQ(NextTabIndex(3, -1, false), 0);
  EXPECT_EQ(NextTabIndex(3, -1, true), 2);
  EXPECT_EQ(NextTabIndex(3, 0, false), 1);
  EXPECT_EQ(NextTabIndex(3, 2, false), 0);
  EXPECT_EQ(NextTabIndex(3, 0, true), 2);
  EXPECT_EQ(NextTabIndex(3, 7, false), 0);  // a focus that is no stop any more
  EXPECT_EQ(NextTabIndex(0, -1, false), -1);
}

TEST(DialogKeyAction, TabMovesEvenWhereTheControlWantsEveryKey) {
  const FocusContext greedy{false, true};
  EXPECT_EQ(DialogKeyAction(kKeyTab, false, false, false, greedy), KeyAction::NextControl);
  EXPECT_EQ(DialogKeyAction(kKeyTab, true, false, false, greedy), KeyAction::PreviousControl);
  EXPECT_EQ(DialogKeyAction(kKeyTab, false, true, false, {}), KeyAction::Pass);  // Alt+Tab is the system's
  EXPECT_EQ(DialogKeyAction(kKeyTab, false, false, true, {}), KeyAction::Pass);
}

TEST(DialogKeyAction, EnterEscapeSpaceAndAltF4) {
  const FocusContext button{true, false}, field{false, false}, editor{false, true};
  EXPECT_EQ(DialogKeyAction(kKeyReturn, false, false, false, button), KeyAction::Press);
  EXPECT_EQ(DialogKeyAction(kKeySpace, false, false, false, button), KeyAction::Press);
  EXPECT_EQ(DialogKeyAction(kKeyReturn, false, false, false, field), KeyAction::Ok);
  EXPECT_EQ(DialogKeyAction(kKeySpace, false, false, false, field), KeyAction::Pass);  // a blank typed
  EXPECT_EQ(DialogKeyAction(kKeyEscape, false, false, false, field), KeyAction::Cancel);
  EXPECT_EQ(DialogKeyAction(kKeyEscape, false, false, false, button), KeyAction::Cancel);
  // A line editor ends its own edit; a text of several lines takes Enter.
  EXPECT_EQ(DialogKeyAction(kKeyEscape, false, false, false, editor), KeyAction::Pass);
  EXPECT_EQ(DialogKeyAction(kKeyReturn, false, false, false, editor), KeyAction::Pass);
  // Ctrl+Enter is the control's (the keyboard picture paints an LED with it).
  EXPECT_EQ(DialogKeyAction(kKeyReturn, false, false, true, field), KeyAction::Pass);
  EXPECT_EQ(DialogKeyAction(kKeyF4, false, true, false, editor), KeyAction::Close);
  EXPECT_EQ(DialogKeyAction(kKeyF4, false, false, false, field), KeyAction::Pass);
  EXPECT_EQ(DialogKeyAction('A', false, false, false, button), KeyAction::Pass);
}

TEST(SliderKeyValue, ArrowsStepPagesJumpAndTheRangeHolds) {
  SliderGeometry g;
  g.minimum = 0;
  g.maximum = 100;
  EXPECT_EQ(SliderKeyValue(g, 50, kKeyRight), 51);
  EXPECT_EQ(SliderKeyValue(g, 50, kKeyUp), 51);
  EXPECT_EQ(SliderKeyValue(g, 50, kKeyLeft), 49);
  EXPECT_EQ(SliderKeyValue(g, 50, kKeyDown), 49);
  EXPECT_EQ(SliderKeyValue(g, 50, kKeyPageUp), 60);
  EXPECT_EQ(SliderKeyValue(g, 95, kKeyPageUp), 100);
  EXPECT_EQ(SliderKeyValue(g, 0, kKeyLeft), 0);
  EXPECT_EQ(SliderKeyValue(g, 100, kKeyRight), 100);
  EXPECT_EQ(SliderKeyValue(g, 50, kKeyHome), 0);
  EXPECT_EQ(SliderKeyValue(g, 50, kKeyEnd), 100);
  EXPECT_EQ(SliderKeyValue(g, 50, 'A'), 50);
  EXPECT_FALSE(IsSliderKey('A'));
  EXPECT_TRUE(IsSliderKey(kKeyHome));
  // A small range still pages by one; a reversed slider goes up towards its maximum.
  g.maximum = 4;
  EXPECT_EQ(SliderKeyValue(g, 2, kKeyPageDown), 1);
  SliderGeometry reversed;
  reversed.minimum = 10;
  reversed.maximum = 0;
  EXPECT_EQ(SliderKeyValue(reversed, 5, kKeyRight), 4);
  EXPECT_EQ(SliderKeyValue(reversed, 0, kKeyRight), 0);
  // Values at the ends of int do not overflow.
  SliderGeometry wide;
  wide.minimum = INT32_MIN;
  wide.maximum = INT32_MAX;
  EXPECT_EQ(SliderKeyValue(wide, INT32_MAX, kKeyPageUp), INT32_MAX);
  EXPECT_EQ(SliderKeyValue(wide, INT32_MIN, kKeyPageDown), INT32_MIN);
}

// Three rows of keys in the keyboard's manner: a wide key under two narrow
// ones, a tall key at the right end of two rows, and a hole (no key).
TEST(NeighbourItem, ArrowsWalkRowsAndColumnsOfKeys) {
  const std::vector<SkinRect> keys = {
      at(0, 0, 30, 30),    // 0
      at(32, 0, 30, 30),   // 1
      at(64, 0, 30, 62),   // 2 tall, two rows
      at(0, 32, 30, 30),   // 3
      at(32, 32, 30, 30),  // 4
      {},                  // 5 no key
      at(0, 64, 94, 30),   // 6 wide
  };
  EXPECT_EQ(NeighbourItem(keys, 0, kKeyRight), 1);
  EXPECT_EQ(NeighbourItem(keys, 1, kKeyRight), 2);
  EXPECT_EQ(NeighbourItem(keys, 2, kKeyRight), 2);  // nothing further: stays
  EXPECT_EQ(NeighbourItem(keys, 4, kKeyRight), 2);
  EXPECT_EQ(NeighbourItem(keys, 2, kKeyLeft), 1);
  EXPECT_EQ(NeighbourItem(keys, 0, kKeyDown), 3);
  EXPECT_EQ(NeighbourItem(keys, 4, kKeyDown), 6);
  EXPECT_EQ(NeighbourItem(keys, 6, kKeyUp), 4);  // the key above its middle
  EXPECT_EQ(NeighbourItem(keys, 3, kKeyUp), 0);
  EXPECT_EQ(NeighbourItem(keys, 0, kKeyUp), 0);
  EXPECT_EQ(NeighbourItem(keys, 0, kKeyReturn), 0);
  // From none, or from the hole, any arrow starts at the first key.
  EXPECT_EQ(NeighbourItem(keys, -1, kKeyDown), 0);
  EXPECT_EQ(NeighbourItem(keys, 5, kKeyLeft), 0);
  EXPECT_EQ(NeighbourItem({{}, {}}, -1, kKeyDown), -1);
}
