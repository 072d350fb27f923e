#include "page_boxes.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "print_estimate.h"
#include "sheet/level_bar_layout.h"
#include "sheet/sheet_fields.h"
#include "sheet/wide_text_cells.h"
#include "state/column_numbers.h"
#include "storage/row_record.h"

namespace kv::print_program {

namespace {

constexpr std::string_view kMemoKinds = "123HD\xD2";               // ... ﾒ: one text across the row
constexpr std::string_view kTotalKinds = "#$%\xB1\xB2\xB3";        // the running totals: ruled above
constexpr double kPad = 0.5;  // characters kept free inside a column on either side

bool OneOf(std::string_view set, char c) { return set.find(c) != std::string_view::npos; }

std::string Trimmed(std::string_view s) { return std::string(TrimBlanks(s)); }

// The shown columns of a level: the fixed list of the form when there is
// one, else those its mask screen shows.
std::vector<int> ShownColumns(const ProgramState& st, const PageLook& look, int level) {
  const int count = std::clamp(st.ColCount[level], 0, kMaxColumns);
  std::vector<int> cols;
  if (look.fixedColumns) {
    for (int c : *look.fixedColumns)
      if (c + 1 >= 1 && c + 1 <= count && std::find(cols.begin(), cols.end(), c + 1) == cols.end()) cols.push_back(c + 1);
    return cols;
  }
  const size_t screen = static_cast<size_t>(std::clamp(st.XMASK[level], 0, kMaskScreens - 1));
  for (int c = 1; c <= count; ++c)
    if (st.MaskDef[level][c][screen] != 'M') cols.push_back(c);
  return cols;
}

// The characters a column takes across the page before the fit: its bytes
// as the sheet view shows them (a wide-text column on its two lines is as
// wide as one line), numeric columns widened by the job.
int ColumnWeight(const ProgramState& st, const PrintJob& job, int level, int c) {
  const int width = std::max(0, st.ColWidth[level][c]);
  if (IsWTypeColumn(st, c, level)) return std::max(1, WColumnLineWidth(width));
  return width + (IsNumericColumn(st, level, c) ? job.numericAdd : 0);
}

std::vector<PageComposer::Column> Layout(const ProgramState& st, const PageLook& look, const PrintJob& job, int level,
                                         double left, int printColumns) {
  const std::vector<int> shown = ShownColumns(st, look, level);
  std::vector<double> weights;
  double total = 0;
  for (int c : shown) {
    const double w = ColumnWeight(st, job, level, c);
    weights.push_back(w);
    total += w;
  }
  std::vector<PageComposer::Column> out;
  double at = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    const double x = left + (total > 0 ? printColumns * at / total : 0);
    at += weights[i];
    const double x2 = left + (total > 0 ? printColumns * at / total : 0);
    out.push_back({shown[i], x, x2 - x});
  }
  return out;
}

// The row records of the levels above a sheet that does not hang below a
// printed one: the row whose breakdown link names the sheet's first record,
// then the row owning the sheet that row is in, and so on up to level 1.
std::vector<std::string> OwnerRows(const PrintEstimate& e, int level, int first) {
  const int len = e.st.DataLen;
  const bool hex = e.st.H_Link == "16";
  std::vector<std::string> path(static_cast<size_t>(level));
  for (int p = level - 1; p >= 1; --p) {
    const std::string_view bytes = e.levelBytes[static_cast<size_t>(p - 1)];
    const int count = static_cast<int>(bytes.size() / static_cast<size_t>(len));
    const auto rec = [&](int n) { return bytes.substr(static_cast<size_t>(n - 1) * static_cast<size_t>(len), static_cast<size_t>(len)); };
    int owner = 0;
    for (int n = 1; n <= count && owner == 0; ++n)
      if (rec(n)[2] != kClosingKind && BaseStrToNum(LinkField(rec(n), kChildPos), hex) == first) owner = n;
    if (owner == 0) break;
    path[static_cast<size_t>(p)] = std::string(rec(owner));
    if (p == 1) break;
    std::unordered_map<int, int> before;
    for (int n = 1; n <= count; ++n) {
      const int next = BaseStrToNum(LinkField(rec(n), kNextPos), hex);
      if (next >= 1 && next <= count && next != n) before.emplace(next, n);
    }
    int r = owner;
    for (int steps = 0; steps < count; ++steps) {
      const auto it = before.find(r);
      if (it == before.end()) break;
      r = it->second;
    }
    first = r;
  }
  return path;
}

}  // namespace

std::vector<int> CaptionGroups(const PrintEstimate& e, const PageLook& look, const PrintJob& job) {
  const ProgramState& st = e.st;
  std::vector<std::vector<std::pair<int, std::string>>> seen;
  std::vector<int> groups(9, 0);
  for (int level = 1; level <= 8; ++level) {
    std::vector<std::pair<int, std::string>> key;
    for (int c : ShownColumns(st, look, level))
      key.emplace_back(ColumnWeight(st, job, level, c), std::string(FieldBytes(st, st.LevelCaption[level], c, level)));
    auto it = std::find(seen.begin(), seen.end(), key);
    groups[static_cast<size_t>(level)] = static_cast<int>(it - seen.begin());
    if (it == seen.end()) seen.push_back(std::move(key));
  }
  return groups;
}

PageComposer::PageComposer(PrintEstimate& e, const PageForm& form, const PageLook& look, const PrintJob& job,
                           const PrintRun& run, std::vector<std::vector<SheetPicture>> pictures)
    : e_(e), form_(form), look_(look), job_(job), run_(run), pictures_(std::move(pictures)) {
  left_ = form.leftMargin / 2.0 + form.leftSpacing;
  right_ = left_ + form.printColumns;
  top_ = form.topMargin / 2.0;
  columns_.resize(9);
  for (int level = 1; level <= 8; ++level)
    columns_[static_cast<size_t>(level)] = Layout(e.st, look, job, level, left_, form.printColumns);

  // Titles: the estimate's name for level 1, else the headings of the rows
  // on the sheet's path, as the editor's level bar shows them.
  ProgramState& st = e.st;
  std::vector<std::vector<std::string>> paths(run.sheets.size());
  for (size_t i = 0; i < run.sheets.size(); ++i) {
    const PrintSheet& s = run.sheets[i];
    if (s.parent < 0) {
      paths[i] = OwnerRows(e, s.level, s.firstRecord);
    } else {
      paths[i] = paths[static_cast<size_t>(s.parent)];
      paths[i].resize(static_cast<size_t>(s.level));
      paths[i][static_cast<size_t>(s.level - 1)] = std::string(Record(s.level - 1, s.parentRecord));
    }
    std::string title;
    if (s.level == 1) {
      title = e.name;
    } else {
      for (int p = 1; p < s.level; ++p) {
        st.ParentRows[p] = paths[i][static_cast<size_t>(p)];
        const std::string caption = Trimmed(ParentHeadingCaption(st, p));
        if (caption.empty() || caption == ":") continue;
        title += (title.empty() ? "" : " ") + caption;
      }
    }
    titles_.push_back(title);
  }
}

std::string_view PageComposer::Record(int level, int n) const {
  const size_t len = static_cast<size_t>(e_.st.DataLen);
  const std::string& bytes = e_.levelBytes[static_cast<size_t>(level - 1)];
  const size_t at = static_cast<size_t>(n - 1) * len;
  return at + len <= bytes.size() ? std::string_view(bytes).substr(at, len) : std::string_view();
}

const std::vector<PageComposer::Column>& PageComposer::ColumnsOf(int level) const {
  return columns_[static_cast<size_t>(std::clamp(level, 0, 8))];
}

void PageComposer::AddText(PageBoxes& b, double x, double y, double w, double h, std::string sjis, Align align) const {
  const std::string_view t = TrimBlanks(sjis);
  if (t.empty()) return;
  b.texts.push_back({x + kPad, y, std::max(0.0, w - 2 * kPad), h, FromSjis(t), static_cast<int>(t.size()), align});
}

void PageComposer::RowTexts(PageBoxes& b, int level, std::string_view rec, double y) const {
  const ProgramState& st = e_.st;
  const char kind = rec[kKindPos - 1];
  if (OneOf(kMemoKinds, kind)) {
    AddText(b, left_, y, right_ - left_, 2, CutToBytes(rec.substr(kColumnDataPos - 1), st.MemoRowMax), Align::Left);
    return;
  }
  for (const Column& col : ColumnsOf(level)) {
    const int c = col.column;
    const std::string_view field = FieldBytes(st, rec, c, level);
    if (IsNumericColumn(st, level, c) && kind != 'Q') {
      std::string text(field);
      NumCommaFormat(st, level, text, c);
      AddText(b, col.x, y, col.width, 2, std::move(text), Align::Right);
    } else if (IsWTypeColumn(st, c, level)) {
      const std::string split = CellTextSplit(st, field, c, level);
      const size_t br = split.find("\r\n");
      if (br == std::string::npos || TrimBlanks(std::string_view(split).substr(br + 2)).empty()) {
        AddText(b, col.x, y, col.width, 2, split.substr(0, br), Align::Left);
      } else {
        AddText(b, col.x, y, col.width, 1, split.substr(0, br), Align::Left);
        AddText(b, col.x, y + 1, col.width, 1, split.substr(br + 2), Align::Left);
      }
    } else {
      AddText(b, col.x, y, col.width, 2, std::string(field), Align::Left);
    }
  }
}

void PageComposer::TotalsTexts(PageBoxes& b, int level, std::string_view rec, double y) const {
  const ProgramState& st = e_.st;
  for (const Column& col : ColumnsOf(level)) {
    const int c = col.column;
    const std::string_view field = FieldBytes(st, rec, c, level);
    if (!TrimBlanks(st.ColTotalKind[level][c]).empty()) {
      std::string text(field);
      NumCommaFormat(st, level, text, c);
      AddText(b, col.x, y, col.width, 1, std::move(text), Align::Right);
    } else {
      // A two-line column shows its first line.
      const int shown = IsWTypeColumn(st, c, level) ? WColumnLineWidth(st.ColWidth[level][c]) : st.ColWidth[level][c];
      AddText(b, col.x, y, col.width, 1, CutToBytes(field.substr(0, field.find('\r')), shown), Align::Left);
    }
  }
}

void PageComposer::CaptionTexts(PageBoxes& b, int level, double y) const {
  const ProgramState& st = e_.st;
  for (const Column& col : ColumnsOf(level))
    AddText(b, col.x, y, col.width, 1, std::string(FieldBytes(st, st.LevelCaption[level], col.column, level)),
            Align::Center);
}

void PageComposer::Header(PageBoxes& b, const PrintPage& page) const {
  const double width = right_ - left_;
  double titleLeft = left_, titleRight = right_;
  if (job_.companyName && !TrimBlanks(look_.companyName).empty()) {
    const std::string name = ToSjis(look_.companyName);
    const double w = std::min<double>(TrimBlanks(name).size() + 2 * kPad, width / 2);
    double x = right_ - w;
    Align align = Align::Right;
    if (look_.namePosition == "左") {
      x = left_;
      align = Align::Left;
      titleLeft = left_ + w + 1;
    } else if (look_.namePosition == "中") {
      x = left_ + (width - w) / 2;
      align = Align::Center;
      titleRight = x - 1;
    } else {
      titleRight = x - 1;
    }
    AddText(b, x, top_, w, 1, name, align);
  }
  if (page.headSheet >= 0)
    AddText(b, titleLeft, top_, titleRight - titleLeft, 1, ToSjis(titles_[static_cast<size_t>(page.headSheet)]),
            Align::Left);
}

void PageComposer::Footer(PageBoxes& b, const PrintPage& page) const {
  const double y = top_ + 2 + 2.0 * form_.rowsPerPage + 2;
  const double third = (right_ - left_) / 3;
  const std::string& pos = job_.footerPosition;
  const bool titled = !job_.footerTitle.empty();
  if (titled) {
    const double x = pos == "中" ? left_ + third : pos == "右" ? right_ - third : left_;
    AddText(b, x, y, third, 1, ToSjis(job_.footerTitle), pos == "中" ? Align::Center : pos == "右" ? Align::Right : Align::Left);
  }
  if (page.number > 0) {
    const bool right = titled && pos == "中";
    AddText(b, right ? right_ - third : left_ + third, y, third, 1, ToSjis(PageNumberText(look_.pageFormat, page.number)),
            right ? Align::Right : Align::Center);
  }
}

void PageComposer::Lines(PageBoxes& b, const PrintPage& page) const {
  if (!job_.ruledLines) return;
  const int rows = form_.rowsPerPage;
  // A master list has no totals line: the frame closes below the rows.
  const bool totalsLine = !job_.masterList;
  const double captionY = top_ + 1, rowsY = top_ + 2, totalsY = rowsY + 2.0 * rows;
  const double bottom = totalsLine ? totalsY + 1 : totalsY;
  const auto line = [&](double x1, double y1, double x2, double y2, int weight, bool dotted = false) {
    b.lines.push_back({x1, y1, x2, y2, weight, dotted});
  };
  const int headLevel = page.headSheet >= 0 ? run_.sheets[static_cast<size_t>(page.headSheet)].level : 1;

  // Column separators, run by run of lines that share the columns of a
  // level; memo rows and headings lie across them.
  const auto columnsAt = [&](int level, double y1, double y2) {
    const std::vector<Column>& cols = ColumnsOf(level);
    for (size_t i = 1; i < cols.size(); ++i) line(cols[i].x, y1, cols[i].x, y2, 0);
  };
  int runLevel = headLevel;
  double runTop = captionY;
  const auto endRun = [&](double y) {
    if (y > runTop) columnsAt(runLevel, runTop, y);
  };
  for (int i = 0; i < rows; ++i) {
    const PageSlot& slot = page.places[static_cast<size_t>(i)];
    const double y = rowsY + 2.0 * i;
    const int level = slot.sheet >= 0 ? run_.sheets[static_cast<size_t>(slot.sheet)].level : runLevel;
    bool across = slot.kind == SlotKind::Heading;
    if (slot.kind == SlotKind::Row) {
      const PrintSheet& s = run_.sheets[static_cast<size_t>(slot.sheet)];
      across = OneOf(kMemoKinds, Record(s.level, s.rows[static_cast<size_t>(slot.row)])[kKindPos - 1]);
    }
    if (across || level != runLevel) {
      endRun(y);
      runLevel = level;
      runTop = across ? y + 2 : y;
    }
    // The line above the slot: ruled over a total row, dotted otherwise.
    if (i > 0) {
      bool total = slot.kind == SlotKind::Heading || slot.kind == SlotKind::Totals;
      if (slot.kind == SlotKind::Row) {
        const PrintSheet& s = run_.sheets[static_cast<size_t>(slot.sheet)];
        total = OneOf(kTotalKinds, Record(s.level, s.rows[static_cast<size_t>(slot.row)])[kKindPos - 1]);
      }
      if (total) {
        line(left_, y, right_, y, look_.totalOverline);
      } else {
        const std::vector<Column>& cols = ColumnsOf(runLevel);
        const double from = look_.itemSeparatorsOff && !cols.empty() ? cols.front().x + cols.front().width : left_;
        line(from, y, right_, y, look_.dottedEmphasis, true);
      }
    }
  }
  endRun(totalsY);
  line(left_, rowsY, right_, rowsY, look_.itemUnderline);
  if (totalsLine) {
    const int totalsLevel = page.totalsSheet >= 0 ? run_.sheets[static_cast<size_t>(page.totalsSheet)].level : runLevel;
    columnsAt(totalsLevel, totalsY, bottom);
    line(left_, totalsY, right_, totalsY, look_.totalOverline);
  }
  // The frame.
  line(left_, captionY, right_, captionY, look_.frame);
  line(left_, bottom, right_, bottom, look_.frame);
  line(left_, captionY, left_, bottom, look_.frame);
  line(right_, captionY, right_, bottom, look_.frame);
}

void PageComposer::Pictures(PageBoxes& b, const PrintPage& page) const {
  if (pictures_.empty()) return;
  const double rowsY = top_ + 2;
  // The sheet row of each place of the page: its row, or, printing by the
  // plan, the grid row that line of the head sheet holds (the rows below the
  // sheet's last one go on a line each).
  std::vector<std::unordered_map<int, double>> lineOf(run_.sheets.size());  // per sheet: row -> y
  for (size_t i = 0; i < page.places.size(); ++i) {
    const PageSlot& slot = page.places[i];
    const double y = rowsY + 2.0 * static_cast<double>(i);
    if (slot.kind == SlotKind::Row) {
      lineOf[static_cast<size_t>(slot.sheet)].emplace(slot.row + 1, y);
    } else if (page.firstLine >= 0 && page.headSheet >= 0) {
      const PrintSheet& s = run_.sheets[static_cast<size_t>(page.headSheet)];
      const size_t line = static_cast<size_t>(page.firstLine) + i;
      const int row = line < s.lineRows.size() ? s.lineRows[line]
                                               : static_cast<int>(s.rows.size() + line - s.lineRows.size()) + 1;
      lineOf[static_cast<size_t>(page.headSheet)].emplace(row, y);
    }
  }
  for (size_t si = 0; si < pictures_.size() && si < run_.sheets.size(); ++si) {
    if (pictures_[si].empty() || lineOf[si].empty()) continue;
    const std::vector<Column>& cols = ColumnsOf(run_.sheets[si].level);
    for (const SheetPicture& pic : pictures_[si]) {
      double x1 = 1e9, x2 = -1e9;
      for (const Column& c : cols)
        if (c.column >= pic.col1 && c.column <= pic.col2) {
          x1 = std::min(x1, c.x);
          x2 = std::max(x2, c.x + c.width);
        }
      // The rows of it on this page; the whole picture reaches on above and
      // below them over the rows on the pages before and after.
      int top = 0, bottom = 0;
      double y1 = 1e9, y2 = -1e9;
      for (const auto& [row, y] : lineOf[si])
        if (row >= pic.row1 && row <= pic.row2) {
          if (y < y1) y1 = y, top = row;
          if (y + 2 > y2) y2 = y + 2, bottom = row;
        }
      if (x2 <= x1 || y2 <= y1) continue;
      const double fullTop = y1 - 2.0 * (top - pic.row1), fullBottom = y2 + 2.0 * (pic.row2 - bottom);
      b.pictures.push_back({x1, fullTop, x2 - x1, fullBottom - fullTop, y1, y2, &pic.data});
    }
  }
}

void PageComposer::Compose(const PrintPage& page, PageBoxes& b) const {
  b.texts.clear();
  b.lines.clear();
  b.pictures.clear();
  const int headLevel = page.headSheet >= 0 ? run_.sheets[static_cast<size_t>(page.headSheet)].level : 1;
  Header(b, page);
  CaptionTexts(b, headLevel, top_ + 1);
  const double rowsY = top_ + 2;
  for (size_t i = 0; i < page.places.size(); ++i) {
    const PageSlot& slot = page.places[i];
    if (slot.kind == SlotKind::Empty) continue;
    const PrintSheet& s = run_.sheets[static_cast<size_t>(slot.sheet)];
    const double y = rowsY + 2.0 * static_cast<double>(i);
    switch (slot.kind) {
      case SlotKind::Row: RowTexts(b, s.level, Record(s.level, s.rows[static_cast<size_t>(slot.row)]), y); break;
      case SlotKind::Heading:
        AddText(b, left_, y, right_ - left_, 2, ToSjis(titles_[static_cast<size_t>(slot.sheet)]), Align::Left);
        break;
      case SlotKind::Captions: CaptionTexts(b, s.level, y + 0.5); break;
      case SlotKind::Totals: TotalsTexts(b, s.level, Record(s.level, s.closingRecord), y + 0.5); break;
      case SlotKind::Empty: break;
    }
  }
  if (page.totalsSheet >= 0) {
    const PrintSheet& s = run_.sheets[static_cast<size_t>(page.totalsSheet)];
    if (s.closingRecord > 0) TotalsTexts(b, s.level, Record(s.level, s.closingRecord), rowsY + 2.0 * form_.rowsPerPage);
  }
  Footer(b, page);
  Lines(b, page);
  Pictures(b, page);
}

}  // namespace kv::print_program
