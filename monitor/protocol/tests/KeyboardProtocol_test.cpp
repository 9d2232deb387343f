#include "KeyboardProtocol.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace kbd;

TEST(FeatureCommand, ChecksumMakesAllBytesAddUpTo0xFF) {
  const Command c = makeFeatureCommand(kCmdMacro, {0, 34, 3, 0, 0, 0});
  EXPECT_EQ(c[0], 0x11);
  EXPECT_EQ(c[2], 34);
  EXPECT_EQ(c[3], 3);
  EXPECT_EQ(c[7], uint8_t(0xFF - 0x11 - 34 - 3));
  EXPECT_EQ(uint8_t(std::accumulate(c.begin(), c.end(), 0)), 0xFF);
  EXPECT_TRUE(checksumOk(c));
}

TEST(FeatureCommand, ChecksumWrapsModulo256) {
  const Command c = makeFeatureCommand(0xFF, {0xFF, 0xFF, 0, 0, 0, 0});
  EXPECT_EQ(c[7], uint8_t(0xFF - 3 * 0xFF));
  EXPECT_TRUE(checksumOk(c));
  Command broken = c;
  broken[3] ^= 1;
  EXPECT_FALSE(checksumOk(broken));
}

TEST(FirmwareVersion, RequestAndAnswer) {
  const Command request = makeVersionCommand();
  EXPECT_EQ(request, (Command{0x80, 0, 0, 0, 0, 0, 0, 0x7F}));
  const Command answer{0x80, 1, 3, 0, 0, 0, 0, 0};
  EXPECT_EQ(parseFirmwareVersion(answer), kExpectedFirmware);
  EXPECT_NE(parseFirmwareVersion(Command{0x80, 1, 2}), kExpectedFirmware);
  EXPECT_NE(parseFirmwareVersion(Command{0x80, 1, 4}), kExpectedFirmware);
  EXPECT_NE(parseFirmwareVersion(Command{0x80, 3, 1}), kExpectedFirmware);
  EXPECT_EQ(firmwareNumber(kExpectedFirmware), 103);
  EXPECT_EQ(firmwareNumber(parseFirmwareVersion(Command{0x80, 2, 10})), 210);
}
