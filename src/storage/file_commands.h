#pragma once
// The file commands as the rest of the program reaches them: the services
// the level writer asks for (FileCommandServices), and what the commands
// need of their neighbours that the program state does not carry. The
// program makes one object, sets `st.fileCommands` to it, and the editor
// window hands it its sheet grid while it exists.
#include <functional>
#include <optional>
#include <string>

#include "state/file_command_services.h"
#include "storage/disk_space.h"

namespace kv {

struct ProgramState;
class GridModel;

class FileCommands : public FileCommandServices {
 public:
  FileCommands();

  // The editor's sheet grid: the sheet objects are loaded into its object
  // layer and saved from it. Null while there is no editor window (the
  // object steps are skipped).
  GridModel* sheetGrid = nullptr;

  // How the kind and the room of a file system are learnt for packing and
  // for the copy of Save As (tests stand in for a read-only or full one).
  DiskProbe probe;

  // Converts the level files of a DOS or previous-format estimate copied into
  // the work folder (work base, extension of the file opened: ".Y1" or
  // ".S1"); false when it could not. The program's converter unless replaced
  // (tests); empty: such files cannot be converted and their open is refused.
  std::function<bool(ProgramState&, const std::string& workBase, const std::string& ext)>
      ConvertClassificationFile;

  // --- FileCommandServices (the level writer naming and packing an estimate) ---
  // The name dialog of Save As; the lock of the chosen file is taken before
  // the name is given back (nullopt when the user gave it up to the machine
  // holding it).
  std::optional<std::string> SaveAsNameInput(ProgramState& st) override;
  void CompactWorkFiles(ProgramState& st, const std::string& workBase) override;
  int PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter) override;
  void AddRecentEstimate(ProgramState& st, const std::string& path) override;
  void SaveSheetObjects(ProgramState& st, const std::string& workBase) override;
  bool EmptyFileDiscard(ProgramState& st) override;
};

// The FileCommands object of the program (`st.fileCommands`), or null when
// there is none or the services are another implementation (tests).
FileCommands* FileCommandsOf(ProgramState& st);

}  // namespace kv
