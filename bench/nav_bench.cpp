// Moving through a large generated estimate (large_estimate.h: 8 levels,
// about 100,000 records of 512 bytes, the first breakdown of level 2 of 1,000
// rows), each against the plain reading it is made of, measured in the same
// run:
//
//   - TreeBuild: EditTreeBuild (the level-1 sheet and every level-2 chain
//     below it into the tree model), against TreeBuildChains, the same
//     records read with the checked chain reader alone.
//     Goal: TreeBuild <= 2 x TreeBuildChains.
//   - TreeExpandAll: every level-1 node expanded in turn (its level-2 rows'
//     chains read one level further down), against TreeExpandChains, the
//     level-2 chains and the level-3 chains below them read alone.
//     Goal: TreeExpandAll <= 2 x TreeExpandChains.
//   - LevelDown1000: F9 on the top sheet's first row into the 1,000-row
//     breakdown (sheet unmodified: parent record, read, grid set-up, repaint
//     into the grid model), against ReadInitRedisplay1000: LevelRowsRead,
//     SheetGridInit and SheetRedisplay(1, 1000) of the same sheet.
//     Goal: LevelDown1000 <= 1.25 x ReadInitRedisplay1000.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "large_estimate.h"
#include "platform/grid/grid_model.h"
#include "platform/tree/tree_model.h"
#include "sheet/edit_tree.h"
#include "sheet/grid_setup.h"
#include "sheet/level_navigation.h"
#include "sheet/sheet_engine.h"
#include "sheet/sheet_painting.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace {

namespace stdfs = std::filesystem;

struct Estimate {
  stdfs::path root;
  kv::bench::QuietUi ui;
  kv::ProgramState st{ui};
  kv::bench::LargeEstimateSpec spec;
  kv::GridModel grid;
  kv::SheetEngine engine{grid, nullptr};
  kv::TreeModel tree;

  Estimate() {
    std::string pattern = (stdfs::temp_directory_path() / "kvnav-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root = pattern;
    kv::bench::ConfigureLargeEstimate(st, root, spec);
    kv::bench::WriteLargeEstimate(st, spec);
    st.sheetEngine = &engine;
    st.ToTalNameColmun = 1;
    st.CaptionColmun1 = st.CaptionColmun2 = 1;
    st.TreeShown = true;
    for (int l = 1; l <= spec.levels; ++l) st.LevelCaption[l] = std::string(size_t(st.DataLen), ' ');
    grid.SetTotalsLine(true);
    grid.SetViewportSize(1600, 900);
    kv::EditTreeConnect(st, tree);
  }
  ~Estimate() {
    std::error_code ec;
    stdfs::remove_all(root, ec);
  }

  // The top sheet on screen, the cursor on its first row.
  void OpenTop() {
    st.CurrentLevel = 1;
    if (!kv::LevelRowsRead(st, 1)) std::abort();
    st.SheetModified = false;
    kv::SheetGridInit(st, grid, 1);
    st.CurrentRow = 1;
    grid.SetCurrentRow(1);
  }

  bool Hex() const { return kv::IsHexBase(st.H_Link); }
  int Child(const std::string& rec) const {
    const std::optional<int> link = kv::ReadStoredLink(kv::LinkField(rec, kv::kChildPos), Hex());
    return link && *link >= 1 ? *link : kv::kNoRecord;
  }
};

Estimate& TheEstimate() {
  static Estimate e;
  return e;
}

// The level files opened for reading, as each tree operation opens them.
struct Files {
  std::vector<std::unique_ptr<kv::RecordFile>> files;
  std::vector<std::unique_ptr<kv::FileRecords>> sources;
  explicit Files(Estimate& e, int levels) {
    for (int l = 1; l <= levels; ++l) {
      files.push_back(std::make_unique<kv::RecordFile>(kv::LevelFilePath(e.st, e.st.WorkFileBase, l), e.st.DataLen,
                                                       kv::RecordFileMode::ReadOnly));
      sources.push_back(std::make_unique<kv::FileRecords>(*files.back()));
    }
  }
  const kv::RecordSource& Level(int l) const { return *sources[size_t(l - 1)]; }
};

kv::SheetChain Chain(const Estimate& e, const kv::RecordSource& src, int level, int first) {
  kv::SheetChain chain;
  if (kv::ReadSheetChain(src, level == 1, first, e.Hex(), INT_MAX, chain)) std::abort();
  return chain;
}

void TreeBuild(benchmark::State& state) {
  Estimate& e = TheEstimate();
  for (auto _ : state) kv::EditTreeBuild(e.st);
  state.counters["nodes"] = e.tree.Count();
}
BENCHMARK(TreeBuild)->Unit(benchmark::kMillisecond);

void TreeBuildChains(benchmark::State& state) {
  Estimate& e = TheEstimate();
  int records = 0;
  for (auto _ : state) {
    Files files(e, 2);
    const kv::SheetChain top = Chain(e, files.Level(1), 1, 1);
    records = static_cast<int>(top.records.size());
    for (const std::string& rec : top.records) {
      const int child = e.Child(rec);
      if (child >= 1) records += static_cast<int>(Chain(e, files.Level(2), 2, child).records.size());
    }
  }
  state.counters["records"] = records;
}
BENCHMARK(TreeBuildChains)->Unit(benchmark::kMillisecond);

// The level-1 nodes that own a breakdown.
std::vector<std::string> LevelOneBranches(const Estimate& e) {
  std::vector<std::string> keys;
  for (const kv::TreeNode* n : e.tree.Find("Root")->children)
    if (!n->children.empty()) keys.push_back(n->data.key);
  return keys;
}

void TreeExpandAll(benchmark::State& state) {
  Estimate& e = TheEstimate();
  kv::EditTreeBuild(e.st);
  const std::vector<std::string> keys = LevelOneBranches(e);
  for (auto _ : state) {
    state.PauseTiming();
    kv::EditTreeBuild(e.st);
    state.ResumeTiming();
    for (const std::string& key : keys) e.tree.SetExpanded(key, true);
  }
  state.counters["branches"] = static_cast<double>(keys.size());
  state.counters["nodes"] = e.tree.Count();
}
BENCHMARK(TreeExpandAll)->Unit(benchmark::kMillisecond);

void TreeExpandChains(benchmark::State& state) {
  Estimate& e = TheEstimate();
  int records = 0;
  for (auto _ : state) {
    records = 0;
    Files files(e, 3);
    const kv::SheetChain top = Chain(e, files.Level(1), 1, 1);
    for (const std::string& rec : top.records) {
      const int child = e.Child(rec);
      if (child < 1) continue;
      const kv::SheetChain second = Chain(e, files.Level(2), 2, child);
      records += static_cast<int>(second.records.size());
      for (const std::string& row : second.records) {
        const int grandChild = e.Child(row);
        if (grandChild >= 1) records += static_cast<int>(Chain(e, files.Level(3), 3, grandChild).records.size());
      }
    }
  }
  state.counters["records"] = records;
}
BENCHMARK(TreeExpandChains)->Unit(benchmark::kMillisecond);

void LevelDown1000(benchmark::State& state) {
  Estimate& e = TheEstimate();
  e.st.TreeShown = false;
  for (auto _ : state) {
    state.PauseTiming();
    e.OpenTop();
    state.ResumeTiming();
    kv::LevelDown(e.st, nullptr);
  }
  if (e.st.CurrentLevel != 2 || e.st.UsedRows != e.spec.bigSheetRows) std::abort();
  state.counters["rows"] = e.st.UsedRows;
  e.st.TreeShown = true;
}
BENCHMARK(LevelDown1000)->Unit(benchmark::kMillisecond);

void ReadInitRedisplay1000(benchmark::State& state) {
  Estimate& e = TheEstimate();
  e.OpenTop();
  e.st.ParentRows[1] = e.st.SheetRows[1];
  e.st.CurrentLevel = 2;
  for (auto _ : state) {
    if (!kv::LevelRowsRead(e.st, 2)) std::abort();
    kv::SheetGridInit(e.st, e.grid, 2);
    kv::SheetRedisplay(e.st, e.grid, 1, e.st.UsedRows);
  }
  if (e.st.UsedRows != e.spec.bigSheetRows) std::abort();
  state.counters["rows"] = e.st.UsedRows;
}
BENCHMARK(ReadInitRedisplay1000)->Unit(benchmark::kMillisecond);

}  // namespace
