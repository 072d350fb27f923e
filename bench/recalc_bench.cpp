// Every sheet of a large calculating estimate, walked from the top through
// the child links as the recalculation of all levels walks it: read
// (`ReadEverySheet`), or read and calculated with every item row's
// definitions (`RecalcEverySheet`, `RecalcAllRunning` and `CalcNoDisplay`
// set). Goal: RecalcEverySheet within twice ReadEverySheet.
//
// `ReadEverySheetBaseline_CopyRecords` copies the same records of the same
// sheets with memcpy out of the level files held in memory: the least the
// reading could cost. Goal: ReadEverySheet within 10 times that.
//
// The estimate (large_estimate.h, calculating layout): 8 levels, sheets of
// 200 rows (the first breakdown of level 2 of 1,000), about 100,000 records
// of 512 bytes.
//
// The equipment totals (`RecalcEquipmentTotals`) on a 1,000-row sheet of
// system kind 1 (one rule of two groups, two unit pairs, one overhead and
// one consumables entry of three marks) against one `LevelCalc` of the same
// sheet with every item row's definitions evaluated (`RecalcAllRunning`).
// Goal: within 1.5 x.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calc/calc_engine.h"
#include "calc/equipment/equipment_definitions.h"
#include "calc/equipment/equipment_recalc.h"
#include "calc/level_calc.h"
#include "platform/fs.h"
#include "storage/level_files.h"
#include "state/column_numbers.h"
#include "state/stored_number_base.h"
#include "large_estimate.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace {

namespace stdfs = std::filesystem;

struct Estimate : kv::bench::GeneratedEstimate {
  Estimate() : GeneratedEstimate("kvrecalc-bench", true) {}
};

Estimate& TheEstimate() {
  static Estimate e;
  return e;
}

struct WalkCount {
  int sheets = 0;
  int rows = 0;
  // When asked for: the level and record numbers of every sheet read, its
  // closing record included.
  std::vector<std::pair<int, std::vector<int>>>* records = nullptr;
};

// Reads the sheet of `level` below `ParentRows`(level - 1), calculates it
// when asked, then walks the breakdowns of its rows.
void Walk(kv::ProgramState& st, int level, bool calculate, WalkCount& count) {
  st.CurrentLevel = level;
  if (!kv::LevelRowsRead(st, level)) std::abort();
  if (calculate) kv::LevelCalc(st, level, st.SheetTotalRecord, 1, st.UsedRows);
  ++count.sheets;
  count.rows += st.UsedRows;
  if (count.records) {
    const bool hex = kv::IsHexBase(st.H_Link);
    std::vector<int> numbers;
    for (int r = 1; r <= st.UsedRows; ++r)
      numbers.push_back(kv::ReadStoredLink(kv::LinkField(st.SheetRows[static_cast<size_t>(r)], kv::kOwnPos), hex).value_or(0));
    numbers.push_back(kv::ReadStoredLink(kv::LinkField(st.SheetTotalRecord, kv::kOwnPos), hex).value_or(0));
    count.records->emplace_back(level, std::move(numbers));
  }
  if (level >= st.LevelCount) return;
  std::vector<std::string> parents;
  for (int r = 1; r <= st.UsedRows; ++r) {
    const std::string& rec = st.SheetRows[static_cast<size_t>(r)];
    if (kv::BaseStrToNum(kv::LinkField(rec, kv::kChildPos), st) >= 1) parents.push_back(rec);
  }
  for (const std::string& parent : parents) {
    st.ParentRows[static_cast<size_t>(level)] = parent;
    Walk(st, level + 1, calculate, count);
  }
}

void EverySheet(benchmark::State& state, bool calculate) {
  Estimate& e = TheEstimate();
  e.st.RecalcAllRunning = calculate;
  e.st.CalcNoDisplay = true;
  WalkCount count;
  for (auto _ : state) {
    count = {};
    Walk(e.st, 1, calculate, count);
  }
  e.st.RecalcAllRunning = false;
  e.st.CalcNoDisplay = false;
  state.counters["sheets"] = count.sheets;
  state.counters["rows"] = count.rows;
}

void ReadEverySheet(benchmark::State& state) { EverySheet(state, false); }

void ReadEverySheetBaseline_CopyRecords(benchmark::State& state) {
  Estimate& e = TheEstimate();
  std::vector<std::pair<int, std::vector<int>>> sheets;
  WalkCount count;
  count.records = &sheets;
  Walk(e.st, 1, false, count);
  std::vector<std::string> files(static_cast<size_t>(e.st.LevelCount) + 1);
  for (int level = 1; level <= e.st.LevelCount; ++level) {
    std::error_code ec;
    auto bytes = kv::fs::ReadFileBytes(kv::LevelFilePath(e.st, e.st.WorkFileBase, level), ec);
    if (!bytes) std::abort();
    files[static_cast<size_t>(level)] = std::move(*bytes);
  }
  const size_t len = static_cast<size_t>(e.st.DataLen);
  std::vector<char> sheet(len * (kv::kMaxSheetRows + 2));
  size_t records = 0;
  for (auto _ : state) {
    records = 0;
    for (const auto& [level, numbers] : sheets) {
      const std::string& file = files[static_cast<size_t>(level)];
      size_t row = 0;
      for (int n : numbers) {
        if (n < 1 || static_cast<size_t>(n) * len > file.size() || row >= kv::kMaxSheetRows + 2) std::abort();
        std::memcpy(sheet.data() + row++ * len, file.data() + static_cast<size_t>(n - 1) * len, len);
      }
      records += row;
      benchmark::DoNotOptimize(sheet.data());
      benchmark::ClobberMemory();
    }
  }
  state.counters["sheets"] = static_cast<double>(sheets.size());
  state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(ReadEverySheetBaseline_CopyRecords)->Unit(benchmark::kMillisecond);
void RecalcEverySheet(benchmark::State& state) { EverySheet(state, true); }
BENCHMARK(ReadEverySheet)->Unit(benchmark::kMillisecond);
BENCHMARK(RecalcEverySheet)->Unit(benchmark::kMillisecond);

// A 1,000-row sheet of the equipment edition: A name, B mark, C quantity,
// D unit, E price, F amount [[C*[[E (SUM), G formula, H rate, I value, J sum.
struct EquipmentSheet {
  kv::bench::ScratchFolder scratch{"kvequip-bench"};
  const stdfs::path root = scratch.path();
  kv::bench::QuietUi ui;
  kv::ProgramState st{ui};
  kv::CalcEngine engine;
  std::vector<std::string> rows;

  EquipmentSheet() {
    st.SystemKind = 1;
    st.DataLen = 512;
    st.Imax = 1000;
    st.LevelCount = 1;
    const struct {
      const char* type;
      int width;
      const char* rowDef;
      const char* total;
    } cols[] = {{"C", 20, "", ""},      {"C", 6, "", ""}, {"0", 10, "", ""},  {"C", 6, "", ""},  {"0", 10, "", ""},
                {"0", 12, "[[C*[[E", "SUM"}, {"C", 20, "", ""}, {"0", 6, "", ""}, {"1", 12, "", ""}, {"0", 12, "", ""}};
    int start = 20, c = 0;
    for (const auto& col : cols) {
      ++c;
      st.ColStart[1][c] = start;
      st.ColWidth[1][c] = col.width;
      st.ColType[1][c] = col.type;
      st.ColDecimals[1][c] = kv::TypeCodeDecimals(col.type);
      st.ColFormula[1][c] = col.rowDef;
      st.ColTotalKind[1][c] = col.total;
      start += col.width;
    }
    st.ColCount[1] = c;
    st.FormatMasks[1] = kv::MakeColumnMasks(st, 1);
    st.calc = &engine;
    if (!kv::SumColumnFind(st)) std::abort();
    const std::string defs =
        "SIKI\r\nR(B)=[#F=>R(J)\r\nZOKU\r\nU(D)->(I)\r\nZOKU\r\nU(D)->(E)\r\n"
        "SKEIHI\r\n[[G\r\n[[B\r\n[[F\r\n[[H\r\n[[F\r\nSZATU\r\nSZ:[[G\r\nSZ:[[B\r\nSZ:[[F\r\nSZ:[[H\r\nSZ:[[F\r\n";
    std::ofstream(root / "VEZ_SIKI.DAT", std::ios::binary) << defs;
    kv::SbLoadDefinitions(st, (root / "VEZ_SIKI.DAT").string());

    auto cell = [&](std::string& rec, int col, const std::string& text) {
      rec.replace(size_t(st.ColStart[1][col] - 1), text.size(), text);
    };
    const char* marks[] = {"1", "2", "12", "X", "Y", "Z"};
    for (int r = 1; r <= 1000; ++r) {
      std::string rec(512, ' ');
      if (r == 1 || r == 500) {
        cell(rec, 2, r == 1 ? "*1" : "*2");
      } else if (r == 999) {
        rec[2] = 'Z';
        cell(rec, 7, "(#-X)*5");
        cell(rec, 8, "10");
      } else if (r == 1000) {
        rec[2] = 'S';
        cell(rec, 7, "X+Y+Z+(120)");
      } else {
        cell(rec, 2, marks[r % 6]);
        cell(rec, 3, std::to_string(r % 7 + 1));
        cell(rec, 4, r % 3 == 0 ? "H" : "");
        cell(rec, 5, std::to_string(1000 + r));
        cell(rec, 6, std::to_string((r % 7 + 1) * (1000 + r)));
        cell(rec, 9, std::to_string(r) + ".5");
      }
      rows.push_back(rec);
    }
  }
  void Reset() {
    for (size_t i = 0; i < rows.size(); ++i) st.SheetRows[i + 1] = rows[i];
    st.UsedRows = static_cast<int>(rows.size());
    st.SheetTotalRecord.assign(512, ' ');
  }
};

EquipmentSheet& TheEquipmentSheet() {
  static EquipmentSheet e;
  return e;
}

// The baseline: one LevelCalc of the sheet with every item row's
// definitions evaluated (`RecalcAllRunning`), as the equipment totals
// evaluate them. The rows are put back outside the timed part.
void EquipmentLevelCalc(benchmark::State& state) {
  EquipmentSheet& e = TheEquipmentSheet();
  e.st.CalcNoDisplay = true;
  e.st.RecalcAllRunning = true;
  for (auto _ : state) {
    state.PauseTiming();
    e.Reset();
    state.ResumeTiming();
    kv::LevelCalc(e.st, 1, e.st.SheetTotalRecord, 1, e.st.UsedRows);
  }
  e.st.RecalcAllRunning = false;
  e.st.CalcNoDisplay = false;
}

void RecalcEquipmentTotals(benchmark::State& state) {
  EquipmentSheet& e = TheEquipmentSheet();
  for (auto _ : state) {
    state.PauseTiming();
    e.Reset();
    state.ResumeTiming();
    if (!kv::RecalcEquipmentTotals(e.st, false)) std::abort();
  }
}

BENCHMARK(EquipmentLevelCalc)->Unit(benchmark::kMillisecond);
BENCHMARK(RecalcEquipmentTotals)->Unit(benchmark::kMillisecond);


}  // namespace
