#include "storage/level_write.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/fs.h"
#include "platform/ui.h"
#include "sheet/last_used_row.h"
#include "state/calc_services.h"
#include "state/data_ini.h"
#include "state/editor_services.h"
#include "state/file_command_services.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/disk_space.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"
#include "storage/split_path.h"
#include "storage/total_carry.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr int kDecimalRecordLimit = 9800;
constexpr int kHexRecordLimit = 32000;
constexpr const char* kRecordLimitText = "記録できる最大行数を越えました。\r\n記録を中止します。";

// Gives a value to a state member for the length of a scope.
template <typename T>
class Scoped {
 public:
  Scoped(T& ref, T value) : ref_(ref), old_(ref) { ref_ = value; }
  ~Scoped() { ref_ = old_; }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;

 private:
  T& ref_;
  T old_;
};

// A level file that cannot be written as asked; the user has been told.
struct WriteRefused {};

void StatusSet(ProgramState& st, const std::string& text) {
  if (st.sheetEngine) st.sheetEngine->StatusPanelSet(st, 1, text);
}
void StatusClear(ProgramState& st) {
  if (st.sheetEngine) st.sheetEngine->StatusPanelClear(st, 1);
}

std::string Trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

// The bytes of a column of a level in a record ("" outside the tables or the record).
std::string_view ColumnBytes(const ProgramState& st, std::string_view rec, int level, int column) {
  if (level < 1 || level > kMaxLevels || column < 1 || column > kMaxColumns) return {};
  int start = st.ColStart[level][column];
  int width = st.ColWidth[level][column];
  if (start < 1 || width < 1 || start > static_cast<int>(rec.size())) return {};
  return rec.substr(static_cast<size_t>(start - 1), static_cast<size_t>(width));
}

// A plain item row with a unit price and no quantity is marked for the
// special print; the columns are those of the level being written.
bool SpecialPrintMarked(const ProgramState& st, std::string_view rec, int level) {
  if (!st.SpecialPrintSpec || RecordByte(rec, kKindPos) != kKindItem) return false;
  std::string quantity = Trimmed(ColumnBytes(st, rec, level, st.OrviSUU));
  std::string price = Trimmed(ColumnBytes(st, rec, level, st.OrviTANKA));
  return quantity.empty() && !price.empty();
}

// The number of records of a level file (0 when it does not exist).
int LevelRecordCount(ProgramState& st, const stdfs::path& path) {
  std::error_code ec;
  if (!stdfs::exists(path, ec)) return 0;
  std::uintmax_t length = stdfs::file_size(path, ec);
  if (ec) {
    LevelFileErrorShow(st, path, ec.message());
    throw WriteRefused{};
  }
  if (length % static_cast<std::uintmax_t>(st.DataLen) != 0) {
    LevelFileFaultShow(st, path, {LevelFault::BadLength, 0});
    throw WriteRefused{};
  }
  return static_cast<int>(std::min<std::uintmax_t>(length / static_cast<std::uintmax_t>(st.DataLen), 0x7FFFFFFF));
}

// The records of the sheet as they are written, in sheet order: the rows and
// the closing record, their record numbers, and the child link for the
// parent row.
struct SheetRecords {
  std::vector<std::string> records;
  std::vector<int> numbers;
};

SheetRecords BuildSheetRecords(ProgramState& st, int level, int recordCount, const stdfs::path& path) {
  const bool hex = IsHexBase(st.H_Link);
  const int used = st.UsedRows;
  SheetRecords out;
  int n = recordCount;
  int pool = 1;
  bool poolOpen = level > 1;
  for (int i = 1; i <= used + 1; ++i) {
    int r;
    if (level == 1) {
      r = i;
    } else if (poolOpen && pool <= kMaxSheetRows + 1 && st.RowRecNos[pool] >= 1) {
      r = st.RowRecNos[pool++];
      if (r > recordCount) {
        // The chain was read from a file that has since become shorter.
        LevelFileFaultShow(st, path, {LevelFault::LinkPastEnd, r});
        throw WriteRefused{};
      }
    } else {
      poolOpen = false;
      r = ++n;
    }

    std::string rec = FitRecord(st.SheetRows[i], st.DataLen);
    if (i == used + 1) {
      std::string closing = FitRecord(st.SheetTotalRecord, st.DataLen);
      rec.replace(kObjectPos - 1, std::string::npos, closing, kObjectPos - 1, std::string::npos);
      SetRecordByte(rec, kKindPos, kClosingKind);
    }
    SetRecordByte(rec, kMarkPos, level > 1 && i == 1 ? kMarkFirst : kMarkNone);
    SetLinkField(rec, kOwnPos, r, hex);
    SetLinkField(rec, kNextPos, kNoRecord, hex);
    if (LinkField(rec, kChildPos) == "    ") SetLinkField(rec, kChildPos, kNoRecord, hex);
    if (SpecialPrintMarked(st, rec, level)) SetRecordByte(rec, kMarkPos, kMarkSpecialPrint);
    out.records.push_back(std::move(rec));
    out.numbers.push_back(r);
  }
  return out;
}

// The record as it goes to the file: its next link names the following record.
std::string WithNextLink(const SheetRecords& sheet, size_t i, bool hex) {
  std::string rec = sheet.records[i];
  if (i + 1 < sheet.records.size()) SetLinkField(rec, kNextPos, sheet.numbers[i + 1], hex);
  return rec;
}

// The whole file of the top level.
std::string TopLevelBytes(const ProgramState& st, const SheetRecords& sheet) {
  const bool hex = IsHexBase(st.H_Link);
  std::string bytes;
  bytes.reserve(sheet.records.size() * static_cast<size_t>(st.DataLen));
  for (size_t i = 0; i < sheet.records.size(); ++i) bytes += WithNextLink(sheet, i, hex);
  return bytes;
}

// The top level is rewritten whole: the new file replaces the old one only
// once it is complete.
void WriteTopLevel(ProgramState& st, const stdfs::path& path, const SheetRecords& sheet) {
  std::error_code ec;
  if (!fs::WriteFileAtomic(path, TopLevelBytes(st, sheet), ec)) {
    LevelFileErrorShow(st, path, ec.message());
    throw WriteRefused{};
  }
}

// A deeper level is written in place: the appended records first, so that a
// full disk stops the write before any record of the old chain is changed
// (the file is then cut back to its old length), then the reused records.
void WriteDeepLevel(ProgramState& st, const stdfs::path& path, const SheetRecords& sheet, int oldCount) {
  const bool hex = IsHexBase(st.H_Link);
  bool appending = true;
  try {
    RecordFile file(path, st.DataLen);
    for (size_t i = 0; i < sheet.records.size(); ++i)
      if (sheet.numbers[i] > oldCount) file.PutRecordText(sheet.numbers[i], WithNextLink(sheet, i, hex));
    appending = false;
    for (size_t i = 0; i < sheet.records.size(); ++i)
      if (sheet.numbers[i] <= oldCount) file.PutRecordText(sheet.numbers[i], WithNextLink(sheet, i, hex));
    file.Close();
  } catch (const RecordFileError& e) {
    if (appending) {
      std::error_code ec;
      stdfs::resize_file(path, static_cast<std::uintmax_t>(oldCount) * static_cast<std::uintmax_t>(st.DataLen), ec);
      RecordFileChanged(path);  // records cached past the old end are gone
    }
    LevelFileErrorShow(st, path, e.what());
    throw WriteRefused{};
  }
}

// Writes the parent row back into the file of the level above, at the record
// its own number names.
void WriteParentRow(ProgramState& st, int level, const std::string& parent) {
  const bool hex = IsHexBase(st.H_Link);
  stdfs::path path = LevelFilePath(st, st.WorkFileBase, level - 1);
  int count = LevelRecordCount(st, path);
  std::optional<int> own = ReadStoredLink(LinkField(parent, kOwnPos), hex);
  if (!own || *own < 1 || *own > count) {
    LevelFileFaultShow(st, path, {own ? LevelFault::LinkPastEnd : LevelFault::BadNumber, own ? *own : 0});
    throw WriteRefused{};
  }
  try {
    RecordFile file(path, st.DataLen);
    file.PutRecordText(*own, parent);
    file.Close();
  } catch (const RecordFileError& e) {
    LevelFileErrorShow(st, path, e.what());
    throw WriteRefused{};
  }
}

void PackMessage(ProgramState& st, int result) {
  std::string name = SplitPath(st, st.CurrentFilePath).name;
  std::string text =
      result == 1 ? "ディスクの残り容量が少ない為、見積データ [ " + name + " ] を保存することが出来ません。\r" +
                        "名前を変えて別のドライブに保存して下さい"
                  : "見積データ [ " + name + " ] を保存することが出来ませんでした。\r" + "名前を変えて保存を行って下さい。";
  FloatWindowsTopMostSet(st, false);
  st.ui.MsgBox(text, vbOKOnly + vbExclamation, kMsgTitle);
  FloatWindowsTopMostSet(st, true);
}

// Asks for the name of an untitled estimate and makes it the estimate's
// identity. False when cancelled.
bool NameUntitled(ProgramState& st, FileCommandServices* services) {
  if (!services) return false;
  std::optional<std::string> chosen = services->SaveAsNameInput(st);
  if (!chosen || Trimmed(*chosen).empty()) return false;
  st.CurrentFilePath = *chosen;
  SplitPathResult parts = SplitPath(st, *chosen);
  st.KVData = parts.folder;
  st.WorkFileBase = st.AppPath + st.WorkFolderName + "/" + parts.name;
  return true;
}

// After naming: the work set is compacted, paged and packed under the name.
bool PackNamedEstimate(ProgramState& st, FileCommandServices& services) {
  // A refused compaction has told the user; the work set stays to be packed.
  if (!services.CompactWorkFiles(st, st.WorkFileBase)) {
    st.PackPending = true;
    return false;
  }
  if (st.editor) st.editor->PageNumbersWrite(st);
  int result = services.PackEstimateFile(st, st.CurrentFilePath, false);
  st.PackPending = false;
  if (result == -1) {
    services.AddRecentEstimate(st, st.CurrentFilePath);
    if (st.sheetEngine) st.sheetEngine->EditTreeBuild(st);
    return true;
  }
  PackMessage(st, result);
  st.PackPending = true;
  return false;
}

// The sheet of `level`, whose file holds `count` records, recalculated and
// its records built. False after a message.
bool BuildSheet(ProgramState& st, int level, int count, const stdfs::path& path, SheetRecords& sheet) {
  if (level >= 3 && count > (IsHexBase(st.H_Link) ? kHexRecordLimit : kDecimalRecordLimit)) {
    WarnMsgBox(st, kRecordLimitText);
    return false;
  }
  if (st.calc) {
    Scoped<bool> noDisplay(st.CalcNoDisplay, true);
    st.calc->LevelCalc(st, level, st.SheetTotalRecord, st.CurrentRow + 1, st.UsedRows);
  }
  try {
    sheet = BuildSheetRecords(st, level, count, path);
  } catch (const std::out_of_range&) {
    // A record number the 4-byte field cannot hold.
    WarnMsgBox(st, kRecordLimitText);
    return false;
  }
  return true;
}

// The rows in memory become the records as written, next links included, so
// a row taken from memory later (a parent row written back) keeps its chain.
// The closing record is not a row: it stays in `SheetTotalRecord` only, which
// learns the record number it was written to (the sheet's object file is
// linked through it).
void TakeWrittenRecords(ProgramState& st, const SheetRecords& sheet) {
  const bool hex = IsHexBase(st.H_Link);
  for (size_t i = 0; i + 1 < sheet.records.size(); ++i) st.SheetRows[i + 1] = WithNextLink(sheet, i, hex);
  SetLinkField(st.SheetTotalRecord, kOwnPos, sheet.numbers.back(), hex);
}

// Writes the sheet's own records (the steps from the naming to the pack).
// `onDisk` is set once the records are in the level file, also when the pack
// after naming fails.
bool WriteSheet(ProgramState& st, int level, std::string& parent, FileCommandServices* services, bool& onDisk) {
  const bool hex = IsHexBase(st.H_Link);
  bool named = false;
  if (IsUntitledName(st.WorkFileBase)) {
    if (!NameUntitled(st, services)) return false;
    named = true;
  }

  StatusSet(st, "データ 書き込み中");
  if (level == 1) EditorCaptionSet(st);
  // The work set's layout file, and its settings file when it has none (found
  // without letter case). A settings file that cannot be made has been
  // reported; the sheet is recorded all the same.
  if (!WriteLayoutFile(st, st.WorkFileBase)) {
    StatusClear(st);
    return false;
  }
  MakeNewFromTemplate(st, st.WorkFileBase);

  const stdfs::path path = LevelFilePath(st, st.WorkFileBase, level);
  const int count = level == 1 ? 0 : LevelRecordCount(st, path);
  SheetRecords sheet;
  if (!BuildSheet(st, level, count, path, sheet)) {
    StatusClear(st);
    return false;
  }
  if (level > 1) SetLinkField(parent, kChildPos, sheet.numbers.front(), hex);

  if (level == 1)
    WriteTopLevel(st, path, sheet);
  else
    WriteDeepLevel(st, path, sheet, count);
  TakeWrittenRecords(st, sheet);
  onDisk = true;

  if (named && services && !PackNamedEstimate(st, *services)) {
    StatusClear(st);
    return false;
  }
  StatusClear(st);
  return true;
}

}  // namespace

bool TopLevelBuild(ProgramState& st, std::string& bytes) {
  if (!IsValidRecordLength(st.DataLen)) return false;
  if (!FreeSpaceCheck(st)) return false;
  {
    Scoped<bool> writing(st.LevelWriting, st.LevelWriting || st.CurrentLevel != 1);
    st.UsedRows = LastUsedRow(st);
  }
  StatusSet(st, "データ 書き込み中");
  EditorCaptionSet(st);
  MakeNewFromTemplate(st, st.WorkFileBase);
  SheetRecords sheet;
  const bool built = BuildSheet(st, 1, 0, LevelFilePath(st, st.WorkFileBase, 1), sheet);
  if (built) {
    bytes = TopLevelBytes(st, sheet);
    TakeWrittenRecords(st, sheet);
  }
  StatusClear(st);
  return built;
}

bool LevelWrite(ProgramState& st, int level, FileCommandServices* services, bool* recorded) {
  if (recorded) *recorded = false;
  if (!services) services = st.fileCommands;
  if (level < 1 || level > kMaxLevels) return false;
  if (!IsValidRecordLength(st.DataLen)) return false;
  if (!FreeSpaceCheck(st)) return false;
  {
    Scoped<bool> writing(st.LevelWriting, st.LevelWriting || level != st.CurrentLevel);
    st.UsedRows = LastUsedRow(st);
  }

  const bool hex = IsHexBase(st.H_Link);
  std::string parent;
  if (level > 1) {
    if (st.ParentRows[level - 1].empty()) return false;
    parent = FitRecord(st.ParentRows[level - 1], st.DataLen);
  }

  try {
    bool onDisk = false;
    if (level == 1 || st.UsedRows > 0) {
      const bool written = WriteSheet(st, level, parent, services, onDisk);
      // The top level is whole on disk even when the pack after naming failed.
      if (recorded && level == 1) *recorded = onDisk;
      if (!written) return false;
    }
    if (level == 1) return true;

    if (st.UsedRows == 0) SetLinkField(parent, kChildPos, kNoRecord, hex);
    CarryTotals(st, level, st.SheetTotalRecord, parent);
    WriteParentRow(st, level, parent);
  } catch (const WriteRefused&) {
    StatusClear(st);
    return false;
  }
  st.ParentRows[level - 1] = parent;
  if (recorded) *recorded = true;
  return true;
}

}  // namespace kv
