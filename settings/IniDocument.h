#pragma once
// An INI file held in memory: parsed once, looked up and edited in place,
// written out once. Lines that are not touched keep their exact bytes
// (comments, unknown lines, blank lines, line ends), so files stay ordinary
// private-profile INI files that outside readers understand.
//
//   IniDocument doc = IniDocument::parse(bytes);
//   std::optional<std::string_view> v = doc.find("Setting", "CurrentProfile");
//   doc.set("Setting", "CurrentProfile", "2");
//   std::string out = doc.serialize();
//
// Section and key names are compared without regard to case (ASCII) and to
// blanks around them; the first section of a name and the first key of a name
// in it win, as with the platform functions. Values are returned without the
// blanks around them and without one pair of enclosing quotes.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniDocument {
 public:
  IniDocument() { sections_.emplace_back(); }
  static IniDocument parse(std::string_view text);

  std::optional<std::string_view> find(std::string_view section, std::string_view key) const;
  // Replaces the value of an existing key (keeping its name as written) or
  // appends "key=value" after the last key line of the section, creating the
  // section at the end of the document when needed.
  void set(std::string_view section, std::string_view key, std::string_view value);
  bool hasSection(std::string_view section) const;

  std::string serialize() const;

 private:
  struct Line {
    std::string text;       // without its line end
    std::string eol;        // "\r\n", "\n" or "" for a last line without one
    size_t valueBegin = 0;  // for key lines: the unquoted, trimmed value
    size_t valueEnd = 0;
    bool isKey = false;
  };
  struct Section {
    std::string name;                              // as written, trimmed
    std::vector<Line> lines;                       // header line first (none for the prelude)
    std::unordered_map<std::string, size_t> keys;  // lower-case name -> first line
    size_t lastKeyLine = 0;                        // where new keys go after
  };

  static std::string lower(std::string_view s);
  static void parseKeyLine(Line& line, std::string& keyName);
  Section* findSection(std::string_view name);
  const Section* findSection(std::string_view name) const;

  std::vector<Section> sections_;  // [0] is the prelude before any header
  std::unordered_map<std::string, size_t> sectionIndex_;
};
