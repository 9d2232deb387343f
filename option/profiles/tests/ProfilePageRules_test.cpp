#include "ProfilePageRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {
std::unique_ptr<SettingsImage> defaultImage() {
  auto image = std::make_unique<SettingsImage>();
  buildDefaultImage(*image);
  clearChangeFlags(*image);
  return image;
}

AppList programs(int count) {
  AppList list;
  for (int i = 0; i < count; ++i) addPath(list, "C:\\Games\\game" + std::to_string(i) + ".exe");
  return list;
}
}  // namespace

TEST(ProfilePage, OpensWithTheFirstOtherProfileAsTarget) {
  EXPECT_EQ(ProfilePageState::opened(1).copyTarget, 1);
  for (int page = 2; page <= 5; ++page) EXPECT_EQ(ProfilePageState::opened(page).copyTarget, 0);
  const ProfilePageState state = ProfilePageState::opened(3);
  EXPECT_FALSE(state.copyBoxOn);
  EXPECT_FALSE(state.resetArmed);
}

TEST(ProfilePage, CopyMenuListsTheOtherFourProfiles) {
  const auto entries = copyMenuEntries(3);
  ASSERT_EQ(entries.size(), 4u);
  const unsigned commands[] = {2001, 2002, 2004, 2005};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(entries[i].command, commands[i]);
    EXPECT_EQ(entries[i].textId, int(commands[i]) - 2001 + 1088);
  }
  ProfilePageState state = ProfilePageState::opened(3);
  state.chooseCopyTarget(2005);
  EXPECT_EQ(state.copyTarget, 4);
  EXPECT_EQ(state.copyTargetTextId(), 1092);
  state.chooseCopyTarget(2006);
  EXPECT_EQ(state.copyTarget, 0);
  state.chooseCopyTarget(0);
  EXPECT_EQ(state.copyTarget, 0);
}

TEST(ProfilePage, ResetClickedTwiceLeavesNothingArmed) {
  ProfilePageState state = ProfilePageState::opened(2);
  EXPECT_TRUE(state.resetClickAsksFirst());
  state.arm();
  EXPECT_FALSE(state.resetClickAsksFirst());
  EXPECT_FALSE(state.resetArmed);
  EXPECT_TRUE(state.resetClickAsksFirst());  // the next click asks again
}

TEST(ProfilePage, OnlyTheFirstTwentyProgramsAreLinked) {
  auto profile = std::make_unique<ProfileRecord>();
  std::memset(profile->linkedApps, 'x', sizeof profile->linkedApps);
  linkApplications(*profile, programs(25));
  for (int i = 0; i < kLinkedAppCount; ++i)
    EXPECT_STREQ(profile->linkedApps[i], ("C:\\Games\\game" + std::to_string(i) + ".exe").c_str());
  linkApplications(*profile, programs(2));
  EXPECT_STREQ(profile->linkedApps[1], "C:\\Games\\game1.exe");
  for (int i = 2; i < kLinkedAppCount; ++i) EXPECT_STREQ(profile->linkedApps[i], "") << i;
}

TEST(ProfilePage, CopyTakesTheProfileAsItWasBeforeItsReset) {
  auto image = defaultImage();
  ProfileRecord& page3 = image->profiles[2];
  page3.lightFx = 3;
  page3.keys[10].category = kCategoryDisabled;
  std::strcpy(page3.linkedApps[0], "C:\\game.exe");
  ProfilePageState state = ProfilePageState::opened(3);
  state.copyBoxOn = true;
  state.chooseCopyTarget(2001);
  state.arm();

  const ProfilePageOutcome outcome = applyProfilePage(*image, state);
  EXPECT_TRUE(outcome.refresh);
  EXPECT_TRUE(outcome.applyAfterReset);
  const ProfileRecord& copied = image->profiles[0];
  EXPECT_EQ(copied.lightFx, 3);
  EXPECT_EQ(copied.keys[10].category, kCategoryDisabled);
  EXPECT_STREQ(copied.linkedApps[0], "C:\\game.exe");

  auto fresh = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*fresh, 2);
  EXPECT_EQ(std::memcmp(&image->profiles[2], fresh.get(), sizeof *fresh), 0);
  EXPECT_STREQ(image->profiles[2].profileName, "Profile #3");
  EXPECT_EQ(image->profileSwitched, 1);
  EXPECT_EQ(image->keyDirty[2][104], 1);
  EXPECT_EQ(image->keyDirty[0][0], 0);  // the copy is flagged by the next Apply, not here
}

TEST(ProfilePage, NothingChosenChangesNothing) {
  auto image = defaultImage();
  auto before = std::make_unique<SettingsImage>(*image);
  const ProfilePageOutcome outcome = applyProfilePage(*image, ProfilePageState::opened(4));
  EXPECT_FALSE(outcome.refresh);
  EXPECT_FALSE(outcome.applyAfterReset);
  EXPECT_EQ(std::memcmp(image.get(), before.get(), sizeof *image), 0);
}

TEST(ProfilePage, ProgramNames) {
  EXPECT_EQ(programDisplayName("C:\\Program Files\\Game\\game.exe"), "game");
  EXPECT_EQ(programDisplayName("C:/x/archive.tar.exe"), "archive.tar");
  EXPECT_EQ(programDisplayName("noextension"), "noextension");
  EXPECT_EQ(programDisplayName("C:\\dir\\.exe"), ".exe");
}
