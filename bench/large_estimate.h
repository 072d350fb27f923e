#pragma once
// A generator of large estimates for the benchmarks: level work files of a
// deep estimate, its breakdown chains scattered through each file among
// unreachable leftovers, as the level writer leaves them before compaction;
// and a program state that opens it, with a user interface that answers
// nothing (benchmarks ask no one).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdlib.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "state/column_defs.h"
#include "calc/calc_engine.h"
#include "core/number_text.h"
#include "core/stored_number.h"
#include "quiet_ui.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "platform/fs.h"
#include "storage/level_files.h"
#include "storage/row_record.h"

namespace kv::bench {

// A fresh folder under the system's temporary folder, removed with all it
// holds when this goes.
class ScratchFolder {
 public:
  explicit ScratchFolder(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Reads every level file of the estimate once, as one plain read each;
// answers the bytes read.
inline size_t ReadAllLevelFiles(const ProgramState& st) {
  size_t bytes = 0;
  for (int level = 1; level <= st.LevelCount; ++level) {
    std::error_code ec;
    const auto data = fs::ReadFileBytes(LevelFilePath(st, st.WorkFileBase, level), ec);
    if (!data) std::abort();
    bytes += data->size();
  }
  return bytes;
}

struct LargeEstimateSpec {
  int levels = 8;
  int rowsPerSheet = 200;
  int targetRecords = 100000;  // about this many records in all the level files
  int recordLength = 512;
  int bigSheetRows = 1000;      // the first breakdown of level 2 has this many rows (0: as the others)
  int leftoverPercent = 10;     // unreachable records mixed into each deeper file
  unsigned seed = 1;
  std::string name = "大規模見積";
  // The eight columns of the default base text on every level, with the
  // amount computed from quantity and unit price: item rows with quantities
  // and unit prices (a quantity formula in every third), a "#" row every 20
  // rows, a tax row and a grand-total row before each closing record.
  // Otherwise two columns, a name and an amount.
  bool calculating = false;
  // With a name (Shift-JIS bytes) and a spacing n above 0: every n-th item row
  // of the chains, counted through all levels in the order they are written,
  // carries this name instead of "ITEM" (two-column layout only).
  std::string plantedName;
  int plantEvery = 0;
};

// What was written: the records of each level file and in all.
struct LargeEstimate {
  std::vector<int> recordsPerLevel;  // [1 .. levels]
  int records = 0;
};

// The default base text's columns: heading, type, width, row definition,
// total, carry.
struct BenchColumn {
  const char* type;
  int width;
  const char* rowDef;
  const char* totalDef;
  const char* carryDef;
};
inline constexpr BenchColumn kCalculatingColumns[] = {
    {"W", 62, "", "", ""},  {"W", 42, "", "", ""}, {"S", 30, "", "", ""},
    {"A2", 12, "", "", ""}, {"C", 6, "", "", ""},  {"0", 12, "", "", ""},
    {"A", 14, "[[D*[[F", "SUM", "->[$F"}, {"C", 40, "", "", ""},
};

inline void ConfigureCalculatingLayout(ProgramState& st, int levels) {
  for (int l = 1; l <= levels; ++l) {
    int start = 20;
    int c = 0;
    for (const BenchColumn& col : kCalculatingColumns) {
      ++c;
      st.ColStart[l][c] = start;
      st.ColWidth[l][c] = col.width;
      st.ColType[l][c] = col.type;
      st.ColDecimals[l][c] = TypeCodeDecimals(col.type);
      st.ColFormula[l][c] = col.rowDef;
      st.ColTotalKind[l][c] = col.totalDef;
      st.ColCarryDef[l][c] = col.carryDef;
      start += col.width;
    }
    st.ColCount[l] = c;
    st.FormatMasks[l] = MakeColumnMasks(st, l);
  }
  st.STax = Currency::FromRaw(1000);  // 10 %
  st.STaxMethod = 1;
  CalcEngine engine;
  st.calc = &engine;
  if (!SumColumnFind(st)) std::abort();
  st.calc = nullptr;
}

// Points the program state at the estimate in `appPath`/WORK: file set of
// `levels` levels (".Y1" ...), record length, 1000 rows a sheet, hexadecimal
// record numbers, two columns on every level (a 40-byte name at 20, a
// 12-byte amount at 60) or the calculating layout.
inline void ConfigureLargeEstimate(ProgramState& st, const std::filesystem::path& appPath,
                                   const LargeEstimateSpec& spec) {
  std::filesystem::create_directories(appPath / "WORK");
  st.AppPath = appPath.string();
  st.WorkFolderName = "/WORK";
  st.WorkFileBase = st.AppPath + "/WORK/" + spec.name;
  st.CurrentFilePath = st.AppPath + "/DATA/" + spec.name + ".YZH";
  st.DataLen = spec.recordLength;
  st.Imax = 1000;
  st.H_Link = "16";
  st.LevelCount = spec.levels;
  st.PackedExt = ".YZH";
  st.CompFileCount = spec.levels;
  for (int i = 1; i <= spec.levels; ++i) st.LevelExt[i] = st.CompFileExt[i] = ".Y" + std::to_string(i);
  for (int l = 1; l <= spec.levels; ++l) {
    st.ColCount[l] = 2;
    st.ColStart[l][1] = 20;
    st.ColWidth[l][1] = 40;
    st.ColType[l][1] = "C";
    st.ColStart[l][2] = 60;
    st.ColWidth[l][2] = 12;
    st.ColType[l][2] = "0";
  }
  if (spec.calculating) ConfigureCalculatingLayout(st, spec.levels);
  std::ofstream(appPath / "DAVIROV.INI", std::ios::binary) << "[Boot]\r\nDataLen=" << spec.recordLength << "\r\n";
}

// Row r (from 0) of a sheet of `rows` rows in the calculating layout.
inline char CalculatingRowKind(int r, int rows) {
  if (r == rows - 2) return kKindTax;
  if (r == rows - 1) return kKindGrandTotal;
  return (r + 1) % 20 == 0 ? '#' : kKindItem;
}

// An item row: a name, a quantity (a formula in every third row), a unit
// and a unit price, at the columns of the calculating layout.
inline void CalculatingItem(std::string& rec, int r, std::mt19937& gen) {
  char text[120];
  const unsigned quantity = static_cast<unsigned>(gen() % 99 + 1);
  const unsigned price = static_cast<unsigned>(gen() % 99999 + 1);
  rec.replace(19, 4, "ITEM");
  if (r % 3 == 0) {
    std::snprintf(text, sizeof text, "%u*(%u+.5)", quantity, static_cast<unsigned>(gen() % 9 + 1));
    rec.replace(123, std::char_traits<char>::length(text), text);
  } else {
    std::snprintf(text, sizeof text, "%9u.00", quantity);
    rec.replace(153, 12, text);
  }
  rec.replace(165, 2, "m2");
  std::snprintf(text, sizeof text, "%12u", price);
  rec.replace(171, 12, text);
}

// Writes the level files of the estimate named in `st` (see
// ConfigureLargeEstimate). Level 1 is one sheet in record order; each deeper
// level holds about the same number of breakdown sheets, each hanging from a
// row of a sheet of the level above; their records lie at random positions
// of the file among the leftovers.
inline LargeEstimate WriteLargeEstimate(const ProgramState& st, const LargeEstimateSpec& spec) {
  struct Sheet {
    int rows = 0;
    int parentSheet = 0, parentRow = 0;
    std::vector<int> positions;  // record numbers of the rows and the closing record
  };
  const int levels = spec.levels;
  const int perSheet = spec.rowsPerSheet + 1;
  const int chainBudget = spec.targetRecords * (100 - spec.leftoverPercent) / 100;
  const int perLevel = std::max(1, std::min(spec.rowsPerSheet, (chainBudget - perSheet) / (perSheet * std::max(1, levels - 1))));
  std::mt19937 gen(spec.seed);
  std::vector<std::vector<Sheet>> sheets(static_cast<size_t>(levels) + 1);
  sheets[1].push_back({spec.rowsPerSheet, 0, 0, {}});
  for (int level = 2; level <= levels; ++level) {
    const int parents = static_cast<int>(sheets[level - 1].size());
    for (int j = 0; j < perLevel; ++j) {
      int rows = level == 2 && j == 0 && spec.bigSheetRows > 0 ? spec.bigSheetRows : spec.rowsPerSheet;
      sheets[level].push_back({rows, j % parents, j / parents + 1, {}});
    }
  }

  LargeEstimate result;
  result.recordsPerLevel.assign(static_cast<size_t>(levels) + 1, 0);
  // Positions: level 1 in order, the deeper levels shuffled among leftovers.
  std::vector<int> leftovers(static_cast<size_t>(levels) + 1, 0);
  for (int level = 1; level <= levels; ++level) {
    int chained = 0;
    for (const Sheet& s : sheets[level]) chained += s.rows + 1;
    leftovers[level] = level == 1 ? 0 : chained * spec.leftoverPercent / 100;
    int total = chained + leftovers[level];
    std::vector<int> order(static_cast<size_t>(total));
    std::iota(order.begin(), order.end(), 1);
    if (level > 1) std::shuffle(order.begin(), order.end(), gen);
    size_t next = 0;
    for (Sheet& s : sheets[level])
      for (int r = 0; r <= s.rows; ++r) s.positions.push_back(order[next++]);
    result.recordsPerLevel[level] = total;
    result.records += total;
  }

  const bool hex = IsHexBase(st.H_Link);
  const size_t len = static_cast<size_t>(spec.recordLength);
  int itemRows = 0;  // item rows written, for the planted name
  for (int level = 1; level <= levels; ++level) {
    std::map<std::pair<int, int>, int> childOf;  // (sheet, row) -> first record below
    if (level < levels)
      for (const Sheet& c : sheets[level + 1]) childOf[{c.parentSheet, c.parentRow}] = c.positions.front();
    std::string file(static_cast<size_t>(result.recordsPerLevel[level]) * len, ' ');
    auto put = [&](int pos, std::string rec) { file.replace(static_cast<size_t>(pos - 1) * len, len, rec); };
    std::vector<bool> used(static_cast<size_t>(result.recordsPerLevel[level]) + 1, false);
    for (size_t si = 0; si < sheets[level].size(); ++si) {
      const Sheet& s = sheets[level][si];
      for (int r = 0; r <= s.rows; ++r) {
        std::string rec(len, ' ');
        bool closing = r == s.rows;
        rec[0] = level > 1 && r == 0 ? kMarkFirst : kMarkNone;
        rec[2] = closing ? kClosingKind : kKindItem;
        SetLinkField(rec, kOwnPos, s.positions[r], hex);
        SetLinkField(rec, kNextPos, closing ? kNoRecord : s.positions[r + 1], hex);
        auto child = childOf.find({static_cast<int>(si), r + 1});
        SetLinkField(rec, kChildPos, !closing && child != childOf.end() ? child->second : kNoRecord, hex);
        if (spec.calculating) {
          rec[2] = closing ? kClosingKind : CalculatingRowKind(r, s.rows);
          if (rec[2] == kKindItem) CalculatingItem(rec, r, gen);
        } else {
          char text[80];
          const bool planted = !closing && spec.plantEvery > 0 && ++itemRows % spec.plantEvery == 0;
          std::snprintf(text, sizeof text, "%-40s%12u", closing ? "" : planted ? spec.plantedName.c_str() : "ITEM",
                        static_cast<unsigned>(gen() % 1000000));
          rec.replace(19, 52, text);
        }
        put(s.positions[r], rec);
        used[static_cast<size_t>(s.positions[r])] = true;
      }
    }
    for (int pos = 1; pos <= result.recordsPerLevel[level]; ++pos) {
      if (used[static_cast<size_t>(pos)]) continue;
      std::string rec(len, ' ');
      SetLinkField(rec, kOwnPos, pos, hex);
      SetLinkField(rec, kNextPos, kNoRecord, hex);
      SetLinkField(rec, kChildPos, kNoRecord, hex);
      rec.replace(19, 8, "LEFTOVER");
      put(pos, rec);
    }
    std::ofstream(st.WorkFileBase + st.LevelExt[level], std::ios::binary | std::ios::trunc) << file;
  }
  return result;
}

// A program state on a large estimate of the default spec (or the calculating
// layout), written once into a scratch folder of its own that goes with it.
struct GeneratedEstimate {
  ScratchFolder scratch;
  const std::filesystem::path root = scratch.path();
  QuietUi ui;
  ProgramState st{ui};
  LargeEstimateSpec spec;
  LargeEstimate made;

  explicit GeneratedEstimate(const char* prefix, bool calculating = false) : scratch(prefix) {
    spec.calculating = calculating;
    ConfigureLargeEstimate(st, root, spec);
    made = WriteLargeEstimate(st, spec);
  }
};

}  // namespace kv::bench
