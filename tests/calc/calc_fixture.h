#pragma once
// A program state with the calculation engine and column layouts built in
// code, rows made cell by cell, and an editor grid the calculation paints
// into when a test asks for one.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "state/column_defs.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/settings_fixture.h"
#include "calc/calc_engine.h"
#include "core/number_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_model.h"
#include "sheet/sheet_engine.h"
#include "sheet/sheet_fields.h"
#include "support/scripted_ui.h"

namespace kv::test {

// A cell of a row: column number and its text (display text).
using Cells = std::vector<std::pair<int, std::string>>;

class CalcFixture : public ::testing::Test {
 protected:
  ScriptedUi ui;
  ProgramState st{ui};
  CalcEngine engine;
  GridModel grid;
  SheetEngine sheetEngine{grid, nullptr};

  CalcFixture() {
    st.calc = &engine;
    st.DataLen = 256;
    st.Imax = 200;
    st.LevelCount = 3;
    for (int l = 1; l <= 8; ++l) st.LevelExt[l] = ".Y" + std::to_string(l);
    st.CurrentLevel = 1;
    SetDefaultItemLayout(st);
    for (std::string& r : st.SheetRows) r = Blank();
    st.SheetTotalRecord = Blank();
  }

  std::string Blank() const { return std::string(static_cast<size_t>(st.DataLen), ' '); }

  // The columns of a level and its display masks; the evaluation orders are
  // built by Build().
  void Layout(int level, std::initializer_list<TestColumn> columns) {
    SetLevelColumns(st, level, columns);
    st.FormatMasks[level] = MakeColumnMasks(st, level);
  }
  void Build() { ASSERT_TRUE(SumColumnFind(st)); }

  // The editor's grid, for the tests of what is painted.
  void ShowGrid() {
    grid.SetColCount(kMaxColumns);
    grid.SetRowCount(st.Imax + 1);
    grid.SetTotalsLine(true);
    st.sheetEngine = &sheetEngine;
  }

  // A row of `level`: its kind, print mark and cells.
  std::string Row(int level, char kind, const Cells& cells, char mark = ' ') const {
    std::string rec = Blank();
    rec[1] = mark;
    rec[2] = kind;
    for (const auto& [col, text] : cells) FieldStore(st, rec, col, level, ToSjis(text));
    return rec;
  }
  // The rows 1.. of the sheet in memory; UsedRows is their count.
  void Sheet(const std::vector<std::string>& rows) {
    for (size_t i = 0; i < rows.size(); ++i) st.SheetRows[i + 1] = rows[i];
    st.UsedRows = static_cast<int>(rows.size());
  }

  // A cell's text without its blanks.
  std::string Cell(const std::string& rec, int level, int col) const {
    std::string s = FromSjis(FieldBytes(st, rec, col, level));
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
  }
  std::string Cell(int row, int level, int col) const { return Cell(st.SheetRows[size_t(row)], level, col); }
};

}  // namespace kv::test
