#include "ColorKeyButton_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "SkinMessages.h"
#include "SkinWindow_win.h"
#include "TestSkin_win.h"

namespace {

class KeyPage : public SkinWindow {
 public:
  std::vector<ColorKeyButton*> keys;
  std::vector<WPARAM> commands;
  std::vector<std::pair<WPARAM, LPARAM>> hovers;

 protected:
  HWND createControl(int ordinal, int, const SkinPosition& position,
                     const SkinStatePictures& pictures) override {
    keys.push_back(ColorKeyButton::Create(hwnd(), 300 + ordinal, position, pictures));
    return keys.back() ? keys.back()->hwnd() : nullptr;
  }
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) commands.push_back(wParam);
    if (message == MSG_CONTROL_HOVER) hovers.push_back({wParam, lParam});
    return SkinWindow::onMessage(message, wParam, lParam);
  }
};

COLORREF pixel(HWND window, int x, int y) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(window);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

struct KeyFixture : ::testing::Test {
  // A 40 x 30 key and a 44 x 58 Enter key (the L outline needs 33 rows above).
  TestSkin skin{"colorkey", {"KEY,30,20,40,30,", "Enter,100,30,44,58,Enter key"}};
  KeyPage page;
  void SetUp() override {
    ASSERT_TRUE(page.create({skin.ini, skin.folder, {{1, 2}}, {}}, "Key test", nullptr, false));
    ShowWindow(page.hwnd(), SW_SHOW);
    SetForegroundWindow(page.hwnd());
    PumpMessages();
    ASSERT_EQ(page.keys.size(), 2u);
    ASSERT_NE(page.keys[0], nullptr);
    ASSERT_NE(page.keys[1], nullptr);
  }
  void click(ColorKeyButton* key, WPARAM keys) {
    SendMessageA(key->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(10, 10));
    SendMessageA(key->hwnd(), WM_LBUTTONUP, keys, MAKELPARAM(10, 10));
    PumpMessages();
  }
};

}  // namespace

TEST_F(KeyFixture, SwatchFillsTheShapeAndBlacksTheRest) {
  ColorKeyButton* key = page.keys[0];
  key->setColor(RGB(0x10, 0x80, 0xF0));
  EXPECT_EQ(pixel(key->hwnd(), 20, 15), RGB(0x10, 0x80, 0xF0));
  EXPECT_EQ(pixel(key->hwnd(), 1, 1), RGB(0, 0, 0));  // a cut corner
  EXPECT_EQ(pixel(key->hwnd(), 0, 15), RGB(0, 0, 0));
  EXPECT_EQ(pixel(key->hwnd(), 1, 15), RGB(0x10, 0x80, 0xF0));

  ColorKeyButton* enter = page.keys[1];
  enter->setShape(ColorKeyShape::LShape);
  enter->setColor(RGB(0, 0xFF, 0));
  EXPECT_EQ(pixel(enter->hwnd(), 20, 10), RGB(0, 0xFF, 0));  // upper bar
  EXPECT_EQ(pixel(enter->hwnd(), 20, 50), RGB(0, 0xFF, 0));  // lower part
  EXPECT_EQ(pixel(enter->hwnd(), 3, 50), RGB(0, 0, 0));      // the notch
}

TEST_F(KeyFixture, KeyColourIsLaidOverThePictureOnlyWhenLitAndEnabled) {
  ColorKeyButton* key = page.keys[0];
  key->setDrawMode(ColorKeyDrawMode::KeyColour);
  key->setColor(0);
  EXPECT_EQ(pixel(key->hwnd(), 20, 15), RGB(0x20, 0x20, 0x20));  // picture as it is
  key->setColor(RGB(0xFF, 0, 0));
  COLORREF lit = pixel(key->hwnd(), 20, 15);
  // Half of red over half of the 0x20 grey.
  EXPECT_NEAR(GetRValue(lit), 0x7F + 0x10, 3);
  EXPECT_NEAR(GetGValue(lit), 0x10, 3);
  EXPECT_NEAR(GetBValue(lit), 0x10, 3);
  EnableWindow(key->hwnd(), FALSE);
  EXPECT_EQ(pixel(key->hwnd(), 20, 15), RGB(0x60, 0x60, 0x60));  // disabled picture, no colour
}

TEST_F(KeyFixture, CtrlClickPaintsAndStillNotifiesThePage) {
  ColorKeyButton* key = page.keys[0];
  key->setColor(RGB(1, 2, 3));
  key->setCtrlClickColor(RGB(200, 100, 50));
  click(key, 0);
  EXPECT_EQ(key->color(), RGB(1, 2, 3));
  click(key, MK_CONTROL);
  EXPECT_EQ(key->color(), RGB(200, 100, 50));
  EXPECT_EQ(pixel(key->hwnd(), 20, 15), RGB(200, 100, 50));
  // Same colour again: nothing changes, but the page still hears the click.
  click(key, MK_CONTROL);
  EXPECT_EQ(key->color(), RGB(200, 100, 50));
  ASSERT_EQ(page.commands.size(), 3u);
  for (WPARAM command : page.commands) {
    EXPECT_EQ(LOWORD(command), 300);
    EXPECT_EQ(HIWORD(command), BN_CLICKED);
  }
}

TEST_F(KeyFixture, ToggleKeyFlipsAndHoverPostsTheTag) {
  ColorKeyButton* key = page.keys[1];
  key->setToggle(true);
  key->setTag(83);
  click(key, 0);
  EXPECT_TRUE(key->checked());
  click(key, 0);
  EXPECT_FALSE(key->checked());
  EXPECT_EQ(page.commands.size(), 2u);

  RECT r;
  GetWindowRect(key->hwnd(), &r);
  SetCursorPos(r.left + 20, r.top + 10);
  SendMessageA(key->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  EXPECT_TRUE(key->hovered());
  // Hover never holds the mouse: a capture would take the next click anywhere.
  EXPECT_EQ(GetCapture(), nullptr);
  SetCursorPos(r.right + 40, r.bottom + 40);
  EXPECT_TRUE(PumpUntil([&] { return !key->hovered(); }));
  PumpMessages();
  ASSERT_EQ(page.hovers.size(), 2u);
  EXPECT_EQ(page.hovers[0], (std::pair<WPARAM, LPARAM>{1, 83}));
  EXPECT_EQ(page.hovers[1], (std::pair<WPARAM, LPARAM>{0, 83}));
}
