#include "MenuFrameHook_win.h"

#include <gtest/gtest.h>

#include "SkinMessages.h"
#include "TestSkin_win.h"

namespace {
// A pop-up menu window as the system makes it for a tracked menu.
HWND makeMenuWindow() {
  return CreateWindowExA(0, "#32768", "", WS_POPUP, 10, 10, 80, 60, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}
}  // namespace

TEST(MenuFrameHook, MenusOpenedAndClosedTwiceLeaveNothingBehind) {
  ASSERT_TRUE(InstallMenuFrameHook());
  for (int round = 0; round < 2; ++round) {
    HWND menu = makeMenuWindow();
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(GetPropA(menu, kMenuOldProcProperty), nullptr);
    EXPECT_EQ(MenuFrameHookEntries(), 1u);
    ShowWindow(menu, SW_SHOWNOACTIVATE);
    RedrawWindow(menu, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    ShowWindow(menu, SW_HIDE);  // closing restores the window at once
    EXPECT_EQ(GetPropA(menu, kMenuOldProcProperty), nullptr);
    EXPECT_EQ(MenuFrameHookEntries(), 0u);
    DestroyWindow(menu);
  }
  // A menu destroyed while shown is also let go.
  HWND shown = makeMenuWindow();
  EXPECT_EQ(MenuFrameHookEntries(), 1u);
  DestroyWindow(shown);
  EXPECT_EQ(MenuFrameHookEntries(), 0u);

  // Ordinary windows are left alone; after removal nothing is subclassed.
  HWND plain = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(GetPropA(plain, kMenuOldProcProperty), nullptr);
  DestroyWindow(plain);
  HWND kept = makeMenuWindow();
  RemoveMenuFrameHook();
  EXPECT_EQ(GetPropA(kept, kMenuOldProcProperty), nullptr);
  EXPECT_EQ(MenuFrameHookEntries(), 0u);
  DestroyWindow(kept);
  HWND after = makeMenuWindow();
  EXPECT_EQ(GetPropA(after, kMenuOldProcProperty), nullptr);
  DestroyWindow(after);
}
