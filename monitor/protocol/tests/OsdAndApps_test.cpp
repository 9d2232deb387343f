#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "AppMatch.h"
#include "OsdPayload.h"

TEST(OsdPayload, TextFromByteOneBoundedAndShortPayloadsIgnored) {
  unsigned char payload[200] = {};
  payload[0] = 'X';  // not part of the text
  std::memcpy(payload + 1, "Profile 2", 10);
  EXPECT_EQ(osd::parseOsdPayload(payload, 151), "Profile 2");
  EXPECT_EQ(osd::parseOsdPayload(payload, 200), "Profile 2");
  EXPECT_EQ(osd::parseOsdPayload(payload, 150), std::nullopt);
  EXPECT_EQ(osd::parseOsdPayload(nullptr, 151), std::nullopt);

  // No terminator inside: 150 bytes, never the byte behind the payload.
  std::memset(payload + 1, 'a', 150);
  payload[151] = 'Z';
  const auto text = osd::parseOsdPayload(payload, 151);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->size(), 150u);
  EXPECT_EQ(text->find('Z'), std::string::npos);

  payload[1] = 0;
  EXPECT_EQ(osd::parseOsdPayload(payload, 151), "");
}

TEST(OsdPayload, LineBreaksCannotReachTheIniFile) {
  unsigned char payload[151] = {};
  const char text[] = "Hi\r\n[Setting]\nDevice=7\r";
  std::memcpy(payload + 1, text, sizeof text);
  EXPECT_EQ(osd::parseOsdPayload(payload, sizeof payload), "Hi  [Setting] Device=7 ");
}

namespace {

std::unique_ptr<SettingsImage> imageWithLinks() {
  auto image = std::make_unique<SettingsImage>();
  clearImage(*image);
  buildDefaultImage(*image);
  return image;
}

void link(SettingsImage& image, int profile, int slot, const char* path) {
  std::strncpy(image.profiles[profile].linkedApps[slot], path, 499);
}

}  // namespace

TEST(AppMatch, PathsAndNames) {
  EXPECT_EQ(apps::fileNameOf("C:\\Games\\Foo\\Game.EXE"), "Game.EXE");
  EXPECT_EQ(apps::fileNameOf("D:/x/y.exe"), "y.exe");
  EXPECT_EQ(apps::fileNameOf("C:run.exe"), "run.exe");
  EXPECT_EQ(apps::fileNameOf("plain.exe"), "plain.exe");
  EXPECT_EQ(apps::fileNameOf("C:\\dir\\"), "");
  EXPECT_EQ(apps::trim(" \t a b \r\n"), "a b");
  EXPECT_TRUE(apps::equalsIgnoringCase("GAME.exe", "game.EXE"));
  EXPECT_FALSE(apps::equalsIgnoringCase("game.exe", "game.ex"));
  EXPECT_TRUE(apps::isFrameHost("APPLICATIONFRAMEHOST.EXE"));
  EXPECT_TRUE(apps::isFrameHost("C:\\Windows\\System32\\ApplicationFrameHost.exe"));
  EXPECT_FALSE(apps::isFrameHost("ApplicationFrameHost.exe.bak"));
  EXPECT_FALSE(apps::isFrameHost(""));
}

TEST(AppMatch, HighestProfileWinsAndBlanksAndCaseAreIgnored) {
  auto image = imageWithLinks();
  EXPECT_EQ(apps::matchingProfile(*image, "game.exe"), -1);
  link(*image, 1, 19, "   C:\\Games\\GAME.EXE  ");
  EXPECT_EQ(apps::matchingProfile(*image, "game.exe"), 1);
  link(*image, 3, 0, "E:\\other\\game.exe");
  EXPECT_EQ(apps::matchingProfile(*image, "game.exe"), 3);
  link(*image, 0, 5, "game.exe");
  EXPECT_EQ(apps::matchingProfile(*image, "game.exe"), 3);
  EXPECT_EQ(apps::matchingProfile(*image, "game"), -1);
  EXPECT_EQ(apps::matchingProfile(*image, ""), -1);
  link(*image, 2, 0, "   ");
  EXPECT_EQ(apps::matchingProfile(*image, ""), -1);
}

TEST(AppMatch, NoSwitchToTheActiveProfile) {
  auto image = imageWithLinks();
  link(*image, 2, 0, "C:\\a\\tool.exe");
  image->currentProfile = 0;
  EXPECT_EQ(apps::profileToSwitchTo(*image, "TOOL.exe"), 2);
  image->currentProfile = 2;
  EXPECT_EQ(apps::profileToSwitchTo(*image, "tool.exe"), -1);
  EXPECT_EQ(apps::profileToSwitchTo(*image, "unlinked.exe"), -1);
}

TEST(AppMatch, LinkFillingItsWholeArrayIsReadInBounds) {
  auto image = imageWithLinks();
  char* slot = image->profiles[4].linkedApps[0];
  std::memset(slot, 'x', 500);
  std::memcpy(slot + 500 - 6, "\\a.exe", 6);
  EXPECT_EQ(apps::matchingProfile(*image, "a.exe"), 4);
}
