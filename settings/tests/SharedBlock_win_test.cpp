#include "SharedBlock_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "PlatformIniStore_win.h"

namespace {

constexpr int kCopyRounds = 1500;
constexpr uint32_t kStamp = 0x51A7E000;

std::unique_ptr<SettingsImage> newImage() {
  auto image = std::make_unique<SettingsImage>();
  std::memset(image.get(), 0, sizeof *image);
  return image;
}

void stampAll(SettingsImage& image, uint32_t value) {
  auto* words = reinterpret_cast<uint32_t*>(&image);
  for (size_t i = 0; i < sizeof image / 4; ++i) words[i] = value;
}

// True when every word holds the same value, i.e. the copy was not torn.
bool whole(const SettingsImage& image) {
  const auto* words = reinterpret_cast<const uint32_t*>(&image);
  for (size_t i = 1; i < sizeof image / 4; ++i)
    if (words[i] != words[0]) return false;
  return true;
}

// Copies in and out, stamping each image with this side's id and the round.
void hammer(SharedBlock& block, uint32_t side) {
  auto out = newImage();
  auto in = newImage();
  for (int i = 0; i < kCopyRounds; ++i) {
    stampAll(*out, side | uint32_t(i));
    ASSERT_TRUE(block.copyToBlock(*out));
    ASSERT_TRUE(block.copyFromBlock(*in));
    ASSERT_TRUE(whole(*in)) << "torn copy in round " << i;
  }
}

}  // namespace

TEST(SharedBlock, OpeningWithoutTheMonitorFailsSilently) {
  SharedBlock block;
  EXPECT_FALSE(block.open());
  auto image = newImage();
  EXPECT_FALSE(block.copyFromBlock(*image));
  EXPECT_FALSE(block.copyToBlock(*image));
}

TEST(SharedBlock, ASecondProcessSeesTheSizeAndTheFields) {
  SharedBlock block;
  ASSERT_TRUE(block.create());
  auto image = newImage();
  image->currentProfile = 3;
  image->rightWin = 1;
  image->profiles[4].keys[104].macroListIndex = 77;
  image->profiles[2].previewOn = 5;
  image->keyDirty[4][104] = 1;
  image->reserved5 = int32_t(kStamp);
  ASSERT_TRUE(block.copyToBlock(*image));
  EXPECT_EQ(waitChild(startChildTest("SharedBlockChild.DISABLED_ChecksFields")), 0u);
  // The child wrote its answer back into the block.
  ASSERT_TRUE(block.copyFromBlock(*image));
  EXPECT_EQ(image->profiles[0].fnStatus, 4242);
}

TEST(SharedBlockChild, DISABLED_ChecksFields) {
  SharedBlock block;
  ASSERT_TRUE(block.open());
  auto image = newImage();
  ASSERT_TRUE(block.copyFromBlock(*image));
  EXPECT_EQ(image->currentProfile, 3);
  EXPECT_EQ(image->profiles[4].keys[104].macroListIndex, 77);
  EXPECT_EQ(image->profiles[2].previewOn, 5);
  EXPECT_EQ(image->keyDirty[4][104], 1);
  EXPECT_EQ(image->reserved5, int32_t(kStamp));
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName);
  ASSERT_NE(mapping, nullptr);
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  ASSERT_NE(view, nullptr);
  MEMORY_BASIC_INFORMATION info{};
  VirtualQuery(view, &info, sizeof info);
  EXPECT_GE(info.RegionSize, kSharedBlockSize);
  EXPECT_LT(info.RegionSize, kSharedBlockSize + 4096);
  UnmapViewOfFile(view);
  CloseHandle(mapping);
  image->profiles[0].fnStatus = 4242;
  ASSERT_TRUE(block.copyToBlock(*image));
}

TEST(SharedBlock, CopiesInOppositeDirectionsAtOnceAreWhole) {
  SharedBlock block;
  ASSERT_TRUE(block.create());
  HANDLE child = startChildTest("SharedBlockChild.DISABLED_Hammers");
  ASSERT_NE(child, nullptr);
  hammer(block, 0x10000000);
  EXPECT_EQ(waitChild(child), 0u);
}

TEST(SharedBlockChild, DISABLED_Hammers) {
  SharedBlock block;
  ASSERT_TRUE(block.open());
  hammer(block, 0x20000000);
}

TEST(SharedBlock, AMonitorRestartedWhileTheOptionSideHoldsTheObjectsServesThem) {
  auto first = std::make_unique<SharedBlock>();
  ASSERT_TRUE(first->create());
  SharedBlock optionSide;
  ASSERT_TRUE(optionSide.open());
  first.reset();  // the monitor went away; the objects live on
  SharedBlock restarted;
  ASSERT_TRUE(restarted.create());
  auto image = newImage();
  image->currentProfile = 2;
  ASSERT_TRUE(restarted.copyToBlock(*image));
  auto seen = newImage();
  ASSERT_TRUE(optionSide.copyFromBlock(*seen));
  EXPECT_EQ(seen->currentProfile, 2);
}
