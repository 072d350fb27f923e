#pragma once
// A generator of large estimates for the benchmarks: level work files of a
// deep estimate, its breakdown chains scattered through each file among
// unreachable leftovers, as the level writer leaves them before compaction;
// and a program state that opens it, with a user interface that answers
// nothing (benchmarks ask no one).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/stored_number.h"
#include "quiet_ui.h"
#include "state/program_state.h"
#include "storage/row_record.h"

namespace kv::bench {

struct LargeEstimateSpec {
  int levels = 8;
  int rowsPerSheet = 200;
  int targetRecords = 100000;  // about this many records in all the level files
  int recordLength = 512;
  int bigSheetRows = 1000;      // the first breakdown of level 2 has this many rows (0: as the others)
  int leftoverPercent = 10;     // unreachable records mixed into each deeper file
  unsigned seed = 1;
  std::string name = "大規模見積";
};

// What was written: the records of each level file and in all.
struct LargeEstimate {
  std::vector<int> recordsPerLevel;  // [1 .. levels]
  int records = 0;
};

// Points the program state at the estimate in `appPath`/WORK: file set of
// `levels` levels (".Y1" ...), record length, 1000 rows a sheet, hexadecimal
// record numbers, two columns on every level (a 40-byte name at 20, a
// 12-byte amount at 60).
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
  std::ofstream(appPath / "DAVIROV.INI", std::ios::binary) << "[Boot]\r\nDataLen=" << spec.recordLength << "\r\n";
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
        char text[80];
        std::snprintf(text, sizeof text, "%-40s%12u", closing ? "" : "ITEM", static_cast<unsigned>(gen() % 1000000));
        rec.replace(19, 52, text);
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

}  // namespace kv::bench
