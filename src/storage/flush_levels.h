#pragma once
// Recording the sheet in memory and every sheet above it on the current path.
namespace kv {

struct ProgramState;
class FileCommandServices;

// Writes the sheet of `CurrentLevel` and then each level above it (each
// parent sheet read back first, with the totals just carried into it), then
// reads the path back down to the current level. True when every level was
// written. Before each level's write the calculation brings that sheet's
// equipment totals up to date (`RecalcEquipmentTotals`, without painting).
//
// On a failed write the path is read back all the same, so the sheet in
// memory is again the current level's, and the busy pointer is restored;
// when the current level itself could not be written its sheet stays in
// memory as it was, so no edit is lost; when it was written and only the
// pack after naming the estimate failed, it is read back like the rest. A
// nearly full disk writes nothing and gives false, and so does a sheet of the
// path whose level file is damaged (after the damaged-file message).
//
// An empty top sheet is not written: an untitled estimate simply starts
// afresh; a named one is handed to the confirmed discard of `services`
// (false when the user declines, or when there is no one to ask). The
// estimate file itself is never deleted here.
bool FlushLevels(ProgramState& st, FileCommandServices* services = nullptr);  // null: st.fileCommands

}  // namespace kv
