#include "classify/kv_siwa_frm.h"

#include <algorithm>
#include <system_error>

#include "classify/siwake_master.h"
#include "core/ini_file.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "editor/typed_text.h"
#include "platform/fo_window.h"
#include "platform/fs.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "platform/grid/grid_model.h"
#include "sheet/cell_commit.h"
#include "sheet/grid_setup.h"
#include "sheet/selection_helpers.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/siwake_code.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr int kEditableMode = 9;
constexpr int kProtectedMode = 0;
constexpr int kDefaultWidthTw = 9000;
constexpr int kDefaultHeightTw = 7500;
constexpr int kZooms[5] = {100, 90, 80, 70, 60};
constexpr const char* kZoomSection = "ズーム倍率";
constexpr const char* kEditOnCaption = "追加変更(&A) ON";
constexpr const char* kEditOffCaption = "追加変更(&A) OFF";
constexpr const char* kTypedDuplicate = "既に同じコードが入力されているのでこのコードは入力できません";
constexpr const char* kPastedDuplicate = "既に同じコードが入力されているのでコードは貼り付けできません";
// Column headers of items 1..7 (blanks as shown).
constexpr const char* kHeaders[7] = {"ｺｰﾄﾞ",           "  名    称  ", "  摘    要  ", "  住    所  ",
                                     "    T E L     ", "    F A X     ", "  担 当 者  "};

bool IsBlank(std::string_view bytes) { return TrimBlanks(bytes).empty(); }

// The numeric value of the second character of a column type ("I1" -> 1);
// 0 when it is no digit.
int TypeDigit(std::string_view type) {
  return type.size() >= 2 && type[1] >= '0' && type[1] <= '9' ? type[1] - '0' : 0;
}

std::string RTrimmed(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

MenuItem Item(const char* name, int index, const char* caption, const char* shortcut = "") {
  MenuItem m;
  m.name = name;
  m.index = index;
  m.caption = caption;
  m.shortcut = shortcut;
  m.ready = caption[0] != '-';
  return m;
}

}  // namespace

EditorMenus SiwaMenuTree() {
  EditorMenus menus;
  MenuItem f = Item("mnuF", -1, "ﾌｧｲﾙ(&F)");
  f.opensMenu = true;
  f.items = {Item("mnuFItem", 0, kEditOffCaption), Item("mnuFItem", 1, "追加変更の保存(&S)"),
             Item("mnuFItem", 2, "-"),             Item("mnuFItem", 3, "印刷(&P)"),
             Item("mnuFItem", 4, "-"),             Item("mnuFItem", 5, "終了(&X)")};
  MenuItem e = Item("mnuE", -1, "編集(&E)");
  e.opensMenu = true;
  e.items = {Item("mnuEItem", 0, "切り取り(&T)", "Ctrl+X"), Item("mnuEItem", 1, "ｺﾋﾟｰ(&C)", "Ctrl+C"),
             Item("mnuEItem", 2, "貼り付け(&P)", "Ctrl+V"), Item("mnuEItem", 3, "削除(&D)"),
             Item("mnuEItem", 4, "-"),                     Item("mnuEItem", 5, "行削除(&L)", "F7"),
             Item("mnuEItem", 6, "行挿入(&N)", "F8")};
  MenuItem v = Item("mnuV", -1, "画面(&V)");
  v.opensMenu = true;
  MenuItem zoom = Item("mnuVItem", -1, "ズーム");
  zoom.opensMenu = true;
  const char* zooms[5] = {"100%", "90%", "80%", "70%", "60%"};
  for (int i = 0; i < 5; ++i) zoom.items.push_back(Item("mnuVZItem", i, zooms[i]));
  v.items = {zoom};
  menus.bar = {f, e, v};
  return menus;
}

KvSiwa_Frm::KvSiwa_Frm(ProgramState& st, GridModel& siwaSheet, SiwaWindowPort port)
    : st_(st), grid_(siwaSheet), port_(std::move(port)), menus_(SiwaMenuTree()) {
  grid_.events.Locate = [this](int col, int row) { SiwaSheet_Locate(col, row); };
  grid_.events.EditEnd = [this] { SiwaSheet_EditEnd(); };
  grid_.events.KeyDown2 = [this](int& key, bool shift, bool ctrl) { SiwaSheet_KeyDown2(key, shift, ctrl); };
  grid_.events.LButtonDown = [this](int col, int row, bool& ignore) { SiwaSheet_LButtonDown(col, row, ignore); };
  grid_.events.RButtonDown = [this](int col, int row, bool& ignore) { SiwaSheet_RButtonDown(col, row, ignore); };
  grid_.events.Divide = [this](int x, int y) { SiwaSheet_Divide(x, y); };
  grid_.events.DblClk = [this](int col, int row) { SiwaSheet_DblClk(col, row); };
}

stdfs::path KvSiwa_Frm::SysIniPath() const { return stdfs::path(st_.AppPath) / "KVSSYS.INI"; }
stdfs::path KvSiwa_Frm::MasterPath() const { return stdfs::path(st_.AppPath) / MasterFileName; }

int KvSiwa_Frm::Msg(std::string_view text, int style, std::string_view title) {
  FloatWindowsTopMostSet(st_, false);
  const int answer = st_.ui.MsgBox(text, style, title);
  FloatWindowsTopMostSet(st_, true);
  return answer;
}

void KvSiwa_Frm::MenusChanged() {
  if (port_.MenusChanged) port_.MenusChanged();
}

// ---- Cells ----

std::string KvSiwa_Frm::CellBytes(int col, int row) const {
  const int width = col >= 1 && col <= ItemCount ? ItemWidth[size_t(col)] : 0;
  return MasterItemField(ToAnsiBytes(CutAtNul(GetTextData32(grid_, col, row))), width);
}

void KvSiwa_Frm::SetCell(int col, int row, const std::string& bytes) {
  if (col < 1 || col > ItemCount || row < 1 || row > RowsMax) return;
  const std::string field = MasterItemField(bytes, ItemWidth[size_t(col)]);
  MasterRows[size_t(col)][size_t(row)] = field;
  SetTextData32(grid_, col, row, ToUnicodeStr(field));
}

bool KvSiwa_Frm::IsBlankCell(int col, int row) const { return IsBlank(CellBytes(col, row)); }

void KvSiwa_Frm::ClearSelectionCells() {
  const GridRect sel = GetSelRect(grid_);
  for (int r = std::max(sel.top, 1); r <= std::min(sel.bottom, RowsMax); ++r)
    for (int c = std::max(sel.left, 1); c <= std::min(sel.right, ItemCount); ++c) SetCell(c, r, "");
}

// ---- Load ----

bool KvSiwa_Frm::Form_Load() {
  foWindow fo(st_.ui);
  fo.Attach(kSiwakeWindow);
  fo.Center();
  fo.TopMost(true);
  fo.Detach();
  ReadClassificationWindowPos();
  if (!ReadClassificationLayout()) return false;
  SetUpClassificationSheet();
  if (!LoadClassificationFile()) return false;
  EditMode = false;
  MasterModified = false;
  menus_.At("mnuFItem", 0).caption = kEditOffCaption;
  SetFileMenuEditState(false);
  SetEditMenuState(false);
  SetCellEditPermission(grid_.CurrentCol(), grid_.CurrentRow());
  if (port_.HiinsatuStateSet) port_.HiinsatuStateSet(true);
  loaded_ = true;
  if (tooLong_)
    Msg("仕訳ﾌｧｲﾙ [ " + MasterFileName + " ] のレコード件数が " + std::to_string(RowsMax) + "件を越えています。\r" +
            "追加変更はできません。",
        vbOKOnly | vbExclamation, kSiwakeTitle);
  return true;
}

void KvSiwa_Frm::ReadClassificationWindowPos() {
  const stdfs::path ini = SysIniPath();
  const WindowRect r{IniGetInt(kSiwakeSection, "Left", ini), IniGetInt(kSiwakeSection, "Top", ini),
                     IniGetInt(kSiwakeSection, "Width", ini), IniGetInt(kSiwakeSection, "Height", ini)};
  // A missing key reads -1: without a whole rectangle the window is centred
  // at its default size; a place off the screen is moved onto it.
  if (r.left == -1 || r.top == -1 || r.width <= 0 || r.height <= 0) {
    if (port_.CenterAt) port_.CenterAt(kDefaultWidthTw, kDefaultHeightTw);
    return;
  }
  WindowRect place = r;
  if (port_.ScreenTwips) {
    const TextSize screen = port_.ScreenTwips();
    place.width = std::min(place.width, screen.width);
    place.height = std::min(place.height, screen.height);
    place.left = std::clamp(place.left, 0, std::max(screen.width - place.width, 0));
    place.top = std::clamp(place.top, 0, std::max(screen.height - place.height, 0));
  }
  if (port_.SetBounds) port_.SetBounds(place);
}

void KvSiwa_Frm::SaveClassificationWindowPos() {
  if (!port_.Bounds || (port_.State && port_.State() == WindowState::Minimized)) return;
  const WindowRect r = port_.Bounds();
  const stdfs::path ini = SysIniPath();
  IniPutString(kSiwakeSection, "Left", std::to_string(r.left), ini);
  IniPutString(kSiwakeSection, "Top", std::to_string(r.top), ini);
  IniPutString(kSiwakeSection, "Width", std::to_string(r.width), ini);
  IniPutString(kSiwakeSection, "Height", std::to_string(r.height), ini);
}

bool KvSiwa_Frm::GetMasterNumber(int& master) const {
  const int level = st_.CurrentLevel;
  const int col = st_.CurrentCol;
  if (level < 1 || level >= int(st_.ColType.size()) || col < 1 || col >= int(st_.ColType[size_t(level)].size()))
    return false;
  const std::string_view type = st_.ColType[size_t(level)][size_t(col)];
  if (!type.empty() && type[0] == 'I') {
    master = TypeDigit(type);
    return true;
  }
  if (!type.empty() && type[0] == 'D' && col >= 2) {
    master = TypeDigit(st_.ColType[size_t(level)][size_t(col - 1)]);
    return true;
  }
  return false;
}

bool KvSiwa_Frm::ReadClassificationLayout() {
  int master = MasterNo;
  if (!GetMasterNumber(master) || (master != 1 && master != 2)) return false;
  MasterNo = master;
  SiwakeLayout layout;
  const std::string bad = SiwakeLayoutRead(SysIniPath(), MasterNo, layout);
  if (!bad.empty()) {
    Msg(SiwakeSettingsMessage(bad), vbOKOnly | vbExclamation, kSiwakeTitle);
    return false;
  }
  MasterFileName = layout.fileName;
  RowsMax = layout.rowsMax;
  ItemCount = layout.itemCount;
  ItemWidth.assign(size_t(ItemCount) + 1, 0);
  for (int k = 1; k <= ItemCount; ++k) ItemWidth[size_t(k)] = layout.itemWidth[size_t(k - 1)];
  MasterRows.assign(size_t(ItemCount) + 1, std::vector<std::string>(size_t(RowsMax) + 1));
  for (int k = 1; k <= ItemCount; ++k)
    for (int r = 1; r <= RowsMax; ++r) MasterRows[size_t(k)][size_t(r)] = std::string(size_t(ItemWidth[size_t(k)]), ' ');
  return true;
}

void KvSiwa_Frm::SetUpClassificationSheet() {
  grid_.SetVisible(false);
  grid_.SetRedraw(false);
  GridModel* sheet = port_.EditorSheet ? port_.EditorSheet() : nullptr;
  const int zoom = sheet != nullptr ? sheet->Zoom() : 100;
  GridFontSize = sheet != nullptr ? sheet->FontSize() : grid_.FontSize();
  grid_.SetZoom(zoom);
  grid_.SetFontName(st_.FontName);
  grid_.SetFontSize(GridFontSize);
  grid_.SetColCount(ItemCount);
  grid_.SetRowCount(RowsMax);
  SetColWidth32(grid_, 0, 2 * PointToWidth32(grid_, GridFontSize));
  for (int k = 1; k <= std::min(7, ItemCount); ++k) {
    // Codes, TEL and FAX are measured as half-width characters, the others
    // as full-width ones.
    const bool halfWidth = k == 1 || k == 5 || k == 6;
    const int width = ItemWidth[size_t(k)];
    SetColWidth32(grid_, k, CellTextExtent(st_, halfWidth, width, st_.FontName, GridFontSize, zoom));
    SetTextData32(grid_, k, 0, kHeaders[k - 1]);
  }
  const int height = PointToHeight32(grid_, GridFontSize);
  for (int r = 0; r <= RowsMax; ++r) SetRowHeight32(grid_, r, height);
  grid_.SetVisible(true);
  grid_.SetRedraw(true);
  for (int i = 0; i < 5; ++i) menus_.At("mnuVZItem", i).checked = false;
  const int stored = IniGetInt(kZoomSection, "SiwakeZoom", SysIniPath());
  for (int i = 0; i < 5; ++i)
    if (stored == kZooms[i]) {
      ZoomPercent = stored;
      menus_.At("mnuVZItem", i).checked = true;
    }
  SetZoom32(grid_, ZoomPercent);
  grid_.Refresh();
  if (port_.SetCaption) port_.SetCaption("< " + MasterFileName + " > 内訳書");
  MenusChanged();
}

bool KvSiwa_Frm::LoadClassificationFile() {
  tooLong_ = false;
  const stdfs::path path = MasterPath();
  std::error_code ec;
  if (stdfs::exists(path, ec) || stdfs::is_symlink(path, ec)) {
    std::optional<std::string> bytes;
    if (stdfs::is_regular_file(path, ec)) bytes = fs::ReadFileBytes(path, ec);
    if (!bytes) {
      Msg("仕訳ﾌｧｲﾙ [ " + MasterFileName + " ] を読み込むことが出来ません。", vbOKOnly | vbExclamation,
          kSiwakeTitle);
      return false;
    }
    const int count = MasterRecordCount(std::int64_t(bytes->size()));
    tooLong_ = count > RowsMax;
    for (int r = 1; r <= std::min(count, RowsMax); ++r) ParseClassificationRecord(MasterRecordAt(*bytes, r - 1), r);
  }
  // A master that does not exist opens empty; its first save creates it.
  FillClassificationSheet();
  return true;
}

void KvSiwa_Frm::ParseClassificationRecord(std::string_view record, int row) {
  const std::vector<std::string> items = MasterRecordItems(record, {ItemWidth.begin() + 1, ItemWidth.end()});
  for (int k = 1; k <= ItemCount; ++k) MasterRows[size_t(k)][size_t(row)] = items[size_t(k - 1)];
}

void KvSiwa_Frm::FillClassificationSheet() {
  for (int r = 1; r <= RowsMax; ++r)
    for (int k = 1; k <= ItemCount; ++k) SetTextData32(grid_, k, r, ToUnicodeStr(MasterRows[size_t(k)][size_t(r)]));
}

// ---- Save ----

void KvSiwa_Frm::SheetToClassificationArray() {
  for (int r = 1; r <= RowsMax; ++r)
    for (int k = 1; k <= ItemCount; ++k) MasterRows[size_t(k)][size_t(r)] = CellBytes(k, r);
}

int KvSiwa_Frm::CompactClassificationRows(std::vector<std::vector<std::string>>& rows) {
  rows.clear();
  for (int r = 1; r <= RowsMax; ++r) {
    if (IsBlank(MasterRows[1][size_t(r)])) continue;
    std::vector<std::string> row;
    for (int k = 1; k <= ItemCount; ++k) row.push_back(MasterRows[size_t(k)][size_t(r)]);
    rows.push_back(std::move(row));
  }
  return int(rows.size());
}

void KvSiwa_Frm::SortClassificationRows() {
  std::vector<std::vector<std::string>> rows;
  CompactClassificationRows(rows);
  rows = MasterRowsSorted(rows);
  for (int r = 1; r <= RowsMax; ++r)
    for (int k = 1; k <= ItemCount; ++k)
      MasterRows[size_t(k)][size_t(r)] = r <= int(rows.size()) ? rows[size_t(r - 1)][size_t(k - 1)]
                                                                  : std::string(size_t(ItemWidth[size_t(k)]), ' ');
}

std::string KvSiwa_Frm::BuildClassificationRecord(int row, bool& last) const {
  last = row >= RowsMax || (IsBlank(MasterRows[1][size_t(row + 1)]) && IsBlank(MasterRows[2][size_t(row + 1)]));
  std::vector<std::string> items;
  for (int k = 1; k <= ItemCount; ++k) items.push_back(MasterRows[size_t(k)][size_t(row)]);
  return MasterRecordBuild(row, last ? 0 : row + 1, items, {ItemWidth.begin() + 1, ItemWidth.end()});
}

bool KvSiwa_Frm::SaveClassificationFile() {
  const std::vector<std::vector<std::string>> before = MasterRows;
  SheetToClassificationArray();
  SortClassificationRows();
  std::string bytes;
  for (int r = 1; r <= RowsMax; ++r) {
    bool last = false;
    bytes += BuildClassificationRecord(r, last);
    if (last) break;
  }
  // The whole file is written beside the old one and renamed over it: a
  // failed write leaves the master on disk as it was.
  std::error_code ec;
  if (fs::WriteFileAtomic(MasterPath(), bytes, ec)) return true;
  MasterRows = before;
  Msg("仕訳ﾌｧｲﾙ [ " + MasterFileName + " ] を保存することが出来ませんでした。\r" + ec.message(),
      vbOKOnly | vbExclamation, kSiwakeTitle);
  return false;
}

bool KvSiwa_Frm::SaveIfModified() {
  if (!MasterModified) return true;
  if (!SaveClassificationFile()) return false;
  MasterModified = false;
  EditModeSet(false);
  FillClassificationSheet();
  return true;
}

void KvSiwa_Frm::SaveAndReload(bool& saved) {
  st_.ui.SetBusyPointer(true);
  saved = SaveIfModified();
  if (saved) SiwakeItemRead(st_, MasterPath().string(), MasterNo);
  st_.ui.SetBusyPointer(false);
}

// ---- Menus ----

void KvSiwa_Frm::EditModeSet(bool on) {
  EditMode = on;
  menus_.At("mnuFItem", 0).caption = on ? kEditOnCaption : kEditOffCaption;
  grid_.SetEditMode(on ? kEditableMode : kProtectedMode);
  SetFileMenuEditState(on);
  SetEditMenuState(on);
}

void KvSiwa_Frm::SetFileMenuEditState(bool flag) {
  menus_.At("mnuFItem", 0).checked = flag;
  menus_.At("mnuFItem", 1).enabled = flag;
  MenusChanged();
}

void KvSiwa_Frm::SetEditMenuState(bool flag) {
  for (int i : {0, 1, 2, 3, 5, 6}) menus_.At("mnuEItem", i).enabled = flag;
  MenusChanged();
}

void KvSiwa_Frm::mnuFItem_Click(int index) {
  switch (index) {
    case 0:
      if (EditMode) {
        EditModeSet(false);
        if (MasterModified &&
            Msg("仕訳ﾌｧｲﾙが変更されています変更を保存しますか？", vbYesNo | vbQuestion, "変更") == vbYes) {
          bool saved = false;
          SaveAndReload(saved);
          // A save that failed keeps the master being edited.
          if (!saved) EditModeSet(true);
        }
      } else if (tooLong_) {
        // The user was told at the load; 追加変更 stays off.
        st_.ui.Beep();
      } else {
        EditModeSet(true);
      }
      break;
    case 1: {
      bool saved = false;
      SaveAndReload(saved);
      if (saved) grid_.SetEditMode(kProtectedMode);
      break;
    }
    case 3:
      if (!st_.ui.PrinterInstalled()) {
        Msg("プリンタがインストールされていないため、仕訳の印刷を行うことが出来ません\r"
            "仕訳の印刷を行うためには、プリンタをインストールしてください。",
            vbOKOnly, "TheKorvane");
        break;
      }
      st_.SiwakePrintPath = MasterPath().string();
      if (st_.ui.HasWindow(kSiwaPrintWindow)) st_.ui.ShowModal(kSiwaPrintWindow);
      break;
    case 5:
      if (port_.Unload) port_.Unload();
      break;
    default:
      break;
  }
}

void KvSiwa_Frm::mnuVZItem_Click(int index) {
  if (index < 0 || index > 4) return;
  ZoomPercent = kZooms[index];
  for (int i = 0; i < 5; ++i) menus_.At("mnuVZItem", i).checked = i == index;
  SetZoom32(grid_, ZoomPercent);
  MenusChanged();
}

void KvSiwa_Frm::mnuEItem_Click(int index) {
  if (!EditMode) return;
  switch (index) {
    case 0:
      MasterModified = true;
      CopyClassificationCells();
      ClearSelectionCells();
      break;
    case 1:
      CopyClassificationCells();
      break;
    case 2:
      MasterModified = true;
      PasteClassificationCells();
      break;
    case 3:
      MasterModified = true;
      ClearSelectionCells();
      break;
    case 5:
      MasterModified = true;
      DeleteClassificationRows();
      return;
    case 6:
      MasterModified = true;
      InsertClassificationRows();
      return;
    default:
      return;
  }
  grid_.SetEditMode(kEditableMode);
}

void KvSiwa_Frm::CopyClassificationCells() {
  const GridRect sel = GetSelRect(grid_);
  const bool single = sel.left == sel.right;
  std::string text;
  for (int r = sel.top; r <= sel.bottom; ++r) {
    for (int c = sel.left; c <= sel.right; ++c) {
      text += ToUnicodeStr(CellBytes(c, r));
      if (!single) text += "\t";
    }
    text += "\r\n";
  }
  st_.ui.SetClipboardText(text);
}

void KvSiwa_Frm::PasteClassificationCells() {
  std::string text = st_.ui.ClipboardText();
  if (text.empty()) return;
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) text += "\r\n";
  std::vector<std::vector<std::string>> lines;
  for (size_t pos = 0; pos < text.size();) {
    const size_t end = text.find("\r\n", pos);
    const std::string line = text.substr(pos, end - pos);
    std::vector<std::string> cells;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      cells.push_back(line.substr(start, tab - start));
    if (start < line.size()) cells.push_back(line.substr(start));
    lines.push_back(std::move(cells));
    pos = end + 2;
  }
  const size_t perLine = lines.back().size();
  const GridRect sel = GetSelRect(grid_);
  for (size_t r = 0; r < lines.size(); ++r) {
    const int row = sel.top + int(r);
    if (row > RowsMax) break;  // clipped to the grid
    for (size_t c = 0; c < perLine; ++c) {
      const int col = sel.left + int(c);
      if (col > ItemCount) break;
      const std::string cell = c < lines[r].size() ? lines[r][c] : std::string();
      if (!TypedTextStorable(st_, cell)) continue;
      std::string s = ToAnsiBytes(cell);
      if (col == 1) CheckPastedCode(s, col, row);
      if (LenBSjis(std::string_view(RTrimmed(s))) > ItemWidth[size_t(col)]) s = CutToBytes(s, ItemWidth[size_t(col)]);
      SetCell(col, row, s);
    }
  }
}

void KvSiwa_Frm::CheckPastedCode(std::string& code, int col, int row) {
  if (IsBlank(code)) return;
  bool unique = true;
  if (row >= 1 && row <= RowsMax && TrimBlanks(MasterRows[1][size_t(row)]) == TrimBlanks(code)) {
    // A code pasted onto the cell that already holds it: only the other rows
    // can hold a duplicate.
    for (int r = 1; r <= RowsMax && unique; ++r)
      unique = r == row || TrimBlanks(MasterRows[1][size_t(r)]) != TrimBlanks(code);
  } else {
    IsCodeUnique(code, unique);
  }
  if (unique) return;
  code.clear();
  Msg(kPastedDuplicate, vbOKOnly, kSiwakeTitle);
}

void KvSiwa_Frm::IsCodeUnique(std::string_view code, bool& result) const {
  const std::string_view wanted = TrimBlanks(code);
  result = true;
  for (int r = 1; r <= RowsMax; ++r)
    if (TrimBlanks(MasterRows[1][size_t(r)]) == wanted) {
      result = false;
      return;
    }
}

void KvSiwa_Frm::FindLastUsedRow(int& result) const {
  result = 0;
  for (int r = RowsMax; r >= 1; --r)
    if (!IsBlank(MasterRows[1][size_t(r)])) {
      result = r;
      return;
    }
}

void KvSiwa_Frm::InsertClassificationRows() {
  const GridRect sel = GetSelRect(grid_);
  const int count = sel.bottom - sel.top + 1;
  int last = 0;
  FindLastUsedRow(last);
  if (count + last > RowsMax) {
    Msg("挿入行が多すぎます", vbOKOnly, "TheKorvane");
    return;
  }
  InsertRow32(grid_, sel.top, count);
  SheetToClassificationArray();
}

void KvSiwa_Frm::DeleteClassificationRows() {
  const GridRect sel = GetSelRect(grid_);
  DeleteRow32(grid_, sel.top, sel.bottom - sel.top + 1);
  SheetToClassificationArray();
}

// ---- Grid events ----

bool KvSiwa_Frm::EditAllowed() const { return grid_.EditMode() == kEditableMode || EditMode; }

void KvSiwa_Frm::SetCellEditPermission(int col, int row) {
  // A master longer than the window is never changed: its save would drop
  // the rows the window does not show.
  const bool editable = !tooLong_ && (EditMode || IsBlankCell(col, row));
  grid_.SetEditMode(editable ? kEditableMode : kProtectedMode);
}

void KvSiwa_Frm::SiwaSheet_Locate(int col, int row) {
  CursorCol = col;
  CursorRow = row;
  if (col == 2 || col == 3 || col == 4 || col == 7)
    grid_.SetImeOn(true);
  else if (col == 1 || col == 5 || col == 6)
    grid_.SetImeOn(false);
  SetCellEditPermission(col, row);
}

void KvSiwa_Frm::SiwaSheet_EditEnd() {
  const int col = grid_.EditCol();
  const int row = grid_.EditRow();
  if (col < 1 || col > ItemCount || row < 1 || row > RowsMax) return;
  if (!EditAllowed() || tooLong_) {
    FillClassificationSheet();
    AdvanceClassificationCursor();
    return;
  }
  const std::string typed = grid_.EditText();
  if (!TypedTextStorable(st_, typed)) {
    SetCell(col, row, MasterRows[size_t(col)][size_t(row)]);
    return;
  }
  std::string t = ToAnsiBytes(typed);
  if (LenBSjis(std::string_view(RTrimmed(t))) > ItemWidth[size_t(col)]) t = CutToBytes(t, ItemWidth[size_t(col)]);
  if (col == 1 && !IsBlank(t)) {
    bool unique = true;
    IsCodeUnique(t, unique);
    if (!unique) {
      Msg(kTypedDuplicate, vbOKOnly, kSiwakeTitle);
      SetCell(1, row, MasterRows[1][size_t(row)]);
      return;
    }
  }
  MasterRows[size_t(col)][size_t(row)] = MasterItemField(t, ItemWidth[size_t(col)]);
  SetTextData32(grid_, col, row, ToUnicodeStr(t));
  MasterModified = true;
  AdvanceClassificationCursor();
}

void KvSiwa_Frm::AdvanceClassificationCursor() {
  const int col = grid_.CurrentCol();
  const int row = grid_.CurrentRow();
  const int pane = GetActiveClientNum32(grid_);
  if (st_.AutoDownFlag == 1 && row < RowsMax) {
    SetSheetLocate32(grid_, col, row + 1);
    if (IsCellOutOfRange32(grid_, pane, col, row + 1) != 0) LineDownScroll32(grid_);
  } else if (st_.AutoDownFlag == 2 && col < ItemCount) {
    SetSheetLocate32(grid_, col + 1, row);
    if (IsCellOutOfRange32(grid_, pane, col + 1, row) != 0) LineRightScroll32(grid_);
  }
}

void KvSiwa_Frm::SiwaSheet_KeyDown2(int& key, bool shift, bool ctrl) {
  if (ctrl && !shift) {
    switch (key) {
      case gridkey::kHome:
      case gridkey::kUp:
        key = 0;
        SetSheetLocate32(grid_, grid_.CurrentCol(), 1);
        return;
      case gridkey::kLeft:
        key = 0;
        SetSheetLocate32(grid_, 1, grid_.CurrentRow());
        return;
      case gridkey::kRight:
        key = 0;
        SetSheetLocate32(grid_, ItemCount, grid_.CurrentRow());
        return;
      case gridkey::kDown:
      case gridkey::kEnd: {
        key = 0;
        int last = 0;
        for (int r = RowsMax; r >= 1 && last == 0; --r)
          for (int k = 1; k <= ItemCount; ++k)
            if (!IsBlankCell(k, r)) {
              last = r;
              break;
            }
        // The row above the last filled one, as the window always did.
        if (last >= 2) SetSheetLocate32(grid_, grid_.CurrentCol(), last - 1);
        return;
      }
      default:
        break;
    }
  }
  if (key == gridkey::kDelete) {
    key = 0;
    if (!EditAllowed() || tooLong_) return;
    const GridRect sel = GetSelRect(grid_);
    if (sel.left == sel.right && sel.top == sel.bottom) {
      SetCell(sel.left, sel.top, "");
      MasterModified = true;
    }
    ClearSelect32(grid_);
  }
}

void KvSiwa_Frm::SiwaSheet_LButtonDown(int col, int row, bool& ignore) {
  if (col == 0 || row == 0) ignore = true;
}

void KvSiwa_Frm::SiwaSheet_RButtonDown(int, int, bool& ignore) { ignore = true; }

void KvSiwa_Frm::SiwaSheet_Divide(int x, int y) {
  if (x > 0 || y > 0) SetDivide32(grid_, 0, 0);
}

void KvSiwa_Frm::IsMasterColumn(bool& result) {
  result = false;
  const int level = st_.CurrentLevel;
  const int col = st_.CurrentCol;
  if (level < 1 || level >= int(st_.ColType.size()) || col < 1 || col >= int(st_.ColType[size_t(level)].size()))
    return;
  const std::string_view type = st_.ColType[size_t(level)][size_t(col)];
  if (!type.empty() && type[0] == 'I') {
    result = TypeDigit(type) == MasterNo;
    return;
  }
  if (!type.empty() && type[0] == 'D' && col >= 2) {
    const std::string_view left = st_.ColType[size_t(level)][size_t(col - 1)];
    if (!left.empty() && left[0] == 'I' && TypeDigit(left) == MasterNo) {
      result = true;
      // The code goes into the code column: the estimate grid's cursor moves
      // there too, so that the current column and the cursor stay together.
      GridModel* sheet = port_.EditorSheet ? port_.EditorSheet() : nullptr;
      if (sheet != nullptr)
        SetSheetLocate32(*sheet, col - 1, sheet->CurrentRow());
      st_.CurrentCol = col - 1;
    }
  }
}

void KvSiwa_Frm::SiwaSheet_DblClk(int col, int row) {
  if (EditMode) {
    grid_.BeginEdit(st_.EditCellPosition);
    return;
  }
  if (row < 1 || row > RowsMax) return;
  bool mine = false;
  IsMasterColumn(mine);
  if (!mine) return;
  const std::string code = MasterRows[1][size_t(row)];
  if (IsBlank(code)) return;
  GridModel* sheet = port_.EditorSheet ? port_.EditorSheet() : nullptr;
  if (sheet == nullptr) return;
  CellCommit(st_, *sheet, code);
  if (st_.ui.GetWindowState(kEditWindow) != WindowState::Minimized && port_.EditorSheetFocus)
    port_.EditorSheetFocus();
}

// ---- Window ----

void KvSiwa_Frm::MoveClassificationWindow(int width, int height) {
  if (!port_.Bounds || !port_.SetBounds) return;
  WindowRect r = port_.Bounds();
  if (width > 0) r.width = width;
  if (height > 0) r.height = height;
  port_.SetBounds(r);
}

void KvSiwa_Frm::Form_Resize() {
  if (!loaded_ || resizeDepth_ > 0) return;
  ++resizeDepth_;
  const WindowState state = port_.State ? port_.State() : WindowState::Normal;
  if (st_.CoverToolPid != 0) {
    if (state != WindowState::Minimized && port_.SetState) port_.SetState(WindowState::Minimized);
  } else if (state == WindowState::Minimized) {
    if (st_.ui.GetWindowState(kEditWindow) != WindowState::Minimized && port_.EditorSheetFocus)
      port_.EditorSheetFocus();
  } else if (state == WindowState::Normal) {
    FloatWindowsTopMostSet(st_, true);
  }
  --resizeDepth_;
}

bool KvSiwa_Frm::Form_QueryUnload() {
  bool goOn = true;
  if (MasterModified) {
    const int answer = Msg("仕訳ﾌｧｲﾙを保存して終了しますか？", vbYesNoCancel | vbQuestion, "終了");
    if (answer == vbCancel) {
      goOn = false;
    } else if (answer == vbYes) {
      bool saved = false;
      SaveAndReload(saved);
      // What could not be saved stays on screen.
      goOn = saved;
    }
  }
  SaveClassificationWindowPos();
  IniPutString(kZoomSection, "SiwakeZoom", std::to_string(ZoomPercent), SysIniPath());
  if (!goOn) return false;
  st_.SiwakeWindowOpen = false;
  if (port_.HiinsatuStateSet) port_.HiinsatuStateSet(false);
  return true;
}

}  // namespace kv
