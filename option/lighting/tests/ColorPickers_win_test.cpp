#include <gtest/gtest.h>

#include "ColorField_win.h"
#include "ColorPreview_win.h"
#include "HueBar_win.h"
#include "TestParent_win.h"

namespace {
constexpr int kFieldId = 301, kHueId = 302, kPreviewId = 303;
constexpr int kSide = 200;  // the skin's field and bar height

// The field, the bar and the preview linked as the dialog links them.
struct PickerFixture : ::testing::Test {
  TestParent& parent = SharedParent();
  ColorField* field = nullptr;
  HueBar* bar = nullptr;
  ColorPreview* preview = nullptr;
  void TearDown() override { DestroyChildren(parent); }
  void SetUp() override {
    DestroyChildren(parent);
    ASSERT_NE(parent.hwnd, nullptr);
    field = ColorField::Create(parent.hwnd, kFieldId, PositionAt(16, 50, kSide, kSide));
    bar = HueBar::Create(parent.hwnd, kHueId, PositionAt(226, 50, 22, kSide));
    preview = ColorPreview::Create(parent.hwnd, kPreviewId, PositionAt(264, 50, 140, 36));
    ASSERT_TRUE(field && bar && preview);
    field->link(bar->hwnd());
    field->link(preview->hwnd());
    bar->link(field->hwnd());
    bar->link(preview->hwnd());
    PumpMessages();
  }
  void mouse(HWND window, UINT message, int x, int y) {
    SendMessageA(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(WORD(x), WORD(y)));
  }
  void key(HWND window, WPARAM virtualKey) { SendMessageA(window, WM_KEYDOWN, virtualKey, 1); }
  Hsv lastSync() const {
    auto syncs = parent.of(MSG_PICKER_SYNC);
    return syncs.empty() ? Hsv{-1, -1, -1} : syncs.back().sync.value;
  }
};

}  // namespace

TEST_F(PickerFixture, FieldDragFollowsTheCursorWithinTheField) {
  bar->setValue({1200, 0, 0});
  field->setValue({1200, 0, 0});
  mouse(field->hwnd(), WM_LBUTTONDOWN, 100, 50);
  EXPECT_EQ(GetCapture(), field->hwnd());
  EXPECT_EQ(field->point(), (FieldValue{500, 750}));
  mouse(field->hwnd(), WM_MOUSEMOVE, -30, 400);  // outside: clamped to the bottom left
  EXPECT_EQ(field->point(), (FieldValue{0, 0}));
  mouse(field->hwnd(), WM_MOUSEMOVE, 250, -9);
  EXPECT_EQ(field->point(), (FieldValue{1000, 1000}));
  mouse(field->hwnd(), WM_LBUTTONUP, 250, -9);
  EXPECT_NE(GetCapture(), field->hwnd());
  mouse(field->hwnd(), WM_MOUSEMOVE, 10, 10);  // no longer dragging
  EXPECT_EQ(field->point(), (FieldValue{1000, 1000}));

  // Every change reached the parent, the bar and the preview, with the hue kept.
  auto syncs = parent.of(MSG_PICKER_SYNC);
  ASSERT_EQ(syncs.size(), 3u);
  EXPECT_EQ(syncs[0].sync.sender, field->hwnd());
  EXPECT_EQ(syncs[0].sync.senderId, kFieldId);
  EXPECT_EQ(syncs[2].sync.value, (Hsv{1200, 1000, 1000}));
  EXPECT_EQ(bar->value(), (Hsv{1200, 1000, 1000}));
  EXPECT_EQ(preview->color(), 0x00FF00u);
  PumpMessages();
  auto colours = parent.of(MSG_PICKER_COLOR);
  ASSERT_EQ(colours.size(), 3u);
  EXPECT_EQ(colours.back().wParam, 0x00FF00u);
  EXPECT_EQ(colours.back().lParam, kPreviewId);
}

TEST_F(PickerFixture, FieldKeysMoveByOneAndJumpToCorners) {
  field->setValue({0, 500, 500});
  key(field->hwnd(), VK_LEFT);
  key(field->hwnd(), VK_UP);
  EXPECT_EQ(field->point(), (FieldValue{499, 501}));
  key(field->hwnd(), VK_NEXT);
  EXPECT_EQ(field->point(), (FieldValue{1000, 0}));
  key(field->hwnd(), VK_DOWN);
  EXPECT_EQ(field->point(), (FieldValue{1000, 0}));  // clamped
  key(field->hwnd(), VK_HOME);
  EXPECT_EQ(field->point(), (FieldValue{0, 1000}));
  EXPECT_EQ(lastSync(), (Hsv{0, 0, 1000}));
  size_t notified = parent.of(MSG_PICKER_SYNC).size();
  key(field->hwnd(), 'A');  // not a picker key
  EXPECT_EQ(parent.of(MSG_PICKER_SYNC).size(), notified);

  // Keys wait while the mouse drags.
  mouse(field->hwnd(), WM_LBUTTONDOWN, 0, kSide);
  key(field->hwnd(), VK_PRIOR);
  EXPECT_EQ(field->point(), (FieldValue{0, 0}));
  mouse(field->hwnd(), WM_LBUTTONUP, 0, kSide);
}

TEST_F(PickerFixture, HueBarDragAndKeysMoveTheFieldsHue) {
  SetPickersToColor(0x0000FF, field, bar);  // red: hue 0, full saturation and brightness
  mouse(bar->hwnd(), WM_LBUTTONDOWN, 5, 100);
  EXPECT_EQ(bar->hue(), 1800);
  mouse(bar->hwnd(), WM_MOUSEMOVE, 5, 500);
  EXPECT_EQ(bar->hue(), kHueMax);
  mouse(bar->hwnd(), WM_LBUTTONUP, 5, 500);
  EXPECT_EQ(field->value().hue, kHueMax);

  key(bar->hwnd(), VK_HOME);
  EXPECT_EQ(bar->hue(), 0);
  key(bar->hwnd(), VK_UP);
  EXPECT_EQ(bar->hue(), 0);
  key(bar->hwnd(), VK_NEXT);
  key(bar->hwnd(), VK_DOWN);
  key(bar->hwnd(), VK_RIGHT);
  EXPECT_EQ(bar->hue(), 120);
  key(bar->hwnd(), VK_PRIOR);
  key(bar->hwnd(), VK_LEFT);
  EXPECT_EQ(bar->hue(), 10);
  key(bar->hwnd(), VK_END);
  EXPECT_EQ(bar->hue(), kHueMax);
  EXPECT_EQ(field->value().hue, kHueMax);
  EXPECT_EQ(lastSync(), (Hsv{kHueMax, 1000, 1000}));
  EXPECT_EQ(parent.of(MSG_PICKER_SYNC).back().sync.senderId, kHueId);
}

TEST_F(PickerFixture, EachPickerKeepsItsOwnPartsFromItsLink) {
  field->setValue({0, 250, 750});
  bar->setValue({900, 0, 0});  // out of step with the field
  key(bar->hwnd(), VK_DOWN);
  EXPECT_EQ(field->value(), (Hsv{910, 250, 750}));  // the point stays
  key(field->hwnd(), VK_RIGHT);
  EXPECT_EQ(bar->value(), (Hsv{910, 251, 750}));
  EXPECT_EQ(preview->color(), ColorFromHsv({910, 251, 750}));
}

TEST_F(PickerFixture, SettingAValueNotifiesNobody) {
  SetPickersToColor(MakeColor(0x33, 0x22, 0x11), field, bar);
  EXPECT_EQ(field->value(), HsvFromColor(0x112233));
  EXPECT_EQ(bar->value(), HsvFromColor(0x112233));
  field->setValue({2400, 300, 300});
  bar->setValue({2400, 300, 300});
  preview->setColor(0x123456);
  PumpMessages();
  EXPECT_TRUE(parent.received.empty());
}

TEST_F(PickerFixture, FieldPaintsTheGradientAndAContrastingMarker) {
  field->setValue({1200, 1000, 1000});  // pure green, marker at the top right
  field->render();
  const DibCanvas& c = field->canvas();
  ASSERT_EQ(c.width(), kSide);
  auto at = [&](int x, int y) { return c.pixels()[size_t(y) * size_t(c.width()) + size_t(x)]; };
  EXPECT_EQ(at(0, kSide / 2), 0u);          // the black frame
  EXPECT_EQ(at(1, 1), 0xFFFFFFu);           // white at the top left
  EXPECT_EQ(at(kSide / 2, kSide - 2), 0u);  // black at the bottom
  EXPECT_EQ(at(kSide - 2, 1), 0x00FF00u);   // the pure hue at the top right
  // The marker is black on the bright green: its left point sits 5 left of the centre.
  int mx = FieldXOf(600, kSide), my = FieldYOf(600, kSide);
  field->setValue({1200, 600, 600});
  field->render();
  EXPECT_EQ(at(mx - 5, my), 0u);
  field->setValue({1200, 600, 300});  // dark: white marker
  field->render();
  my = FieldYOf(300, kSide);
  EXPECT_EQ(at(mx - 5, my), 0xFFFFFFu);
}

TEST_F(PickerFixture, PreviewPaintsItsColour) {
  preview->setColor(0x112233);
  RedrawWindow(preview->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(preview->hwnd());
  COLORREF shown = GetPixel(dc, 20, 10);
  ReleaseDC(preview->hwnd(), dc);
  EXPECT_EQ(shown, 0x112233u);
}
