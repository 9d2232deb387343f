// The key assignment page's open time: from the key click's handler to the
// page shown and painted with its six sub-pages, beside the same skin opened
// as a bare dialog. key_page_bench.exe <program folder> [runs]
// The page reads its skins beside the program, so the bench runs a copy of
// itself from the program folder.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "KeyAssignPage_win.h"
#include "OptionHost_win.h"

namespace {
constexpr int kDefaultRuns = 20;
constexpr int kBenchKey = 30;
constexpr UINT kMeasured = WM_APP + 1;
constexpr char kCopyName[] = "key_page_bench.exe";

double nowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

class BenchHost : public OptionHost {
 public:
  explicit BenchHost(HWND window) : window_(window) {}
  OptionDocument& document() override { return doc_; }
  std::string text(int languageId) const override { return "Text " + std::to_string(languageId); }
  void edited() override {}
  void keyboardPictureChanged() override {}
  HWND window() const override { return window_; }

 private:
  OptionDocument doc_;
  HWND window_;
};

// Ends itself once it is on the screen and painted; posted messages come
// before the first WM_PAINT, so the handler paints first.
template <typename Page>
class Timed : public Page {
 public:
  using Page::Page;
  double shownAt = 0;

 protected:
  void onInit() override {
    Page::onInit();
    PostMessageA(this->hwnd(), kMeasured, 0, 0);
  }
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != kMeasured) return Page::onMessage(message, wParam, lParam);
    RedrawWindow(this->hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    shownAt = nowMs();
    this->end(IDCANCEL);
    return 0;
  }
};

class BareSkin : public SkinDialog {
 public:
  bool open(HWND owner) {
    return runModal({"buttons\\skin_set_button.ini", SkinRoot(), {}, {}}, "Bare", owner) == IDOK;
  }
};

template <typename Open>
double medianMs(int runs, Open open) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(open());
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}


int runFrom(const std::string& folder, const std::string& runs) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string copy = folder + kCopyName;
  if (!CopyFileA(self, copy.c_str(), FALSE)) return 1;
  std::string line = "\"" + copy + "\" - " + runs;
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  DWORD code = 1;
  if (CreateProcessA(copy.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    WaitForSingleObject(pi.hProcess, INFINITE);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  DeleteFileA(copy.c_str());
  return int(code);
}
}  // namespace

int main(int argc, char** argv) {
  const std::string runsText = argc > 2 ? argv[2] : std::to_string(kDefaultRuns);
  if (argc > 1 && std::string(argv[1]) != "-") {
    std::string folder = argv[1];
    if (folder.back() != '\\') folder += '\\';
    return runFrom(folder, runsText);
  }
  const int runs = std::max(1, std::atoi(runsText.c_str()));
  HWND owner = CreateWindowExA(0, "STATIC", "Key page bench", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  BenchHost host(owner);
  EditEntry entry = host.activeProfile().keys[kBenchKey];
  entry.keyIndex = kBenchKey;

  const double bare = medianMs(runs, [&] {
    Timed<BareSkin> page;
    const double start = nowMs();
    page.open(owner);
    return page.shownAt - start;
  });
  const double full = medianMs(runs, [&] {
    Timed<KeyAssignPage> page(host, entry);
    const double start = nowMs();
    page.open(owner);
    return page.shownAt - start;
  });
  std::printf("key page open, median of %d: %.1f ms (bare skin %.1f ms)\n", runs, full, bare);
  DestroyWindow(owner);
  return 0;
}
