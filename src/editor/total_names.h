#pragma once
// The total-row names window's logic: a one-row grid (`TotalSheet`) laid out
// like the current level's sheet, showing the texts of the sheet's closing
// record (`SheetTotalRecord`) that label the totals line. Columns without a
// total definition are editable; computed columns show a run of "*" and
// refuse edits. Saving writes the texts back into the record and the
// editor's totals line. The window only shows the grid, the menu and the
// caption; everything it does goes through this class, which handles the
// grid's events itself.
#include <functional>
#include <string>

namespace kv {

struct ProgramState;
class GridModel;

// The window's parts this logic drives.
struct TotalNamesPort {
  std::function<void(const std::string& caption)> SetCaption;
  // Menu items 0 (save) and 1 (discard) enabled or not.
  std::function<void(bool enabled)> MenuEnable;
  // Closes the window (which then runs Form_Unload).
  std::function<void()> Unload;
};

class TotalNames {
 public:
  // `editorSheet` is the editor's sheet grid, whose totals line a save
  // refreshes; null when there is none to refresh.
  TotalNames(ProgramState& st, GridModel& totalSheet, GridModel* editorSheet, TotalNamesPort port);
  TotalNames(const TotalNames&) = delete;
  TotalNames& operator=(const TotalNames&) = delete;

  // Lays out and fills the grid; nothing changed, save and discard disabled.
  void Form_Load();
  // Menu "処理(&S)": 0 save, 1 discard the edits, 3 close.
  void mnuSItem_Click(int index);
  // On closing: an unsaved change asks whether to save it (Yes saves).
  void Form_Unload();

  void TotalNameLayout();
  void TotalNameFill();
  void TotalNameSave();
  void TotalNameMenuEnable(bool enabled);
  // The grid's edit mode: 9 (typing opens the cell) on an editable column,
  // 0 (read-only) otherwise.
  void TotalCellEditMode(int col);

  bool Changed() const { return changed_; }
  // Height of the grid in twips; the window is this + 750 twips high.
  int GridHeightTwips() const { return gridHeight_; }
  static constexpr int kFrameTwips = 750;

 private:
  int Level() const;
  int Columns() const;
  bool Hidden(int col) const;
  bool Editable(int col) const;
  // The run of "*" a computed column shows.
  std::string StarRun(int col) const;
  void MarkChanged();

  void OnLocate(int col);
  void OnEditEnd();
  void OnKeyDown(int& key);

  ProgramState& st_;
  GridModel& sheet_;
  GridModel* editorSheet_;
  TotalNamesPort port_;
  bool changed_ = false;  // TNameChanged
  int gridHeight_ = 0;    // TNameGridHeight
  int lastCol_ = 0;       // TNameLastCol
};

}  // namespace kv
