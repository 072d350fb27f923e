#include "storage/sheet_objects.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <set>
#include <system_error>

#include "core/ini_file.h"
#include "core/record_file.h"
#include "platform/fs.h"
#include "platform/grid/grid_model.h"
#include "platform/ui.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/stored_number_base.h"
#include "state/warn_msg_box.h"
#include "storage/check_object_file.h"

namespace kv {

namespace stdfs = std::filesystem;

namespace {

constexpr int kLastObjectNo = 9999;
constexpr size_t kObjField = 15;  // bytes 16-19 of a closing record, 0-based
constexpr size_t kOwnField = 3;   // bytes 4-7
constexpr size_t kKindByte = 2;   // byte 3
constexpr size_t kMarkWindow = 40;

std::string SettingsFile(const std::string& workBase) { return workBase + ".INI"; }

// A number that can stand in bytes 16-19: one to four decimal digits.
bool IsObjectNumber(const std::string& s) {
  return !s.empty() && s.size() <= 4 &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// The object-file names of the work folder, in upper case.
std::set<std::string> ExistingObjectFiles(const std::string& workBase) {
  std::set<std::string> names;
  const stdfs::path base(workBase);
  std::error_code ec;
  for (const stdfs::path& p :
       fs::MatchingFiles(base.parent_path(), base.filename().string() + "$*.MOD", ec))
    names.insert(Upper(p.filename().string()));
  return names;
}

// The next number after the last one given out whose file does not exist:
// after 9999 (and after a value that is no number of ours) the count starts
// again; a missing OleFileNo (-1) gives 0.
std::optional<int> NextObjectNumber(const std::string& workBase, int lastGiven) {
  if (lastGiven >= kLastObjectNo || lastGiven < -1) lastGiven = 0;
  const std::set<std::string> taken = ExistingObjectFiles(workBase);
  const std::string name = Upper(stdfs::path(workBase).filename().string());
  int candidate = lastGiven + 1;
  for (int tries = 0; tries <= kLastObjectNo; ++tries) {
    if (!taken.count(name + "$" + std::to_string(candidate) + ".MOD")) return candidate;
    candidate = candidate >= kLastObjectNo ? 1 : candidate + 1;
  }
  return std::nullopt;
}

std::string RightAligned4(const std::string& text) {
  return std::string(4 - std::min<size_t>(4, text.size()), ' ') + text;
}

void SetObjField(std::string& record, int dataLen, const std::string& field) {
  if (record.size() < static_cast<size_t>(dataLen)) record.resize(static_cast<size_t>(dataLen), ' ');
  record.replace(kObjField, 4, field);
}

void LimitMessage(ProgramState& st) {
  FloatWindowsTopMostSet(st, false);
  st.ui.MsgBox(kObjectLimitMessage, vbOKOnly, kMsgTitle);
  FloatWindowsTopMostSet(st, true);
}

void WriteFailed(ProgramState& st, const std::string& file, const std::string& detail = {}) {
  std::string text = "作業ファイル [ " + stdfs::path(file).filename().string() + " ] に書き込めませんでした。";
  if (!detail.empty()) text += "\r" + detail;
  WarnMsgBox(st, text);
}

// Puts the object field into the closing records in memory and into the
// closing record of the current level's work file named by its own number.
bool StoreObjectField(ProgramState& st, const std::string& field) {
  SetObjField(st.SheetTotalRecord, st.DataLen, field);
  const int row = std::clamp(st.UsedRows + 1, 1, kMaxSheetRows + 1);
  std::string& closing = st.SheetRows[static_cast<size_t>(row)];
  SetObjField(closing, st.DataLen, field);

  const int level = std::clamp(st.CurrentLevel, 1, kMaxLevels);
  const stdfs::path file = fs::ResolveNoCase(stdfs::path(st.WorkFileBase + st.LevelExt[static_cast<size_t>(level)]));
  // A sheet read from its work file keeps its closing record in
  // `SheetTotalRecord` only (the row after the last is blank); a copy in that
  // row, where there is one, names the record as well.
  const std::string& numbered =
      closing.size() > kKindByte && closing[kKindByte] == 'G' ? closing : st.SheetTotalRecord;
  const int own = BaseStrToNum(std::string_view(numbered).substr(kOwnField, 4), st);
  try {
    std::error_code ec;
    if (own < 1 || !stdfs::is_regular_file(file, ec)) {
      WriteFailed(st, file.string(), "閉じレコードが見つかりません。");
      return false;
    }
    RecordFile f(file, st.DataLen);
    std::string onDisk;
    // Only a closing record is patched: a stale number must not overwrite a row.
    if (!f.GetRecordText(own, onDisk) || onDisk[kKindByte] != 'G') {
      WriteFailed(st, file.string(), "閉じレコードが見つかりません。");
      return false;
    }
    onDisk.replace(kObjField, 4, field);
    f.PutRecordText(own, onDisk);
    f.Close();
  } catch (const RecordFileError& e) {
    WriteFailed(st, file.string(), e.what());
    return false;
  }
  return true;
}

bool PutCounter(ProgramState& st, const std::string& key, int value, const std::string& ini) {
  if (IniPutString("OLE", key, std::to_string(value), ini)) return true;
  WarnMsgBox(st, "設定ファイル " + ini + " に書き込めません。");
  return false;
}

bool SaveObjects(ProgramState& st, const std::string& workBase, GridModel& grid) {
  const std::string ini = SettingsFile(workBase);
  if (!IsObjectNumber(st.SheetObjNo)) st.SheetObjNo.clear();  // a garbled number names no file of ours
  const bool isNew = st.SheetObjNo.empty();
  std::string number = st.SheetObjNo;
  int count = 0;
  if (isNew) {
    count = std::max(0, IniGetInt("OLE", "OleFileCnt", ini));
    std::optional<int> next;
    if (count < st.OleFileMax) next = NextObjectNumber(workBase, IniGetInt("OLE", "OleFileNo", ini));
    if (!next) {
      LimitMessage(st);
      return false;
    }
    number = std::to_string(*next);
  }
  const stdfs::path path = ObjectFilePath(workBase, number);
  if (GridFileResult r = grid.SaveItems(path.string()); !r) {
    WriteFailed(st, path.string(), r.detail);
    return false;
  }
  bool ok = true;
  if (isNew) {
    // Counted only once the file is there, so a failed save takes no number.
    ok = PutCounter(st, "OleFileNo", std::stoi(number), ini);
    ok = PutCounter(st, "OleFileCnt", count + 1, ini) && ok;
    st.SheetObjNo = number;
  }
  ok = StoreObjectField(st, RightAligned4(number)) && ok;
  st.OleObjectsChanged = false;
  return ok;
}

bool ReleaseObjects(ProgramState& st, const std::string& workBase) {
  bool ok = true;
  if (!st.SheetObjNo.empty()) {
    const std::string ini = SettingsFile(workBase);
    if (IsObjectNumber(st.SheetObjNo)) {
      const stdfs::path path = ObjectFilePath(workBase, st.SheetObjNo);
      std::error_code ec;
      if (stdfs::is_regular_file(path, ec)) stdfs::remove(path, ec);
      const int count = IniGetInt("OLE", "OleFileCnt", ini);
      ok = PutCounter(st, "OleFileCnt", std::max(0, count - 1), ini);
    }
    ok = StoreObjectField(st, "    ") && ok;
    st.SheetObjNo.clear();
  }
  st.OleObjectsChanged = false;
  return ok;
}

}  // namespace

stdfs::path ObjectFilePath(const std::string& workBase, const std::string& number) {
  return fs::ResolveNoCase(stdfs::path(workBase + "$" + number + ".MOD"));
}

bool LoadSheetObjects(ProgramState& st, const std::string& workBase, const std::string& number,
                      GridModel& grid) {
  st.SelectedObjectItem = -1;
  st.RefSelectedObjectItem = -1;
  if (st.SystemKind == 1 || number.empty()) return false;
  const stdfs::path path = ObjectFilePath(workBase, number);
  std::error_code ec;
  if (!stdfs::is_regular_file(path, ec)) return false;

  std::string head(kMarkWindow, '\0');
  {
    std::ifstream in(path, std::ios::binary);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(std::max<std::streamsize>(0, in.gcount())));
  }
  if (head.find(kItemFileMark) == std::string::npos) return false;
  if (!CheckObjectFile(st, path.string(), st.Imax)) return false;
  if (!grid.LoadItems(path.string())) return false;
  st.SheetObjectCount = grid.GetItemNum();
  return true;
}

bool SaveSheetObjects(ProgramState& st, const std::string& workBase, GridModel& grid) {
  if (st.SystemKind == 1) return true;
  const int count = grid.ItemCount();
  if (!st.OleObjectsChanged) return true;
  if (count >= 1) return SaveObjects(st, workBase, grid);
  return ReleaseObjects(st, workBase);
}

}  // namespace kv
