#include "DeleteQuestion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

TEST(DeleteQuestion, NamesTheMacroAndCountsTheKeysOfEveryProfileThatPlayIt) {
  auto image = std::make_unique<SettingsImage>();
  buildDefaultImage(*image);
  auto bind = [&](int profile, int key, uint8_t function, const char* name) {
    KeyAssignment& k = image->profiles[profile].keys[key];
    k.category = kCategoryMacro;
    k.functionCode = function;
    std::strcpy(function == kFunctionTextMacro ? k.textMacroName : k.macroName, name);
  };
  bind(0, 3, kFunctionRecordedMacro, "Reload");
  bind(4, 9, kFunctionRecordedMacro, "reload ");  // the library's comparison
  bind(2, 9, kFunctionTextMacro, "Reload");       // a text macro of that name is another thing
  EXPECT_EQ(keysPlaying(*image, "Reload", false), 2);
  EXPECT_EQ(keysPlaying(*image, "Reload", true), 1);
  EXPECT_EQ(keysPlaying(*image, "Jump", false), 0);
  EXPECT_EQ(deleteQuestion("Jump", 0), "Delete \"Jump\"?\nNo key plays it.");
  EXPECT_EQ(deleteQuestion("Reload", 1),
            "Delete \"Reload\"?\nOne key plays it; with OK it\nbecomes a standard key.");
  EXPECT_EQ(deleteQuestion("Reload", 2),
            "Delete \"Reload\"?\n2 keys play it; with OK they\nbecome standard keys.");
}
