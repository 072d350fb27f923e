// Every sheet of a large calculating estimate, walked from the top through
// the child links as the recalculation of all levels walks it: read
// (`ReadEverySheet`), or read and calculated with every item row's
// definitions (`RecalcEverySheet`, `RecalcAllRunning` and `CalcNoDisplay`
// set). Goal: RecalcEverySheet within twice ReadEverySheet.
//
// The estimate (large_estimate.h, calculating layout): 8 levels, sheets of
// 200 rows (the first breakdown of level 2 of 1,000), about 100,000 records
// of 512 bytes.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "calc/level_calc.h"
#include "state/column_numbers.h"
#include "state/stored_number_base.h"
#include "large_estimate.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace {

struct Estimate : kv::bench::GeneratedEstimate {
  Estimate() : GeneratedEstimate("kvrecalc-bench", true) {}
};

Estimate& TheEstimate() {
  static Estimate e;
  return e;
}

struct WalkCount {
  int sheets = 0;
  int rows = 0;
};

// Reads the sheet of `level` below `ParentRows`(level - 1), calculates it
// when asked, then walks the breakdowns of its rows.
void Walk(kv::ProgramState& st, int level, bool calculate, WalkCount& count) {
  st.CurrentLevel = level;
  if (!kv::LevelRowsRead(st, level)) std::abort();
  if (calculate) kv::LevelCalc(st, level, st.SheetTotalRecord, 1, st.UsedRows);
  ++count.sheets;
  count.rows += st.UsedRows;
  if (level >= st.LevelCount) return;
  std::vector<std::string> parents;
  for (int r = 1; r <= st.UsedRows; ++r) {
    const std::string& rec = st.SheetRows[static_cast<size_t>(r)];
    if (kv::BaseStrToNum(kv::LinkField(rec, kv::kChildPos), st) >= 1) parents.push_back(rec);
  }
  for (const std::string& parent : parents) {
    st.ParentRows[static_cast<size_t>(level)] = parent;
    Walk(st, level + 1, calculate, count);
  }
}

void EverySheet(benchmark::State& state, bool calculate) {
  Estimate& e = TheEstimate();
  e.st.RecalcAllRunning = calculate;
  e.st.CalcNoDisplay = true;
  WalkCount count;
  for (auto _ : state) {
    count = {};
    Walk(e.st, 1, calculate, count);
  }
  e.st.RecalcAllRunning = false;
  e.st.CalcNoDisplay = false;
  state.counters["sheets"] = count.sheets;
  state.counters["rows"] = count.rows;
}

void ReadEverySheet(benchmark::State& state) { EverySheet(state, false); }
void RecalcEverySheet(benchmark::State& state) { EverySheet(state, true); }
BENCHMARK(ReadEverySheet)->Unit(benchmark::kMillisecond);
BENCHMARK(RecalcEverySheet)->Unit(benchmark::kMillisecond);

}  // namespace
