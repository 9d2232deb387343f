#include "SubPageRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<EditEntry> entryIn(uint8_t category, uint8_t functionCode) {
  auto entry = std::make_unique<EditEntry>();
  buildDefaultKey(*entry, 0);
  entry->category = category;
  entry->functionCode = functionCode;
  return entry;
}

}  // namespace

TEST(MediaPage, ButtonsGiveTheirCodes) {
  auto entry = entryIn(kCategoryMedia, kFunctionDefault);
  const uint8_t expected[] = {24, 30, 29, 28, 25, 26};
  for (int button = 0; button < kMediaButtonCount; ++button) {
    ChooseMedia(*entry, button);
    EXPECT_EQ(entry->functionCode, expected[button]);
    EXPECT_EQ(HighlightedMediaButton(*entry), button);
  }
  ChooseMedia(*entry, 0);
  EXPECT_EQ(entry->functionCode, 24);
  EXPECT_EQ(kMediaCodes[MediaButtonOf(24)].consumerUsage, 0xE2);  // Mute
  ChooseMedia(*entry, kMediaButtonCount);
  EXPECT_EQ(entry->functionCode, 24);
  entry->category = kCategoryShortcut;
  EXPECT_EQ(HighlightedMediaButton(*entry), -1);
}

TEST(ShortcutPage, ButtonsGiveCodes48To57) {
  auto entry = entryIn(kCategoryShortcut, kFunctionDefault);
  EXPECT_EQ(HighlightedShortcutButton(*entry), -1);
  ChooseShortcut(*entry, 9);
  EXPECT_EQ(entry->functionCode, 57);
  ChooseShortcut(*entry, 10);
  EXPECT_EQ(HighlightedShortcutButton(*entry), 9);
}

TEST(LaunchPage, LineTextsAndSelection) {
  EXPECT_EQ(LaunchLineText("C:\\Games\\Big Game.EXE"), "Big Game");
  EXPECT_EQ(LaunchLineText("C:\\v1.2\\tool"), "tool");
  EXPECT_EQ(LaunchLineText("plain"), "plain");

  const std::vector<std::string> paths{"C:\\a\\notepad.exe", "C:\\b\\game2.exe", "C:\\c\\game.exe"};
  auto entry = entryIn(kCategoryLaunch, kFunctionDefault);
  EXPECT_FALSE(SelectLaunchLine(*entry, paths, 3));
  EXPECT_TRUE(SelectLaunchLine(*entry, paths, 2));
  EXPECT_EQ(entry->functionCode, kFunctionLaunch);
  EXPECT_STREQ(entry->appPath, "C:\\c\\game.exe");
  // A shorter path after a longer one leaves no tail behind.
  EXPECT_TRUE(SelectLaunchLine(*entry, {"C:\\x.exe"}, 0));
  EXPECT_STREQ(entry->appPath, "C:\\x.exe");
  // Too long for the entry: refused, the binding stays.
  EXPECT_FALSE(SelectLaunchLine(*entry, {std::string(sizeof entry->appPath, 'p')}, 0));
  EXPECT_STREQ(entry->appPath, "C:\\x.exe");
  // Delete emptied the list: no line, no program; OK then keeps none.
  EXPECT_TRUE(SelectLaunchLine(*entry, {}, -1));
  EXPECT_STREQ(entry->appPath, "");
  auto media = entryIn(kCategoryMedia, 24);
  std::strcpy(media->appPath, "C:\\old.exe");
  EXPECT_FALSE(SelectLaunchLine(*media, paths, -1));  // not a launch: left alone
  EXPECT_STREQ(media->appPath, "C:\\old.exe");
}

TEST(LaunchPage, RefreshSelectsTheBoundProgram) {
  const std::vector<std::string> paths{"C:\\a\\notepad.exe", "C:\\b\\game2.exe", "C:\\c\\game.exe"};
  auto entry = entryIn(kCategoryLaunch, kFunctionLaunch);
  std::strcpy(entry->appPath, "c:\\C\\GAME.exe");
  EXPECT_EQ(LaunchLineOnRefresh(*entry, paths), 2);
  std::strcpy(entry->appPath, "D:\\other\\Game.exe");  // same name, other folder
  EXPECT_EQ(LaunchLineOnRefresh(*entry, paths), 2);
  std::strcpy(entry->appPath, "D:\\NOTE.exe");  // a line beginning with the name
  EXPECT_EQ(LaunchLineOnRefresh(*entry, paths), 0);
  std::strcpy(entry->appPath, "D:\\zz.exe");
  EXPECT_EQ(LaunchLineOnRefresh(*entry, paths), 0);
  EXPECT_EQ(LaunchLineOnRefresh(*entry, {}), -1);
  entry->functionCode = 48;
  EXPECT_EQ(LaunchLineOnRefresh(*entry, paths), -1);
}
