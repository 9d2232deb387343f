#include "MacroPage_win.h"

#include "KeyPageRules.h"
#include "MacroBinding.h"
#include "MacroIds.h"
#include "MacroManager_win.h"
#include "MacroWindows_win.h"
#include "SkinButton_win.h"
#include "SkinMenu_win.h"
#include "TextMacroManager_win.h"

namespace {
enum Control { kList = 1, kManage = 2, kControlCount = 2 };
constexpr int kIdBase = 700;
// The menu opens just inside the button's lower left corner.
constexpr int kMenuOffsetX = 2, kMenuOffsetY = -1;
}  // namespace

bool MacroPage::create(HWND parent, POINT at, EditEntry& entry) {
  entry_ = &entry;
  if (!createPage({kMacroPageSkin, SkinRoot(), {{1, kControlCount}}, {}}, parent, at)) return false;
  ShowWindow(hwnd(), SW_HIDE);
  refresh();
  return true;
}

HWND MacroPage::createControl(int, int key, const SkinPosition& position, const SkinStatePictures& pictures) {
  if (key == kList) {
    SkinListBox* lines = CreateMacroList(hwnd(), kIdBase + key, position, kMacroPageListId);
    return lines ? lines->hwnd() : nullptr;
  }
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures);
  return button ? button->hwnd() : nullptr;
}

SkinListBox* MacroPage::list() const { return controlAs<SkinListBox>(kList); }

void MacroPage::show(bool visible) { ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE); }

void MacroPage::refresh() {
  SkinListBox* lines = list();
  if (!lines || !entry_) return;
  const OptionLists& lists = host_.lists();
  ReplaceLines(*lines, macroPickerLines(lists.macros, lists.textMacros));
  SelectLine(*lines, selectPickerLine(*entry_, lists.macros, lists.textMacros));
}

void MacroPage::entryFromLibraries(const LibraryRenames& renames) {
  if (entry_)
    refreshFromLibraries(*entry_, entry_->keyIndex, host_.lists().macros, host_.lists().textMacros, renames);
}

void MacroPage::choose(int line) {
  if (!entry_ || !list()) return;
  const OptionLists& lists = host_.lists();
  // A recorded macro takes one of the keyboard's macro buffers; with none
  // left the line cannot be chosen, and the key's own line shows again.
  const bool recorded = line >= 0 && size_t(line) < lists.macros.size();
  if (recorded && !MacroBufferFor(profile_, entry_->keyIndex)) {
    SelectLine(*list(), selectPickerLine(*entry_, lists.macros, lists.textMacros));
    return;
  }
  bindPickerLine(*entry_, line, lists.macros, lists.textMacros);
}

void MacroPage::onCommand(int id, int code, HWND) {
  switch (id) {
    case kCmdOpenMacroManager:
      // Modal to the key assignment page this page lies in: owned by the
      // main window, the manager would leave that page without activation
      // when it closes, and the page's next clicks would go nowhere.
      if (entry_)
        if (const auto renames = RunMacroManager(host_, GetAncestor(hwnd(), GA_ROOT), *entry_))
          entryFromLibraries({*renames, {}});
      refresh();
      return;
    case kCmdOpenTextMacroManager:
      if (const auto renames = RunTextMacroManager(host_, GetAncestor(hwnd(), GA_ROOT)))
        entryFromLibraries({{}, *renames});
      refresh();
      return;
  }
  switch (id - kIdBase) {
    case kList:
      if (code == LBN_SELCHANGE && list()) choose(SelectedLine(*list()));
      break;
    case kManage:
      openManagerMenu();
      break;
  }
}

void MacroPage::openManagerMenu() {
  HWND button = control(kManage);
  if (!button) return;
  SkinMenu menu;
  menu.setMinimumWidth(kManagerMenuMinWidth);
  menu.append(kCmdOpenMacroManager, host_.text(kTextOpenMacroManager));
  menu.append(kCmdOpenTextMacroManager, host_.text(kTextOpenTextMacroManager));
  RECT r;
  GetWindowRect(button, &r);
  menu.track(hwnd(), r.left + kMenuOffsetX, r.bottom + kMenuOffsetY);
  PostMessageA(hwnd(), WM_NULL, 0, 0);
}
