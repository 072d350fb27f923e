#include "storage/level_read.h"

#include <algorithm>
#include <optional>

#include "core/path_shorten.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "state/editor_services.h"
#include "state/file_exist_check.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/row_record.h"

namespace kv {

int SheetRowLimit(const ProgramState& st) {
  if (st.Imax < 1) return 200;
  return std::min(st.Imax, kMaxSheetRows);
}

void EditorCaptionSet(ProgramState& st) {
  if (!st.editor) return;
  std::string shortPath = PathShorten(st.CurrentFilePath, 48);
  std::string caption =
      IsUntitledName(shortPath) ? std::string("< 無題 > ") : "< " + shortPath + " > 内訳書 ";
  st.editor->SetCaption(st, caption);
}

bool LevelRead(ProgramState& st, int level) {
  EditorCaptionSet(st);
  if (st.sheetEngine) st.sheetEngine->StatusPanelSet(st, 1, "データ 読み込み中");
  bool ok = LevelRowsRead(st, level);
  if (st.sheetEngine) st.sheetEngine->StatusPanelClear(st, 1);
  return ok;
}

namespace {

// The sheet of `level` as its level file holds it, read by the checked
// reader into `chain` (its first record in `first`). False after the level
// file's message.
bool SheetChainRead(ProgramState& st, int level, int& first, SheetChain& chain) {
  if (level < 1 || level > kMaxLevels) return false;
  const int imax = SheetRowLimit(st);
  const bool hex = IsHexBase(st.H_Link);
  const std::filesystem::path path = LevelFilePath(st, st.WorkFileBase, level);
  if (!IsValidRecordLength(st.DataLen)) {
    LevelFileErrorShow(st, path, "DataLen " + std::to_string(st.DataLen));
    return false;
  }

  first = 1;
  if (level > 1) {
    const std::string& parent = st.ParentRows[level - 1];
    std::optional<int> link =
        parent.empty() ? std::optional<int>(kNoRecord) : ReadStoredLink(LinkField(parent, kChildPos), hex);
    if (!link) {
      LevelFileFaultShow(st, LevelFilePath(st, st.WorkFileBase, level - 1), {LevelFault::BadNumber, 0});
      return false;
    }
    first = *link;
  }

  chain.recNos.assign(1, first);
  if (FileExistChk(st, path.string())) {
    try {
      RecordFile file(path, st.DataLen, RecordFileMode::ReadOnly);
      FileRecords source(file);
      // One record more than a sheet holds is read to see whether the sheet
      // is longer: cut, its rows past the end would be lost at the next
      // record, so such a sheet is refused.
      LevelFileProblem p = ReadSheetChain(source, level == 1, first, hex, imax + 2, chain);
      if (!p && static_cast<int>(chain.records.size()) > imax + 1) p = {LevelFault::ChainTooLong, first};
      if (p) {
        LevelFileFaultShow(st, path, p);
        return false;
      }
    } catch (const RecordFileError& e) {
      LevelFileErrorShow(st, path, e.what());
      return false;
    }
  } else if (level > 1 && first >= 1) {
    LevelFileFaultShow(st, path, {LevelFault::LinkPastEnd, 0});
    return false;
  }
  return true;
}

}  // namespace

bool LevelRowsRead(ProgramState& st, int level) {
  int first = 1;
  SheetChain chain;
  if (!SheetChainRead(st, level, first, chain)) return false;
  SheetFromChain(st, level, first, chain);
  return true;
}

bool LevelChainCheck(ProgramState& st, int level) {
  int first = 1;
  SheetChain chain;
  return SheetChainRead(st, level, first, chain);
}

void SheetFromChain(ProgramState& st, int level, int first, const SheetChain& chain) {
  const int imax = SheetRowLimit(st);
  const size_t len = static_cast<size_t>(st.DataLen);
  const std::string blank(len, ' ');
  std::fill(st.RowRecNos.begin(), st.RowRecNos.begin() + imax + 2, 0);
  st.RowRecNos[1] = first;
  int used = std::min(static_cast<int>(chain.records.size()), imax + 1);
  for (int i = 1; i <= used; ++i) {
    const std::string& rec = chain.records[i - 1];
    if (rec.size() == len)
      st.SheetRows[i] = rec;
    else
      st.SheetRows[i] = FitRecord(rec, st.DataLen);
    if (level > 1 && i + 1 <= kMaxSheetRows + 1 && static_cast<size_t>(i) < chain.recNos.size())
      st.RowRecNos[i + 1] = chain.recNos[i];
    RowKindFix(st, i);
  }
  // Every other row blank; most are already, and looking costs less than
  // writing.
  if (st.SheetRows[0] != blank) st.SheetRows[0] = blank;
  for (int i = used + 1; i <= imax + 1; ++i)
    if (st.SheetRows[i] != blank) st.SheetRows[i] = blank;

  if (used > 0 && RecordByte(st.SheetRows[used], kKindPos) == kClosingKind) {
    st.SheetTotalRecord = st.SheetRows[used];
    st.SheetRows[used] = blank;
    --used;
  } else {
    st.SheetTotalRecord = FitRecord(st.TotalRecordDefaults[level], st.DataLen);
  }
  st.UsedRows = used;

  std::string objNo = st.SheetTotalRecord.substr(kObjectPos - 1, kObjectWidth);
  objNo.erase(std::remove(objNo.begin(), objNo.end(), ' '), objNo.end());
  st.SheetObjNo = objNo;
  st.PathTotalRecords[level] = st.SheetTotalRecord;
}

void RowKindFix(ProgramState& st, int row) {
  if (row < 0 || row > kMaxSheetRows + 1) return;
  std::string& rec = st.SheetRows[row];
  switch (RecordByte(rec, kKindPos)) {
    case 'D':
    case 'B': SetRecordByte(rec, kKindPos, kKindGrandTotal); break;
    case 'K': SetRecordByte(rec, kKindPos, st.SystemKind == 2 ? kKindTax : kKindExpense); break;
    case '}': SetRecordByte(rec, kKindPos, kKindExpense); break;
    default: break;
  }
}

}  // namespace kv
