#include "KeySubPages_win.h"

#include "SkinButton_win.h"
#include "SubPageRules.h"

namespace {
constexpr int kButtonIdBase = 600;  // control id = base + BUTTONPOS key
}  // namespace

bool DefaultKeyPage::create(HWND parent, POINT at) {
  return createPage({"buttons\\skin_Default_button.ini", SkinRoot(), {}, {}}, parent, at);
}

bool CodeButtonsPage::create(HWND parent, POINT at) {
  return createPage({codes_.iniFile, SkinRoot(), {{1, codes_.buttons}}, {}}, parent, at);
}

HWND CodeButtonsPage::createControl(int, int key, const SkinPosition& position,
                                    const SkinStatePictures& pictures) {
  SkinButton* button = SkinButton::Create(hwnd(), kButtonIdBase + key, position, pictures);
  return button ? button->hwnd() : nullptr;
}

void CodeButtonsPage::refresh() {
  const int chosen = codes_.highlighted(entry_);
  for (int i = 0; i < codes_.buttons; ++i)
    if (auto* button = controlAs<SkinButton>(i + 1)) button->setChecked(i == chosen);
}

void CodeButtonsPage::onCommand(int id, int, HWND) {
  const int button = id - kButtonIdBase - 1;
  if (button < 0 || button >= codes_.buttons) return;
  codes_.choose(entry_, button);
  // The highlight follows the click; refresh() would clear it until the
  // category is set, which the page has done before showing this one.
  for (int i = 0; i < codes_.buttons; ++i)
    if (auto* other = controlAs<SkinButton>(i + 1)) other->setChecked(i == button);
}

std::unique_ptr<AssignSubPage> MakeMediaPage(OptionHost& host, EditEntry& entry) {
  const CodeButtonsPage::Codes codes{"buttons\\skin_Media_button.ini", kMediaButtonCount, ChooseMedia,
                                     HighlightedMediaButton};
  return std::make_unique<CodeButtonsPage>(host, entry, codes);
}

std::unique_ptr<AssignSubPage> MakeShortcutPage(OptionHost& host, EditEntry& entry) {
  const CodeButtonsPage::Codes codes{"buttons\\skin_Shortcut_button.ini", kShortcutButtonCount,
                                     ChooseShortcut, HighlightedShortcutButton};
  return std::make_unique<CodeButtonsPage>(host, entry, codes);
}
