#include "ProfileNameRules.h"

#include <gtest/gtest.h>

#include <memory>

#include "ProfilePageRules.h"

namespace {
// Bytes 0x81..0xFE lead a two-byte character, as in the East Asian code pages.
size_t doubleByte(unsigned char lead) { return lead >= 0x81 && lead <= 0xFE ? 2 : 1; }

std::unique_ptr<SettingsImage> defaultImage() {
  auto image = std::make_unique<SettingsImage>();
  buildDefaultImage(*image);
  clearChangeFlags(*image);
  return image;
}
}  // namespace

TEST(ProfileName, TypedTextBecomesOneTrimmedLine) {
  EXPECT_EQ(profileNameFromField("  Shooter  "), "Shooter");
  // A pasted line break or tab would break the profile file's line.
  EXPECT_EQ(profileNameFromField("Night\r\nRacer\t2"), "Night  Racer 2");
  EXPECT_EQ(profileNameFromField(" \t\r\n "), "");
  EXPECT_EQ(profileNameFromField("Caf\xE9"), "Caf\xE9");  // a code page letter stays
}

TEST(ProfileName, CutToTheRecordWithoutSplittingACharacter) {
  const std::string longName(400, 'n');
  EXPECT_EQ(profileNameFromField(longName).size(), kMaxProfileNameBytes);
  // 248 single bytes and a two-byte character: the character does not fit.
  const std::string wide = std::string(248, 'a') + "\x82\xA0";
  EXPECT_EQ(profileNameFromField(wide, doubleByte), std::string(248, 'a'));
  EXPECT_EQ(profileNameFromField(std::string(247, 'a') + "\x82\xA0", doubleByte).size(), 249u);
  // A lead byte without its trail byte is dropped, never half kept.
  EXPECT_EQ(profileNameFromField("ab\x82", doubleByte), "ab");
  // A cut that leaves a blank at the end drops it as well.
  EXPECT_EQ(profileNameFromField(std::string(248, 'a') + " b"), std::string(248, 'a'));
}

TEST(ProfileName, EmptyFieldGivesTheDefaultNameAndUnchangedNameIsNoChange) {
  auto image = defaultImage();
  ProfileRecord& profile = image->profiles[1];
  EXPECT_FALSE(renameProfile(profile, 1, "Profile #2"));
  EXPECT_TRUE(renameProfile(profile, 1, " Shooter "));
  EXPECT_STREQ(profile.profileName, "Shooter");
  EXPECT_EQ(shownProfileName(profile, 1), "Shooter");
  EXPECT_TRUE(renameProfile(profile, 1, "   "));
  EXPECT_STREQ(profile.profileName, "Profile #2");
  // A record with no name (an old or damaged file) still shows one.
  profile.profileName[0] = '\0';
  EXPECT_EQ(shownProfileName(profile, 1), "Profile #2");
  EXPECT_EQ(profileButtonHelp("Shooter"), "Make \"Shooter\" active");
}

TEST(ProfileName, PageOkNamesTheProfileBeforeCopyAndReset) {
  auto image = defaultImage();
  AppList lists[kProfileCount];
  ProfilePageState state = ProfilePageState::opened(2);
  state.named = true;
  state.name = "Shooter";
  ProfilePageOutcome outcome = applyProfilePage(*image, lists, state, {});
  EXPECT_STREQ(image->profiles[1].profileName, "Shooter");
  EXPECT_TRUE(outcome.refresh);
  EXPECT_TRUE(outcome.edited);  // applied like any edit: preview stores it
  // The copy carries the new name; a reset then names the page's profile again.
  state.copyBoxOn = true;
  state.copyTarget = 3;
  state.name = "Sniper";
  state.arm();
  outcome = applyProfilePage(*image, lists, state, {});
  EXPECT_STREQ(image->profiles[3].profileName, "Sniper");
  EXPECT_STREQ(image->profiles[1].profileName, "Profile #2");
  // The same name again changes nothing.
  state = ProfilePageState::opened(4);
  state.named = true;
  state.name = "Sniper";
  outcome = applyProfilePage(*image, lists, state, {});
  EXPECT_FALSE(outcome.edited);
}
