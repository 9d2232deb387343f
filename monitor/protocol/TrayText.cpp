#include "TrayText.h"

namespace tray {
namespace {

constexpr wchar_t kEllipsis = L'\u2026';

std::wstring cut(const std::wstring& text, size_t units) {
  if (text.size() <= units) return text;
  if (units == 0) return {};
  return text.substr(0, units - 1) + kEllipsis;
}

bool blank(const std::wstring& text) { return text.find_first_not_of(L" \t") == std::wstring::npos; }

std::wstring nameOr(const std::wstring& name, int index) {
  return blank(name) ? L"Profile " + std::to_wstring(index + 1) : name;
}

}  // namespace

std::wstring tipWithProfile(const std::wstring& tip, const std::wstring& name, size_t capacity) {
  const size_t room = capacity > 0 ? capacity - 1 : 0;
  if (blank(name) || tip.size() >= room) return cut(tip, room);
  const std::wstring joint = L" \u2014 ";
  if (tip.size() + joint.size() >= room) return cut(tip, room);
  return tip + joint + cut(name, room - tip.size() - joint.size());
}

std::wstring menuEntry(const std::wstring& name, int index) {
  const std::wstring shown = cut(nameOr(name, index), kMenuEntryMax);
  std::wstring entry;
  for (wchar_t c : shown) {
    if (c == L'&') entry += L'&';  // a single one would mark a mnemonic
    entry += c;
  }
  return entry;
}

std::wstring switchNotice(const std::wstring& name, int index) {
  return L"Profile " + (blank(name) ? std::to_wstring(index + 1) : name);
}

bool noticeAllowed(bool switchNotice, int userState) {
  return switchNotice && (userState == 0 || userState == kAcceptsNotifications);
}

}  // namespace tray
