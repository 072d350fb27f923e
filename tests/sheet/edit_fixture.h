#pragma once
// Editing the sheet in memory with the real calculation: a level laid out in
// code (names, a two-line column, a quantity formula and its quantity, a unit
// price, a computed amount with a total, classification code columns), the
// editor's grid set up for it, the status bar kept by a recording double.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "calc/calc_engine.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_metrics.h"
#include "platform/grid/grid_model.h"
#include "sheet/grid_setup.h"
#include "sheet/sheet_engine.h"
#include "sheet/sheet_fields.h"
#include "sheet/sheet_painting.h"
#include "state/column_defs.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/settings_fixture.h"
#include "support/scripted_ui.h"
#include "sheet_fixture.h"

namespace kv::test {

// Columns of level 1.
enum EditCol {
  kName = 1,      // C, 10 bytes
  kDetail = 2,    // W, 20 bytes
  kFormula = 3,   // S, 16 bytes: quantity formula
  kQty = 4,       // A2, 8 bytes: its answer, 2 decimals
  kPrice = 5,     // 0, 10 bytes
  kAmount = 6,    // 0, 12 bytes: [[D*[[E, summed
  kCode = 7,      // I1, 6 bytes: code of master 1
  kCodeName = 8,  // D, 12 bytes
  kCode9 = 9,     // I9, 4 bytes: a master that does not exist
  kNote = 10,     // C, 4 bytes
};

inline constexpr char kMemoKind = '\xD2';  // ﾒ
inline constexpr char kTaxKind = '\xBC';   // ｼ

class EditFixture : public ::testing::Test {
 protected:
  ScriptedUi ui;
  ProgramState st{ui};
  UiGridFontMetrics metrics{ui};
  GridModel grid;
  PanelsDouble bar;
  SheetEngine engine{grid, &bar};
  CalcEngine calc;

  EditFixture() {
    grid.SetFontMetrics(&metrics);
    st.sheetEngine = &engine;
    st.calc = &calc;
    st.DataLen = 256;
    st.Imax = 30;
    st.MemoRowMax = 40;
    st.CurrentLevel = 1;
    st.SystemKind = 2;
    st.ReCalcFlag = true;
    st.AutoDownFlag = 0;
    st.FontName = "ＭＳ 明朝";
    SetDefaultItemLayout(st);
    SetLevelColumns(st, 1,
                    {{"名称", "C", 10}, {"仕様", "W", 20}, {"計算式", "S", 16}, {"数量", "A2", 8},
                     {"単価", "0", 10}, {"金額", "0", 12, "[[D*[[E", "SUM"}, {"コード", "I1", 6},
                     {"分類名", "D", 12}, {"コード2", "I9", 4}, {"摘要", "C", 4}});
    st.FormatMasks[1] = MakeColumnMasks(st, 1);
    EXPECT_TRUE(SumColumnFind(st));
    for (std::string& r : st.SheetRows) r = Blank();
    st.SheetTotalRecord = Blank();
    st.CodeTables[1] = {{ToSjis("A01"), ToSjis("鉄骨")}, {ToSjis("B02"), ToSjis("木材")}, {ToSjis("C03"), ToSjis("石材")}};
    st.CodeTableCounts[1] = 3;
    SheetGridInit(st, grid, 1);
  }
  ~EditFixture() override { grid.SetFontMetrics(nullptr); }

  std::string Blank() const { return std::string(static_cast<size_t>(st.DataLen), ' '); }

  // A row: its kind and cells (display text, fitted like a stored number
  // for numeric columns).
  std::string Row(char kind, const std::vector<std::pair<int, std::string>>& cells) const {
    std::string rec = Blank();
    rec[2] = kind;
    for (const auto& [col, text] : cells) {
      std::string bytes = ToSjis(text);
      if (IsNumericColumn(st, 1, col)) NumFitColumn(st, 1, bytes, col);
      FieldStore(st, rec, col, 1, bytes);
    }
    return rec;
  }
  // Rows 1.. of the sheet, painted; UsedRows is their count.
  void Sheet(const std::vector<std::string>& rows) {
    for (size_t i = 0; i < rows.size(); ++i) st.SheetRows[i + 1] = rows[i];
    st.UsedRows = static_cast<int>(rows.size());
    SheetRedisplay(st, grid, 1, st.UsedRows);
  }
  // A memo-type row holding `text` from byte 20.
  std::string MemoRow(char kind, const std::string& text) const {
    std::string rec = Blank();
    rec[2] = kind;
    FieldStore(rec, 20, st.MemoRowMax, ToSjis(text), st.DataLen);
    return rec;
  }
  void Cursor(int col, int row) {
    st.CurrentCol = col;
    st.CurrentRow = row;
    grid.SetCurrentCol(col);
    grid.SetCurrentRow(row);
  }

  // A cell of the sheet in memory without blanks at either end; the closing
  // record for row 0.
  std::string Cell(int row, int col) const {
    const std::string& rec = row == 0 ? st.SheetTotalRecord : st.SheetRows[size_t(row)];
    std::string s = FieldText(st, rec, col, 1);
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
  }
  // The cell's field as stored (display text, blanks kept).
  std::string Field(int row, int col) const { return FieldText(st, st.SheetRows[size_t(row)], col, 1); }
  std::string Shown(int col, int row) const { return GetTextData32(grid, col, row); }
};

}  // namespace kv::test
