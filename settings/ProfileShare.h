#pragma once
// One profile as a file of its own (".vqprofile"), to give to a friend, keep
// for a reinstall or try one from the internet. UTF-8 INI text that a person
// can read and a diff can compare, and all the importer believes:
//
//   ; Varnel Quillon profile
//   [VarnelQuillonProfile]
//   Format=1.1            major.minor: a newer major is refused, a newer minor read
//   Software=1.02         the version that wrote it
//   Macros=1
//   TextMacros=1
//
//   [Macro1]
//   Name="Reload"
//   RepeatCount=1
//   Steps=21:1:30 21:2:0  code:action:delay of each step
//
//   [TextMacro1]
//   Name="gg"
//   Text="Good game!\nSee you"
//   DelayMs=0
//   KeyBefore=40          key codes, 0 = none
//   KeyAfter=0
//
//   [Profile]
//   Name="Shooter"
//   WindowsKey=On
//
//   [Lighting]
//   Effect=Wave           Static, Breathe, Wave, Reactive, Ripple or Custom
//   Brightness=10
//   Lighting=On
//   StaticColor=#FF0000   ... every colour #RRGGBB, speeds 1 to 3, modes Mode1/Mode2
//
//   [CustomColors]        the per-key colours that differ from the default
//   Led9=#FFFF11
//
//   [Remap]               the keys that send another key than their own
//   Key12=B
//
//   [Keys]                the keys that do something else than their default
//   Key45=TextMacro "gg"
//   Key30=Macro "Reload" PlayNTimes 3
//   Key7=Combination Ctrl+Shift+K
//
//   [End]
//
// Texts are UTF-8 in double quotes, with \\, \n, \r, \t and \xHH for what a
// line cannot hold. Linked programs and programs to launch are not written:
// they are another machine's programs (a launch key is written "Launch" and
// comes in as a default key). Files of format 1.0 (the profile files' key
// blocks) pass the same gate: each key is read for what it does and built
// again from that, its macro from the readable sections.
//
//   std::string text = writeProfileFile(profile, macros, "1.02", codec);
//   SharedProfile shared;
//   std::string error = readProfileFile(text, shared, codec);   // "" when read
//   ImportSummary s = importSharedProfile(shared, target, macros, texts);

#include <memory>
#include <string>
#include <string_view>

#include "ListFiles.h"
#include "SettingsImage.h"

constexpr int kProfileFormatMajor = 1;
constexpr int kProfileFormatMinor = 1;
constexpr const char* kProfileFileExtension = ".vqprofile";
// Ten times the largest profile a 1.0 writer made: anything bigger is not one.
constexpr size_t kMaxProfileFileBytes = 12u << 20;

// The texts of the settings are in the system's code page; the file is
// UTF-8. The platform converts.
class TextCodec {
 public:
  virtual ~TextCodec() = default;
  // The code page of this machine's texts.
  virtual unsigned codePage() const = 0;
  // False when `codePage` is unknown here.
  virtual bool toUtf8(std::string_view text, unsigned codePage, std::string& utf8) const = 0;
  // `utf8` is valid UTF-8; characters the code page lacks become '?'.
  virtual bool fromUtf8(std::string_view utf8, unsigned codePage, std::string& text) const = 0;
};
// ISO 8859-1 (code page 28591), where every byte is the character of its
// number: the native tests' and fuzzers' system.
const TextCodec& latin1Codec();

bool isValidUtf8(std::string_view text);

// The whole file. `profile` as it stands, its macros as its keys play them;
// `macros` give their repeat counts (a key's text macro is whole in the key).
// Only what each key's function uses is written, and no path.
std::string writeProfileFile(const ProfileRecord& profile, const MacroLibrary& macros,
                             std::string_view softwareVersion, const TextCodec& codec);
// The file as version 1.02 wrote it (format 1.0, key blocks in hex): what
// the tests and fuzzers import as an older file.
std::string writeProfileFileFormat10(const ProfileRecord& profile, const MacroLibrary& macros,
                                     std::string_view softwareVersion, const TextCodec& codec);

// A profile file as read, its texts in this machine's code page.
struct SharedProfile {
  std::unique_ptr<ProfileRecord> profile;  // no linked programs
  MacroLibrary macros;                     // those its keys bind, under the names they bind
  TextMacroLibrary textMacros;
  std::string software;  // the version that wrote it
  int formatMajor = 0, formatMinor = 0;
  int launchKeysDropped = 0;   // keys that launched a program: default keys now
  int unknownKeysDropped = 0;  // keys of a kind the editor does not make: default keys now
};

// Empty when the file was read into `shared`; otherwise one sentence naming
// what is wrong, and `shared` is left as it was. Refused: a file that is too
// large, not UTF-8, not a profile file, of a newer major format, damaged or
// cut short anywhere (every key the writer writes must be there and sound),
// a macro or text macro key whose macro the file does not hold by name, a
// key combination that is no combination, and any value outside the range
// the editor gives it. Unknown keys and sections are ignored.
std::string readProfileFile(std::string_view bytes, SharedProfile& shared, const TextCodec& codec);

struct ImportSummary {
  int macrosAdded = 0, macrosShared = 0, macrosRenamed = 0;
  int textMacrosAdded = 0, textMacrosShared = 0, textMacrosRenamed = 0;
  int macroKeys = 0, textMacroKeys = 0;  // keys that play a macro, type a text
  int launchKeysDropped = 0, unknownKeysDropped = 0;
};
// Replaces `target` with the shared profile. The target keeps what the file
// does not carry: its linked programs, preview switch and the values only
// installed files hold. The bound macros join the libraries: one whose name
// the library holds with other steps (or another text) comes in as
// "Name (2)", "Name (3)", ... and its keys are bound to that name; one that
// the library holds as it is, is shared.
ImportSummary importSharedProfile(const SharedProfile& shared, ProfileRecord& target, MacroLibrary& macros,
                                  TextMacroLibrary& textMacros);
// What importSharedProfile would do, with nothing changed: for the user to
// see before OK.
ImportSummary previewImport(const SharedProfile& shared, const ProfileRecord& target,
                            const MacroLibrary& macros, const TextMacroLibrary& textMacros);

// A text as one line of the file holds it, and back; false for a value that
// is not in the writer's escaping.
std::string escapeText(std::string_view text);
bool unescapeText(std::string_view value, std::string& text);
