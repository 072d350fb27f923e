#include "calc/formula_order.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "state/program_state.h"
#include "core/settings_text.h"
#include "core/column_letter.h"

namespace kv {
namespace {

constexpr int kMaxPasses = 10;

// Definitions still waiting for their place, by column (empty: none).
using Pending = std::array<std::string_view, kMaxColumns + 1>;

// True when no column that `def` refers to through `mark` + letter still
// waits. After each reference the scan goes on two characters after its
// letter. A letter that names no column of the level holds nothing up.
bool Ready(std::string_view def, std::string_view mark, const Pending& pending, int count) {
  size_t at = def.find(mark);
  while (at != std::string_view::npos) {
    const size_t letter = at + mark.size();
    if (letter >= def.size()) break;
    const int col = ColLetterToNum(def.substr(letter, 1));
    if (col >= 1 && col <= count && !pending[static_cast<size_t>(col)].empty()) return false;
    at = def.find(mark, letter + 2);
  }
  return true;
}

// Orders the pending definitions pass by pass; the letters made ready in a
// pass follow those of the passes before. False when some are left after
// the last pass.
bool OrderBuild(Pending pending, int count, std::string_view mark, std::string& order) {
  std::string letters;
  for (int pass = 1; pass <= kMaxPasses; ++pass) {
    if (std::all_of(pending.begin(), pending.end(), [](std::string_view d) { return d.empty(); })) break;
    std::array<bool, kMaxColumns + 1> ready{};
    for (int c = 1; c <= count; ++c) {
      const std::string_view def = pending[static_cast<size_t>(c)];
      if (def.empty() || !Ready(def, mark, pending, count)) continue;
      ready[static_cast<size_t>(c)] = true;
      letters += ColNumToLetter(c);
    }
    // Cleared only after the pass: a column waiting on one made ready in
    // this pass takes the next.
    for (int c = 1; c <= count; ++c)
      if (ready[static_cast<size_t>(c)]) pending[static_cast<size_t>(c)] = {};
  }
  if (!std::all_of(pending.begin(), pending.end(), [](std::string_view d) { return d.empty(); })) return false;
  order += letters;
  return true;
}

int ColumnsOf(const ProgramState& st, int level) { return std::clamp(st.ColCount[level], 0, kMaxColumns); }

}  // namespace

bool RowFormulaOrderBuild(ProgramState& st, int level) {
  if (level < 1 || level > kMaxLevels) return true;
  const int count = ColumnsOf(st, level);
  Pending pending{};
  for (int c = 1; c <= count; ++c) {
    const std::string& def = st.ColFormula[level][c];
    if (!ContainsNoCase(def, "RATIO")) pending[static_cast<size_t>(c)] = def;
  }
  return OrderBuild(pending, count, "[[", st.RowFormulaOrder[level]);
}

bool TotalFormulaOrderBuild(ProgramState& st, int level) {
  if (level < 1 || level > kMaxLevels) return true;
  const int count = ColumnsOf(st, level);
  Pending pending{};
  for (int c = 1; c <= count; ++c) {
    const std::string& def = st.ColTotalKind[level][c];
    if (def.find("SUM") == std::string::npos && !ContainsNoCase(st.ColCarryDef[level][c], "RATIO"))
      pending[static_cast<size_t>(c)] = def;
  }
  return OrderBuild(pending, count, "[#", st.TotalFormulaOrder[level]);
}

}  // namespace kv
