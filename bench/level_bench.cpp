// Level work files of a large generated estimate: reading a 1,000-row
// breakdown sheet, writing it back, and compacting every level file.
//
// The estimate (large_estimate.h): 8 levels, sheets of 200 rows, about
// 100,000 records of 512 bytes, the first breakdown of level 2 of 1,000 rows,
// every deeper file's chains scattered among 10 % unreachable records.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

#include "large_estimate.h"
#include "storage/compaction.h"
#include "storage/level_read.h"
#include "storage/level_write.h"

namespace {

namespace stdfs = std::filesystem;

// One generated estimate for the whole run, with a pristine copy of its level
// files to start each compaction from.
struct Estimate {
  stdfs::path root, pristine;
  kv::bench::QuietUi ui;
  kv::ProgramState st{ui};
  kv::bench::LargeEstimateSpec spec;
  kv::bench::LargeEstimate made;

  Estimate() {
    std::string pattern = (stdfs::temp_directory_path() / "kvlevel-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root = pattern;
    pristine = root / "PRISTINE";
    kv::bench::ConfigureLargeEstimate(st, root, spec);
    made = kv::bench::WriteLargeEstimate(st, spec);
    stdfs::copy(root / "WORK", pristine);
  }
  ~Estimate() {
    std::error_code ec;
    stdfs::remove_all(root, ec);
  }

  void Restore() {
    for (int level = 1; level <= spec.levels; ++level) {
      std::string name = spec.name + st.LevelExt[level];
      stdfs::copy_file(pristine / name, root / "WORK" / name, stdfs::copy_options::overwrite_existing);
    }
  }

  // The 1,000-row breakdown of level 2 as the sheet in memory.
  void OpenBigSheet() {
    st.CurrentLevel = 1;
    if (!kv::LevelRowsRead(st, 1)) std::abort();
    // The first row of the top sheet holds the big breakdown.
    st.ParentRows[1] = st.SheetRows[1];
    st.CurrentLevel = 2;
    if (!kv::LevelRowsRead(st, 2) || st.UsedRows != spec.bigSheetRows) std::abort();
  }
};

Estimate& TheEstimate() {
  static Estimate e;
  return e;
}

void ReadSheet1000(benchmark::State& state) {
  Estimate& e = TheEstimate();
  e.Restore();
  e.OpenBigSheet();
  for (auto _ : state) {
    bool ok = kv::LevelRowsRead(e.st, 2);
    benchmark::DoNotOptimize(ok);
  }
  state.counters["rows"] = e.st.UsedRows;
}
BENCHMARK(ReadSheet1000)->Unit(benchmark::kMillisecond);

// Written back over its own records (the record numbers of the chain it was
// read from), the parent row rewritten; read again between writes, as the
// callers do.
void WriteSheet1000(benchmark::State& state) {
  Estimate& e = TheEstimate();
  e.Restore();
  e.OpenBigSheet();
  for (auto _ : state) {
    bool ok = kv::LevelWrite(e.st, 2);
    if (!ok) std::abort();
    state.PauseTiming();
    kv::LevelRowsRead(e.st, 2);
    state.ResumeTiming();
  }
  state.counters["rows"] = e.st.UsedRows;
}
BENCHMARK(WriteSheet1000)->Unit(benchmark::kMillisecond);

void CompactLevelFiles(benchmark::State& state) {
  Estimate& e = TheEstimate();
  for (auto _ : state) {
    state.PauseTiming();
    e.Restore();
    state.ResumeTiming();
    if (!kv::EstFilePack(e.st, e.st.WorkFileBase)) std::abort();
  }
  state.counters["records"] = e.made.records;
}
BENCHMARK(CompactLevelFiles)->Unit(benchmark::kMillisecond);

}  // namespace
