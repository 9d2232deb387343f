#include "SkinWindow_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "Picture_win.h"
#include "SkinButton_win.h"
#include "SkinMessages.h"
#include "TestSkin_win.h"

namespace {

// A skinned window that creates a SkinButton per entry and records what it is told.
class ButtonWindow : public SkinWindow {
 public:
  std::vector<SkinButton*> buttons;
  std::vector<WPARAM> commands;
  std::vector<std::pair<WPARAM, LPARAM>> hovers;
  bool toggles = false;

 protected:
  HWND createControl(int ordinal, int, const SkinPosition& position,
                     const SkinStatePictures& pictures) override {
    buttons.push_back(SkinButton::Create(hwnd(), 100 + ordinal, position, pictures, toggles));
    return buttons.back() ? buttons.back()->hwnd() : nullptr;
  }
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) commands.push_back(wParam);
    if (message == MSG_CONTROL_HOVER) hovers.push_back({wParam, lParam});
    return SkinWindow::onMessage(message, wParam, lParam);
  }
};

SkinSource sourceOf(const TestSkin& skin, int count) { return {skin.ini, skin.folder, {{1, count}}, {}}; }

RECT childRect(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

TEST(SkinPicture, MissingOrBrokenFilesGiveAnEmptyBitmap) {
  UniqueBitmap bitmap;
  SIZE size{5, 5};
  EXPECT_FALSE(LoadPictureFile("C:\\no\\such\\picture.bmp", bitmap, size));
  EXPECT_FALSE(bitmap);
  EXPECT_EQ(size.cx, 0);
  std::string folder = MakeTempFolder("broken");
  std::string junk = folder + "junk.bmp";
  HANDLE f = CreateFileA(junk.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD w = 0;
  WriteFile(f, "BMnot really a picture", 22, &w, nullptr);
  CloseHandle(f);
  EXPECT_FALSE(LoadPictureFile(junk, bitmap, size)) << size.cx << "x" << size.cy;
  EXPECT_FALSE(bitmap);
  EXPECT_FALSE(LoadPictureFile("", bitmap, size));
  EXPECT_FALSE(RegionFromMask(nullptr, RGB(255, 255, 255), 0));
}

TEST(SkinPicture, RegionFromMaskMatchesTheMask) {
  std::string folder = MakeTempFolder("region");
  // Checkerboard rows give 40 * 60 = 2400 runs: more than one batch.
  ASSERT_TRUE(WriteTestBmp(folder + "checker.bmp", 80, 60,
                           [](int x, int y) { return ((x + y) & 1) ? 0xFFFFFFu : 0x000000u; }));
  UniqueBitmap mask;
  SIZE size{};
  ASSERT_TRUE(LoadPictureFile(folder + "checker.bmp", mask, size));
  EXPECT_EQ(size.cx, 80);
  EXPECT_EQ(size.cy, 60);
  UniqueRegion region = RegionFromMask(mask.get(), RGB(255, 255, 255), 0);
  ASSERT_TRUE(region);
  for (int y = 0; y < 60; y += 7)
    for (int x = 0; x < 80; x += 3)
      EXPECT_EQ(PtInRegion(region.get(), x, y) != 0, ((x + y) & 1) == 0) << x << "," << y;

  ASSERT_TRUE(WriteTestBmp(folder + "white.bmp", 30, 30, [](int, int) { return 0xFFFFFFu; }));
  ASSERT_TRUE(LoadPictureFile(folder + "white.bmp", mask, size));
  region = RegionFromMask(mask.get(), RGB(255, 255, 255), 0);
  RECT box;
  ASSERT_TRUE(region);
  EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION);

  ASSERT_TRUE(WriteTestBmp(folder + "black.bmp", 30, 20, [](int, int) { return 0u; }));
  ASSERT_TRUE(LoadPictureFile(folder + "black.bmp", mask, size));
  region = RegionFromMask(mask.get(), RGB(255, 255, 255), 0);
  EXPECT_EQ(GetRgnBox(region.get(), &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 30);
  EXPECT_EQ(box.bottom, 20);
}

TEST(SkinWindowTest, WindowTakesSizeOutlineAndControls) {
  TestSkin skin("window", {"BUTTON_EXIT,170,12,22,22,Close the window", "BUTTON_OK,20,80,70,30,", ""});
  ButtonWindow window;
  ASSERT_TRUE(window.create(sourceOf(skin, 3), "Skin test", nullptr, false));
  ShowWindow(window.hwnd(), SW_SHOW);
  PumpMessages();

  RECT client;
  GetClientRect(window.hwnd(), &client);
  EXPECT_EQ(client.right, TestSkin::kWidth);
  EXPECT_EQ(client.bottom, TestSkin::kHeight);

  HRGN installed = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(window.hwnd(), installed), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(installed, 2, 2));
  EXPECT_FALSE(PtInRegion(installed, TestSkin::kWidth - 2, TestSkin::kHeight - 2));
  EXPECT_TRUE(PtInRegion(installed, 2, 50));
  EXPECT_TRUE(PtInRegion(installed, 100, 60));
  DeleteObject(installed);

  ASSERT_EQ(window.buttons.size(), 3u);
  RECT r = childRect(window.buttons[0]->hwnd());
  EXPECT_EQ(r.left, 170);
  EXPECT_EQ(r.top, 12);
  EXPECT_EQ(r.right, 192);
  EXPECT_EQ(r.bottom, 34);
  EXPECT_EQ(window.buttons[0]->helpText(), "Close the window");
  r = childRect(window.buttons[1]->hwnd());
  EXPECT_EQ(r.right - r.left, 70);
  // A missing entry yields a zero-size control, not a crash.
  ASSERT_NE(window.buttons[2], nullptr);
  r = childRect(window.buttons[2]->hwnd());
  EXPECT_EQ(r.right - r.left, 0);

  // The background shows through: sample the painted client.
  HDC dc = GetDC(window.hwnd());
  COLORREF px = GetPixel(dc, 100, 50);
  ReleaseDC(window.hwnd(), dc);
  EXPECT_EQ(px, RGB(0x20, 0x20, 0x20));
}

TEST(SkinWindowTest, ToggleButtonClickedTwiceSendsTwoCommands) {
  TestSkin skin("toggle", {"TOGGLE,20,20,40,30,"});
  ButtonWindow window;
  window.toggles = true;
  ASSERT_TRUE(window.create(sourceOf(skin, 1), "Skin toggle", nullptr, false));
  ShowWindow(window.hwnd(), SW_SHOW);
  SetForegroundWindow(window.hwnd());
  PumpMessages();
  HWND button = window.buttons.at(0)->hwnd();
  for (int i = 0; i < 2; ++i) {
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(window.buttons[0]->checked(), i == 0);
  }
  PumpMessages();
  ASSERT_EQ(window.commands.size(), 2u);
  EXPECT_EQ(LOWORD(window.commands[0]), 100);
  EXPECT_EQ(HIWORD(window.commands[1]), 0);
}

// Hover follows the mouse without holding it; only a press holds it, until
// its release, and a release away from the button changes nothing.
TEST(SkinWindowTest, HoverNeverHoldsTheMouseAndAPressHoldsItUntilTheRelease) {
  TestSkin skin("capture", {"TOGGLE,20,20,40,30,Toggle help"});
  ButtonWindow window;
  window.toggles = true;
  ASSERT_TRUE(window.create(sourceOf(skin, 1), "Skin capture", nullptr, false));
  ShowWindow(window.hwnd(), SW_SHOW);
  SetForegroundWindow(window.hwnd());
  PumpMessages();
  SkinButton* button = window.buttons.at(0);
  button->setTag(9);
  RECT r;
  GetWindowRect(button->hwnd(), &r);
  SetCursorPos(r.left + 5, r.top + 5);
  SendMessageA(button->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(button->hovered());
  EXPECT_EQ(GetCapture(), nullptr);
  SetCursorPos(r.right + 60, r.bottom + 60);
  EXPECT_TRUE(PumpUntil([&] { return !button->hovered(); }));
  PumpMessages();
  ASSERT_EQ(window.hovers.size(), 2u);
  EXPECT_EQ(window.hovers[0], (std::pair<WPARAM, LPARAM>{1, 9}));
  EXPECT_EQ(window.hovers[1], (std::pair<WPARAM, LPARAM>{0, 9}));

  SendMessageA(button->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(GetCapture(), button->hwnd());
  SendMessageA(button->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(button->checked());
  EXPECT_TRUE(window.commands.empty());
}

TEST(SkinWindowTest, PushButtonHoverPostsTagAndShowsOverImage) {
  TestSkin skin("hover", {"PUSH,20,20,40,30,Help for push"});
  ButtonWindow window;
  ASSERT_TRUE(window.create(sourceOf(skin, 1), "Skin hover", nullptr, false));
  ShowWindow(window.hwnd(), SW_SHOW);
  SetForegroundWindow(window.hwnd());
  PumpMessages();
  SkinButton* button = window.buttons.at(0);
  button->setTag(7);
  button->setHover(true);
  UpdateWindow(button->hwnd());
  HDC dc = GetDC(button->hwnd());
  COLORREF px = GetPixel(dc, 30, 10);
  ReleaseDC(button->hwnd(), dc);
  EXPECT_EQ(px, RGB(0x00, 0xA0, 0x00));
  button->setHover(false);
  PumpMessages();
  ASSERT_EQ(window.hovers.size(), 2u);
  EXPECT_EQ(window.hovers[0], (std::pair<WPARAM, LPARAM>{1, 7}));
  EXPECT_EQ(window.hovers[1], (std::pair<WPARAM, LPARAM>{0, 7}));
}
