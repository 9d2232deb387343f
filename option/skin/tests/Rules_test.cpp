#include <gtest/gtest.h>

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
  auto newEmpty = CommitListEdit(ListEditMode::Create, "");
  EXPECT_TRUE(newEmpty.removeLine);
  EXPECT_FALSE(newEmpty.insertText || newEmpty.notifyAdded || newEmpty.notifyEdited);

  auto newNamed = CommitListEdit(ListEditMode::Create, "Macro: 1");
  EXPECT_TRUE(newNamed.removeLine && newNamed.insertText && newNamed.notifyAdded);
  EXPECT_FALSE(newNamed.notifyEdited);

  auto renameEmpty = CommitListEdit(ListEditMode::Rename, "");
  EXPECT_FALSE(renameEmpty.removeLine || renameEmpty.insertText || renameEmpty.notifyEdited);

  auto renamed = CommitListEdit(ListEditMode::Rename, "x");
  EXPECT_TRUE(renamed.removeLine && renamed.insertText && renamed.notifyEdited);
  EXPECT_FALSE(renamed.notifyAdded);

  EXPECT_TRUE(CancelListEdit(ListEditMode::Create).removeLine);
  EXPECT_FALSE(CancelListEdit(ListEditMode::Rename).removeLine);
}

TEST(ListEditRules, PictureSlotIndentsText) {
  EXPECT_EQ(ListTextLeft(0, 0, 26), 5);
  EXPECT_EQ(ListTextLeft(0, 1, 26), 31);  // id 1 reserves the slot only
  EXPECT_EQ(ListTextLeft(0, 0x00030000, 26), 5);  // high word belongs to the page
  EXPECT_EQ(ListTextLeft(10, 0x00030102, 26), 41);
  EXPECT_EQ(ListPictureId(0x00030102), 0x0102u);
}
