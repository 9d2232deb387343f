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

// Every list shows its profile's links after the page's OK, whatever it did.
void expectListsShowLinks(const SettingsImage& image, const AppList (&lists)[kProfileCount]) {
  for (int p = 0; p < kProfileCount; ++p) EXPECT_TRUE(listShowsLinks(lists[p], image.profiles[p])) << p;
}

TEST(ProfilePage, CopyTakesTheProfileAsItWasBeforeItsResetButNotItsLinks) {
  auto image = defaultImage();
  AppList lists[kProfileCount];
  addPath(lists[0], "C:\\one.exe");
  linkApplications(image->profiles[0], lists[0]);
  ProfileRecord& page3 = image->profiles[2];
  page3.lightFx = 3;
  page3.keys[10].category = kCategoryDisabled;
  ProfilePageState state = ProfilePageState::opened(3);
  state.copyBoxOn = true;
  state.chooseCopyTarget(2001);
  state.arm();

  const ProfilePageOutcome outcome = applyProfilePage(*image, lists, state, programs(2));
  EXPECT_TRUE(outcome.refresh);
  EXPECT_TRUE(outcome.applyAfterReset);
  const ProfileRecord& copied = image->profiles[0];
  EXPECT_EQ(copied.lightFx, 3);
  EXPECT_EQ(copied.keys[10].category, kCategoryDisabled);
  // The target links what it linked; the reset page links nothing any more.
  EXPECT_STREQ(copied.linkedApps[0], "C:\\one.exe");
  EXPECT_STREQ(copied.linkedApps[1], "");
  EXPECT_TRUE(lists[2].empty());
  expectListsShowLinks(*image, lists);

  auto fresh = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*fresh, 2);
  EXPECT_EQ(std::memcmp(&image->profiles[2], fresh.get(), sizeof *fresh), 0);
  EXPECT_STREQ(image->profiles[2].profileName, "Profile #3");
  EXPECT_EQ(image->profileSwitched, 1);
  EXPECT_EQ(image->keyDirty[2][104], 1);
  EXPECT_EQ(image->keyDirty[0][0], 0);  // the copy is flagged by the next Apply, not here
}

TEST(ProfilePage, OkLinksThePageListAndNothingElseWhenNothingIsChosen) {
  auto image = defaultImage();
  AppList lists[kProfileCount];
  auto before = std::make_unique<SettingsImage>(*image);
  ProfilePageOutcome outcome = applyProfilePage(*image, lists, ProfilePageState::opened(4), {});
  EXPECT_FALSE(outcome.refresh);
  EXPECT_FALSE(outcome.applyAfterReset);
  EXPECT_EQ(std::memcmp(image.get(), before.get(), sizeof *image), 0);

  outcome = applyProfilePage(*image, lists, ProfilePageState::opened(4), programs(25));
  EXPECT_FALSE(outcome.refresh);
  EXPECT_EQ(lists[3].size(), 25u);  // all kept in the list, the first 20 linked
  EXPECT_STREQ(image->profiles[3].linkedApps[19], "C:\\Games\\game19.exe");
  expectListsShowLinks(*image, lists);
}

TEST(ProfilePage, AListThatDisagreesWithTheLinksGivesWay) {
  auto profile = std::make_unique<ProfileRecord>();
  std::memset(profile.get(), 0, sizeof *profile);
  AppList list = programs(25);
  linkApplications(*profile, list);
  showLinksInList(list, *profile);
  EXPECT_EQ(list.size(), 25u);  // agrees: programs beyond the twentieth stay

  // A list saved by an OK that was never applied: the links win.
  addPath(list, "C:\\late.exe");
  std::swap(list[0], list[25]);
  std::memset(profile->linkedApps, 0, sizeof profile->linkedApps);
  std::strcpy(profile->linkedApps[0], "C:\\a.exe");
  std::strcpy(profile->linkedApps[2], "C:\\b.exe");  // a gap in damaged links closes
  EXPECT_FALSE(listShowsLinks(list, *profile));
  showLinksInList(list, *profile);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_STREQ(list[0].path, "C:\\a.exe");
  EXPECT_STREQ(list[1].path, "C:\\b.exe");
}

TEST(ProfilePage, ProgramNames) {
  EXPECT_EQ(programDisplayName("C:\\Program Files\\Game\\game.exe"), "game");
  EXPECT_EQ(programDisplayName("C:/x/archive.tar.exe"), "archive.tar");
  EXPECT_EQ(programDisplayName("noextension"), "noextension");
  EXPECT_EQ(programDisplayName("C:\\dir\\.exe"), ".exe");
}

// The box on a page makes its profile the desktop profile; cleared, it
// leaves none, but only when the page's profile was the one; left alone,
// the setting stays whatever another page made it.
TEST(ProfilePage, TheDesktopChoiceSetsOrClearsOnlyItsOwnProfile) {
  auto image = defaultImage();
  AppList lists[kProfileCount];
  ProfilePageState page3 = ProfilePageState::opened(3);
  EXPECT_FALSE(isDesktopProfile(*image, 3));
  applyProfilePage(*image, lists, page3, {});
  EXPECT_EQ(image->desktopProfile, 0) << "untouched";

  page3.desktopChoice = 1;
  applyProfilePage(*image, lists, page3, {});
  EXPECT_EQ(image->desktopProfile, 3);
  EXPECT_TRUE(isDesktopProfile(*image, 3));

  ProfilePageState page5 = ProfilePageState::opened(5);
  page5.desktopChoice = 0;  // ticked and cleared again on another page
  applyProfilePage(*image, lists, page5, {});
  EXPECT_EQ(image->desktopProfile, 3);
  page5.desktopChoice = 1;
  applyProfilePage(*image, lists, page5, {});
  EXPECT_EQ(image->desktopProfile, 5) << "one desktop profile at a time";

  page5.desktopChoice = 0;
  page5.arm();  // a reset of the page leaves the choice as the box says
  applyProfilePage(*image, lists, page5, {});
  EXPECT_EQ(image->desktopProfile, 0);
}
