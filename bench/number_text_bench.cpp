// Number texts over a million cells: the display form of stored numbers
// (NumCommaFormat) and the fitting of computed values (NumFitColumn).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/number_text.h"

namespace {

constexpr int kCells = 1000000;

// Stored cell texts of a 14-byte, 2-decimal column: right-aligned, a spread
// of magnitudes and signs, some blank (zero) cells.
std::vector<std::string> StoredCells() {
  std::vector<std::string> cells;
  cells.reserve(kCells);
  unsigned x = 12345;
  for (int i = 0; i < kCells; ++i) {
    x = x * 1103515245u + 12345u;
    std::string t;
    if (x % 17 != 0) {
      unsigned long long v = (x >> 4) % 100000000000ull;
      t = std::to_string(v / 100) + '.' + std::to_string(100 + v % 100).substr(1);
      if (x % 5 == 0) t = '-' + t;
    }
    cells.push_back(std::string(14 - std::min<size_t>(t.size(), 14), ' ') + t);
  }
  return cells;
}

void BM_NumCommaFormat(benchmark::State& state) {
  const std::vector<std::string> cells = StoredCells();
  const kv::NumColumn col{14, 2, false, '0'};
  for (auto _ : state) {
    for (const std::string& c : cells) {
      std::string t = c;
      kv::NumCommaFormat(t, col);
      benchmark::DoNotOptimize(t);
    }
  }
  state.SetItemsProcessed(state.iterations() * kCells);
}
BENCHMARK(BM_NumCommaFormat)->Unit(benchmark::kMillisecond);

void BM_NumFitColumn(benchmark::State& state) {
  // Computed values come without the leading blanks.
  std::vector<std::string> values = StoredCells();
  for (std::string& v : values) v.erase(0, std::min(v.find_first_not_of(' '), v.size()));
  const kv::NumColumn col{14, 2, false, '0'};
  for (auto _ : state) {
    for (const std::string& v : values) {
      std::string t = v;
      kv::NumFitColumn(t, col);
      benchmark::DoNotOptimize(t);
    }
  }
  state.SetItemsProcessed(state.iterations() * kCells);
}
BENCHMARK(BM_NumFitColumn)->Unit(benchmark::kMillisecond);

}  // namespace
