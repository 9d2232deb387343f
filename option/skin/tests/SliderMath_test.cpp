#include "SliderMath.h"

#include <gtest/gtest.h>

namespace {
// Track 0..110, thumb 10 wide: travel of 100 pixels.
SliderGeometry range1to3(bool snap) { return {0, 110, 10, 1, 3, snap}; }
}  // namespace

TEST(SliderMath, PositionOfValuesIsClamped) {
  SliderGeometry g{0, 110, 10, 0, 10, false};
  EXPECT_EQ(SliderThumbLeft(g, 0), 0);
  EXPECT_EQ(SliderThumbLeft(g, 5), 50);
  EXPECT_EQ(SliderThumbLeft(g, 10), 100);
  EXPECT_EQ(SliderThumbLeft(g, 99), 100);
  EXPECT_EQ(SliderThumbLeft(g, -4), 0);
}

TEST(SliderMath, ReleaseSnapsOrTruncates) {
  SliderGeometry snap = range1to3(true), free = range1to3(false);
  EXPECT_DOUBLE_EQ(SliderRealValue(snap, 70), 2.4);
  EXPECT_EQ(SliderSettle(snap, SliderRealValue(snap, 70)), 2);
  EXPECT_EQ(SliderSettle(snap, SliderRealValue(snap, 80)), 3);
  EXPECT_EQ(SliderSettle(free, SliderRealValue(free, 70)), 2);
  EXPECT_EQ(SliderSettle(free, SliderRealValue(free, 80)), 2);
  // The snapped thumb jumps to the exact place of the value.
  EXPECT_EQ(SliderThumbLeft(snap, 2), 50);
  EXPECT_EQ(SliderThumbLeft(snap, 3), 100);
}

TEST(SliderMath, DragKeepsThumbOnTrackAndComputesValue) {
  SliderGeometry g{0, 110, 10, 0, 10, false};
  EXPECT_EQ(SliderDragLeft(g, 55, 5), 50);
  EXPECT_EQ(SliderDragLeft(g, -30, 5), 0);
  EXPECT_EQ(SliderDragLeft(g, 500, 5), 100);
  EXPECT_EQ(SliderDragValue(g, 50), 5);
  EXPECT_EQ(SliderDragValue(g, 59), 5);
  EXPECT_EQ(SliderDragValue(g, 100), 10);
}

TEST(SliderMath, ClickOnTrackEdgesGivesMinAndMax) {
  SliderGeometry g{0, 110, 10, 1, 3, true};
  EXPECT_EQ(SliderSettle(g, SliderClickRealValue(g, 200, 200, 310)), 1);
  EXPECT_EQ(SliderSettle(g, SliderClickRealValue(g, 310, 200, 310)), 3);
  EXPECT_EQ(SliderSettle(g, SliderClickRealValue(g, 400, 200, 310)), 3);
  EXPECT_EQ(SliderSettle(g, SliderClickRealValue(g, 100, 200, 310)), 1);
  EXPECT_DOUBLE_EQ(SliderClickRealValue(g, 255, 200, 310), 2.0);
}

TEST(SliderMath, DegenerateRangesDoNotDivideByZero) {
  SliderGeometry oneValue{0, 110, 10, 4, 4, true};
  EXPECT_EQ(SliderThumbLeft(oneValue, 4), 0);
  SliderGeometry noTravel{0, 10, 10, 0, 10, false};
  EXPECT_EQ(SliderDragValue(noTravel, 0), 0);
  EXPECT_DOUBLE_EQ(SliderRealValue(noTravel, 0), 0.0);
  EXPECT_DOUBLE_EQ(SliderClickRealValue(noTravel, 5, 7, 7), 0.0);
  EXPECT_EQ(SliderSettle(noTravel, 1e300), 10);
}
