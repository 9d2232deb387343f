#include "BitmapEdit_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinMessages.h"
#include "SkinWindow_win.h"
#include "TestSkin_win.h"

namespace {

class EditWindow : public SkinWindow {
 public:
  BitmapEdit* edit = nullptr;
  std::vector<std::pair<UINT, WPARAM>> posted;

 protected:
  HWND createControl(int ordinal, int, const SkinPosition& position, const SkinStatePictures&) override {
    edit = BitmapEdit::Create(hwnd(), 200 + ordinal, position);
    return edit ? edit->hwnd() : nullptr;
  }
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == MSG_EDIT_DONE || message == BitmapEdit::KillFocusMessage())
      posted.push_back({message, wParam});
    return SkinWindow::onMessage(message, wParam, lParam);
  }
};

std::string textOf(HWND window) {
  char buffer[64] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

void typeChars(HWND window, const char* text) {
  for (const char* c = text; *c; ++c) SendMessageA(window, WM_CHAR, WPARAM(*c), 1);
}

}  // namespace

TEST(BitmapEditTest, FiltersTypedCharactersAndReportsEnter) {
  TestSkin skin("edit", {"EDIT_VALUE,20,40,100,20,"});
  EditWindow window;
  ASSERT_TRUE(window.create({skin.ini, skin.folder, {{1, 1}}, {}}, "Edit test", nullptr, false));
  ShowWindow(window.hwnd(), SW_SHOW);
  ASSERT_NE(window.edit, nullptr);
  HWND edit = window.edit->hwnd();
  SetFocus(edit);

  window.edit->setHexFilter(true);
  typeChars(edit, "1a.2");
  EXPECT_EQ(textOf(edit), "12");
  typeChars(edit, "F");
  EXPECT_EQ(textOf(edit), "12F");

  SetWindowTextA(edit, "");
  window.edit->setHexFilter(false);  // the two filters are separate settings
  window.edit->setDecimalFilter(true);
  typeChars(edit, "3A.5");
  EXPECT_EQ(textOf(edit), "3.5");

  PumpMessages();
  window.posted.clear();
  // Enter and Escape never reach the dialog as key-downs; Enter's release reports 13.
  EXPECT_EQ(SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 1), 0);
  EXPECT_EQ(SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1), 0);
  SendMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
  PumpMessages();
  ASSERT_FALSE(window.posted.empty());
  EXPECT_EQ(window.posted.back(), (std::pair<UINT, WPARAM>{MSG_EDIT_DONE, 13}));
  EXPECT_EQ(textOf(edit), "3.5");

  // Every change posts the registered message.
  window.posted.clear();
  typeChars(edit, "7");
  PumpMessages();
  ASSERT_FALSE(window.posted.empty());
  EXPECT_EQ(window.posted[0].first, BitmapEdit::KillFocusMessage());
}

namespace {
class TextWindow : public SkinWindow {
 public:
  BitmapEdit* edit = nullptr;

 protected:
  HWND createControl(int ordinal, int, const SkinPosition& position, const SkinStatePictures&) override {
    edit = BitmapEdit::CreateMultiLine(hwnd(), 300 + ordinal, position);
    return edit ? edit->hwnd() : nullptr;
  }
};
}  // namespace

TEST(BitmapEditTest, MultiLineTakesEnterAndScrollsVertically) {
  TestSkin skin("text", {"EDIT_TEXT,20,40,160,60,"});
  TextWindow window;
  ASSERT_TRUE(window.create({skin.ini, skin.folder, {{1, 1}}, {}}, "Text test", nullptr, false));
  ShowWindow(window.hwnd(), SW_SHOW);
  ASSERT_NE(window.edit, nullptr);
  HWND edit = window.edit->hwnd();
  EXPECT_TRUE(window.edit->multiLine());
  const LONG_PTR style = GetWindowLongPtrA(edit, GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & WS_VSCROLL);
  SetFocus(edit);
  typeChars(edit, "ab");
  SendMessageA(edit, WM_CHAR, VK_RETURN, 1);
  typeChars(edit, "c");
  EXPECT_EQ(textOf(edit), "ab\r\nc");
  EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 2);
  // Escape still never reaches a dialog.
  EXPECT_EQ(SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1), 0);
}
