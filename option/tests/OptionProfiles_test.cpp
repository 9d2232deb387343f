// The profile pages and the reset of all profiles, through the real windows:
// linked programs, copy onto another profile, reset with its warning, and
// what OK and Cancel leave behind in the block, the keyboard and the files.

#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "ListFiles.h"
#include "OptionHarness_win.h"
#include "ProfileFiles.h"

namespace {

using namespace harness;

// BUTTONPOS keys of a profile page and of the warning dialogs.
enum PageControl { kList = 1, kAdd, kRemove, kCopyBox, kCopyTarget, kResetProfile, kOk, kCancel, kClose };
enum WarnControl { kWarnOk = 1, kWarnCancel = 2 };

class OptionProfiles : public OptionHarness {
 protected:
  AppList savedList(int page) {
    AppList list;
    loadList(list, folder_, profileAppListFile(page));
    return list;
  }
  static std::vector<std::string> pageLines(HWND page) { return listLines(GetDlgItem(page, kPageIdBase + kList)); }
  static constexpr int kPageIdBase = 400;  // a page's control ids: base + BUTTONPOS key
};

TEST_F(OptionProfiles, CopyAndResetOnPageThreeWithTargetOne) {
  writeProfile(2, [](ProfileRecord& p) {
    p.lightFx = 3;
    p.waveColor = 0x123456;
    p.keys[10].category = kCategoryDisabled;
    p.keys[10].functionCode = kFunctionDisabled;
  });
  startWithEmulatedKeyboard();
  startOption();
  click(mainControl(kFirstSelector + 2));
  HWND page = openProfilePage(3);
  ASSERT_NE(page, nullptr);
  clickOn(page, profilePageIni(3), kCopyBox);
  clickOn(page, profilePageIni(3), kCopyTarget);
  key("Down Return");  // the first entry: profile 1
  clickOn(page, profilePageIni(3), kResetProfile);
  HWND warn = waitForWindow("Reset");
  ASSERT_NE(warn, nullptr);
  clickOn(warn, "skin_profile3_reset_warn.ini", kWarnOk);
  ASSERT_TRUE(closed(warn));
  const size_t mark = traceSize();
  clickOn(page, profilePageIni(3), kOk);
  ASSERT_TRUE(closed(page));
  // The reset is applied at once, as a full download of the active profile.
  ASSERT_EQ(waitForDownloads(mark, 1).size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
  auto block = readBlock();
  EXPECT_EQ(block->profiles[0].lightFx, 3);
  EXPECT_EQ(block->profiles[0].waveColor, 0x123456u);
  EXPECT_EQ(block->profiles[0].keys[10].category, kCategoryDisabled);
  auto fresh = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*fresh, 2);
  EXPECT_EQ(std::memcmp(&block->profiles[2], fresh.get(), sizeof *fresh), 0);
  EXPECT_STREQ(block->profiles[2].profileName, "Profile #3");
  auto saved = std::make_unique<SettingsImage>();
  loadAll(*saved, folder_);
  EXPECT_EQ(saved->profiles[0].lightFx, 3);
}

TEST_F(OptionProfiles, ResetClickedTwiceArmsNothing) {
  writeProfile(1, [](ProfileRecord& p) { p.lightFx = 4; });
  startWithEmulatedKeyboard();
  startOption();
  click(mainControl(kFirstSelector + 1));
  HWND page = openProfilePage(2);
  ASSERT_NE(page, nullptr);
  clickOn(page, profilePageIni(2), kResetProfile);
  HWND warn = waitForWindow("Reset");
  ASSERT_NE(warn, nullptr);
  clickOn(warn, "skin_profile2_reset_warn.ini", kWarnOk);
  ASSERT_TRUE(closed(warn));
  clickOn(page, profilePageIni(2), kResetProfile);  // disarms, without a question
  Sleep(200);
  EXPECT_EQ(FindWindowA(nullptr, "Reset"), nullptr);
  const size_t mark = traceSize();
  clickOn(page, profilePageIni(2), kOk);
  ASSERT_TRUE(closed(page));
  Sleep(300);
  EXPECT_TRUE(downloadsSince(mark).empty());
  click(mainControl(kApply));
  ASSERT_TRUE(waitApplyEnabled());
  EXPECT_EQ(readBlock()->profiles[1].lightFx, 4);
}

TEST_F(OptionProfiles, OnlyTheFirstTwentyOfTwentyFiveProgramsAreLinked) {
  writeAppList(1, 25);
  startWithEmulatedKeyboard();
  startOption();
  HWND page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  clickOn(page, profilePageIni(1), kOk);
  ASSERT_TRUE(closed(page));
  const size_t mark = traceSize();
  click(mainControl(kApply));
  ASSERT_EQ(waitForDownloads(mark, 1).size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
  auto block = readBlock();
  for (int i = 0; i < kLinkedAppCount; ++i)
    EXPECT_STREQ(block->profiles[0].linkedApps[i], ("C:\\Games\\game" + std::to_string(i) + ".exe").c_str());
  EXPECT_EQ(savedList(1).size(), 25u);
}

TEST_F(OptionProfiles, CancelRestoresTheListAndRemoveSelectsTheNextLine) {
  writeAppList(1, 3);
  startWithEmulatedKeyboard();
  startOption();
  HWND page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  clickOn(page, profilePageIni(1), kRemove);  // removes game0, selects game1
  clickOn(page, profilePageIni(1), kCancel);
  ASSERT_TRUE(closed(page));
  Sleep(300);  // a wrongly saved list would be written just after the page closed
  EXPECT_EQ(savedList(1).size(), 3u);

  page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  clickOn(page, profilePageIni(1), kRemove);
  clickOn(page, profilePageIni(1), kRemove);
  clickOn(page, profilePageIni(1), kOk);
  ASSERT_TRUE(closed(page));
  // The list is saved with the links, by the apply.
  applyAndWait();
  const AppList list = savedList(1);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_STREQ(list[0].path, "C:\\Games\\game2.exe");
  EXPECT_STREQ(readBlock()->profiles[0].linkedApps[0], "C:\\Games\\game2.exe");
  EXPECT_STREQ(readBlock()->profiles[0].linkedApps[1], "");
}

TEST_F(OptionProfiles, AddTakesAProgramFromTheOpenFileDialog) {
  startWithEmulatedKeyboard();
  startOption();
  HWND page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  clickOn(page, profilePageIni(1), kAdd);
  HWND dialog = waitForWindow("Open");
  ASSERT_NE(dialog, nullptr);
  const std::string program = folder_ + "Monitor.exe";
  xdotool("search --sync --onlyvisible --name ^Open$ windowfocus --sync %1");
  key("alt+n");  // the file name field, its text selected
  EXPECT_TRUE(xdotool("type --delay 5 '" + program + "'"));
  key("Return");
  ASSERT_TRUE(waitFor([&] { return !IsWindow(dialog); }, 5000));
  clickOn(page, profilePageIni(1), kOk);
  ASSERT_TRUE(closed(page));
  applyAndWait();
  const AppList list = savedList(1);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(lstrcmpiA(list[0].path, program.c_str()), 0) << list[0].path;
}

// The list on a page is what the profile links, after a copy (which keeps the
// target's links), a reset, and in the files and the block after the apply.
TEST_F(OptionProfiles, EachPageShowsWhatItsProfileLinksAfterCopyAndReset) {
  writeAppList(1, 1);
  writeAppList(2, 2);
  startWithEmulatedKeyboard();
  startOption();
  click(mainControl(kFirstSelector + 1));
  HWND page = openProfilePage(2);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(pageLines(page), (std::vector<std::string>{"game0", "game1"}));
  clickOn(page, profilePageIni(2), kCopyBox);
  clickOn(page, profilePageIni(2), kCopyTarget);
  key("Down Return");  // profile 1
  clickOn(page, profilePageIni(2), kOk);
  ASSERT_TRUE(closed(page));

  click(mainControl(kFirstSelector));
  page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(pageLines(page), (std::vector<std::string>{"game0"}));
  clickOn(page, profilePageIni(1), kCancel);
  ASSERT_TRUE(closed(page));
  applyAndWait();
  auto block = readBlock();
  EXPECT_STREQ(block->profiles[0].linkedApps[0], "C:\\Games\\game0.exe");
  EXPECT_STREQ(block->profiles[0].linkedApps[1], "");
  EXPECT_STREQ(block->profiles[1].linkedApps[1], "C:\\Games\\game1.exe");

  // Reset, armed: the button stays down until OK or the click that disarms it.
  click(mainControl(kFirstSelector + 1));
  page = openProfilePage(2);
  ASSERT_NE(page, nullptr);
  const SkinPosition reset = position(profilePageIni(2), "BUTTONPOS", kResetProfile);
  auto resetPixels = [&] {
    return pixelsOf(page, {reset.rect.left, reset.rect.top, reset.rect.right, reset.rect.bottom});
  };
  xdotool("mousemove 0 0");
  Sleep(150);
  const std::vector<uint32_t> unarmed = resetPixels();
  clickOn(page, profilePageIni(2), kResetProfile);
  HWND warn = waitForWindow("Reset");
  ASSERT_NE(warn, nullptr);
  clickOn(warn, "skin_profile2_reset_warn.ini", kWarnOk);
  ASSERT_TRUE(closed(warn));
  xdotool("mousemove 0 0");
  Sleep(150);
  EXPECT_NE(resetPixels(), unarmed);
  const size_t mark = traceSize();
  clickOn(page, profilePageIni(2), kOk);
  ASSERT_TRUE(closed(page));
  ASSERT_EQ(waitForDownloads(mark, 1).size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
  EXPECT_TRUE(savedList(2).empty());
  EXPECT_STREQ(readBlock()->profiles[1].linkedApps[0], "");
  page = openProfilePage(2);
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(pageLines(page).empty());
  clickOn(page, profilePageIni(2), kCancel);
  ASSERT_TRUE(closed(page));
}

// An OK that is never applied (the close question answered with Discard)
// changes neither the list file nor the links: the next start shows the page
// as the profile links it.
TEST_F(OptionProfiles, ACloseWithoutApplyLeavesListAndLinksAsTheyWere) {
  writeAppList(1, 2);
  startWithEmulatedKeyboard();
  startOption();
  HWND page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  clickOn(page, profilePageIni(1), kRemove);
  clickOn(page, profilePageIni(1), kOk);
  ASSERT_TRUE(closed(page));
  closeAnswering(kAnswerDiscard);
  ASSERT_TRUE(waitFor([&] { return !optionRunning(); }, 5000));
  EXPECT_EQ(savedList(1).size(), 2u);
  auto stored = std::make_unique<ProfileRecord>();
  loadProfile(*stored, profilePath(folder_, 0));
  EXPECT_STREQ(stored->linkedApps[1], "C:\\Games\\game1.exe");
  startOption();
  page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(pageLines(page), (std::vector<std::string>{"game0", "game1"}));
}

TEST_F(OptionProfiles, ResetAllAsksFirstThenSendsTheDefaults) {
  writeProfile(0, [](ProfileRecord& p) { p.lightFx = 6; });
  writeAppList(3, 2);
  startWithEmulatedKeyboard();
  startOption();
  click(mainControl(kReset));
  HWND warn = waitForWindow("Reset");
  ASSERT_NE(warn, nullptr);
  clickOn(warn, "skin_reset_warn.ini", kWarnCancel);
  ASSERT_TRUE(closed(warn));
  EXPECT_EQ(readBlock()->profiles[0].lightFx, 6);

  click(mainControl(kReset));
  warn = waitForWindow("Reset");
  ASSERT_NE(warn, nullptr);
  const size_t mark = traceSize();
  clickOn(warn, "skin_reset_warn.ini", kWarnOk);
  ASSERT_EQ(waitForDownloads(mark, 1).size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
  auto defaults = std::make_unique<SettingsImage>();
  buildDefaultImage(*defaults);
  auto block = readBlock();
  EXPECT_EQ(std::memcmp(&block->profiles, &defaults->profiles, sizeof defaults->profiles), 0);
  EXPECT_TRUE(savedList(3).empty());  // the default profiles link nothing
}

}  // namespace
