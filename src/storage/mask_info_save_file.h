#pragma once
// Stores the mask definition edited in the mask set-up window into the open
// estimate: its settings file and its layout file.
#include "storage/mask_marks.h"

namespace kv {

struct ProgramState;

// For each level L = first .. last: the screen shown on the current level
// becomes L's chosen screen (XMASK(L)), and MaskDef(L, c, that screen) for
// c = 1 .. ColCount(L) becomes 'M' when the mark of column c is not blank,
// else ' '. Then XMASK<L> and MASK_NO go into WorkFileBase + ".INI" and the
// layout file of WorkFileBase is written again (its field 9 carries the new
// codes). False, after a message, when a file cannot be written; false
// without a change for a range outside levels 1..8 or with first above last.
bool MaskInfoSaveFile(ProgramState& st, int first, int last, const MaskMarks& marks);

}  // namespace kv
