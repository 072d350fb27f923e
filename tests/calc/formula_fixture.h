#pragma once
// A program state with two levels laid out differently, for the formula
// evaluator: level 1 has A name (10 bytes at 20), B quantity (12 at 30),
// C price (12 at 42), D amount (12 at 54); level 2 has A name (20 at 20),
// B quantity (10 at 40), C amount (10 at 50). Records are built from display
// texts placed at byte positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "state/program_state.h"
#include "calc/formula_evaluate.h"
#include "platform/codepage.h"
#include "support/scripted_ui.h"

namespace kv::test {

inline void LayOutTwoLevels(ProgramState& st) {
  st.DataLen = 256;
  auto column = [&](int level, int col, const char* type, int start, int width) {
    st.ColType[level][col] = type;
    st.ColStart[level][col] = start;
    st.ColWidth[level][col] = width;
    st.ColCount[level] = std::max(st.ColCount[level], col);
  };
  column(1, 1, "C", 20, 10);
  column(1, 2, "2", 30, 12);
  column(1, 3, "0", 42, 12);
  column(1, 4, "0", 54, 12);
  column(2, 1, "C", 20, 20);
  column(2, 2, "2", 40, 10);
  column(2, 3, "0", 50, 10);
}

// A 256-byte record with display texts right-aligned to end at byte
// position + width - 1 (width = the text's byte length when 0).
inline std::string MakeRecord(std::initializer_list<std::pair<int, std::string>> fields) {
  std::string rec(256, ' ');
  for (const auto& [pos, text] : fields) {
    const std::string bytes = ToSjis(text);
    rec.replace(static_cast<size_t>(pos - 1), bytes.size(), bytes);
  }
  return rec;
}

class FormulaFixture : public ::testing::Test {
 protected:
  ScriptedUi ui;
  ProgramState st{ui};
  void SetUp() override { LayOutTwoLevels(st); }

  // Evaluates a display-text formula on level 1 against `record`; the result
  // as display text.
  std::string Eval(const std::string& formula, std::string_view record = {}, std::string* assigned = nullptr) {
    const LevelContext ctx{1, {}, {}};
    return FromSjis(FormulaEvaluate(st, ctx, record, ToSjis(formula), assigned));
  }
};

}  // namespace kv::test
