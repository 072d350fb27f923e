// Every sheet of a large calculating estimate, walked from the top through
// the child links as the recalculation of all levels walks it: read
// (`ReadEverySheet`), or read and calculated with every item row's
// definitions (`RecalcEverySheet`, `RecalcAllRunning` and `CalcNoDisplay`
// set). Goal: RecalcEverySheet within twice ReadEverySheet.
//
// `ReadEverySheetBaseline_CopyRecords` copies the same records of the same
// sheets with memcpy out of the level files held in memory: the least the
// reading could cost. Goal: ReadEverySheet within 10 times that.
//
// The estimate (large_estimate.h, calculating layout): 8 levels, sheets of
// 200 rows (the first breakdown of level 2 of 1,000), about 100,000 records
// of 512 bytes.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "calc/level_calc.h"
#include "platform/fs.h"
#include "storage/level_files.h"
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
  // When asked for: the level and record numbers of every sheet read, its
  // closing record included.
  std::vector<std::pair<int, std::vector<int>>>* records = nullptr;
};

// Reads the sheet of `level` below `ParentRows`(level - 1), calculates it
// when asked, then walks the breakdowns of its rows.
void Walk(kv::ProgramState& st, int level, bool calculate, WalkCount& count) {
  st.CurrentLevel = level;
  if (!kv::LevelRowsRead(st, level)) std::abort();
  if (calculate) kv::LevelCalc(st, level, st.SheetTotalRecord, 1, st.UsedRows);
  ++count.sheets;
  count.rows += st.UsedRows;
  if (count.records) {
    const bool hex = kv::IsHexBase(st.H_Link);
    std::vector<int> numbers;
    for (int r = 1; r <= st.UsedRows; ++r)
      numbers.push_back(kv::ReadStoredLink(kv::LinkField(st.SheetRows[static_cast<size_t>(r)], kv::kOwnPos), hex).value_or(0));
    numbers.push_back(kv::ReadStoredLink(kv::LinkField(st.SheetTotalRecord, kv::kOwnPos), hex).value_or(0));
    count.records->emplace_back(level, std::move(numbers));
  }
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

void ReadEverySheetBaseline_CopyRecords(benchmark::State& state) {
  Estimate& e = TheEstimate();
  std::vector<std::pair<int, std::vector<int>>> sheets;
  WalkCount count;
  count.records = &sheets;
  Walk(e.st, 1, false, count);
  std::vector<std::string> files(static_cast<size_t>(e.st.LevelCount) + 1);
  for (int level = 1; level <= e.st.LevelCount; ++level) {
    std::error_code ec;
    auto bytes = kv::fs::ReadFileBytes(kv::LevelFilePath(e.st, e.st.WorkFileBase, level), ec);
    if (!bytes) std::abort();
    files[static_cast<size_t>(level)] = std::move(*bytes);
  }
  const size_t len = static_cast<size_t>(e.st.DataLen);
  std::vector<char> sheet(len * (kv::kMaxSheetRows + 2));
  size_t records = 0;
  for (auto _ : state) {
    records = 0;
    for (const auto& [level, numbers] : sheets) {
      const std::string& file = files[static_cast<size_t>(level)];
      size_t row = 0;
      for (int n : numbers) {
        if (n < 1 || static_cast<size_t>(n) * len > file.size() || row >= kv::kMaxSheetRows + 2) std::abort();
        std::memcpy(sheet.data() + row++ * len, file.data() + static_cast<size_t>(n - 1) * len, len);
      }
      records += row;
      benchmark::DoNotOptimize(sheet.data());
      benchmark::ClobberMemory();
    }
  }
  state.counters["sheets"] = static_cast<double>(sheets.size());
  state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(ReadEverySheetBaseline_CopyRecords)->Unit(benchmark::kMillisecond);
void RecalcEverySheet(benchmark::State& state) { EverySheet(state, true); }
BENCHMARK(ReadEverySheet)->Unit(benchmark::kMillisecond);
BENCHMARK(RecalcEverySheet)->Unit(benchmark::kMillisecond);

}  // namespace
