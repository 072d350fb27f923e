#include "calc/equipment/equipment_row_defs.h"

#include <array>

#include "calc/calc_cells.h"
#include "calc/formula_evaluate.h"
#include "calc/row_def_readers.h"
#include "calc/zoku_unit_round.h"
#include "state/column_tables.h"
#include "state/program_state.h"

namespace kv {
namespace {

struct Chain {
  ProgramState& st;
  const LevelContext& ctx;
  std::string& rec;
  const RowDefinitionReaders& readers;
  std::array<bool, kMaxColumns + 1> onChain{};
};

void Follow(Chain& ch, int changedCol) {
  ProgramState& st = ch.st;
  const int level = ch.ctx.level;
  for (const int col : ch.readers.Readers(changedCol)) {
    if (ch.onChain[static_cast<size_t>(col)]) continue;
    std::string result = FormulaEvaluate(st, ch.ctx, ch.rec, st.ColFormula[level][col]);
    std::string fitted;
    if (!IsFormulaError(result)) {
      if (st.SystemKind == 1) result = ZokuUnitRoundAt(st, ch.rec, result, col, level);
      fitted = FitToColumn(st, level, col, result);
    } else if (st.FormulaRangeSign != 0) {
      fitted = FitAnswer(st, level, col, std::move(result));  // the overflow mark
    } else {
      StoreCell(st, ch.rec, level, col, "");  // a failed definition: blank, followed no further
      continue;
    }
    StoreCell(st, ch.rec, level, col, fitted);
    ch.onChain[static_cast<size_t>(col)] = true;
    Follow(ch, col);
    ch.onChain[static_cast<size_t>(col)] = false;
  }
}

}  // namespace

void RowDefinitionsAfter(ProgramState& st, const LevelContext& ctx, std::string& rec, int changedCol,
                         const RowDefinitionReaders& readers) {
  Chain ch{st, ctx, rec, readers, {}};
  if (changedCol >= 0 && changedCol <= kMaxColumns) ch.onChain[static_cast<size_t>(changedCol)] = true;
  Follow(ch, changedCol);
}

}  // namespace kv
