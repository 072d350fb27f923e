#pragma once
// A recording double of the file commands the level writer calls.
#include <optional>
#include <string>

#include "state/file_command_services.h"
#include "support/recording_services.h"

namespace kv::test {

class FileCommandsDouble : public FileCommandServices, public CallLog {
 public:
  std::optional<std::string> chosenPath;  // answer of the name dialog
  int packResult = -1;
  bool discardResult = true;

  std::optional<std::string> SaveAsNameInput(ProgramState&) override {
    Add("SaveAsNameInput()");
    return chosenPath;
  }
  void CompactWorkFiles(ProgramState&, const std::string& workBase) override {
    Add("CompactWorkFiles(" + workBase + ")");
  }
  int PackEstimateFile(ProgramState&, const std::string& path, bool deleteAfter) override {
    Add("PackEstimateFile(" + path + "," + (deleteAfter ? "delete" : "keep") + ")");
    return packResult;
  }
  void AddRecentEstimate(ProgramState&, const std::string& path) override {
    Add("AddRecentEstimate(" + path + ")");
  }
  void SaveSheetObjects(ProgramState&, const std::string& workBase) override {
    Add("SaveSheetObjects(" + workBase + ")");
  }
  bool EmptyFileDiscard(ProgramState&) override {
    Add("EmptyFileDiscard()");
    return discardResult;
  }
};

}  // namespace kv::test
