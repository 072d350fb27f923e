#include "state/layout_file.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "core/settings_text.h"
#include "platform/fs.h"
#include "state/column_defs.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"

namespace kv {

namespace {

using Fields = std::vector<std::string>;

// The lines of a layout file, checked: the column lines of levels 1..lastLevel.
struct ParsedLayout {
  std::array<std::vector<Fields>, 9> columns;
  int lastLevel = 0;
};

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::error_code ec;
  return fs::ReadFileBytes(fs::ResolveNoCase(path), ec);
}

bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }
bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Every byte a single-byte character or part of a whole double-byte one.
bool IsSoundSjis(std::string_view line) {
  for (size_t i = 0; i < line.size(); ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (IsLeadByte(c)) {
      if (i + 1 >= line.size() || !IsTrailByte(static_cast<unsigned char>(line[i + 1]))) return false;
      ++i;
    } else if (c == 0x80 || c == 0xA0 || c >= 0xFD) {
      return false;
    }
  }
  return true;
}

Fields SplitTabs(std::string_view line) {
  Fields fields;
  size_t start = 0;
  while (true) {
    const size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
      fields.emplace_back(line.substr(start));
      return fields;
    }
    fields.emplace_back(line.substr(start, tab - start));
    start = tab + 1;
  }
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = end + 1;
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// Checks the whole file; on a fault `problem` names the line and the reason.
std::optional<ParsedLayout> ParseLayout(const std::string& text, std::string& problem) {
  ParsedLayout layout;
  const std::vector<std::string> lines = SplitLines(text);
  if (lines.empty()) {
    problem = "空のファイルです";
    return std::nullopt;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    auto refuse = [&](const std::string& reason) {
      problem = std::to_string(i + 1) + "行目: " + reason;
      return std::nullopt;
    };
    if (!IsSoundSjis(line)) return refuse("文字コードが正しくありません");
    // A level line: "DM=" and the level. A column line always holds Tabs, so
    // a heading that begins with "DM" is still a column.
    if (line.rfind("DM", 0) == 0 && line.find('\t') == std::string::npos) {
      const int n = line.size() > 3 ? WholeNumberValue(std::string_view(line).substr(3)) : 0;
      if (n > 8) return refuse("階層が8を超えています");
      if (n != layout.lastLevel + 1) return refuse("階層の番号が順になっていません");
      layout.lastLevel = n;
      continue;
    }
    if (layout.lastLevel == 0) return refuse("DM=1 の行より前に列の行があります");
    Fields fields = SplitTabs(line);
    if (fields.size() < 8) return refuse("タブで区切られた項目が足りません");
    if (WholeNumberValue(fields[3]) < 0) return refuse("列の幅が負の値です");
    auto& level = layout.columns[static_cast<size_t>(layout.lastLevel)];
    if (level.size() == kMaxColumns) return refuse("列が52を超えています");
    level.push_back(std::move(fields));
  }
  return layout;
}

std::string RefusalText(const std::string& path, const std::string& problem) {
  return "レイアウトファイル " + path + " は正しくありません。\n" + problem;
}

// Reads and checks the layout file of a work base; shows why when it cannot.
std::optional<ParsedLayout> LoadLayoutLines(ProgramState& st, const std::string& path) {
  const auto text = ReadWholeFile(path);
  if (!text) {
    WarnMsgBox(st, "レイアウトファイル " + path + " を読み込めません。");
    return std::nullopt;
  }
  std::string problem;
  auto layout = ParseLayout(*text, problem);
  if (!layout) WarnMsgBox(st, RefusalText(path, problem) + "\nこのレイアウトは読み込みません。");
  return layout;
}

// Exactly `width` bytes of `record` from byte `start`, blank-padded.
std::string FieldOf(const std::string& record, int start, int width) {
  std::string field;
  if (start >= 1 && static_cast<size_t>(start - 1) < record.size() && width > 0) {
    field = record.substr(static_cast<size_t>(start - 1), static_cast<size_t>(width));
  }
  field.resize(static_cast<size_t>(std::max(width, 0)), ' ');
  return field;
}

}  // namespace

std::string LayoutText(const ProgramState& st) {
  std::string text;
  const int levels = std::clamp(st.LevelCount, 0, 8);
  for (int L = 1; L <= levels; ++L) {
    text += "DM=" + std::to_string(L) + "\r\n";
    const int screen = (st.XMASK[L] >= 0 && st.XMASK[L] <= kMaskScreens) ? st.XMASK[L] : 0;
    for (int c = 1; c <= std::clamp(st.ColCount[L], 0, kMaxColumns); ++c) {
      const int start = st.ColStart[L][c];
      const int width = st.ColWidth[L][c];
      const ColumnMasks& masks = st.MaskDef[L][c];
      text += FieldOf(st.LevelCaption[L], start, width) + '\t' + st.ColType[L][c] + '\t' +
              std::to_string(st.ColDecimals[L][c]) + '\t' + std::to_string(width) + '\t' + st.ColFormula[L][c] + '\t' +
              st.ColTotalKind[L][c] + '\t' + st.ColCarryDef[L][c] + '\t' +
              FieldOf(st.TotalRecordDefaults[L], start, width) + '\t' + std::string(masks.data(), kMaskScreens) +
              masks[static_cast<size_t>(screen)] + "\r\n";
    }
  }
  return text;
}

std::string LayoutFilePath(const ProgramState& st, const std::string& workBase) {
  const std::string& first = st.LevelExt[1];
  std::string ext = ".";
  if (first.size() >= 2) ext += first[1];
  return workBase + ext + "$";
}

bool WriteLayoutFile(ProgramState& st, const std::string& workBase, fs::Flush flush) {
  const std::string path = LayoutFilePath(st, workBase);
  std::error_code ec;
  if (!fs::WriteFileAtomic(fs::ResolveNoCase(path), LayoutText(st), ec, flush)) {
    WarnMsgBox(st, "レイアウトファイル " + path + " を書き込めません。");
    return false;
  }
  return true;
}

std::optional<LayoutSummary> ReadLayoutFile(const std::string& path, std::string* problem) {
  if (problem != nullptr) problem->clear();
  const auto text = ReadWholeFile(path);
  if (!text) return std::nullopt;
  std::string why;
  const auto layout = ParseLayout(*text, why);
  if (!layout) {
    if (problem != nullptr) *problem = why;
    return std::nullopt;
  }
  LayoutSummary summary;
  for (int L = 1; L <= layout->lastLevel; ++L) {
    const auto& cols = layout->columns[static_cast<size_t>(L)];
    summary.counts[L] = static_cast<int>(cols.size());
    for (size_t c = 0; c < cols.size(); ++c) {
      summary.headings[L][c + 1] = cols[c][0];
      summary.types[L][c + 1] = cols[c][1];
      summary.decimals[L][c + 1] = cols[c][2];
      summary.widths[L][c + 1] = cols[c][3];
    }
  }
  return summary;
}

bool LayoutsDiffer(ProgramState& st, const std::string& workBaseA, const std::string& workBaseB) {
  if (workBaseA == workBaseB) return false;
  std::optional<LayoutSummary> summaries[2];
  const std::string paths[2] = {LayoutFilePath(st, workBaseA), LayoutFilePath(st, workBaseB)};
  for (int i = 0; i < 2; ++i) {
    std::string problem;
    summaries[i] = ReadLayoutFile(paths[i], &problem);
    if (!summaries[i]) {
      if (!problem.empty()) WarnMsgBox(st, RefusalText(paths[i], problem) + "\n現在の設定で開きます。");
      return false;
    }
  }
  const LayoutSummary& a = *summaries[0];
  const LayoutSummary& b = *summaries[1];
  for (int L = 1; L <= 8; ++L) {
    if (a.counts[L] != b.counts[L]) return true;
    for (int c = 1; c <= a.counts[L]; ++c) {
      if (a.types[L][c] != b.types[L][c] || a.decimals[L][c] != b.decimals[L][c] || a.widths[L][c] != b.widths[L][c]) {
        return true;
      }
    }
  }
  return false;
}

bool LoadEditLayout(ProgramState& st, const std::string& workBase) {
  return LoadLayoutFile(st, LayoutFilePath(st, workBase));
}

bool LoadLayoutFile(ProgramState& st, const std::string& path) {
  const auto layout = LoadLayoutLines(st, path);
  if (!layout) return false;
  const ColumnTables previous = st;
  for (int L = 1; L <= layout->lastLevel; ++L) {
    const auto& cols = layout->columns[static_cast<size_t>(L)];
    DefRecordTable records;
    for (size_t i = 0; i < cols.size(); ++i) {
      const Fields& f = cols[i];
      std::string r = BlankDefRecord();
      PutDefItem(st, r, kItemHeading, f[0]);
      PutDefItem(st, r, kItemType, f[1]);
      PutDefItem(st, r, kItemWidth, f[3]);
      PutDefItem(st, r, kItemRowDef, f[4]);
      PutDefItem(st, r, kItemTotalDef, f[5]);
      PutDefItem(st, r, kItemCarryDef, f[6]);
      PutDefItem(st, r, kItemTotalText, f[7]);
      if (f.size() > 8) PutFieldBytes(r, kDefMaskPos, f[8], kMaskScreens);
      records[i + 1] = std::move(r);
    }
    st.ColCount[L] = static_cast<int>(cols.size());
    ColumnTypeParse(st, L, records);
    st.FormatMasks[L] = MakeColumnMasks(st, L);
  }
  if (!SumColumnFind(st)) {
    static_cast<ColumnTables&>(st) = previous;
    WarnMsgBox(st, "レイアウトファイル " + path +
                       " の計算式が互いを参照しているか、参照が深すぎます。\nこのレイアウトは読み込みません。");
    return false;
  }
  return true;
}

bool LoadRefLayout(ProgramState& st, const std::string& workBase) {
  const auto layout = LoadLayoutLines(st, LayoutFilePath(st, workBase));
  if (!layout) return false;
  const size_t recordLen = static_cast<size_t>(std::max(st.DataLen, 0));
  for (int L = 1; L <= layout->lastLevel; ++L) {
    const auto& cols = layout->columns[static_cast<size_t>(L)];
    DefRecordTable records;
    for (size_t i = 0; i < cols.size(); ++i) {
      const Fields& f = cols[i];
      std::string r = BlankDefRecord();
      PutDefItem(st, r, kItemHeading, f[0]);
      PutDefItem(st, r, kItemType, (f[1] == "S" || f[1] == "A") ? f[1] + f[2] : f[1]);
      PutDefItem(st, r, kItemWidth, f[3]);
      records[i + 1] = std::move(r);
    }
    const int count = static_cast<int>(cols.size());
    st.RefColCount[L] = count;
    st.RefColStart[L][0] = 0;
    st.RefColWidth[L][0] = 0;
    st.RefLevelCaption[L] = std::string(recordLen, ' ');
    int start = 20;
    for (int c = 1; c <= count; ++c) {
      const std::string& r = records[static_cast<size_t>(c)];
      st.RefColWidth[L][c] = std::max(0, WholeNumberValue(DefItemBytes(st, r, kItemWidth)));
      const std::string type(TrimBlanks(DefItemBytes(st, r, kItemType)));
      st.RefColDecimals[L][c] = TypeCodeDecimals(type);
      st.RefColType[L][c] = type.empty() ? ' ' : type.front();
      st.RefColStart[L][c] = start;
      start += st.RefColWidth[L][c];
      PutFieldBytes(st.RefLevelCaption[L], st.RefColStart[L][c], DefItemBytes(st, r, kItemHeading),
                    st.RefColWidth[L][c]);
    }
  }
  st.RefLayoutDiffers = false;
  for (int L = 1; L < std::clamp(st.LevelCount, 0, 8); ++L) {
    if (st.RefColCount[L] != st.RefColCount[L + 1]) {
      st.RefLayoutDiffers = true;
      break;
    }
  }
  return true;
}

bool LevelHasWColumn(const ProgramState& st, int level) {
  if (level < 1 || level > 8) return false;
  for (int c = 1; c <= std::min(st.ColCount[level], kMaxColumns); ++c) {
    if (!st.ColType[level][c].empty() && st.ColType[level][c].front() == 'W') return true;
  }
  return false;
}

bool RefLevelHasWColumn(const ProgramState& st, int level) {
  if (level < 1 || level > 8) return false;
  for (int c = 1; c <= std::min(st.RefColCount[level], kMaxColumns); ++c) {
    if (st.RefColType[level][c] == 'W') return true;
  }
  return false;
}

std::string LayoutDiffersQuestion(const std::string& name) {
  return "開こうとしている見積ファイル [ " + name +
         " ] は、現在使用しているシステム設定と形式が異なります。\n" +
         "[ はい ] を選ぶと、開こうとしている見積ファイル [ " + name +
         " ] のシステム設定の形式に変わります。\n" +
         "[ いいえ ] を選ぶと、現在のシステム設定の形式のままの状態で、見積ファイル [ " + name +
         " ] を開きます。";
}

}  // namespace kv
