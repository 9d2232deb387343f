#include "LaunchAppPage_win.h"

#include "ProgramList_win.h"
#include "SkinButton_win.h"
#include "SkinListBox_win.h"
#include "SubPageRules.h"

namespace {
enum Control { kList = 1, kAdd = 2, kDelete = 3, kControlCount = 3 };
constexpr int kIdBase = 800;
constexpr int kListIdentifier = 8193;
constexpr COLORREF kListBackground = 0x323232, kListSelection = RGB(150, 0, 0), kListText = 0x33B9A3;
constexpr int kListLineHeight = 20;
}  // namespace

bool LaunchAppPage::create(HWND parent, POINT at) {
  return createPage({"buttons\\skin_LaunchAP_button.ini", SkinRoot(), {{1, kControlCount}}, {}}, parent, at);
}

HWND LaunchAppPage::createControl(int, int key, const SkinPosition& position,
                                  const SkinStatePictures& pictures) {
  if (key == kList) {
    SkinListBox* lines =
        SkinListBox::CreateOnPage(hwnd(), kIdBase + key, position, kListIdentifier, kListBackground,
                                  kListSelection, kListText, kListLineHeight);
    return lines ? lines->hwnd() : nullptr;
  }
  SkinButton* button = SkinButton::Create(hwnd(), kIdBase + key, position, pictures);
  return button ? button->hwnd() : nullptr;
}

SkinListBox* LaunchAppPage::list() const { return controlAs<SkinListBox>(kList); }

std::vector<std::string> LaunchAppPage::paths() const {
  std::vector<std::string> all;
  for (const AppPathEntry& entry : host_.lists().launchApps)
    all.emplace_back(entry.path, strnlen(entry.path, sizeof entry.path));
  return all;
}

void LaunchAppPage::refresh() {
  SkinListBox* lines = list();
  if (!lines) return;
  SendMessageA(lines->hwnd(), LB_RESETCONTENT, 0, 0);
  const std::vector<std::string> all = paths();
  for (const std::string& path : all) lines->addLine(LaunchLineText(path), 0);
  // Selected as a click selects: the highlighted program is the one bound.
  const int line = LaunchLineOnRefresh(entry_, all);
  if (line >= 0)
    lines->selectLine(line);
  else
    SendMessageA(lines->hwnd(), LB_SETCURSEL, WPARAM(-1), 0);
}

void LaunchAppPage::onCommand(int id, int code, HWND) {
  switch (id - kIdBase) {
    case kList:
      if (code == LBN_SELCHANGE)
        if (SkinListBox* lines = list()) selectLine(lines->selected());
      break;
    case kAdd:
      addProgram();
      break;
    case kDelete:
      deleteProgram();
      break;
  }
}

void LaunchAppPage::selectLine(int line) { SelectLaunchLine(entry_, paths(), line); }

void LaunchAppPage::addProgram() {
  const std::string file = ChooseProgram(GetAncestor(hwnd(), GA_ROOT));
  if (file.empty()) return;  // cancelled: the list stays
  addPath(apps(), file);
  if (SkinListBox* lines = list()) lines->addLine(LaunchLineText(file), 0);
}

void LaunchAppPage::deleteProgram() {
  SkinListBox* lines = list();
  if (!lines || lines->selected() < 0) return;
  RemoveSelectedProgram(*lines, apps());
  // The line now selected (or none) is what the key launches.
  lines->selectLine(lines->selected());
}
