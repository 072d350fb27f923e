// Sheet painting: a full 1000-row sheet of twelve columns painted into the
// editor grid's model (SheetRedisplay), as after a level is read.
#include <benchmark/benchmark.h>

#include "paint_sheet.h"
#include "sheet/sheet_painting.h"

namespace {

void BM_SheetRedisplay(benchmark::State& state) {
  kv::bench::PaintSheet s;
  for (auto _ : state) {
    kv::SheetRedisplay(s.st, s.grid, 1, s.st.UsedRows);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kv::bench::PaintSheet::kRows * kv::bench::PaintSheet::kCols);
}
BENCHMARK(BM_SheetRedisplay)->Unit(benchmark::kMillisecond);

}  // namespace
