// The reference window on the generated large estimate, each against the
// editor doing the same work in the same run:
//   - RefSheetShow: the 1000-row breakdown sheet read and painted into a grid
//     model (RefLevelRead + RefSheetRedisplay), against EditorSheetShow
//     (LevelRowsRead + SheetGridInit + SheetRedisplay of the same sheet).
//     Goal: RefSheetShow <= 1.2 x EditorSheetShow.
//   - RefTreeBuild: the reference tree of the 100,000-record estimate,
//     against RefTreeChains, reading the level-1 file and the level-2 chains
//     it names with the record routines. Goal: <= 1.5 x.
//   - RefOpenPacked: a packed reference unpacked into WORK2 and its level 1
//     shown, against EditorOpenPacked (UnpackEstimateFile + LevelRowsRead(1)
//     + SheetGridInit + SheetRedisplay). Goal: <= 1.2 x.
#include <benchmark/benchmark.h>

#include <climits>
#include <memory>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "large_estimate.h"
#include "platform/grid/grid_model.h"
#include "platform/packing.h"
#include "platform/tree/tree_model.h"
#include "reference/ref_sheet.h"
#include "reference/ref_tree.h"
#include "sheet/grid_setup.h"
#include "sheet/sheet_painting.h"
#include "storage/estimate_unpack.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace {

struct RefEstimate {
  kv::bench::GeneratedEstimate e{"kvref-bench"};
  kv::GridModel grid;
  kv::TreeModel tree;
  std::string packed;

  RefEstimate() {
    kv::ProgramState& st = e.st;
    st.CaptionColmun1 = st.CaptionColmun2 = 1;
    st.ToTalNameColmun = 1;
    st.RefZoom = 100;
    for (int l = 1; l <= e.spec.levels; ++l) {
      st.LevelCaption[l] = std::string(size_t(st.DataLen), ' ');
      st.TotalRecordDefaults[l] = std::string(size_t(st.DataLen), ' ');
      st.RefColCount[l] = st.ColCount[l];
      st.RefLevelCaption[l] = st.LevelCaption[l];
      for (int c = 1; c <= st.ColCount[l]; ++c) {
        st.RefColStart[l][c] = st.ColStart[l][c];
        st.RefColWidth[l][c] = st.ColWidth[l][c];
        st.RefColType[l][c] = st.ColType[l][c].front();
      }
    }
    grid.SetTotalsLine(true);
    grid.SetViewportSize(1600, 900);
    // The reference reads the same level files.
    st.RefWorkFileBase = st.WorkFileBase;
    st.RefFilePath = st.CurrentFilePath;
    st.RefTreeShown = true;
    kv::RefTreeConnect(st, tree);
    // The parent of the big sheet: the level-1 row owning the first breakdown.
    if (!kv::LevelRowsRead(st, 1)) std::abort();
    st.ParentRows[1] = st.RefParentRows[1] = st.SheetRows[1];
    // The packed file in DATA.
    std::filesystem::create_directories(e.root / "DATA");
    if (kv::MCompress(e.root / "DATA", e.root / "WORK", e.spec.name, e.root, kv::PackFileSetFrom(st)) != kv::kPackOk)
      std::abort();
    packed = (e.root / "DATA" / (e.spec.name + ".YZH")).string();
  }
};

RefEstimate& TheEstimate() {
  static RefEstimate r;
  return r;
}

void RefSheetShow(benchmark::State& state) {
  RefEstimate& r = TheEstimate();
  kv::ProgramState& st = r.e.st;
  st.RefCurrentLevel = 2;
  for (auto _ : state) {
    kv::RefLevelRead(st, r.grid, 2);
    kv::RefSheetRedisplay(st, r.grid, 1, st.RefUsedRows);
  }
  state.counters["rows"] = st.RefUsedRows;
}
BENCHMARK(RefSheetShow)->Unit(benchmark::kMillisecond);

void EditorSheetShow(benchmark::State& state) {
  RefEstimate& r = TheEstimate();
  kv::ProgramState& st = r.e.st;
  st.CurrentLevel = 2;
  for (auto _ : state) {
    if (!kv::LevelRowsRead(st, 2)) std::abort();
    kv::SheetGridInit(st, r.grid, 2);
    kv::SheetRedisplay(st, r.grid, 1, st.UsedRows);
  }
  state.counters["rows"] = st.UsedRows;
}
BENCHMARK(EditorSheetShow)->Unit(benchmark::kMillisecond);

void RefTreeBuild(benchmark::State& state) {
  RefEstimate& r = TheEstimate();
  for (auto _ : state) kv::RefTreeBuild(r.e.st);
  state.counters["nodes"] = r.tree.Count();
}
BENCHMARK(RefTreeBuild)->Unit(benchmark::kMillisecond);

void RefTreeChains(benchmark::State& state) {
  RefEstimate& r = TheEstimate();
  const kv::ProgramState& st = r.e.st;
  const bool hex = kv::IsHexBase(st.H_Link);
  int records = 0;
  for (auto _ : state) {
    kv::RecordFile f1(kv::LevelFilePath(st, st.RefWorkFileBase, 1), st.DataLen, kv::RecordFileMode::ReadOnly);
    kv::RecordFile f2(kv::LevelFilePath(st, st.RefWorkFileBase, 2), st.DataLen, kv::RecordFileMode::ReadOnly);
    kv::FileRecords s1(f1), s2(f2);
    kv::SheetChain top;
    if (kv::ReadSheetChain(s1, true, 1, hex, INT_MAX, top)) std::abort();
    records = static_cast<int>(top.records.size());
    for (const std::string& rec : top.records) {
      const std::optional<int> link = kv::ReadStoredLink(kv::LinkField(rec, kv::kChildPos), hex);
      if (!link || *link < 1) continue;
      kv::SheetChain chain;
      if (kv::ReadSheetChain(s2, false, *link, hex, INT_MAX, chain)) std::abort();
      records += static_cast<int>(chain.records.size());
    }
  }
  state.counters["records"] = records;
}
BENCHMARK(RefTreeChains)->Unit(benchmark::kMillisecond);

void RefOpenPacked(benchmark::State& state) {
  RefEstimate& r = TheEstimate();
  kv::ProgramState& st = r.e.st;
  st.RefWorkFolderName = "/WORK2";
  for (auto _ : state) {
    if (!kv::UnpackReferenceFile(st, r.packed).ok()) std::abort();
    st.RefWorkFileBase = st.AppPath + "/WORK2/" + r.e.spec.name;
    st.RefCurrentLevel = 1;
    kv::RefLevelRead(st, r.grid, 1);
    kv::RefSheetRedisplay(st, r.grid, 1, st.RefUsedRows);
  }
  st.RefWorkFileBase = st.WorkFileBase;
  state.counters["rows"] = st.RefUsedRows;
}
BENCHMARK(RefOpenPacked)->Unit(benchmark::kMillisecond);

void EditorOpenPacked(benchmark::State& state) {
  RefEstimate& r = TheEstimate();
  kv::ProgramState& st = r.e.st;
  for (auto _ : state) {
    if (!kv::UnpackEstimateFile(st, r.packed).ok()) std::abort();
    st.CurrentLevel = 1;
    if (!kv::LevelRowsRead(st, 1)) std::abort();
    kv::SheetGridInit(st, r.grid, 1);
    kv::SheetRedisplay(st, r.grid, 1, st.UsedRows);
  }
  state.counters["rows"] = st.UsedRows;
}
BENCHMARK(EditorOpenPacked)->Unit(benchmark::kMillisecond);

}  // namespace
