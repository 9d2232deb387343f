#include "SkinSlider_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "SkinMessages.h"
#include "SkinWindow_win.h"
#include "TestSkin_win.h"

namespace {

class SliderPage : public SkinWindow {
 public:
  std::vector<std::pair<WPARAM, LPARAM>> positions;

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == MSG_SLIDER_POS) positions.push_back({wParam, lParam});
    return SkinWindow::onMessage(message, wParam, lParam);
  }
};

int thumbLeft(SliderThumb* thumb) {
  RECT r;
  GetWindowRect(thumb->hwnd(), &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(thumb->hwnd()), reinterpret_cast<POINT*>(&r), 2);
  return r.left;
}

// Track (20,40)-(130,60): 110 wide, a 10-wide thumb travels 100 pixels.
struct SliderFixture : ::testing::Test {
  TestSkin skin{"slider", {}};
  SliderPage page;
  SkinSlider* slider = nullptr;
  void SetUp() override {
    ASSERT_TRUE(WriteTestBmp(skin.folder + "thumb.bmp", 10, 16,
                             [](int x, int) { return x == 0 ? 0xFF00FFu : 0xE0E0E0u; }));
    ASSERT_TRUE(page.create({skin.ini, skin.folder, {}, {}}, "Slider test", nullptr, false));
    ShowWindow(page.hwnd(), SW_SHOW);
    slider = SkinSlider::Create(skin.folder + "thumb.bmp", {20, 40, 130, 60}, page.hwnd(), 42);
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(slider->thumb(), nullptr);
    slider->setRange(1, 3);
    PumpMessages();
  }
  void drag(int fromX, int toX) {
    HWND thumb = slider->thumb()->hwnd();
    SendMessageA(thumb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, 8));
    SendMessageA(thumb, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, 8));
    int x = toX - (thumbLeft(slider->thumb()) - 0);
    SendMessageA(thumb, WM_LBUTTONUP, 0, MAKELPARAM(x, 8));
    PumpMessages();
  }
};

}  // namespace

TEST_F(SliderFixture, MissingThumbPictureCreatesNoSlider) {
  EXPECT_EQ(SkinSlider::Create(skin.folder + "none.bmp", {0, 0, 50, 20}, page.hwnd(), 1), nullptr);
}

TEST_F(SliderFixture, SnappedReleaseRoundsAndJumps) {
  slider->setSnap(true);
  drag(5, 75);  // thumb left 70: 70 % of the travel, 2.4
  ASSERT_FALSE(page.positions.empty());
  EXPECT_EQ(page.positions.back(), (std::pair<WPARAM, LPARAM>{2, 42}));
  EXPECT_EQ(thumbLeft(slider->thumb()), 50);
  EXPECT_EQ(slider->value(), 2);

  slider->setValue(1);
  drag(5, 85);  // 80 %: 2.6 rounds to 3
  EXPECT_EQ(page.positions.back().first, 3u);
  EXPECT_EQ(thumbLeft(slider->thumb()), 100);
}

TEST_F(SliderFixture, FreeReleaseTruncatesAndStays) {
  drag(5, 85);
  EXPECT_EQ(page.positions.back().first, 2u);
  EXPECT_EQ(thumbLeft(slider->thumb()), 80);
  drag(5, 900);  // kept on the track
  EXPECT_EQ(thumbLeft(slider->thumb()), 100);
  EXPECT_EQ(page.positions.back().first, 3u);
}

TEST_F(SliderFixture, ClicksOnTrackEdgesGiveMinAndMax) {
  slider->setSnap(true);
  SendMessageA(slider->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(110, 10));
  PumpMessages();
  EXPECT_EQ(page.positions.back(), (std::pair<WPARAM, LPARAM>{3, 42}));
  EXPECT_EQ(thumbLeft(slider->thumb()), 100);
  SendMessageA(slider->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(0, 10));
  PumpMessages();
  EXPECT_EQ(page.positions.back().first, 1u);
  EXPECT_EQ(thumbLeft(slider->thumb()), 0);
}
