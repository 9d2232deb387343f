#include "OptionHarness_win.h"

#include <winsock2.h>

#include <cstdlib>
#include <memory>
#include <set>

#include "FolderTree_win.h"
#include "ListFiles.h"
#include "OptionMessages.h"
#include "ProfileFiles.h"

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
  return ParseSkinPosition(value);
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

void OptionHarness::click(POINT screen, int button) {
  EXPECT_TRUE(xdotool("mousemove --sync " + std::to_string(screen.x) + " " + std::to_string(screen.y) +
                      " click " + std::to_string(button)));
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
}

}  // namespace harness
