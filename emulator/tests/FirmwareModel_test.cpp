#include "FirmwareModel.h"

#include <gtest/gtest.h>

#include "DownloadEncoder.h"
#include "KeyboardProtocol.h"

namespace {

using kbd::Block;
using kbd::Command;

void send(emu::FirmwareModel& fw, const Command& c) { fw.setFeature(c.data(), c.size()); }
void send(emu::FirmwareModel& fw, const Block& b) { fw.writeBlock(b.data(), b.size()); }

Command tableCommand() { return kbd::makeFeatureCommand(kbd::kCmdKeySlotTable, {0, 0, 8, 0, 0, 0}); }

// Sends a key table in which every slot is `fill` except `slot`, which is `value`.
void sendTable(emu::FirmwareModel& fw, int slot, kbd::Slot value) {
  send(fw, tableCommand());
  std::array<uint8_t, kbd::kSlotTableBytes> bytes{};
  for (int i = 0; i < 4; ++i) bytes[slot * 4 + i] = value[i];
  for (int b = 0; b < 8; ++b) {
    Block block;
    std::copy_n(bytes.begin() + b * 64, 64, block.begin());
    send(fw, block);
  }
}

TEST(FirmwareModel, CountsEveryBadChecksum) {
  emu::FirmwareModel fw;
  Command c = kbd::makeFeatureCommand(kbd::kCmdEffect, {1, 1, 5, 0, 7, 0});
  send(fw, c);
  EXPECT_EQ(fw.violations(), 0);
  c[7] ^= 1;
  send(fw, c);
  send(fw, c);
  EXPECT_EQ(fw.violations(), 2);
}

TEST(FirmwareModel, CommandInsideABlockSequenceIsAViolation) {
  emu::FirmwareModel fw;
  send(fw, kbd::makeFeatureCommand(kbd::kCmdMacro, {0, 4, 3, 0, 0, 0}));
  send(fw, Block{});
  send(fw, kbd::makeFeatureCommand(kbd::kCmdEffectColor, {0, 6, 1, 2, 3, 0}));
  EXPECT_EQ(fw.violations(), 1);
  send(fw, Block{});  // nothing announced it
  EXPECT_EQ(fw.violations(), 2);
  EXPECT_TRUE(fw.macros().empty());
}

TEST(FirmwareModel, StoresMacroByNumberAndTheLockBlock) {
  emu::FirmwareModel fw;
  send(fw, kbd::makeFeatureCommand(kbd::kCmdMacro, {0, 7, 3, 0, 0, 0}));
  Block b{};
  b[0] = 0x42;
  for (int i = 0; i < 3; ++i) send(fw, b);
  ASSERT_EQ(fw.macros().count(7), 1u);
  EXPECT_EQ(fw.macros().at(7).size(), 192u);
  EXPECT_EQ(fw.macros().at(7)[128], 0x42);
  send(fw, kbd::makeFeatureCommand(kbd::kCmdWinLock, {0, 0, 0x15, 0, 0, 0}));
  b[1] = 0x3F;
  send(fw, b);
  ASSERT_TRUE(fw.winLock());
  EXPECT_EQ((*fw.winLock())[1], 0x3F);
  EXPECT_EQ(fw.violations(), 0);
}

TEST(FirmwareModel, StoresColoursEffectsAndKeyTable) {
  emu::FirmwareModel fw;
  send(fw, kbd::makeFeatureCommand(kbd::kCmdKeyColors, {0, 0, 8, 0, 0, 0}));
  Block b{};
  b[5] = 0xAA;
  for (int i = 0; i < 8; ++i) send(fw, b);
  EXPECT_EQ(fw.keyColors()[5], 0xAA);
  EXPECT_EQ(fw.keyColors()[64 * 7 + 5], 0xAA);
  const Command plain = kbd::makeFeatureCommand(kbd::kCmdEffect, {1, 3, 4, 0, 8, 1});
  const Command bright = kbd::makeFeatureCommand(kbd::kCmdEffect, {2, 3, 4, 20, 8, 1});
  const Command colour = kbd::makeFeatureCommand(kbd::kCmdEffectColor, {0, 6, 9, 8, 7, 0});
  send(fw, plain);
  send(fw, bright);
  send(fw, colour);
  EXPECT_EQ(fw.effect(1), plain);
  EXPECT_EQ(fw.effect(2), bright);
  EXPECT_EQ(fw.effectColor(), colour);
  sendTable(fw, 9, {10, 0, 10, 31});
  EXPECT_EQ(fw.keyTable()[9], (kbd::Slot{10, 0, 10, 31}));
  EXPECT_EQ(fw.violations(), 0);
  const std::string json = fw.stateJson();
  EXPECT_NE(json.find("\"violations\":0"), std::string::npos);
  EXPECT_NE(json.find("\"0A000A1F\""), std::string::npos);
}

TEST(FirmwareModel, AnswersTheVersionQuery) {
  emu::FirmwareModel fw;
  Command q = kbd::makeVersionCommand();
  send(fw, q);
  fw.getFeature(q.data(), q.size());
  EXPECT_EQ(q[1], 1);
  EXPECT_EQ(q[2], 3);
  fw.setVersion(2, 7);
  q = kbd::makeVersionCommand();
  send(fw, q);
  fw.getFeature(q.data(), q.size());
  EXPECT_EQ(kbd::parseFirmwareVersion(q), (kbd::FirmwareVersion{2, 7}));
}

TEST(FirmwareModel, ReportingSlotsBecomeHostEvents) {
  emu::FirmwareModel fw;
  const int textKey = 30, launchKey = 31;
  send(fw, tableCommand());
  std::array<uint8_t, kbd::kSlotTableBytes> bytes{};
  const kbd::Slot text{10, 0, 11, textKey + 1}, launch{10, 0, 10, launchKey + 1};
  std::copy(text.begin(), text.end(), bytes.begin() + kbd::keySlotOf[textKey] * 4);
  std::copy(launch.begin(), launch.end(), bytes.begin() + kbd::keySlotOf[launchKey] * 4);
  bytes[kbd::keySlotOf[0] * 4 + 2] = 41;  // Escape: a plain usage
  bytes[kbd::keySlotOf[1] * 4] = 3;       // a consumer usage 0x00E9
  bytes[kbd::keySlotOf[1] * 4 + 2] = 0xE9;
  bytes[kbd::keySlotOf[2] * 4] = 4;  // macro 5
  bytes[kbd::keySlotOf[2] * 4 + 2] = 5;
  for (int b = 0; b < 8; ++b) {
    Block block;
    std::copy_n(bytes.begin() + b * 64, 64, block.begin());
    send(fw, block);
  }
  EXPECT_EQ(fw.keyChange(textKey, false), (emu::HostEvent{11, textKey + 1}));
  EXPECT_EQ(fw.keyChange(textKey, true), (emu::HostEvent{0x800B, textKey + 1}));
  EXPECT_EQ(fw.keyChange(launchKey, false), (emu::HostEvent{10, launchKey + 1}));
  EXPECT_EQ(fw.keyChange(launchKey, true), std::nullopt);
  EXPECT_EQ(fw.keyChange(0, false), std::nullopt);
  EXPECT_EQ(fw.keyChange(1, false), std::nullopt);
  EXPECT_EQ(fw.keyChange(2, true), std::nullopt);
  ASSERT_EQ(fw.outputs().size(), 3u);
  EXPECT_EQ(fw.outputs()[0].what, "usage");
  EXPECT_EQ(fw.outputs()[0].value, 41);
  EXPECT_EQ(fw.outputs()[1].what, "consumer");
  EXPECT_EQ(fw.outputs()[1].value, 0xE9);
  EXPECT_EQ(fw.outputs()[2].what, "macro");
  EXPECT_EQ(fw.outputs()[2].value, 5);
  EXPECT_TRUE(fw.outputs()[2].released);
}

}  // namespace
