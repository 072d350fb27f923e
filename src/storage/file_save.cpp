#include "storage/file_save.h"

#include "state/program_state.h"
#include "storage/estimate_pack.h"
#include "storage/file_command_steps.h"
#include "storage/level_files.h"

namespace kv {

SaveResult FileSaveRun(ProgramState& st) {
  CommandEnd end(st);
  if (st.SheetModified) {
    CommandBusySet(st, true);
    if (!RecordSheet(st)) return SaveResult::NotRecorded;
    st.SheetModified = false;
    st.PackPending = true;
  }
  if (!IsUntitledName(st.WorkFileBase) && st.PackPending) {
    if (!st.CommandBusy) CommandBusySet(st, true);
    // Another user's estimate is not written over; it stays pending, and
    // Save As is offered.
    if (!PackLockCheck(st)) return FileSaveAsRun(st, true) ? SaveResult::Saved : SaveResult::LockRefused;
    const int result = PackEstimate(st, st.CurrentFilePath);
    st.PackPending = false;
    if (result == kEstimatePackRefused) {
      PackResultShow(st, result, NameOf(st, st.WorkFileBase));
      st.PackPending = true;
      return SaveResult::Refused;
    }
    if (result != kEstimatePacked) {
      // Still to be packed: nothing recorded may be lost at the end of the
      // program, whatever the user does with Save As.
      st.PackPending = true;
      AskUser(st, ReadOnlyFileText(st.CurrentFilePath), vbOKOnly + vbExclamation);
      return FileSaveAsRun(st, true) ? SaveResult::Saved : SaveResult::Failed;
    }
  }
  return SaveResult::Saved;
}

void FileSave(ProgramState& st) { FileSaveRun(st); }

}  // namespace kv
