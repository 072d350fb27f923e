// The text search over a large generated estimate, next to `grep -c -F` over
// the same rows as text, in the same run.
//
// The estimate: bench/large_estimate.h's 100,000 records in 8 levels
// (512-byte records, hexadecimal links), with one Japanese name planted in the
// name column of about 500 rows spread over all levels.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "classify/kensaku_search.h"
#include "core/level_links.h"
#include "large_estimate.h"
#include "platform/codepage.h"

namespace {

using kv::bench::GeneratedEstimate;

const std::string kName = "鉄骨階段手摺";

struct SearchEstimate {
  kv::bench::ScratchFolder scratch{"kvsearch-bench"};
  kv::bench::QuietUi ui;
  kv::ProgramState st{ui};
  kv::bench::LargeEstimateSpec spec;
  std::filesystem::path text;  // every row the search walks, one decoded record a line
  int rowsWalked = 0;

  SearchEstimate() {
    spec.plantedName = kv::ToSjis(kName);
    spec.plantEvery = 180;
    kv::bench::ConfigureLargeEstimate(st, scratch.path(), spec);
    kv::bench::WriteLargeEstimate(st, spec);
    st.CurrentCol = 1;  // the name column
    st.CaptionColmun1 = 1;
    WriteText();
  }

  // The rows in the order the search walks them (level 1 in record order,
  // each breakdown under its row), closing records left out, each decoded to
  // UTF-8 on a line of its own.
  void WriteText() {
    std::vector<std::string> files(size_t(st.LevelCount) + 1);
    std::vector<kv::LevelLinks> links(size_t(st.LevelCount) + 1);
    for (int l = 1; l <= st.LevelCount; ++l) {
      std::error_code ec;
      files[size_t(l)] = *kv::fs::ReadFileBytes(st.WorkFileBase + st.LevelExt[l], ec);
      if (links[size_t(l)].Read(files[size_t(l)], st.DataLen, true)) std::abort();
    }
    std::string out;
    const size_t len = size_t(st.DataLen);
    auto walk = [&](auto& self, int level, const std::vector<int>& chain) -> void {
      for (int n : chain) {
        const std::string_view rec = std::string_view(files[size_t(level)]).substr(size_t(n - 1) * len, len);
        if (rec[2] == 'G') continue;
        ++rowsWalked;
        std::string line = kv::FromSjis(rec);
        for (char& c : line)
          if (c == '\r' || c == '\n') c = ' ';
        out += line;
        out += '\n';
        const int child = links[size_t(level)].Child(n);
        if (child == kv::kNoRecord || level >= st.LevelCount) continue;
        std::vector<int> below;
        if (links[size_t(level) + 1].Walk(child, 1001, below)) std::abort();
        self(self, level + 1, below);
      }
    };
    std::vector<int> top;
    for (int n = 1; n <= links[1].Count(); ++n) top.push_back(n);
    walk(walk, 1, top);
    text = scratch.path() / "rows.txt";
    std::ofstream(text, std::ios::binary) << out;
  }
};

SearchEstimate& Estimate() {
  static SearchEstimate e;
  return e;
}

// A simple search for the name as the search window runs it, without the
// grid: the condition file, the search over the work set, the result file
// read into the hit tables.
void SimpleSearch(benchmark::State& state) {
  SearchEstimate& e = Estimate();
  kv::KensakuHits hits;
  int found = 0;
  for (auto _ : state) {
    const kv::KensakuOutcome out = kv::RunStringSearch(e.st, kName, 1, e.st.WorkFileBase, hits, {});
    if (out.status != kv::KensakuStatus::Done) state.SkipWithError("search failed");
    found = hits.HitCount;
  }
  state.counters["hits"] = found;
  state.counters["rows"] = e.rowsWalked;
}

// `grep -c -F` with the name over the rows as text, a whole process each time.
void GrepCount(benchmark::State& state) {
  SearchEstimate& e = Estimate();
  const std::string command = "LC_ALL=C.UTF-8 grep -c -F '" + kName + "' '" + e.text.string() + "'";
  int found = 0;
  for (auto _ : state) {
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) std::abort();
    char buf[32] = {};
    if (!std::fgets(buf, sizeof buf, p)) std::abort();
    ::pclose(p);
    found = std::atoi(buf);
  }
  state.counters["hits"] = found;
}

// Both count the same hits, or the comparison means nothing.
void SameHits(benchmark::State& state) {
  SearchEstimate& e = Estimate();
  kv::KensakuHits hits;
  kv::RunStringSearch(e.st, kName, 1, e.st.WorkFileBase, hits, {});
  const std::string command = "LC_ALL=C.UTF-8 grep -c -F '" + kName + "' '" + e.text.string() + "'";
  FILE* p = ::popen(command.c_str(), "r");
  char buf[32] = {};
  if (!p || !std::fgets(buf, sizeof buf, p)) std::abort();
  ::pclose(p);
  if (std::atoi(buf) != hits.HitCount || hits.HitCount < 400) {
    state.SkipWithError("the search and grep count different hits");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(hits.HitCount);
  state.counters["hits"] = hits.HitCount;
}

BENCHMARK(SameHits)->Iterations(1);
BENCHMARK(SimpleSearch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(GrepCount)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
