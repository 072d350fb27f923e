#pragma once
// The chosen mask screen of each level, kept in section [マスク情報] of a
// settings file: XMASK<n> (n = level, decimal) the screen shown on level n, and
// MASK_NO the screen of the first level of the range last written.
#include <string>

namespace kv {

struct ProgramState;

// The settings file of a work base's mask keys: DAVIROV.INI of the program
// folder when the work base is untitled (contains "無題"), else work base + ".INI".
std::string MaskInfoFile(const ProgramState& st, const std::string& workBase);

// Writes XMASK<n> = XMASK(n) for n = first .. last and MASK_NO = XMASK(first)
// into `iniPath` (created when missing). False, after a message naming the
// file, when it cannot be written; false without writing anything for a range
// outside levels 1..8 or with first above last.
bool MaskKeysWrite(ProgramState& st, const std::string& iniPath, int first, int last);

// Stores the chosen screens of levels first .. last for the work base: the
// keys above into MaskInfoFile(workBase).
bool MaskInfoWrite(ProgramState& st, const std::string& workBase, int first, int last);

}  // namespace kv
