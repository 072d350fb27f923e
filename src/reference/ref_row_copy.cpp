#include "reference/ref_row_copy.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_model.h"
#include "platform/ui.h"
#include "reference/ref_cell_copy.h"
#include "reference/ref_lower_copy.h"
#include "sheet/cell_text_store.h"
#include "sheet/last_used_row.h"
#include "sheet/selection_helpers.h"
#include "sheet/sheet_fields.h"
#include "sheet/sheet_painting.h"
#include "sheet/undo_clear.h"
#include "state/calc_services.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {
namespace {

// The records of reference rows top .. top + count - 1, each read from the
// level file of the reference's level by its own number, with the first
// record of its breakdown. False after the level file's message.
bool ReadRefRecords(ProgramState& st, int top, int count, std::vector<std::string>& recs,
                    std::vector<int>& children) {
  const bool hex = IsHexBase(st.H_Link);
  const auto path = LevelFilePath(st, st.RefWorkFileBase, std::clamp(st.RefCurrentLevel, 1, 8));
  try {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
      LevelFileFaultShow(st, path, {LevelFault::LinkPastEnd, 0});
      return false;
    }
    RecordFile file(path, st.DataLen, RecordFileMode::ReadOnly);
    int records = 0;
    if (const LevelFileProblem p = CountRecords(FileRecords(file), records)) {
      LevelFileFaultShow(st, path, p);
      return false;
    }
    for (int i = 0; i < count; ++i) {
      const std::string& row = st.RefSheetRows[static_cast<size_t>(top + i)];
      const std::optional<int> own = ReadStoredLink(LinkField(row, kOwnPos), hex);
      if (!own) {
        LevelFileFaultShow(st, path, {LevelFault::BadNumber, 0});
        return false;
      }
      std::string rec;
      if (*own < 1 || *own > records || !file.GetRecordText(*own, rec)) {
        LevelFileFaultShow(st, path, {LevelFault::LinkPastEnd, *own});
        return false;
      }
      const std::optional<int> child = ReadStoredLink(LinkField(rec, kChildPos), hex);
      if (!child) {
        LevelFileFaultShow(st, path, {LevelFault::BadNumber, *own});
        return false;
      }
      recs.push_back(std::move(rec));
      children.push_back(*child);
    }
  } catch (const RecordFileError& e) {
    LevelFileErrorShow(st, path, e.what());
    return false;
  }
  return true;
}

// Bytes 2 .. DataLen of `dst` become those of `src`; byte 1 stays.
void MoveBody(std::string& dst, const std::string& src, int dataLen) {
  const size_t len = static_cast<size_t>(std::max(dataLen, 1));
  dst.resize(len, ' ');
  for (size_t i = 1; i < len; ++i) dst[i] = i < src.size() ? src[i] : ' ';
}

}  // namespace

std::string RefRowsLeftOutMessage(int imax, int leftOut) {
  return "見積ﾃﾞｰﾀが " + std::to_string(imax) + "行を越えるため、参考の " + std::to_string(leftOut) +
         "行は複写されませんでした.";
}

RefRowRange RefRowRangeCheck(ProgramState& st, const GridModel& ref) {
  RefRowRange r;
  int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
  GetSelect32(ref, c1, r1, c2, r2);
  r.top = std::min(r1, r2);
  int bottom = std::max(r1, r2);
  if (r1 == 0 && r2 == 0) r.top = bottom = st.RefSelEnd;
  r.used = LastUsedRow(st);
  if ((r.top > st.RefUsedRows && bottom > st.RefUsedRows) || r.top < 1) {
    WarnMsgBox(st, kRefRangeInvalid);
    return r;
  }
  bottom = std::min(bottom, st.RefUsedRows);
  r.count = bottom - r.top + 1;
  const int imax = SheetRowLimit(st);
  if (r.used + r.count > imax || st.CurrentRow + r.count - 1 > imax) {
    WarnMsgBox(st, RefRowsMessage(imax));
    return r;
  }
  r.ok = true;
  return r;
}

void RefRowCopy(ProgramState& st, GridModel& ref, GridModel& edt, int kind) {
  const int imax = SheetRowLimit(st);
  const int level = st.CurrentLevel;
  st.UsedRows = LastUsedRow(st);
  const int oldUsed = st.UsedRows;
  int top = 1, n = 0, leftOut = 0;
  bool ranged = false;
  if (kind == 2) {
    if (st.UsedRows >= imax) {
      WarnMsgBox(st, RefRowsMessage(imax));
      return;
    }
    st.CurrentRow = st.UsedRows + 1;
    edt.SetCurrentRow(st.CurrentRow);
    n = std::min(imax - st.UsedRows, st.RefUsedRows);
    leftOut = st.RefUsedRows - n;
  } else {
    if (st.CurrentRow < 1) return;
    const RefRowRange range = RefRowRangeCheck(st, ref);
    if (!range.ok) {
      ref.Refresh();
      edt.Refresh();
      return;
    }
    top = range.top;
    n = range.count;
    ranged = true;
  }
  std::vector<std::string> recs;
  std::vector<int> children;
  if (n < 1 || !ReadRefRecords(st, top, n, recs, children)) {
    ref.Refresh();
    edt.Refresh();
    return;
  }

  UndoSave(st, edt);
  st.ui.SetBusyPointer(true);
  const int at = st.CurrentRow;
  // Room for n rows at the cursor; the page field stays on the sheet's first row.
  std::string page(FieldBytes(st.SheetRows[1], kObjectPos, kObjectWidth));
  for (int p = st.UsedRows + n; p >= at + n; --p)
    MoveBody(st.SheetRows[static_cast<size_t>(p)], st.SheetRows[static_cast<size_t>(p - n)], st.DataLen);
  page.resize(static_cast<size_t>(kObjectWidth), ' ');
  InsertRow32(edt, at, n);
  bool lower = false;
  for (int i = 0; i < n; ++i) {
    std::string rec = FitRecord(recs[static_cast<size_t>(i)], st.DataLen);
    if (children[static_cast<size_t>(i)] > 0 && level < st.LevelCount) lower = true;
    rec.replace(static_cast<size_t>(kOwnPos - 1), static_cast<size_t>(kColumnDataPos - kOwnPos), 16, ' ');
    if (RecordByte(rec, kKindPos) == kClosingKind) rec.assign(static_cast<size_t>(st.DataLen), ' ');
    MoveBody(st.SheetRows[static_cast<size_t>(at + i)], rec, st.DataLen);
  }
  if (at == 1) {
    std::string& first = st.SheetRows[static_cast<size_t>(1 + n)];
    if (first.size() >= static_cast<size_t>(kObjectPos + kObjectWidth - 1)) {
      st.SheetRows[1].replace(static_cast<size_t>(kObjectPos - 1), static_cast<size_t>(kObjectWidth), page);
      first.replace(static_cast<size_t>(kObjectPos - 1), static_cast<size_t>(kObjectWidth),
                    static_cast<size_t>(kObjectWidth), ' ');
    }
  }
  st.UsedRows = LastUsedRow(st);
  st.SheetModified = true;
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPanelSet(st, 2, StrNum(st.UsedRows) + " 行");
  // Two-line texts take the laid-out form of the destination column.
  for (int i = 0; i < n; ++i) {
    if (IsMemoTextRow(st.SheetRows[static_cast<size_t>(at + i)])) continue;
    for (int c = 1; c <= st.ColCount[static_cast<size_t>(level)]; ++c) {
      if (!IsWTypeColumn(st, c, level)) continue;
      std::string text = FromSjis(FieldBytes(st, st.SheetRows[static_cast<size_t>(at + i)], c, level));
      if (!IsBlank(text)) CellTextStore(st, text, c, at + i, level);
    }
  }
  RowDisplay(st, edt, at, st.UsedRows);
  for (int r = oldUsed + 1; r <= st.UsedRows; ++r) SetCellTextColor32(edt, 0, r, 0);
  for (int r = st.UsedRows + 1; r <= imax; ++r)
    SetTextData32(edt, 0, r, RowHeaderLabel(st, edt, r, st.SheetRows[static_cast<size_t>(r)]));
  if (st.calc != nullptr) st.calc->LevelRecalcAndShow(st, st.SheetTotalRecord, at + 1, st.UsedRows);
  st.ui.SetBusyPointer(false);
  if (leftOut > 0) WarnMsgBox(st, RefRowsLeftOutMessage(imax, leftOut));

  if (lower && !RefLowerLevelsOffer(st, edt, children)) return;
  ref.Refresh();
  edt.Refresh();
  if (ranged) AutoAdvanceCell(st, edt);
  st.ui.SetBusyPointer(false);
}

}  // namespace kv
