#include "sheet/series_fill.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "sheet/cell_text_store.h"
#include "sheet/column_links.h"
#include "sheet/last_used_row.h"
#include "sheet/sheet_fields.h"
#include "sheet/undo_clear.h"
#include "state/calc_services.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {
namespace {

char TypeOf(const ProgramState& st, int level, int col) {
  if (!IsLevelColumn(st, level, col)) return ' ';
  const std::string& type = st.ColType[level][col];
  return type.empty() ? ' ' : type.front();
}

// The characters of a text (display text) in their Shift-JIS form.
std::vector<std::string> SjisChars(std::string_view text) {
  const std::string bytes = ToSjis(text);
  std::vector<std::string> out;
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = IsSjisLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
    out.push_back(bytes.substr(i, n));
    i += n;
  }
  return out;
}

// Padded with blanks on the left to `width`, or its rightmost `width`
// characters.
std::string RightAligned(const std::string& text, int width) {
  const size_t w = static_cast<size_t>(std::max(width, 0));
  return text.size() >= w ? text.substr(text.size() - w) : std::string(w - text.size(), ' ') + text;
}

enum class Kind { Number, Close, Dot, Paren, Chars, Copy };

struct Pattern {
  Kind kind = Kind::Copy;
  std::vector<std::string> chars;  // the items of a character set
};

Pattern PatternOf(const ProgramState& st, const std::string& first) {
  auto is = [&](const char* text) { return first == ToSjis(text); };
  if (is("1")) return {Kind::Number, {}};
  if (is("1)")) return {Kind::Close, {}};
  if (is("1.")) return {Kind::Dot, {}};
  if (is("(1)")) return {Kind::Paren, {}};
  Pattern p{Kind::Chars, {}};
  if (is("A") || is("a")) {
    for (int k = 0; k < 26; ++k) p.chars.push_back(std::string(1, static_cast<char>(first[0] + k)));
  } else if (is("ｱ")) {
    for (int k = 0; k < 45; ++k) p.chars.push_back(std::string(1, static_cast<char>(first[0] + k)));
  } else if (is("ｲ")) {
    p.chars = SjisChars(st.NumberChars[1]);
  } else if (is("い")) {
    p.chars = SjisChars(st.NumberChars[3]);
  } else if (is("あ")) {
    p.chars = SjisChars(st.NumberChars[4]);
  } else if (is("Ａ")) {
    p.chars = SjisChars(st.NumberChars[6]);
  } else if (is("ａ")) {
    p.chars = SjisChars(st.NumberChars[7]);
  } else if (is("I") || is("Ｉ") || is("Ⅰ")) {
    p.chars = SjisChars(st.NumberChars[5]);
  } else {
    p.kind = Kind::Copy;
  }
  return p;
}

// The full-width starts the patterns take in their half-width form.
std::string HalfWidthStart(const std::string& first) {
  static const std::pair<const char*, const char*> kMap[] = {
      {"ア", "ｱ"}, {"イ", "ｲ"}, {"１", "1"}, {"１）", "1)"}, {"１．", "1."}, {"（１）", "(1)"},
  };
  for (const auto& [from, to] : kMap)
    if (first == ToSjis(from)) return ToSjis(to);
  return first;
}

class Fill {
 public:
  Fill(ProgramState& st, GridModel& grid) : st_(st), grid_(grid), level_(st.CurrentLevel) {}

  void Run() {
    const int oldUsed = st_.UsedRows;
    ClearSelect32(grid_);
    if (Refused()) return;
    UndoSave(st_, grid_);
    if (EquipmentRefused()) return;
    RangeFix();
    const int top = st_.SelTop;
    const int col = st_.SelLeft;
    const std::string field(FieldBytes(st_, st_.SheetRows[static_cast<size_t>(top)], col, level_));
    const bool wide = TypeOf(st_, level_, st_.CurrentCol) == 'W';
    std::string first = HalfWidthStart(FirstText(field, wide));
    Pattern pattern = copy_ ? Pattern{} : PatternOf(st_, first);
    int n = st_.SelBottom - top;
    if (pattern.kind == Kind::Chars) n = std::min(n, static_cast<int>(pattern.chars.size()) - 1);
    if (pattern.kind == Kind::Copy) CopyRun(field, top, n, wide);
    else ItemsRun(pattern, top, n, wide);
    LinkRun(top, n);
    st_.UsedRows = LastUsedRow(st_);
    for (int r = oldUsed + 1; r <= st_.UsedRows; ++r) SetCellTextColor32(grid_, 0, r, 0);
    st_.SheetModified = true;
  }

 private:
  bool Refuse(const char* message) {
    WarnMsgBox(st_, message);
    return true;
  }

  bool Refused() {
    if (st_.SelLeft != st_.SelRight) return Refuse("複数項目の範囲指定は無効です。");
    const char type = TypeOf(st_, level_, st_.SelLeft);
    if (type != 'W' && type != 'C') return Refuse("文字欄以外は無効です");
    if (st_.SelTop < 1 || st_.SelTop > SheetRowLimit(st_) ||
        RecordByte(st_.SheetRows[static_cast<size_t>(st_.SelTop)], kKindPos) != ' ')
      return Refuse("特殊行から始まる範囲指定は無効です。");
    return false;
  }

  bool EquipmentRefused() {
    if (st_.SystemKind != 1 || st_.calc == nullptr) return false;
    if (st_.calc->IsSikiRuleColumn(st_, st_.SelLeft)) return Refuse("[設備版] 集計項目での文字連続設定は無効です");
    if (st_.calc->IsZokuUnitColumn(st_, st_.SelLeft)) return Refuse("[設備版] 属性丸め項目での文字連続設定は無効です");
    return false;
  }

  void RangeFix() {
    if (st_.SelBottom > SheetRowLimit(st_)) {
      st_.SelBottom = st_.UsedRows;
    } else if (st_.SelBottom > st_.UsedRows) {
      st_.UsedRows = st_.SelBottom;
      st_.SheetModified = true;
      if (st_.sheetEngine != nullptr) st_.sheetEngine->StatusPanelSet(st_, 2, StrNum(st_.UsedRows) + " 行");
    }
  }

  // The start of the series: the field without blanks at either end; in a
  // two-line column its one non-empty line (both lines: copied).
  std::string FirstText(std::string_view field, bool wide) {
    std::string first(TrimBlanks(field));
    if (!wide) return first;
    const DanLines d = Text2DanSplit(std::string_view(first), kDanSplit);
    const std::string line1(TrimBlanks(d.line1));
    const std::string line2(TrimBlanks(d.line2));
    if (line1.empty()) return line2;
    if (line2.empty()) return line1;
    copy_ = true;
    return first;
  }

  std::string NumberItem(const Pattern& p, int k, bool wide) const {
    const int w = st_.ColWidth[level_][st_.CurrentCol];
    const int h = wide ? WColumnLineWidth(w) : w;
    const std::string number = std::to_string(k + 1);
    switch (p.kind) {
      case Kind::Number:
        if (w > 3) return RightAligned(number + " ", h);
        return RightAligned(number, wide ? w - 2 : w);
      case Kind::Close:
        return RightAligned(number + ")", h);
      case Kind::Dot:
        return RightAligned(number + ".", h);
      default:
        return RightAligned("(" + number + ")", h);
    }
  }

  void ItemsRun(const Pattern& p, int top, int n, bool wide) {
    int k = 0;
    for (int r = top; r <= top + n; ++r) {
      const std::string item = p.kind == Kind::Chars ? p.chars[static_cast<size_t>(k)] : NumberItem(p, k, wide);
      ++k;
      SeriesValuePut(st_, grid_, item, r, k);
    }
  }

  void CopyRun(std::string_view field, int top, int n, bool wide) {
    const int w = st_.ColWidth[level_][st_.CurrentCol];
    const std::string item(wide ? field.substr(0, static_cast<size_t>(std::max(w - 2, 0))) : field);
    for (int r = top; r <= top + n; ++r) {
      if (wide && !IsMemoTextRow(st_.SheetRows[static_cast<size_t>(r)])) {
        std::string text = RTrimBlanks(FromSjis(item));
        CellTextStore(st_, text, st_.CurrentCol, r, level_);
      }
      int k = 0;
      SeriesValuePut(st_, grid_, item, r, k);
    }
  }

  // The first column link whose source is the filled column, over every
  // row of the range but the memo-type rows. The link copy works on the
  // cursor cell, so the cursor is lent to each row and given back.
  void LinkRun(int top, int n) {
    if (FirstLinkDestination(st_, st_.SelLeft) == 0) return;
    const int row = st_.CurrentRow, col = st_.CurrentCol;
    st_.CurrentCol = st_.SelLeft;
    for (int r = top; r <= top + n; ++r) {
      if (IsMemoTextRow(st_.SheetRows[static_cast<size_t>(r)])) continue;
      st_.CurrentRow = r;
      CellWriteBack(st_, grid_);
    }
    st_.CurrentRow = row;
    st_.CurrentCol = col;
  }

  ProgramState& st_;
  GridModel& grid_;
  const int level_;
  bool copy_ = false;
};

}  // namespace

void SeriesValuePut(ProgramState& st, GridModel& grid, const std::string& item, int row, int& k) {
  std::string& rec = st.SheetRows[static_cast<size_t>(std::clamp(row, 0, kMaxSheetRows + 1))];
  if (row < 1 || RecordByte(rec, kPrintMarkPos) == 'U' || RecordByte(rec, kKindPos) != ' ') {
    --k;
    return;
  }
  FieldStore(st, rec, st.CurrentCol, st.CurrentLevel, item);
  SetTextData32(grid, st.CurrentCol, row, FromSjis(item));
}

void SeriesFill(ProgramState& st, GridModel& grid) { Fill(st, grid).Run(); }

}  // namespace kv
