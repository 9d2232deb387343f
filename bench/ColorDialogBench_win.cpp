// From a swatch click to the colour dialog painted (field, hue bar, preview,
// number fields and all), beside the baseline of the same skinned window
// without its controls. The end is the first timer message after showing:
// timers come only when no window of the thread waits for its paint.
//   color_dialog_bench.exe <program folder> [runs]
// The skins are found beside the program, so the bench runs a copy of itself
// from the program folder. Goal: under 200 ms, where a dialog still appears
// at once to the eye.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ColorSelectDialog_win.h"
#include "ProgramFolder_win.h"
#include "SkinHelp_win.h"

namespace {
constexpr UINT_PTR kPaintedTimer = 77;
constexpr int kDefaultRuns = 10;
constexpr Color kStartColour = 0x3080FF;

double nowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

// Ends its modal loop at the first timer message after everything is painted.
template <typename Dialog>
class Timed : public Dialog {
 public:
  double paintedAt = 0;

 protected:
  void onInit() override {
    Dialog::onInit();
    SetTimer(this->hwnd(), kPaintedTimer, USER_TIMER_MINIMUM, nullptr);
  }
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_TIMER && wParam == kPaintedTimer && !HIWORD(GetQueueStatus(QS_PAINT))) {
      paintedAt = nowMs();
      KillTimer(this->hwnd(), kPaintedTimer);
      this->end(IDCANCEL);
      return 0;
    }
    return Dialog::onMessage(message, wParam, lParam);
  }
};

// The colour dialog's skin alone: picture, outline and window, no controls.
class BareDialog : public SkinDialog {
 public:
  void run(HWND owner) {
    runModal({"skin_Color_Select.ini", SkinRoot() + "LightFX\\", {}, {}}, "Bare", owner);
  }
};

template <typename Work>
double medianMs(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(work());
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Runs the copy of this program in `folder`; its exit code.
int runFrom(const std::string& folder, int runs) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string copy = folder + "color_dialog_bench.exe";
  if (!CopyFileA(self, copy.c_str(), FALSE)) {
    std::printf("cannot copy the bench into %s\n", folder.c_str());
    return 1;
  }
  std::string command = "\"" + copy + "\" \"" + folder + "\" " + std::to_string(runs);
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    return 1;
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  DeleteFileA(copy.c_str());
  return int(code);
}
}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : kDefaultRuns;
  if (GetFileAttributesA((SkinRoot() + "LightFX\\skin_Color_Select.ini").c_str()) ==
      INVALID_FILE_ATTRIBUTES) {
    if (argc < 2) {
      std::printf("usage: color_dialog_bench.exe <program folder> [runs]\n");
      return 1;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return runFrom(folder, runs);
  }
  LoadSkinFonts();
  HWND owner = CreateWindowExA(0, "STATIC", "Colour dialog bench", WS_POPUP | WS_VISIBLE, 0, 0, 1060, 620,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  const double dialog = medianMs(runs, [&] {
    Timed<ColorSelectDialog> d;
    const double start = nowMs();
    d.choose(owner, kStartColour);
    return d.paintedAt - start;
  });
  const double bare = medianMs(runs, [&] {
    Timed<BareDialog> d;
    const double start = nowMs();
    d.run(owner);
    return d.paintedAt - start;
  });
  std::printf("swatch click to colour dialog painted: %.1f ms (median of %d)\n", dialog, runs);
  std::printf("baseline, the same skinned window without controls: %.1f ms\n", bare);
  std::printf("the controls' share: %.1f ms; goal: the whole under 200 ms\n", dialog - bare);
  DestroyWindow(owner);
  return 0;
}
