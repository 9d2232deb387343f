// What the configuration program says and shows in words, through the real
// windows: a profile renamed on its page, on its button and in its file; the
// macro manager's title; a colour typed as hex into the colour dialog.

#include <cctype>
#include <memory>
#include <string>

#include "OptionHarness_win.h"
#include "ProfileFiles.h"

namespace {

using namespace harness;

constexpr int kNameField = 20;  // BUTTONPOS key of a profile page's name field
constexpr int kPageOk = 7;
constexpr int kPageIdBase = 400;
constexpr char kColourIni[] = "LightFX\\skin_Color_Select.ini";
enum ColourControl { kHexField = 7, kColourOk = 14 };

class OptionWords : public OptionHarness {
 protected:
  // Beside the test program, where they outlive the test's private folder.
  std::string shotPath(const std::string& name) const {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\') + 1) + name + ".bmp";
  }
  // WM_GETTEXT itself: GetWindowText does not ask a window of another process.
  static std::string windowText(HWND window) {
    char text[300] = {};
    DWORD_PTR ignored = 0;
    if (window)
      SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          2000, &ignored);
    return text;
  }
  // Types `name` into the name field of profile page `page`, which shows
  // the profile's name `now`, and closes the page with OK.
  void renameOnPage(int page, const std::string& now, const std::string& name) {
    HWND window = openProfilePage(page);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(windowText(GetDlgItem(window, kPageIdBase + kNameField)), now);
    clickOn(window, profilePageIni(page), kNameField);
    key("End shift+Home BackSpace");
    EXPECT_TRUE(xdotool("type --delay 20 '" + name + "'"));
    clickOn(window, profilePageIni(page), kPageOk);
    ASSERT_TRUE(closed(window));
  }
};

TEST_F(OptionWords, ARenamedProfileShowsItsNameOnItsButtonAndInItsFile) {
  startWithEmulatedKeyboard();
  startOption();
  HWND selector = mainButton(kFirstSelector + 1);
  EXPECT_EQ(windowText(selector), "Profile #2");
  click(mainControl(kFirstSelector + 1));  // a page opens for the active profile
  renameOnPage(2, "Profile #2", "  Shooter ");
  EXPECT_EQ(windowText(selector), "Shooter");
  applyAndWait();
  auto block = readBlock();
  EXPECT_STREQ(block->profiles[1].profileName, "Shooter");
  auto saved = std::make_unique<SettingsImage>();
  loadAll(*saved, folder_);
  EXPECT_STREQ(saved->profiles[1].profileName, "Shooter");

  // Longer than the button: the button cuts it, its window text keeps it all.
  const std::string longName = "Night Racer of the Northern Lakes";
  renameOnPage(2, "Shooter", longName);
  EXPECT_EQ(windowText(selector), longName);
  Sleep(300);  // painted
  const Capture shot = capture(optionWindow(), shotPath("option-profile-names"));
  EXPECT_GT(shot.colours(), 200u);

  // An emptied field gives the profile its default name back.
  renameOnPage(2, longName, "");
  EXPECT_EQ(windowText(selector), "Profile #2");
  applyAndWait();
  block = readBlock();
  EXPECT_STREQ(block->profiles[1].profileName, "Profile #2");
}

TEST_F(OptionWords, TheMacroManagerCarriesTheProductsName) {
  startWithEmulatedKeyboard();
  startOption();
  click(mainControl(3));  // MACROS
  key("Down Return");
  HWND manager = waitForWindow("Varnel Quillon Macro Manager");
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(windowText(manager), "Varnel Quillon Macro Manager");
  PostMessageA(manager, WM_COMMAND, MAKEWPARAM(500 + 2, BN_CLICKED), 0);  // Cancel
  EXPECT_TRUE(closed(manager));
}

TEST_F(OptionWords, AHexColourTypedIntoTheColourDialogIsTheColourChosen) {
  startWithEmulatedKeyboard();
  startOption();
  click(mainControl(kTabLighting));
  Sleep(500);  // the lighting page is made when first shown
  // The Static effect's swatch: the first control of its sub-page.
  POINT origin = clientOrigin(optionWindow());
  const SkinPosition page = position("skin_Config.ini", "PAGEPOSITION", 2);
  const SkinPosition area = position("skin_color_control.ini", "BUTTONPOS", 6);
  click(centreOf("LightFX\\skin_CONSTANT.ini", 1,
                 {origin.x + page.rect.left + area.rect.left, origin.y + page.rect.top + area.rect.top}));
  HWND dialog = waitForWindow("Color Select");
  ASSERT_NE(dialog, nullptr);
  Sleep(150);
  clickOn(dialog, kColourIni, kHexField);
  key("End shift+Home BackSpace");
  EXPECT_TRUE(xdotool("type --delay 30 '00a0ff'"));
  Sleep(300);
  HWND hex = GetDlgItem(dialog, 500 + kHexField);
  std::string typed = windowText(hex);
  for (char& c : typed) c = char(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(typed, "00A0FF");  // as typed
  // The red, green and blue fields follow the typed colour.
  const char* channels[] = {"0", "160", "255"};
  for (int c = 0; c < 3; ++c) {
    HWND field = GetDlgItem(dialog, 401 + c);
    EXPECT_EQ(windowText(GetDlgItem(field, 401 + c)), channels[c]) << c;
  }
  capture(dialog, shotPath("colour-dialog-hex"));
  clickOn(dialog, kColourIni, kColourOk);
  ASSERT_TRUE(closed(dialog));
  applyAndWait();
  auto block = readBlock();
  EXPECT_EQ(block->profiles[block->currentProfile].staticColor, 0xFFA000u);  // red lowest
}

}  // namespace
