#pragma once
// Variables of the calculation that live for the whole run of the program:
// the quantity formulas' variable table and the arithmetic library's
// variables. Part of the program state, so each state (each test) starts
// with none.
#include <string>
#include <vector>

#include "platform/calc2.h"

namespace kv {

inline constexpr int kFormulaVariableMax = 250;

// One variable of the quantity formulas: its name as written (byte form,
// compared exactly) and its value in the evaluator's internal form ("+5",
// "-3", " 4"; "" when its expression failed).
struct FormulaVariable {
  std::string name;
  std::string value;
};

struct CalcState {
  // Names in order of first definition; never emptied during the run.
  std::vector<FormulaVariable> FormulaVariableTable;
  // The arithmetic library's variables, kept until CalcInit.
  Calc2Variables Calc2Vars;
  // The sign (1 or -1) of the value when the last quantity formula failed
  // because its value lies beyond the calculable range; 0 otherwise.
  int FormulaRangeSign = 0;
  // Set when a computed cell took the overflow mark because its value lay
  // beyond the calculable range; a cell commit clears it first and tells the
  // user afterwards.
  bool CalcRangeExceeded = false;
};

}  // namespace kv
