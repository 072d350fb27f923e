// Converting a reference to the editor's column layout, on the generated
// large estimate (100,000 records in 8 level files) copied into WORK2:
//   - RefDataChgMain: every level file checked, every record converted field
//     by field into a temporary file, the files renamed over the originals;
//   - against RecordsReadWrite: one read and one write of every record of the
//     same files with the record routines into a temporary file renamed over
//     the original (no check, no conversion). Goal: <= 2 x.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/record_file.h"
#include "large_estimate.h"
#include "reference/ref_field_conv.h"
#include "storage/level_files.h"

namespace {

namespace fsys = std::filesystem;

struct ConvEstimate {
  kv::bench::GeneratedEstimate e{"kvconv-bench"};
  std::string base;
  kv::RefConvRule rule;

  ConvEstimate() {
    kv::ProgramState& st = e.st;
    st.RefWorkFolderName = "/WORK2";
    const fsys::path work2 = fsys::path(st.AppPath) / "WORK2";
    fsys::create_directories(work2);
    base = (work2 / e.spec.name).string();
    for (int l = 1; l <= st.LevelCount; ++l)
      fsys::copy_file(kv::LevelFilePath(st, st.WorkFileBase, l), base + st.LevelExt[l]);
    // The reference's name and amount swap places and widths change.
    rule.m = {{"名称", "C", 0, 20, 40}, {"金額", "N", 0, 60, 12}};
    rule.r = {{"金額", "N", 0, 20, 14}, {"名称", "C", 0, 34, 44}};
    rule.map = {1, 0};
  }
};

ConvEstimate& Estimate() {
  static ConvEstimate e;
  return e;
}

void RefDataChgMain(benchmark::State& state) {
  ConvEstimate& c = Estimate();
  std::string reason;
  for (auto _ : state) {
    if (!kv::RefDataChgMain(c.e.st, c.base, c.rule, reason)) state.SkipWithError(reason.c_str());
  }
  state.counters["records"] = c.e.made.records;
}

void RecordsReadWrite(benchmark::State& state) {
  ConvEstimate& c = Estimate();
  const kv::ProgramState& st = c.e.st;
  std::string rec;
  for (auto _ : state) {
    for (int l = 1; l <= st.LevelCount; ++l) {
      const fsys::path path = c.base + st.LevelExt[l];
      const fsys::path temp = path.string() + ".copy";
      {
        const kv::RecordFile in(path, st.DataLen, kv::RecordFileMode::ReadOnly);
        kv::RecordFile out(temp, st.DataLen);
        const int count = in.RecordCount();
        for (int k = 1; k <= count; ++k) {
          in.GetRecordText(k, rec);
          out.PutRecordText(k, rec);
        }
        out.Close();
      }
      fsys::rename(temp, path);
      kv::RecordFileChanged(path);
    }
  }
}

BENCHMARK(RecordsReadWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(RefDataChgMain)->Unit(benchmark::kMillisecond);

}  // namespace
