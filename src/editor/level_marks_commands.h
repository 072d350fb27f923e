#pragma once
// Clearing every non-print level-row mark of the estimate, and the checks
// before a text search of the estimate starts.
namespace kv {

struct ProgramState;

// Removes every "I" mark from all level work files of the open estimate and
// shows the current level again as the files now hold it. The sheet in
// memory and the levels above it are recorded first (a failed recording
// stops here). A level file that cannot be read or written is reported; the
// estimate is marked modified and the sheet read back from the files all the
// same, so the screen and the next save show what the files hold. Level 1
// only: the caller checks.
void NotPrintLvlClr(ProgramState& st);

// True when a text search of the estimate may start; otherwise false after
// one warning, the first of: the search window serves the reference window;
// the estimate is untitled; (only when the levels differ in their column
// counts) the cursor column is past the last column of a level, or its
// start or width differs between levels.
bool SchPreCheck(ProgramState& st);

}  // namespace kv
