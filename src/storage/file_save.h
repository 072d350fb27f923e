#pragma once
// File > Save and File > Save As.
namespace kv {

struct ProgramState;

// How a save ended.
enum class SaveResult {
  Saved,        // recorded and packed (or nothing was waiting to be)
  NotRecorded,  // the sheet could not be recorded (or its naming was cancelled)
  LockRefused,  // another user holds the file; not packed, still pending
  Refused,      // the pack was refused (no room, unsuitable drive); still pending
  Failed,       // the pack failed and no Save As took its place; still pending
};

// File > Save: a changed sheet is recorded (an untitled one is named on the
// way); a named estimate with work files written since its last pack is
// packed, after the lock test (PackLockCheck). An estimate another user
// holds is not written: the user is told, it stays pending and Save As is
// offered. A refused pack is reported and stays pending; a failed one
// ("このﾌｧｲﾙは読取専用か、...") stays pending and Save As is offered at once.
void FileSave(ProgramState& st);
SaveResult FileSaveRun(ProgramState& st);

// File > Save As. An empty top sheet is refused. An untitled estimate is
// named, locked and saved (File > Save). A named one is recorded, packed
// first when the user wants, then named again: the lock of the new file is
// taken, the work files copied under the new work name, compacted and packed
// into the new file. Only when that pack succeeds does the program go on
// with the new file (the old work files and the old lock released, the new
// path at the head of the recent list); on any refusal or failure the old
// estimate stays open as it was, with its lock, its files and its identity,
// and a lock taken for the new name is released.
void FileSaveAs(ProgramState& st);
// The same; true when saved. `afterFailedPack`: offered because the pack of
// the open estimate has just failed, so it is not offered to be packed again.
bool FileSaveAsRun(ProgramState& st, bool afterFailedPack);

}  // namespace kv
