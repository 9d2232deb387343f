#include "RegionButton_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "SkinMessages.h"
#include "SkinWindow_win.h"
#include "TestResources.h"
#include "TestSkin_win.h"

namespace {

class RegionPage : public SkinWindow {
 public:
  RegionButton* button = nullptr;
  int maskId = IDB_TEST_REGION_MASK;
  std::vector<WPARAM> commands;
  std::vector<std::pair<WPARAM, LPARAM>> hovers;

 protected:
  HWND createControl(int, int, const SkinPosition& position, const SkinStatePictures& pictures) override {
    button = RegionButton::Create(hwnd(), 77, "Enter", position, maskId, pictures);
    return button ? button->hwnd() : nullptr;
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

// The mask is 40 x 30 with its lower-left 15 x 15 block outside the outline.
struct RegionFixture : ::testing::Test {
  TestSkin skin{"region", {"Enter,40,30,40,30,"}};
  RegionPage page;
  void open() {
    ASSERT_TRUE(page.create({skin.ini, skin.folder, {{1, 1}}, {}}, "Region test", nullptr, false));
    ShowWindow(page.hwnd(), SW_SHOW);
    SetForegroundWindow(page.hwnd());
    PumpMessages();
    ASSERT_NE(page.button, nullptr);
  }
  void press(POINT down, POINT up) {
    SendMessageA(page.button->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    SendMessageA(page.button->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    PumpMessages();
  }
};

const POINT kInside{30, 10}, kOutside{5, 25};

}  // namespace

TEST_F(RegionFixture, OutlineComesFromTheMaskResource) {
  open();
  HWND window = page.button->hwnd();
  char name[32] = {}, text[32] = {};
  GetClassNameA(window, name, sizeof name);
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(name, "Rgn Button");
  EXPECT_STREQ(text, "Enter");
  EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP);
  ASSERT_TRUE(page.button->hasOutline());
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(window, region), ERROR);
  EXPECT_TRUE(PtInRegion(region, kInside.x, kInside.y));
  EXPECT_FALSE(PtInRegion(region, kOutside.x, kOutside.y));
  EXPECT_TRUE(PtInRegion(region, 5, 5));
  DeleteObject(region);
  EXPECT_FALSE(page.button->insideOutline(kOutside));
}

TEST_F(RegionFixture, WithoutAMaskTheButtonKeepsItsRectangle) {
  page.maskId = 999;
  open();
  EXPECT_FALSE(page.button->hasOutline());
  EXPECT_TRUE(page.button->insideOutline(kOutside));
}

TEST_F(RegionFixture, ClicksInsideTheOutlineCommandAndToggle) {
  open();
  page.button->setToggle(true);
  page.button->setTag(43);
  SendMessageA(page.button->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kInside.x, kInside.y));
  EXPECT_EQ(page.button->state(), RegionState::Pressed);
  EXPECT_EQ(pixel(page.button->hwnd(), kInside.x, kInside.y), RGB(0xC0, 0, 0));
  SendMessageA(page.button->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(kInside.x, kInside.y));
  PumpMessages();
  EXPECT_TRUE(page.button->checked());
  EXPECT_EQ(page.button->state(), RegionState::Rest);
  EXPECT_NE(GetCapture(), page.button->hwnd());
  ASSERT_EQ(page.commands.size(), 1u);
  EXPECT_EQ(page.commands[0], MAKEWPARAM(77, 0));
  ASSERT_FALSE(page.hovers.empty());
  EXPECT_EQ(page.hovers.back(), (std::pair<WPARAM, LPARAM>{0, 43}));
  // Checked shows the down image at rest.
  EXPECT_EQ(pixel(page.button->hwnd(), kInside.x, kInside.y), RGB(0xC0, 0, 0));

  press(kInside, kOutside);  // started inside: flips, but no command
  EXPECT_FALSE(page.button->checked());
  EXPECT_EQ(page.commands.size(), 1u);
  press(kOutside, kInside);  // started outside: no flip, the release still commands
  EXPECT_FALSE(page.button->checked());
  EXPECT_EQ(page.commands.size(), 2u);
}

TEST_F(RegionFixture, DisabledDrawsStateThreeAndHoverFollowsTheOutline) {
  open();
  HWND window = page.button->hwnd();
  EnableWindow(window, FALSE);
  EXPECT_EQ(page.button->state(), RegionState::Disabled);
  EXPECT_EQ(pixel(window, kInside.x, kInside.y), RGB(0x60, 0x60, 0x60));
  EnableWindow(window, TRUE);
  EXPECT_EQ(page.button->state(), RegionState::Rest);
  EXPECT_EQ(pixel(window, kInside.x, kInside.y), RGB(0x20, 0x20, 0x20));

  page.button->setTag(5);
  POINT screen = kInside;
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(kInside.x, kInside.y));
  EXPECT_EQ(page.button->state(), RegionState::Hover);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(pixel(window, kInside.x, kInside.y), RGB(0, 0xA0, 0));
  screen = kOutside;
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(kOutside.x, kOutside.y));
  EXPECT_EQ(page.button->state(), RegionState::Rest);
  EXPECT_NE(GetCapture(), window);
  PumpMessages();
  ASSERT_EQ(page.hovers.size(), 2u);
  EXPECT_EQ(page.hovers[0], (std::pair<WPARAM, LPARAM>{1, 5}));
  EXPECT_EQ(page.hovers[1], (std::pair<WPARAM, LPARAM>{0, 5}));
}
