#include "KeyboardLayout_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "KeyCodes.h"

namespace {

// Runs under Wine with its default US layout.
class SystemLayout : public ::testing::Test {
 protected:
  void SetUp() override { ActivateKeyboardLayout(LoadKeyboardLayoutA("00000409", KLF_ACTIVATE), 0); }
  const KeyboardLayout& layout = systemKeyboardLayout();
};

TEST_F(SystemLayout, Names) {
  EXPECT_EQ(keyName(4, layout), "A");
  EXPECT_EQ(keyName(48, layout), "\\");
  EXPECT_EQ(keyName(100, layout), "\\");
  EXPECT_EQ(keyName(243, layout), "Button 5");
  EXPECT_EQ(keyName(29, layout), "Z");
  EXPECT_EQ(keyName(39, layout), "0");
  EXPECT_EQ(keyName(54, layout), ",");
  EXPECT_EQ(keyName(43, layout), "Tab");
}

TEST_F(SystemLayout, Conversions) {
  EXPECT_EQ(usageFromVirtualKey(0x0D, layout).value, 40u);
  EXPECT_EQ(usageFromVirtualKey(0xA2, layout).value, 224u);
  EXPECT_FALSE(usageFromVirtualKey(0x07, layout).found);
  EXPECT_EQ(usageFromVirtualKey('Q', layout).value, 20u);
  EXPECT_EQ(virtualKeyFromUsage(224, layout).value, 0xA2u);
  EXPECT_EQ(virtualKeyFromUsage(112, layout).value, 0xA6u);
  EXPECT_EQ(virtualKeyFromUsage(4, layout).value, 0x41u);
  // The left/right variant comes from the scan code.
  EXPECT_EQ(virtualKeyFromUsage(57, layout).value, uint32_t(VK_CAPITAL));
}

TEST_F(SystemLayout, EveryLetterAndDigitRoundTrips) {
  for (uint32_t usage = 4; usage <= 39; ++usage) {
    const KeyLookup vk = virtualKeyFromUsage(usage, layout);
    ASSERT_TRUE(vk.found);
    EXPECT_EQ(usageFromVirtualKey(vk.value, layout).value, usage);
  }
}

}  // namespace
