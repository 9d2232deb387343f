// Opens every skinned window of the skin set in dist\skins and checks its
// capture; without a skin set, a small skin of its own in a temp folder.
#include <gtest/gtest.h>

#include "GallerySkins.h"
#include "SkinHelp_win.h"
#include "TestSkin_win.h"

namespace {
bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
// The test runs in the program folder, which is not where the test exe lives.
std::string skinsOfWorkingFolder() {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  return std::string(folder) + "\\skins\\";
}
std::string describe(const GalleryCheck& c) {
  return c.problem + " opened=" + std::to_string(c.opened) + " notBlank=" + std::to_string(c.notBlank) +
         " notBlack=" + std::to_string(c.notBlack) + " region=" + std::to_string(c.regionApplied) +
         " placed=" + std::to_string(c.controlsPlaced);
}
}  // namespace

TEST(Gallery, EverySkinOfTheSetRenders) {
  LoadSkinFonts();
  int checked = 0;
  for (const std::string& ini : GalleryIniFiles()) {
    SkinSource source = GallerySource(skinsOfWorkingFolder(), ini, 0);
    if (!exists(source.pageFolder + source.iniFile)) continue;
    std::string name = ini;
    for (char& c : name)
      if (c == '\\') c = '_';
    GalleryCheck check = CheckGalleryWindow(source, MakeTempFolder("gallery") + name + ".bmp");
    EXPECT_TRUE(check.ok()) << ini << ": " << describe(check);
    ++checked;
  }
  if (checked == 0) {
    TestSkin skin("gallery-own", {"BUTTON_EXIT,170,12,22,22,", "BUTTON_OK,20,80,70,30,"});
    GalleryCheck check = CheckGalleryWindow(GallerySource(skin.folder, skin.ini, 0));
    EXPECT_TRUE(check.ok()) << describe(check);
    EXPECT_EQ(check.controls, 2);
  }
}
