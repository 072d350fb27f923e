#pragma once
// A settings (INI) file held as its Shift-JIS bytes, indexed for lookup and
// edited in place: every line that an edit does not touch keeps its bytes,
// comments, blank lines and line ends.
//
// Reading rules: a section line is "[name]" (the name between "[" and the
// last "]" of the line); a key line holds "key=value" (split at the first
// "="); lines beginning with ";" are comments; any other line is kept and
// ignored. Section and key names are compared without ASCII letter case and
// without their surrounding blanks; the first section and the first key of a
// name count. A value is read without its surrounding blanks, and a value
// enclosed in one pair of double quotes without them.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kv {

class IniDocument {
 public:
  IniDocument() = default;
  explicit IniDocument(std::string bytes);

  // The value of the key (Shift-JIS), nullopt when the section or key is missing.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

  // True when the document holds a section of this name (Shift-JIS).
  bool HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

  // Gives the key this value, replacing the old value in its line or adding
  // the key at the end of its section (and the section at the end of the
  // file). New lines end with CR LF.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // Removes every section of this name with all its lines (a block of comment
  // lines just above the next section stays with that section). True when
  // something was removed.
  bool RemoveSection(std::string_view section);

  const std::string& Bytes() const { return bytes_; }

 private:
  struct Line {
    size_t begin = 0;     // offset of the line in bytes_
    size_t length = 0;    // without the line end
    size_t endLength = 0;  // 2 for CR LF, 1 for LF, 0 on a last line without one
  };
  struct Section {
    size_t header = 0;    // line index of "[name]"
    size_t end = 0;       // line index after the section's last line
    size_t lastKey = 0;   // line index of the last key line (the header when none)
    std::unordered_map<std::string, size_t> keys;  // folded key name -> first line
  };

  void Index();
  std::string_view LineText(size_t i) const { return {bytes_.data() + lines_[i].begin, lines_[i].length}; }
  const Section* FindSection(std::string_view name) const;

  std::string bytes_;
  std::vector<Line> lines_;
  std::vector<Section> sections_;                            // in file order
  std::unordered_map<std::string, size_t> sectionIndex_;     // folded name -> first in sections_
};

// A name as compared: surrounding blanks removed, ASCII letters folded to
// lower case (the second byte of a double-byte character is left alone).
std::string IniFoldName(std::string_view sjisName);

// Blanks removed from both ends.
std::string_view IniTrim(std::string_view text);

}  // namespace kv
