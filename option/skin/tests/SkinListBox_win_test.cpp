#include "SkinListBox_win.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "SkinMessages.h"
#include "SkinWindow_win.h"
#include "TestResources.h"
#include "TestSkin_win.h"

namespace {

using Posted = std::tuple<UINT, WPARAM, LPARAM>;

class ListPage : public SkinWindow {
 public:
  std::vector<Posted> posted;

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == MSG_LIST_ITEM_ADDED || message == MSG_LIST_ITEM_EDITED || message == MSG_LIST_RCLICK)
      posted.emplace_back(message, wParam, lParam);
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) posted.emplace_back(message, wParam, 0);
    return SkinWindow::onMessage(message, wParam, lParam);
  }
};

constexpr COLORREF kBack = 0x323232, kFill = 0x0A0A0A, kText = 0x5959BE;

struct ListFixture : ::testing::Test {
  TestSkin skin{"list", {}};
  ListPage page;
  SkinListBox* list = nullptr;
  void SetUp() override {
    ASSERT_TRUE(page.create({skin.ini, skin.folder, {}, {}}, "List test", nullptr, false));
    ShowWindow(page.hwnd(), SW_SHOW);
    SetForegroundWindow(page.hwnd());
    list = SkinListBox::Create(page.hwnd(), 50, ParseSkinPosition("LIST,10,10,150,100,"));
    ASSERT_NE(list, nullptr);
    list->setKeepParent(true);
    list->setIdentifier(4096);
    list->setNewLineText("Macro: ");
    list->setColors(kBack, kFill);
    list->setTextColors(kText, kText);
    list->addLine("first", 0);
    list->addLine("second", 0x00020000);
    SetFocus(list->hwnd());
    PumpMessages();
  }
  std::string editorText() {
    char text[64] = {};
    GetWindowTextA(list->editorWindow(), text, sizeof text);
    return text;
  }
  void typeAndPress(const char* text, WPARAM vk) {
    HWND edit = list->editorWindow();
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, text);
    SendMessageA(edit, WM_KEYDOWN, vk, 1);
    SendMessageA(edit, WM_KEYUP, vk, 0xC0000001);
    PumpMessages();
  }
  RECT editorRect() {
    RECT r;
    GetWindowRect(list->editorWindow(), &r);
    MapWindowPoints(HWND_DESKTOP, list->hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  int selected() { return int(SendMessageA(list->hwnd(), LB_GETCURSEL, 0, 0)); }
};

}  // namespace

TEST_F(ListFixture, EscapeWhileNamingANewLineRemovesItSilently) {
  SendMessageA(list->hwnd(), LB_SETCURSEL, 1, 0);
  ASSERT_TRUE(list->startNewLine());
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(editorText(), "Macro: ");
  EXPECT_EQ(GetFocus(), list->editorWindow());
  EXPECT_EQ(SendMessageA(list->editorWindow(), EM_GETLIMITTEXT, 0, 0), 15);
  RECT client, r = editorRect();
  GetClientRect(list->hwnd(), &client);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.right, client.right - 2);
  EXPECT_EQ(r.top, 40);
  EXPECT_FALSE(list->startNewLine());  // one edit at a time
  typeAndPress("Macro: x", VK_ESCAPE);
  EXPECT_FALSE(list->editing());
  EXPECT_EQ(list->count(), 2);
  EXPECT_EQ(GetFocus(), list->hwnd());
  EXPECT_TRUE(page.posted.empty());
  // Nothing was announced: the line the page still has as current shows.
  EXPECT_EQ(selected(), 1);
}

TEST_F(ListFixture, EnterCommitsANewLineAndAnEmptyOneGoes) {
  ASSERT_TRUE(list->startNewLine());
  typeAndPress("Macro: Run", VK_RETURN);
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->lineText(2), "Macro: Run");
  EXPECT_EQ(selected(), 2);
  ASSERT_EQ(page.posted.size(), 1u);
  EXPECT_EQ(page.posted[0], Posted(MSG_LIST_ITEM_ADDED, 2, 4096));

  ASSERT_TRUE(list->startNewLine());
  typeAndPress("", VK_RETURN);
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(page.posted.size(), 1u);
  EXPECT_EQ(selected(), 2);
}

TEST_F(ListFixture, AFinishedEditIsHandedBackNotPosted) {
  // The page finishes the editor before it acts on a click elsewhere: it
  // takes the result at once, and no notification follows later.
  ASSERT_TRUE(list->startNewLine());
  SetWindowTextA(list->editorWindow(), "Macro: Now");
  const SkinListBox::EditCommit added = list->finishEdit();
  EXPECT_TRUE(added.added);
  EXPECT_EQ(added.index, 2);
  EXPECT_FALSE(list->editing());
  EXPECT_EQ(list->lineText(2), "Macro: Now");

  ASSERT_TRUE(list->startNewLine());
  SetWindowTextA(list->editorWindow(), "");
  const SkinListBox::EditCommit emptied = list->finishEdit();
  EXPECT_TRUE(emptied.removed);
  EXPECT_FALSE(emptied.added);
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(selected(), 2);
  EXPECT_FALSE(list->finishEdit().added);  // no editor: nothing
  PumpMessages();
  EXPECT_TRUE(page.posted.empty());
}

TEST_F(ListFixture, DoubleClickRenamesAndAnEmptiedNameKeepsTheOldText) {
  list->setRename(true);
  SendMessageA(list->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 30));
  ASSERT_TRUE(list->editing());
  EXPECT_EQ(list->editIndex(), 1);
  EXPECT_EQ(editorText(), "second");
  EXPECT_GT(SendMessageA(list->editorWindow(), EM_GETLIMITTEXT, 0, 0), 20);
  typeAndPress("", VK_RETURN);
  EXPECT_EQ(list->lineText(1), "second");
  EXPECT_TRUE(page.posted.empty());

  SendMessageA(list->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 30));
  typeAndPress("renamed", VK_RETURN);
  EXPECT_EQ(list->lineText(1), "renamed");
  EXPECT_EQ(list->lineData(1), 0x00020000u);  // the page's data stays with the line
  EXPECT_EQ(list->count(), 2);
  ASSERT_EQ(page.posted.size(), 1u);
  EXPECT_EQ(page.posted[0], Posted(MSG_LIST_ITEM_EDITED, 1, 4096));

  list->setRename(false);
  SendMessageA(list->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 10));
  EXPECT_FALSE(list->editing());
}

TEST_F(ListFixture, ClickingBackIntoTheListCommitsAsEnter) {
  ASSERT_TRUE(list->startNewLine());
  SetWindowTextA(list->editorWindow(), "Macro: Click");
  SendMessageA(list->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
  SendMessageA(list->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
  PumpMessages();
  EXPECT_FALSE(list->editing());
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->lineText(2), "Macro: Click");
  // The click then selected its own line, as any click does.
  ASSERT_EQ(page.posted.size(), 2u);
  EXPECT_EQ(page.posted[0], Posted(WM_COMMAND, MAKEWPARAM(50, LBN_SELCHANGE), 0));
  EXPECT_EQ(page.posted[1], Posted(MSG_LIST_ITEM_ADDED, 2, 4096));
}

TEST_F(ListFixture, SelectedLineEditsAValueRightOfThePicture) {
  list->insertLine(0, "250 ms", 0x00030001);
  SendMessageA(list->hwnd(), LB_SETCURSEL, 0, 0);
  ASSERT_TRUE(list->editSelected());
  EXPECT_EQ(SendMessageA(list->editorWindow(), EM_GETLIMITTEXT, 0, 0), 20);
  EXPECT_EQ(editorRect().left, 26 + 5);
  // An existing line survives an emptied value and a cancel.
  typeAndPress("", VK_RETURN);
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(list->lineText(0), "250 ms");
  ASSERT_TRUE(list->editSelected());
  typeAndPress("x", VK_ESCAPE);
  EXPECT_EQ(list->lineText(0), "250 ms");
  EXPECT_TRUE(page.posted.empty());

  ASSERT_TRUE(list->editSelected());
  typeAndPress("300", VK_RETURN);
  EXPECT_EQ(list->lineText(0), "300");
  EXPECT_EQ(list->lineData(0), 0x00030001u);
  ASSERT_EQ(page.posted.size(), 1u);
  EXPECT_EQ(page.posted[0], Posted(MSG_LIST_ITEM_ADDED, 0, 4096));

  SendMessageA(list->hwnd(), LB_SETCURSEL, WPARAM(-1), 0);
  EXPECT_FALSE(list->editSelected());
}

TEST_F(ListFixture, LinesDrawColoursPicturesAndIndents) {
  SendMessageA(list->hwnd(), LB_RESETCONTENT, 0, 0);
  list->addLine("pic", IDB_TEST_LIST_PICTURE);
  list->addLine("selected", 0);
  list->addLine("WWW", 1);  // slot reserved, nothing drawn
  list->addLine("WWW", 0);
  SendMessageA(list->hwnd(), LB_SETCURSEL, 1, 0);
  RedrawWindow(list->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(list->hwnd());
  EXPECT_EQ(GetPixel(dc, 5 + 8, 2 + 6), RGB(255, 128, 0));  // the picture
  EXPECT_EQ(GetPixel(dc, 5, 2), kBack);                     // its black corner is transparent
  EXPECT_EQ(GetPixel(dc, 120, 30), kFill);                  // selected line
  EXPECT_EQ(GetPixel(dc, 120, 10), kBack);
  auto firstInk = [&](int top) {
    for (int x = 0; x < 120; ++x)
      for (int y = top + 2; y < top + 18; ++y)
        if (GetPixel(dc, x, y) != kBack) return x;
    return -1;
  };
  int reserved = firstInk(40), plain = firstInk(60);
  bool textColoured = false;
  for (int x = 30; x < 80 && !textColoured; ++x)
    for (int y = 62; y < 78 && !textColoured; ++y) textColoured = GetPixel(dc, x, y) == kText;
  ReleaseDC(list->hwnd(), dc);
  EXPECT_GE(reserved, 31);
  EXPECT_GE(plain, 5);
  EXPECT_LT(plain, 31);
  EXPECT_TRUE(textColoured);
}

TEST_F(ListFixture, WheelHoverAndRightClick) {
  for (int i = 0; i < 30; ++i) list->addLine("line " + std::to_string(i), 0);
  SendMessageA(list->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-360)), 0);
  EXPECT_EQ(SendMessageA(list->hwnd(), LB_GETTOPINDEX, 0, 0), 3);
  SendMessageA(list->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(SendMessageA(list->hwnd(), LB_GETTOPINDEX, 0, 0), 2);

  SendMessageA(list->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(30, 45));
  EXPECT_EQ(list->hoveredLine(), 4);
  SendMessageA(list->hwnd(), LB_RESETCONTENT, 0, 0);
  list->addLine("only", 0);
  SendMessageA(list->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(30, 70));
  EXPECT_EQ(list->hoveredLine(), -1);

  // The right click selects the line under it, as a click would, before the
  // page's menu acts on the selection.
  list->addLine("other", 0);
  SendMessageA(list->hwnd(), LB_SETCURSEL, 1, 0);
  SendMessageA(list->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 10));
  SendMessageA(list->hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(30, 10));
  PumpMessages();
  EXPECT_EQ(selected(), 0);
  ASSERT_EQ(page.posted.size(), 2u);
  EXPECT_EQ(page.posted[0], Posted(WM_COMMAND, MAKEWPARAM(50, LBN_SELCHANGE), 0));
  EXPECT_EQ(page.posted[1], Posted(MSG_LIST_RCLICK, 0, 4096));
  // On the selected line, or below every line, the selection stays.
  SendMessageA(list->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 90));
  PumpMessages();
  EXPECT_EQ(selected(), 0);
  EXPECT_EQ(page.posted.size(), 3u);
}

TEST(SkinListBoxDropDown, LosingTheFocusClosesTheParent) {
  HWND dropDown = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 160, 120, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
  HWND other = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE, 200, 0, 60, 20, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SkinListBox* list = SkinListBox::Create(dropDown, 1, ParseSkinPosition("L,0,0,160,120,"));
  ASSERT_NE(list, nullptr);
  SetForegroundWindow(dropDown);
  SetFocus(list->hwnd());
  ASSERT_TRUE(list->startNewLine());  // focus into its own editor keeps it open
  EXPECT_TRUE(IsWindow(dropDown));
  SetFocus(list->hwnd());
  EXPECT_TRUE(IsWindow(dropDown));
  SetFocus(other);
  PumpMessages();
  EXPECT_FALSE(IsWindow(dropDown));
  DestroyWindow(other);
}
