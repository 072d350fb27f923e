#include "state/column_defs.h"

#include <algorithm>

#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "state/calc_services.h"
#include "state/program_state.h"

namespace kv {

void PutFieldBytes(std::string& target, int pos, std::string_view bytes, int maxLen) {
  if (pos < 1 || maxLen <= 0) return;
  const size_t start = static_cast<size_t>(pos - 1);
  if (start >= target.size()) return;
  const int room = static_cast<int>(std::min(static_cast<size_t>(maxLen), target.size() - start));
  const std::string piece = CutToBytes(bytes, room);
  target.replace(start, piece.size(), piece);
}

std::string BlankDefRecord() { return std::string(kDefRecordLen, ' '); }

std::string DefItemBytes(const ProgramState& st, std::string_view record, int item) {
  if (item < 1 || item > kMaxDefItems) return {};
  const int pos = st.DefItemPos[item];
  const int len = st.DefItemLen[item];
  if (pos < 1 || len <= 0 || static_cast<size_t>(pos - 1) >= record.size()) return {};
  return std::string(record.substr(static_cast<size_t>(pos - 1), static_cast<size_t>(len)));
}

void PutDefItem(const ProgramState& st, std::string& record, int item, std::string_view bytes) {
  if (item < 1 || item > kMaxDefItems) return;
  PutFieldBytes(record, st.DefItemPos[item], bytes, st.DefItemLen[item]);
}

int TypeCodeDecimals(std::string_view typeCode) {
  if (typeCode.empty()) return 0;
  switch (typeCode.front()) {
    case 'S':
    case 'A':
    case 'Q':
    case 'I':
      return WholeNumberValue(typeCode.substr(1));
    default:
      return WholeNumberValue(typeCode);
  }
}

void ColumnTypeParse(ProgramState& st, int level, const DefRecordTable& records) {
  if (level < 1 || level > 8) return;
  const int count = std::clamp(st.ColCount[level], 0, kMaxColumns);
  st.ColCount[level] = count;
  st.ColStart[level][0] = 0;
  st.ColWidth[level][0] = 0;
  int start = 20;
  for (int c = 1; c <= count; ++c) {
    const std::string& r = records[c];
    st.ColWidth[level][c] = std::max(0, WholeNumberValue(DefItemBytes(st, r, kItemWidth)));
    const std::string type(TrimBlanks(DefItemBytes(st, r, kItemType)));
    st.ColDecimals[level][c] = TypeCodeDecimals(type);
    st.ColType[level][c] = type;
    st.ColStart[level][c] = start;
    start += st.ColWidth[level][c];
    st.ColFormula[level][c] = std::string(TrimBlanks(DefItemBytes(st, r, kItemRowDef)));
    st.ColTotalKind[level][c] = std::string(TrimBlanks(DefItemBytes(st, r, kItemTotalDef)));
    st.ColCarryDef[level][c] = std::string(TrimBlanks(DefItemBytes(st, r, kItemCarryDef)));
    // While the estimate uses the current settings the current masks stay.
    if (!st.UsesCurrentSettings) {
      for (int m = 0; m < kMaskScreens; ++m) {
        const size_t at = kDefMaskPos - 1 + m;
        st.MaskDef[level][c][m] = at < r.size() ? r[at] : ' ';
      }
    }
  }

  const size_t recordLen = static_cast<size_t>(std::max(st.DataLen, 0));
  st.LevelCaption[level] = std::string(recordLen, ' ');
  st.TotalRecordDefaults[level] = std::string(recordLen, ' ');
  for (int c = 1; c <= count; ++c) {
    const std::string& r = records[c];
    PutFieldBytes(st.LevelCaption[level], st.ColStart[level][c], DefItemBytes(st, r, kItemHeading),
                  st.ColWidth[level][c]);
    const std::string& type = st.ColType[level][c];
    if (!type.empty() && (type.front() == 'C' || type.front() == 'W')) {
      PutFieldBytes(st.TotalRecordDefaults[level], st.ColStart[level][c], DefItemBytes(st, r, kItemTotalText),
                    st.ColWidth[level][c]);
    }
  }
}

bool SumColumnFind(ProgramState& st) {
  const int levels = std::clamp(st.LevelCount, 0, 8);

  st.LevelsDifferInCols = false;
  for (int L = 1; L < levels; ++L) {
    if (st.ColCount[L] != st.ColCount[L + 1]) {
      st.LevelsDifferInCols = true;
      break;
    }
  }

  for (int L = 1; L <= levels; ++L) {
    st.ParentTotalCols[L] = 0;
    st.ParentTotalCols2[L] = 0;
    int found = 0;
    for (int c = 1; c <= st.ColCount[L] && found < 2; ++c) {
      if (TrimBlanks(st.ColTotalKind[L][c]) != "SUM") continue;
      if (found == 0) {
        st.ParentTotalCols[L] = c;
      } else {
        st.ParentTotalCols2[L] = c;
      }
      ++found;
    }
  }

  for (int L = 1; L <= levels; ++L) {
    st.RatioColumn[L] = 0;
    for (int c = 1; c <= st.ColCount[L]; ++c) {
      if (ContainsNoCase(st.ColFormula[L][c], "RATIO")) st.RatioColumn[L] = c;
    }
  }

  for (int L = 1; L <= levels; ++L) {
    st.RowFormulaOrder[L].clear();
    st.TotalFormulaOrder[L].clear();
  }
  if (st.calc != nullptr) {
    for (int L = 1; L <= levels; ++L) {
      if (!st.calc->RowFormulaOrderBuild(st, L)) return false;
    }
    for (int L = 1; L <= levels; ++L) {
      if (!st.calc->TotalFormulaOrderBuild(st, L)) return false;
    }
  }

  for (int L = 1; L <= levels; ++L) {
    st.FormulaColumn[L] = 0;
    for (int c = 1; c <= st.ColCount[L]; ++c) {
      if (!st.ColType[L][c].empty() && st.ColType[L][c].front() == 'S') {
        st.FormulaColumn[L] = c;
        break;
      }
    }
  }
  return true;
}

}  // namespace kv
