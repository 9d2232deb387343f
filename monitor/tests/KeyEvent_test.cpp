#include "KeyEvent.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<SettingsImage> imageWith(int keyIndex, uint8_t functionCode) {
  auto image = std::make_unique<SettingsImage>();
  clearImage(*image);
  image->currentProfile = 2;
  image->profiles[2].keys[keyIndex].functionCode = functionCode;
  return image;
}

}  // namespace

TEST(KeyEvent, DecodesTheEventWord) {
  const KeyEvent e = decodeKeyEvent(0x1234800B, 0xFFFF0542);
  EXPECT_EQ(e.code, 0x800Bu);
  EXPECT_EQ(e.keyNumber, 0x42);
  EXPECT_EQ(e.extra, 0x05);
}

TEST(KeyEvent, LaunchKeyStartsOnPressWithoutExtraByte) {
  auto image = imageWith(7, kFunctionLaunch);
  const KeyAction a = keyActionFor(decodeKeyEvent(10, 8), *image);
  EXPECT_EQ(a.kind, KeyActionKind::Launch);
  EXPECT_EQ(a.keyIndex, 7);
  EXPECT_EQ(keyActionFor(decodeKeyEvent(10, 0x0108), *image).kind, KeyActionKind::None);
}

TEST(KeyEvent, TextMacroKeyReportsPressAndRelease) {
  auto image = imageWith(0, kFunctionTextMacro);
  KeyAction down = keyActionFor(decodeKeyEvent(11, 1), *image);
  KeyAction up = keyActionFor(decodeKeyEvent(0x800B, 1), *image);
  EXPECT_EQ(down.kind, KeyActionKind::TextMacro);
  EXPECT_FALSE(down.released);
  EXPECT_EQ(up.kind, KeyActionKind::TextMacro);
  EXPECT_TRUE(up.released);
}

TEST(KeyEvent, LaunchKeyIgnoresRelease) {
  auto image = imageWith(3, kFunctionLaunch);
  EXPECT_EQ(keyActionFor(decodeKeyEvent(0x800B, 4), *image).kind, KeyActionKind::None);
}

TEST(KeyEvent, OutOfRangeKeysProfilesAndCodesAreIgnored) {
  auto image = imageWith(104, kFunctionLaunch);
  EXPECT_EQ(keyActionFor(decodeKeyEvent(10, 105), *image).kind, KeyActionKind::Launch);
  EXPECT_EQ(keyActionFor(decodeKeyEvent(10, 0), *image).kind, KeyActionKind::None);
  EXPECT_EQ(keyActionFor(decodeKeyEvent(10, 106), *image).kind, KeyActionKind::None);
  EXPECT_EQ(keyActionFor(decodeKeyEvent(12, 105), *image).kind, KeyActionKind::None);
  image->currentProfile = 5;
  EXPECT_EQ(keyActionFor(decodeKeyEvent(10, 105), *image).kind, KeyActionKind::None);
  image->currentProfile = -1;
  EXPECT_EQ(keyActionFor(decodeKeyEvent(10, 105), *image).kind, KeyActionKind::None);
}

TEST(KeyEvent, OtherFunctionCodesDoNothing) {
  auto image = imageWith(5, kFunctionRecordedMacro);
  EXPECT_EQ(keyActionFor(decodeKeyEvent(10, 6), *image).kind, KeyActionKind::None);
  for (int code = 0; code < 256; ++code) {
    if (code == kFunctionLaunch || code == kFunctionTextMacro) continue;
    image->profiles[2].keys[5].functionCode = uint8_t(code);
    EXPECT_EQ(keyActionFor(decodeKeyEvent(11, 6), *image).kind, KeyActionKind::None) << code;
  }
}
