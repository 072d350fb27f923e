#pragma once
// Helpers of the settings tests: a temporary program folder, settings files
// written as the program keeps them (Shift-JIS, CR LF), and column tables
// built from a short description.
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "state/column_defs.h"
#include "state/program_state.h"
#include "support/temp_folder.h"

namespace kv::test {

// One column as a test describes it (display text).
struct TestColumn {
  std::string heading;
  std::string type;
  int width = 0;
  std::string rowDef;
  std::string totalDef;
  std::string carryDef;
  std::string totalText;
  std::string masks = "      ";  // screens 0..5
};

// Writes bytes as they are.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Writes UTF-8 text as Shift-JIS with CR LF line ends.
inline void WriteSjisFile(const std::string& path, const std::string& utf8) {
  std::string crlf;
  for (char c : utf8) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  WriteBytes(path, ToSjis(crlf));
}

// The file's bytes ("" when missing).
inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The file as UTF-8 text with LF line ends.
inline std::string ReadSjisFile(const std::string& path) {
  std::string text = FromSjis(ReadBytes(path));
  std::string lf;
  for (char c : text) {
    if (c != '\r') lf += c;
  }
  return lf;
}

// The item layout 20, 4, 3, 40, 40, 10, 20 (items at 20, 40, 44, 47, 87, 127, 137).
inline void SetDefaultItemLayout(ProgramState& st) {
  const int lengths[] = {20, 4, 3, 40, 40, 10, 20};
  st.DefItemPos.fill(0);
  st.DefItemLen.fill(0);
  st.DefItemPos[0] = 20;
  for (int i = 1; i <= 7; ++i) {
    st.DefItemLen[i] = lengths[i - 1];
    st.DefItemPos[i] = st.DefItemPos[i - 1] + st.DefItemLen[i - 1];
  }
}

// A column definition record of the column, in the current item layout.
inline std::string DefRecordOf(const ProgramState& st, const TestColumn& col) {
  std::string r = BlankDefRecord();
  PutDefItem(st, r, kItemHeading, ToSjis(col.heading));
  PutDefItem(st, r, kItemType, ToSjis(col.type));
  PutDefItem(st, r, kItemWidth, std::to_string(col.width));
  PutDefItem(st, r, kItemRowDef, ToSjis(col.rowDef));
  PutDefItem(st, r, kItemTotalDef, ToSjis(col.totalDef));
  PutDefItem(st, r, kItemCarryDef, ToSjis(col.carryDef));
  PutDefItem(st, r, kItemTotalText, ToSjis(col.totalText));
  PutFieldBytes(r, kDefMaskPos, col.masks, kMaskScreens);
  return r;
}

// Fills the column tables of `level` from the columns, masks included.
inline void SetLevelColumns(ProgramState& st, int level, std::initializer_list<TestColumn> columns) {
  DefRecordTable records;
  int c = 0;
  for (const TestColumn& col : columns) records[++c] = DefRecordOf(st, col);
  st.ColCount[level] = c;
  const bool uses = st.UsesCurrentSettings;
  st.UsesCurrentSettings = false;  // take the masks as given
  ColumnTypeParse(st, level, records);
  st.UsesCurrentSettings = uses;
}

// Writes a base text file set `baseSet` + ".Y1" (index) and + ".Y2" (columns)
// as the program reads it: record 20 + L of the index points to the first
// column record of level L; the column records of all levels follow one
// another, each chained to the next of its level, the last one ending " -99".
inline void WriteBaseText(const ProgramState& st, const std::string& baseSet,
                          const std::vector<std::vector<TestColumn>>& levels) {
  auto header = [](int own, int next, int child) {
    return std::string("   ") + StoredNumberField(own, false) + StoredNumberField(next, false) +
           StoredNumberField(child, false);
  };
  RecordFile index(baseSet + ".Y1", kDefRecordLen);
  RecordFile columns(baseSet + ".Y2", kDefRecordLen);
  int record = 0;
  for (int n = 1; n <= 20; ++n) index.PutRecordText(n, header(n, kNoRecord, kNoRecord));
  for (size_t L = 0; L < levels.size(); ++L) {
    const int first = record + 1;
    index.PutRecordText(21 + static_cast<int>(L),
                        header(21 + static_cast<int>(L), kNoRecord, levels[L].empty() ? kNoRecord : first));
    for (size_t c = 0; c < levels[L].size(); ++c) {
      ++record;
      const int next = c + 1 < levels[L].size() ? record + 1 : kNoRecord;
      std::string r = DefRecordOf(st, levels[L][c]);
      r.replace(0, 15, header(record, next, kNoRecord));
      columns.PutRecordText(record, r);
    }
  }
}

}  // namespace kv::test
