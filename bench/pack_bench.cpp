// Packing and unpacking of a large generated estimate work set, next to the
// zip and unzip programs on the same files in the same run.
//
// The work set: 8 level files of 512-byte records (100,000 records in all,
// sheets of 200 rows chained as the level writer leaves them), the settings
// file, the layout file and four sheet object files.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/packing.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kDataLen = 512;
constexpr int kLevels = 8;
constexpr long kTotalRecords = 100000;
constexpr int kSheetRows = 200;
const std::string kName = "大規模見積";

// Item names and units of an estimate, in Shift-JIS.
const char* const kItems[] = {"\x8D\x9C\x8A\x74\x8D\x48",            // 鉄筋工
                              "\x8C\x5E\x98\x67\x8D\x48",            // 型枠工
                              "\x83\x52\x83\x93\x83\x4E\x83\x8A\x81\x5B\x83\x67",  // コンクリート
                              "\x93\x79\x8D\x48",                    // 土工
                              "\x95\x5A\x8D\xDE\x94\xEF"};           // 雑材費
const char* const kUnits[] = {"m3", "t", "\x8E\xAE", "m2", "\x96\x7B"};  // 式 本

std::string Stored(long n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%4ld", n);
  return buf;
}

std::string Record(std::mt19937& gen, char mark, char kind, long own, long next, long child) {
  std::string r;
  r += mark;
  r += ' ';
  r += kind;
  r += Stored(own) + (next > 0 ? Stored(next) : " -99") + (child > 0 ? Stored(child) : " -99") + "    ";
  char cols[256];
  unsigned q = gen() % 100000, price = gen() % 10000000;
  std::snprintf(cols, sizeof cols, "%-40s%-30s%10u.00%-4s%12u%15llu", kItems[gen() % 5], "\x8B\x4B\x8A\x69 \x82\x60",
                q, kUnits[gen() % 5], price, static_cast<unsigned long long>(q) * price);
  r += cols;
  r.resize(kDataLen, ' ');
  return r;
}

struct WorkSet {
  fs::path root, work, data, back, zipped, unzipped;
  kv::PackFileSet set;
  std::uintmax_t bytes = 0;

  WorkSet() {
    std::string pattern = (fs::temp_directory_path() / "kvpack-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root = pattern;
    work = root / "WORK";
    data = root / "DATA";
    back = root / "BACK";
    zipped = root / "ZIP";
    unzipped = root / "UNZIP";
    for (const fs::path& p : {work, data, back, zipped, unzipped}) fs::create_directories(p);
    set.PackedExt = ".YZH";
    set.OleDataExt = "OPD";
    for (int i = 1; i <= kLevels; ++i) set.LevelExt.push_back(".Y" + std::to_string(i));
    set.CompFileExt = set.LevelExt;
    set.CompFileExt.insert(set.CompFileExt.end(), {".Y$", ".INI", ".YT"});
    Generate();
  }
  ~WorkSet() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }

  void Put(const std::string& file, const std::string& bytes) {
    std::ofstream(work / file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  void Generate() {
    std::mt19937 gen(20240601);
    long perLevel = (kTotalRecords - (kSheetRows + 1)) / (kLevels - 1);
    for (int level = 1; level <= kLevels; ++level) {
      long records = level == 1 ? kSheetRows + 1 : perLevel;
      std::string file;
      file.reserve(static_cast<size_t>(records) * kDataLen);
      for (long r = 1; r <= records; ++r) {
        bool closing = r % (kSheetRows + 1) == 0 || r == records;
        bool first = level > 1 && r % (kSheetRows + 1) == 1;
        long child = level < kLevels && gen() % 4 == 0 ? static_cast<long>(gen() % 9000) + 1 : -99;
        file += Record(gen, first ? '@' : ' ', closing ? 'G' : ' ', r, closing ? -99 : r + 1, closing ? -99 : child);
      }
      Put(kName + set.LevelExt[static_cast<size_t>(level - 1)], file);
    }
    std::string ini = "[Boot]\r\nDataLen=512\r\nH_Link=10\r\nImax=200\r\n[OLE]\r\nOleFileNo=4\r\nOleFileCnt=4\r\n";
    for (int i = 0; i < 60; ++i) ini += "Key" + std::to_string(i) + "=\"" + kItems[i % 5] + "\"\r\n";
    Put(kName + ".INI", ini);
    std::string layout;
    for (int i = 0; i < 40; ++i) layout += Record(gen, ' ', ' ', i + 1, -99, -99).substr(0, 256);
    Put(kName + ".Y$", layout);
    // Object files: a header and picture-like data, half of it noise.
    for (int k = 1; k <= 4; ++k) {
      std::string mod = "$$4DO-SHEET$$";
      mod.resize(200 * 1024);
      for (size_t i = 14; i < mod.size(); ++i)
        mod[i] = static_cast<char>(i % 2 ? gen() & 0xFF : (i / 640) & 0xFF);
      Put(kName + "$" + std::to_string(k) + ".MOD", mod);
    }
    for (const auto& e : fs::directory_iterator(work)) bytes += e.file_size();
  }

  void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) std::abort();
  }
};

WorkSet& Set() {
  static WorkSet set;
  return set;
}

void PackWorkSet(benchmark::State& state) {
  WorkSet& w = Set();
  for (auto _ : state) {
    if (kv::MCompress(w.data, w.work, kName, w.root, w.set) != kv::kPackOk) state.SkipWithError("pack failed");
    if (kv::MCompOLEData(w.data, w.work, kName, w.root, w.set) != kv::kPackOk) state.SkipWithError("pack failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * w.bytes));
  state.counters["packed_bytes"] = static_cast<double>(fs::file_size(kv::PackedFilePath(w.data, kName, w.set)) +
                                                       fs::file_size(kv::OleDataFilePath(w.data, kName, w.set)));
}

void UnpackWorkSet(benchmark::State& state) {
  WorkSet& w = Set();
  kv::MCompress(w.data, w.work, kName, w.root, w.set);
  kv::MCompOLEData(w.data, w.work, kName, w.root, w.set);
  for (auto _ : state) {
    if (kv::MMelt(w.data, w.back, kName, w.root, w.set) != kv::kPackOk) state.SkipWithError("unpack failed");
    if (kv::MMeltOLEData(w.data, w.back, kName, w.root, w.set) != kv::kPackOk) state.SkipWithError("unpack failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * w.bytes));
}

// The same files through the zip program, level 6 (a new archive each time).
void ZipLevel6(benchmark::State& state) {
  WorkSet& w = Set();
  const fs::path archive = w.zipped / "ref.zip";
  const std::string command = "cd '" + w.work.string() + "' && zip -q -6 '" + archive.string() + "' *";
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(archive);
    state.ResumeTiming();
    w.Run(command);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * w.bytes));
  state.counters["packed_bytes"] = static_cast<double>(fs::file_size(archive));
}

void Unzip(benchmark::State& state) {
  WorkSet& w = Set();
  const fs::path archive = w.zipped / "ref.zip";
  if (!fs::exists(archive)) w.Run("cd '" + w.work.string() + "' && zip -q -6 '" + archive.string() + "' *");
  const std::string command = "unzip -q -o '" + archive.string() + "' -d '" + w.unzipped.string() + "'";
  for (auto _ : state) w.Run(command);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * w.bytes));
}

BENCHMARK(PackWorkSet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ZipLevel6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(UnpackWorkSet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Unzip)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
