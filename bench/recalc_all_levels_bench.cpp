// The recalculation of all levels over a large calculating estimate (8
// levels, 200-row sheets, about 100,000 records; large_estimate.h with the
// default layout's columns and the carry "->[$F"), against two baselines of
// the same run: one plain read of every level file (`ReadLevelFiles`) and one
// `LevelRecalcAt` of every sheet already in memory (`LevelRecalcEverySheet`).
// Goal: RecalcFromTopLevel within 1.5 x the sum of the two.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calc/calc_engine.h"
#include "calc/equipment/equipment_definitions.h"
#include "calc/equipment/equipment_recalc.h"
#include "calc/level_calc.h"
#include "calc/recalc_all_levels.h"
#include "core/record_file.h"
#include "large_estimate.h"
#include "platform/fs.h"
#include "state/column_numbers.h"
#include "state/stored_number_base.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace {

namespace stdfs = std::filesystem;

struct Estimate {
  kv::bench::ScratchFolder scratch{"kvrecalcall-bench"};
  const stdfs::path root = scratch.path();
  kv::bench::QuietUi ui;
  kv::ProgramState st{ui};
  kv::CalcEngine engine;
  kv::bench::LargeEstimateSpec spec;

  Estimate() {
    spec.calculating = true;
    kv::bench::ConfigureLargeEstimate(st, root, spec);
    kv::bench::WriteLargeEstimate(st, spec);
    st.calc = &engine;
    st.ReCalcFlag = true;
    st.RecalcAllRunning = true;
  }
};

Estimate& TheEstimate() {
  static Estimate e;
  return e;
}

// Every sheet of the estimate with the parent row it is calculated under.
struct LoadedSheet {
  int level;
  std::string parent;
  std::vector<std::string> rows;
  std::string total;
};

void Load(kv::ProgramState& st, int level, std::vector<LoadedSheet>& out) {
  st.CurrentLevel = level;
  if (!kv::LevelRowsRead(st, level)) std::abort();
  LoadedSheet sheet{level, level > 1 ? st.ParentRows[size_t(level - 1)] : std::string(), {}, st.SheetTotalRecord};
  for (int r = 1; r <= st.UsedRows; ++r) sheet.rows.push_back(st.SheetRows[size_t(r)]);
  const std::vector<std::string> rows = sheet.rows;
  out.push_back(std::move(sheet));
  if (level >= st.LevelCount) return;
  for (const std::string& rec : rows) {
    if (kv::BaseStrToNum(kv::LinkField(rec, kv::kChildPos), st) < 1) continue;
    st.ParentRows[size_t(level)] = rec;
    Load(st, level + 1, out);
  }
}

void ReadLevelFiles(benchmark::State& state) {
  Estimate& e = TheEstimate();
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = kv::bench::ReadAllLevelFiles(e.st);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void LevelRecalcEverySheet(benchmark::State& state) {
  Estimate& e = TheEstimate();
  std::vector<LoadedSheet> sheets;
  Load(e.st, 1, sheets);
  e.st.CalcNoDisplay = true;
  for (auto _ : state) {
    for (const LoadedSheet& s : sheets) {
      for (size_t i = 0; i < s.rows.size(); ++i) e.st.SheetRows[i + 1] = s.rows[i];
      e.st.UsedRows = static_cast<int>(s.rows.size());
      e.st.SheetTotalRecord = s.total;
      if (s.level > 1) e.st.ParentRows[size_t(s.level - 1)] = s.parent;
      kv::LevelRecalcAt(e.st, s.level, e.st.SheetTotalRecord, e.st.UsedRows);
    }
  }
  e.st.CalcNoDisplay = false;
  state.counters["sheets"] = static_cast<double>(sheets.size());
}

void RecalcFromTopLevel(benchmark::State& state) {
  Estimate& e = TheEstimate();
  for (auto _ : state)
    if (!kv::RecalcFromTopLevel(e.st, e.st.WorkFileBase)) std::abort();
}

// The same after a quantity changed in a row of the deepest level: the files
// of its path are written back.
void RecalcFromTopLevelAfterAChange(benchmark::State& state) {
  Estimate& e = TheEstimate();
  std::vector<LoadedSheet> sheets;
  Load(e.st, 1, sheets);
  std::string row;
  for (const LoadedSheet& sh : sheets)
    if (sh.level == e.st.LevelCount && !sh.rows.empty()) row = sh.rows.front();
  if (row.empty()) std::abort();
  const int own = kv::BaseStrToNum(kv::LinkField(row, kv::kOwnPos), e.st);
  const auto path = kv::LevelFilePath(e.st, e.st.WorkFileBase, e.st.LevelCount);
  int quantity = 1;
  for (auto _ : state) {
    state.PauseTiming();
    {
      kv::RecordFile f(path, e.st.DataLen);
      std::string text = "         " + std::to_string(quantity++ % 9 + 1) + ".00";
      row.replace(153, 12, text);
      row.replace(123, 30, std::string(30, ' '));
      f.PutRecordText(own, row);
      f.Close();
    }
    state.ResumeTiming();
    if (!kv::RecalcFromTopLevel(e.st, e.st.WorkFileBase)) std::abort();
  }
}

BENCHMARK(ReadLevelFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(LevelRecalcEverySheet)->Unit(benchmark::kMillisecond);
BENCHMARK(RecalcFromTopLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(RecalcFromTopLevelAfterAChange)->Unit(benchmark::kMillisecond);

}  // namespace
