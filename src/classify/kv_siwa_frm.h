#pragma once
// KvSiwa_Frm: the classification master window's logic. It shows one master
// (1 or 2, chosen by the estimate's current column) in the grid `SiwaSheet`,
// hands a double-clicked row's code into the estimate's current cell, and in
// edit mode (追加変更) lets the rows be changed and saved. The Qt window only
// shows the grid and the menus; the menus are held here as data (`Menus`),
// and every grid event goes through this class.
//
// Row table: `MasterRows`[item][row] (item 1..ItemCount, row 1..RowsMax) holds
// each cell's Shift-JIS bytes, exactly the item's width. Every change of a
// grid cell (edit, Delete key, cut, delete, paste, row commands) is made in
// `MasterRows` in the same step, so the duplicate-code check always sees the
// codes as they stand.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"
#include "state/menu_model.h"

namespace kv {

struct ProgramState;
class GridModel;

inline constexpr const char* kSiwaPrintWindow = "frmSiwaPrn";

// The window's parts the logic drives. Rectangles are outer ones, in twips.
struct SiwaWindowPort {
  std::function<WindowRect()> Bounds;
  std::function<void(const WindowRect&)> SetBounds;
  // Gives the window this size and centres it on the screen.
  std::function<void(int widthTw, int heightTw)> CenterAt;
  // The screen's size in twips (when not given, any place counts as on it).
  std::function<TextSize()> ScreenTwips;
  std::function<WindowState()> State;
  std::function<void(WindowState)> SetState;
  std::function<void(const std::string& caption)> SetCaption;
  // The menus (`Menus`) changed: show them.
  std::function<void()> MenusChanged;
  // The editor window's non-print row lock.
  std::function<void(bool locked)> HiinsatuStateSet;
  // The editor's sheet grid (null: none).
  std::function<GridModel*()> EditorSheet;
  std::function<void()> EditorSheetFocus;
  // Closes the window (which then runs Form_QueryUnload).
  std::function<void()> Unload;
};

class KvSiwa_Frm {
 public:
  KvSiwa_Frm(ProgramState& st, GridModel& siwaSheet, SiwaWindowPort port);
  KvSiwa_Frm(const KvSiwa_Frm&) = delete;
  KvSiwa_Frm& operator=(const KvSiwa_Frm&) = delete;

  // Opens the window on the master of the estimate's current column. False
  // (after telling the user why, where there is a reason to tell) when it
  // cannot open: no classification column, unusable settings, a master file
  // that cannot be read.
  bool Form_Load();
  void ReadClassificationWindowPos();
  void SaveClassificationWindowPos();
  bool LoadClassificationFile();
  void ParseClassificationRecord(std::string_view record, int row);
  void FillClassificationSheet();
  bool ReadClassificationLayout();
  bool GetMasterNumber(int& master) const;
  void SetUpClassificationSheet();
  // The close: false when refused (Cancel, or a save that failed).
  bool Form_QueryUnload();
  void Form_Resize();
  void SheetToClassificationArray();
  // False when the file could not be written (the user has been told; the
  // file on disk is as it was).
  bool SaveClassificationFile();
  void SortClassificationRows();
  int CompactClassificationRows(std::vector<std::vector<std::string>>& rows);
  std::string BuildClassificationRecord(int row, bool& last) const;
  void MoveClassificationWindow(int width, int height);
  bool SaveIfModified();
  void SetFileMenuEditState(bool flag);
  void SetEditMenuState(bool flag);
  void PasteClassificationCells();
  void CopyClassificationCells();
  void mnuEItem_Click(int index);
  void InsertClassificationRows();
  void DeleteClassificationRows();
  void FindLastUsedRow(int& result) const;
  void mnuFItem_Click(int index);
  void mnuVZItem_Click(int index);
  void SiwaSheet_DblClk(int col, int row);
  void IsMasterColumn(bool& result);
  void SiwaSheet_Divide(int x, int y);
  void SiwaSheet_EditEnd();
  void SiwaSheet_KeyDown2(int& key, bool shift, bool ctrl);
  void SiwaSheet_LButtonDown(int col, int row, bool& ignore);
  void SiwaSheet_Locate(int col, int row);
  void SiwaSheet_RButtonDown(int col, int row, bool& ignore);
  void AdvanceClassificationCursor();
  void IsCodeUnique(std::string_view code, bool& result) const;
  void CheckPastedCode(std::string& code, int col, int row);
  void SetCellEditPermission(int col, int row);

  // The row table.
  int MasterNo = 0;
  std::string MasterFileName;
  int RowsMax = 0;
  int ItemCount = 0;
  std::vector<int> ItemWidth;                       // [1..ItemCount]
  std::vector<std::vector<std::string>> MasterRows;  // [item][row], 1-based
  // Window state.
  bool EditMode = false;
  bool MasterModified = false;
  int ZoomPercent = 100;
  int CursorCol = 1;
  int CursorRow = 1;
  int GridFontSize = 0;

  EditorMenus& Menus() { return menus_; }
  // The master's full path.
  std::filesystem::path MasterPath() const;
  // True while the master has more records than the window shows: edit mode
  // is refused for it so that no save drops the rows not shown.
  bool TooLong() const { return tooLong_; }

 private:
  std::filesystem::path SysIniPath() const;
  int Msg(std::string_view text, int style, std::string_view title);
  std::string CellBytes(int col, int row) const;
  void SetCell(int col, int row, const std::string& bytes);
  bool IsBlankCell(int col, int row) const;
  void ClearSelectionCells();
  void EditModeSet(bool on);
  void MenusChanged();
  bool EditAllowed() const;
  void SaveAndReload(bool& saved);

  ProgramState& st_;
  GridModel& grid_;
  SiwaWindowPort port_;
  EditorMenus menus_;
  bool loaded_ = false;
  bool tooLong_ = false;
  int resizeDepth_ = 0;
};

// The menus of the window as designed: mnuF, mnuE, mnuV with its zoom items.
EditorMenus SiwaMenuTree();

}  // namespace kv
