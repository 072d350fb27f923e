#include "storage/compact_work_files.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "core/ini_file.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/fs.h"
#include "platform/packing.h"
#include "platform/ui.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/compaction.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {

namespace stdfs = std::filesystem;

namespace {

std::string Trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

void SetObjectField(std::string& rec, std::string_view field) {
  if (rec.size() >= static_cast<size_t>(kObjectPos - 1 + kObjectWidth))
    rec.replace(static_cast<size_t>(kObjectPos - 1), static_cast<size_t>(kObjectWidth), field);
}

// The object field of the closing record of the path's sheet at `level`, as
// the level file now holds it; nullopt when that sheet has none on disk.
std::optional<std::string> ClosingObjectField(const ProgramState& st, int level) {
  const stdfs::path file = LevelFilePath(st, st.WorkFileBase, level);
  std::error_code ec;
  if (!stdfs::is_regular_file(file, ec)) return std::nullopt;
  const bool hex = IsHexBase(st.H_Link);
  int first = 1;
  if (level > 1) {
    std::optional<int> child = ReadStoredLink(LinkField(st.ParentRows[static_cast<size_t>(level - 1)], kChildPos), hex);
    if (!child || *child < 1) return std::nullopt;
    first = *child;
  }
  try {
    RecordFile f(file, st.DataLen, RecordFileMode::ReadOnly);
    SheetChain chain;
    if (ReadSheetChain(FileRecords(f), level == 1, first, hex, SheetRowLimit(st) + 1, chain)) return std::nullopt;
    if (chain.records.empty() || RecordByte(chain.records.back(), kKindPos) != kClosingKind) return std::nullopt;
    return std::string(chain.records.back().substr(static_cast<size_t>(kObjectPos - 1), kObjectWidth));
  } catch (const RecordFileError&) {
    return std::nullopt;
  }
}

// The object numbers in memory follow the renumbered object files.
void ObjectNumbersFollowFiles(ProgramState& st) {
  const int current = std::clamp(st.CurrentLevel, 1, kMaxLevels);
  for (int level = 1; level <= current; ++level) {
    std::optional<std::string> field = ClosingObjectField(st, level);
    if (!field) continue;
    SetObjectField(st.PathTotalRecords[static_cast<size_t>(level)], *field);
    if (level != current) continue;
    SetObjectField(st.SheetTotalRecord, *field);
    st.SheetObjNo = Trimmed(*field);
    const size_t closing = static_cast<size_t>(std::clamp(st.UsedRows + 1, 1, kMaxSheetRows + 1));
    if (RecordByte(st.SheetRows[closing], kKindPos) == kClosingKind) SetObjectField(st.SheetRows[closing], *field);
  }
}

}  // namespace

void CompactWorkFiles(ProgramState& st, const std::string& workBase) {
  CompactWorkFiles(st, workBase, SystemDiskProbe(), &OLEFilePack);
}

void CompactWorkFiles(ProgramState& st, const std::string& workBase, const DiskProbe& probe,
                      const ObjectFilePacker& packObjects) {
  const fs::DriveKind kind = probe.kind(stdfs::path(workBase));
  if (kind == fs::DriveKind::NoRoot || kind == fs::DriveKind::CdRom) return;

  st.ui.SetBusyPointer(true);
  if (st.sheetEngine) st.sheetEngine->StatusPanelSet(st, 1, kCompactingStatus);

  if (EstFilePack(st, workBase) && st.SystemKind != 1) {
    const int count = packObjects(stdfs::path(workBase), stdfs::path(st.AppPath + "/"), st.DataLen, st.H_Link,
                                  PackFileSetFrom(st));
    if (count >= 0) {
      const stdfs::path ini = fs::ResolveNoCase(stdfs::path(workBase + ".INI"));
      std::error_code ec;
      if (stdfs::is_regular_file(ini, ec)) IniPutString("OLE", "OleFileCnt", std::to_string(count), ini);
      if (workBase == st.WorkFileBase) ObjectNumbersFollowFiles(st);
    }
  }

  if (st.sheetEngine) st.sheetEngine->StatusPanelClear(st, 1);
  st.ui.SetBusyPointer(false);
}

}  // namespace kv
