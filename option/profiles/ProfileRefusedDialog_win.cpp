#include "ProfileRefusedDialog_win.h"

#include "TextCodec_win.h"

namespace {
constexpr RECT kTextArea{18, 44, 286, 154};  // between the title and OK
constexpr int kCancelKey = 2;                // a notice has nothing to cancel
}  // namespace

ProfileRefusedDialog::ProfileRefusedDialog(std::string text)
    : WarningDialog("skin_profile_refused_warn.ini"), text_(std::move(text)) {}

HWND ProfileRefusedDialog::createControl(int ordinal, int key, const SkinPosition& position,
                                         const SkinStatePictures& pictures) {
  if (key == kCancelKey) return nullptr;
  return WarningDialog::createControl(ordinal, key, position, pictures);
}

void ProfileRefusedDialog::paintOver(HDC dc) {
  HFONT font = CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Play");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(220, 220, 220));
  RECT area = kTextArea;
  const std::wstring text = wideFromUtf8(text_);
  DrawTextW(dc, text.c_str(), int(text.size()), &area,
            DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
  DeleteObject(font);
}
