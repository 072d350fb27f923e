// Sheet painting: a full 1000-row sheet of twelve columns painted into the
// editor grid's model (SheetRedisplay), as after a level is read.
#include <benchmark/benchmark.h>

#include <string>

#include "core/number_text.h"
#include "large_estimate.h"
#include "platform/codepage.h"
#include "platform/grid/grid_model.h"
#include "sheet/grid_setup.h"
#include "sheet/sheet_painting.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace {

void BM_SheetRedisplay(benchmark::State& state) {
  kv::bench::QuietUi ui;
  kv::ProgramState st(ui);
  st.DataLen = 512;
  st.Imax = 1000;
  st.MemoRowMax = 80;
  st.CurrentLevel = 1;
  st.PrnTypeNo = 1;
  st.PrintRows[1] = 50;
  const char* types[] = {"C", "W", "2", "C", "0", "0", "C", "C", "1", "0", "C", "0"};
  int start = 20;
  for (int c = 1; c <= 12; ++c) {
    st.ColType[1][c] = types[c - 1];
    st.ColStart[1][c] = start;
    st.ColWidth[1][c] = c == 2 ? 40 : 14;
    start += st.ColWidth[1][c];
  }
  st.ColCount[1] = 12;
  st.ColTotalKind[1][12] = "SUM";
  st.FormatMasks[1] = kv::MakeColumnMasks(st, 1);
  st.LevelCaption[1] = std::string(512, ' ');
  st.SheetTotalRecord = std::string(512, ' ');
  const std::string name = kv::ToSjis("鉄筋コンクリート工事");
  for (int r = 1; r <= 1000; ++r) {
    std::string rec(512, ' ');
    rec.replace(19, name.size(), name);
    for (int c = 3; c <= 12; ++c)
      if (c == 3 || c == 5 || c == 6 || c == 9 || c == 10 || c == 12)
        rec.replace(size_t(st.ColStart[1][c] - 1), 14, "     123456.00");
    if (r % 10 == 0) rec[2] = '#';
    st.SheetRows[size_t(r)] = rec;
  }
  st.UsedRows = 1000;
  kv::GridModel grid;
  grid.SetTotalsLine(true);
  grid.SetViewportSize(1600, 900);
  kv::SheetGridInit(st, grid, 1);
  for (auto _ : state) {
    kv::SheetRedisplay(st, grid, 1, st.UsedRows);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 1000 * 12);
}
BENCHMARK(BM_SheetRedisplay)->Unit(benchmark::kMillisecond);

}  // namespace
