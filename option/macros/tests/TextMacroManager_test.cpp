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
  EXPECT_EQ(session_.onHookKey(hookEventFromMessage(kVkA, kHookFlagReleased, 0), layout_), CaptureEnd::None);
  EXPECT_EQ(session_.onHookKey(hookEventFromMessage(kVkShift, 0, 0), layout_), CaptureEnd::Stored);
  EXPECT_EQ(library_[0].keyBefore, 225);
  EXPECT_EQ(session_.onHookKey(hookEventFromMessage(kVkA, 0, 0), layout_), CaptureEnd::None);  // over
  EXPECT_EQ(session_.keyButtonText(KeySlot::Before, layout_), "L_Shift");

  ASSERT_TRUE(session_.startCapture(KeySlot::After));
  // A right click anywhere in the dialog, even on a control, is the key.
  EXPECT_EQ(session_.onMouseButton(MouseButton::Right, ClickPlace::Control), CaptureEnd::Stored);
  EXPECT_EQ(library_[0].keyAfter, 241);
  EXPECT_EQ(session_.onMouseButton(MouseButton::Left, ClickPlace::Surface), CaptureEnd::None);

  ASSERT_TRUE(session_.startCapture(KeySlot::After));
  session_.select(1);  // another line ends the capture unfinished
  EXPECT_FALSE(session_.capturing());
  EXPECT_EQ(library_[0].keyAfter, 241);

  session_.select(0);
  EXPECT_TRUE(session_.clearKey(KeySlot::Before));
  EXPECT_EQ(session_.keyButtonText(KeySlot::Before, layout_), "Click to record");
}

TEST_F(TextMacroManagerTest, ACaptureEndsWithoutAKeyOnEscapeOrAClickOnAControl) {
  constexpr uint32_t kVkEscape = 0x1B;
  session_.open();
  library_[0].keyBefore = 40;
  ASSERT_TRUE(session_.startCapture(KeySlot::Before));
  EXPECT_EQ(session_.onHookKey(hookEventFromMessage(kVkEscape, 0, 0), layout_), CaptureEnd::Abandoned);
  EXPECT_FALSE(session_.capturing());
  EXPECT_EQ(library_[0].keyBefore, 40);
  EXPECT_EQ(session_.onHookKey(hookEventFromMessage(kVkEscape, kHookFlagReleased, 0), layout_),
            CaptureEnd::None);

  // Clear, OK, another line, the capture button again: a left click on a
  // control is that control's click, not the left mouse button.
  ASSERT_TRUE(session_.startCapture(KeySlot::After));
  EXPECT_EQ(session_.onMouseButton(MouseButton::Left, ClickPlace::Control), CaptureEnd::Abandoned);
  EXPECT_FALSE(session_.capturing());
  EXPECT_EQ(library_[0].keyAfter, 0);

  // On the dialog's own surface the left button is the key.
  ASSERT_TRUE(session_.startCapture(KeySlot::After));
  EXPECT_EQ(session_.onMouseButton(MouseButton::Left, ClickPlace::Surface), CaptureEnd::Stored);
  EXPECT_EQ(library_[0].keyAfter, 240);
  ASSERT_TRUE(session_.startCapture(KeySlot::After));
  EXPECT_EQ(session_.onMouseButton(MouseButton::Middle, ClickPlace::Control), CaptureEnd::Stored);
  EXPECT_EQ(library_[0].keyAfter, 242);
}

TEST_F(TextMacroManagerTest, TheRenamedLineBecomesTheCurrentTextMacro) {
  session_.open();  // Hello current
  EXPECT_TRUE(session_.commitRename(1, "Signature").accepted);
  EXPECT_EQ(session_.current(), 1);
  session_.editsChanged("5", "typed into the renamed one");
  EXPECT_STREQ(library_[1].text, "typed into the renamed one");
  EXPECT_STREQ(library_[0].text, "");
  ASSERT_EQ(session_.renames().size(), 1u);
  EXPECT_EQ(session_.renames()[0].from, "Sig");
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
  EXPECT_FALSE(session_.commitRename(2, "HELLO").accepted);
  EXPECT_EQ(session_.deleteCurrent(), 1);
  EXPECT_EQ(library_.size(), 2u);
}

}  // namespace
