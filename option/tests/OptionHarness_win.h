#pragma once
// Runs the real Option.exe (and Monitor.exe on the emulated keyboard) from a
// private copy of the program folder and drives it as a user does: real X
// mouse and key input at the places the skin files give, through the input
// relay of tools/session.sh. Results are read at the keyboard's trace, in
// the shared block and in the files.
//
//   class MyTest : public OptionHarness {};
//   TEST_F(MyTest, X) {
//     startWithEmulatedKeyboard();
//     startOption();
//     const size_t mark = traceSize();
//     click(mainControl(kApply));
//     auto downloads = waitForDownloads(mark, 1);
//   }

#include <functional>
#include <string>
#include <vector>

#include "DownloadTrace.h"
#include "KeyboardPictureRules.h"
#include "MonitorHarness_win.h"
#include "SkinPosition.h"

namespace harness {

// Runs xdotool with `args` on the session's display; false when it failed or
// no relay runs (the test is then skipped by the harness).
bool xdotool(const std::string& args, std::string* output = nullptr);
bool inputRelayAvailable();

using Download = std::vector<emu::ReceivedReport>;

class OptionHarness : public MonitorHarness {
 protected:
  // BUTTONPOS keys of the main window.
  enum MainControl {
    kTabWindowsKey = 1,
    kTabLighting = 2,
    kPreview = 5,
    kFirstSelector = 7,
    kFirstProfilePage = 13,
    kReset = 19,
    kApply = 20,
    kClose = 22,
  };
  static constexpr int kMainIdBase = 100;  // control id = base + key

  void SetUp() override;
  void TearDown() override;

  // Starts Option.exe and waits for its window to be shown and painted.
  void startOption();
  PROCESS_INFORMATION startOptionProcess();
  HWND optionWindow() const;
  bool optionRunning() const;

  // Skin INI entries of the private program folder.
  SkinPosition position(const std::string& ini, const char* section, int key) const;
  // Screen point at the centre of BUTTONPOS `key` of `ini`, in a window whose
  // client area starts at `origin` (screen coordinates).
  POINT centreOf(const std::string& ini, int key, POINT origin) const;
  POINT clientOrigin(HWND window) const;
  POINT mainControl(int key) const;
  POINT keyboardKey(int keyIndex) const;
  POINT winKeyButton(int key) const;  // 1 off, 2 on, 3 help
  // The keyboard picture: one window that draws its keys and LEDs and answers
  // what it shows of each; the screen point at the centre of LED `led`.
  HWND keyboardPicture() const;
  PictureItemReport pictureKey(int keyIndex) const;
  PictureItemReport pictureLed(int led) const;
  POINT keyboardLed(int led) const;
  HWND mainButton(int key) const { return GetDlgItem(optionWindow(), kMainIdBase + key); }

  void click(POINT screen, int button = 1);
  void doubleClick(POINT screen);
  void key(const std::string& keys);
  // Clicks the centre of BUTTONPOS `key` of `ini` in `window`.
  void clickOn(HWND window, const std::string& ini, int key, int button = 1) {
    click(centreOf(ini, key, clientOrigin(window)), button);
  }
  // The keyboard: the X focus to the window titled `title`, the control of
  // Option.exe that has the focus, and Tab pressed, once at a time, each time
  // waiting for the focus to move, until `reached` holds (null after `limit`).
  void focusWindowTitled(const std::string& title);
  HWND focusedControl() const;
  HWND tabUntil(const std::function<bool(HWND)>& reached, int limit = 60);
  // A top-level window of Option.exe with this title, once visible.
  HWND waitForWindow(const char* title, DWORD ms = 10000);
  bool closed(HWND window, DWORD ms = 5000) const {
    return harness::waitFor([&] { return !IsWindow(window); }, ms);
  }
  // Opens the page of profile `page` (1..5) from the main window.
  HWND openProfilePage(int page) {
    click(mainControl(kFirstProfilePage + page - 1));
    return waitForWindow(("Profile " + std::to_string(page)).c_str());
  }
  static std::string profilePageIni(int page) {
    return "buttons\\skin_profile" + std::to_string(page) + ".ini";
  }

  // The screen under `window` as 0x00RRGGBB pixels, top row first; written
  // to `bmp` (a path) too when one is given.
  struct Capture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    size_t colours() const;  // distinct colours, counted up to 1000
  };
  Capture capture(HWND window, const std::string& bmp = {}) const;
  // The screen's pixels in `area` of `window` (window coordinates), row by row.
  std::vector<uint32_t> pixelsOf(HWND window, const RECT& area) const;
  // The lines of a list box of another process, in order.
  static std::vector<std::string> listLines(HWND list);

  size_t traceSize() const { return readTrace().size(); }
  std::vector<Download> downloadsSince(size_t traceLine) const;
  // Waits until `count` whole downloads arrived after `traceLine`.
  std::vector<Download> waitForDownloads(size_t traceLine, size_t count, DWORD ms = 20000) const;
  // The Apply button enabled again: the busy state is over.
  bool waitApplyEnabled(DWORD ms = 20000) const;
  // Apply clicked; one download arrives and the busy state ends.
  void applyAndWait();
  // The main window's close button, and the question about changes not
  // applied answered with `answer` (BUTTONPOS of skin_unapplied_warn.ini).
  enum CloseAnswer { kAnswerApply = 1, kAnswerDiscard = 2, kAnswerCancel = 3 };
  void closeAnswering(CloseAnswer answer);

  // Writes a profile file of the private folder before the programs start.
  void writeProfile(int profile, void (*change)(ProfileRecord&));
  // Links `programs` programs to profile page `page` (1..5): its list file
  // and the profile's links, as the program saves them (after writeProfile).
  void writeAppList(int page, int programs);
  std::string configPath() const { return folder_ + "config.ini"; }

  PROCESS_INFORMATION option_ = {};
  // The skin's scale the window is expected at: position() scales by it.
  int skinScale_ = 100;

 private:
  void clickTimes(POINT screen, int button, int times);
};

}  // namespace harness
