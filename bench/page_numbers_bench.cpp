// Writing the page numbers of a large generated estimate (8 levels, about
// 100,000 records; large_estimate.h) against one plain read of all its level
// files in the same run (`PageNumbersBaseline_ReadLevelFiles`). Goal:
// `PageNumbersWrite` within 1.5 x the baseline.
//
// Each run of `PageNumbersWrite` changes the rows per page (40, then 30, in
// turn), so every sheet's page field is written anew, not found right
// already; `PagePlanMake` is the plan alone over the files already read.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "editor/page_numbers.h"
#include "large_estimate.h"
#include "platform/fs.h"
#include "platform/page_plan.h"
#include "storage/level_files.h"

namespace {

namespace stdfs = std::filesystem;

struct Estimate : kv::bench::GeneratedEstimate {
  Estimate() : GeneratedEstimate("kvpages-bench") {
    stdfs::create_directories(root / "DATA");  // the estimate file's folder
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 40;
  }
};

Estimate& TheEstimate() {
  static Estimate e;
  return e;
}

void BM_PageNumbersBaseline_ReadLevelFiles(benchmark::State& state) {
  Estimate& e = TheEstimate();
  size_t bytes = 0;
  for (auto _ : state) bytes = kv::bench::ReadAllLevelFiles(e.st);
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PageNumbersBaseline_ReadLevelFiles)->Unit(benchmark::kMillisecond);

void BM_PageNumbersWrite(benchmark::State& state) {
  Estimate& e = TheEstimate();
  for (auto _ : state) {
    e.st.PrintRows[1] = e.st.PrintRows[1] == 40 ? 30 : 40;
    kv::PageNumbersWrite(e.st);
  }
  state.counters["records"] = static_cast<double>(e.made.records);
}
BENCHMARK(BM_PageNumbersWrite)->Unit(benchmark::kMillisecond);

void BM_PagePlanMake(benchmark::State& state) {
  Estimate& e = TheEstimate();
  std::vector<std::string> files;
  for (int level = 1; level <= e.st.LevelCount; ++level) {
    std::error_code ec;
    auto bytes = kv::fs::ReadFileBytes(kv::LevelFilePath(e.st, e.st.WorkFileBase, level), ec);
    if (!bytes) std::abort();
    files.push_back(std::move(*bytes));
  }
  const std::vector<std::string_view> views(files.begin(), files.end());
  size_t sheets = 0;
  for (auto _ : state) {
    const kv::PagePlan plan = kv::PagePlanMake(views, {e.st.DataLen, true, 40, false});
    sheets = plan.sheets.size();
    benchmark::DoNotOptimize(sheets);
  }
  state.counters["sheets"] = static_cast<double>(sheets);
}
BENCHMARK(BM_PagePlanMake)->Unit(benchmark::kMillisecond);

}  // namespace
