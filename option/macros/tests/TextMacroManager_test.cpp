#include <gtest/gtest.h>

#include <cstring>

#include "FakeKeyboardLayout.h"
#include "TextMacroManagerRules.h"

namespace {

constexpr uint32_t kVkShift = 0xA0, kVkA = 'A';

TextMacroRecord named(const char* name, int delay) {
  TextMacroRecord r{};
  std::strcpy(r.name, name);
  r.delayMs = delay;
  return r;
}

class TextMacroManagerTest : public ::testing::Test {
 protected:
  TextMacroLibrary library_{named("Hello", 20), named("Sig", 0)};
  TextMacroManagerSession session_{library_};
  FakeUsLayout layout_;
};

TEST_F(TextMacroManagerTest, CaptureTakesOneKeyOrOneMouseButton) {
  session_.open();
  ASSERT_TRUE(session_.startCapture(KeySlot::Before));
  EXPECT_FALSE(session_.startCapture(KeySlot::After));  // one at a time
  EXPECT_EQ(session_.keyButtonText(KeySlot::Before, layout_), "Press a key");
  EXPECT_FALSE(session_.onHookKey(hookEventFromMessage(kVkA, kHookFlagReleased, 0), layout_));
  EXPECT_TRUE(session_.onHookKey(hookEventFromMessage(kVkShift, 0, 0), layout_));
  EXPECT_EQ(library_[0].keyBefore, 225);
  EXPECT_FALSE(session_.onHookKey(hookEventFromMessage(kVkA, 0, 0), layout_));  // over
  EXPECT_EQ(session_.keyButtonText(KeySlot::Before, layout_), "L_Shift");

  ASSERT_TRUE(session_.startCapture(KeySlot::After));
  EXPECT_TRUE(session_.onMouseButton(MouseButton::Right));
  EXPECT_EQ(library_[0].keyAfter, 241);
  EXPECT_FALSE(session_.onMouseButton(MouseButton::Left));

  ASSERT_TRUE(session_.startCapture(KeySlot::After));
  session_.select(1);  // another line ends the capture unfinished
  EXPECT_FALSE(session_.capturing());
  EXPECT_EQ(library_[0].keyAfter, 241);

  session_.select(0);
  EXPECT_TRUE(session_.clearKey(KeySlot::Before));
  EXPECT_EQ(session_.keyButtonText(KeySlot::Before, layout_), "Click to record");
}

TEST_F(TextMacroManagerTest, WithoutATextMacroNothingIsCapturedOrStored) {
  TextMacroLibrary empty;
  TextMacroManagerSession session(empty);
  session.open();
  EXPECT_EQ(session.current(), -1);
  EXPECT_FALSE(session.startCapture(KeySlot::Before));
  EXPECT_FALSE(session.clearKey(KeySlot::After));
  EXPECT_EQ(session.editsChanged("70000", "text").value, 65535);
  EXPECT_EQ(session.delayText(), "65535");  // the delay keeps its last value
  EXPECT_EQ(session.text(), "");
  EXPECT_EQ(session.keyButtonText(KeySlot::After, FakeUsLayout{}), "Click to record");
}

TEST_F(TextMacroManagerTest, EditsAndNames) {
  session_.open();
  EXPECT_EQ(session_.delayText(), "20");
  const ClampedNumber d = session_.editsChanged("99999", "Hi there");
  EXPECT_TRUE(d.clamped);
  EXPECT_EQ(library_[0].delayMs, 65535);
  EXPECT_EQ(session_.text(), "Hi there");

  EXPECT_FALSE(session_.commitNewLine("sig").accepted);
  EXPECT_EQ(session_.current(), 1);
  EXPECT_TRUE(session_.commitNewLine("TMacro: ").accepted);
  EXPECT_STREQ(library_[2].name, "TMacro:");
  EXPECT_EQ(session_.text(), "");
  EXPECT_FALSE(session_.commitRename("HELLO").accepted);
  EXPECT_EQ(session_.deleteCurrent(), 1);
  EXPECT_EQ(library_.size(), 2u);
}

}  // namespace
