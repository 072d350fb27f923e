// The copy of lower levels from a reference, on the generated large estimate
// used as the reference: the breakdowns of enough level-1 rows to make a
// subtree of about 5,000 records over levels 2 to 4, appended to an empty
// estimate in the same folder. Each against the plain record routines doing
// the same reading in the same run:
//   - RefLowerCopy (RefCopyCapacityCheck + RefChainsAppend), against
//     ChainsReadAppend: the same chains walked with their links read once per
//     file, each record read and appended unchanged. Goal: <= 2 x.
//   - RefCapacityCheck alone, against ChainsWalk: one walk of the same chains
//     over their links read once per file. Goal: <= 1.2 x.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/level_links.h"
#include "core/record_file.h"
#include "large_estimate.h"
#include "reference/ref_lower_copy.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/row_record.h"

namespace {

constexpr int kDeepest = 4;  // levels 2, 3 and 4 are copied

struct CopySource {
  kv::bench::GeneratedEstimate e{"kvrefcopy-bench"};
  std::vector<int> firsts;  // breakdowns of the level-1 rows copied
  long records = 0;         // records of the subtree

  CopySource() {
    kv::ProgramState& st = e.st;
    st.RefWorkFileBase = st.WorkFileBase;
    st.WorkFileBase = (e.root / "WORK" / "DEST").string();
    st.CurrentLevel = 1;
    st.RefCurrentLevel = 1;
    st.RefCopyDepth = kDeepest;
    for (int l = 1; l <= st.LevelCount; ++l) st.TotalRecordDefaults[l] = std::string(size_t(st.DataLen), ' ');
    // Level-1 rows with breakdowns until the subtree holds about 5,000 records.
    std::vector<kv::LevelLinks> links(kDeepest + 1);
    for (int l = 1; l <= kDeepest; ++l) {
      kv::RecordFile f(kv::LevelFilePath(st, st.RefWorkFileBase, l), st.DataLen, kv::RecordFileMode::ReadOnly);
      if (kv::LevelLinksRead(kv::FileRecords(f), true, links[size_t(l)])) std::abort();
    }
    std::function<long(int, int)> size = [&](int level, int first) {
      std::vector<int> chain;
      if (links[size_t(level)].Walk(first, links[size_t(level)].Count(), chain)) std::abort();
      long n = static_cast<long>(chain.size());
      if (level < kDeepest)
        for (int r : chain)
          if (links[size_t(level)].Child(r) > 0) n += size(level + 1, links[size_t(level)].Child(r));
      return n;
    };
    for (int r = 1; r <= links[1].Count() && records < 5000; ++r) {
      const int c = links[1].Child(r);
      if (c < 1) continue;
      firsts.push_back(c);
      records += size(2, c);
    }
  }

  void EmptyDestination() {
    for (int l = 1; l <= e.st.LevelCount; ++l) {
      std::error_code ec;
      std::filesystem::remove(kv::LevelFilePath(e.st, e.st.WorkFileBase, l), ec);
    }
  }
};

CopySource& Source() {
  static CopySource s;
  return s;
}

void RefLowerCopy(benchmark::State& state) {
  CopySource& s = Source();
  for (auto _ : state) {
    state.PauseTiming();
    s.EmptyDestination();
    state.ResumeTiming();
    bool overflow = false;
    std::vector<int> linked;
    if (!kv::RefCopyCapacityCheck(s.e.st, s.firsts, overflow) || !kv::RefChainsAppend(s.e.st, s.firsts, linked))
      std::abort();
    benchmark::DoNotOptimize(linked.data());
  }
  state.counters["records"] = static_cast<double>(s.records);
}

// The chains walked over links read once per file; `visit` sees each record.
template <typename Visit>
void WalkChains(CopySource& s, Visit&& visit) {
  kv::ProgramState& st = s.e.st;
  std::vector<std::unique_ptr<kv::RecordFile>> files(kDeepest + 1);
  std::vector<kv::LevelLinks> links(kDeepest + 1);
  for (int l = 2; l <= kDeepest; ++l) {
    files[size_t(l)] = std::make_unique<kv::RecordFile>(kv::LevelFilePath(st, st.RefWorkFileBase, l), st.DataLen,
                                                         kv::RecordFileMode::ReadOnly);
    if (kv::LevelLinksRead(kv::FileRecords(*files[size_t(l)]), true, links[size_t(l)])) std::abort();
  }
  std::function<void(int, int)> walk = [&](int level, int first) {
    std::vector<int> chain;
    if (links[size_t(level)].Walk(first, links[size_t(level)].Count(), chain)) std::abort();
    for (int r : chain) {
      visit(*files[size_t(level)], level, r);
      const int c = links[size_t(level)].Child(r);
      if (c > 0 && level < kDeepest) walk(level + 1, c);
    }
  };
  for (int c : s.firsts) walk(2, c);
}

void ChainsReadAppend(benchmark::State& state) {
  CopySource& s = Source();
  kv::ProgramState& st = s.e.st;
  for (auto _ : state) {
    state.PauseTiming();
    s.EmptyDestination();
    state.ResumeTiming();
    std::vector<std::unique_ptr<kv::RecordFile>> dest(kDeepest + 1);
    std::vector<int> count(kDeepest + 1, 0);
    for (int l = 2; l <= kDeepest; ++l)
      dest[size_t(l)] = std::make_unique<kv::RecordFile>(kv::LevelFilePath(st, st.WorkFileBase, l), st.DataLen);
    std::string rec;
    WalkChains(s, [&](const kv::RecordFile& f, int level, int r) {
      if (!f.GetRecordText(r, rec)) std::abort();
      dest[size_t(level)]->PutRecordText(++count[size_t(level)], rec);
    });
    for (int l = 2; l <= kDeepest; ++l) dest[size_t(l)]->Close();
    benchmark::DoNotOptimize(count.data());
  }
}

void RefCapacityCheck(benchmark::State& state) {
  CopySource& s = Source();
  s.EmptyDestination();
  for (auto _ : state) {
    bool overflow = false;
    if (!kv::RefCopyCapacityCheck(s.e.st, s.firsts, overflow)) std::abort();
    benchmark::DoNotOptimize(s.e.st.RefCopyCounts.data());
  }
}

void ChainsWalk(benchmark::State& state) {
  CopySource& s = Source();
  for (auto _ : state) {
    long n = 0;
    WalkChains(s, [&](const kv::RecordFile&, int, int) { ++n; });
    benchmark::DoNotOptimize(n);
  }
}

BENCHMARK(RefLowerCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ChainsReadAppend)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RefCapacityCheck)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ChainsWalk)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
