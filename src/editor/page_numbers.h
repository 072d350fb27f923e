#pragma once
// Refreshing the page numbers stored in the open estimate's level work files
// after anything that moves the page breaks (a level written back, a new
// paper type, the special print set-up, ...).
namespace kv {

struct ProgramState;
struct DiskProbe;

// Writes the start page of every printed sheet into its first row
// (platform/page_no_write.h) for the rows per page of the current print form
// `PrintRows`(`PrnTypeNo`) (a form outside 1..7 taken as form 1): the special
// print form's numbering when `SpecialPrintSpec` is on and `OrviKenPrn` is 1,
// the plain one otherwise. What a write used is kept in `PageNumbersLast`.
// Nothing is done, and the pointer stays as it was, for an untitled estimate
// (`WorkFileBase` contains "無題") or when the folder of the estimate file
// `CurrentFilePath` is missing or on a read-only file system; a network file
// system is numbered. The busy pointer is shown meanwhile. Sheets of a
// damaged chain are left unnumbered; after the rest is written the user is
// told once which level file and record are damaged.
void PageNumbersWrite(ProgramState& st);
// The same with the file system's kind asked of `probe`.
void PageNumbersWrite(ProgramState& st, const DiskProbe& probe);

}  // namespace kv
