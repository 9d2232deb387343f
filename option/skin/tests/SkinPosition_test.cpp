#include "SkinPosition.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(SkinPosition, ExitButtonParsesToRectAndEmptyText) {
  SkinPosition p = ParseSkinPosition("BUTTON_EXIT,277,4,22,22,");
  EXPECT_STREQ(p.name, "BUTTON_EXIT");
  EXPECT_EQ(p.rect, (SkinRect{277, 4, 299, 26}));
  EXPECT_STREQ(p.text, "");
}

TEST(SkinPosition, TextIsTrimmed) {
  SkinPosition p = ParseSkinPosition("browser1,281,172,30,20,  \t Pick a program \t ");
  EXPECT_STREQ(p.text, "Pick a program");
  EXPECT_EQ(p.rect, (SkinRect{281, 172, 311, 192}));
}

TEST(SkinPosition, WithoutTrailingCommaTextIsLastNumber) {
  SkinPosition p = ParseSkinPosition("BUTTON_OK,67,162,70,30");
  EXPECT_EQ(p.rect, (SkinRect{67, 162, 137, 192}));
  EXPECT_STREQ(p.text, "30");
}

TEST(SkinPosition, EmptyAndMalformedGiveEmptyRect) {
  for (const char* s : {"", "NAME_ONLY", "A,1,2", "A,x,y,z,w,"}) {
    SkinPosition p = ParseSkinPosition(s);
    EXPECT_EQ(p.rect, SkinRect{}) << s;
  }
  EXPECT_STREQ(ParseSkinPosition("").name, "");
  EXPECT_STREQ(ParseSkinPosition("NAME_ONLY").name, "NAME_ONLY");
}

TEST(SkinPosition, LongFieldsAreCutToTheirArrays) {
  std::string name(100, 'N');
  std::string text(1000, 't');
  SkinPosition p = ParseSkinPosition(name + ",1,2,3,4," + text);
  EXPECT_EQ(std::string(p.name), std::string(39, 'N'));
  EXPECT_EQ(std::string(p.text), std::string(403, 't'));
  EXPECT_EQ(p.rect, (SkinRect{1, 2, 4, 6}));
}

TEST(SkinPosition, NegativeOriginIsKept) {
  SkinPosition p = ParseSkinPosition("EDIT,-5,-6,10,10,help");
  EXPECT_EQ(p.rect, (SkinRect{-5, -6, 5, 4}));
  EXPECT_STREQ(p.text, "help");
}

TEST(SkinPosition, NumbersAtTheLimitsOfTheirTypeGiveABoundedRect) {
  // A damaged skin file: the far edges must not overflow, and every size
  // stays computable.
  for (const char* s : {"HUGE,2147483647,2147483647,2147483647,2147483647,",
                        "LOW,-2147483648,-2147483648,-2147483648,-2147483648,",
                        "MIXED,-2147483648,2147483647,2147483647,-2147483648,", "LONG,99999999999,5,5,5,"}) {
    const SkinPosition p = ParseSkinPosition(s);
    EXPECT_LE(std::abs(int64_t(p.rect.left)), kSkinCoordinateLimit) << s;
    EXPECT_LE(std::abs(int64_t(p.rect.top)), kSkinCoordinateLimit) << s;
    EXPECT_LE(std::abs(int64_t(p.rect.width())), 2 * kSkinCoordinateLimit) << s;
    EXPECT_LE(std::abs(int64_t(p.rect.height())), 2 * kSkinCoordinateLimit) << s;
  }
  EXPECT_EQ(ParseSkinPosition("FAR,99999,99999,5,5,").rect, (SkinRect{32767, 32767, 32772, 32772}));
  EXPECT_EQ(ParseSkinPosition("B,2147483647,-2147483648,2147483647,99999,x").rect,
            (SkinRect{kSkinCoordinateLimit, -kSkinCoordinateLimit, 2 * kSkinCoordinateLimit, 0}));
}
