#pragma once
// Keeping the print form, the settings files and the page numbers of the
// work files in agreement once a print dialog closes.
namespace kv {

struct ProgramState;

// The print form stored in the estimate's settings file ([印刷タイプ]
// PrnTypeNo); 0 when the file holds none in 1..7.
int StoredPrintForm(const ProgramState& st);

// Writes the page numbers again (PageNumbersWrite) when they were last
// written for another number of rows per page than the current form has,
// with the special print form switched otherwise, or not at all since the
// estimate was opened. True when they were.
bool PageNumbersFollowForm(ProgramState& st);

}  // namespace kv
