#include "calc/formula_evaluate.h"

// Placeholder bodies; the evaluator follows.
namespace kv {

std::string FormulaEvaluate(ProgramState&, const LevelContext&, std::string_view, std::string_view,
                            std::string*) {
  return "0";
}

bool IsFormulaError(std::string_view result) { return result.starts_with("Err"); }

}  // namespace kv
