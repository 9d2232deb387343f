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
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniDocument {
 public:
  IniDocument() { sections_.emplace_back(); }
  ~IniDocument();  // hands its buffers back for reuse (ScratchBuffer.h)
  IniDocument(IniDocument&&) = default;
  IniDocument& operator=(IniDocument&&) = default;
  IniDocument(const IniDocument&) = default;
  IniDocument& operator=(const IniDocument&) = default;

  static IniDocument parse(std::string_view text);
  // The same without a copy: the document keeps `text` and points into it.
  static IniDocument adopt(std::string text);

  // The view stays valid until the next set().
  std::optional<std::string_view> find(std::string_view section, std::string_view key) const;
  // Replaces the value of an existing key (keeping its name as written) or
  // appends "key=value" after the last key line of the section, creating the
  // section at the end of the document when needed. Line breaks in the value
  // become blanks. False, with nothing changed, when the line was already
  // exactly "key=value" or when no reader of the file could find the key
  // again (a section name with ']' or a line break; a key name that is
  // empty, has '=' or a line break, or starts with ';' or '[').
  bool set(std::string_view section, std::string_view key, std::string_view value);
  bool hasSection(std::string_view section) const;
  // The text after '=' when the key's line reads "name=..." with nothing
  // around the name (the form set() writes): set() with exactly that value
  // changes nothing, so a caller may compare before it builds a long value.
  std::optional<std::string_view> findWritten(std::string_view section, std::string_view key) const;

  // Room for `bytes` of text set (lines set or added) without growing.
  void reserve(size_t bytes) { edits_.reserve(edits_.size() + bytes); }

  std::string serialize() const;
  void serializeTo(std::string& out) const;  // replaces what `out` held

 private:
  // A line is a piece of the file as read, or of edits_ once it was set.
  struct Line {
    uint32_t begin = 0;
    uint32_t length = 0;      // without the line end
    uint32_t valueBegin = 0;  // key lines: the unquoted, trimmed value, from begin
    uint32_t valueEnd = 0;
    uint8_t eolLength = 0;  // 0: last line without one, 1: "\n", 2: "\r\n"
    bool edited = false;
    bool isKey = false;
  };
  struct Section {
    std::string name;                              // as written, trimmed
    std::vector<Line> lines;                       // header line first (none for the prelude)
    std::unordered_map<std::string, size_t> keys;  // lower-case name -> first line
    size_t lastKeyLine = 0;                        // where new keys go after
  };

  static std::string lower(std::string_view s);
  static bool storableSection(std::string_view name);
  static bool storableKey(std::string_view name);
  std::string_view textOf(const Line& line) const;
  void parseKeyLine(Line& line, std::string& keyName) const;
  // Stores "name=value" (or `name` alone when `value` is null) as the line's
  // new content in edits_.
  void rewrite(Line& line, std::string_view name, const std::string_view* value);
  Line editedLine(std::string_view name, const std::string_view* value);
  Section* findSection(std::string_view name);
  const Section* findSection(std::string_view name) const;

  std::string text_;               // the file as parsed
  std::string edits_;              // the texts of lines set since
  std::vector<Section> sections_;  // [0] is the prelude before any header
  std::unordered_map<std::string, size_t> sectionIndex_;
};
