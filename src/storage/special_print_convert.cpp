#include "storage/special_print_convert.h"

#include <filesystem>
#include <system_error>

#include "core/ini_file.h"
#include "core/record_file.h"
#include "core/sjis_text.h"
#include "core/window_services.h"
#include "platform/fs.h"
#include "platform/ui.h"
#include "state/editor_services.h"
#include "state/program_state.h"
#include "storage/file_command_steps.h"
#include "storage/level_files.h"
#include "storage/row_record.h"

namespace kv {
namespace {

bool Blank(std::string_view field) { return field.find_first_not_of(' ') == std::string_view::npos; }

// The bytes of column `col` of the level shown ("" for a column it lacks).
std::string Field(const ProgramState& st, const std::string& rec, int col) {
  const int level = st.CurrentLevel;
  if (level < 1 || level > kMaxLevels || col < 1 || col > st.ColCount[level]) return {};
  const int start = st.ColStart[level][col];
  const int width = st.ColWidth[level][col];
  if (start < 1 || width < 1 || static_cast<size_t>(start - 1) >= rec.size()) return {};
  return rec.substr(static_cast<size_t>(start - 1), static_cast<size_t>(width));
}

bool MarkLevelFile(ProgramState& st, const std::filesystem::path& path) {
  try {
    RecordFile file(path, st.DataLen);
    std::string rec;
    for (int r = 1; file.GetRecordText(r, rec); ++r) {
      if (RecordByte(rec, kKindPos) != kKindItem) continue;
      if (!Blank(Field(st, rec, st.OrviSUU)) || Blank(Field(st, rec, st.OrviTANKA))) continue;
      SetRecordByte(rec, kMarkPos, kMarkSpecialPrint);
      file.PutRecordText(r, rec);
    }
    file.Close();
  } catch (const RecordFileError& e) {
    LevelFileErrorShow(st, path, e.what());
    return false;
  }
  return true;
}

}  // namespace

bool SpecialPrintData(ProgramState& st, const std::string& workBase) {
  for (int n = 1; n <= kMaxLevels; ++n) {
    if (st.LevelExt[n].empty()) continue;
    const std::filesystem::path path = LevelFilePath(st, workBase, n);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) continue;
    if (!MarkLevelFile(st, path)) return false;
  }
  if (st.OrviKenPrn == 1 && st.editor) st.editor->PageNumbersWrite(st);
  return true;
}

void SpecialPrintConvert(ProgramState& st, const std::string& workBase) {
  const std::filesystem::path ini = fs::ResolveNoCase(workBase + ".INI");
  std::error_code ec;
  if (!std::filesystem::is_regular_file(ini, ec)) return;
  std::string sysNo, sysName;
  IniGetString("SysInfo", "SysNo", sysNo, ini);
  IniGetString("SysInfo", "SysName", sysName, ini);
  const std::string kind = sysNo.substr(0, 4);
  if ((kind != "0200" && kind != "0400") || sysName.find("特殊印刷仕様") != std::string::npos) return;

  AskUser(st, "通常の建築版データを、特殊印刷仕様のデータにコンバートします。", vbOKOnly + vbExclamation);
  std::string installed;
  IniGetString("SysInfo", "SysName", installed, st.AppPath + "/DAVIROV.INI");
  IniPutString("SysInfo", "SysName", installed, ini);
  IniPutString("特殊仕様印刷", "OrviKenPrn", std::to_string(st.OrviKenPrn), ini);
  IniPutString("特殊仕様印刷", "OrviSUU", std::to_string(st.OrviSUU), ini);
  IniPutString("特殊仕様印刷", "OrviTANKA", std::to_string(st.OrviTANKA), ini);
  SpecialPrintData(st, workBase);
  st.PackPending = true;
}

}  // namespace kv
