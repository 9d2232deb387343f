#include "LanguageLibrary_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "Language.h"

namespace {

// The test runs in the program folder, beside lan.dll.
TEST(LanguageLibrary, LoadsTheShippedLibrary) {
  LanguageLibrary lan;
  ASSERT_TRUE(lan.load(".\\"));
  const int ranges[][2] = {{1002, 1004}, {1042, 1047}, {1053, 1066}, {1076, 1084}, {1086, 1092}};
  for (const auto& r : ranges)
    for (int id = r[0]; id <= r[1]; ++id) EXPECT_EQ(lan.text(id), builtinText(id)) << id;
  // A string the library lacks falls back too.
  EXPECT_EQ(lan.text(1085), "");
  lan.unload();
  EXPECT_FALSE(lan.loaded());
}

TEST(LanguageLibrary, MissingLibraryFallsBackToBuiltinText) {
  LanguageLibrary lan;
  EXPECT_FALSE(lan.load("C:\\no such folder\\"));
  EXPECT_EQ(lan.text(IDS_TRAY_TIP), builtinText(IDS_TRAY_TIP));
}

TEST(LanguageLibrary, IsResourceOnly) {
  HMODULE m = LoadLibraryExA(".\\lan.dll", nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(GetProcAddress(m, "DllMain"), nullptr);
  FreeLibrary(m);
}

}  // namespace
