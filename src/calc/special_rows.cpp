#include "calc/special_rows.h"

#include <string>
#include <string_view>

#include "calc/calc_expression.h"
#include "calc/level_calc.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "sheet/column_links.h"
#include "sheet/last_used_row.h"
#include "sheet/row_commands.h"
#include "sheet/sheet_fields.h"
#include "sheet/sheet_painting.h"
#include "state/editor_services.h"
#include "state/menu_model.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {
namespace {

constexpr char kMemoKind = '\xD2';  // ﾒ
constexpr char kConsumablesKind = 'S';
constexpr const char* kInputBoxWindow = "Z_InputBox";

enum class NameFrom { None, SubTotal, Setubi, Fixed };

struct SpecialRow {
  int index;
  char kind;
  NameFrom from;
  int nameIndex;      // into SUBTOTALNAME or SetubiRowNames
  const char* label;  // into ToTalNameColmun2 ("" none); the name too for NameFrom::Fixed
};

constexpr SpecialRow kRows[] = {
    {2, '#', NameFrom::SubTotal, 1, "小計   "},
    {3, '$', NameFrom::SubTotal, 2, "中計   "},
    {4, '%', NameFrom::SubTotal, 3, "大計   "},
    {5, kMemoKind, NameFrom::None, 0, ""},
    {13, '\xB1', NameFrom::SubTotal, 4, "   大大   計  "},
    {14, '\xB2', NameFrom::SubTotal, 5, "   大大大  計 "},
    {15, '\xB3', NameFrom::Fixed, 0, "   大大大大計 "},
    {16, kKindTax, NameFrom::SubTotal, 6, "消費税 "},
    {17, 'Z', NameFrom::Setubi, 0, ""},
    {18, kConsumablesKind, NameFrom::Setubi, 1, ""},
    {20, 'Q', NameFrom::None, 0, ""},
};

constexpr int kExpenseIndex = 19;

const SpecialRow* RowOf(int index) {
  for (const SpecialRow& row : kRows)
    if (row.index == index) return &row;
  return nullptr;
}

bool SheetHasKind(const ProgramState& st, char kind) {
  for (int r = 1; r <= st.UsedRows && r <= kMaxSheetRows; ++r)
    if (RecordByte(st.SheetRows[static_cast<size_t>(r)], kKindPos) == kind) return true;
  return false;
}

bool Refuse(ProgramState& st, const char* message, bool beep = false) {
  if (beep) st.ui.Beep();
  WarnMsgBox(st, message);
  return true;
}

// Steps that refuse before anything changes.
bool Refused(ProgramState& st, int index) {
  if (index == 16 && SheetHasKind(st, kKindTax)) return Refuse(st, "既に消費税行が設定されています.");
  if (index == 18 && SheetHasKind(st, kConsumablesKind)) return Refuse(st, "既に消耗品雑材行が設定されています.");
  const int level = st.CurrentLevel;
  if (index == kExpenseIndex && (st.SystemKind == 2 || st.SystemKind == 4) && st.FormulaColumn[static_cast<size_t>(level)] <= 0)
    return Refuse(st, "経費行を使用するためにはシステム設定に数式項目が必要です。");
  if (st.UsedRows + 1 > SheetRowLimit(st)) {
    if (index == 5) return Refuse(st, "最大行を越える為、メモ行が挿入できません。", true);
    if (index == 20) return Refuse(st, "最大行を越える為、特殊メモ行が挿入できません。", true);
  }
  return false;
}

// A text written into a column of the new row, cut to the column's bytes
// without splitting a double-byte character.
void PutText(ProgramState& st, std::string& rec, int col, std::string_view bytes) {
  if (IsLevelColumn(st, st.CurrentLevel, col)) FieldStore(st, rec, col, st.CurrentLevel, bytes);
}

void WriteSpecialRow(ProgramState& st, GridModel& grid, int index, std::string& rec) {
  if (const SpecialRow* row = RowOf(index)) {
    SetRecordByte(rec, kKindPos, row->kind);
    std::string name;  // the settings hold display text
    if (row->from == NameFrom::SubTotal) name = st.SUBTOTALNAME[static_cast<size_t>(row->nameIndex)];
    if (row->from == NameFrom::Setubi) name = st.SetubiRowNames[static_cast<size_t>(row->nameIndex)];
    if (row->from == NameFrom::Fixed) name = row->label;
    if (row->from != NameFrom::None) PutText(st, rec, st.ToTalNameColmun, ToSjis(name));
    if (*row->label != '\0' && st.ToTalNameColmun2 >= 1) PutText(st, rec, st.ToTalNameColmun2, ToSjis(row->label));
    return;
  }
  if (index != kExpenseIndex) return;
  const int formulaCol = st.FormulaColumn[static_cast<size_t>(st.CurrentLevel)];
  if (st.SystemKind == 1) {
    SetRecordByte(rec, kKindPos, kKindExpense);
    PutText(st, rec, st.ToTalNameColmun, ToSjis(st.SetubiRowNames[2]));
  } else if ((st.SystemKind == 2 || st.SystemKind == 4) && formulaCol >= 1) {
    // Kind 2 computes expense rows from a rate as kind 4 does, so it asks
    // for one too.
    std::string rate;
    if (!AskExpenseRate(st, grid, rate)) return;
    SetRecordByte(rec, kKindPos, kKindExpense);
    PutText(st, rec, formulaCol, "[@" + ToSjis(rate));
  }
}

void RecalcSwitch(ProgramState& st) {
  st.ReCalcFlag = !st.ReCalcFlag;
  if (st.editor != nullptr) {
    if (EditorMenus* menus = st.editor->Menus())
      if (MenuItem* item = menus->Find("Menu_3Sub", 0)) item->checked = st.ReCalcFlag;
    st.editor->MenusChanged(st);
  }
  if (st.ReCalcFlag)
    LevelRecalcAndShow(st, st.SheetTotalRecord, st.CurrentRow + 1, st.UsedRows);
  else
    TotalRowsMask(st, st.UsedRows);
}

}  // namespace

bool InsertSpecialRow(ProgramState& st, GridModel& grid, int index) {
  if (index == 0) {
    RecalcSwitch(st);
    return false;
  }
  int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
  GetSelect32(grid, c1, r1, c2, r2);
  if (c1 != c2 || r1 != r2) ClearSelect32(grid);
  st.SelLeft = st.SelRight = st.CurrentCol;
  st.SelTop = st.SelBottom = st.CurrentRow;
  if (Refused(st, index)) return false;

  const int oldUsed = st.UsedRows;
  if (RowInsert(st, grid) == RowInsertResult::Refused) return false;
  const int row = st.CurrentRow;
  if (row < 1 || row > SheetRowLimit(st)) return false;
  WriteSpecialRow(st, grid, index, st.SheetRows[static_cast<size_t>(row)]);

  st.SheetModified = true;
  st.UsedRows = LastUsedRow(st);
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPanelSet(st, 2, StrNum(st.UsedRows) + " 行");
  for (int r = oldUsed + 1; r <= st.UsedRows - 1; ++r) SetCellTextColor32(grid, 0, r, 0);
  RowDisplay(st, grid, row, row);
  LevelRecalcAndShow(st, st.SheetTotalRecord, row + 1, st.UsedRows);
  return index == 5;
}

bool AskExpenseRate(ProgramState& st, GridModel& grid, std::string& rate) {
  for (;;) {
    grid.SetAutoScroll(false);
    st.InputPrompt = " \r\n掛率を入力して下さい\r\n(例) *1.23  or  /.45";
    st.InputTitle = "経費行掛け率";
    st.InputText = "*";
    st.InputMaxLen = 8;
    st.InputImeMode = 2;
    st.InputOk = false;
    st.ui.ProcessEvents();
    st.ui.ShowModal(kInputBoxWindow);
    st.InputImeMode = 0;
    st.InputText = std::string(TrimBlanks(st.InputText));
    st.ui.UnloadWindow(kInputBoxWindow);
    if (st.InputText.empty() || !st.InputOk) return false;

    const std::string bytes = ToSjis(st.InputText);
    std::string result;
    const bool right = bytes.size() <= 8 && (bytes.front() == '*' || bytes.front() == '/') &&
                       CalcExpression(st, std::string_view(bytes).substr(1), result);
    if (right) {
      rate = st.InputText;
      return true;
    }
    WarnMsgBox(st, "正しく入力して下さい");
  }
}

}  // namespace kv
