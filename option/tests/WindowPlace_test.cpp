#include "WindowPlace.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "IniFile.h"

namespace {
std::string tempIni(const char* name) {
  std::string path = testing::TempDir() + name;
  std::remove(path.c_str());
  return path;
}
}  // namespace

TEST(WindowPlace, KeptBesideTheOtherKeysOfConfigIni) {
  const std::string path = tempIni("window_place_config.ini");
  { std::ofstream(path) << "[Setting]\r\nCurrentProfile=2\r\n"; }
  EXPECT_EQ(ReadWindowPlace(path), std::nullopt);
  ASSERT_TRUE(WriteWindowPlace(path, {-1200, 40, -140, 660}));
  EXPECT_EQ(ReadWindowPlace(path), (SkinRect{-1200, 40, -140, 660}));
  EXPECT_EQ(IniFile(path).readInt("Setting", "CurrentProfile", 0), 2);
  ASSERT_TRUE(WriteWindowPlace(path, {10, 20, 1070, 640}));
  EXPECT_EQ(ReadWindowPlace(path), (SkinRect{10, 20, 1070, 640}));
}

TEST(WindowPlace, AnEditedOrDamagedPlaceIsNoPlace) {
  const std::string path = tempIni("window_place_bad.ini");
  for (const char* value : {"10,20", "10,20,5,640", "1e9,0,1,1", "x"}) {
    std::ofstream(path, std::ios::trunc) << "[OptionWindow]\r\nPlace=" << value << "\r\n";
    EXPECT_EQ(ReadWindowPlace(path), std::nullopt) << value;
  }
}
