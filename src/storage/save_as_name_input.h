#pragma once
// The name dialog of Save As, also used by the level writer to name an
// untitled estimate.
#include <optional>
#include <string>

namespace kv {

struct ProgramState;

// Shows the save dialog ("TheKorvaneのﾌｧｲﾙ名入力", the packed files, initial
// folder `KVData`) until a name is accepted; nullopt when the user cancels
// (an empty name). The chosen path is made the packed estimate file's: an
// extension other than the packed one is replaced by it ("a.Y1" becomes
// "a.YZH"), a name without one gets it. Refused with a warning, and asked
// again: a path of more than 200 bytes in Shift-JIS; one containing "無題";
// one containing the base text file's name (letter case aside); one in the
// reference work folder WORK2 or in the work folder WORK (the folders as the
// file system has them). An existing file is overwritten only after Yes to
// "このファイルはすでに存在します。"; the file the reference window shows
// is never overwritten.
std::optional<std::string> SaveAsNameInput(ProgramState& st);

}  // namespace kv
