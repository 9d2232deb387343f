#include "KeyCodes.h"

#include <gtest/gtest.h>

#include "FakeKeyboardLayout.h"
#include "SettingsImage.h"

namespace {

TEST(KeyCodeTable, EveryDefaultUsageHasARow) {
  for (uint8_t usage : defaultUsageOf) {
    bool found = false;
    for (const KeyCodeRow& r : keyCodeTable) found |= r.usage == usage;
    EXPECT_TRUE(found) << int(usage);
  }
}

TEST(KeyCodes, UsageFromVirtualKey) {
  const FakeUsLayout us;
  EXPECT_EQ(usageFromVirtualKey(0x0D, us).value, 40u);
  EXPECT_EQ(usageFromVirtualKey(0xA2, us).value, 224u);
  EXPECT_EQ(usageFromVirtualKey(0x41, us).value, 4u);
  const KeyLookup unknown = usageFromVirtualKey(0x07, us);
  EXPECT_FALSE(unknown.found);
  EXPECT_EQ(unknown.value, 0u);
  // 0xDD occurs twice; the first row (usage 48) wins.
  EXPECT_EQ(usageFromVirtualKey(0xDD, us).value, 48u);
  // Scan 0x2B occurs twice; the first row (usage 49) wins.
  EXPECT_EQ(usageFromVirtualKey(0xDC, us).value, 49u);
}

TEST(KeyCodes, UsageFollowsThePhysicalKey) {
  // On a German layout the key labelled Z sits where US has Y.
  const FakeGermanLayout de;
  EXPECT_EQ(usageFromVirtualKey('Z', de).value, 28u);  // usage of the Y position
  EXPECT_EQ(usageFromVirtualKey('Y', de).value, 29u);
  // Outside 4..69 the table alone decides.
  EXPECT_EQ(usageFromVirtualKey(0x24, de).value, 74u);
}

TEST(KeyCodes, VirtualKeyFromUsage) {
  const FakeUsLayout us;
  EXPECT_EQ(virtualKeyFromUsage(224, us).value, 0xA2u);
  EXPECT_EQ(virtualKeyFromUsage(112, us).value, 0xA6u);
  EXPECT_EQ(virtualKeyFromUsage(4, us).value, 0x41u);
  EXPECT_EQ(virtualKeyFromUsage(240, us).value, 0xF0u);
  EXPECT_FALSE(virtualKeyFromUsage(0, us).found);
  EXPECT_FALSE(virtualKeyFromUsage(250, us).found);
  const FakeGermanLayout de;
  EXPECT_EQ(virtualKeyFromUsage(28, de).value, uint32_t('Z'));
}

TEST(KeyCodes, KeyNames) {
  const FakeUsLayout us;
  EXPECT_EQ(keyName(4, us), "A");
  EXPECT_EQ(keyName(48, us), "\\");  // virtual key 0xDD is named by the table
  EXPECT_EQ(keyName(100, us), "\\");
  EXPECT_EQ(keyName(243, us), "Button 5");
  EXPECT_EQ(keyName(240, us), "L Button");
  EXPECT_EQ(keyName(30, us), "1");
  EXPECT_EQ(keyName(40, us), "L_Enter");
  EXPECT_EQ(keyName(44, us), "Space");
  EXPECT_EQ(keyName(54, us), ",");
  EXPECT_EQ(keyName(58, us), "F1");
  EXPECT_EQ(keyName(224, us), "L_Ctrl");
  EXPECT_EQ(keyName(130, us), "Sleep");
  EXPECT_EQ(keyName(200, us), "");
  EXPECT_EQ(keyName(232, us), "");  // named by virtual key, but has no row
}

TEST(KeyCodes, VirtualKeyNames) {
  const FakeUsLayout us;
  EXPECT_EQ(virtualKeyName(0x5B, us), "Left Windows Button");
  EXPECT_EQ(virtualKeyName(0xF5, us), "Full/HalfWidth");
  EXPECT_EQ(virtualKeyName(0x51, us), "Q");  // from the layout, upper-cased
  EXPECT_EQ(virtualKeyName(0xFE, us), "");
}

TEST(KeyCodes, UsageNames) {
  EXPECT_STREQ(usageName(89), "Num_1");
  EXPECT_STREQ(usageName(97), "Num_9");
  EXPECT_STREQ(usageName(98), "Num_0");
  EXPECT_STREQ(usageName(244), "Button 4");
  EXPECT_STREQ(usageName(4), "");
}

}  // namespace
