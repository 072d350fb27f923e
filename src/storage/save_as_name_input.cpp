#include "core/settings_text.h"
#include "storage/save_as_name_input.h"

#include <filesystem>
#include <system_error>

#include "core/sjis_text.h"
#include "platform/fs.h"
#include "platform/ui.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/reference_services.h"
#include "state/warn_msg_box.h"
#include "storage/file_command_steps.h"
#include "storage/split_path.h"
#include "storage/work_folder_check.h"

namespace kv {
namespace {

constexpr int kMaxPathBytes = 200;

// The path of the packed estimate file the user means.
std::string AsPackedFile(const ProgramState& st, const std::string& chosen) {
  const SplitPathResult p = SplitPath(st, chosen);
  if (fs::NameEqualsNoCase(p.extension, st.PackedExt)) return chosen;
  return (p.folder.empty() ? std::string() : p.folder + "/") + p.name + st.PackedExt;
}

// Why a path is refused ("" when it is not).
std::string Refusal(ProgramState& st, const std::string& path) {
  if (LenBSjis(Utf8{path}) > kMaxPathBytes) return "ﾌｧｲﾙ名が長すぎます!";
  if (path.find("無題") != std::string::npos) return "ﾌｧｲﾙ名に [無題]は使用できません!";
  const std::string baseText = SplitPath(st, st.KvTextPath).name;
  if (!baseText.empty() && ContainsNoCase(path, baseText))
    return "ﾌｧｲﾙ名に [ " + baseText + " ]は使用できません!";
  if (IsInRefWorkFolder(st, path)) return "参考作業用フォルダー WORK2 は使用できません!";
  if (IsInWorkFolder(st, path)) return "作業用フォルダー WORK は使用できません!";
  return {};
}

}  // namespace

std::optional<std::string> SaveAsNameInput(ProgramState& st) {
  FloatWindowsTopMostSet(st, false);
  std::optional<std::string> accepted;
  for (;;) {
    FileDialogRequest req;
    req.title = "TheKorvaneのﾌｧｲﾙ名入力";
    req.defaultExt = st.PackedExt;
    req.filter = "TheKorvaneWinFile (*" + st.PackedExt + ")|*" + st.PackedExt;
    req.initDir = st.KVData;
    req.flags = cdlOFNHideReadOnly;
    FloatWindowsTopMostSet(st, false);
    const std::string chosen = st.ui.SaveFileDialog(req).value_or("");
    FloatWindowsTopMostSet(st, true);
    if (TrimBlanks(chosen).empty()) break;

    const std::string path = AsPackedFile(st, chosen);
    if (std::string why = Refusal(st, path); !why.empty()) {
      WarnMsgBox(st, why);
      continue;
    }
    std::error_code ec;
    if (std::filesystem::exists(path, ec) &&
        AskUser(st, path + "\rこのファイルはすでに存在します。\r\r上書きしますか？",
                vbYesNo + vbExclamation) != vbYes)
      continue;
    if (st.RefWindowOpen && st.reference && path == st.reference->RefFilePath(st)) {
      AskUser(st, "参考画面で開いている [ " + SplitPath(st, path).name + " ] には上書きできません。",
              vbOKOnly + vbExclamation);
      continue;
    }
    accepted = path;
    break;
  }
  FloatWindowsTopMostSet(st, true);
  st.ui.SetBusyPointer(false);
  return accepted;
}

}  // namespace kv
