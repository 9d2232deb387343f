#include "SkinMenu_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "MenuFrameHook_win.h"
#include "SkinMessages.h"
#include "TestSkin_win.h"

namespace {

// The menu loop is modal: the test looks at the open menu from a timer that
// the loop dispatches, one step per tick, and closes it with keys.
struct MenuProbe {
  std::vector<std::function<bool()>> steps;  // a step returns false to be tried again
  size_t next = 0;
  int ticks = 0;
};
MenuProbe* g_probe = nullptr;

void CALLBACK probeTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_probe) return;
  ++g_probe->ticks;
  if (g_probe->next < g_probe->steps.size() && g_probe->steps[g_probe->next]()) {
    ++g_probe->next;
    g_probe->ticks = 0;
  }
  // A step that never comes true, or keys that never close the menu.
  if (g_probe->ticks > 200) EndMenu();
}

HWND openMenuWindow() {
  HWND menu = FindWindowA("#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

COLORREF windowPixel(HWND window, int x, int y) {
  HDC dc = GetWindowDC(window);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

struct Owner {
  HWND hwnd = nullptr;
  std::vector<WPARAM> commands;
  static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (self && m == WM_COMMAND) self->commands.push_back(wp);
    return DefWindowProcA(w, m, wp, lp);
  }
  Owner() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuillonMenuOwner";
    RegisterClassA(&wc);
    hwnd = CreateWindowExA(0, wc.lpszClassName, "Menu owner", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100,
                           nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetForegroundWindow(hwnd);
    PumpMessages();
  }
  ~Owner() { DestroyWindow(hwnd); }
};

void key(HWND owner, WPARAM vk) {
  PostMessageA(owner, WM_KEYDOWN, vk, 1);
  PostMessageA(owner, WM_KEYUP, vk, 0xC0000001);
}

}  // namespace

TEST(SkinMenu, WidthGrowsWithTheLongestTextFromTheMinimum) {
  SkinMenu menu;
  menu.setMinimumWidth(133);
  menu.append(1001, "short");
  EXPECT_EQ(menu.width(), 133);
  menu.append(1002, "twenty characters!!!");
  EXPECT_EQ(menu.width(), 160);
  menu.append(kMenuSeparatorCommand, "");
  EXPECT_EQ(menu.width(), 160);
  EXPECT_EQ(GetMenuItemCount(menu.handle()), 3);
  MENUITEMINFOA info{sizeof info, MIIM_FTYPE};
  GetMenuItemInfoA(menu.handle(), 2, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  EXPECT_TRUE(info.fType & MFT_SEPARATOR);
}

TEST(SkinMenu, TrackedMenuIsDrawnInTheSkinColoursAndReportsTheChoice) {
  ASSERT_TRUE(InstallMenuFrameHook());
  Owner owner;
  for (int round = 0; round < 2; ++round) {
    auto menu = std::make_unique<SkinMenu>("Play", 14, FW_NORMAL);
    menu->setMinimumWidth(133);
    menu->append(1001, "twenty characters!!!");
    menu->append(kMenuSeparatorCommand, "");
    menu->append(1002, "Marked", true, true);
    SkinMenu* sub = menu->appendSubMenu("More", 40);
    ASSERT_NE(sub, nullptr);
    sub->append(2001, "Inner");
    menu->append(1003, "Checked");
    menu->check(1003, true);
    HMENU handle = menu->handle(), subHandle = sub->handle();
    HFONT font = menu->font(), subFont = sub->font();

    MenuProbe probe;
    RECT first{}, separator{};
    HWND shown = nullptr;
    COLORREF frame = 0, inner = 0, rest = 0, line = 0, selected = 0;
    size_t entries = 0;
    MEASUREITEMSTRUCT measured[2] = {};
    probe.steps.push_back([&] {
      shown = openMenuWindow();
      if (!shown) return false;
      entries = MenuFrameHookEntries();
      // Ask the owner as the system does while the menu is up.
      for (UINT i = 0; i < 2; ++i) {
        MENUITEMINFOA info{sizeof info, MIIM_DATA | MIIM_ID};
        GetMenuItemInfoA(handle, i, TRUE, &info);
        measured[i] = {ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
        SendMessageA(owner.hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measured[i]));
      }
      GetMenuItemRect(nullptr, handle, 0, &first);
      GetMenuItemRect(nullptr, handle, 1, &separator);
      RECT window;
      GetWindowRect(shown, &window);
      int ox = first.left - window.left, oy = first.top - window.top;
      frame = windowPixel(shown, 0, 0);
      inner = windowPixel(shown, 1, 1);
      rest = windowPixel(shown, ox + 150, oy + 10);
      line = windowPixel(shown, ox + 50, separator.top - window.top + 2);
      key(owner.hwnd, VK_DOWN);
      return true;
    });
    probe.steps.push_back([&] {
      RECT window;
      GetWindowRect(shown, &window);
      selected = windowPixel(shown, first.left - window.left + 150, first.top - window.top + 10);
      if (selected != RGB(0xFF, 0, 0)) return false;  // the key is not handled yet
      key(owner.hwnd, VK_RETURN);
      return true;
    });
    g_probe = &probe;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, probeTick);
    EXPECT_TRUE(menu->track(owner.hwnd, 120, 120));
    KillTimer(nullptr, timer);
    g_probe = nullptr;
    PumpMessages();

    ASSERT_NE(shown, nullptr) << "round " << round;
    EXPECT_EQ(measured[0].itemWidth, 160u);
    EXPECT_EQ(measured[0].itemHeight, 20u);
    EXPECT_EQ(measured[1].itemHeight, 5u);
    // The system adds its own check-mark room to that width.
    EXPECT_GE(first.right - first.left, 160);
    EXPECT_EQ(first.bottom - first.top, 20);
    EXPECT_EQ(separator.bottom - separator.top, 5);
    EXPECT_EQ(entries, 1u);
    EXPECT_EQ(frame, RGB(0xFF, 0, 0));
    EXPECT_EQ(inner, RGB(0x12, 0x12, 0x12));
    EXPECT_EQ(rest, RGB(0x12, 0x12, 0x12));
    EXPECT_EQ(line, RGB(0xFF, 0, 0));
    EXPECT_EQ(selected, RGB(0xFF, 0, 0));
    ASSERT_EQ(owner.commands.size(), size_t(round + 1));
    EXPECT_EQ(LOWORD(owner.commands.back()), 1001);

    // Closed: nothing of the menu is left on windows, in the hook or in GDI.
    EXPECT_EQ(MenuFrameHookEntries(), 0u);
    if (IsWindow(shown)) {
      EXPECT_EQ(GetPropA(shown, kMenuOldProcProperty), nullptr);
    }
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, 1001, 0, 0, 0};
    EXPECT_EQ(SendMessageA(owner.hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), 0);
    menu.reset();
    EXPECT_FALSE(IsMenu(handle));
    EXPECT_FALSE(IsMenu(subHandle));
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(GetObjectType(subFont), 0u);
  }
  RemoveMenuFrameHook();
}
