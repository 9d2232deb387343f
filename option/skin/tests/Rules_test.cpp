#include <gtest/gtest.h>

#include "ButtonLooks.h"
#include "EditFilter.h"
#include "ListEditRules.h"
#include "MenuMeasure.h"

TEST(EditFilter, HexKeepsDigitsAndUpperCaseLetters) {
  EXPECT_EQ(FilterEditText(EditFilter::Hexadecimal, "1a2"), "12");
  EXPECT_EQ(FilterEditText(EditFilter::Hexadecimal, "1.2"), "12");
  EXPECT_EQ(FilterEditText(EditFilter::Hexadecimal, "FF00BB"), "FF00BB");
  EXPECT_EQ(FilterEditText(EditFilter::Hexadecimal, "G,"), "");
}

TEST(EditFilter, DecimalKeepsDigitsPointAndComma) {
  EXPECT_EQ(FilterEditText(EditFilter::Decimal, "1A2"), "12");
  EXPECT_EQ(FilterEditText(EditFilter::Decimal, "1.2,5"), "1.2,5");
  EXPECT_EQ(FilterEditText(EditFilter::Decimal, "-3"), "3");
  EXPECT_EQ(FilterEditText(EditFilter::None, "any-Text"), "any-Text");
}

TEST(EditFilter, TheTwoFiltersAreSeparateSettings) {
  EXPECT_EQ(FilterEditText(EditFilters{}, "a.B-1"), "a.B-1");
  EXPECT_EQ(FilterEditText(EditFilters{true, false}, "1A.2"), "1.2");
  EXPECT_EQ(FilterEditText(EditFilters{false, true}, "1A.2"), "1A2");
  // Both on: only what both let through stays.
  EXPECT_EQ(FilterEditText(EditFilters{true, true}, "1A.2,f"), "12");
}

TEST(MenuMeasure, ItemHeightsAndWidth) {
  EXPECT_EQ(MeasureMenuItem(0, 133).height, 5);
  EXPECT_EQ(MeasureMenuItem(1, 133).height, 0);
  EXPECT_EQ(MeasureMenuItem(1000, 133).height, 20);
  EXPECT_EQ(MeasureMenuItem(1000, 133).width, 133);
  EXPECT_EQ(WidenMenu(133, 20, 0, 0), 160);
  EXPECT_EQ(WidenMenu(133, 10, 0, 0), 133);
  EXPECT_EQ(WidenMenu(133, 16, 4, 4), 136);
  EXPECT_GT(WidenMenu(0, size_t(1) << 40, 0, 0), 0);
}

TEST(ListEditRules, CommitAndCancel) {
  auto newEmpty = CommitListEdit(ListEditMode::Create, true, "");
  EXPECT_TRUE(newEmpty.removeLine);
  EXPECT_FALSE(newEmpty.insertText || newEmpty.notifyAdded || newEmpty.notifyEdited);

  auto newNamed = CommitListEdit(ListEditMode::Create, true, "Macro: 1");
  EXPECT_TRUE(newNamed.removeLine && newNamed.insertText && newNamed.notifyAdded);
  EXPECT_FALSE(newNamed.notifyEdited);

  auto renameEmpty = CommitListEdit(ListEditMode::Rename, false, "");
  EXPECT_FALSE(renameEmpty.removeLine || renameEmpty.insertText || renameEmpty.notifyEdited);

  auto renamed = CommitListEdit(ListEditMode::Rename, false, "x");
  EXPECT_TRUE(renamed.removeLine && renamed.insertText && renamed.notifyEdited);
  EXPECT_FALSE(renamed.notifyAdded);

  // A value typed over an existing line (mode 0): emptied, the line stays.
  auto valueEmpty = CommitListEdit(ListEditMode::Create, false, "");
  EXPECT_FALSE(valueEmpty.removeLine || valueEmpty.insertText || valueEmpty.notifyAdded);
  auto value = CommitListEdit(ListEditMode::Create, false, "250");
  EXPECT_TRUE(value.removeLine && value.insertText && value.notifyAdded);

  EXPECT_TRUE(CancelListEdit(true).removeLine);
  EXPECT_FALSE(CancelListEdit(false).removeLine);

  // A new line that goes again gives the selection back to the line the
  // page still has as its current one; any other edit keeps its line.
  EXPECT_EQ(ListSelectionAfterEdit(newEmpty, 4, 1), 1);
  EXPECT_EQ(ListSelectionAfterEdit(CancelListEdit(true), 4, 1), 1);
  EXPECT_EQ(ListSelectionAfterEdit(CancelListEdit(true), 0, -1), -1);
  EXPECT_EQ(ListSelectionAfterEdit(newNamed, 4, 1), 4);
  EXPECT_EQ(ListSelectionAfterEdit(renameEmpty, 2, 0), 2);
  EXPECT_EQ(ListSelectionAfterEdit(CancelListEdit(false), 2, 0), 2);
}

TEST(ListEditRules, EditorPlans) {
  ListEditPlan line = PlanListEdit(ListEditOrigin::NewLine, false, 0, 200, 0, 26);
  EXPECT_EQ(line.mode, ListEditMode::Create);
  EXPECT_TRUE(line.createdLine);
  EXPECT_EQ(line.limit, 15);
  EXPECT_EQ(line.left, 1);
  EXPECT_EQ(line.right, 198);

  ListEditPlan value = PlanListEdit(ListEditOrigin::SelectedLine, false, 0, 200, 0x00050000, 26);
  EXPECT_EQ(value.mode, ListEditMode::Create);
  EXPECT_FALSE(value.createdLine);
  EXPECT_EQ(value.limit, 20);
  EXPECT_EQ(value.left, 0);  // the page's high word is no picture
  ListEditPlan pictured = PlanListEdit(ListEditOrigin::SelectedLine, true, 0, 200, 0x102, 26);
  EXPECT_EQ(pictured.mode, ListEditMode::Rename);
  EXPECT_EQ(pictured.left, 31);
  EXPECT_EQ(pictured.right, 200);

  ListEditPlan renamed = PlanListEdit(ListEditOrigin::DoubleClick, true, 0, 200, 0x102, 26);
  EXPECT_EQ(renamed.mode, ListEditMode::Rename);
  EXPECT_EQ(renamed.limit, kListNoLimit);
  EXPECT_EQ(renamed.left, 0);
  // A list narrower than the slot still gives an editor of no negative width.
  ListEditPlan narrow = PlanListEdit(ListEditOrigin::SelectedLine, true, 0, 10, 2, 26);
  EXPECT_GE(narrow.right, narrow.left);
}

TEST(ListEditRules, WheelScrollsOneLinePerNotch) {
  int pending = 0;
  EXPECT_EQ(ListWheelLines(pending, 120), 1);
  EXPECT_EQ(ListWheelLines(pending, -360), -3);
  EXPECT_EQ(ListWheelLines(pending, 60), 0);  // half a notch waits
  EXPECT_EQ(ListWheelLines(pending, 60), 1);
  EXPECT_EQ(pending, 0);
  EXPECT_EQ(ListWheelLines(pending, 0x7FFFFFFF), 1000000 / 120);

  EXPECT_EQ(ListTopAfterWheel(5, 1, 20), 4);
  EXPECT_EQ(ListTopAfterWheel(5, -3, 20), 8);
  EXPECT_EQ(ListTopAfterWheel(0, 2, 20), 0);
  EXPECT_EQ(ListTopAfterWheel(18, -5, 20), 19);
  EXPECT_EQ(ListTopAfterWheel(3, 1, 0), 0);
}

TEST(ListEditRules, PictureSlotIndentsText) {
  EXPECT_EQ(ListTextLeft(0, 0, 26), 5);
  EXPECT_EQ(ListTextLeft(0, 1, 26), 31);          // id 1 reserves the slot only
  EXPECT_EQ(ListTextLeft(0, 0x00030000, 26), 5);  // high word belongs to the page
  EXPECT_EQ(ListTextLeft(10, 0x00030102, 26), 41);
  EXPECT_EQ(ListPictureId(0x00030102), 0x0102u);
  EXPECT_FALSE(ListDrawsPicture(1));
  EXPECT_TRUE(ListDrawsPicture(0x00010002));
  EXPECT_FALSE(ListDrawsPicture(0x00020000));
}

TEST(ButtonLooks, ColorKeyImagePrecedence) {
  EXPECT_EQ(ColorKeyImage({true, true, true, true, false}), StateImage::Disabled);
  EXPECT_EQ(ColorKeyImage({true, true, true, false, false}), StateImage::Down);
  EXPECT_EQ(ColorKeyImage({true, false, true, false, true}), StateImage::Over);
  EXPECT_EQ(ColorKeyImage({true, false, false, false, true}), StateImage::Normal);
  EXPECT_EQ(ColorKeyImage({false, true, false, true, false}), StateImage::Disabled);
  EXPECT_EQ(ColorKeyImage({false, false, true, false, true}), StateImage::Down);
  EXPECT_EQ(ColorKeyImage({false, false, true, true, false}), StateImage::Over);

  EXPECT_EQ(RegionButtonImage(RegionState::Hover, true, true), StateImage::Disabled);
  EXPECT_EQ(RegionButtonImage(RegionState::Hover, true, false), StateImage::Down);
  EXPECT_EQ(RegionButtonImage(RegionState::Hover, false, false), StateImage::Over);
  EXPECT_EQ(RegionButtonImage(RegionState::Pressed, false, false), StateImage::Down);
  EXPECT_EQ(RegionButtonImage(RegionState::Disabled, false, false), StateImage::Disabled);
  EXPECT_EQ(RegionButtonImage(RegionState::Rest, false, false), StateImage::Normal);
}

TEST(ButtonLooks, ColorKeyShapesAndOverlay) {
  ShapeRects cut = ColorKeyShapeRects(ColorKeyShape::CutCorners, 40, 30);
  EXPECT_EQ(cut.first, (SkinRect{1, 2, 40, 29}));
  EXPECT_EQ(cut.second, (SkinRect{2, 1, 39, 30}));
  ShapeRects ell = ColorKeyShapeRects(ColorKeyShape::LShape, 44, 58);
  EXPECT_EQ(ell.first, (SkinRect{1, 1, 44, 25}));
  EXPECT_EQ(ell.second, (SkinRect{8, 24, 44, 58}));

  EXPECT_EQ(ColorKeyOverlayFor(ColorKeyDrawMode::Swatch, false, 0), ColorKeyOverlay::Solid);
  EXPECT_EQ(ColorKeyOverlayFor(ColorKeyDrawMode::KeyColour, true, 0x0000FF), ColorKeyOverlay::Blend);
  EXPECT_EQ(ColorKeyOverlayFor(ColorKeyDrawMode::KeyColour, true, 0), ColorKeyOverlay::None);
  EXPECT_EQ(ColorKeyOverlayFor(ColorKeyDrawMode::KeyColour, false, 0xFF), ColorKeyOverlay::None);
}
