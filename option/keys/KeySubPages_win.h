#pragma once
// The sub-pages of the key assignment page. Each is a child page placed in the
// page's sub-page area; each reads the edited entry on refresh() and writes its
// own fields of it when the user chooses something.

#include <memory>

#include "KeyPageRules.h"
#include "OptionHost_win.h"
#include "SkinDialog_win.h"

class AssignSubPage : public SkinPage {
 public:
  AssignSubPage(OptionHost& host, EditEntry& entry) : host_(host), entry_(entry) {}
  virtual bool create(HWND parent, POINT at) = 0;
  // Shows what the edited entry holds.
  virtual void refresh() {}
  // The key assignment page ends a running capture; pages that capture
  // show it ended.
  virtual void abandonCapture() {}

 protected:
  OptionHost& host_;
  EditEntry& entry_;
};

// Categories 1, 9 and 10: the skin picture only.
class DefaultKeyPage : public AssignSubPage {
 public:
  using AssignSubPage::AssignSubPage;
  bool create(HWND parent, POINT at) override;
};

// A row of option buttons, one highlighted: the media and the shortcut page.
class CodeButtonsPage : public AssignSubPage {
 public:
  struct Codes {
    const char* iniFile;
    int buttons;
    void (*choose)(EditEntry&, int button);
    int (*highlighted)(const EditEntry&);
  };
  CodeButtonsPage(OptionHost& host, EditEntry& entry, const Codes& codes)
      : AssignSubPage(host, entry), codes_(codes) {}
  bool create(HWND parent, POINT at) override;
  void refresh() override;

 protected:
  HWND createControl(int ordinal, int key, const SkinPosition& position,
                     const SkinStatePictures& pictures) override;
  void onCommand(int id, int code, HWND control) override;

 private:
  Codes codes_;
};

std::unique_ptr<AssignSubPage> MakeMediaPage(OptionHost& host, EditEntry& entry);
std::unique_ptr<AssignSubPage> MakeShortcutPage(OptionHost& host, EditEntry& entry);
