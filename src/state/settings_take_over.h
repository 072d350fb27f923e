#pragma once
// An estimate whose layout differs from the current one, opened with the
// current settings: its settings and layout files become copies of the
// current ones.
#include <string>

namespace kv {

struct ProgramState;

// DAVIROV.INI is copied over `workBase`.INI and the untitled estimate's layout
// file over the estimate's. What belongs to the estimate itself and not to
// the settings survives the copy: its object-file counters ([OLE] OleFileNo,
// OleFileCnt: new object files must not take the numbers of existing ones)
// and its file kind ([VEZ_File] FileType). Each file is replaced only once
// its new content is written whole. False (after a message) when a file could
// not be read or written; that file is then as it was.
bool TakeCurrentSettings(ProgramState& st, const std::string& workBase);

}  // namespace kv
