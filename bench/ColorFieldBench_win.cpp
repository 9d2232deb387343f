// One repaint of the colour dialog's saturation x brightness field at its skin
// size (200 x 200), beside a plain FillRect of the same area and the
// pixel-by-pixel SetPixel way the field avoids. Goal: under 8 ms.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ColorField_win.h"

namespace {
constexpr int kSide = 200;
constexpr int kRuns = 50;

double nowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

template <typename Work>
double medianMs(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    double start = nowMs();
    work(i);
    times.push_back(nowMs() - start);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}
}  // namespace

int main() {
  HWND parent = CreateWindowExA(0, "STATIC", "Colour field bench", WS_POPUP | WS_VISIBLE, 0, 0, 260, 260,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SkinPosition position;
  position.rect = {16, 16, 16 + kSide, 16 + kSide};
  ColorField* field = ColorField::Create(parent, 1, position);
  if (!parent || !field) {
    std::printf("could not create the field\n");
    return 1;
  }
  HWND window = field->hwnd();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // first paint makes the DIB

  double render = medianMs(kRuns, [&](int i) {
    field->setValue({(i * 97) % kHueSteps, 600, 400});
    field->render();
  });
  double repaint = medianMs(kRuns, [&](int i) {
    field->setValue({(i * 97) % kHueSteps, 600, 400});
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  });
  HDC dc = GetDC(window);
  RECT area{0, 0, kSide, kSide};
  double fill = medianMs(kRuns, [&](int i) {
    HBRUSH brush = CreateSolidBrush(RGB(i, 128, 255 - i));
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    GdiFlush();
  });
  double setPixel = medianMs(3, [&](int) {
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) SetPixel(dc, x, y, RGB(x, y, 128));
    GdiFlush();
  });
  ReleaseDC(window, dc);

  std::printf("colour field %d x %d, median of %d runs\n", kSide, kSide, kRuns);
  std::printf("  gradient and marker into the DIB  %7.2f ms\n", render);
  std::printf("  full repaint on screen            %7.2f ms\n", repaint);
  std::printf("  baseline: FillRect of the area    %7.2f ms\n", fill);
  std::printf("  baseline: SetPixel per pixel      %7.2f ms (median of 3)\n", setPixel);
  std::printf("goal: full repaint under 8 ms: %s\n", repaint < 8.0 ? "met" : "MISSED");
  DestroyWindow(parent);
  return 0;
}
