#pragma once
// The configuration program's main window: profile selectors, preview and
// Apply, two content pages (Windows key, lighting) and the keyboard picture.
// It owns the document, the shared block and the apply path to the monitor.

#include <memory>
#include <string>

#include "ApplyButtonLook_win.h"
#include "ApplyStatus.h"
#include "KeyboardPicture_win.h"
#include "LanguageLibrary_win.h"
#include "LinkStatus.h"
#include "OptionHost_win.h"
#include "OptionMessages.h"
#include "OptionRules.h"
#include "SharedBlock_win.h"
#include "SkinDialog_win.h"

class LightingPage;
class SkinButton;
struct KeyboardLegend;
class WinKeyPage;

class MainWindow : public SkinDialog, public OptionHost {
 public:
  MainWindow();
  ~MainWindow() override;
  // Runs the window until it closes.
  void run();

  OptionDocument& document() override { return doc_; }
  std::string text(int languageId) const override { return language_.text(languageId); }
  void edited() override;
  void keyboardPictureChanged() override { refreshKeyboard(); }
  HWND window() const override { return hwnd(); }

  // The one way changes reach the monitor, the keyboard and the files.
  void apply(ApplyKind kind);
  // An apply ended (the monitor's answer, its time-out, or the files alone):
  // the busy state ends, the status line says how, and a close that waited
  // for it happens unless it failed.
  void applyFinished(ApplyOutcome outcome);
  // Something the user changed is not applied yet (UnappliedEdits.h).
  bool unapplied() const;
  // The window closes on the user's word (its close button, the keyboard):
  // with changes not applied it asks first.
  void closeWindow();

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onInit() override;
  void onCommand(int id, int code, HWND control) override;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool dragsAt(POINT client) const override;
  void paintOver(HDC dc) override;
  void placeWindow(HWND owner) override;
  void onDestroyed() override;

 private:
  // The 22 buttons of the main window, by their BUTTONPOS keys.
  enum Control : int {
    kTabWindowsKey = 1,
    kTabLighting = 2,
    kMacroMenu = 3,
    kHelp = 4,
    kPreview = 5,
    kPreviewHelp = 6,
    kFirstSelector = 7,      // 7..11: make profile 1..5 active
    kSixthSelector = 12,     // the skin has room for a sixth profile; there is none
    kFirstProfilePage = 13,  // 13..17: the profile pages 1..5
    kSixthProfilePage = 18,
    kReset = 19,
    kApply = 20,
    kMinimise = 21,
    kClose = 22,
    kControlCount = 22,
  };
  static constexpr RECT kFirmwareArea{308, 252, 348, 282};  // the dark well the version is written into
  static constexpr RECT kHelpStrip{20, 566, 1040, 586};     // quick help, or the hint, or a status
  // An apply the monitor has not confirmed after this long ends its busy state.
  static constexpr UINT_PTR kConfirmTimer = 1;
  static constexpr UINT kConfirmTimeoutMs = 10000;
  static constexpr RECT kSoftwareArea{432, 252, 520, 282};  // beside the skin's "SOFTWARE" label
  static constexpr RECT kPendingArea{520, 8, 770, 32};      // the title bar, left of MACROS

  void createPages();
  void loadSettings();
  void refresh();
  void showPage(ContentPage page);
  void refreshKeyboard();
  void selectProfile(int profile);
  void showProfileName(SkinButton& selector, int profile);
  void paintLegend(HDC dc, const KeyboardLegend& legend);
  void openProfilePage(int page);
  void openKeyPage(int keyIndex);
  void openMacroMenu();
  void resetAll();
  void setBusy(bool busy);
  // The Apply button's look and the title's mark follow unapplied().
  void showUnapplied();
  void setStatus(const std::string& status, bool fault = false);
  void storeAssignedKey();
  void takeBlock();
  void reloadSettings();
  void takeProfile();
  // The monitor says the keyboard went or came (UM_KEYBOARD_LINK).
  void keyboardLinkChanged(bool connected);
  void showHelp();
  // The scale, the place and a change of monitor (MainWindowPlace_win.cpp).
  void chooseScale();
  void rememberPlace();
  void onDpiChanged(int dpi, const RECT* suggested);
  void rebuildAtScale(int scale);
  SIZE baseSize_{0, 0};  // the window at 100 %
  // Option.exe --import-profile beside this window (MainWindowImport_win.cpp).
  LRESULT importFromCommandLine(const COPYDATASTRUCT* data);

  OptionDocument doc_;
  LanguageLibrary language_;
  SharedBlock block_;
  bool fromMonitor_ = false;
  std::string firmwareText_;
  std::string helpText_;
  std::string status_;  // shown in the help strip while no quick help is
  bool statusFault_ = false;
  bool pendingShown_ = false;    // the title's mark of changes not applied
  bool closeAfterApply_ = false;  // the close question's Apply: close once it ended
  bool applySaved_ = true;        // the files of the apply in flight were written
  ApplyButtonLook applyLook_;
  ContentPage page_ = ContentPage::WindowsKey;
  bool busy_ = false;
  ApplyWait applyWait_;        // which UM_APPLY_DONE ends the busy state
  bool keyboardAway_ = false;  // the monitor said the keyboard went
  std::unique_ptr<WinKeyPage> winKeyPage_;
  std::unique_ptr<LightingPage> lightingPage_;
  std::unique_ptr<KeyboardPicture> keyboard_;
  EditEntry editEntry_{};  // the key the assignment page edits
  int editProfile_ = 0;    // and the profile it belongs to
};
