// The classification file build (index database, walk, both level files of
// the new estimate) on the generated estimate of large_estimate.h (about
// 100,000 records in 8 levels, 512-byte records, hexadecimal links) with a
// code column of classification 1 and its name column on every level, and
// codes on 30,000 rows in 500 codes. Baseline, in the same run: one read of
// every record of all the level files with the record routines.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "classify/siwake_build.h"
#include "core/record_file.h"
#include "large_estimate.h"
#include "storage/row_record.h"

namespace kv::bench {
namespace {

constexpr int kCodeStart = 80, kCodeWidth = 6, kNameStart = 86, kNameWidth = 10;
constexpr int kCodedRows = 30000, kCodes = 500;

struct CodedEstimate {
  ScratchFolder folder{"kv-siwake-bench"};
  QuietUi ui;
  ProgramState st{ui};
  int coded = 0;

  CodedEstimate() {
    LargeEstimateSpec spec;
    ConfigureLargeEstimate(st, folder.path(), spec);
    WriteLargeEstimate(st, spec);
    for (int l = 1; l <= st.LevelCount; ++l) {
      st.ColCount[l] = 4;
      st.ColType[l][3] = "I1";
      st.ColStart[l][3] = kCodeStart;
      st.ColWidth[l][3] = kCodeWidth;
      st.ColType[l][4] = "D";
      st.ColStart[l][4] = kNameStart;
      st.ColWidth[l][4] = kNameWidth;
    }
    st.ToTalNameColmun = 1;
    for (int l = 1; l <= st.LevelCount; ++l) st.TotalRecordDefaults[l] = std::string(size_t(st.DataLen), ' ');
    // Codes on rows without a breakdown, deepest levels first, so that the
    // walk passes every sheet.
    const bool hex = IsHexBase(st.H_Link);
    for (int level = st.LevelCount; level >= 1 && coded < kCodedRows; --level) {
      const std::filesystem::path path = LevelFilePath(st, st.WorkFileBase, level);
      std::error_code ec;
      std::string file = *fs::ReadFileBytes(path, ec);
      const size_t len = size_t(st.DataLen);
      for (size_t at = 0; at + len <= file.size() && coded < kCodedRows; at += len) {
        std::string_view rec(file.data() + at, len);
        if (rec.substr(3, 4) == "    " || rec[2] == 'G') continue;
        const std::optional<int> child = ReadStoredLink(LinkField(rec, kChildPos), hex);
        if (child && *child > 0) continue;
        char text[32];
        std::snprintf(text, sizeof text, "C%04d NAME%04d", coded % kCodes, coded % kCodes);
        file.replace(at + kCodeStart - 1, 5, text, 5);
        file.replace(at + kNameStart - 1, 8, text + 6, 8);
        ++coded;
      }
      if (!fs::WriteFileAtomic(path, file, ec)) std::abort();
    }
  }
};

CodedEstimate& Estimate() {
  static CodedEstimate e;
  return e;
}

void BM_SiwakeBuild(benchmark::State& state) {
  CodedEstimate& e = Estimate();
  const std::string target = e.st.AppPath + "/WORK/仕訳";
  for (auto _ : state) {
    const bool ok = CreateIndexDb(e.st, kCodeWidth, kNameWidth) &&
                    BuildSiwakeIndex(e.st, e.st.WorkFileBase, kCodeStart, kCodeWidth, kNameStart, kNameWidth) &&
                    MakeSiwakeFile(e.st, target, e.st.WorkFileBase);
    if (!ok) state.SkipWithError("build failed");
  }
  state.counters["coded_rows"] = e.coded;
}
BENCHMARK(BM_SiwakeBuild)->Unit(benchmark::kMillisecond);

void BM_ReadEveryRecord(benchmark::State& state) {
  CodedEstimate& e = Estimate();
  for (auto _ : state) {
    size_t records = 0;
    std::string rec;
    for (int level = 1; level <= e.st.LevelCount; ++level) {
      RecordFile file(LevelFilePath(e.st, e.st.WorkFileBase, level), e.st.DataLen, RecordFileMode::ReadOnly);
      for (int n = 1; file.GetRecordText(n, rec); ++n) ++records;
    }
    benchmark::DoNotOptimize(records);
  }
}
BENCHMARK(BM_ReadEveryRecord)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kv::bench
