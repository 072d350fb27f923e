#pragma once
// The recalculation of a row after one of its numeric cells changed, without
// the row's column variables: the definitions that read the changed column
// are evaluated again, stored and followed further, depth first, as the row
// recalculation (`RowFormulaCalc`) does it, with the same stored bytes. The
// column variables it would set are left as they were: only for a row whose
// variables a later row recalculation of the same level sets all again.
// Nothing is painted; not for the customer variant (its split columns).
#include <string>

#include "state/level_context.h"

namespace kv {

struct ProgramState;
class RowDefinitionReaders;

void RowDefinitionsAfter(ProgramState& st, const LevelContext& ctx, std::string& rec, int changedCol,
                         const RowDefinitionReaders& readers);

}  // namespace kv
