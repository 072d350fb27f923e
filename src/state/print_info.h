#pragma once
// The print-information record and the print-form table (forms 1..7; entry 0
// and 8..10 are not used by the settings). Flags hold -1 (on) or 0 (off).
#include <array>
#include <string>

namespace kv {

inline constexpr int kPrintForms = 7;

// The fields of the record the print set-up dialog backs up before it opens
// the detail dialog, and puts back when it is cancelled afterwards.
struct PrintInfoBackup {
  int PrnTypeNo = 0;
  int CompanyNameFlag = -1;
  std::string NamePosition;
  int KoujiNameFlag = -1;
  std::string KoujiNamePos;
  int ItemUnderlineWidth = -1;
  int TotalOverlineWidth = -1;
  int Sp999w = -1;
  int FrameWidth = -1;
  std::string PageFormat;
};

// What the page numbers in the open estimate's level work files were last
// written for: the rows per page and whether the special print form's
// numbering ran. `known` is false until the first write.
struct PageNumbersWritten {
  bool known = false;
  int rowsPerPage = 0;
  bool specialForm = false;
};

struct PrintInfo {
  // The record (MPrintInfo).
  int PrnTypeNo = 0;  // current print form 1..7
  int CompanyNameFlag = -1;
  int PrnPageNoFlag = -1;
  int KoujiNameFlag = -1;
  std::string KoujiNamePos = "左";  // "左", "中" or "右"
  std::string CompanyName;
  std::string PageFormat;       // page-number format
  std::string NamePosition;     // company-name position
  int ItemSepLineOff = -1;      // [枠線スタイル] 項目欄隔線非描画
  int ItemUnderlineWidth = -1;  // 項目欄下線幅
  int TotalOverlineWidth = -1;  // 合計行上線幅
  int Sp999w = -1;
  int FrameWidth = -1;  // Top

  // The print-form table.
  std::array<std::string, 11> PrintFormSections;  // form name: key of its other entries
  std::array<std::string, 11> PrintFormNames;     // display name
  std::array<int, 11> PrintColumns{};
  std::array<int, 11> PrintRows{};  // rows per page by print form
  std::array<int, 11> LeftMargins{};
  std::array<int, 11> TopMargins{};
  std::array<int, 11> LeftSpacings{};
  std::array<std::string, 11> PageFormats;  // page format name

  PrintInfoBackup MPrintInfoBackup;
  // The device name of the printer the program prints to; "" until its first
  // use, which takes the UI's default printer.
  std::string CurrentPrinterName;
  PageNumbersWritten PageNumbersLast;
};

}  // namespace kv
