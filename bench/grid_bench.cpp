// Grid model: filling a 1000-row sheet the way the painting does (one call
// per cell), and inserting and deleting rows in it.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/grid/grid_api.h"

namespace {

constexpr int kRows = 1000;
constexpr int kCols = 20;

void Layout(kv::GridModel& g) {
  g.SetTotalsLine(true);
  g.SetColCount(kCols);
  g.SetRowCount(kRows + 1);
  g.SetViewportSize(1600, 900);
}

void Fill(kv::GridModel& g) {
  const std::string text = "工事名称 ABC 1,234,567";
  for (int r = 1; r <= kRows; ++r) {
    kv::SetTextData32(g, 0, r, std::to_string(r) + " ");
    for (int c = 1; c <= kCols; ++c) kv::SetTextData32(g, c, r, text);
    if (r % 7 == 0) kv::SetCellTextColor32(g, 1, r, 3);
  }
}

void BM_FillSheet(benchmark::State& state) {
  kv::GridModel g;
  Layout(g);
  for (auto _ : state) {
    Fill(g);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kRows * kCols);
}
BENCHMARK(BM_FillSheet)->Unit(benchmark::kMillisecond);

void BM_InsertDeleteRows(benchmark::State& state) {
  kv::GridModel g;
  Layout(g);
  Fill(g);
  const int n = int(state.range(0));
  for (auto _ : state) {
    kv::InsertRow32(g, 10, n);
    kv::DeleteRow32(g, 10, n);
  }
}
BENCHMARK(BM_InsertDeleteRows)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);

void BM_RowHeightsAndVisibility(benchmark::State& state) {
  kv::GridModel g;
  Layout(g);
  for (auto _ : state) {
    for (int r = 0; r <= kRows + 1; ++r) kv::SetRowHeight32(g, r, 21);
    benchmark::DoNotOptimize(kv::IsCellOutOfRange32(g, 0, 5, 500));
  }
}
BENCHMARK(BM_RowHeightsAndVisibility)->Unit(benchmark::kMicrosecond);

}  // namespace
