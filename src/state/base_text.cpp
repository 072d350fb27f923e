// The base text file set: the item layout of its column definition records
// (KVSSYS.INI) and the reading of every level's column chain at start-up.
#include "state/base_text.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "core/record_file.h"
#include "core/settings_text.h"
#include "core/stored_number.h"
#include "state/column_defs.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"

namespace kv {

namespace {

std::string LevelText(int level) { return "第" + std::to_string(level) + "階層"; }

}  // namespace

int ReadColumnChain(const RecordFile& file, int level, int first, DefRecordTable& records,
                    std::vector<std::string>& problems, std::vector<int>* recordNos) {
  int count = 0;
  std::set<int> visited;
  int next = first;
  std::string record;
  while (true) {
    if (count == kMaxColumns) {
      problems.push_back(LevelText(level) + "の列が52を超えています。先頭の52列を使用します。");
      break;
    }
    if (!visited.insert(next).second) {
      problems.push_back(LevelText(level) + "の列定義の連結が循環しています(レコード" + std::to_string(next) + ")。");
      break;
    }
    if (!file.GetRecordText(next, record)) {
      problems.push_back(LevelText(level) + "の列定義のレコード" + std::to_string(next) +
                         "がありません(ファイルが途中で切れています)。");
      break;
    }
    records[++count] = record;
    if (recordNos) recordNos->push_back(next);
    const int link = BaseStrToNum(std::string_view(record).substr(7, 4), false);
    if (link == kNoRecord) break;
    if (link < 1) {
      problems.push_back(LevelText(level) + "の列定義の連結が正しくありません(レコード" + std::to_string(next) +
                         "の次のレコード番号)。");
      break;
    }
    next = link;
  }
  return count;
}

std::optional<DefItemLayout> ReadDefItemLayout(const std::string& sysIniPath, std::string& problem) {
  std::string value;
  IniGetString(kDefItemSection, "項目数", value, sysIniPath);
  const int count = WholeNumberValue(TrimBlanks(value));
  const std::string where = sysIniPath + " の [" + std::string(kDefItemSection) + "] ";
  if (count > kMaxDefItems) {
    problem = where + "項目数 (" + std::to_string(count) + ") が10を超えています。";
    return std::nullopt;
  }
  DefItemLayout layout;
  layout.pos[0] = 20;
  for (int i = 1; i <= count; ++i) {
    IniGetString(kDefItemSection, std::to_string(i), value, sysIniPath);
    // The third comma field is the item's length.
    std::string_view rest = value;
    std::string_view third;
    for (int field = 1; field <= 3; ++field) {
      const size_t comma = rest.find(',');
      if (field == 3) {
        third = rest.substr(0, comma);
      } else if (comma == std::string_view::npos) {
        break;
      } else {
        rest.remove_prefix(comma + 1);
      }
    }
    layout.len[i] = WholeNumberValue(third);
    layout.pos[i] = layout.pos[i - 1] + layout.len[i - 1];
    if (layout.len[i] < 0 || layout.pos[i] + layout.len[i] > kDefMaskPos) {
      problem = where + "項目" + std::to_string(i) + "の長さ (" + std::to_string(layout.len[i]) +
                ") が正しくありません。項目は20バイト目から234バイト目までに収まらなければなりません。";
      return std::nullopt;
    }
  }
  return layout;
}

bool BaseTextRead(ProgramState& st, const std::string& sysIniPath) {
  std::string problem;
  const auto layout = ReadDefItemLayout(sysIniPath, problem);
  if (!layout) {
    WarnMsgBox(st, problem);
    return false;
  }
  st.DefItemPos = layout->pos;
  st.DefItemLen = layout->len;
  return true;
}

bool ColumnDefRead(ProgramState& st, const std::string& baseSet, std::string* refusal) {
  // Definitions that cannot be used at all: told at once, or handed to the
  // caller when it asked for them.
  const auto refuse = [&](const std::string& text) {
    if (refusal)
      *refusal = text;
    else
      WarnMsgBox(st, text);
    return false;
  };
  const int levels = std::clamp(st.LevelCount, 0, 8);
  const std::string indexPath = baseSet + st.LevelExt[1];
  const std::string columnPath = baseSet + st.LevelExt[2];
  const ColumnTables previous = st;
  std::vector<std::string> problems;

  try {
    // The base text is a file set of 256-byte records with decimal numbers,
    // whatever the estimate's own record length and number base.
    const RecordFile index(indexPath, kDefRecordLen, RecordFileMode::ReadOnly);
    std::string record;
    for (int L = 1; L <= levels; ++L) {
      st.DefColumnMap[L] = 0;
      if (index.GetRecordText(20 + L, record)) {
        st.DefColumnMap[L] = BaseStrToNum(std::string_view(record).substr(11, 4), false);
      }
    }
  } catch (const RecordFileError&) {
    static_cast<ColumnTables&>(st) = previous;
    return refuse("基本TEXTファイル " + indexPath + " を読み込めません。");
  }

  try {
    const RecordFile columns(columnPath, kDefRecordLen, RecordFileMode::ReadOnly);
    for (int L = 1; L <= levels; ++L) {
      DefRecordTable records;
      int count = 0;
      if (st.DefColumnMap[L] < 1) {
        problems.push_back(LevelText(L) + "の列定義がありません。");
      } else {
        count = ReadColumnChain(columns, L, st.DefColumnMap[L], records, problems);
      }
      st.ColCount[L] = count;
      ColumnTypeParse(st, L, records);
      st.FormatMasks[L] = MakeColumnMasks(st, L);
    }
  } catch (const RecordFileError&) {
    static_cast<ColumnTables&>(st) = previous;
    return refuse("基本TEXTファイル " + columnPath + " を読み込めません。");
  }

  if (!SumColumnFind(st)) {
    static_cast<ColumnTables&>(st) = previous;
    return refuse("基本TEXTファイル " + columnPath +
                  " の列定義の計算式が互いを参照しているか、参照が深すぎます。\n"
                  "この列定義は使用できません。");
  }

  if (!problems.empty()) {
    std::string text = "基本TEXTファイル " + columnPath + " に誤りがあります。";
    for (const auto& p : problems) text += "\n" + p;
    // A level without a single column (or no levels at all) leaves nothing
    // to edit or store.
    bool usable = levels >= 1;
    for (int L = 1; L <= levels; ++L) usable = usable && st.ColCount[L] >= 1;
    if (!usable) return refuse(text);
    WarnMsgBox(st, text);
    return false;
  }
  return true;
}

}  // namespace kv
