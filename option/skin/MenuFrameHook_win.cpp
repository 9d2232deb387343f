#include "MenuFrameHook_win.h"

#include <memory>
#include <unordered_map>

#include "Handle_win.h"
#include "SkinMessages.h"

namespace {

constexpr UINT kMenuSizeWindow = 482;  // sent to a menu window when it is sized
constexpr COLORREF kFrameRed = 0x0000FF;
constexpr COLORREF kFrameDark = 0x121212;

UniqueHook g_hook;
std::unique_ptr<std::unordered_map<HWND, WNDPROC>> g_table;  // null while empty

WNDPROC previousProc(HWND window) {
  return reinterpret_cast<WNDPROC>(GetPropA(window, kMenuOldProcProperty));
}

void drawFrame(HWND window) {
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  RECT r;
  GetWindowRect(window, &r);
  OffsetRect(&r, -r.left, -r.top);
  COLORREF colours[] = {kFrameRed, kFrameDark, kFrameDark};
  for (COLORREF c : colours) {
    UniqueBrush brush(CreateSolidBrush(c));
    FrameRect(dc, &r, brush.get());
    InflateRect(&r, -1, -1);
  }
  ReleaseDC(window, dc);
}

void restore(HWND window) {
  WNDPROC old = previousProc(window);
  if (old) SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
  RemovePropA(window, kMenuOldProcProperty);
  if (g_table) {
    g_table->erase(window);
    if (g_table->empty()) g_table.reset();
  }
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC old = previousProc(window);
  if (!old) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCPAINT:
      drawFrame(window);
      return 0;
    case WM_PAINT: {
      // Where the system draws the menu's border inside the client (no
      // non-client area), the frame goes on after the items are painted.
      LRESULT result = CallWindowProcA(old, window, message, wParam, lParam);
      drawFrame(window);
      return result;
    }
    case WM_PRINT: {
      LRESULT result = CallWindowProcA(old, window, message, wParam, lParam);
      drawFrame(window);
      return result;
    }
    case WM_SHOWWINDOW:
      if (!wParam) {
        restore(window);
        return CallWindowProcA(old, window, message, wParam, lParam);
      }
      break;
    case WM_NCDESTROY:
      restore(window);
      return CallWindowProcA(old, window, message, wParam, lParam);
  }
  return CallWindowProcA(old, window, message, wParam, lParam);
}

void subclassMenu(HWND window) {
  char name[16] = {};
  if (!GetClassNameA(window, name, sizeof name) || lstrcmpA(name, "#32768") != 0) return;
  if (GetPropA(window, kMenuOldProcProperty)) return;
  LONG_PTR old = GetWindowLongPtrA(window, GWLP_WNDPROC);
  if (!old || !SetPropA(window, kMenuOldProcProperty, reinterpret_cast<HANDLE>(old))) return;
  if (!SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frameProc))) {
    RemovePropA(window, kMenuOldProcProperty);
    return;
  }
  if (!g_table) {
    g_table = std::make_unique<std::unordered_map<HWND, WNDPROC>>();
    g_table->reserve(1000);
  }
  (*g_table)[window] = reinterpret_cast<WNDPROC>(old);
}

LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == WM_CREATE || call->message == kMenuSizeWindow) subclassMenu(call->hwnd);
  }
  return CallNextHookEx(g_hook.get(), code, wParam, lParam);
}

}  // namespace

bool InstallMenuFrameHook() {
  if (g_hook) return true;
  g_hook.reset(SetWindowsHookExA(WH_CALLWNDPROC, hookProc, nullptr, GetCurrentThreadId()));
  return bool(g_hook);
}

void RemoveMenuFrameHook() {
  if (g_table) {
    std::unordered_map<HWND, WNDPROC> left = *g_table;
    for (auto& entry : left) restore(entry.first);
  }
  g_table.reset();
  g_hook.reset();
}

size_t MenuFrameHookEntries() { return g_table ? g_table->size() : 0; }
