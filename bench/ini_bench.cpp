// Settings-file reads over a 2,000-key file: the start-up reads hundreds of
// keys, so the cost per read is what matters.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "core/ini_parse.h"
#include "platform/codepage.h"

namespace {

constexpr int kSections = 40;
constexpr int kKeysPerSection = 50;  // 2,000 keys

std::string SectionName(int s) { return s % 2 ? "印刷設定" + std::to_string(s) : "Section" + std::to_string(s); }
std::string KeyName(int k) { return k % 3 ? "Key" + std::to_string(k) : "項目" + std::to_string(k); }

// A 2,000-key settings file, Shift-JIS with CR LF, dated in the past so its
// parsed copy is trusted at once.
class BenchFile {
 public:
  BenchFile() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kvbench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) std::abort();
    dir_ = tmpl;
    path_ = dir_ / "KVSSYS.INI";
    std::string text;
    for (int s = 0; s < kSections; ++s) {
      text += "; section " + std::to_string(s) + "\r\n[" + kv::ToSjis(SectionName(s)) + "]\r\n";
      for (int k = 0; k < kKeysPerSection; ++k)
        text += kv::ToSjis(KeyName(k)) + "=" + (k % 4 ? std::to_string(s * 1000 + k) : "\"  値 " + std::to_string(k) + "\"") + "\r\n";
      text += "\r\n";
    }
    bytes_ = text;
    std::ofstream(path_, std::ios::binary) << text;
    timeval past[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimes(path_.c_str(), past);
    for (int s = 0; s < kSections; ++s)
      for (int k = 0; k < kKeysPerSection; ++k) keys_.push_back({SectionName(s), KeyName(k)});
  }
  ~BenchFile() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  const std::string& bytes() const { return bytes_; }
  const std::vector<std::pair<std::string, std::string>>& keys() const { return keys_; }

 private:
  std::filesystem::path dir_, path_;
  std::string bytes_;
  std::vector<std::pair<std::string, std::string>> keys_;
};

BenchFile& File() {
  static BenchFile f;
  return f;
}

void BM_IniGetString(benchmark::State& state) {
  BenchFile& f = File();
  size_t i = 0;
  std::string value;
  for (auto _ : state) {
    const auto& [s, k] = f.keys()[i++ % f.keys().size()];
    kv::IniGetString(s, k, value, f.path());
    benchmark::DoNotOptimize(value);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IniGetString);

void BM_IniGetInt(benchmark::State& state) {
  BenchFile& f = File();
  size_t i = 0;
  for (auto _ : state) {
    const auto& [s, k] = f.keys()[i++ % f.keys().size()];
    benchmark::DoNotOptimize(kv::IniGetInt(s, k, f.path()));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IniGetInt);

// All 2,000 keys of the file, one after the other (a start-up's worth).
void BM_IniReadAllKeys(benchmark::State& state) {
  BenchFile& f = File();
  std::string value;
  for (auto _ : state)
    for (const auto& [s, k] : f.keys()) {
      kv::IniGetString(s, k, value, f.path());
      benchmark::DoNotOptimize(value);
    }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(f.keys().size()));
}
BENCHMARK(BM_IniReadAllKeys)->Unit(benchmark::kMillisecond);

// What one read would cost if the file were parsed on every call.
void BM_IniParseWholeFile(benchmark::State& state) {
  BenchFile& f = File();
  for (auto _ : state) {
    kv::IniDocument doc(f.bytes());
    benchmark::DoNotOptimize(doc.Find("Section0", "Key1"));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.bytes().size()));
}
BENCHMARK(BM_IniParseWholeFile)->Unit(benchmark::kMicrosecond);

// One key written: read, change one line, replace the file (with its flush to disk).
void BM_IniPutString(benchmark::State& state) {
  BenchFile& f = File();
  int n = 0;
  for (auto _ : state) kv::IniPutString("Section20", "Key7", std::to_string(n++ % 1000), f.path());
}
BENCHMARK(BM_IniPutString)->Unit(benchmark::kMicrosecond);

}  // namespace
