// CutToBytes over a million cell texts, a mix of ASCII, Japanese and
// half-width katakana, cut to column widths: the display-text form (with its
// two conversions) and the byte form.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/sjis_text.h"

namespace {

constexpr int kCells = 1'000'000;

struct Cell {
  std::string text;
  int width;
};

const std::vector<Cell>& Cells(bool bytes) {
  static const auto make = [](bool toBytes) {
    const char* pieces[] = {"コンクリート打設", "Ｄ１３", "ｺﾝｸﾘｰﾄ", "m3", "鉄筋加工組立", "SD295A",
                            "型枠", " ", "1,250.00", "共通仮設費", "ﾎﾞﾙﾄ M12", "(別途)", "一式"};
    const int widths[] = {4, 6, 8, 10, 12, 16, 20, 30, 40};
    std::vector<Cell> cells;
    cells.reserve(kCells);
    unsigned seed = 12345;
    for (int i = 0; i < kCells; ++i) {
      std::string text;
      int parts = 1 + static_cast<int>(seed % 4);
      for (int p = 0; p < parts; ++p) {
        seed = seed * 1103515245u + 12345u;
        text += pieces[(seed >> 8) % std::size(pieces)];
      }
      seed = seed * 1103515245u + 12345u;
      int width = widths[(seed >> 8) % std::size(widths)];
      cells.push_back({toBytes ? kv::ToAnsiBytes(text) : text, width});
    }
    return cells;
  };
  static const std::vector<Cell> display = make(false);
  static const std::vector<Cell> byteForm = make(true);
  return bytes ? byteForm : display;
}

void BM_CutToBytesDisplayText(benchmark::State& state) {
  const auto& cells = Cells(false);
  for (auto _ : state) {
    size_t total = 0;
    for (const Cell& c : cells) total += kv::CutToBytes(kv::Utf8{c.text}, c.width).size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kCells);
}
BENCHMARK(BM_CutToBytesDisplayText)->Unit(benchmark::kMillisecond);

void BM_CutToBytesByteForm(benchmark::State& state) {
  const auto& cells = Cells(true);
  for (auto _ : state) {
    size_t total = 0;
    for (const Cell& c : cells) total += kv::CutToBytes(std::string_view(c.text), c.width).size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kCells);
}
BENCHMARK(BM_CutToBytesByteForm)->Unit(benchmark::kMillisecond);

}  // namespace
