// The least a program with a window costs under Wine: it shows one window of
// the main window's size, painted red, and ends when the window is closed.
// The option bench starts it beside Option.exe for a baseline.
#include <windows.h>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      HBRUSH red = CreateSolidBrush(RGB(200, 0, 0));
      FillRect(dc, &ps.rcPaint, red);
      DeleteObject(red);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.lpszClassName = "QuillonBareWindow";
  RegisterClassA(&wc);
  CreateWindowExA(0, wc.lpszClassName, "Quillon bare window", WS_POPUP | WS_VISIBLE, 100, 100, 1060, 620,
                  nullptr, nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
