// The configuration program without a mouse, with real X key input: Tab
// walks the main window to Apply and Space presses it, Escape leaves a
// profile page as Cancel and Enter as OK, the arrows walk the keyboard
// picture and Enter opens a key's page (Ctrl+Enter paints an LED), Alt+F4
// closes a page and Escape the main window; and every visible control has a name.

#include <memory>
#include <string>

#include "OptionHarness_win.h"
#include "SharedBlock_win.h"
#include "SkinFocus_win.h"

namespace {

using namespace harness;

constexpr char kKeyPageTitle[] = "Key Assignment";
constexpr DWORD kShort = 5000;
constexpr int kQuickUserMs = 150;  // a quick user's pause after a window change
constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;
enum PageControl { kResetProfile = 6 };

std::string textOf(HWND window) {
  WCHAR text[128] = {};
  InternalGetWindowText(window, text, 128);
  std::string narrow;
  for (const WCHAR* c = text; *c; ++c) narrow += char(*c < 128 ? *c : '?');
  return narrow;
}

class OptionKeyboard : public OptionHarness {
 protected:
  // Captures kept beside the test program, for a look at the focus mark.
  std::string shotPath(const char* name) const {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\') + 1) + name;
  }
  // The names of the visible controls of `window` that have none.
  static std::string unnamedIn(HWND window) {
    std::string list;
    for (HWND unnamed : UnnamedControls(window)) {
      char name[64] = {};
      GetClassNameA(unnamed, name, sizeof name);
      RECT r;
      GetWindowRect(unnamed, &r);
      MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
      list += std::string(name) + "#" + std::to_string(GetDlgCtrlID(unnamed)) + "@" + std::to_string(r.left) +
              "," + std::to_string(r.top) + "/" + std::to_string(r.right - r.left) + "x" +
              std::to_string(r.bottom - r.top) + (GetParent(unnamed) == window ? "" : "(deeper)") +
              (IsWindowEnabled(unnamed) ? "" : "(off)") + " ";
    }
    return list;
  }
  // The keyboard at the picture; the focus mark starts on its first key.
  HWND tabToPicture() {
    focusWindowTitled(kOptionWindowTitle);
    HWND picture = keyboardPicture();
    return tabUntil([&](HWND focus) { return focus == picture; });
  }
  std::unique_ptr<SettingsImage> applied() {
    SharedBlock block;
    auto image = std::make_unique<SettingsImage>();
    EXPECT_TRUE(block.open() && block.copyFromBlock(*image));
    return image;
  }
};

TEST_F(OptionKeyboard, TabAloneReachesApplyAndSpacePressesIt) {
  startWithEmulatedKeyboard();
  startOption();
  focusWindowTitled(kOptionWindowTitle);
  HWND apply = mainButton(kApply);
  ASSERT_NE(apply, nullptr);
  ASSERT_EQ(tabUntil([&](HWND focus) { return focus == apply; }), apply);
  // Shift+Tab goes back the same way: Reset all lies just before Apply.
  HWND reset = mainButton(kReset);
  key("shift+Tab");
  EXPECT_TRUE(waitFor([&] { return focusedControl() == reset; }, kShort));
  key("Tab");
  ASSERT_TRUE(waitFor([&] { return focusedControl() == apply; }, kShort));
  Sleep(kQuickUserMs);
  capture(optionWindow(), shotPath("option-keyboard-apply-focused.bmp"));
  const size_t mark = traceSize();
  key("space");
  EXPECT_EQ(waitForDownloads(mark, 1).size(), 1u);
  EXPECT_TRUE(waitApplyEnabled());
}

TEST_F(OptionKeyboard, EscapeLeavesAProfilePageAsItWasAndEnterIsItsOk) {
  writeProfile(1, [](ProfileRecord& p) { p.lightFx = 4; });
  startWithEmulatedKeyboard();
  startOption();
  click(mainControl(kFirstSelector + 1));
  const std::string ini = profilePageIni(2), warnIni = "skin_profile2_reset_warn.ini";

  // Reset armed (Enter is the warning's OK), then Escape: nothing happened.
  HWND page = openProfilePage(2);
  ASSERT_NE(page, nullptr);
  clickOn(page, ini, kResetProfile);
  HWND warn = waitForWindow("Reset");
  ASSERT_NE(warn, nullptr);
  Sleep(kQuickUserMs);
  key("Return");
  ASSERT_TRUE(closed(warn));
  Sleep(kQuickUserMs);
  size_t mark = traceSize();
  key("Escape");
  ASSERT_TRUE(closed(page));
  Sleep(300);
  EXPECT_TRUE(downloadsSince(mark).empty());
  EXPECT_EQ(applied()->profiles[1].lightFx, 4);

  // Armed again, then Enter: the page's OK resets the profile and sends it.
  page = openProfilePage(2);
  ASSERT_NE(page, nullptr);
  clickOn(page, ini, kResetProfile);
  warn = waitForWindow("Reset");
  ASSERT_NE(warn, nullptr);
  Sleep(kQuickUserMs);
  key("Return");
  ASSERT_TRUE(closed(warn));
  Sleep(kQuickUserMs);
  mark = traceSize();
  key("Return");
  ASSERT_TRUE(closed(page));
  EXPECT_EQ(waitForDownloads(mark, 1).size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
  auto fresh = std::make_unique<ProfileRecord>();
  buildDefaultProfile(*fresh, 1);
  EXPECT_EQ(applied()->profiles[1].lightFx, fresh->lightFx);
}

TEST_F(OptionKeyboard, ArrowsWalkTheKeyboardPictureAndEnterOpensTheKeysPage) {
  startWithEmulatedKeyboard();
  startOption();
  HWND picture = tabToPicture();
  ASSERT_NE(picture, nullptr);
  // The mark starts on Escape; Right leads to F1, Down from F1 to the 1 key's row and back.
  EXPECT_TRUE(waitFor([&] { return textOf(picture) == "Keyboard: Esc"; }, kShort)) << textOf(picture);
  key("Right");
  EXPECT_TRUE(waitFor([&] { return textOf(picture) == "Keyboard: F1"; }, kShort)) << textOf(picture);
  key("Down Up");
  EXPECT_TRUE(waitFor([&] { return textOf(picture) == "Keyboard: F1"; }, kShort)) << textOf(picture);
  Sleep(kQuickUserMs);
  capture(optionWindow(), shotPath("option-keyboard-key-focused.bmp"));
  key("Return");
  HWND page = waitForWindow(kKeyPageTitle);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(unnamedIn(page), "");
  Sleep(kQuickUserMs);
  key("Escape");
  EXPECT_TRUE(closed(page));
}

TEST_F(OptionKeyboard, CtrlEnterPaintsTheFocusedLedAsCtrlClickDoes) {
  writeProfile(0, [](ProfileRecord& p) {
    p.lightFx = 51;
    p.customMode = 0;
    for (Color& c : p.customColors) c = kRed;
    p.customCtrlClickColor = kBlue;
  });
  startWithEmulatedKeyboard();
  startOption();
  click(mainControl(kTabLighting));
  ASSERT_TRUE(waitFor([&] { return pictureLed(1).shown; }, kShort));
  HWND picture = tabToPicture();
  ASSERT_NE(picture, nullptr);
  key("Right");
  std::string name;
  ASSERT_TRUE(
      waitFor([&] { return (name = textOf(picture)) != "Keyboard: Esc" && name.size() > 10; }, kShort))
      << name;
  Sleep(kQuickUserMs);
  key("ctrl+Return");
  // The LED right of Escape's is F1's; find which one turned blue.
  int painted = -1;
  EXPECT_TRUE(waitFor(
      [&] {
        for (int i = 0; i < kLedCount && painted < 0; ++i)
          if (pictureLed(i).shown && pictureLed(i).color == kBlue) painted = i;
        return painted >= 0;
      },
      kShort));
  int blue = 0;
  for (int i = 0; i < kLedCount; ++i) blue += pictureLed(i).shown && pictureLed(i).color == kBlue;
  EXPECT_EQ(blue, 1);
  const size_t mark = traceSize();
  click(mainControl(kApply));
  ASSERT_EQ(waitForDownloads(mark, 1).size(), 1u);
  ASSERT_TRUE(waitApplyEnabled());
  ASSERT_GE(painted, 0);
  EXPECT_EQ(applied()->profiles[0].customColors[painted], kBlue);
}

TEST_F(OptionKeyboard, AltF4ClosesAPageAsItsCancel) {
  startWithEmulatedKeyboard();
  startOption();
  HWND window = optionWindow();
  HWND page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  Sleep(kQuickUserMs);
  key("alt+F4");
  ASSERT_TRUE(closed(page));
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(OptionKeyboard, EscapeClosesTheMainWindow) {
  startWithEmulatedKeyboard();
  startOption();
  HWND window = optionWindow();
  focusWindowTitled(kOptionWindowTitle);
  Sleep(kQuickUserMs);
  key("Escape");
  EXPECT_TRUE(closed(window));
}

TEST_F(OptionKeyboard, EveryVisibleControlOfTheWindowAndItsPagesHasAName) {
  startWithEmulatedKeyboard();
  startOption();
  EXPECT_EQ(unnamedIn(optionWindow()), "");
  EXPECT_EQ(textOf(mainButton(kApply)), "Apply");
  // Toggles say whether they are on.
  HWND preview = mainButton(kPreview);
  EXPECT_EQ(SendMessageA(preview, BM_GETCHECK, 0, 0), LRESULT(BST_UNCHECKED));
  click(mainControl(kPreview));
  EXPECT_TRUE(
      waitFor([&] { return SendMessageA(preview, BM_GETCHECK, 0, 0) == LRESULT(BST_CHECKED); }, kShort));
  click(mainControl(kTabLighting));
  ASSERT_TRUE(waitFor([&] { return !pictureKey(1).shown; }, kShort));
  EXPECT_EQ(unnamedIn(optionWindow()), "");
  HWND page = openProfilePage(1);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(unnamedIn(page), "");
}

}  // namespace
