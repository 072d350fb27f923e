#include "storage/mask_info_write.h"

#include "core/ini_file.h"
#include "state/file_set_def.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/level_files.h"

namespace kv {

namespace {

constexpr std::string_view kMaskSection = "マスク情報";

}  // namespace

std::string MaskInfoFile(const ProgramState& st, const std::string& workBase) {
  return IsUntitledName(workBase) ? st.AppPath + "/DAVIROV.INI" : workBase + ".INI";
}

bool MaskKeysWrite(ProgramState& st, const std::string& iniPath, int first, int last) {
  if (first < 1 || last > kMaxLevels || first > last) return false;
  bool ok = true;
  for (int n = first; n <= last && ok; ++n) {
    ok = IniPutString(kMaskSection, "XMASK" + std::to_string(n), std::to_string(st.XMASK[n]),
                      iniPath);
  }
  if (ok) ok = IniPutString(kMaskSection, "MASK_NO", std::to_string(st.XMASK[first]), iniPath);
  if (!ok) WarnMsgBox(st, "設定ファイル [ " + iniPath + " ] にマスク情報を書き込めませんでした。");
  return ok;
}

bool MaskInfoWrite(ProgramState& st, const std::string& workBase, int first, int last) {
  return MaskKeysWrite(st, MaskInfoFile(st, workBase), first, last);
}

}  // namespace kv
