#include "core/ini_parse.h"

#include "platform/codepage.h"

namespace kv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view TrimLeft(std::string_view t) {
  size_t i = 0;
  while (i < t.size() && IsBlank(t[i])) ++i;
  return t.substr(i);
}

// Position of the last "]" of a line that is a character of its own (not the
// second byte of a double-byte character); npos when there is none.
size_t LastCloseBracket(std::string_view t) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < t.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(t[i]);
    if (IsSjisLeadByte(c)) {
      ++i;
      continue;
    }
    if (c == ']') found = i;
  }
  return found;
}

bool IsComment(std::string_view trimmedLeft) { return !trimmedLeft.empty() && trimmedLeft[0] == ';'; }

// The value part of a key line as read: blanks and one pair of quotes removed.
std::string_view ValueOf(std::string_view line) {
  size_t eq = line.find('=');
  std::string_view v = IniTrim(line.substr(eq + 1));
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

std::string_view IniTrim(std::string_view text) {
  text = TrimLeft(text);
  size_t n = text.size();
  while (n > 0 && IsBlank(text[n - 1])) --n;
  return text.substr(0, n);
}

std::string IniFoldName(std::string_view sjisName) {
  std::string_view t = IniTrim(sjisName);
  std::string out(t);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsSjisLeadByte(c)) {
      ++i;  // the trail byte may look like a letter: leave it alone
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

IniDocument::IniDocument(std::string bytes) : bytes_(std::move(bytes)) { Index(); }

void IniDocument::Index() {
  lines_.clear();
  sections_.clear();
  sectionIndex_.clear();
  size_t pos = 0;
  while (pos < bytes_.size()) {
    size_t nl = bytes_.find('\n', pos);
    Line l;
    l.begin = pos;
    if (nl == std::string::npos) {
      l.length = bytes_.size() - pos;
      pos = bytes_.size();
    } else {
      bool crlf = nl > pos && bytes_[nl - 1] == '\r';
      l.length = nl - pos - (crlf ? 1 : 0);
      l.endLength = crlf ? 2 : 1;
      pos = nl + 1;
    }
    lines_.push_back(l);
  }

  Section* cur = nullptr;
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::string_view t = TrimLeft(LineText(i));
    if (!t.empty() && t[0] == '[') {
      size_t close = LastCloseBracket(t);
      if (close != std::string_view::npos) {
        if (cur) cur->end = i;
        sections_.push_back(Section{i, lines_.size(), i, {}});
        cur = &sections_.back();
        sectionIndex_.try_emplace(IniFoldName(t.substr(1, close - 1)), sections_.size() - 1);
        continue;
      }
    }
    if (!cur || t.empty() || IsComment(t)) continue;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) continue;
    cur->keys.try_emplace(IniFoldName(t.substr(0, eq)), i);
    cur->lastKey = i;
  }
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  auto it = sectionIndex_.find(IniFoldName(name));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string_view> IniDocument::Find(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  auto it = s->keys.find(IniFoldName(key));
  if (it == s->keys.end()) return std::nullopt;
  return ValueOf(LineText(it->second));
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view keyText = IniTrim(key);
  const Section* s = FindSection(section);
  if (s) {
    auto it = s->keys.find(IniFoldName(key));
    if (it != s->keys.end()) {
      // Keep the line up to its "=" (and the blanks after it when a value
      // followed them); only the value changes.
      const Line& l = lines_[it->second];
      std::string_view text = LineText(it->second);
      size_t keep = text.find('=') + 1;
      size_t afterBlanks = keep;
      while (afterBlanks < text.size() && IsBlank(text[afterBlanks])) ++afterBlanks;
      if (afterBlanks < text.size()) keep = afterBlanks;
      std::string line(text.substr(0, keep));
      line.append(value);
      bytes_.replace(l.begin, l.length, line);
    } else {
      const Line& l = lines_[s->lastKey];
      std::string add = l.endLength == 0 ? "\r\n" : "";
      add.append(keyText).append("=").append(value).append("\r\n");
      bytes_.insert(l.begin + l.length + l.endLength, add);
    }
  } else {
    std::string add;
    if (!bytes_.empty()) {
      if (bytes_.back() != '\n') add += "\r\n";
      // A blank line before the new section, unless the file ends with one.
      if (!IniTrim(LineText(lines_.size() - 1)).empty()) add += "\r\n";
    }
    add.append("[").append(IniTrim(section)).append("]\r\n");
    add.append(keyText).append("=").append(value).append("\r\n");
    bytes_ += add;
  }
  Index();
}

bool IniDocument::RemoveSection(std::string_view section) {
  const std::string name = IniFoldName(section);
  bool removed = false;
  // From the last to the first, so the earlier offsets stay valid.
  for (size_t k = sections_.size(); k-- > 0;) {
    const Section& s = sections_[k];
    std::string_view header = TrimLeft(LineText(s.header));
    if (IniFoldName(header.substr(1, LastCloseBracket(header) - 1)) != name) continue;
    size_t end = s.end;
    if (end < lines_.size()) {
      // Comment lines right above the next section belong to that section.
      while (end - 1 > s.header && IsComment(TrimLeft(LineText(end - 1)))) --end;
    }
    size_t from = lines_[s.header].begin;
    size_t to = end < lines_.size() ? lines_[end].begin : bytes_.size();
    bytes_.erase(from, to - from);
    removed = true;
  }
  if (removed) Index();
  return removed;
}

}  // namespace kv
