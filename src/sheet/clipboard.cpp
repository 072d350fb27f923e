#include "sheet/clipboard.h"

#include <algorithm>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "core/column_letter.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "sheet/cell_commit.h"
#include "sheet/column_links.h"
#include "sheet/last_used_row.h"
#include "sheet/sheet_fields.h"
#include "sheet/sheet_painting.h"
#include "sheet/undo_clear.h"
#include "sheet/wide_text_cells.h"
#include "state/calc_services.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {
namespace {

constexpr std::string_view kCrLf = "\r\n";
// Memo-type rows keep one text from byte 20 across the column fields; "G"
// is a sheet's closing record.
constexpr std::string_view kPassedOverKinds = "123HD\xD2G";

// A fitted number that did not fit its column: a run of "+" or of "-".
bool IsOverflowMark(std::string_view fitted) {
  return !fitted.empty() && (fitted.find_first_not_of('+') == std::string_view::npos ||
                             fitted.find_first_not_of('-') == std::string_view::npos);
}

char TypeOf(const ProgramState& st, int level, int col) {
  const std::string& type = st.ColType[level][col];
  return type.empty() ? ' ' : type.front();
}

// The first LF of a cell that is not already behind a CR becomes CR LF.
void FirstLfToCrLf(std::string& cell) {
  const size_t lf = cell.find('\n');
  if (lf != std::string::npos && (lf == 0 || cell[lf - 1] != '\r')) cell.insert(lf, "\r");
}

// The clipboard text as the paste reads it: control characters other than
// Tab, CR and LF blanked (no Shift-JIS trail byte lies below 0x40, so this
// never touches half a character), each LF of a text without any CR a line
// end, and a CR LF at the end.
std::string PasteText(std::string t) {
  bool hasCr = false;
  for (char& c : t) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u == '\r') hasCr = true;
    if ((u < 0x20 && u != '\t' && u != '\r' && u != '\n') || u == 0x7F) c = ' ';
  }
  if (!hasCr && t.find('\n') != std::string::npos) {
    std::string lines;
    lines.reserve(t.size() + t.size() / 8);
    for (char c : t) {
      if (c == '\n') lines += '\r';
      lines += c;
    }
    t.swap(lines);
  }
  if (t.size() < 2 || t.compare(t.size() - 2, 2, kCrLf) != 0) t += kCrLf;
  return t;
}

// The cell as ClipboardPut writes it: line 1, and LF and line 2 when the
// field holds two lines.
std::string PutCell(std::string_view field) {
  const DanLines d = Text2DanSplit(field, kDanSplit);
  return d.position == 0 ? d.line1 : d.line1 + "\n" + d.line2;
}

std::string PutText(const ProgramState& st) {
  const int level = st.CurrentLevel;
  std::string s;
  for (int r = st.SelTop; r <= st.SelBottom; ++r) {
    const std::string& rec = st.SheetRows[static_cast<size_t>(std::clamp(r, 0, kMaxSheetRows + 1))];
    for (int c = st.SelLeft; c <= st.SelRight; ++c) {
      s += PutCell(FieldBytes(st, rec, c, level));
      if (c != st.SelRight) s += '\t';
    }
    s += kCrLf;
  }
  return s;
}

void PutError(ProgramState& st, const char* what, int number) {
  WarnMsgBox(st, std::string(what) + "\n(ClipboardPutErr ｴﾗｰNo" + StrNum(number) + ")");
}

// Runs one step of the put; an error is reported and the put goes on.
template <typename Step>
bool PutStep(ProgramState& st, Step step) {
  try {
    step();
    return true;
  } catch (const std::bad_alloc& e) {
    PutError(st, e.what(), 7);
  } catch (const std::exception& e) {
    PutError(st, e.what(), 5);
  }
  return false;
}

// One paste: the cell table read from the text, then written.
class Paste {
 public:
  Paste(ProgramState& st, GridModel& grid)
      : st_(st), grid_(grid), level_(st.CurrentLevel), imax_(SheetRowLimit(st)), row_(st.CurrentRow),
        col_(st.CurrentCol), cols_(std::min(st.ColCount[static_cast<size_t>(st.CurrentLevel)], kMaxColumns)) {}

  // False when the text does not fit (the message has been shown). A line
  // with cells that would land below the sheet's last row refuses the
  // paste wherever it starts; empty lines there are passed over.
  bool Read(std::string_view t) {
    lines_.reserve(static_cast<size_t>(std::max(imax_ - row_ + 1, 0)));
    size_t pos = 0;
    while (pos < t.size()) {
      const size_t end = t.find(kCrLf, pos);
      const std::string_view line = t.substr(pos, end - pos);
      pos = end == std::string_view::npos ? t.size() : end + kCrLf.size();
      if (row_ + static_cast<int>(lines_.size()) > imax_) {
        if (line.empty()) continue;
        return Refused();
      }
      lines_.emplace_back();
      if (!line.empty() && !ReadLine(line, lines_.back())) return false;
    }
    return true;
  }

  void Write() {
    const int oldUsed = st_.UsedRows;
    int last = std::min(row_ + static_cast<int>(lines_.size()), imax_);
    const int selBottom = std::min(st_.SelBottom, imax_);
    std::vector<std::string> line;
    std::vector<bool> failed;
    if (lines_.size() == 1 && st_.SelTop < selBottom) {
      // One line over a selection of rows: every selected row takes it.
      Prepared(lines_.front(), line, failed);
      const int rows = selBottom - st_.SelTop;
      for (int r = row_; r <= std::min(row_ + rows, imax_); ++r) WriteRow(r, line, failed);
      last = row_ + rows + 1;
    } else {
      for (size_t i = 0; i < lines_.size(); ++i) {
        const int r = row_ + static_cast<int>(i);
        if (r > imax_) break;
        Prepared(lines_[i], line, failed);
        WriteRow(r, line, failed);
      }
    }
    Finish(oldUsed, last);
    if (failedCells_ > 0) WarnMsgBox(st_, PasteFormulaFailedMessage(failedCells_));
  }

 private:
  bool Refused() {
    WarnMsgBox(st_, kPasteRangeMessage);
    st_.ui.SetBusyPointer(false);
    return false;
  }

  bool ReadLine(std::string_view line, std::vector<std::string>& cells) {
    size_t pos = 0;
    while (pos < line.size()) {
      const size_t tab = line.find('\t', pos);
      std::string cell(line.substr(pos, tab == std::string_view::npos ? std::string_view::npos : tab - pos));
      const bool last = tab == std::string_view::npos;
      pos = last ? line.size() : tab + 1;
      cells.push_back(std::string());
      width_ = std::max(width_, static_cast<int>(cells.size()));
      if (row_ + static_cast<int>(lines_.size()) - 1 > imax_ || col_ + width_ - 1 > cols_) return Refused();
      if (last && IsWColumn(st_, col_, level_)) {
        std::string shown = FromSjis(cell);
        cell = ToSjis(CellTextFit(st_, shown, static_cast<int>(cells.size())));
      }
      FirstLfToCrLf(cell);
      cells.back() = std::move(cell);
    }
    return true;
  }

  // The texts of a line as they go into their columns, into `out` (computed
  // columns keep an empty slot); `failed` marks the formulas that could not
  // be evaluated.
  void Prepared(const std::vector<std::string>& cells, std::vector<std::string>& out, std::vector<bool>& failed) {
    out.assign(static_cast<size_t>(width_), std::string());
    failed.assign(static_cast<size_t>(width_), false);
    for (int j = 1; j <= width_; ++j) {
      const int c = col_ + j - 1;
      if (!Writable(c)) continue;
      const size_t i = static_cast<size_t>(j - 1);
      const std::string_view cell = i < cells.size() ? std::string_view(cells[i]) : std::string_view();
      if (IsNumericColumn(st_, level_, c)) {
        bool fails = false;
        out[i] = Prepare(NumberOf(cell, fails), c);
        failed[i] = fails;
      } else {
        out[i] = Prepare(cell, c);
      }
    }
  }

  // A numeric column's text: a number as a whole as it is; any other text
  // (a formula such as "2*3") evaluated as a typed entry is, its value, or
  // nothing when it fails. Commas are removed first, as from a typed entry.
  std::string NumberOf(std::string_view cell, bool& failed) {
    std::string text = CommaStrip(TrimBlanks(cell));
    if (text.empty() || IsPlainNumber(text) || IsOverflowMarkText(text) || st_.calc == nullptr) return text;
    std::string result = st_.calc->FormulaEvaluate(st_, {}, text);
    if (!st_.calc->IsFormulaError(result)) return result;
    failed = true;
    return std::string();
  }

  // A sign, digits and at most one decimal point, at least one digit.
  static bool IsPlainNumber(std::string_view text) {
    if (text.front() == '-' || text.front() == '+') text.remove_prefix(1);
    const size_t point = text.find('.');
    return text.find_first_of("0123456789") != std::string_view::npos &&
           text.find_first_not_of("0123456789.") == std::string_view::npos &&
           (point == std::string_view::npos || text.find('.', point + 1) == std::string_view::npos);
  }

  bool Writable(int c) const { return IsLevelColumn(st_, level_, c) && st_.ColFormula[level_][c].empty(); }

  std::string Prepare(std::string_view cell, int c) const {
    const int w = st_.ColWidth[level_][c];
    std::string number;
    if (IsNumericColumn(st_, level_, c)) {
      number = std::string(cell);
      NumFitColumn(st_, level_, number, c);
      cell = number;
    }
    const std::string_view x = cell;
    if (TypeOf(st_, level_, c) == 'W') {
      if (x.find('\n') != std::string_view::npos) return std::string(x);
      const int h = WColumnLineWidth(w);
      const std::string line1 = LeftByBytesAnsi(x, h);
      const std::string line2 = FitBytes(x.substr(line1.size()), h);
      return IsBlank(line2) ? FitBytes(line1, h) : FitBytes(line1, h) + std::string(kCrLf) + line2;
    }
    return FitBytes(x, w);
  }

  void WriteRow(int r, const std::vector<std::string>& line, const std::vector<bool>& failed) {
    std::string& rec = st_.SheetRows[static_cast<size_t>(r)];
    const char kind = RecordByte(rec, kKindPos);
    if (kind != ' ' && kPassedOverKinds.find(kind) != std::string_view::npos) return;
    for (int j = 1; j <= width_; ++j) {
      const int c = col_ + j - 1;
      if (!Writable(c)) continue;
      WriteCell(rec, r, c, line[static_cast<size_t>(j - 1)]);
      if (failed[static_cast<size_t>(j - 1)]) ++failedCells_;
    }
  }

  // Writes one cell into the record. Its grid cell (and those a link or a
  // code fills) is painted once, when the pasted rows are repainted at the
  // end from their records.
  void WriteCell(std::string& rec, int r, int c, const std::string& x) {
    const int start = st_.ColStart[level_][c];
    const int w = st_.ColWidth[level_][c];
    if (static_cast<int>(x.size()) == w && start >= 1 && start - 1 + w <= static_cast<int>(rec.size()))
      rec.replace(static_cast<size_t>(start - 1), x.size(), x);  // fitted already
    else
      FieldStore(st_, rec, c, level_, x);
    // A number is fitted once more from what the field holds: a fitted value
    // stays as it is, an overflow mark reads as no number and blanks.
    if (IsNumericColumn(st_, level_, c) && IsOverflowMark(x)) {
      std::string v(TrimBlanks(FieldBytes(st_, rec, c, level_)));
      NumFitColumn(st_, level_, v, c);
      FieldStore(st_, rec, c, level_, v);
    }
    ABLinkUpdate(st_, grid_, c, r);
    if (TypeOf(st_, level_, c) == 'I') CodeLookUp(rec, c);
    if (st_.SystemKind == 1 && st_.calc != nullptr) st_.calc->ZokuPairUpdate(st_, rec, level_, c, r);
  }

  // A code column: the name of a known code into the next column; an
  // unknown code is removed with its name.
  void CodeLookUp(std::string& rec, int c) {
    const std::string& type = st_.ColType[level_][c];
    const int table = type.size() > 1 && type[1] >= '0' && type[1] <= '9' ? type[1] - '0' : -1;
    std::string name;
    const bool found = SiwakeItemFind(st_, table, TrimBlanks(FieldBytes(st_, rec, c, level_)), name);
    if (!found) FieldStore(st_, rec, c, level_, "");
    if (IsLevelColumn(st_, level_, c + 1)) FieldStore(st_, rec, c + 1, level_, found ? name : std::string());
  }

  void Finish(int oldUsed, int last) {
    last = std::min(last, imax_);
    st_.UsedRows = LastUsedRow(st_);
    st_.SheetModified = true;
    if (st_.sheetEngine != nullptr) st_.sheetEngine->StatusPanelSet(st_, 2, StrNum(st_.UsedRows) + " 行");
    for (int j = 1; j <= width_; ++j) {
      const int c = col_ + j - 1;
      if (!IsNumericColumn(st_, level_, c)) continue;
      RowsCalc(last, c);
      for (int k = 1; k <= std::min(st_.ABLinkCount, 3); ++k) {
        const int dst = st_.ABLinkDst[static_cast<size_t>(k)];
        if (st_.ABLinkSrc[static_cast<size_t>(k)] == c && IsNumericColumn(st_, level_, dst)) RowsCalc(last, dst);
      }
    }
    if (st_.ReCalcFlag && st_.calc != nullptr)
      st_.calc->LevelRecalcAndShow(st_, st_.SheetTotalRecord, row_ + 1, st_.UsedRows);
    for (int r = oldUsed + 1; r <= st_.UsedRows - 1; ++r) SetCellTextColor32(grid_, 0, r, 0);
    RowDisplay(st_, grid_, row_, last);
  }

  // The pasted rows' row definitions recomputed after column `c` changed.
  // When no row definition of the level names the column, that computes and
  // paints nothing: only the last item row is run, which leaves the
  // calculator's column variables as the full run leaves them.
  void RowsCalc(int last, int c) {
    if (ReadByRowDefinition(c)) {
      RowsFormulaCalc(st_, grid_, row_, last, c, -1);
      return;
    }
    for (int r = std::min(last, imax_); r >= std::max(row_, 1); --r) {
      if (RecordByte(st_.SheetRows[static_cast<size_t>(r)], kKindPos) != ' ') continue;
      RowsFormulaCalc(st_, grid_, r, r, c, -1);
      return;
    }
  }

  // True when a row definition of the level reads column `c` ("[[" and its
  // letter), as the recomputation tests it.
  bool ReadByRowDefinition(int c) const {
    const std::string key = "[[" + ColNumToLetter(c);
    for (const std::string& def : st_.ColFormula[level_])
      if (def.find(key) != std::string::npos) return true;
    return false;
  }

  ProgramState& st_;
  GridModel& grid_;
  const int level_;
  const int imax_;
  const int row_;
  const int col_;
  const int cols_;
  std::vector<std::vector<std::string>> lines_;
  int width_ = 0;
  int failedCells_ = 0;  // formulas that could not be evaluated, left blank
};

}  // namespace

std::string PasteFormulaFailedMessage(int cells) {
  return "計算できない式が " + StrNum(cells) + " セルありました。空白にしました。";
}

void ClipboardPut(ProgramState& st) {
  std::string s;
  if (!PutStep(st, [&] { s = PutText(st); })) s.clear();
  if (!PutStep(st, [&] { st.ui.SetClipboardText(FromSjis(s)); }))
    PutStep(st, [&] { st.ui.SetClipboardText({}); });
}

void ClipboardPaste(ProgramState& st, GridModel& grid) {
  if (st.CurrentCol == 0 || st.CurrentRow == 0) return;
  std::string t = ToSjis(st.ui.ClipboardText());
  if (t.empty()) return;
  UndoSave(st, grid);
  Paste paste(st, grid);
  if (paste.Read(PasteText(std::move(t)))) paste.Write();
}

}  // namespace kv
