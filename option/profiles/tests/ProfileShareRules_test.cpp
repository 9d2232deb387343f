#include "ProfileShareRules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "ChangeFlags.h"
#include "ProfileCommandLine.h"
#include "ProfilePageRules.h"

namespace {

std::unique_ptr<SettingsImage> defaultImage() {
  auto image = std::make_unique<SettingsImage>();
  std::memset(image.get(), 0, sizeof *image);
  buildDefaultImage(*image);
  return image;
}

}  // namespace

TEST(ProfileShareRules, TheBlockGetsTheProfileAndKeepsWhatIsPendingInIt) {
  auto block = defaultImage();
  block->currentProfile = 2;  // the monitor switched meanwhile
  block->keyDirty[0][3] = 1;  // an apply it has not taken yet
  block->effectDirty[4] = 1;
  block->profiles[0].keys[3].category = kCategoryDisabled;
  auto imported = std::make_unique<ProfileRecord>(block->profiles[1]);
  imported->keys[5].functionCode = kFunctionDisabled;
  imported->lightFx = 3;
  std::strcpy(imported->profileName, "Shared");

  auto expected = std::make_unique<SettingsImage>(*block);
  expected->profiles[1] = *imported;
  expected->keyDirty[1][5] = 1;
  expected->effectDirty[1] = 1;
  expected->effectColorDirty[1] = 1;
  replaceProfileInBlock(*block, 1, *imported);
  EXPECT_EQ(std::memcmp(block.get(), expected.get(), sizeof *block), 0);
  EXPECT_EQ(block->currentProfile, 2);
  EXPECT_EQ(block->profileSwitched, 0);
}

TEST(ProfileShareRules, AnImportReplacesTheEditedProfileAndJoinsTheLibrariesForTheNextApply) {
  char pattern[] = "/tmp/quillon-share-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string folder = std::string(pattern) + "/";
  ASSERT_EQ(std::system(("mkdir -p " + folder + "config").c_str()), 0);

  auto source = defaultImage();
  KeyAssignment& key = source->profiles[0].keys[8];
  key.category = kCategoryMacro;
  key.functionCode = kFunctionRecordedMacro;
  std::strcpy(key.macroName, "Dash");
  key.stepCount = 1;
  key.steps[0] = MacroStep::make(4, kActionPress, 10);
  std::strcpy(source->profiles[0].profileName, "Runner");
  SharedProfile shared;
  ASSERT_EQ(readProfileFile(writeProfileFile(source->profiles[0], {}, "1.02", latin1Codec()), shared,
                            latin1Codec()),
            "");

  OptionDocument doc;
  doc.folder = folder;
  std::memcpy(doc.edit.get(), defaultImage().get(), sizeof(SettingsImage));
  std::strcpy(doc.edit->profiles[3].linkedApps[0], "C:\\Games\\mine.exe");
  ImportSummary summary;
  ASSERT_TRUE(importIntoDocument(doc, 3, shared, summary));
  EXPECT_STREQ(doc.edit->profiles[3].profileName, "Runner");
  EXPECT_STREQ(doc.edit->profiles[3].keys[8].macroName, "Dash");
  EXPECT_STREQ(doc.edit->profiles[3].linkedApps[0], "C:\\Games\\mine.exe");
  ASSERT_EQ(doc.lists.macros.size(), 1u);
  EXPECT_STREQ(doc.lists.macros[0].name, "Dash");
  // The library file changes with the keys that play it, at the next apply.
  MacroLibrary saved;
  loadList(saved, folder, kMacroLibraryFile);
  EXPECT_TRUE(saved.empty());
  EXPECT_EQ(importReport(doc.edit->profiles[3], summary),
            "Imported \"Runner\": 1 macro added; 1 key plays a macro.");
  EXPECT_EQ(importReport(doc.edit->profiles[3], ImportSummary{}), "Imported \"Runner\".");
  EXPECT_FALSE(importIntoDocument(doc, 5, shared, summary));
  (void)std::system(("rm -rf " + folder).c_str());
}

TEST(ProfileShareRules, AnImportOnThePageIsShownAndPreviewedUnlessAResetFollows) {
  auto image = defaultImage();
  AppList lists[kProfileCount];
  ProfilePageState state = ProfilePageState::opened(2);
  state.imported = true;
  ProfilePageOutcome outcome = applyProfilePage(*image, lists, state, {});
  EXPECT_TRUE(outcome.refresh);
  EXPECT_TRUE(outcome.edited);
  EXPECT_FALSE(outcome.applyAfterReset);
  state.resetArmed = true;
  outcome = applyProfilePage(*image, lists, state, {});
  EXPECT_TRUE(outcome.applyAfterReset);
  EXPECT_FALSE(outcome.edited);
}

TEST(ProfileShareRules, FileNamesComeFromTheProfileName) {
  auto profile = std::make_unique<ProfileRecord>();
  std::memset(profile.get(), 0, sizeof *profile);
  std::strcpy(profile->profileName, "  Shoot: \"er\"? 2/3. ");
  EXPECT_EQ(profileFileName(*profile), "Shoot_ _er__ 2_3.vqprofile");
  std::strcpy(profile->profileName, " ..");
  EXPECT_EQ(profileFileName(*profile), "Profile.vqprofile");
  std::strcpy(profile->profileName, "con");
  EXPECT_EQ(profileFileName(*profile), "_con.vqprofile");
  std::strcpy(profile->profileName, "LPT1.old");
  EXPECT_EQ(profileFileName(*profile), "_LPT1.old.vqprofile");
  std::strcpy(profile->profileName, "Console");
  EXPECT_EQ(profileFileName(*profile), "Console.vqprofile");
  std::memset(profile->profileName, 'a', 240);
  EXPECT_EQ(profileFileName(*profile), std::string(kMaxProfileFileStem, 'a') + ".vqprofile");
}

TEST(ProfileShareRules, ARefusalSaysInPlainWordsThatTheFileIsNoProfileAndNothingChanged) {
  EXPECT_EQ(refusalText("The profile file is damaged or cut short: its end is missing."),
            "This file is not a Varnel Quillon profile: the profile file is damaged or cut short: its end is "
            "missing.\nNothing was changed.");
  EXPECT_EQ(
      refusalText("The file is not a Varnel Quillon profile: its [VarnelQuillonProfile] Format is missing."),
      "This file is not a Varnel Quillon profile: its [VarnelQuillonProfile] Format is missing.\nNothing was "
      "changed.");
}

TEST(ProfileShareRules, TheReportSaysWhatCameInAndWhatWasLeftOut) {
  auto profile = std::make_unique<ProfileRecord>();
  std::memset(profile.get(), 0, sizeof *profile);
  std::strcpy(profile->profileName, "Shooter");
  ImportSummary s;
  s.macrosAdded = 2;
  s.macrosRenamed = 1;
  s.textMacrosShared = 1;
  s.macroKeys = 3;
  s.textMacroKeys = 1;
  s.launchKeysDropped = 2;
  EXPECT_EQ(importPreview(*profile, s),
            "\"Shooter\" replaces this profile at OK: 2 macros added, 1 macro renamed; 1 text macro already "
            "there; 3 keys play macros, 1 key types text; 2 program keys left out (default keys now).");
  s = ImportSummary{};
  s.unknownKeysDropped = 1;
  EXPECT_EQ(importReport(*profile, s), "Imported \"Shooter\": 1 key of an unknown kind left out.");
}

TEST(ProfileCommandLine, ExportAndImportTakeANumberAndAFile) {
  ProfileCommand c = parseProfileCommand({"--export-profile", "2", "C:\\x y.vqprofile"});
  EXPECT_EQ(c.kind, ProfileCommand::Export);
  EXPECT_EQ(c.profile, 1);
  EXPECT_EQ(c.file, "C:\\x y.vqprofile");
  c = parseProfileCommand({"--import-profile", "5", "shared.vqprofile"});
  EXPECT_EQ(c.kind, ProfileCommand::Import);
  EXPECT_EQ(c.profile, 4);
  for (const auto& args : std::vector<std::vector<std::string>>{{"--import-profile", "6", "f"},
                                                                {"--import-profile", "0", "f"},
                                                                {"--export-profile", "one", "f"}}) {
    c = parseProfileCommand(args);
    EXPECT_EQ(c.kind, ProfileCommand::Invalid);
    EXPECT_NE(c.error.find("1 to 5"), std::string::npos) << c.error;
  }
  EXPECT_EQ(parseProfileCommand({"--import-profile", "2"}).kind, ProfileCommand::Invalid);
  EXPECT_EQ(parseProfileCommand({"--export-profile", "2", "f", "g"}).kind, ProfileCommand::Invalid);
  EXPECT_EQ(parseProfileCommand({"--export-profile", "2", ""}).kind, ProfileCommand::Invalid);
  EXPECT_EQ(parseProfileCommand({"--frobnicate"}).kind, ProfileCommand::Invalid);
  // The window ignores other arguments, as it always did.
  EXPECT_EQ(parseProfileCommand({}).kind, ProfileCommand::Window);
  EXPECT_EQ(parseProfileCommand({"whatever"}).kind, ProfileCommand::Window);
  for (const char* help : {"--help", "-h", "/?"})
    EXPECT_EQ(parseProfileCommand({help}).kind, ProfileCommand::Help);
  const std::string usage = kOptionUsage;
  for (const char* option : {"--export-profile N FILE", "--import-profile N FILE", "--help"})
    EXPECT_NE(usage.find(option), std::string::npos) << option;
}
