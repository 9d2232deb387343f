#pragma once
// Builds a throw-away skin in a temporary folder: BMP pictures drawn from
// simple rules and an INI file naming them.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// colourAt(x, y) returns 0x00RRGGBB.
inline bool WriteTestBmp(const std::string& path, int w, int h,
                         const std::function<uint32_t(int, int)>& colourAt) {
  int stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> data(54 + size_t(stride) * h, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) data[at + i] = uint8_t(v >> (8 * i));
  };
  data[0] = 'B';
  data[1] = 'M';
  put32(2, uint32_t(data.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(w));
  put32(22, uint32_t(h));
  data[26] = 1;
  data[28] = 24;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = data.data() + 54 + size_t(h - 1 - y) * stride;
    for (int x = 0; x < w; ++x) {
      uint32_t c = colourAt(x, y);
      row[x * 3] = uint8_t(c);
      row[x * 3 + 1] = uint8_t(c >> 8);
      row[x * 3 + 2] = uint8_t(c >> 16);
    }
  }
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, data.data(), DWORD(data.size()), &written, nullptr) && written == data.size();
  CloseHandle(file);
  return ok;
}

inline std::string MakeTempFolder(const char* tag) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  std::string folder =
      std::string(base) + "quillon-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// A 200 x 120 window whose four 10 x 10 corners are outside the outline; each
// state picture has its own colour so tests can tell which one is shown.
struct TestSkin {
  static constexpr int kWidth = 200, kHeight = 120;
  static constexpr uint32_t kNormal = 0x202020, kOver = 0x00A000, kDown = 0xC00000, kDisabled = 0x606060;
  std::string folder;
  std::string ini = "skin_test.ini";

  explicit TestSkin(const char* tag, const std::vector<std::string>& positions) {
    folder = MakeTempFolder(tag);
    auto corner = [](int x, int y) { return (x < 10 || x >= kWidth - 10) && (y < 10 || y >= kHeight - 10); };
    WriteTestBmp(folder + "mask.bmp", kWidth, kHeight,
                 [&](int x, int y) { return corner(x, y) ? 0xFFFFFFu : 0u; });
    auto flat = [&](const char* name, uint32_t c) {
      // A lighter band on the left so the picture is not one flat colour.
      WriteTestBmp(folder + name, kWidth, kHeight, [&](int x, int) { return x < 20 ? c + 0x101010 : c; });
    };
    flat("normal.bmp", kNormal);
    flat("over.bmp", kOver);
    flat("down.bmp", kDown);
    flat("disabled.bmp", kDisabled);
    std::string path = folder + ini;
    auto put = [&](const char* section, const char* key, const std::string& value) {
      WritePrivateProfileStringA(section, key, value.c_str(), path.c_str());
    };
    put("SCREEN", "Mask", "mask.bmp");
    put("SCREEN", "Normal", "normal.bmp");
    put("SCREEN", "Over", "over.bmp");
    put("SCREEN", "Down", "down.bmp");
    put("SCREEN", "Disable", "disabled.bmp");
    for (size_t i = 0; i < positions.size(); ++i)
      put("BUTTONPOS", std::to_string(i + 1).c_str(), positions[i]);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // flush
  }
};

// Runs the thread's message queue until it is empty.
inline void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Pumps messages until `done` holds, for at most `ms` milliseconds. The
// system tells a control that the mouse left it with a posted message
// (WM_MOUSELEAVE) a moment after the move.
template <typename Predicate>
bool PumpUntil(Predicate done, DWORD ms = 2000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  }
  return true;
}
