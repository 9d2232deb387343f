#include "OptionHarness_win.h"

#include <winsock2.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <set>

#include "FolderTree_win.h"
#include "ListFiles.h"
#include "OptionMessages.h"
#include "ProfileFiles.h"
#include "SkinScale.h"

namespace harness {
namespace {

int relayPort() {
  const char* port = std::getenv("QUILLON_INPUT_RELAY");
  return port ? std::atoi(port) : 0;
}

}  // namespace

bool inputRelayAvailable() { return relayPort() > 0; }

bool xdotool(const std::string& args, std::string* output) {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  const int port = relayPort();
  if (!started || port <= 0) return false;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return false;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(u_short(port));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
    const std::string line = args + "\n";
    send(s, line.data(), int(line.size()), 0);
    char buffer[1024];
    for (int got; (got = recv(s, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, size_t(got));
  }
  closesocket(s);
  if (answer.empty()) return false;
  const size_t space = answer.find(' ');
  if (output) *output = space == std::string::npos ? "" : answer.substr(space + 1);
  return std::atoi(answer.c_str()) == 0;
}

void OptionHarness::SetUp() {
  if (!inputRelayAvailable()) GTEST_SKIP() << "no input relay: run through ./test or tools/session.sh";
  MonitorHarness::SetUp();
  // The real configuration window takes the stand-in's place.
  if (standIn_.hwnd) DestroyWindow(standIn_.hwnd);
  standIn_.hwnd = nullptr;
  ASSERT_TRUE(copy("Option.exe"));
  copy("Play-Regular.ttf");
  copy("Play-Bold.ttf");
  copyTree(dist_ + "skins\\", folder_ + "skins\\");
  xdotool("mousemove 0 0");
}

void OptionHarness::TearDown() {
  if (option_.hProcess) {
    if (WaitForSingleObject(option_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(option_.hProcess, 1);
      WaitForSingleObject(option_.hProcess, 5000);
    }
    CloseHandle(option_.hProcess);
    CloseHandle(option_.hThread);
    option_ = {};
  }
  MonitorHarness::TearDown();
}

PROCESS_INFORMATION OptionHarness::startOptionProcess() {
  std::string commandLine = "\"" + folder_ + "Option.exe\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  EXPECT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder_.c_str(), &startup, &process));
  return process;
}

void OptionHarness::startOption() {
  option_ = startOptionProcess();
  ASSERT_NE(waitForWindow(kOptionWindowTitle, 15000), nullptr);
  HWND window = optionWindow();
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  ASSERT_EQ(owner, option_.dwProcessId) << "another configuration program is running";
  // Painted once the window has answered a message after showing.
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  std::string id;
  xdotool("search --sync --onlyvisible --name \"^" + std::string(kOptionWindowTitle) + "$\"", &id);
}

HWND OptionHarness::optionWindow() const { return FindWindowA(nullptr, kOptionWindowTitle); }

bool OptionHarness::optionRunning() const {
  return option_.hProcess && WaitForSingleObject(option_.hProcess, 0) == WAIT_TIMEOUT;
}

void OptionHarness::focusWindowTitled(const std::string& title) {
  EXPECT_TRUE(xdotool("search --sync --onlyvisible --name '^" + title + "$' windowfocus --sync %1"));
}

HWND OptionHarness::focusedControl() const {
  GUITHREADINFO info{sizeof info};
  const DWORD thread = GetWindowThreadProcessId(optionWindow(), nullptr);
  return thread && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

HWND OptionHarness::tabUntil(const std::function<bool(HWND)>& reached, int limit) {
  HWND focus = focusedControl();
  for (int i = 0; i < limit && !(focus && reached(focus)); ++i) {
    const HWND before = focus;
    key("Tab");
    waitFor(
        [&] {
          focus = focusedControl();
          return focus != before;
        },
        2000);
  }
  return focus && reached(focus) ? focus : nullptr;
}

HWND OptionHarness::waitForWindow(const char* title, DWORD ms) {
  HWND found = nullptr;
  waitFor(
      [&] {
        found = FindWindowA(nullptr, title);
        return found && IsWindowVisible(found);
      },
      ms);
  return found && IsWindowVisible(found) ? found : nullptr;
}

SkinPosition OptionHarness::position(const std::string& ini, const char* section, int key) const {
  char value[2048] = {};
  GetPrivateProfileStringA(section, std::to_string(key).c_str(), "", value, sizeof value,
                           (folder_ + "skins\\" + ini).c_str());
  SkinPosition p = ParseSkinPosition(value);
  p.rect = ScaleSkinRect(p.rect, skinScale_);
  return p;
}

POINT OptionHarness::centreOf(const std::string& ini, int key, POINT origin) const {
  const SkinPosition p = position(ini, "BUTTONPOS", key);
  return {origin.x + (p.rect.left + p.rect.right) / 2, origin.y + (p.rect.top + p.rect.bottom) / 2};
}

POINT OptionHarness::clientOrigin(HWND window) const {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return origin;
}

POINT OptionHarness::mainControl(int key) const {
  return centreOf("skin_Config.ini", key, clientOrigin(optionWindow()));
}

POINT OptionHarness::keyboardKey(int keyIndex) const {
  POINT origin = clientOrigin(optionWindow());
  const SkinPosition page = position("skin_Config.ini", "PAGEPOSITION", 3);
  origin.x += page.rect.left;
  origin.y += page.rect.top;
  return centreOf("skin_main.ini", 40 + keyIndex, origin);
}

POINT OptionHarness::keyboardLed(int led) const {
  POINT origin = clientOrigin(optionWindow());
  const SkinPosition page = position("skin_Config.ini", "PAGEPOSITION", 3);
  origin.x += page.rect.left;
  origin.y += page.rect.top;
  return centreOf("skin_main.ini", 150 + led, origin);
}

HWND OptionHarness::keyboardPicture() const {
  return FindWindowExA(optionWindow(), nullptr, kKeyboardPictureClass, nullptr);
}

namespace {
PictureItemReport askPicture(HWND picture, WPARAM kind, int index) {
  DWORD_PTR answer = 0;
  if (!picture ||
      !SendMessageTimeoutA(picture, UM_PICTURE_ITEM, kind, index, SMTO_ABORTIFHUNG, 5000, &answer))
    return {};
  return DecodePictureItem(int64_t(answer));
}
}  // namespace

PictureItemReport OptionHarness::pictureKey(int keyIndex) const {
  return askPicture(keyboardPicture(), 0, keyIndex);
}

PictureItemReport OptionHarness::pictureLed(int led) const { return askPicture(keyboardPicture(), 1, led); }

POINT OptionHarness::winKeyButton(int key) const {
  POINT origin = clientOrigin(optionWindow());
  const SkinPosition page = position("skin_Config.ini", "PAGEPOSITION", 1);
  origin.x += page.rect.left;
  origin.y += page.rect.top;
  return centreOf("skin_win_key.ini", key, origin);
}

void OptionHarness::click(POINT screen, int button) { clickTimes(screen, button, 1); }

void OptionHarness::doubleClick(POINT screen) { clickTimes(screen, 1, 2); }

void OptionHarness::clickTimes(POINT screen, int button, int times) {
  // --sync waits until the pointer has moved, which it never does when it
  // stands there already: xdotool then gives up only after 15 s.
  const std::string x = std::to_string(screen.x), y = std::to_string(screen.y);
  std::string where;
  xdotool("getmouselocation", &where);
  const std::string move =
      where.rfind("x:" + x + " y:" + y + " ", 0) == 0 ? "" : "mousemove --sync " + x + " " + y + " ";
  const std::string repeat = times > 1 ? "--repeat " + std::to_string(times) + " --delay 80 " : "";
  EXPECT_TRUE(xdotool(move + "click " + repeat + std::to_string(button)));
  pump();
}

void OptionHarness::key(const std::string& keys) { EXPECT_TRUE(xdotool("key --delay 40 " + keys)); }

std::vector<Download> OptionHarness::downloadsSince(size_t traceLine) const {
  std::vector<std::string> lines;
  const std::vector<TraceLine> trace = readTrace();
  for (size_t i = traceLine; i < trace.size(); ++i)
    lines.push_back(std::to_string(trace[i].micros) + " " + trace[i].call);
  return emu::splitDownloads(emu::receivedReports(lines));
}

std::vector<Download> OptionHarness::waitForDownloads(size_t traceLine, size_t count, DWORD ms) const {
  std::vector<Download> got;
  waitFor(
      [&] {
        got = downloadsSince(traceLine);
        return got.size() >= count;
      },
      ms);
  return got;
}

bool OptionHarness::waitApplyEnabled(DWORD ms) const {
  return waitFor([&] { return IsWindowEnabled(mainButton(kApply)) != FALSE; }, ms);
}

OptionHarness::Capture OptionHarness::capture(HWND window, const std::string& bmp) const {
  Capture shot;
  RECT r;
  if (!window || !GetWindowRect(window, &r)) return shot;
  shot.width = r.right - r.left;
  shot.height = r.bottom - r.top;
  BITMAPINFOHEADER info{sizeof info, shot.width, -shot.height, 1, 32, BI_RGB};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP dib =
      CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, shot.width, shot.height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* px = static_cast<const uint32_t*>(bits);
  shot.pixels.assign(px, px + size_t(shot.width) * shot.height);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(dib);
  ReleaseDC(nullptr, screen);
  if (!bmp.empty()) {
    BITMAPFILEHEADER file{};
    const DWORD bytes = DWORD(shot.pixels.size() * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bytes;
    HANDLE f = CreateFileA(bmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      DWORD n = 0;
      WriteFile(f, &file, sizeof file, &n, nullptr);
      WriteFile(f, &info, sizeof info, &n, nullptr);
      WriteFile(f, shot.pixels.data(), bytes, &n, nullptr);
      CloseHandle(f);
    }
  }
  return shot;
}

size_t OptionHarness::Capture::colours() const {
  std::set<uint32_t> seen;
  for (uint32_t p : pixels) {
    seen.insert(p & 0xFFFFFF);
    if (seen.size() >= 1000) break;
  }
  return seen.size();
}

std::vector<uint32_t> OptionHarness::pixelsOf(HWND window, const RECT& area) const {
  const Capture shot = capture(window);
  std::vector<uint32_t> pixels;
  for (int y = area.top; y < area.bottom && y < shot.height; ++y)
    for (int x = area.left; x < area.right && x < shot.width; ++x) pixels.push_back(shot.at(x, y));
  return pixels;
}

std::vector<std::string> OptionHarness::listLines(HWND list) {
  std::vector<std::string> lines;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // Across processes the text arrives whole only through the wide call.
    wchar_t text[256] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0) < LRESULT(std::size(text)))
      SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
    char narrow[256] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    lines.push_back(narrow);
  }
  return lines;
}

void OptionHarness::applyAndWait() {
  const size_t mark = traceSize();
  click(mainControl(kApply));
  ASSERT_EQ(waitForDownloads(mark, 1).size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
}

void OptionHarness::closeAnswering(CloseAnswer answer) {
  click(mainControl(kClose));
  HWND question = waitForWindow("Not applied");
  ASSERT_NE(question, nullptr) << "no question about the changes not applied";
  Sleep(150);  // a quick user reads it first
  clickOn(question, "skin_unapplied_warn.ini", answer);
}

void OptionHarness::writeProfile(int profile, void (*change)(ProfileRecord&)) {
  auto record = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*record, profile);
  change(*record);
  ASSERT_TRUE(saveProfile(*record, profilePath(folder_, profile)));
}

void OptionHarness::writeAppList(int page, int programs) {
  AppList list;
  for (int i = 0; i < programs; ++i) addPath(list, "C:\\Games\\game" + std::to_string(i) + ".exe");
  ASSERT_TRUE(saveList(list, folder_, profileAppListFile(page)));
  // As the program saves them: the profile links the first twenty.
  auto record = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*record, page - 1);
  const std::string path = profilePath(folder_, page - 1);
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) loadProfile(*record, path);
  for (int i = 0; i < kLinkedAppCount; ++i)
    std::snprintf(record->linkedApps[i], sizeof record->linkedApps[i], "%s",
                  size_t(i) < list.size() ? list[size_t(i)].path : "");
  ASSERT_TRUE(saveProfile(*record, path));
}

}  // namespace harness
