#include "IniDocument.h"

#include <algorithm>
#include <cstring>

#include "ScratchBuffer.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// New lines get the platform's line end.
constexpr uint8_t kNewLineLength = 2;
constexpr std::string_view kLineEnds[] = {"", "\n", "\r\n"};

}  // namespace

IniDocument::~IniDocument() {
  giveScratch(std::move(text_));
  giveScratch(std::move(edits_));
}

std::string IniDocument::lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

std::string_view IniDocument::textOf(const Line& line) const {
  const std::string& store = line.edited ? edits_ : text_;
  return std::string_view(store).substr(line.begin, line.length);
}

void IniDocument::parseKeyLine(Line& line, std::string& keyName) const {
  const std::string_view text = textOf(line);
  const size_t eq = text.find('=');
  if (eq == std::string_view::npos) return;
  const std::string_view name = trim(text.substr(0, eq));
  // A line whose name part is empty or a comment is kept but never found.
  if (name.empty() || name.front() == ';') return;
  size_t begin = eq + 1, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  if (end - begin >= 2 && (text[begin] == '"' || text[begin] == '\'') && text[end - 1] == text[begin]) {
    ++begin;
    --end;
  }
  line.isKey = true;
  line.valueBegin = uint32_t(begin);
  line.valueEnd = uint32_t(end);
  keyName = lower(name);
}

// Names that a reader of the file finds again as they were set: a section
// name without a closing bracket or line break, a key name that does not
// read as a comment, a header or a key with another name.
bool IniDocument::storableSection(std::string_view name) {
  return name.find_first_of("]\r\n") == std::string_view::npos;
}

bool IniDocument::storableKey(std::string_view name) {
  return !name.empty() && name.front() != ';' && name.front() != '[' &&
         name.find_first_of("=\r\n") == std::string_view::npos;
}

IniDocument IniDocument::parse(std::string_view text) { return adopt(std::string(text)); }

IniDocument IniDocument::adopt(std::string text) {
  IniDocument doc;
  doc.text_ = std::move(text);
  doc.edits_ = takeScratch();
  const std::string_view all = doc.text_;
  size_t pos = 0;
  while (pos < all.size()) {
    size_t end = all.find('\n', pos);
    Line line;
    line.begin = uint32_t(pos);
    if (end == std::string_view::npos) {
      line.length = uint32_t(all.size() - pos);
      pos = all.size();
    } else {
      size_t textEnd = end;
      if (textEnd > pos && all[textEnd - 1] == '\r') --textEnd;
      line.length = uint32_t(textEnd - pos);
      line.eolLength = uint8_t(end + 1 - textEnd);
      pos = end + 1;
    }
    const std::string_view stripped = trim(doc.textOf(line));
    if (!stripped.empty() && stripped.front() == '[') {
      const size_t close = stripped.find(']');
      Section section;
      section.name.assign(
          trim(stripped.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
      section.lines.push_back(line);
      doc.sectionIndex_.emplace(lower(section.name), doc.sections_.size());
      doc.sections_.push_back(std::move(section));
      continue;
    }
    Section& section = doc.sections_.back();
    std::string keyName;
    doc.parseKeyLine(line, keyName);
    if (line.isKey) {
      section.keys.emplace(std::move(keyName), section.lines.size());
      section.lastKeyLine = section.lines.size();
    }
    section.lines.push_back(line);
  }
  return doc;
}

IniDocument::Section* IniDocument::findSection(std::string_view name) {
  auto it = sectionIndex_.find(lower(trim(name)));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const {
  auto it = sectionIndex_.find(lower(trim(name)));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

bool IniDocument::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

std::optional<std::string_view> IniDocument::find(std::string_view section, std::string_view key) const {
  const Section* s = findSection(section);
  if (!s) return std::nullopt;
  auto it = s->keys.find(lower(trim(key)));
  if (it == s->keys.end()) return std::nullopt;
  const Line& line = s->lines[it->second];
  return textOf(line).substr(line.valueBegin, line.valueEnd - line.valueBegin);
}

std::optional<std::string_view> IniDocument::findWritten(std::string_view section,
                                                         std::string_view key) const {
  const Section* s = findSection(section);
  if (!s) return std::nullopt;
  auto it = s->keys.find(lower(trim(key)));
  if (it == s->keys.end()) return std::nullopt;
  const std::string_view text = textOf(s->lines[it->second]);
  const size_t eq = text.find('=');
  if (eq == 0 || eq == std::string_view::npos || isBlank(text[0]) || isBlank(text[eq - 1]))
    return std::nullopt;
  return text.substr(eq + 1);
}

void IniDocument::rewrite(Line& line, std::string_view name, const std::string_view* value) {
  // The pieces may point into edits_, which may move when it grows.
  const auto inEdits = [&](std::string_view piece) {
    return !piece.empty() && piece.data() >= edits_.data() && piece.data() < edits_.data() + edits_.size();
  };
  if (inEdits(name) || (value && inEdits(*value))) {
    const std::string copy = std::string(name) + (value ? "=" + std::string(*value) : std::string());
    rewrite(line, copy, nullptr);
    return;
  }
  const size_t size = name.size() + (value ? 1 + value->size() : 0);
  // A value set again in a text no longer than the last one (the usual case:
  // a struct of a fixed size) takes the place of the last one.
  if (!line.edited || size > line.length) {
    line.begin = uint32_t(edits_.size());
    edits_.resize(edits_.size() + size);
  }
  char* at = edits_.data() + line.begin;
  std::memcpy(at, name.data(), name.size());
  if (value) {
    at[name.size()] = '=';
    std::memcpy(at + name.size() + 1, value->data(), value->size());
  }
  line.length = uint32_t(size);
  line.edited = true;
}

IniDocument::Line IniDocument::editedLine(std::string_view name, const std::string_view* value) {
  Line line;
  line.eolLength = kNewLineLength;
  rewrite(line, name, value);
  return line;
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view rawValue) {
  const std::string_view keyName = trim(key);
  if (!storableSection(section) || !storableKey(keyName)) return false;
  // A line break would end the line early and let the rest of the value
  // become keys or sections of its own.
  std::string flat;
  std::string_view value = rawValue;
  // (Two scans: find_first_of looks up the pair for every character, which
  // for the long struct values costs more than everything else in set.)
  if (value.find('\n') != std::string_view::npos || value.find('\r') != std::string_view::npos) {
    flat.assign(value);
    std::replace_if(
        flat.begin(), flat.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    value = flat;
  }
  Section* s = findSection(section);
  if (!s) {
    // A new section goes at the end; the line before it gets its line end
    // back if the file had none, or the header would join that line.
    Section* last = &sections_.back();
    if (!last->lines.empty() && last->lines.back().eolLength == 0)
      last->lines.back().eolLength = kNewLineLength;
    Section fresh;
    fresh.name.assign(trim(section));
    fresh.lines.push_back(editedLine("[" + fresh.name + "]", nullptr));
    sectionIndex_.emplace(lower(fresh.name), sections_.size());
    sections_.push_back(std::move(fresh));
    s = &sections_.back();
  }
  const std::string lowerKey = lower(keyName);
  auto it = s->keys.find(lowerKey);
  if (it != s->keys.end()) {
    Line& line = s->lines[it->second];
    const std::string_view text = textOf(line);
    const std::string_view name = trim(text.substr(0, text.find('=')));
    // Unchanged when the line already reads exactly "name=value".
    if (name.data() == text.data() && text.size() == name.size() + 1 + value.size() &&
        text[name.size()] == '=' && text.substr(name.size() + 1) == value)
      return false;
    rewrite(line, name, &value);
    // The value as a reader of the file will see it: without blanks and
    // quotes around it.
    std::string ignored;
    parseKeyLine(line, ignored);
    return true;
  }
  Line line = editedLine(keyName, &value);
  std::string ignored;
  parseKeyLine(line, ignored);
  line.isKey = true;
  // After the last key line (or the header), before trailing blank lines and
  // comments that belong to the next section.
  size_t at = s->lines.empty() ? 0 : s->lastKeyLine + 1;
  if (s->lines.empty() || (s == &sections_[0] && s->keys.empty())) at = s->lines.size();
  if (at > 0 && s->lines[at - 1].eolLength == 0) s->lines[at - 1].eolLength = kNewLineLength;
  s->lines.insert(s->lines.begin() + std::ptrdiff_t(at), line);
  for (auto& entry : s->keys)
    if (entry.second >= at) ++entry.second;
  s->keys.emplace(lowerKey, at);
  s->lastKeyLine = at;
  return true;
}

void IniDocument::serializeTo(std::string& out) const {
  size_t total = 0;
  for (const Section& s : sections_)
    for (const Line& l : s.lines) total += l.length + l.eolLength;
  out.clear();
  out.reserve(total);
  for (const Section& s : sections_)
    for (const Line& l : s.lines) {
      out += textOf(l);
      out += kLineEnds[l.eolLength];
    }
}

std::string IniDocument::serialize() const {
  std::string out;
  serializeTo(out);
  return out;
}
