#include "sheet/column_links.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/number_text.h"
#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "sheet/sheet_fields.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace kv {
namespace {

constexpr int kCustomerSourceCol = 8;
constexpr int kCustomerSwitchCol = 10;
constexpr int kCustomerFirstCol = 11;
constexpr int kCustomerSecondCol = 12;

bool IsSheetRow(int row) { return row >= 1 && row <= kMaxSheetRows; }

char TypeOf(const ProgramState& st, int level, int col) {
  const std::string& type = st.ColType[level][col];
  return type.empty() ? ' ' : type.front();
}

// True when a double-byte character of `field` starts just before byte
// index n, so that its second byte lies at n.
bool CharacterAcross(std::string_view field, size_t n) {
  for (size_t i = 0; i < n && i < field.size();) {
    const bool wide = IsSjisLeadByte(static_cast<unsigned char>(field[i]));
    if (wide && i + 1 == n) return true;
    i += wide ? 2 : 1;
  }
  return false;
}

// Copies the source field of `rec` over the destination field: as many
// bytes as the narrower field holds, a double-byte character cut by that
// width dropped and its byte blanked. A wider destination keeps the rest of
// its bytes, except the second half of a character the copy cut off.
void CopyLink(const ProgramState& st, std::string& rec, int level, int src, int dst) {
  const int n = std::min(st.ColWidth[level][src], st.ColWidth[level][dst]);
  const bool cutsOld = CharacterAcross(FieldBytes(st, rec, dst, level), static_cast<size_t>(n));
  const std::string bytes = CutToBytes(FieldBytes(st, rec, src, level), n);
  const int start = st.ColStart[level][dst];
  FieldStore(rec, start, n, bytes, st.DataLen);
  if (cutsOld) FieldStore(rec, start + n, 1, " ", st.DataLen);
}

// The value of a numeric column as the numeric column `dst` holds it: fitted
// to that column (the overflow mark when it does not fit; a mark stays one).
std::string FittedTo(const ProgramState& st, int level, std::string value, int dst) {
  if (IsOverflowMarkText(value)) {
    const char mark = value[value.find_first_not_of(' ')];
    return std::string(static_cast<size_t>(std::max(st.ColWidth[level][dst], 0)), mark);
  }
  NumFitColumn(st, level, value, dst);
  return value;
}

// Copies a link in `rec`: between two numeric columns the value, fitted to
// the destination; otherwise the bytes (CopyLink).
void CopyLinkValue(const ProgramState& st, std::string& rec, int level, int src, int dst) {
  if (!IsNumericColumn(st, level, src) || !IsNumericColumn(st, level, dst)) {
    CopyLink(st, rec, level, src, dst);
    return;
  }
  FieldStore(st, rec, dst, level, FittedTo(st, level, std::string(FieldBytes(st, rec, src, level)), dst));
}

// Fits the number text to column `col` of the row, stores it and shows it
// with thousands separators.
void StoreNumber(ProgramState& st, GridModel& grid, std::string& rec, int col, int row, std::string value) {
  const int level = st.CurrentLevel;
  value = FittedTo(st, level, std::move(value), col);
  FieldStore(st, rec, col, level, value);
  NumCommaFormat(st, level, value, col);
  SetTextData32(grid, col, row, FromSjis(value));
}

// The customer variant's column 10 rule on sheet row `row`.
void CustomerColumnRule(ProgramState& st, GridModel& grid, int row) {
  const int level = st.CurrentLevel;
  std::string& rec = st.SheetRows[static_cast<size_t>(row)];
  for (int c : {kCustomerFirstCol, kCustomerSecondCol}) {
    if (!IsLevelColumn(st, level, c)) continue;
    SetTextData32(grid, c, row, std::string(20, ' '));
    FieldStore(st, rec, c, level, "");
  }
  std::string sw(FieldBytes(st, rec, kCustomerSwitchCol, level));
  sw.erase(std::remove(sw.begin(), sw.end(), ' '), sw.end());
  const int target = sw == "1" ? kCustomerFirstCol : kCustomerSecondCol;
  if (!IsLevelColumn(st, level, target) || !IsLevelColumn(st, level, kCustomerSourceCol)) return;
  StoreNumber(st, grid, rec, target, row, std::string(FieldBytes(st, rec, kCustomerSourceCol, level)));
}

bool CustomerRuleApplies(const ProgramState& st, int col) {
  return st.CustomerVariant && col == kCustomerSwitchCol && IsLevelColumn(st, st.CurrentLevel, col);
}

// The destination of `col`'s first link when both columns exist on the
// current level; 0 otherwise.
int LinkOnLevel(const ProgramState& st, int col) {
  const int dst = FirstLinkDestination(st, col);
  const int level = st.CurrentLevel;
  return IsLevelColumn(st, level, col) && IsLevelColumn(st, level, dst) ? dst : 0;
}

}  // namespace

bool IsLevelColumn(const ProgramState& st, int level, int col) {
  if (level < 1 || level > 8) return false;
  return col >= 1 && col <= std::min(st.ColCount[static_cast<size_t>(level)], kMaxColumns);
}

int FirstLinkDestination(const ProgramState& st, int col) {
  const int count = std::min(st.ABLinkCount, 3);
  for (int n = 1; n <= count; ++n)
    if (st.ABLinkSrc[static_cast<size_t>(n)] == col) return st.ABLinkDst[static_cast<size_t>(n)];
  return 0;
}

void ABLinkUpdate(ProgramState& st, GridModel& grid, int col, int row) {
  if (!IsSheetRow(row)) return;
  const int level = st.CurrentLevel;
  std::string& rec = st.SheetRows[static_cast<size_t>(row)];
  if (const int dst = LinkOnLevel(st, col); dst != 0) {
    CopyLinkValue(st, rec, level, col, dst);
    if (IsNumericColumn(st, level, dst))
      StoreNumber(st, grid, rec, dst, row, std::string(FieldBytes(st, rec, dst, level)));
    else if (TypeOf(st, level, dst) == 'W')
      SetTextData32(grid, dst, row, RTrimBlanks(FieldText(st, rec, dst, level)));
    else
      SetTextData32(grid, dst, row, FieldText(st, rec, dst, level));
  }
  if (CustomerRuleApplies(st, col)) CustomerColumnRule(st, grid, row);
}

void CellWriteBack(ProgramState& st, GridModel& grid) {
  const int row = st.CurrentRow;
  const int col = st.CurrentCol;
  if (!IsSheetRow(row)) return;
  const int level = st.CurrentLevel;
  std::string& rec = st.SheetRows[static_cast<size_t>(row)];
  if (const int dst = LinkOnLevel(st, col); dst != 0) {
    CopyLinkValue(st, rec, level, col, dst);
    const char type = TypeOf(st, level, dst);
    if (type == 'C')
      SetTextData32(grid, dst, row, FieldText(st, rec, dst, level));
    else if (type == 'W')
      SetTextData32(grid, dst, row, RTrimBlanks(FieldText(st, rec, dst, level)));
  }
  if (CustomerRuleApplies(st, col)) CustomerColumnRule(st, grid, row);
}

}  // namespace kv
