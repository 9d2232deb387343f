// What a skinned window's start costs, piece by piece: decoding its pictures,
// cutting state images, making picture buttons, and the whole load of the
// main window and of the keyboard picture. Run under Wine from the bin folder:
//   skin_load_bench.exe <program folder> [runs]
// Prints figures; judges nothing.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchCommon_win.h"
#include "Picture_win.h"
#include "SkinButton_win.h"
#include "SkinHelp_win.h"
#include "SkinLoader_win.h"
#include "SkinWindow_win.h"

namespace {

class ButtonWindow : public SkinWindow {
 protected:
  HWND createControl(int ordinal, int, const SkinPosition& position,
                     const SkinStatePictures& pictures) override {
    SkinButton* button = SkinButton::Create(hwnd(), 100 + ordinal, position, pictures);
    return button ? button->hwnd() : nullptr;
  }
};

template <typename Work>
std::vector<double> timed(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = nowMs();
    work();
    times.push_back(nowMs() - start);
  }
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  BenchArgs args;
  if (!parseBenchArgs(argc, argv, "skin_load_bench", args)) return 2;
  const std::string skins = args.dist + "skins\\";
  LoadSkinFonts();
  std::printf("Skin loading, %d runs (median, min..max)\n", args.runs);

  UniqueBitmap picture;
  SIZE size{};
  auto screen_ = [&](const char* ini, const char* key) {
    return skins + ReadSkinString(skins + ini, "SCREEN", key);
  };
  const std::string mainPicture = screen_("skin_Config.ini", "Normal");
  printLine(("load " + mainPicture.substr(skins.size()) + " (1060 x 620)").c_str(),
            timed(args.runs, [&] { LoadPictureFile(mainPicture, picture, size); }), "ms");
  printLine("load the main window's mask",
            timed(args.runs, [&] { LoadPictureFile(screen_("skin_Config.ini", "Mask"), picture, size); }),
            "ms");
  printLine("load the keyboard picture (768 x 244)",
            timed(args.runs, [&] { LoadPictureFile(screen_("skin_main.ini", "Normal"), picture, size); }),
            "ms");

  UniqueBitmap source;
  LoadPictureFile(mainPicture, source, size);
  HDC screen = GetDC(nullptr);
  printLine("cut 100 state images of 30 x 30",
            timed(args.runs,
                  [&] {
                    UniqueBitmap cut;
                    for (int i = 0; i < 100; ++i)
                      CutStateImage(screen, cut, source.get(), i, i, i + 30, i + 30);
                  }),
            "ms");
  ReleaseDC(nullptr, screen);

  ButtonWindow host;
  host.create({"skin_Config.ini", skins, {}, {}}, "bench", nullptr, false);
  const SkinStatePictures pictures{source.get(), source.get(), source.get(), source.get()};
  printLine("make 100 picture buttons",
            timed(args.runs,
                  [&] {
                    std::vector<HWND> made;
                    for (int i = 0; i < 100; ++i) {
                      SkinPosition at{};
                      at.rect = {i, i, i + 30, i + 30};
                      if (SkinButton* b = SkinButton::Create(host.hwnd(), 1000 + i, at, pictures))
                        made.push_back(b->hwnd());
                    }
                    for (HWND w : made) DestroyWindow(w);
                  }),
            "ms");
  printLine("make 100 plain buttons",
            timed(args.runs,
                  [&] {
                    std::vector<HWND> made;
                    for (int i = 0; i < 100; ++i)
                      made.push_back(CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, i,
                                                     i, 30, 30, host.hwnd(), HMENU(INT_PTR(2000 + i)),
                                                     nullptr, nullptr));
                    for (HWND w : made) DestroyWindow(w);
                  }),
            "ms");
  printLine("load the main window (22 buttons)",
            timed(args.runs,
                  [&] {
                    ButtonWindow window;
                    window.create({"skin_Config.ini", skins, {{1, 22}}, {}}, "bench", nullptr, false);
                  }),
            "ms");
  printLine("load the keyboard picture (105 keys)",
            timed(args.runs,
                  [&] {
                    ButtonWindow window;
                    window.create({"skin_main.ini", skins, {{40, 105}}, {}}, "bench", nullptr, false);
                  }),
            "ms");
  removeTree(args.folder);
  return 0;
}
