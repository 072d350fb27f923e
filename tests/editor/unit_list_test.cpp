// The unit list: UNIT.DAT read and written as tables of file contents, the
// layout table and the window fit, and the window's logic over a plain grid
// beside the editor's sheet (transfer, change mode, close question, a save
// that cannot be written).
#include "editor/unit_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "core/sjis_text.h"
#include "editor/editor_grid_fixture.h"
#include "platform/codepage.h"
#include "platform/grid/grid_keys.h"
#include "state/float_windows.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

std::string Lines(int count, const std::string& end = "\r\n") {
  std::string out;
  for (int i = 1; i <= count; ++i) out += "u" + std::to_string(i) + end;
  return out;
}

std::string Padded(std::string s) {
  s.resize(kUnitBytes, ' ');
  return s;
}

// ---- UNIT.DAT ----

TEST(UnitFile, ReadsSixtyUnitsAndKeepsTheRest) {
  const std::string lead = "\x82";  // a lead byte without its trail byte
  struct Case {
    const char* name;
    std::string bytes;
    std::string first, last;  // entries 1 and 60
    size_t kept;
    std::string firstKept;
  } cases[] = {
      {"empty", "", Padded(""), Padded(""), 0, ""},
      {"59 lines", Lines(59), "u1", Padded(""), 0, ""},
      {"60 lines", Lines(60), "u1", "u60", 0, ""},
      {"61 lines", Lines(61), "u1", "u60", 1, "u61"},
      {"200 lines", Lines(200), "u1", "u60", 140, "u61"},
      {"LF only", Lines(61, "\n"), "u1", "u60", 1, "u61"},
      {"CR only", Lines(61, "\r"), "u1", "u60", 1, "u61"},
      {"no end on the last line", "m\r\nkg", "m", Padded(""), 0, ""},
      {"long and short lines", "abcdefgh\r\n\r\nx\r\n", "abcdefgh", Padded(""), 0, ""},
      {"lone lead byte at a line end", "ab" + lead + "\r\ncd\r\n", "ab" + lead, Padded(""), 0, ""},
      {"junk", std::string("\x00\xff\x81\r\n\x01", 6), std::string("\x00\xff\x81", 3), Padded(""), 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const UnitFile f = UnitFileParse(c.bytes);
    EXPECT_EQ(f.texts[0], c.first);
    EXPECT_EQ(f.texts[59], c.last);
    ASSERT_EQ(f.kept.size(), c.kept);
    if (c.kept > 0) EXPECT_EQ(f.kept[0], c.firstKept);
  }
  EXPECT_EQ(UnitFileParse("a\n\nb").texts[1], "");  // an empty line is an entry of its own
  EXPECT_EQ(UnitFileParse("a\n\nb").texts[2], "b");
}

TEST(UnitFile, WritesSixtyFiveByteLinesThenTheKeptLines) {
  UnitFile f = UnitFileParse(Lines(62));
  f.texts[0] = "abcdefgh";            // cut to 5
  f.texts[1] = ToSjis("ｍ");          // one double-byte character: 3 blanks
  f.texts[2] = ToSjis("平米");        // a double-byte unit: 4 bytes and a blank
  f.texts[3] = ToSjis("立方米");      // 6 bytes: the third character would be split
  f.texts[4] = "";
  const std::string out = UnitFileBytes(f);
  ASSERT_EQ(out.size(), size_t(60 * 7 + 2 * 5));
  for (int i = 0; i < 60; ++i) EXPECT_EQ(out.substr(size_t(i * 7 + 5), 2), "\r\n") << i;
  EXPECT_EQ(out.substr(0, 7), "abcde\r\n");
  EXPECT_EQ(out.substr(7, 5), Padded(ToSjis("ｍ")));
  EXPECT_EQ(out.substr(14, 5), ToSjis("平米") + " ");
  EXPECT_EQ(out.substr(21, 5), ToSjis("立方") + " ");
  EXPECT_EQ(out.substr(28, 5), "     ");
  EXPECT_EQ(out.substr(59 * 7, 7), "u60  \r\n");
  EXPECT_EQ(out.substr(420), "u61\r\nu62\r\n");
  // Written and read back, the file loses nothing.
  test::TempFolder dir;
  ASSERT_TRUE(UnitFileWrite(dir / "UNIT.DAT", f));
  EXPECT_EQ(test::ReadAll(dir / "UNIT.DAT"), out);
  EXPECT_EQ(UnitFileRead(dir / "unit.dat").kept, (std::vector<std::string>{"u61", "u62"}));
}

// ---- Layout and fit ----

TEST(UnitLayout, PicksByTheRoundedNumberOfCells) {
  constexpr int cell = 100;
  struct Case {
    int width;
    UnitLayout expected;
  } cases[] = {
      {0, {2, 30}},     {249, {2, 30}},   {250, {2, 30}},   {251, {3, 20}},   {349, {3, 20}},
      {350, {4, 15}},   {450, {4, 15}},   {451, {5, 12}},   {550, {6, 10}},   {949, {6, 10}},
      {950, {10, 6}},   {1149, {10, 6}},  {1150, {12, 5}},  {1450, {12, 5}},  {1451, {15, 4}},
      {1949, {15, 4}},  {1950, {20, 3}},  {2949, {20, 3}},  {2950, {30, 2}},  {5949, {30, 2}},
      {5950, {60, 1}},  {99999, {60, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    EXPECT_EQ(UnitLayoutPick(c.width, cell, {6, 10}), c.expected);
  }
  EXPECT_EQ(UnitLayoutPick(5000, 0, {4, 15}), (UnitLayout{4, 15}));  // grid not set up
}

TEST(UnitFit, HighWindowShrinksToItsRowsLowOneGetsAScrollBar) {
  // Cells 300 x 200 twips, a 255-twip scroll bar.
  const UnitFit high = UnitWindowFit({1900, 5000, 300, 200, 255, false});
  EXPECT_EQ(high.layout, (UnitLayout{6, 10}));
  EXPECT_EQ(high.width, 6 * 300 + 60);
  EXPECT_EQ(high.height, 10 * 200 + 690 + 30);
  EXPECT_FALSE(high.verticalScrollBar);
  const UnitFit exact = UnitWindowFit({1900, 10 * 200 + 690, 300, 200, 255, false});
  EXPECT_FALSE(exact.verticalScrollBar);

  const UnitFit low = UnitWindowFit({1900, 2689, 300, 200, 255, false});
  EXPECT_TRUE(low.verticalScrollBar);
  EXPECT_EQ(low.width, 6 * 300 + 255 + 10);
  EXPECT_EQ(low.height, 2689);

  // A window widened for its scroll bar keeps its layout: 3 cells + the scroll
  // bar would round to 4 cells and the layout would change at every resize.
  const UnitFit three = UnitWindowFit({900, 1000, 300, 200, 255, false});
  ASSERT_EQ(three.layout, (UnitLayout{3, 20}));
  const UnitFit again = UnitWindowFit({three.width, three.height, 300, 200, 255, true});
  EXPECT_EQ(again.layout, (UnitLayout{3, 20}));
  EXPECT_EQ(again.width, three.width);
}

// ---- The window's logic ----

class UnitListTest : public test::EditorGridFixture {
 protected:
  void SetUp() override {
    EditorGridFixture::SetUp();
    st.AppPath = dir.path().string();
    st.EditCellPosition = 0;
    port.Bounds = [this] { return rect; };
    port.SetBounds = [this](const WindowRect& r) {
      rect = r;
      calls.push_back("SetBounds");
      list->Form_Resize();  // the window system reports the new size
    };
    port.CenterAt = [this](int w, int h) {
      rect.width = w, rect.height = h;
      calls.push_back("CenterAt");
    };
    port.State = [this] { return state; };
    port.SetState = [this](WindowState s) {
      state = s;
      calls.push_back("SetState");
    };
    port.ChangeItemSet = [this](const std::string& caption, bool checked) {
      changeCaption = caption;
      changeChecked = checked;
    };
    port.SaveItemEnable = [this](bool on) { saveEnabled = on; };
    port.EditItemsEnable = [this](bool on) { editEnabled = on; };
    port.HiinsatuStateSet = [this](bool locked) {
      calls.push_back(std::string("Hiinsatu(") + (locked ? "T" : "F") + (st.UnitWindowOpen ? ",open)" : ",closed)"));
    };
    port.EditorSheetFocus = [this] { calls.push_back("EditorFocus"); };
    port.Unload = [this] { calls.push_back("Unload"); };
    port.EditorSheet = [this] { return &grid; };
    port.scrollBarTwips = 255;
  }

  void Load(const std::string& unitDat) {
    dir.Write("UNIT.DAT", unitDat);
    Load();
  }
  void Load() {
    st.UnitWindowOpen = true;
    list = std::make_unique<UnitList>(st, units, port);
    list->Form_Load();
    list->Form_Resize();
  }
  // Double click on a unit cell, as the grid reports it.
  void DoubleClick(int col, int row) {
    units.SetCursor(col, row);
    units.LeftButtonDown(1, col, row, false);
    units.LeftButtonUp();
    units.DoubleClick(col, row);
  }
  std::string FileBytes() { return test::ReadAll(dir / "UNIT.DAT"); }

  test::TempFolder dir;
  GridModel units;
  UnitWindowPort port;
  WindowRect rect{100, 200, 3000, 6000};
  WindowState state = WindowState::Normal;
  std::vector<std::string> calls;
  std::string changeCaption;
  bool changeChecked = true, saveEnabled = true, editEnabled = true;
  std::unique_ptr<UnitList> list;
};

TEST_F(UnitListTest, LoadFillsTheGridRowByRowAndRelayoutKeepsTheOrder) {
  Load(Lines(61));
  EXPECT_EQ(list->Layout(), (UnitLayout{6, 10}));
  EXPECT_EQ(units.ColCount(), 6);
  EXPECT_EQ(units.CellText(1, 1), "u1");
  EXPECT_EQ(units.CellText(2, 1), "u2");
  EXPECT_EQ(units.CellText(1, 2), "u7");
  EXPECT_EQ(units.CellText(6, 10), "u60");
  EXPECT_EQ(units.RowHeight(0), 0);
  EXPECT_EQ(units.ColWidth(0), 0);
  EXPECT_EQ(changeCaption, "変更(&A) OFF");
  EXPECT_FALSE(changeChecked);
  EXPECT_FALSE(saveEnabled);
  EXPECT_FALSE(editEnabled);
  EXPECT_FALSE(list->ChangeMode());
  EXPECT_EQ(calls.front(), "CenterAt");  // no rectangle kept yet
  EXPECT_NE(std::find(calls.begin(), calls.end(), "Hiinsatu(T,open)"), calls.end());
  // The fit left the window as wide as six cells.
  const int cell = list->UnitCellWidth();
  ASSERT_GT(cell, 0);
  EXPECT_EQ(rect.width, 6 * cell + cell / 5);
  // Ten cells wide: 10 x 6, the same order.
  rect.width = 10 * cell;
  list->Form_Resize();
  EXPECT_EQ(list->Layout(), (UnitLayout{10, 6}));
  EXPECT_EQ(units.ColCount(), 10);
  EXPECT_EQ(units.CellText(1, 2), "u11");
  EXPECT_EQ(units.CellText(10, 6), "u60");
  // Narrower than two cells: widened to two.
  rect.width = cell;
  list->Form_Resize();
  EXPECT_EQ(list->Layout(), (UnitLayout{2, 30}));
  EXPECT_EQ(units.CellText(2, 30), "u60");
}

TEST_F(UnitListTest, KeptRectangleIsUsedAndWrittenBackUnlessMinimised) {
  const stdfs::path ini = dir / "KVSSYS.INI";
  IniPutString("単位画面", "Left", "300", ini);
  IniPutString("単位画面", "Top", "400", ini);
  IniPutString("単位画面", "Width", "2000", ini);
  IniPutString("単位画面", "Height", "9000", ini);
  Load(Lines(3));
  EXPECT_EQ(std::find(calls.begin(), calls.end(), "CenterAt"), calls.end());
  EXPECT_EQ(rect.left, 300);
  EXPECT_EQ(rect.top, 400);
  rect = {500, 600, 2100, 3100};
  state = WindowState::Minimized;
  ASSERT_TRUE(list->Form_QueryUnload());
  EXPECT_EQ(IniGetInt("単位画面", "Left", ini), 300);
  state = WindowState::Normal;
  ASSERT_TRUE(list->Form_QueryUnload());
  EXPECT_EQ(IniGetInt("単位画面", "Left", ini), 500);
  EXPECT_EQ(IniGetInt("単位画面", "Height", ini), 3100);
}

TEST_F(UnitListTest, UnusableRectangleCentresAtTheFirstFit) {
  const stdfs::path ini = dir / "KVSSYS.INI";
  port.ScreenTwips = [] { return TextSize{19200, 14400}; };
  struct Case {
    const char *left, *top, *width, *height;
  } cases[] = {
      {"300", "400", "0", "abc"},         // no size
      {"300", nullptr, "2000", "3000"},   // a key missing
      {"19200", "400", "2000", "3000"},   // right of the screen
      {"-2000", "400", "2000", "3000"},   // left of it
      {"300", "-3000", "2000", "3000"},   // above it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.left) + "," + (c.top ? c.top : "-"));
    stdfs::remove(ini);
    IniPutString("単位画面", "Left", c.left, ini);
    if (c.top) IniPutString("単位画面", "Top", c.top, ini);
    IniPutString("単位画面", "Width", c.width, ini);
    IniPutString("単位画面", "Height", c.height, ini);
    state = WindowState::Minimized;  // no fit after the load
    calls.clear();
    Load(Lines(3));
    EXPECT_EQ(calls.front(), "CenterAt");
    const int cell = list->UnitCellWidth();
    EXPECT_EQ(rect.width, 6 * cell + cell / 5);
    EXPECT_EQ(rect.height, 10 * list->UnitCellHeight() + 690 + 30);
  }
  // Partly on the screen: used as kept.
  IniPutString("単位画面", "Left", "18000", ini);
  IniPutString("単位画面", "Top", "400", ini);
  calls.clear();
  Load(Lines(3));
  EXPECT_EQ(calls.front(), "SetBounds");
  // A size larger than the screen is cut to the screen's.
  IniPutString("単位画面", "Width", "2147483647", ini);
  IniPutString("単位画面", "Height", "2147483647", ini);
  calls.clear();
  Load(Lines(3));
  ASSERT_EQ(calls.front(), "SetBounds");
  EXPECT_LE(rect.width, 19200);
  EXPECT_LE(rect.height, 14400);
}

TEST_F(UnitListTest, DoubleClickCommitsAUnitIntoATextColumnOnly) {
  Load(ToSjis("m2\r\n式\r\n"));
  st.SheetModified = false;
  MoveTo(1, 3);  // the name column of an item row
  DoubleClick(1, 1);
  EXPECT_EQ(test::SheetFixture::Bytes(st.SheetRows[3], 20, 10), "m2        ");
  EXPECT_TRUE(st.SheetModified);
  EXPECT_NE(std::find(calls.begin(), calls.end(), "EditorFocus"), calls.end());
  EXPECT_FALSE(list->UnitsModified());

  struct Refusal {
    const char* name;
    int col, row;
    char kind;
  } refusals[] = {{"小計 row", 1, 5, '#'}, {"tax row", 1, 6, '%'}, {"ｼ row", 1, 7, '\xBC'}, {"numeric column", 3, 8, ' '}};
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.name);
    Kind(r.row, r.kind);
    const std::string before = st.SheetRows[size_t(r.row)];
    MoveTo(r.col, r.row);
    st.SheetModified = false;
    ui.ExpectAllAnswered();  // silent: no message
    DoubleClick(2, 1);
    EXPECT_EQ(st.SheetRows[size_t(r.row)], before);
    EXPECT_FALSE(st.SheetModified);
    EXPECT_TRUE(ui.Prompts().empty());
  }
}

TEST_F(UnitListTest, DoubleClickOnAFreeCellEditsTheListInstead) {
  Load(ToSjis("m2\r\n"));
  MoveTo(1, 3);
  const std::string before = st.SheetRows[3];
  DoubleClick(3, 1);
  EXPECT_TRUE(units.Editing());
  EXPECT_TRUE(list->UnitsModified());  // even if the edit is then abandoned
  units.CommitEdit("本日の天気");        // 10 bytes: cut to 5 without splitting
  EXPECT_EQ(units.CellText(3, 1), ToUnicodeStr(CutToBytes(ToSjis("本日の天気"), 5)));
  EXPECT_EQ(st.SheetRows[3], before);
}

TEST_F(UnitListTest, ChangeModeOpensFilledCellsAndTheEditMenu) {
  Load(ToSjis("m2\r\nkg\r\n"));
  units.SetCursor(1, 1);
  EXPECT_FALSE(list->CellEditable());
  int f2 = gridkey::kF2;
  list->UNIT2SHEET_KeyDown2(f2);
  EXPECT_FALSE(units.Editing());  // a filled cell is protected
  EXPECT_FALSE(units.StartEditByTyping('A', "A"));

  list->mnuFItem_Click(0);
  EXPECT_TRUE(list->ChangeMode());
  EXPECT_EQ(changeCaption, "変更(&A) ON");
  EXPECT_TRUE(changeChecked);
  EXPECT_TRUE(saveEnabled);
  EXPECT_TRUE(editEnabled);
  EXPECT_TRUE(list->CellEditable());
  // A double click now edits instead of transferring.
  MoveTo(1, 3);
  const std::string before = st.SheetRows[3];
  DoubleClick(2, 1);
  EXPECT_TRUE(units.Editing());
  units.CommitEdit("t");
  EXPECT_EQ(st.SheetRows[3], before);
  // Copy alone marks the list changed; paste puts the clipboard in.
  units.SetCursor(1, 1);
  list->mnuEItem_Click(1);
  EXPECT_EQ(ui.clipboard, "m2");
  units.SetCursor(3, 1);
  list->mnuEItem_Click(2);
  EXPECT_EQ(units.CellText(3, 1), "m2");

  list->mnuFItem_Click(1);  // save, leave change mode
  EXPECT_FALSE(list->ChangeMode());
  EXPECT_FALSE(list->UnitsModified());
  EXPECT_EQ(changeCaption, "変更(&A) OFF");
  EXPECT_FALSE(saveEnabled);
  EXPECT_FALSE(editEnabled);
  EXPECT_EQ(FileBytes().substr(0, 21), "m2   \r\nt    \r\nm2   \r\n");
  EXPECT_EQ(FileBytes().size(), 420u);
}

TEST_F(UnitListTest, DeleteClearsOneCellAndTypingWaitsForAChange) {
  Load(ToSjis("m2\r\nkg\r\n"));
  units.SetCursor(3, 1);  // a free cell: editable, but typing waits
  EXPECT_TRUE(list->CellEditable());
  EXPECT_FALSE(units.StartEditByTyping('A', "A"));
  list->mnuFItem_Click(0);
  units.SetCursor(1, 1);
  units.SetSelection(1, 1, 2, 1);
  int del = gridkey::kDelete;
  list->UNIT2SHEET_KeyDown2(del);
  EXPECT_EQ(del, 0);
  EXPECT_EQ(units.CellText(1, 1), "m2");  // a range clears nothing
  EXPECT_TRUE(list->UnitsModified());
  del = gridkey::kDelete;
  list->UNIT2SHEET_KeyDown2(del);
  EXPECT_EQ(units.CellText(1, 1), "     ");
  EXPECT_TRUE(units.StartEditByTyping('A', "A"));  // changed: typing opens
}

// The grid's mouse events: a press sets the cell's input mode, a dragged
// range is cleared when it ends, a split is taken back, a right press is
// ignored.
TEST_F(UnitListTest, NoRangeNoSplitAndNoPopupStay) {
  Load(ToSjis("m2\r\n"));
  units.LeftButtonDown(1, 2, 1, false);  // a free cell: editable
  units.LeftButtonUp();
  EXPECT_TRUE(list->CellEditable());
  units.LeftButtonDown(1, 1, 1, false);  // a filled one: protected
  units.SetSelection(1, 1, 3, 2);
  ASSERT_TRUE(units.HasSelection());
  units.LeftButtonUp();
  EXPECT_FALSE(units.HasSelection());
  EXPECT_FALSE(list->CellEditable());
  units.SetDivide(40, 0);
  EXPECT_EQ(units.DivideX(), 0);
  bool ignore = false;
  list->UNIT2SHEET_RButtonDown(1, 1, ignore);
  EXPECT_TRUE(ignore);
}

TEST_F(UnitListTest, CloseQuestionYesNoCancel) {
  struct Case {
    int answer;
    bool closes;
    bool saved;
  } cases[] = {{vbYes, true, true}, {vbNo, true, false}, {vbCancel, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    calls.clear();
    Load(ToSjis("m2\r\n"));
    list->mnuFItem_Click(0);
    units.SetCursor(1, 1);
    list->mnuEItem_Click(3);  // delete the first unit
    ui.AnswerMsgBox(c.answer, kUnitCloseQuestion);
    EXPECT_EQ(list->Form_QueryUnload(), c.closes);
    ui.ExpectAllAnswered();
    const test::Prompt& p = ui.Prompts().back();
    EXPECT_EQ(p.title, "終了");
    EXPECT_EQ(p.style, vbYesNoCancel);
    EXPECT_EQ(FileBytes().substr(0, 5), c.saved ? "     " : "m2\r\n");
    EXPECT_EQ(st.UnitWindowOpen, !c.closes);
    EXPECT_EQ(calls.back() == "Hiinsatu(F,closed)", c.closes);  // the flag cleared first
    EXPECT_EQ(list->UnitsModified(), !c.saved);
    EXPECT_EQ(IniGetInt("単位画面", "Width", dir / "KVSSYS.INI") != -1, c.closes);
    stdfs::remove(dir / "KVSSYS.INI");
  }
  // Nothing changed: no question.
  Load(ToSjis("m2\r\n"));
  EXPECT_TRUE(list->Form_QueryUnload());
}

TEST_F(UnitListTest, MissingFileGivesFreeEntriesAndTheFirstSaveCreatesIt) {
  Load();
  EXPECT_EQ(units.CellText(1, 1), "     ");
  EXPECT_EQ(units.CellText(6, 10), "     ");
  DoubleClick(1, 1);
  units.CommitEdit("m");
  list->mnuFItem_Click(0);
  list->mnuFItem_Click(1);
  ASSERT_TRUE(stdfs::exists(dir / "UNIT.DAT"));
  EXPECT_EQ(FileBytes().size(), 420u);
  EXPECT_EQ(FileBytes().substr(0, 14), "m    \r\n     \r\n");
}

TEST_F(UnitListTest, LinesAfterTheSixtiethSurviveASave) {
  // A unit longer than 5 bytes is shown as read and, not edited, saved as read.
  Load("x\r\n" + ToSjis("立方米") + "\r\n" + Lines(62).substr(Lines(2).size()) + "abcdefgh\r\n");
  EXPECT_EQ(units.CellText(2, 1), "立方米");
  list->mnuFItem_Click(0);
  units.SetCursor(1, 1);
  list->mnuEItem_Click(3);
  list->mnuFItem_Click(1);
  const std::string out = FileBytes();
  EXPECT_EQ(out.substr(0, 7), "     \r\n");
  EXPECT_EQ(out.substr(7, 8), ToSjis("立方米") + "\r\n");
  EXPECT_EQ(out.substr(15, 7), "u3   \r\n");
  EXPECT_EQ(out.substr(421), "u61\r\nu62\r\nabcdefgh\r\n");
}

// Over-long lines and bytes without a Shift-JIS reading survive a save of
// the list (also a cell opened and closed on its own text); an edited line
// alone is cut to its 5 bytes.
TEST_F(UnitListTest, LinesNotEditedAreSavedAsTheyWere) {
  std::string file = std::string(100000, 'L') + "\r\n" + std::string("\xff\x80" "ab" "\x82\x82") + "\r\n" +
                     ToSjis("平方メートル") + "\r\n";
  for (int i = 4; i <= 60; ++i) file += Padded("u" + std::to_string(i)) + "\r\n";
  file += "after\r\n";
  Load(file);
  list->mnuFItem_Click(0);
  units.SetCursor(1, 1);
  int f2 = gridkey::kF2;
  list->UNIT2SHEET_KeyDown2(f2);
  ASSERT_TRUE(units.Editing());
  units.CommitEdit(units.CellText(1, 1));
  ASSERT_TRUE(list->UnitsModified());
  list->mnuFItem_Click(1);
  EXPECT_EQ(FileBytes(), file);

  list->mnuFItem_Click(0);
  DoubleClick(3, 1);
  units.CommitEdit("平方米メートル");
  list->mnuFItem_Click(1);
  std::string expected = file;
  const size_t third = 100000 + 2 + 6 + 2;
  expected.replace(third, 12, ToSjis("平方") + " ");
  EXPECT_EQ(FileBytes(), expected);
}

TEST_F(UnitListTest, FailedSaveKeepsTheUnsavedList) {
  struct Case {
    const char* name;
    std::function<void()> block;
  } cases[] = {
      {"read-only file", [this] { stdfs::permissions(dir / "UNIT.DAT", stdfs::perms(0444)); }},
      {"a folder in its place",
       [this] {
         stdfs::remove(dir / "UNIT.DAT");
         stdfs::create_directories(dir / "UNIT.DAT" / "x");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stdfs::remove_all(dir / "UNIT.DAT");
    Load(ToSjis("m2\r\n"));
    const std::string before = FileBytes();
    c.block();
    list->mnuFItem_Click(0);
    units.SetCursor(1, 1);
    list->mnuEItem_Click(3);
    const std::string name = (dir / "UNIT.DAT").string();
    ui.AnswerMsgBox(vbOK, name);
    list->mnuFItem_Click(1);
    EXPECT_TRUE(list->ChangeMode());
    EXPECT_TRUE(list->UnitsModified());
    EXPECT_TRUE(saveEnabled);
    EXPECT_EQ(units.CellText(1, 1), "     ");
    // Yes at the close question: the save fails again and the window stays.
    ui.AnswerMsgBox(vbYes, kUnitCloseQuestion).AnswerMsgBox(vbOK, name);
    EXPECT_FALSE(list->Form_QueryUnload());
    EXPECT_TRUE(st.UnitWindowOpen);
    ui.ExpectAllAnswered();
    if (c.name[0] == 'r') EXPECT_EQ(FileBytes(), before);
    stdfs::permissions(dir / "UNIT.DAT", stdfs::perms::owner_all, stdfs::perm_options::add);
  }
}

TEST_F(UnitListTest, StaysMinimisedWhileTheCoverToolRuns) {
  Load(Lines(3));
  calls.clear();
  st.CoverToolPid = 42;
  rect.width = 20000;
  list->Form_Resize();
  EXPECT_EQ(state, WindowState::Minimized);
  EXPECT_EQ(list->Layout(), (UnitLayout{6, 10}));  // nothing else happened
  EXPECT_EQ(calls, std::vector<std::string>{"SetState"});
  st.CoverToolPid = 0;
  list->Form_Resize();  // minimised: the editor's grid takes the focus
  EXPECT_EQ(calls.back(), "EditorFocus");
}

TEST(UnitWindowShowTest, SetsTheFlagAndShowsTheWindow) {
  test::ScriptedUi ui;
  ProgramState st{ui};
  UnitWindowShow(st);
  EXPECT_TRUE(st.UnitWindowOpen);
  EXPECT_EQ(ui.ModelessShown(), std::vector<std::string>{std::string(kUnitWindow)});
}

}  // namespace
}  // namespace kv
