#include "calc/equipment/equipment_definitions.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "calc/strip_spaces.h"
#include "core/column_letter.h"
#include "core/ini_file.h"
#include "platform/fs.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"

namespace kv {
namespace {

constexpr int kMaxDefinitionLines = 200;
constexpr int kMaxRuleReferences = 10;

// A definition line and the line of the file it came from.
struct DefLine {
  std::string text;
  int fileLine = 0;
};

std::string TrimHalfBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// The letter at 1-based position `pos` is a column letter.
bool LetterAt(const std::string& line, size_t pos) {
  return pos >= 1 && pos <= line.size() && IsAsciiLetter(std::string_view(line).substr(pos - 1, 1));
}

// Every "[[" (or, with `hashToo`, "[#") of the line is followed by a letter;
// the number of "[#" in `hashes`.
bool ReferencesAreLetters(const std::string& line, int* hashes = nullptr) {
  int count = 0;
  for (size_t p = 0; p + 1 < line.size(); ++p) {
    if (line[p] != '[' || (line[p + 1] != '[' && line[p + 1] != '#')) continue;
    if (line[p + 1] == '#') ++count;
    if (!LetterAt(line, p + 3)) return false;
    ++p;
  }
  if (hashes) *hashes = count;
  return true;
}

bool SikiRuleValid(const std::string& rule) {
  if (!LetterAt(rule, 3)) return false;
  const size_t arrow = rule.find("=>");
  if (arrow == std::string::npos || arrow + 1 < 6) return false;
  if (!LetterAt(rule, arrow + 1 + 4)) return false;
  int hashes = 0;
  if (!ReferencesAreLetters(rule.substr(5, arrow - 5), &hashes)) return false;
  return hashes <= kMaxRuleReferences;
}

bool FiveLinesValid(const std::vector<std::string>& lines) {
  return std::all_of(lines.begin(), lines.end(), [](const std::string& l) {
    const size_t p = l.find("[[");
    return p == std::string::npos || LetterAt(l, p + 3);
  });
}

void AddColumn(ProgramState& st, int col) {
  if (col < 1 || col > 52) return;
  const auto begin = st.SbColumnTable.begin() + 1;
  const auto end = begin + st.SbColumnCount;
  if (std::find(begin, end, col) != end) return;
  st.SbColumnTable[static_cast<size_t>(++st.SbColumnCount)] = col;
}

void BuildColumnSet(ProgramState& st) {
  st.SbColumnCount = 0;
  for (int i = 1; i <= st.SikiCount; ++i) AddColumn(st, ColLetterToNum(std::string_view(st.SikiRules[i]).substr(2, 1)));
  for (int i = 1; i <= st.ZokuCount; ++i) AddColumn(st, st.ZokuUnitCols[static_cast<size_t>(i)]);
  for (int i = 1; i <= st.SzatuCount; ++i) AddColumn(st, ParseDoubleBracketNumber(st.SzatuFormulaLines[i]));
}

// The first 20 line numbers, then how many more there are: a large broken
// file gives a warning of a few lines, not one number for each line.
std::string LineList(const std::vector<int>& lines) {
  constexpr size_t kNamed = 20;
  std::string s;
  for (size_t i = 0; i < lines.size() && i < kNamed; ++i) s += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
  if (lines.size() > kNamed) s += " ほか " + std::to_string(lines.size() - kNamed) + " 行";
  return s;
}

}  // namespace

void SbClearDefinitions(ProgramState& st) {
  st.SikiCount = st.ZokuCount = st.AutoCount = st.KeihiCount = st.SzatuCount = st.SkeihiCount = 0;
  st.SbColumnCount = 0;
}

void SbLoadDefinitions(ProgramState& st, const std::string& path) {
  std::error_code ec;
  std::optional<std::string> bytes = fs::ReadFileBytes(path, ec);
  if (!bytes) {
    WarnMsgBox(st, "設備定義ファイル VEZ_SIKI.DAT を読み込めません。");
    return;
  }

  std::vector<DefLine> lines;
  std::vector<int> leftOut;
  int fileLine = 0;
  for (size_t at = 0; at < bytes->size();) {
    size_t end = bytes->find('\n', at);
    if (end == std::string::npos) end = bytes->size();
    std::string line = bytes->substr(at, end - at);
    at = end + 1;
    ++fileLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = TrimHalfBlanks(line);
    if (line.empty() || line.front() == ';') continue;
    if (const size_t semi = line.find(';'); semi != std::string::npos) line.erase(semi);
    StripSpaces(line);
    if (static_cast<int>(lines.size()) == kMaxDefinitionLines) {
      leftOut.push_back(fileLine);
      continue;
    }
    lines.push_back({line, fileLine});
  }

  const int count = static_cast<int>(lines.size());
  auto valueLines = [&](int j, int n, std::vector<std::string>& out) {
    out.clear();
    for (int k = 1; k <= n; ++k) {
      if (j + k >= count) return false;
      out.push_back(TrimHalfBlanks(lines[static_cast<size_t>(j + k)].text));
    }
    return true;
  };
  std::vector<std::string> v;
  for (int j = 0; j < count;) {
    const std::string key = Upper(lines[static_cast<size_t>(j)].text);
    const int keyLine = lines[static_cast<size_t>(j)].fileLine;
    const int n = key == "SIKI" || key == "ZOKU" || key == "AUTO" || key == "KEIHI" ? 1
                  : key == "SZATU" || key == "SKEIHI"                          ? 5
                                                                               : 0;
    if (n == 0) {
      ++j;
      continue;
    }
    const bool present = valueLines(j, n, v);
    j += n + 1;
    bool ok = present;
    int* target = nullptr;
    if (key == "SIKI") {
      ok = ok && SikiRuleValid(v[0]);
      target = &st.SikiCount;
    } else if (key == "ZOKU") {
      ok = ok && LetterAt(v[0], 3) && LetterAt(v[0], 8);
      target = &st.ZokuCount;
    } else if (key == "AUTO") {
      ok = ok && LetterAt(v[0], 3);
      target = &st.AutoCount;
    } else if (key == "KEIHI") {
      ok = ok && LetterAt(v[0], 3) && LetterAt(v[0], 8) && LetterAt(v[0], 13);
      target = &st.KeihiCount;
    } else {
      ok = ok && FiveLinesValid(v);
      target = key == "SZATU" ? &st.SzatuCount : &st.SkeihiCount;
    }
    if (!ok || *target >= kMaxEquipEntries) {
      leftOut.push_back(keyLine);
      continue;
    }
    const size_t e = static_cast<size_t>(++*target);
    if (key == "SIKI") {
      st.SikiRules[e] = v[0];
    } else if (key == "ZOKU") {
      st.ZokuUnitCols[e] = ColLetterToNum(std::string_view(v[0]).substr(2, 1));
      st.ZokuValueCols[e] = ColLetterToNum(std::string_view(v[0]).substr(7, 1));
    } else if (key == "AUTO") {
      st.AutoLines[e] = v[0];
    } else if (key == "KEIHI") {
      st.KeihiLines[e] = v[0];
    } else if (key == "SZATU") {
      st.SzatuFormulaLines[e] = v[0], st.SzatuMarkLines[e] = v[1], st.SzatuAmountLines[e] = v[2];
      st.SzatuRateLines[e] = v[3], st.SzatuResultLines[e] = v[4];
    } else {
      st.SkeihiFormulaLines[e] = v[0], st.SkeihiMarkLines[e] = v[1], st.SkeihiAmountLines[e] = v[2];
      st.SkeihiRateLines[e] = v[3], st.SkeihiResultLines[e] = v[4];
    }
  }
  BuildColumnSet(st);
  if (!leftOut.empty()) {
    std::sort(leftOut.begin(), leftOut.end());
    WarnMsgBox(st, "設備定義ファイル VEZ_SIKI.DAT の次の行は読み込めません。\r行: " + LineList(leftOut));
  }
}

std::int64_t UnitLetterFactor(std::string_view unit) {
  if (unit.empty()) return 1;
  switch (std::toupper(static_cast<unsigned char>(unit.front()))) {
    case 'J': return 10;
    case 'H': return 100;
    case 'S': return 1000;
    case 'M': return 10000;
    case 'T': return 100000;
    case 'O': return 1000000;
    default: return 1;
  }
}

bool IsAsciiLetter(std::string_view ch) {
  if (ch.empty()) return false;
  const char c = ch.front();
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsHalfKana(std::string_view ch) {
  if (ch.empty()) return false;
  const auto c = static_cast<unsigned char>(ch.front());
  return c >= 0xB1 && c <= 0xDD;
}

bool IsDigitOrMinus(std::string_view ch) {
  if (ch.empty()) return false;
  const char c = ch.front();
  return (c >= '0' && c <= '9') || c == '-';
}

bool IsEquipmentSiwakeFile(const std::string& workBase) {
  std::string value;
  IniGetString("VEZ_File", "FileType", value, workBase + ".INI");
  return value == "SetubiSiwakeFile";
}

int ParseDoubleBracketNumber(std::string_view line) {
  const size_t p = line.find("[[");
  if (p == std::string_view::npos) return 0;
  return p + 2 < line.size() ? ColLetterToNum(line.substr(p + 2, 1)) : 0;
}

}  // namespace kv
