#include "storage/old_file_check.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "core/record_file.h"
#include "state/calc_services.h"
#include "state/editor_services.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/disk_space.h"
#include "storage/file_command_steps.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/level_write.h"
#include "storage/row_record.h"

namespace kv {
namespace {

std::string NumberText(int n) { return n >= 0 ? " " + std::to_string(n) : std::to_string(n); }

// True when the level-1 file ends with a closing record; nullopt when it is
// missing or holds no whole record.
std::optional<bool> EndsWithClosingRecord(const ProgramState& st, const std::string& workBase) {
  const std::filesystem::path path = LevelFilePath(st, workBase, 1);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  RecordFile file(path, st.DataLen, RecordFileMode::ReadOnly);
  const std::uintmax_t length = std::filesystem::file_size(path, ec);
  if (ec || st.DataLen <= 0 || length < static_cast<std::uintmax_t>(st.DataLen)) return std::nullopt;
  std::string last;
  if (!file.GetRecordText(static_cast<std::int32_t>(length / static_cast<std::uintmax_t>(st.DataLen)), last))
    return std::nullopt;
  return RecordByte(last, kKindPos) == kClosingKind;
}

bool BringToCurrentForm(ProgramState& st, const std::string& workBase) {
  if (!DiskSpaceChk(st, workBase)) return false;
  if (!LevelRead(st, st.CurrentLevel)) return false;
  if (!LevelWrite(st, st.CurrentLevel)) return false;
  CompactEstimate(st, st.WorkFileBase);
  if (!LevelRead(st, st.CurrentLevel)) return false;
  if (st.calc) {
    st.RecordLinkState = -99;
    st.calc->RecalcFromTopLevel(st, workBase);
    st.RecordLinkState = 0;
  }
  if (st.editor) st.editor->PageNumbersWrite(st);
  return LevelRowsRead(st, st.CurrentLevel);
}

}  // namespace

bool OldFileAndPageChk(ProgramState& st, const std::string& workBase) {
  try {
    const std::optional<bool> current = EndsWithClosingRecord(st, workBase);
    if (!current) return false;
    if (*current) return true;
    return BringToCurrentForm(st, workBase);
  } catch (const std::exception& e) {
    int number = 0;
    if (const auto* se = dynamic_cast<const std::system_error*>(&e)) number = se->code().value();
    WarnMsgBox(st, std::string(e.what()) + "\n(OldFileAndPageChk:" + " ｴﾗｰNo" + NumberText(number) + ")");
    return false;
  }
}

}  // namespace kv
