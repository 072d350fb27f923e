#pragma once
// The sheet the painting benchmarks repaint: 1,000 rows of twelve columns
// (names, a two-line column, numbers with decimals, whole numbers, texts),
// a "#" row every ten rows, in the editor grid's model laid out for it.
#include <array>
#include <string>

#include "core/number_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_model.h"
#include "quiet_ui.h"
#include "sheet/grid_setup.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace kv::bench {

struct PaintSheet {
  static constexpr int kRows = 1000;
  static constexpr int kCols = 12;

  QuietUi ui;
  ProgramState st{ui};
  GridModel grid;

  PaintSheet() {
    st.DataLen = 512;
    st.Imax = kRows;
    st.MemoRowMax = 80;
    st.CurrentLevel = 1;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 50;
    const char* types[] = {"C", "W", "2", "C", "0", "0", "C", "C", "1", "0", "C", "0"};
    int start = 20;
    for (int c = 1; c <= kCols; ++c) {
      st.ColType[1][c] = types[c - 1];
      st.ColStart[1][c] = start;
      st.ColWidth[1][c] = c == 2 ? 40 : 14;
      start += st.ColWidth[1][c];
    }
    st.ColCount[1] = kCols;
    st.ColTotalKind[1][12] = "SUM";
    st.FormatMasks[1] = MakeColumnMasks(st, 1);
    st.LevelCaption[1] = std::string(512, ' ');
    st.SheetTotalRecord = std::string(512, ' ');
    for (int r = 1; r <= kRows; ++r) {
      st.SheetRows[size_t(r)] = Record(r, 0);
      other_[size_t(r)] = Record(r, 1);
    }
    st.UsedRows = kRows;
    grid.SetTotalsLine(true);
    grid.SetViewportSize(1600, 900);
    SheetGridInit(st, grid, 1);
  }

  // Swaps in the other of two sheets that differ in every painted cell, so
  // that each repaint changes every text.
  void Toggle() {
    for (int r = 1; r <= kRows; ++r) st.SheetRows[size_t(r)].swap(other_[size_t(r)]);
  }

 private:
  std::string Record(int r, int variant) const {
    const std::string name = ToSjis(variant == 0 ? "鉄筋コンクリート工事" : "鉄骨工事");
    std::string rec(512, ' ');
    rec.replace(19, name.size(), name);
    for (int c = 3; c <= kCols; ++c)
      if (c == 3 || c == 5 || c == 6 || c == 9 || c == 10 || c == 12)
        rec.replace(size_t(st.ColStart[1][c] - 1), 14, variant == 0 ? "     123456.00" : "      98765.50");
    if (r % 10 == 0) rec[2] = '#';
    return rec;
  }

  std::array<std::string, kRows + 1> other_;
};

}  // namespace kv::bench
