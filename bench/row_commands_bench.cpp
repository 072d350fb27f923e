// Moving rows and pasting cells on a full sheet of twelve columns (with an
// amount formula), automatic recalculation off, each against a repaint of
// the same sheet (SheetRedisplay 1..1000) measured here as the baseline:
// RowInsert and RowDelete of row 1 should cost no more than one repaint,
// ClipboardPaste of 1,000 lines of 8 cells into an empty sheet no more than
// three.
#include <benchmark/benchmark.h>

#include <string>

#include "calc/calc_engine.h"
#include "platform/codepage.h"
#include "platform/grid/grid_model.h"
#include "quiet_ui.h"
#include "sheet/clipboard.h"
#include "sheet/grid_setup.h"
#include "sheet/row_commands.h"
#include "sheet/sheet_painting.h"
#include "state/column_defs.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace {

class ClipboardUi : public kv::bench::QuietUi {
 public:
  std::string clipboard;
  std::string ClipboardText() override { return clipboard; }
  void SetClipboardText(std::string_view text) override { clipboard = std::string(text); }
};

struct Sheet {
  ClipboardUi ui;
  kv::ProgramState st{ui};
  kv::CalcEngine calc;
  kv::GridModel grid;

  // `rows` item rows; the amount (column 12) is quantity x price (5 x 6).
  explicit Sheet(int rows, bool withFormula = true) {
    st.DataLen = 512;
    st.Imax = 1000;
    st.MemoRowMax = 80;
    st.CurrentLevel = 1;
    st.LevelCount = 1;
    st.ReCalcFlag = false;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 50;
    st.calc = &calc;
    const char* types[] = {"C", "W", "2", "C", "0", "0", "C", "C", "1", "0", "C", "0"};
    int start = 20;
    for (int c = 1; c <= 12; ++c) {
      st.ColType[1][c] = types[c - 1];
      st.ColStart[1][c] = start;
      st.ColWidth[1][c] = c == 2 ? 40 : 14;
      start += st.ColWidth[1][c];
    }
    st.ColCount[1] = 12;
    if (withFormula) st.ColFormula[1][12] = "[[E*[[F";
    st.ColTotalKind[1][12] = "SUM";
    st.FormatMasks[1] = kv::MakeColumnMasks(st, 1);
    kv::SumColumnFind(st);
    st.LevelCaption[1] = std::string(512, ' ');
    st.SheetTotalRecord = std::string(512, ' ');
    for (std::string& r : st.SheetRows) r = std::string(512, ' ');
    const std::string name = kv::ToSjis("鉄筋コンクリート工事");
    for (int r = 1; r <= rows; ++r) {
      std::string& rec = st.SheetRows[size_t(r)];
      rec.replace(19, name.size(), name);
      for (int c : {3, 5, 6, 9, 10, 12}) rec.replace(size_t(st.ColStart[1][c] - 1), 14, "     123456.00");
      if (r % 10 == 0) rec[2] = '#';
    }
    st.UsedRows = rows;
    grid.SetTotalsLine(true);
    grid.SetViewportSize(1600, 900);
    kv::SheetGridInit(st, grid, 1);
    kv::SheetRedisplay(st, grid, 1, st.Imax);
  }
  void SelectRow1() {
    st.CurrentRow = st.CurrentCol = 1;
    st.SelLeft = 1;
    st.SelRight = 12;
    st.SelTop = st.SelBottom = 1;
  }
};

void BM_RowsBaseline_SheetRedisplay(benchmark::State& state) {
  Sheet s(1000);
  for (auto _ : state) {
    kv::SheetRedisplay(s.st, s.grid, 1, 1000);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RowsBaseline_SheetRedisplay)->Unit(benchmark::kMillisecond);

// One row inserted at row 1 of 999 (the sheet is then full); the delete
// that puts the sheet back is not timed.
void BM_RowInsertRow1(benchmark::State& state) {
  Sheet s(999);
  for (auto _ : state) {
    s.SelectRow1();
    kv::RowInsert(s.st, s.grid);
    state.PauseTiming();
    s.SelectRow1();
    kv::RowDelete(s.st, s.grid);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RowInsertRow1)->Unit(benchmark::kMillisecond);

// Row 1 of a full sheet deleted; the insert that puts it back is not timed.
void BM_RowDeleteRow1(benchmark::State& state) {
  Sheet s(1000);
  for (auto _ : state) {
    s.SelectRow1();
    kv::RowDelete(s.st, s.grid);
    state.PauseTiming();
    s.SelectRow1();
    kv::RowInsert(s.st, s.grid);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RowDeleteRow1)->Unit(benchmark::kMillisecond);

// 1,000 lines of 8 cells (text, two-line text, numbers with separators)
// pasted at row 1, column 1 of an empty sheet.
void BM_ClipboardPaste1000x8(benchmark::State& state) {
  Sheet s(0, state.range(0) != 0);
  std::string text;
  for (int i = 1; i <= 1000; ++i)
    text += "鉄筋コンクリート工事\t基礎\n地中梁 Fc24\t" + std::to_string(i) + ".5\t仕様\t1,234\t" + std::to_string(i) +
            "\tＡ型\t備考\r\n";
  const std::string blank(512, ' ');
  for (auto _ : state) {
    state.PauseTiming();
    for (int r = 1; r <= 1000; ++r) s.st.SheetRows[size_t(r)] = blank;
    s.st.UsedRows = 0;
    s.ui.clipboard = text;
    s.SelectRow1();
    state.ResumeTiming();
    kv::ClipboardPaste(s.st, s.grid);
  }
}
// Argument 1: the amount column has its row definition (every pasted row
// computes it); 0: the baseline's layout, without one.
BENCHMARK(BM_ClipboardPaste1000x8)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
