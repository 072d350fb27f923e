#include "sheet/sheet_fields.h"

#include <algorithm>

#include "core/sjis_text.h"
#include "state/program_state.h"

namespace kv {

namespace {

bool ValidColumn(int col, int level) {
  return level >= 0 && level <= 8 && col >= 0 && col <= kMaxColumns;
}

}  // namespace

std::string_view FieldBytes(std::string_view rec, int start, int width) {
  if (start < 1 || width < 1 || static_cast<size_t>(start) > rec.size()) return {};
  return rec.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(width));
}

std::string_view FieldBytes(const ProgramState& st, std::string_view rec, int col, int level) {
  if (!ValidColumn(col, level)) return {};
  return FieldBytes(rec, st.ColStart[level][col], st.ColWidth[level][col]);
}

std::string FieldText(const ProgramState& st, std::string_view rec, int col, int level) {
  if (!ValidColumn(col, level)) return {};
  return MidAnsi(rec, st.ColStart[level][col], st.ColWidth[level][col]);
}

std::string FitBytes(std::string_view bytes, int n) {
  if (n < 1) return {};
  std::string out = LeftByBytesAnsi(bytes, n);
  out.resize(static_cast<size_t>(n), ' ');
  return out;
}

void FieldStore(std::string& rec, int start, int width, std::string_view bytes, int recordLength) {
  if (recordLength > 0 && rec.size() < static_cast<size_t>(recordLength))
    rec.resize(static_cast<size_t>(recordLength), ' ');
  if (start < 1 || width < 1 || static_cast<size_t>(start) > rec.size()) return;
  const size_t from = static_cast<size_t>(start) - 1;
  // A field that would reach past the record ends with the record.
  const int room = static_cast<int>(std::min(rec.size() - from, static_cast<size_t>(width)));
  rec.replace(from, static_cast<size_t>(room), FitBytes(bytes, room));
}

void FieldStore(const ProgramState& st, std::string& rec, int col, int level,
                std::string_view bytes) {
  if (!ValidColumn(col, level)) return;
  FieldStore(rec, st.ColStart[level][col], st.ColWidth[level][col], bytes, st.DataLen);
}

int HalfRoundEven(int n) {
  if (n < 1) return 0;
  const int q = n / 2;
  if (n % 2 == 0) return q;
  return q % 2 == 0 ? q : q + 1;
}

int WColumnLineWidth(int colWidth) { return HalfRoundEven(colWidth - 2); }

int WColumnOneLineWidth(int colWidth) { return HalfRoundEven(colWidth - 4); }

bool IsWColumn(const ProgramState& st, int col, int level) {
  return ValidColumn(col, level) && st.ColType[level][col] == "W";
}

bool IsWTypeColumn(const ProgramState& st, int col, int level) {
  return ValidColumn(col, level) && !st.ColType[level][col].empty() &&
         st.ColType[level][col].front() == 'W';
}

std::string StrNum(int n) { return n >= 0 ? " " + std::to_string(n) : std::to_string(n); }

std::string RowNumberText(int row) {
  std::string s = "   " + StrNum(row);
  return s.substr(s.size() - 3);
}

std::string RTrimBlanks(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace kv
