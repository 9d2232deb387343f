#include "UnappliedEdits.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include "ApplyStatus.h"

namespace {

class UnappliedEditsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    buildDefaultImage(*edited_);
    *applied_ = *edited_;
    MacroRecord jump{};
    std::strcpy(jump.name, "Jump");
    lists_.macros.push_back(jump);
    addPath(lists_.profileApps[2], "C:\\Games\\game.exe");
    appliedLists_ = lists_;
  }
  UnappliedEdits now() const { return unappliedEdits(*edited_, *applied_, lists_, appliedLists_); }

  std::unique_ptr<SettingsImage> edited_ = std::make_unique<SettingsImage>();
  std::unique_ptr<SettingsImage> applied_ = std::make_unique<SettingsImage>();
  OptionLists lists_, appliedLists_;
};

TEST_F(UnappliedEditsTest, NothingChangedAsksNothingAndThePreviewSwitchAndFlagsAreNoEdits) {
  EXPECT_FALSE(now().any());
  edited_->profiles[3].previewOn = 1;
  edited_->keyDirty[1][4] = 1;
  edited_->profileSwitched = 1;
  EXPECT_FALSE(now().any());
}

TEST_F(UnappliedEditsTest, EachEditCountsWhereItWasMade) {
  edited_->profiles[4].keys[104].category = kCategoryDisabled;
  UnappliedEdits u = now();
  EXPECT_TRUE(u.any());
  EXPECT_TRUE(u.profiles[4]);
  for (int p = 0; p < 4; ++p) EXPECT_FALSE(u.profiles[p]) << p;
  EXPECT_FALSE(u.activeProfile || u.macroLibraries || u.programLists);

  *edited_ = *applied_;
  edited_->currentProfile = 2;
  EXPECT_TRUE(now().activeProfile);
  edited_->currentProfile = applied_->currentProfile;

  // A renamed or re-recorded macro, a new text macro: the libraries.
  lists_.macros[0].steps[0] = MacroStep::make(4, kActionPress, 10);
  EXPECT_TRUE(now().macroLibraries);
  lists_.macros = appliedLists_.macros;
  lists_.textMacros.emplace_back();
  EXPECT_TRUE(now().macroLibraries);
  EXPECT_FALSE(now().programLists);
  lists_.textMacros.clear();

  // A program linked or offered for launch: the lists.
  removeAt(lists_.profileApps[2], 0);
  EXPECT_TRUE(now().programLists);
  lists_.profileApps[2] = appliedLists_.profileApps[2];
  addPath(lists_.launchApps, "C:\\Tools\\tool.exe");
  EXPECT_TRUE(now().programLists);
  EXPECT_FALSE(now().macroLibraries);
}

bool exists(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return std::ifstream(path).good();
}

// An apply writes what changed since the last one: one changed key, one
// profile file; one changed list, one list file. The first apply of a
// session writes every profile and every list.
TEST(OptionDocumentApply, WritesOnlyTheFilesOfWhatChanged) {
  char pattern[] = "/tmp/quillon-apply-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  OptionDocument doc;
  doc.folder = std::string(pattern) + "/";
  ASSERT_EQ(system(("mkdir -p " + doc.folder + "config").c_str()), 0);
  buildDefaultImage(*doc.edit);
  doc.markApplied();
  auto profileFile = [&](int p) { return profilePath(doc.folder, p); };

  doc.edit->profiles[1].keys[9].category = kCategoryDisabled;
  ASSERT_TRUE(doc.saveChangedLists());
  ASSERT_TRUE(doc.saveChangedProfiles());
  for (int p = 0; p < kProfileCount; ++p) EXPECT_TRUE(exists(profileFile(p))) << p;
  EXPECT_TRUE(exists(doc.folder + kMacroLibraryFile.file)) << "a missing list file is written at the first apply";
  doc.markApplied();
  ASSERT_EQ(system(("rm -f " + doc.folder + "config/* " + doc.folder + "config.ini").c_str()), 0);

  doc.edit->profiles[3].keys[9].category = kCategoryDisabled;
  addPath(doc.lists.launchApps, "C:\\Tools\\tool.exe");
  ASSERT_TRUE(doc.saveChangedLists());
  ASSERT_TRUE(doc.saveChangedProfiles());
  for (int p = 0; p < kProfileCount; ++p) EXPECT_EQ(exists(profileFile(p)), p == 3) << p;
  EXPECT_FALSE(exists(configIniPath(doc.folder)));
  EXPECT_TRUE(exists(doc.folder + kLaunchAppListFile.file));
  EXPECT_FALSE(exists(doc.folder + kMacroLibraryFile.file));
  doc.markApplied();
  EXPECT_FALSE(unappliedEdits(*doc.edit, *doc.exchange, doc.lists, doc.appliedLists).any());
  (void)system(("rm -rf " + doc.folder).c_str());
}

TEST(ApplyStatus, FailuresKeepTheWindowAndEveryOutcomeSaysSomething) {
  for (ApplyOutcome o : {ApplyOutcome::Sent, ApplyOutcome::SavedNotConnected, ApplyOutcome::SavedNoMonitor,
                         ApplyOutcome::NotConfirmed, ApplyOutcome::NotSaved})
    EXPECT_NE(std::strlen(applyStatusText(o)), 0u);
  EXPECT_STREQ(applyStatusText(ApplyOutcome::Sent), "Sent to the keyboard");
  EXPECT_STREQ(applyStatusText(ApplyOutcome::SavedNotConnected), "Saved; the keyboard is not connected");
  EXPECT_FALSE(applyFailed(ApplyOutcome::Sent));
  EXPECT_FALSE(applyFailed(ApplyOutcome::SavedNotConnected));
  EXPECT_FALSE(applyFailed(ApplyOutcome::SavedNoMonitor));
  EXPECT_TRUE(applyFailed(ApplyOutcome::NotConfirmed));
  EXPECT_TRUE(applyFailed(ApplyOutcome::NotSaved));
}

}  // namespace
