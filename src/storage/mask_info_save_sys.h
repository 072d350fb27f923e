#pragma once
// Stores the mask definition edited in the mask set-up window as the current
// settings of the installation: into the mask bytes of the base text file's
// column records and the mask keys of DAVIROV.INI.
#include <string>

#include "storage/mask_marks.h"

namespace kv {

struct ProgramState;

// The base text column file: the folder and set name of KvTextPath plus
// LevelExt(2).
std::string BaseTextColumnFile(const ProgramState& st);

// For each level L = first .. last: the screen shown on the current level
// becomes L's chosen screen s; the chain of L's column records in the base
// text column file is walked from DefColumnMap(L) (bounded like the column
// reader's walk: at most 52 columns, never a record twice, stopping at a link
// that is no record number), and for column c of the chain MaskDef(L, c, s)
// and byte 235 + s of its record become 'M' when the mark of column c is not
// blank, else ' '. No other byte changes. The whole column file is then
// written to a temporary file and renamed over the old one, and XMASK<L> and
// MASK_NO go into DAVIROV.INI.
//
// A column file that cannot be read or written is reported and nothing is
// written. A broken chain is reported; the columns reached before the fault
// are stored. False after any message; false without a change for a range
// outside levels 1..8 or with first above last.
bool MaskInfoSaveSys(ProgramState& st, int first, int last, const MaskMarks& marks);

}  // namespace kv
