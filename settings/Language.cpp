#include "Language.h"

namespace {

struct Text {
  int id;
  const char* text;
};

constexpr Text kTexts[] = {
#define LANGUAGE_TEXT(id, text) {id, text},
#include "LanguageTexts.def"
#undef LANGUAGE_TEXT
};

}  // namespace

const char* builtinText(int id) {
  for (const Text& t : kTexts)
    if (t.id == id) return t.text;
  return "";
}
