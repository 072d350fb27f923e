// Packing and unpacking of a whole large generated estimate through the
// estimate-level routines (the refusal checks, the pair of files replaced
// together, the unpack staged and swapped into the work folder).
//
// The estimate (large_estimate.h): 8 levels, sheets of 200 rows, about
// 100,000 records of 512 bytes, plus its settings file and four 200 KiB
// sheet object files.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "large_estimate.h"
#include "storage/estimate_pack.h"
#include "storage/estimate_unpack.h"

namespace {

namespace stdfs = std::filesystem;

struct PackedEstimate {
  stdfs::path root;
  kv::bench::QuietUi ui;
  kv::ProgramState st{ui};
  kv::bench::LargeEstimateSpec spec;
  kv::bench::LargeEstimate made;

  PackedEstimate() {
    std::string pattern = (stdfs::temp_directory_path() / "kvpack-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root = pattern;
    kv::bench::ConfigureLargeEstimate(st, root, spec);
    stdfs::create_directories(root / "DATA");
    st.OleDataExt = "OPD";
    st.CompFileCount = spec.levels + 1;
    st.CompFileExt[static_cast<size_t>(st.CompFileCount)] = ".INI";
    made = kv::bench::WriteLargeEstimate(st, spec);
    std::ofstream(st.WorkFileBase + ".INI", std::ios::binary) << "[Boot]\r\nDataLen=512\r\n[OLE]\r\nOleFileCnt=4\r\n";
    std::mt19937 gen(7);
    for (int k = 1; k <= 4; ++k) {
      std::string bytes(200 * 1024, '\0');
      for (size_t i = 0; i < bytes.size(); i += 2) bytes[i] = static_cast<char>(gen());
      std::ofstream(st.WorkFileBase + "$" + std::to_string(k) + ".MOD", std::ios::binary) << bytes;
    }
  }
  ~PackedEstimate() {
    std::error_code ec;
    stdfs::remove_all(root, ec);
  }
};

PackedEstimate& TheEstimate() {
  static PackedEstimate e;
  return e;
}

void PackEstimate(benchmark::State& state) {
  PackedEstimate& e = TheEstimate();
  for (auto _ : state)
    if (kv::PackEstimateFile(e.st, e.st.CurrentFilePath, false) != kv::kEstimatePacked) std::abort();
  state.counters["records"] = e.made.records;
}
BENCHMARK(PackEstimate)->Unit(benchmark::kMillisecond);

void UnpackEstimate(benchmark::State& state) {
  PackedEstimate& e = TheEstimate();
  if (kv::PackEstimateFile(e.st, e.st.CurrentFilePath, false) != kv::kEstimatePacked) std::abort();
  for (auto _ : state)
    if (!kv::UnpackEstimateFile(e.st, e.st.CurrentFilePath).ok()) std::abort();
  state.counters["records"] = e.made.records;
}
BENCHMARK(UnpackEstimate)->Unit(benchmark::kMillisecond);

}  // namespace
