#pragma once
// One profile as a file of its own (".vqprofile"), to give to a friend, keep
// for a reinstall or try one from the internet. UTF-8 INI text that a person
// can read and a diff can compare:
//
//   ; Varnel Quillon profile
//   [VarnelQuillonProfile]
//   Format=1.0            major.minor: a newer major is refused, a newer minor read
//   Software=1.02         the version that wrote it
//   CodePage=1252         the writer's code page: the texts inside the key blocks
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
//   KeyBefore=40
//   KeyAfter=0
//
//   [Setting]             the keys and encodings of the profile files
//   ProFileName=Shooter
//   LtControl=10
//   ...
//   MacroKeyInfo104=0168...
//
// Texts outside the key blocks are UTF-8 in double quotes, with \\, \n, \r,
// \t and \xHH for what a line cannot hold. The macros are those the keys
// bind, whole, as the keys play them. Linked programs are not written: they
// are another machine's programs, and a program linked to two profiles
// would switch to one of them only.
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
constexpr int kProfileFormatMinor = 0;
constexpr const char* kProfileFileExtension = ".vqprofile";
// Five times the largest profile a writer makes: anything bigger is not one.
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
std::string writeProfileFile(const ProfileRecord& profile, const MacroLibrary& macros,
                             std::string_view softwareVersion, const TextCodec& codec);

// A profile file as read, its texts in this machine's code page.
struct SharedProfile {
  std::unique_ptr<ProfileRecord> profile;  // no linked programs
  MacroLibrary macros;                     // those its keys bind, under the names they bind
  TextMacroLibrary textMacros;
  std::string software;  // the version that wrote it
  int formatMajor = 0, formatMinor = 0;
};

// Empty when the file was read into `shared`; otherwise one sentence naming
// what is wrong, and `shared` is left as it was. Refused: a file that is too
// large, not UTF-8, not a profile file, of a newer major format, or damaged
// or cut short anywhere (every key the writer writes must be there and sound,
// and every macro a key binds). Unknown keys and sections are ignored.
std::string readProfileFile(std::string_view bytes, SharedProfile& shared, const TextCodec& codec);

struct ImportSummary {
  int macrosAdded = 0, macrosShared = 0, macrosRenamed = 0;
  int textMacrosAdded = 0, textMacrosShared = 0, textMacrosRenamed = 0;
};
// Replaces `target` with the shared profile. The target keeps what the file
// does not carry: its linked programs, preview switch and the values only
// installed files hold. The bound macros join the libraries: one whose name
// the library holds with other steps (or another text) comes in as
// "Name (2)", "Name (3)", ... and its keys are bound to that name; one that
// the library holds as it is, is shared.
ImportSummary importSharedProfile(const SharedProfile& shared, ProfileRecord& target, MacroLibrary& macros,
                                  TextMacroLibrary& textMacros);

// A text as one line of the file holds it, and back; false for a value that
// is not in the writer's escaping.
std::string escapeText(std::string_view text);
bool unescapeText(std::string_view value, std::string& text);
