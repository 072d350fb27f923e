#include "sheet/cell_commit.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/key_filters.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "sheet/cell_text_store.h"
#include "sheet/column_links.h"
#include "sheet/last_used_row.h"
#include "sheet/selection_helpers.h"
#include "sheet/sheet_fields.h"
#include "sheet/sheet_painting.h"
#include "sheet/undo_clear.h"
#include "state/calc_services.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/siwake_code.h"
#include "state/warn_msg_box.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {
namespace {

constexpr char kMemoKind = '\xD2';  // ﾒ
constexpr char kSpecialMemoKind = 'Q';
constexpr int kMemoTextStart = 20;
constexpr const char* kClassifyWindow = "KvSiwa_Frm";

char TypeOf(const ProgramState& st, int level, int col) {
  const std::string& type = st.ColType[level][col];
  return type.empty() ? ' ' : type.front();
}

// The computed total rows whose numeric and formula-text cells take no
// entry; in the government-office tax mode the tax row "ｼ" does.
std::string_view RefusingKinds(const ProgramState& st) {
  return st.GovTaxMode ? std::string_view("#%$\xB1\xB2\xB3K") : std::string_view("#%$\xB1\xB2\xB3\xBCK");
}

// The master number a code column's type names (characters 2-3), -1 when
// it is no whole number.
int MasterNumber(std::string_view type) {
  const double v = LeadingNumberValue(type.size() > 1 ? type.substr(1, 2) : std::string_view());
  const int n = static_cast<int>(v);
  return static_cast<double>(n) == v ? n : -1;
}

bool IsPlainNumberText(std::string_view text) {
  return text.find_first_not_of("0123456789.") == std::string_view::npos;
}

// Reads as a number: blanks around, a sign, digits with separators and one
// decimal point, at least one digit.
bool ReadsAsNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  bool digit = false, point = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') digit = true;
    else if (c == '.' && !point) point = true;
    else if (c != ',') return false;
  }
  return digit;
}

// True when the plain number (digits and points, read up to a second point)
// is greater than the largest value of a column `width` bytes wide with
// `decimals` decimals: width - decimals - 1 nines, a point and `decimals`
// nines, or `width` nines without decimals.
bool TooManyDigits(std::string_view text, int width, int decimals) {
  const size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  fraction = fraction.substr(0, fraction.find('.'));
  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  const int wholeDigits = std::max(decimals > 0 ? width - decimals - 1 : width, 0);
  if (static_cast<int>(whole.size()) != wholeDigits) return static_cast<int>(whole.size()) > wholeDigits;
  if (whole.find_first_not_of('9') != std::string_view::npos) return false;
  // The whole digits are all nines: the fraction decides.
  for (size_t i = 0; i < fraction.size(); ++i) {
    const char limit = static_cast<int>(i) < decimals ? '9' : '0';
    if (fraction[i] != limit) return fraction[i] > limit;
  }
  return false;
}

// A fitted number that did not fit: a run of "+" or of "-".
bool IsOverflowMark(std::string_view fitted) {
  return !fitted.empty() && (fitted.find_first_not_of('+') == std::string_view::npos ||
                             fitted.find_first_not_of('-') == std::string_view::npos);
}

// One commit into the cursor cell.
class Commit {
 public:
  Commit(ProgramState& st, GridModel& grid)
      : st_(st),
        grid_(grid),
        level_(st.CurrentLevel),
        row_(st.CurrentRow),
        col_(st.CurrentCol),
        rec_(st.SheetRows[static_cast<size_t>(std::clamp(st.CurrentRow, 0, kMaxSheetRows + 1))]),
        width_(IsLevelColumn(st, level_, col_) ? st.ColWidth[level_][col_] : 0),
        kind_(RecordByte(rec_, kKindPos)),
        type_(IsLevelColumn(st, level_, col_) ? TypeOf(st, level_, col_) : ' '),
        numeric_(IsNumericColumn(st, level_, col_)),
        oldUsed_(st.UsedRows) {}

  bool Run(std::string text) {
    if (row_ < 1 || row_ > SheetRowLimit(st_) || !IsLevelColumn(st_, level_, col_)) return false;
    if (kind_ == kMemoKind) return MemoRow(std::move(text));
    if ((type_ == 'S' || numeric_) && RefusingKinds(st_).find(kind_) != std::string_view::npos) {
      ShowStored(col_);
      return false;
    }
    UndoSave(st_, grid_);
    if (type_ == 'I') CodeColumn(text);
    if (!numeric_ && LenBSjis(std::string_view(RTrimBlanks(text))) > width_) text = CutToBytes(text, width_);
    if (kind_ == kSpecialMemoKind) return SpecialMemoRow(text);
    if (numeric_ && text.find(',') != std::string::npos) text = CommaStrip(text);
    bool handled = false;
    if (std::string_view("CFSW").find(type_) != std::string_view::npos) {
      handled = TextColumn(text);
    } else if (numeric_ && !NumericColumn(text)) {
      return false;
    }
    End(numeric_ || type_ == 'S' || handled);
    return true;
  }

 private:
  void Show(int col, std::string_view bytes) { SetTextData32(grid_, col, row_, FromSjis(bytes)); }

  // The cell's stored value as the sheet shows it.
  void ShowStored(int col) {
    std::string text(FieldBytes(st_, rec_, col, level_));
    if (IsNumericColumn(st_, level_, col)) {
      NumCommaFormat(st_, level_, text, col);
      Show(col, text);
    } else {
      SetTextData32(grid_, col, row_, RTrimBlanks(FromSjis(text)));
    }
  }

  void Store(int col, std::string_view bytes) { FieldStore(st_, rec_, col, level_, bytes); }

  void Advance() { AutoAdvanceCell(st_, grid_); }

  // A memo row is one text from byte 20, at most `MemoRowMax` bytes.
  bool MemoRow(std::string text) {
    const int max = std::max(st_.MemoRowMax, 0);
    if (LenBSjis(std::string_view(text)) > max) text = CutToBytes(text, max);
    FieldStore(rec_, kMemoTextStart, max, text, st_.DataLen);
    st_.SheetModified = true;
    SetTextData32(grid_, 1, row_, RTrimBlanks(MidAnsi(rec_, kMemoTextStart, max)));
    Advance();
    return true;
  }

  // A code column: the code and its name (in the column to the right) when
  // the code is in the column's table, else both blanked.
  void CodeColumn(const std::string& text) {
    const std::string code = IsBlank(text) ? std::string() : text;
    const int table = MasterNumber(st_.ColType[level_][col_]);
    std::string name;
    const bool found = SiwakeItemFind(st_, table, TrimBlanks(code), name);
    Show(col_, found ? code : std::string());
    Store(col_, found ? code : std::string());
    const int nameCol = col_ + 1;
    if (!IsLevelColumn(st_, level_, nameCol)) return;
    Show(nameCol, found ? name : std::string());
    Store(nameCol, found ? name : std::string());
  }

  // Stores the text of a text column: a "W" column as its two lines, any
  // other as one line. Answers the text as stored (byte form).
  std::string StoreText(const std::string& text) {
    if (type_ == 'W') {
      std::string shown = FromSjis(text);
      CellTextStore(st_, shown, col_, row_, level_);
      return ToSjis(shown);
    }
    const std::string line = Text2DanSplit(std::string_view(text), kDanJoin).line1;
    Store(col_, line);
    return line;
  }

  // A special memo row keeps what is typed, uncalculated.
  bool SpecialMemoRow(const std::string& text) {
    if (!numeric_) {
      Show(col_, StoreText(text));
    } else if (ReadsAsNumber(text)) {
      const std::string bytes = text.substr(0, static_cast<size_t>(width_));
      SetTextData32(grid_, col_, row_, std::string(static_cast<size_t>((width_ + 1) / 3), ' ') + FromSjis(bytes));
      Store(col_, bytes);
    } else {
      const std::string bytes = LeftByBytesAnsi(text, width_);
      Show(col_, bytes);
      Store(col_, bytes);
    }
    st_.SheetModified = true;
    Advance();
    return true;
  }

  // The row definitions that depend on `col`, then those of the first link's
  // destination of `col`.
  void RowFormulasFrom(int col) {
    if (st_.calc == nullptr) return;
    st_.calc->RowFormulaCalcAt(st_, row_, rec_, col, true);
    const int dst = FirstLinkDestination(st_, col);
    if (IsLevelColumn(st_, level_, dst)) st_.calc->RowFormulaCalcAt(st_, row_, rec_, dst, true);
  }

  // Text columns; true when the equipment edition handled a unit column.
  bool TextColumn(const std::string& text) {
    const std::string stored = StoreText(text);
    Show(col_, stored);
    CellWriteBack(st_, grid_);
    const int valueCol = col_ + 1;
    if (type_ == 'S' && IsLevelColumn(st_, level_, valueCol)) FormulaValue(stored, valueCol);
    if (st_.SystemKind == 1 && st_.calc != nullptr) return st_.calc->ZokuPairUpdate(st_, rec_, level_, col_, row_);
    return false;
  }

  // The value of a formula text into the column to its right. A formula that
  // fails leaves the column's zero form, and its error is shown.
  void FormulaValue(const std::string& formula, int valueCol) {
    std::string error;
    if (!IsBlank(formula) && st_.calc != nullptr) {
      std::string result = st_.calc->FormulaEvaluate(st_, {}, formula);
      if (st_.calc->IsFormulaError(result) && st_.FormulaRangeSign != 0) {
        // Beyond the calculable range: the overflow mark, told after the commit.
        result.assign(static_cast<size_t>(std::max(st_.ColWidth[level_][valueCol], 0)),
                      st_.FormulaRangeSign < 0 ? '-' : '+');
        st_.CalcRangeExceeded = true;
      } else {
        if (st_.calc->IsFormulaError(result)) {
          error = result;
          result.clear();
        }
        NumFitColumn(st_, level_, result, valueCol);
      }
      Store(valueCol, result);
      st_.calc->RowCalc(st_, rec_);
    }
    ShowStored(valueCol);
    ABLinkUpdate(st_, grid_, valueCol, row_);
    RowFormulasFrom(valueCol);
    if (!error.empty()) WarnMsgBox(st_, FromSjis(error));
  }

  bool TooManyDigitsRefused() {
    st_.ui.Beep();
    WarnMsgBox(st_, kTooManyDigitsMessage);
    ShowStored(col_);
    return false;
  }

  // Numeric columns; false when nothing was stored. A formula's value that
  // the column cannot hold is refused as a number with too many digits.
  bool NumericColumn(const std::string& text) {
    std::string result;
    if (IsPlainNumberText(text)) {
      if (TooManyDigits(text, width_, st_.ColDecimals[level_][col_])) return TooManyDigitsRefused();
      result = text;
    } else {
      if (st_.calc == nullptr) {
        ShowStored(col_);
        return false;
      }
      result = st_.calc->FormulaEvaluate(st_, {}, text);
      if (st_.calc->IsFormulaError(result)) {
        WarnMsgBox(st_, FromSjis(result));
        ShowStored(col_);
        return false;
      }
    }
    NumFitColumn(st_, level_, result, col_);
    if (IsOverflowMark(result)) return TooManyDigitsRefused();
    Store(col_, result);
    if (st_.SystemKind == 1) {
      ShowStored(col_);
      ABLinkUpdate(st_, grid_, col_, row_);
      RowFormulasFrom(col_);
    } else {
      if (st_.calc != nullptr) st_.calc->RowCalc(st_, rec_);
      ABLinkUpdate(st_, grid_, col_, row_);
      if (st_.calc != nullptr) {
        st_.calc->RowCalc(st_, rec_);
        st_.calc->RowFormulaCalcAt(st_, row_, rec_, col_, true);
      }
      ShowStored(col_);
    }
    return true;
  }

  void End(bool repaint) {
    st_.UsedRows = LastUsedRow(st_);
    for (int r = oldUsed_ + 1; r <= st_.UsedRows; ++r) SetCellTextColor32(grid_, 0, r, 0);
    for (int r = st_.UsedRows + 1; r <= oldUsed_; ++r) SetCellTextColor32(grid_, 0, r, 7);
    if (repaint || (st_.CustomerVariant && col_ == 10)) {
      // An entry below the used rows makes the blank rows between them used
      // too: they are painted as the sheet's rows, as a repaint would.
      RowDisplay(st_, grid_, st_.UsedRows >= row_ ? std::min(row_, oldUsed_ + 1) : row_, row_);
      if (st_.ReCalcFlag && row_ != SheetRowLimit(st_) + 1 && st_.calc != nullptr)
        st_.calc->LevelRecalcAndShow(st_, st_.SheetTotalRecord, row_ + 1, st_.UsedRows);
    }
    st_.SheetModified = true;
    if (st_.sheetEngine != nullptr) st_.sheetEngine->StatusPanelSet(st_, 2, StrNum(st_.UsedRows) + " 行");
    Advance();
  }

  ProgramState& st_;
  GridModel& grid_;
  const int level_;
  const int row_;
  const int col_;
  std::string& rec_;
  const int width_;
  const char kind_;
  const char type_;
  const bool numeric_;
  const int oldUsed_;
};

}  // namespace

bool CellCommit(ProgramState& st, GridModel& grid, std::string text) {
  st.CalcRangeExceeded = false;
  const bool stored = Commit(st, grid).Run(std::move(text));
  st.CellCommitting = false;
  if (st.CalcRangeExceeded) {
    st.CalcRangeExceeded = false;
    WarnMsgBox(st, kBeyondRangeMessage);
  }
  return stored;
}

bool SiwakeItemFind(const ProgramState& st, int table, std::string_view code, std::string& name) {
  if (table < 0 || table >= kCodeTableCount) return false;
  const auto& entries = st.CodeTables[static_cast<size_t>(table)];
  code = TrimBlanks(code);
  int low = 1;
  int high = std::min(st.CodeTableCounts[static_cast<size_t>(table)], static_cast<int>(entries.size()));
  while (low <= high) {
    const int mid = (low + high) / 2;
    const CodeTableEntry& entry = entries[static_cast<size_t>(mid - 1)];
    const int order = SiwakeCodeCompare(code, entry.code);
    if (order > 0) {
      low = mid + 1;
    } else if (order == 0) {
      name = std::string(TrimBlanks(entry.name));
      return true;
    } else {
      high = mid - 1;
    }
  }
  return false;
}

std::string CommaStrip(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != ',') out.push_back(c);
  return out;
}

void RowsFormulaCalc(ProgramState& st, GridModel&, int first, int last, int col, int flag) {
  if (st.calc == nullptr) return;
  const int limit = SheetRowLimit(st);
  for (int r = std::max(first, 1); r <= std::min(last, limit); ++r) {
    std::string& rec = st.SheetRows[static_cast<size_t>(r)];
    if (RecordByte(rec, kKindPos) == ' ') st.calc->RowFormulaCalcAt(st, r, rec, col, flag != 0);
  }
}

void SiwaWindowOpen(ProgramState& st) {
  const int level = st.CurrentLevel;
  const int col = st.CurrentCol;
  if (!IsLevelColumn(st, level, col)) return;
  const char type = TypeOf(st, level, col);
  int master = -1;
  if (type == 'D' && IsLevelColumn(st, level, col - 1))
    master = MasterNumber(std::string_view(st.ColType[level][col - 1]).substr(0, 2));
  else if (type == 'I')
    master = MasterNumber(std::string_view(st.ColType[level][col]).substr(0, 2));
  if (master != 1 && master != 2) return;
  if (st.ui.IsWindowLoaded(kClassifyWindow)) st.ui.UnloadWindow(kClassifyWindow);
  st.ui.ShowModeless(kClassifyWindow);
  st.SiwakeWindowOpen = st.ui.IsWindowLoaded(kClassifyWindow);
}

}  // namespace kv
