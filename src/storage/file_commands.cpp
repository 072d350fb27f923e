#include "storage/file_commands.h"

#include "state/program_state.h"
#include "storage/compact_work_files.h"
#include "storage/convert_classification_file.h"
#include "storage/empty_file_discard.h"
#include "storage/estimate_pack.h"
#include "storage/lan_lock.h"
#include "storage/recent_files.h"
#include "storage/save_as_name_input.h"
#include "storage/sheet_objects.h"

namespace kv {

FileCommands::FileCommands()
    : probe(SystemDiskProbe()),
      ConvertClassificationFile([](ProgramState& st, const std::string& workBase, const std::string& ext) {
        return kv::ConvertClassificationFile(st, workBase, ext);
      }) {}

std::optional<std::string> FileCommands::SaveAsNameInput(ProgramState& st) {
  std::optional<std::string> path = kv::SaveAsNameInput(st);
  if (path && !LanLockAcquire(st, *path)) return std::nullopt;
  return path;
}

void FileCommands::CompactWorkFiles(ProgramState& st, const std::string& workBase) {
  kv::CompactWorkFiles(st, workBase);
}

int FileCommands::PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter) {
  return kv::PackEstimateFile(st, path, deleteAfter, probe);
}

void FileCommands::AddRecentEstimate(ProgramState& st, const std::string& path) {
  kv::AddRecentEstimate(st, path);
}

void FileCommands::SaveSheetObjects(ProgramState& st, const std::string& workBase) {
  if (sheetGrid) kv::SaveSheetObjects(st, workBase, *sheetGrid);
}

bool FileCommands::EmptyFileDiscard(ProgramState& st) { return kv::EmptyFileDiscard(st); }

FileCommands* FileCommandsOf(ProgramState& st) { return dynamic_cast<FileCommands*>(st.fileCommands); }

}  // namespace kv
