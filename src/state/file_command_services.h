#pragma once
// What the level writer and FlushLevels ask of the file commands and their
// neighbours: the name of an untitled estimate, compaction and packing of the
// work set, the recent-file list, the sheet's embedded objects, and the
// confirmed discard of an estimate whose top sheet was emptied. The file
// commands implement it and pass it in; tests pass a recording double.
#include <optional>
#include <string>

namespace kv {

struct ProgramState;

class FileCommandServices {
 public:
  virtual ~FileCommandServices() = default;

  // The save dialog of Save As: the chosen full path, nullopt when cancelled.
  virtual std::optional<std::string> SaveAsNameInput(ProgramState& st) = 0;
  // Compacts the work files of a work base before packing.
  virtual void CompactWorkFiles(ProgramState& st, const std::string& workBase) = 0;
  // Packs the work set into the estimate file: -1 packed, 0 failed, 1 refused.
  virtual int PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter) = 0;
  // Puts a path at the head of the recent-file list.
  virtual void AddRecentEstimate(ProgramState& st, const std::string& path) = 0;
  // Saves the embedded objects of the sheet in memory.
  virtual void SaveSheetObjects(ProgramState& st, const std::string& workBase) = 0;
  // Asks the user, then deletes the estimate whose top sheet is empty and
  // makes the untitled estimate current; false when the user declined.
  virtual bool EmptyFileDiscard(ProgramState& st) = 0;
};

}  // namespace kv
