#pragma once
// What the print program takes from the settings copy KVSYSTEM.INI (the
// current printer's settings with the job's keys) and from the page formats
// of MTMPRNW.INI: the print form's page grid and the look of the pages.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kv::print_program {

// The page of a print form, counted in the character grid of its page
// format: `gridColumns` characters across by `gridLines` lines down the
// paper; margins in half characters and half lines.
struct PageForm {
  std::string name;         // [印刷書式] n
  int printColumns = 0;     // 印刷桁数: characters the columns share
  int rowsPerPage = 0;      // 印刷件数
  int leftMargin = 0;       // 左マージン, half characters
  int topMargin = 0;        // 上マージン, half lines
  int leftSpacing = 0;      // 最左スペーシング, characters
  std::string pageFormat;   // ページフォーマット: the section of MTMPRNW.INI
  int gridColumns = 0;      // 桁
  int gridLines = 0;        // 行
  std::string paper;        // 用紙: A4, B4, A3, B5
  bool landscape = false;   // 向き: 横
};

// Lines of the page outside the rows: title, captions, totals line, a blank
// line and the footer; every row takes two lines.
inline constexpr int kPageExtraLines = 5;

struct PageLook {
  std::string companyName;    // [PrintInformation] CompanyName
  std::string namePosition;   // NamePosition: "左", "中", "右" ("" = 右)
  std::string pageFormat;     // PageFormat: "&P" becomes the page number
  bool itemSeparatorsOff = false;  // [枠線スタイル] 項目欄隔線非描画
  int itemUnderline = 1;      // 項目欄下線幅
  int totalOverline = 1;      // 合計行上線幅
  int dottedEmphasis = 0;     // Sp999w
  int frame = 2;              // Top
  std::string fontName;       // [Font] Name
  int recordLength = 0;       // [Boot] DataLen
  // [固定マスク] of the form: the columns (0-based) in print order.
  std::optional<std::vector<int>> fixedColumns;
};

// Reads print form `form` (1..7) of `settingsIni` and its page format of
// `formatsIni`. Throws PrintFailure for a form without a name, without rows
// per page or columns, a page format missing from `formatsIni`, or a paper
// that is none of A4, B4, A3, B5. The grid grows where the form's margins,
// columns and rows would not fit it, so that everything stays on the paper.
PageForm ReadPageForm(const std::filesystem::path& settingsIni, const std::filesystem::path& formatsIni, int form);

// Reads the look; throws PrintFailure for a record length other than 256 or 512.
PageLook ReadPageLook(const std::filesystem::path& settingsIni, const std::string& formName);

// The page-number text of a page format: every "&P" becomes the number; an
// empty format gives the number alone.
std::string PageNumberText(const std::string& format, int number);

}  // namespace kv::print_program
