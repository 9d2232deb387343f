#include "TextCodec_win.h"

#include <windows.h>

namespace {

std::wstring toWide(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), length);
  return wide;
}

std::string fromWide(std::wstring_view wide, unsigned codePage) {
  if (wide.empty()) return {};
  // UTF-8 and UTF-7 take no default character; the others put '?' where
  // they lack one.
  const bool utf = codePage == CP_UTF8 || codePage == CP_UTF7;
  const int length =
      WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(size_t(length > 0 ? length : 0), '\0');
  if (length > 0)
    WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), text.data(), length, utf ? nullptr : "?",
                        nullptr);
  return text;
}

class SystemTextCodec : public TextCodec {
 public:
  unsigned codePage() const override { return GetACP(); }
  bool toUtf8(std::string_view text, unsigned cp, std::string& utf8) const override {
    if (!IsValidCodePage(cp)) return false;
    utf8 = fromWide(toWide(text, cp), CP_UTF8);
    return true;
  }
  bool fromUtf8(std::string_view utf8, unsigned cp, std::string& text) const override {
    if (!IsValidCodePage(cp)) return false;
    text = fromWide(toWide(utf8, CP_UTF8), cp);
    return true;
  }
};

}  // namespace

const TextCodec& systemTextCodec() {
  static const SystemTextCodec codec;
  return codec;
}

std::wstring wideFromUtf8(std::string_view utf8) { return toWide(utf8, CP_UTF8); }
std::string utf8FromWide(std::wstring_view wide) { return fromWide(wide, CP_UTF8); }
