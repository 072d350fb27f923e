// Clearing the non-print level-row marks of a large generated estimate (8
// levels, about 100,000 records; large_estimate.h) with 1 % of its records
// marked "I", against one plain read of all its level files in the same run
// (`LevelMarksBaseline_ReadLevelFiles`). Goal: NotPrnLevelLineClear within
// 1.5 x the baseline. The marks are put back, untimed, after each clearing.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "large_estimate.h"
#include "platform/fs.h"
#include "storage/level_files.h"
#include "storage/level_marks_clear.h"

namespace {

struct Estimate : kv::bench::GeneratedEstimate {
  Estimate() : GeneratedEstimate("kvmarks-bench") { Mark(); }

  // Every hundredth record of each level file gets the print mark "I".
  void Mark() {
    for (int level = 1; level <= st.LevelCount; ++level) {
      std::fstream f(kv::LevelFilePath(st, st.WorkFileBase, level), std::ios::in | std::ios::out | std::ios::binary);
      for (int rec = 1; rec <= made.recordsPerLevel[size_t(level)]; rec += 100) {
        f.seekp(std::streamoff(rec - 1) * st.DataLen + 1);
        f.put('I');
      }
      if (!f) std::abort();
      f.close();
      // The marks on disk, as they are when set long before the clearing:
      // a page still being written back would hold up the clearing's write.
      const int fd = ::open(kv::LevelFilePath(st, st.WorkFileBase, level).c_str(), O_RDONLY);
      if (fd < 0 || ::fsync(fd) != 0) std::abort();
      ::close(fd);
    }
  }
};

Estimate& TheEstimate() {
  static Estimate e;
  return e;
}

void BM_LevelMarksBaseline_ReadLevelFiles(benchmark::State& state) {
  Estimate& e = TheEstimate();
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = kv::bench::ReadAllLevelFiles(e.st);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_LevelMarksBaseline_ReadLevelFiles)->Unit(benchmark::kMillisecond);

void BM_NotPrnLevelLineClear(benchmark::State& state) {
  Estimate& e = TheEstimate();
  for (auto _ : state) {
    if (!kv::NotPrnLevelLineClear(e.st, e.st.WorkFileBase, e.st.DataLen, 'I', 2).ok) std::abort();
    state.PauseTiming();
    e.Mark();
    state.ResumeTiming();
  }
  state.counters["records"] = static_cast<double>(e.made.records);
}
BENCHMARK(BM_NotPrnLevelLineClear)->Unit(benchmark::kMillisecond);

}  // namespace
