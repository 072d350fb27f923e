#include "storage/level_files.h"

#include "platform/fs.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"

namespace kv {

std::filesystem::path LevelFilePath(const ProgramState& st, std::string_view workBase, int level) {
  std::string name(workBase);
  if (level >= 1 && level <= kMaxLevels) name += st.LevelExt[level];
  return fs::ResolveNoCase(std::filesystem::path(name));
}

bool IsUntitledName(std::string_view path) { return path.find("無題") != std::string_view::npos; }

void LevelFileFaultShow(ProgramState& st, const std::filesystem::path& file,
                        const LevelFileProblem& problem) {
  std::string text = "作業ファイル [ " + file.filename().string() + " ] が壊れています。\r" +
                     LevelFaultText(problem.fault);
  if (problem.record > 0) text += " (レコード " + std::to_string(problem.record) + ")";
  WarnMsgBox(st, text);
}

void LevelFileErrorShow(ProgramState& st, const std::filesystem::path& file, std::string_view detail) {
  std::string text = "作業ファイル [ " + file.filename().string() + " ] を読み書きできませんでした。";
  if (!detail.empty()) text += "\r" + std::string(detail);
  WarnMsgBox(st, text);
}

}  // namespace kv
