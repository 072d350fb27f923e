#pragma once
// The print job file the editor writes before it starts the print program
// (MP_INFO.dat: a "[WinPrint]" section of KEY=value lines, Shift-JIS): what
// to print and how. Keys the program does not know are ignored.
#include <string>
#include <string_view>

namespace kv::print_program {

struct PrintJob {
  std::string printer;         // PRINTER: the device name (display text)
  bool hex = false;            // NUMERIC=16: stored record numbers in hexadecimal
  std::string dataFile;        // PRNFILE: the level-1 work file
  std::string layoutFile;      // KVTEXT: the layout file of the data file
  int level = 1;               // LEVEL: the level of the sheet printing starts with
  int firstRecord = 1;         // PRN_REC_NO: that sheet's first record (level 1: the whole file)
  int depth = 0;               // PRN_LEVEL: levels of breakdowns below it
  int firstPageNumber = 0;     // PAGE_NO: the number of the first page (0: no numbers)
  int form = 1;                // PRN_FORM: the print form 1..7
  int copies = 1;              // PRN_LOOP
  int pageFrom = 0;            // PAGE_S (0: from the first)
  int pageTo = 0;              // PAGE_E (0: to the last)
  bool ruledLines = true;      // PRN_KEISEN=OFF turns them off
  int numericAdd = 0;          // NUMCLM_ADD: characters added to every numeric column
  bool ignoreLevelMarks = false;  // PRN_UNDERLAYER=ON: the breakdowns below "I" rows are printed
  int rowFrom = 0;             // PRN_RENGE_S (0: no row range)
  int rowTo = 0;               // PRN_RENGE_E
  bool continuous = false;     // PRN_MULTILAYER=ON: a breakdown follows on the same page
  std::string footerTitle;     // FOOTER_TTL
  std::string footerPosition;  // FOOTER_POS: "左", "中" or "右"
  bool companyName = true;     // PRN_COMPNAME=OFF turns it off
  bool leaveOutX = false;      // ORKN_PRN=ON: rows marked "x" are left out
  bool masterList = false;     // PRN_MASTLIST=ON: the data file is a classification master
};

// Reads a job file's bytes; `name` names the file in a refusal. Throws
// PrintFailure when there is no [WinPrint] section, PRNFILE or KVTEXT is
// missing, or LEVEL, PRN_FORM or a number lies outside what it can be.
PrintJob ParsePrintJob(std::string_view sjisBytes, const std::string& name);

}  // namespace kv::print_program
