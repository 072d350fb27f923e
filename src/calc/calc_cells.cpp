#include "calc/calc_cells.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "state/column_numbers.h"
#include "state/program_state.h"
#include "calc/formula_evaluate.h"
#include "core/number_text.h"
#include "core/settings_text.h"
#include "platform/grid/grid_api.h"
#include "sheet/sheet_fields.h"
#include "state/sheet_services.h"

namespace kv {

int CalcColumns(const ProgramState& st, int level) {
  if (level < 1 || level > kMaxLevels) return 0;
  return std::clamp(st.ColCount[level], 0, kMaxColumns);
}

bool IsColumnOf(const ProgramState& st, int level, int col) { return col >= 1 && col <= CalcColumns(st, level); }

std::string_view CellBytes(const ProgramState& st, std::string_view rec, int level, int col) {
  if (!IsColumnOf(st, level, col)) return {};
  return FieldBytes(st, rec, col, level);
}

std::string_view CellTrimmed(const ProgramState& st, std::string_view rec, int level, int col) {
  std::string_view s = CellBytes(st, rec, level, col);
  // Most cells calculated are blank or mostly blank: eight blanks at a time,
  // from the left (numbers stand right) and from the right (texts stand left).
  constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
  for (std::uint64_t word = 0; s.size() >= sizeof word; s.remove_prefix(sizeof word)) {
    std::memcpy(&word, s.data(), sizeof word);
    if (word != kBlanks) break;
  }
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  for (std::uint64_t word = 0; s.size() >= sizeof word; s.remove_suffix(sizeof word)) {
    std::memcpy(&word, s.data() + s.size() - sizeof word, sizeof word);
    if (word != kBlanks) break;
  }
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

FixedSum CellValue(const ProgramState& st, std::string_view rec, int level, int col) {
  return FixedSum::Parse(CellBytes(st, rec, level, col));
}

std::string FitToColumn(const ProgramState& st, int level, int col, std::string text) {
  NumFitColumn(st, level, text, col);
  return text;
}

std::string RefitToColumn(const ProgramState& st, int level, int col, std::string text) {
  text = std::string(TrimBlanks(text));
  // A mark stays a mark at this column's width; a number is fitted anew.
  if (!IsOverflowMark(text)) return FitToColumn(st, level, col, std::move(text));
  const size_t width = IsColumnOf(st, level, col) ? static_cast<size_t>(std::max(st.ColWidth[level][col], 0)) : 0;
  return std::string(width, text.front());
}

std::string FitAnswer(ProgramState& st, int level, int col, std::string answer) {
  if (!IsFormulaError(answer)) return FitToColumn(st, level, col, std::move(answer));
  if (st.FormulaRangeSign == 0) return FitToColumn(st, level, col, std::string());
  st.CalcRangeExceeded = true;
  return RefitToColumn(st, level, col, st.FormulaRangeSign < 0 ? "--" : "++");
}

void StoreCell(const ProgramState& st, std::string& rec, int level, int col, std::string_view fitted) {
  if (!IsColumnOf(st, level, col)) return;
  // Every computed cell comes here in its fitted form: single-byte text of
  // exactly the column's width over a record of its full length, copied
  // straight over the column's bytes as the general store would.
  const int start = st.ColStart[level][col];
  const size_t width = fitted.size();
  const bool whole = start >= 1 && static_cast<int>(width) == st.ColWidth[level][col] &&
                     rec.size() >= static_cast<size_t>(std::max(st.DataLen, 0)) &&
                     static_cast<size_t>(start) - 1 + width <= rec.size() &&
                     std::all_of(fitted.begin(), fitted.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (whole && width > 0) {
    fitted.copy(rec.data() + (static_cast<size_t>(start) - 1), width);
    return;
  }
  FieldStore(st, rec, col, level, fitted);
}

void StoreRefitted(const ProgramState& st, std::string& rec, int level, int col, std::string_view fitted) {
  if (IsColumnOf(st, level, col)) FieldStore(st, rec, col, level, RefitToColumn(st, level, col, std::string(fitted)));
}

bool IsOverflowMark(std::string_view fitted) {
  if (fitted.empty()) return false;
  const char c = fitted.front();
  return (c == '+' || c == '-') && fitted.find_first_not_of(c) == std::string_view::npos;
}

GridModel* PaintGrid(ProgramState& st, int level) {
  if (level != st.CurrentLevel || st.sheetEngine == nullptr) return nullptr;
  return st.sheetEngine->EdtSheetGrid(st);
}

void PaintCell(GridModel* grid, int col, int row, const std::string& text) {
  if (grid != nullptr) SetTextData32(*grid, col, row, text);
}

}  // namespace kv
