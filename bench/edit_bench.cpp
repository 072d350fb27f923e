// Editing a large sheet: a 1,000-row sheet of the default layout (large
// estimate's calculating columns) in the editor grid's model with painting on
// and automatic recalculation on; item rows with a quantity formula in every
// other row, a "#" row every 20 rows, a tax ("ｼ") and a grand-total ("%") row
// at the end. Measured in the same run:
//
//   - CommitQuantity: one CellCommit of a quantity into row 1 (the row, the
//     level calculation of the whole sheet, the repaint below it), against
//     SheetRedisplayAll, SheetRedisplay(1, 1000) of the same sheet.
//     Goal: CommitQuantity <= 1.5 x SheetRedisplayAll.
//   - UndoRestoreSheet: UndoRestore of the sheet, against
//     GridInitAndRedisplay, SheetGridInit plus SheetRedisplay(1, 1000).
//     Goal: UndoRestoreSheet <= 1.25 x GridInitAndRedisplay.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "calc/calc_engine.h"
#include "calc/level_calc.h"
#include "large_estimate.h"
#include "platform/codepage.h"
#include "platform/grid/grid_model.h"
#include "sheet/cell_commit.h"
#include "sheet/grid_setup.h"
#include "sheet/sheet_engine.h"
#include "sheet/sheet_painting.h"
#include "sheet/undo_clear.h"
#include "state/program_state.h"
#include "storage/row_record.h"

namespace {

constexpr int kRows = 1000;
constexpr int kQuantityCol = 4;  // "A2", 12 bytes at 154; the formula column "S" is 3

// The sheet in memory, laid out, calculated and painted in the editor grid's
// model, with the calculation and the sheet engine in place as in the
// running editor.
struct EditSheet {
  kv::bench::QuietUi ui;
  kv::ProgramState st{ui};
  kv::CalcEngine calc;
  kv::GridModel grid;
  kv::SheetEngine engine{grid, nullptr};

  EditSheet() {
    st.DataLen = 512;
    st.Imax = kRows;
    st.LevelCount = 1;
    st.CurrentLevel = 1;
    st.MemoRowMax = 80;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 50;
    st.ReCalcFlag = true;
    st.AutoDownFlag = 0;
    st.ToTalNameColmun = 1;
    kv::bench::ConfigureCalculatingLayout(st, 1);  // builds the formula orders too
    st.calc = &calc;
    st.sheetEngine = &engine;

    const size_t len = static_cast<size_t>(st.DataLen);
    st.LevelCaption[1] = std::string(len, ' ');
    st.SheetTotalRecord = std::string(len, ' ');
    st.SheetTotalRecord[2] = kv::kClosingKind;
    const std::string name = kv::ToSjis("鉄筋コンクリート工事");
    char text[40];
    for (int r = 1; r <= kRows; ++r) {
      std::string rec(len, ' ');
      if (r == kRows - 1) {
        rec[2] = kv::kKindTax;
      } else if (r == kRows) {
        rec[2] = kv::kKindGrandTotal;
      } else if (r % 20 == 0) {
        rec[2] = '#';
      } else {
        rec.replace(19, name.size(), name);
        if (r % 2 == 0) {
          std::snprintf(text, sizeof text, "%d*(%d+.5)", r % 97 + 1, r % 9 + 1);
          rec.replace(123, std::char_traits<char>::length(text), text);
        } else {
          std::snprintf(text, sizeof text, "%9d.00", r % 99 + 1);
          rec.replace(153, 12, text);
        }
        rec.replace(165, 2, "m2");
        std::snprintf(text, sizeof text, "%12d", (r * 7919) % 99999 + 1);
        rec.replace(171, 12, text);
      }
      st.SheetRows[static_cast<size_t>(r)] = rec;
    }
    st.UsedRows = kRows;

    grid.SetTotalsLine(true);
    grid.SetViewportSize(1600, 900);
    kv::SheetGridInit(st, grid, 1);
    // Every item row computed once, as the entries would have left them.
    st.RecalcAllRunning = true;
    kv::LevelCalc(st, 1, st.SheetTotalRecord, 1, st.UsedRows);
    st.RecalcAllRunning = false;
    kv::SheetRedisplay(st, grid, 1, st.UsedRows);
    // The sheet is measured calculated and painted: row 1's amount shows.
    if (grid.CellText(7, 1).find_first_not_of(' ') == std::string::npos) std::abort();
  }
};

void CommitQuantity(benchmark::State& state) {
  EditSheet e;
  const std::string quantities[2] = {"12", "13"};
  int n = 0;
  for (auto _ : state) {
    e.st.CurrentRow = 1;
    e.st.CurrentCol = kQuantityCol;
    e.grid.SetCursor(kQuantityCol, 1);
    e.st.CellCommitting = true;
    benchmark::DoNotOptimize(kv::CellCommit(e.st, e.grid, quantities[n++ % 2]));
    benchmark::ClobberMemory();
  }
}

void SheetRedisplayAll(benchmark::State& state) {
  EditSheet e;
  for (auto _ : state) {
    kv::SheetRedisplay(e.st, e.grid, 1, kRows);
    benchmark::ClobberMemory();
  }
}

void UndoRestoreSheet(benchmark::State& state) {
  EditSheet e;
  e.st.CurrentRow = 1;
  e.st.CurrentCol = kQuantityCol;
  kv::UndoSave(e.st, e.grid);
  for (auto _ : state) {
    kv::UndoRestore(e.st, e.grid);
    benchmark::ClobberMemory();
  }
}

void GridInitAndRedisplay(benchmark::State& state) {
  EditSheet e;
  for (auto _ : state) {
    kv::SheetGridInit(e.st, e.grid, 1);
    kv::SheetRedisplay(e.st, e.grid, 1, kRows);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(CommitQuantity)->Unit(benchmark::kMillisecond);
BENCHMARK(SheetRedisplayAll)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoRestoreSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(GridInitAndRedisplay)->Unit(benchmark::kMillisecond);

}  // namespace
