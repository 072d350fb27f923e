#pragma once
// The project-information window's logic (frmKoujiSht): a grid `koujiSht` of
// 50 rows and 2 columns, the labels of SUBTITLE.DAT in column 1 and the
// values of the estimate's ".YT" in column 2. It handles the grid's events,
// the File, Edit, zoom and help menus, and the close with its save
// question; the window only shows the grid and the menus and hands their
// events here.
#include <functional>
#include <optional>
#include <string>

#include "editor/kouji_files.h"
#include "platform/ui.h"

namespace kv {

struct ProgramState;
class GridModel;

inline constexpr const char* kKoujiWindow = "frmKoujiSht";

// The zoom items "100%" .. "60%" (indexes 0..4).
inline constexpr int kKoujiZooms[] = {100, 90, 80, 70, 60};

// The window's parts this logic drives. Rectangles are in twips.
struct KoujiShtPort {
  std::function<void(const std::string& caption)> SetCaption;
  // Places the window at the rectangle kept in the settings.
  std::function<void(const WindowRect& twips)> Place;
  // No rectangle kept: the window this wide, in the middle of the screen.
  std::function<void(int widthTwips)> CenterAtWidth;
  // The check mark of the zoom items: on item `index` alone.
  std::function<void(int index)> ZoomCheck;
  // The Edit menu as the grid's popup menu.
  std::function<void()> EditMenuPopup;
  // Closes the window (which then asks Form_QueryUnload and Form_Unload).
  std::function<void()> Unload;
};

class KoujiSht {
 public:
  static constexpr int kMinWidthTwips = 6000;
  static constexpr int kMinHeightTwips = 4000;
  // The height the window is given when no rectangle is kept.
  static constexpr int kDefaultHeightTwips = 6000;

  KoujiSht(ProgramState& st, GridModel& koujiSht, KoujiShtPort port);
  KoujiSht(const KoujiSht&) = delete;
  KoujiSht& operator=(const KoujiSht&) = delete;

  // Sets the grid, the caption, the place and the zoom up, reads the labels
  // and values of the open estimate, puts the cursor on row 1, column 2, and
  // takes the floating windows out of the topmost band.
  void Form_Load();

  // The grid's layout, caption, window place and zoom ([工事情報画面],
  // [ズーム倍率] KouziZoom of KVSSYS.INI; a missing rectangle centres the
  // window at the width of the three columns, a zoom that is none of the
  // five values gives 100 %).
  void KoujiShtInit();
  // Labels from SUBTITLE.DAT and values from "<work base>.YT" into the rows
  // and the grid. A missing file leaves its column blank.
  void KoujiDataRead(const std::string& workBase);
  // Writes both files whole. A file that cannot be written is reported by
  // name. Returns which were written.
  struct WriteResult {
    bool labels = false;
    bool values = false;
    bool Ok() const { return labels && values; }
  };
  WriteResult KoujiDataWrite(const std::string& workBase);
  // The grid's selection, start <= end in both directions.
  void KjShtGetRegion(int& col1, int& row1, int& col2, int& row2) const;

  // File menu: 1 save, 5 close. Edit menu: 1 cut, 2 copy, 3 paste, 4 delete.
  void KoujiMenu_1sub_Click(int index);
  void KoujiMenu_2Sub_Click(int index);
  // Help: the manual at its page on the project information.
  void KoujiMenu3_Click();
  // Zoom items 0..4: 100 % .. 60 %.
  void mnuVZItem_Click(int index);

  // Closing: the window's rectangle and the zoom written to KVSSYS.INI
  // (always, also when the close is cancelled afterwards).
  void Form_QueryUnload(const WindowRect& twips);
  // Closing: a change asks "工事情報の内容は変更されています。" LF "保存しますか?"
  // (Yes saves, No drops the changes, Cancel keeps the window). True when
  // the close is cancelled (also when the save failed).
  bool Form_Unload();

  bool KjChanged() const { return changed_; }
  int KjCurCol() const { return curCol_; }
  int KjCurRow() const { return curRow_; }
  int KjZoom() const { return zoom_; }
  const KoujiTexts& KjItemName() const { return labels_; }
  const KoujiTexts& KjContent() const { return values_; }
  // The window width of the three columns (after KoujiShtInit).
  int ColumnsWidthTwips() const { return columnsWidthTwips_; }

 private:
  void OnLocate(int col, int row);
  void OnPreEdit(int& key);
  void OnDblClk(int col, int row);
  void OnEditEnd();
  void OnKeyDown(int& key);
  void Save();
  // The entry of the current cell takes the grid's text of that cell.
  void StoreCurrent();
  std::string SysIniPath() const;
  void ZoomSet(int index);

  ProgramState& st_;
  GridModel& grid_;
  KoujiShtPort port_;
  KoujiTexts labels_;  // KjItemName
  KoujiTexts values_;  // KjContent
  // The rows as the files held them: a row not edited is saved as it was.
  KoujiAsRead labelsRead_;
  KoujiAsRead valuesRead_;
  bool changed_ = false;
  int curCol_ = 2;
  int curRow_ = 1;
  int zoom_ = 100;
  int columnsWidthTwips_ = 0;
};

}  // namespace kv
