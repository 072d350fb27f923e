#pragma once
// The detail dialog's test print: an empty level-1 sheet printed with the
// print form's unsaved columns, rows and margins. KVSYSTEM.INI is the
// current printer's settings file with those four numbers; the sheet is
// AppPath/TESTPRN.Y1 (one closing record) with a copy of the estimate's
// layout file as AppPath/TESTPRN.Y$; the job file is the test print's. The
// print program is run and waited for, and the two TESTPRN files are
// deleted afterwards (also when something failed on the way).
#include <string>

namespace kv {

struct ProgramState;

struct DetailNumbers {
  int columns = 0;
  int rows = 0;
  int leftMargin = 0;
  int topMargin = 0;
};

// The test sheet's one record: `dataLen` blanks, the closing-record kind
// "G" in byte 3, no own number and no next record (" -99" in bytes 4-7 and
// 8-11).
std::string TestPrintRecord(int dataLen);

void TestPrint(ProgramState& st, int form, const DetailNumbers& numbers);

}  // namespace kv
