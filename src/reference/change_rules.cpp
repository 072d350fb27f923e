#include "reference/change_rules.h"

#include <algorithm>
#include <climits>

#include "core/ini_file.h"
#include "core/ini_parse.h"
#include "core/sjis_text.h"
#include "state/program_state.h"

namespace kv {

namespace {

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// A number item: blanks ignored, an optional "-", digits only.
std::optional<int> NumberItem(const std::string& item) {
  const std::string t = Trim(item);
  size_t i = t.size() > 1 && t[0] == '-' ? 1 : 0;
  if (i == t.size()) return std::nullopt;
  long value = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return std::nullopt;
    value = value * 10 + (t[i] - '0');
    if (value > INT_MAX) return std::nullopt;
  }
  return static_cast<int>(t[0] == '-' ? -value : value);
}

// The value split at its commas; the name is everything before the last
// `tail` items.
bool SplitFromRight(const std::string& value, size_t tail, std::string& name, std::vector<std::string>& items) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t c = value.find(','); c != std::string::npos; c = value.find(',', start)) {
    parts.push_back(value.substr(start, c - start));
    start = c + 1;
  }
  parts.push_back(value.substr(start));
  if (parts.size() < tail + 1) return false;
  const size_t nameParts = parts.size() - tail;
  name = parts[0];
  for (size_t i = 1; i < nameParts; ++i) name += "," + parts[i];
  items.assign(parts.begin() + static_cast<long>(nameParts), parts.end());
  return true;
}

bool FieldItems(const std::string& value, size_t tail, RefField& field, std::vector<std::string>& items) {
  std::string name;
  if (!SplitFromRight(value, tail, name, items)) return false;
  const std::string type = Trim(items[0]);
  if (type != "C" && type != "N") return false;
  const auto offset = NumberItem(items[1]), width = NumberItem(items[2]), decimals = NumberItem(items[3]);
  if (!offset || !width || !decimals) return false;
  field = RefField{name, type, *decimals, *offset, *width};
  return true;
}

std::string Entry(const RefField& f) {
  return f.name + "," + f.type + "," + std::to_string(f.offset) + "," + std::to_string(f.width) + "," +
         std::to_string(f.decimals);
}

bool SameGeometry(const std::vector<RefField>& a, const std::vector<RefField>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].type != b[i].type || a[i].decimals != b[i].decimals || a[i].offset != b[i].offset ||
        a[i].width != b[i].width)
      return false;
  return true;
}

}  // namespace

std::filesystem::path RuleFilePath(const ProgramState& st) {
  return std::filesystem::path(st.AppPath) / "MDataChange.INI";
}

RuleList ChgRuleNameGet(const std::filesystem::path& file) {
  RuleList list;
  const int count = IniGetInt(kRuleListSection, "ChgRuleCnt", file);
  list.RuleCount = count < 0 ? 0 : std::min(count, kMaxRules);
  for (int k = 1; k <= list.RuleCount; ++k) {
    std::string name;
    IniGetString(kRuleListSection, "ChgRuleName" + std::to_string(k), name, file);
    list.RuleNames.push_back(name);
  }
  return list;
}

int FindRuleName(const RuleList& list, const std::string& name) {
  const int count = std::min(list.RuleCount, static_cast<int>(list.RuleNames.size()));
  for (int k = 1; k <= count; ++k)
    if (list.RuleNames[static_cast<size_t>(k - 1)] == name) return k;
  // The rule file finds a section without letter case: a name that differs
  // from a rule's only so names that rule's section, and a second list entry
  // would write over its definitions.
  const std::string folded = IniFoldName(ToAnsiBytes(name));
  for (int k = 1; k <= count; ++k)
    if (IniFoldName(ToAnsiBytes(list.RuleNames[static_cast<size_t>(k - 1)])) == folded) return k;
  return -1;
}

bool ParseMFieldEntry(const std::string& value, RefField& field, int& map) {
  std::vector<std::string> items;
  RefField f;
  if (!FieldItems(value, 5, f, items)) return false;
  const auto m = NumberItem(items[4]);
  if (!m) return false;
  field = f;
  map = *m < 0 ? -1 : *m;
  return true;
}

bool ParseRFieldEntry(const std::string& value, RefField& field) {
  std::vector<std::string> items;
  return FieldItems(value, 4, field, items);
}

std::string MFieldEntry(const RefField& field, int map) { return Entry(field) + "," + std::to_string(map); }
std::string RFieldEntry(const RefField& field) { return Entry(field); }

std::optional<RefConvRule> ReadRuleDefinitions(const std::filesystem::path& file, const std::string& name) {
  if (name.empty() || !IniHasSection(name, file)) return std::nullopt;
  const int m = IniGetInt(name, "MFieldCnt", file);
  const int r = IniGetInt(name, "RFieldCnt", file);
  if (m < 1 || m > kMaxRuleFields || r < 1 || r > kMaxRuleFields) return std::nullopt;
  RefConvRule rule;
  std::string value;
  for (int i = 1; i <= m; ++i) {
    IniGetString(name, "MField" + std::to_string(i), value, file);
    RefField f;
    int map = -1;
    if (!ParseMFieldEntry(value, f, map) || map >= r) return std::nullopt;
    rule.m.push_back(f);
    rule.map.push_back(map);
  }
  for (int j = 1; j <= r; ++j) {
    IniGetString(name, "RField" + std::to_string(j), value, file);
    RefField f;
    if (!ParseRFieldEntry(value, f)) return std::nullopt;
    rule.r.push_back(f);
  }
  return rule;
}

bool RuleMatchesCurrentFields(const RefConvRule& stored, const std::vector<RefField>& m,
                              const std::vector<RefField>& r) {
  return SameGeometry(stored.m, m) && SameGeometry(stored.r, r);
}

RuleSaveResult SaveRule(const std::filesystem::path& file, RuleList& list, int k, const std::string& name,
                        const RefConvRule& rule) {
  std::string section = name;
  if (k != -1) {
    section = list.RuleNames[static_cast<size_t>(k - 1)];
  } else {
    if (list.RuleCount >= kMaxRules) return RuleSaveResult::Full;
    const int count = list.RuleCount + 1;
    if (!IniPutString(kRuleListSection, "ChgRuleName" + std::to_string(count), name, file) ||
        !IniPutString(kRuleListSection, "ChgRuleCnt", std::to_string(count), file))
      return RuleSaveResult::WriteFailed;
    list.RuleCount = count;
    list.RuleNames.resize(static_cast<size_t>(count - 1));
    list.RuleNames.push_back(name);
  }
  bool ok = IniPutString(section, "MFieldCnt", std::to_string(rule.m.size()), file);
  for (size_t i = 0; ok && i < rule.m.size(); ++i)
    ok = IniPutString(section, "MField" + std::to_string(i + 1), MFieldEntry(rule.m[i], rule.map[i]), file);
  ok = ok && IniPutString(section, "RFieldCnt", std::to_string(rule.r.size()), file);
  for (size_t j = 0; ok && j < rule.r.size(); ++j)
    ok = IniPutString(section, "RField" + std::to_string(j + 1), RFieldEntry(rule.r[j]), file);
  return ok ? RuleSaveResult::Saved : RuleSaveResult::WriteFailed;
}

bool RuleNameAcceptable(const std::string& name) {
  if (Trim(name).empty()) return false;
  if (name.find_first_of("[]=\r\n") != std::string::npos) return false;
  const std::string ideographicBlank = "\xE3\x80\x80";  // "　"
  const auto blankAt = [&](size_t pos) {
    return name[pos] == ' ' || name[pos] == '\t' || name.compare(pos, 3, ideographicBlank) == 0;
  };
  if (blankAt(0)) return false;
  if (name.back() == ' ' || name.back() == '\t') return false;
  return !(name.size() >= 3 && name.compare(name.size() - 3, 3, ideographicBlank) == 0);
}

}  // namespace kv
