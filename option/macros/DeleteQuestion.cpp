#include "DeleteQuestion.h"

#include "BoundedText.h"

int keysPlaying(const SettingsImage& image, std::string_view name, bool textMacro) {
  int keys = 0;
  for (const ProfileRecord& profile : image.profiles)
    for (const KeyAssignment& key : profile.keys) {
      const bool plays =
          textMacro
              ? key.functionCode == kFunctionTextMacro && sameName(boundedText(key.textMacroName), name)
              : key.functionCode == kFunctionRecordedMacro && sameName(boundedText(key.macroName), name);
      if (plays) ++keys;
    }
  return keys;
}

std::string deleteQuestion(std::string_view name, int keys) {
  std::string text = "Delete \"" + std::string(name) + "\"?\n";
  if (keys <= 0) return text + "No key plays it.";
  if (keys == 1) return text + "One key plays it; with OK it\nbecomes a standard key.";
  return text + std::to_string(keys) + " keys play it; with OK they\nbecome standard keys.";
}
