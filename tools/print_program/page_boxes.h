#pragma once
// The content of a printed page as boxes of text and ruled lines on the page
// format's character grid: x in characters (half-width, the 桁 of the page
// format), y in lines (its 行). A renderer maps the grid onto the paper.
//
// A page, from its top margin down: the title line (the sheet's title, the
// company name at its position), the column captions, two lines for each row
// of the page, the sheet's totals line, a blank line and the footer (the page
// number, the footer title at its position). Across, from the left margin
// and the leftmost spacing: the shown columns of the level in proportion to
// their byte widths, sharing the form's print columns.
#include <string>
#include <vector>

#include "job_file.h"
#include "print_pages.h"
#include "print_settings.h"

namespace kv::print_program {

struct PrintEstimate;

enum class Align { Left, Center, Right };

struct TextBox {
  double x = 0, y = 0, width = 0, height = 0;
  std::string text;  // display text
  int cells = 0;     // its natural width in characters (the bytes of its stored form)
  Align align = Align::Left;
};

struct RuleLine {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int weight = 0;  // 0 the thinnest .. 10
  bool dotted = false;
};

struct PagePicture {
  double x = 0, y = 0, width = 0, height = 0;  // where the whole picture goes
  double clipTop = 0, clipBottom = 0;          // the lines of it on this page
  const std::string* data = nullptr;           // the prepared picture (PNG)
};

struct PageBoxes {
  std::vector<TextBox> texts;
  std::vector<RuleLine> lines;
  std::vector<PagePicture> pictures;
};

// A picture a sheet shows over its cells: grid columns col1..col2 and sheet
// rows row1..row2 (1-based), prepared for printing.
struct SheetPicture {
  int col1 = 0, row1 = 0, col2 = 0, row2 = 0;
  std::string data;
};

// For each level 0..8 a number that is the same for levels whose column
// captions print alike.
std::vector<int> CaptionGroups(const PrintEstimate& e, const PageLook& look, const PrintJob& job);

class PageComposer {
 public:
  // `pictures`: per printed sheet of the run, the pictures to draw (may be empty).
  PageComposer(PrintEstimate& e, const PageForm& form, const PageLook& look, const PrintJob& job, const PrintRun& run,
               std::vector<std::vector<SheetPicture>> pictures = {});
  // The page's boxes into `b` (emptied first; its storage is kept for the
  // next page, so that a long print does not allocate and free a page's
  // worth of memory for every page).
  void Compose(const PrintPage& page, PageBoxes& b) const;
  const std::string& Title(int sheet) const { return titles_[static_cast<size_t>(sheet)]; }

  struct Column {
    int column = 0;
    double x = 0, width = 0;
  };

 private:
  void AddText(PageBoxes& b, double x, double y, double w, double h, std::string sjis, Align align) const;
  void RowTexts(PageBoxes& b, int level, std::string_view rec, double y) const;
  void TotalsTexts(PageBoxes& b, int level, std::string_view rec, double y) const;
  void CaptionTexts(PageBoxes& b, int level, double y) const;
  void Header(PageBoxes& b, const PrintPage& page) const;
  void Footer(PageBoxes& b, const PrintPage& page) const;
  void Lines(PageBoxes& b, const PrintPage& page) const;
  void Pictures(PageBoxes& b, const PrintPage& page) const;
  std::string_view Record(int level, int n) const;
  const std::vector<Column>& ColumnsOf(int level) const;

  const PrintEstimate& e_;
  const PageForm& form_;
  const PageLook& look_;
  const PrintJob& job_;
  const PrintRun& run_;
  const std::vector<std::vector<SheetPicture>> pictures_;
  std::vector<std::string> titles_;           // per printed sheet (Shift-JIS)
  std::vector<std::vector<Column>> columns_;  // per level 0..8
  double left_ = 0, right_ = 0, top_ = 0;
};

}  // namespace kv::print_program
