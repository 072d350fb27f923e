#pragma once
// Opening one of the five recent estimates from the File menu (items 17..21).
#include <functional>

namespace kv {

struct ProgramState;

// Opens entry `n` (1..5) of `RecentFiles` without the open dialog. Nothing
// happens for an empty entry or the estimate open now. A file that is gone
// is reported ("見積データを開くことが出来ません (<name>)") and its entry
// removed, the later ones moving up. Otherwise a changed sheet is offered to
// be recorded, the new file's lock is taken, the estimate open now is packed
// when pending (after the lock test; one another user holds is not packed,
// the user is told and Save As is offered), the new set unpacked, and only
// then is the old estimate closed (its lock, when it is ours, and its work
// files); the
// settings are reconciled as File > Open does and level 1 shown, its totals
// recalculated through `levelRecalcAndShow` (when given). A refused lock, a
// failed pack or unpack stop with the old estimate open as it was and a lock
// taken for the new file released.
//
// True when the estimate was opened (the File menu's epilogue runs), false
// on every early stop.
bool RecentFileOpen(ProgramState& st, int n,
                    const std::function<void(ProgramState&)>& levelRecalcAndShow = {});

}  // namespace kv
