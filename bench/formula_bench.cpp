// The quantity formula evaluator, one call at a time: every example formula
// of the evaluator's table (numbers, powers, logarithms, marks, variables, a
// column reference, the failures), and the row definition of the default
// layout's amount column ("[[D*[[F") against an item row.
#include <benchmark/benchmark.h>

#include <iterator>
#include <string>
#include <vector>

#include "state/program_state.h"
#include "calc/formula_evaluate.h"
#include "platform/codepage.h"
#include "quiet_ui.h"

namespace {

const char* const kExamples[] = {
    "2*3.5", "10/4",      "1/2",        "10/3",       "2+3*4",  "(2+3)*4",   "2^3*2",      "-2^2",
    "3-2^2", "(2+3)^2",   "LOG(1000)",  "LOG(0)+5",   "LOG(10^2)", "LOG(100)^2", "A=2.5:B=4:A*B", "@10/3",
    "!-2.5", "~2.5",      "~-2.5",      "[[C*2",      "5-5",    "7/0",       "1/-20",      "X+1",
    "2*(3+1", "*3",       "2^2^2",      "LOG(10)+LOG(100)", "2 *3", "2* 3",  "A=5:",       "2(3)",
};

// Level 1: six numeric columns of 12 bytes from byte 20 (C at 44, D at 56,
// F at 80).
void LayOut(kv::ProgramState& st) {
  st.DataLen = 256;
  st.ColCount[1] = 6;
  for (int c = 1; c <= 6; ++c) {
    st.ColStart[1][c] = 20 + 12 * (c - 1);
    st.ColWidth[1][c] = 12;
    st.ColType[1][c] = "2";
  }
}

std::string Row(kv::ProgramState& st) {
  std::string row(256, ' ');
  auto put = [&](int col, const std::string& text) {
    row.replace(static_cast<size_t>(st.ColStart[1][col] + st.ColWidth[1][col] - 1) - text.size(), text.size(), text);
  };
  put(3, "12.5");
  put(4, "3.25");
  put(6, "1200");
  return row;
}

void BM_FormulaEvaluateExamples(benchmark::State& state) {
  kv::bench::QuietUi ui;
  kv::ProgramState st(ui);
  LayOut(st);
  const std::string row = Row(st);
  std::vector<std::string> formulas;
  for (const char* f : kExamples) formulas.push_back(kv::ToSjis(f));
  const kv::LevelContext ctx{1, {}, {}};
  for (auto _ : state) {
    for (const std::string& f : formulas) benchmark::DoNotOptimize(kv::FormulaEvaluate(st, ctx, row, f));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(formulas.size()));
}
BENCHMARK(BM_FormulaEvaluateExamples);

// One example at a time (the argument is its place in the table), labelled
// with its formula: where the time of the whole table goes.
void BM_FormulaEvaluateExample(benchmark::State& state) {
  kv::bench::QuietUi ui;
  kv::ProgramState st(ui);
  LayOut(st);
  const std::string row = Row(st);
  const char* formula = kExamples[state.range(0)];
  const std::string bytes = kv::ToSjis(formula);
  const kv::LevelContext ctx{1, {}, {}};
  for (auto _ : state) benchmark::DoNotOptimize(kv::FormulaEvaluate(st, ctx, row, bytes));
  state.SetLabel(formula);
}
BENCHMARK(BM_FormulaEvaluateExample)->DenseRange(0, std::size(kExamples) - 1);

void BM_FormulaEvaluateRowDefinition(benchmark::State& state) {
  kv::bench::QuietUi ui;
  kv::ProgramState st(ui);
  LayOut(st);
  const std::string row = Row(st);
  const kv::LevelContext ctx{1, {}, {}};
  for (auto _ : state) benchmark::DoNotOptimize(kv::FormulaEvaluate(st, ctx, row, "[[D*[[F"));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormulaEvaluateRowDefinition);

}  // namespace
