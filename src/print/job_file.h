#pragma once
// The print job file MP_INFO.dat that the print program reads: a "[WinPrint]"
// section of key=value lines, Shift-JIS, every line ended by CR LF, the keys
// always in one order, an optional key either at its place or absent. Two
// writers are here: the print dialog's job, the detail dialog's test
// print and the classification master list. The file lies in the program folder and is replaced whole.
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kv {

struct ProgramState;

inline constexpr std::string_view kJobFileName = "MP_INFO.dat";
// The name the print program and the image program are started with.
inline constexpr std::string_view kJobFileArgument = "MP_INFO.DAT";

// What the print dialog hands to the print job.
struct PrintJobInputs {
  int mode = 0;  // PrintRangeMode: 0 level, 1 page range, 2 row range
  std::string startPage, endPage;  // page range as typed
  bool pageNumbers = true;         // "ページ付き印刷"
  std::string firstPage;           // the page-number start as typed
  std::string rowFrom, rowTo;      // row range as typed
  bool allLevels = false;          // "現在の階層からすべて"; otherwise `depth`
  int depth = 0;                   // levels below the current one
  int form = 1;                    // print form 1..7
  int copies = 1;                  // 1..10
  std::string companyName;
  bool option1Enabled = false, option1 = false;  // Check1
  bool option2Enabled = false, option2 = false;  // Check2: paper-saving continuous print
  bool option3 = false;                          // Check3: fixed column layout
  int activatedForm = 0;  // PrnTypeNo and CompanyName at the dialog's last activation
  std::string activatedCompanyName;
  std::string loadPrinterName;  // the current printer when the dialog was loaded
};

// The values of a print dialog's job file, each as written (display text).
struct PrintJobFile {
  std::string printer;
  bool hexNumbers = false;  // NUMERIC=16, else 10
  std::string prnFile, kvText;
  int level = 1, recNo = 1, prnLevel = 0;
  std::string pageNo = "1";
  int form = 1, copies = 1;
  std::string pageS = "0", pageE = "0";
  std::string formName;  // a name holding "連続" turns the ruled lines off
  int systemKind = 2;
  bool option1 = false;  // system kind 1: PRN_UNDERLAYER
  bool rowRange = false;
  std::string rowFrom, rowTo;
  bool multiLayer = false;
  std::optional<std::string> footerTitle;  // FOOTER_TTL, with its position
  std::string footerPos;
  bool companyName = true;   // false: PRN_COMPNAME=OFF
  bool specialForm = false;  // ORKN_PRN=ON
};

// The print dialog's job file as it stands on disk.
std::string MpInfoText(const PrintJobFile& job);

// The job file's values from the program state and the dialog's inputs:
// the level-1 work file and the layout file of the open estimate; page range
// from level 1 over every level, page 1 (or no numbers); otherwise from the
// current sheet (its first record through the parent row's breakdown link)
// over all levels below it or the chosen depth. The footer title is the
// project name of the ".YT" file when `KoujiNameFlag` is on and the file is
// there.
PrintJobFile PrintJobFileOf(ProgramState& st, const PrintJobInputs& in);

// The test print's job file: an empty level-1 sheet in AppPath/TESTPRN.Y1
// with its layout AppPath/TESTPRN.Y$, page 1, one copy.
struct TestPrintJobFile {
  std::string printer;
  std::string appPath;
  int form = 1;
  int systemKind = 2;
};
std::string MpInfoTestText(const TestPrintJobFile& job);

// The classification master list's job file: the master file as the data
// file (decimal record numbers, no levels below it), the layout file written
// beside it, page 1 or no page numbers, and the line telling the print
// program that the data file is a master list.
struct MasterListJobFile {
  std::string printer;
  std::string masterFile, layoutFile;
  bool pageNumbers = true;
  int form = 1, copies = 1;
};
std::string MpInfoMasterListText(const MasterListJobFile& job);

// The project name of the ".YT" file beside the work files: record 1
// (40 bytes) cut at a NUL and right-trimmed, as ":" name ":"; nullopt when
// the file is not there.
std::optional<std::string> FooterTitle(const std::string& workBase);

// Writes a job file whole (a temporary file renamed over the old one).
// False with `ec` set when it cannot be written; the old file stays.
bool JobFileWrite(const std::string& path, std::string_view bytes, std::error_code& ec);

}  // namespace kv
