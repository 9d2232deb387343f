#include "NumberSpinField_win.h"

#include <gtest/gtest.h>

#include <string>

#include "ColorSelectRules.h"
#include "TestParent_win.h"

namespace {
std::string textOf(HWND window) {
  char buffer[32] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

struct SpinFixture : ::testing::Test {
  TestParent& parent = SharedParent();
  NumberSpinField* red = nullptr;
  HWND edit = nullptr;
  void TearDown() override { DestroyChildren(parent); }
  void SetUp() override {
    DestroyChildren(parent);
    red = NumberSpinField::Create(parent.hwnd, kRedFieldId, PositionAt(292, 100, 70, 22));
    ASSERT_NE(red, nullptr);
    ASSERT_NE(red->edit(), nullptr);
    edit = red->edit()->hwnd();
    PumpMessages();
    parent.received.clear();
  }
  void type(const char* text) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char* c = text; *c; ++c) {  // one key per turn of the loop, as a user types
      SendMessageA(edit, WM_CHAR, WPARAM(*c), 1);
      PumpMessages();
    }
  }
  void clickArrow(bool up) {
    RECT r;
    GetClientRect(red->hwnd(), &r);
    int y = up ? 3 : r.bottom - 3;
    SendMessageA(red->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right - 4, y));
    SendMessageA(red->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(r.right - 4, y));
    PumpMessages();
  }
  Received last() const {
    auto all = parent.of(MSG_NUMBER_CHANGED);
    return all.empty() ? Received{0, WPARAM(-1), 0, {}} : all.back();
  }
};
}  // namespace

TEST_F(SpinFixture, TypedValueAboveTheMaximumIsRewrittenAndReported) {
  type("300");
  EXPECT_EQ(textOf(edit), "255");
  EXPECT_EQ(red->value(), 255);
  EXPECT_EQ(last().wParam, 255u);
  EXPECT_EQ(last().lParam, kRedFieldId);
  // The rewrite itself is not reported a second time.
  auto all = parent.of(MSG_NUMBER_CHANGED);
  ASSERT_GE(all.size(), 2u);
  EXPECT_NE(all[all.size() - 2].wParam, 255u);
}

TEST_F(SpinFixture, TypingStopsAtTheDigitsOfTheMaximumAndDropsLetters) {
  type("1234");
  EXPECT_EQ(textOf(edit), "123");
  type("4x2");
  EXPECT_EQ(textOf(edit), "42");
  EXPECT_EQ(last().wParam, 42u);
  type("q");
  EXPECT_EQ(last().wParam, 0u);  // nothing numeric counts as 0
}

TEST_F(SpinFixture, ArrowsStepAndReportAsIfTyped) {
  red->setValue(254);
  clickArrow(true);
  EXPECT_EQ(textOf(edit), "255");
  EXPECT_EQ(last().wParam, 255u);
  clickArrow(true);
  EXPECT_EQ(textOf(edit), "255");
  red->setValue(1);
  clickArrow(false);
  clickArrow(false);
  EXPECT_EQ(textOf(edit), "0");
  EXPECT_EQ(last().wParam, 0u);
}

TEST_F(SpinFixture, SetValueShowsWithoutReporting) {
  red->setValue(77);
  PumpMessages();
  EXPECT_EQ(textOf(edit), "77");
  EXPECT_TRUE(parent.of(MSG_NUMBER_CHANGED).empty());
  red->setValue(999);  // clamped before it is shown
  PumpMessages();
  EXPECT_EQ(textOf(edit), "255");
  EXPECT_TRUE(parent.of(MSG_NUMBER_CHANGED).empty());
}
