#include "IniDocument.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

constexpr std::string_view kNewLine = "\r\n";

}  // namespace

std::string IniDocument::lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

void IniDocument::parseKeyLine(Line& line, std::string& keyName) {
  const std::string_view text = line.text;
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
  line.valueBegin = begin;
  line.valueEnd = end;
  keyName = lower(name);
}

IniDocument IniDocument::parse(std::string_view text) {
  IniDocument doc;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    Line line;
    if (end == std::string_view::npos) {
      line.text.assign(text.substr(pos));
      pos = text.size();
    } else {
      size_t textEnd = end;
      if (textEnd > pos && text[textEnd - 1] == '\r') --textEnd;
      line.text.assign(text.substr(pos, textEnd - pos));
      line.eol.assign(text.substr(textEnd, end + 1 - textEnd));
      pos = end + 1;
    }
    const std::string_view stripped = trim(line.text);
    if (!stripped.empty() && stripped.front() == '[') {
      const size_t close = stripped.find(']');
      Section section;
      section.name.assign(
          trim(stripped.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
      section.lines.push_back(std::move(line));
      doc.sectionIndex_.emplace(lower(section.name), doc.sections_.size());
      doc.sections_.push_back(std::move(section));
      continue;
    }
    Section& section = doc.sections_.back();
    std::string keyName;
    parseKeyLine(line, keyName);
    if (line.isKey) {
      section.keys.emplace(std::move(keyName), section.lines.size());
      section.lastKeyLine = section.lines.size();
    }
    section.lines.push_back(std::move(line));
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
  return std::string_view(line.text).substr(line.valueBegin, line.valueEnd - line.valueBegin);
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view keyName = trim(key);
  Section* s = findSection(section);
  if (!s) {
    // A new section goes at the end; the line before it gets its line end
    // back if the file had none, or the header would join that line.
    Section* last = &sections_.back();
    if (!last->lines.empty() && last->lines.back().eol.empty()) last->lines.back().eol = kNewLine;
    Section fresh;
    fresh.name.assign(trim(section));
    Line header;
    header.text = "[" + fresh.name + "]";
    header.eol = kNewLine;
    fresh.lines.push_back(std::move(header));
    sectionIndex_.emplace(lower(fresh.name), sections_.size());
    sections_.push_back(std::move(fresh));
    s = &sections_.back();
  }
  const std::string lowerKey = lower(keyName);
  auto it = s->keys.find(lowerKey);
  if (it != s->keys.end()) {
    Line& line = s->lines[it->second];
    const std::string_view text = line.text;
    const std::string name(trim(text.substr(0, text.find('='))));
    line.text = name + "=" + std::string(value);
    line.valueBegin = name.size() + 1;
    line.valueEnd = line.text.size();
    return;
  }
  Line line;
  line.text = std::string(keyName) + "=" + std::string(value);
  line.eol = kNewLine;
  line.isKey = true;
  line.valueBegin = keyName.size() + 1;
  line.valueEnd = line.text.size();
  // After the last key line (or the header), before trailing blank lines and
  // comments that belong to the next section.
  size_t at = s->lines.empty() ? 0 : s->lastKeyLine + 1;
  if (s->lines.empty() || (s == &sections_[0] && s->keys.empty())) at = s->lines.size();
  if (at > 0 && s->lines[at - 1].eol.empty()) s->lines[at - 1].eol = kNewLine;
  s->lines.insert(s->lines.begin() + std::ptrdiff_t(at), std::move(line));
  for (auto& entry : s->keys)
    if (entry.second >= at) ++entry.second;
  s->keys.emplace(lowerKey, at);
  s->lastKeyLine = at;
}

std::string IniDocument::serialize() const {
  size_t total = 0;
  for (const Section& s : sections_)
    for (const Line& l : s.lines) total += l.text.size() + l.eol.size();
  std::string out;
  out.reserve(total);
  for (const Section& s : sections_)
    for (const Line& l : s.lines) {
      out += l.text;
      out += l.eol;
    }
  return out;
}
