// The File menu's print set-up and print items up to their dialogs: the
// refusals (no printer, nothing to print, the save question cancelled or the
// save failing), the estimate saved with its page numbers and the sheet's
// first page read back, the first page number and the row range handed to
// the dialog, the dialog never shown twice, and both items doing nothing of
// their own while the program has no such dialog.
#include "editor/print_prep.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/file_menu.h"
#include "editor/page_numbers.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_model.h"
#include "state/float_windows.h"
#include "state/menu_model.h"
#include "storage/level_fixture.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

// The editor window: the real page numbering, the busy lock as a flag, and a
// print dialog that may be open already.
class PrintEditor : public RecordingEditor {
 public:
  EditorMenus menus = EditorMenuTree();
  bool printWindowOpen = false;
  EditorMenus* Menus() override { return &menus; }
  void PageNumbersWrite(ProgramState& st) override {
    RecordingEditor::PageNumbersWrite(st);
    kv::PageNumbersWrite(st);
  }
  void ToolBarStateSet(ProgramState& st, bool busy) override {
    st.CommandBusy = busy;
    RecordingEditor::ToolBarStateSet(st, busy);
  }
  bool FormCaptionOpen(ProgramState&, const std::string& caption) override {
    return printWindowOpen && caption == "印刷";
  }
};

// The sheet engine with the editor's grid, whose selection the print reads.
class PrintSheet : public RecordingSheet {
 public:
  GridModel grid;
  GridModel* EdtSheetGrid(ProgramState&) override { return &grid; }
};

class PrintPrepTest : public LevelFixture {
 protected:
  // Level 1: five rows, row 1 owning a breakdown of three rows that starts at
  // record 3 of its file. Two rows a page: the breakdown starts on page 4.
  void SetUp() override {
    LevelFixture::SetUp();
    std::filesystem::create_directories(app.path() / "DATA");
    WriteLevel(1, {{' ', 0, 2, 3, "T1"}, {' ', 0, 3, kNoRecord, "T2"}, {' ', 0, 4, kNoRecord, "T3"},
                   {' ', 0, 5, kNoRecord, "T4"}, {' ', 0, 6, kNoRecord, "T5"}, {'G', 0, kNoRecord}});
    std::vector<Rec> level2 = Filler(2);
    for (Rec r : std::vector<Rec>{{' ', 0, 4, kNoRecord, "B1"}, {' ', 0, 5, kNoRecord, "B2"},
                                  {' ', 0, 6, kNoRecord, "B3"}, {'G', 0, kNoRecord}})
      level2.push_back(r);
    WriteLevel(2, level2);
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 2;
    st.editor = &editor;
    st.sheetEngine = &sheet;
    st.print = &print;
    st.FontName = "ＭＳ 明朝";
    editor.menus.At("Menu_7Sub", 2).caption = "";
    sheet.grid.SetColCount(6);
    sheet.grid.SetRowCount(30);
    sheet.grid.SetViewportSize(800, 600);
    for (int r = 1; r <= kMaxSheetRows; ++r) st.SheetRows[size_t(r)].assign(size_t(st.DataLen), ' ');
  }
  // The breakdown of row 1 in memory, as the user sees it on level 2.
  void OnBreakdown() {
    st.CurrentLevel = 2;
    SetParent(2, 1);
    SetRow(1, "B1");
    SetRow(2, "B2");
    SetRow(3, "B3");
  }
  void Click(int index) { Menu_1Sub_Click(st, index, port); }
  std::string FontCaption() { return editor.menus.At("Menu_7Sub", 2).caption; }

  PrintEditor editor;
  PrintSheet sheet;
  RecordingPrint print;
  FileMenuPort port;
};

TEST(PrintRequestOf, TheFirstPageFromTheFirstRecord) {
  struct Case {
    std::string field;  // bytes 16..19
    std::string request;
  } cases[] = {
      {"  Ah", "10"},  {" 12P", "12"}, {"    ", "1"},  {"   P", "1"},   {"   h", "1"},  {"FFFh", "4095"},
      {"999P", "999"}, {"  7 ", "1"},  {" 12x", "1"}, {"12 P", "12"},
  };
  for (const Case& c : cases) {
    std::string rec(256, ' ');
    rec.replace(15, 4, c.field);
    EXPECT_EQ(PrintRequestOf(rec), c.request) << '"' << c.field << '"';
  }
  EXPECT_EQ(PrintRequestOf("short"), "1");
}

TEST(PrintRangeSet, MoreThanOneRowSelectedPrintsThoseRowsElseTheSheet) {
  struct Case {
    int modeBefore, top, bottom;
    int mode, from, to;
  } cases[] = {
      {0, 5, 9, 2, 5, 9},    // rows 5..9
      {1, 5, 6, 2, 5, 6},    // a page range gives way to the row range
      {2, 5, 5, 0, 1, 12},   // one row: the whole sheet, the row range ended
      {1, 5, 5, 1, 1, 12},   // one row: a page range stays
      {0, 0, 0, 0, 1, 12},   // no grid
  };
  for (const Case& c : cases) {
    ScriptedUi ui;
    ProgramState st{ui};
    st.UsedRows = 12;
    st.PrintRangeMode = c.modeBefore;
    PrintRangeSet(st, c.top, c.bottom);
    EXPECT_EQ(std::vector<int>({st.PrintRangeMode, st.PrintRowFrom, st.PrintRowTo}),
              std::vector<int>({c.mode, c.from, c.to}))
        << c.modeBefore << " " << c.top << ".." << c.bottom;
  }
}

TEST_F(PrintPrepTest, WithoutAPrinterBothItemsOnlySaySo) {
  ui.printers.clear();
  OnBreakdown();
  const std::pair<int, std::string> cases[] = {
      {14, "プリンタがインストールされていないため、印刷設定を行うことが出来ません\r"
           "印刷設定を行うためには、プリンタをインストールしてください。"},
      {15, "プリンタがインストールされていないため、TheKorvaneから印刷することが出来ません\r"
           "TheKorvaneから印刷を行うためには、プリンタをインストールしてください。"},
  };
  for (const auto& [index, text] : cases) {
    ui.AnswerMsgBox(vbOK, text);
    Click(index);
    EXPECT_EQ(ui.Prompts().back().title, "DI32DODA");
    EXPECT_EQ(ui.Prompts().back().style, vbOKOnly);
  }
  EXPECT_TRUE(ui.CallsStartingWith("ShowModal(").empty());
  EXPECT_TRUE(print.calls.empty());
  EXPECT_EQ(FontCaption(), "") << "no epilogue";
}

TEST_F(PrintPrepTest, AnEmptySheetHasNothingToPrint) {
  st.WorkFileBase = st.AppPath + "/WORK/無題";
  st.SheetModified = true;
  ui.AnswerMsgBox(vbOK, "印刷するデータがありません。");
  Click(15);
  EXPECT_EQ(ui.Prompts().back().title, "印刷");
  EXPECT_EQ(ui.Prompts().size(), 1u) << "no save question, no dialog";
  EXPECT_EQ(st.UsedRows, 0);
  EXPECT_FALSE(sheet.Has("LevelSheetRecord()"));
  EXPECT_EQ(FontCaption(), "");
}

TEST_F(PrintPrepTest, AModifiedSheetIsSavedNumberedAndReadBackBeforeTheDialog) {
  OnBreakdown();
  st.SheetModified = true;
  st.PrintRequest = "7";
  st.CommandBusy = true;
  ui.AnswerMsgBox(vbOK, "編集中のﾌｧｲﾙを保存後に印刷をします");
  int rangeMode = -1;
  std::string request;
  ui.AnswerModal("frmP1SetUp", [&] {
    rangeMode = st.PrintRangeMode;
    request = st.PrintRequest;
  });
  Click(15);

  EXPECT_EQ(ui.Prompts().front().style, vbOKCancel);
  EXPECT_EQ(ui.Prompts().front().title, "印刷");
  EXPECT_TRUE(sheet.Has("LevelSheetRecord()"));
  EXPECT_TRUE(editor.Has("PageNumbersWrite()"));
  EXPECT_FALSE(st.SheetModified);
  EXPECT_TRUE(st.PackPending);
  // Row 1 is the breakdown's first record (record 3, the parent's child
  // link) as written: it starts on page 4.
  EXPECT_EQ(st.SheetRows[1].substr(15, 4), "  4P");
  EXPECT_EQ(Text(st.SheetRows[1], 2), "B1");
  EXPECT_TRUE(sheet.Has("StatusPageShow(1)"));
  EXPECT_EQ(request, "4") << "the dialog sees the sheet's first page";
  EXPECT_EQ(rangeMode, 0);
  EXPECT_EQ(std::vector<int>({st.PrintRowFrom, st.PrintRowTo}), std::vector<int>({1, 3}));
  EXPECT_EQ(sheet.calls.back(), "PageLinesDraw()");
  EXPECT_EQ(print.calls, (std::vector<std::string>{"UpdatePaperMenu()", "FillPaperCombo()"}));
  EXPECT_FALSE(st.CommandBusy);
  EXPECT_EQ(FontCaption(), "ﾌｫﾝﾄ=ＭＳ 明朝");
}

TEST_F(PrintPrepTest, TheSaveQuestionCancelledOrTheSaveFailedEndsThePrint) {
  struct Case {
    const char* name;
    bool untitled, modified;
    int answer;
    bool recorded;
  } cases[] = {
      {"modified, cancelled", false, true, vbCancel, true},
      {"untitled and unmodified still asks; cancelled", true, false, vbCancel, true},
      {"saving fails", false, true, vbOK, false},
  };
  st.CurrentLevel = 1;
  SetRow(1, "T1");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    st.WorkFileBase = st.AppPath + (c.untitled ? "/WORK/無題" : "/WORK/EST");
    st.SheetModified = c.modified;
    st.CommandBusy = true;
    sheet.recordResult = c.recorded;
    sheet.calls.clear();
    ui.AnswerMsgBox(c.answer, "編集中のﾌｧｲﾙを保存後に印刷をします");
    Click(15);
    EXPECT_EQ(sheet.Has("LevelSheetRecord()"), c.answer == vbOK);
    EXPECT_EQ(st.SheetModified, c.modified);
    EXPECT_FALSE(st.PackPending);
    EXPECT_TRUE(st.CommandBusy) << "nothing released";
    EXPECT_TRUE(print.calls.empty());
  }
  EXPECT_TRUE(ui.CallsStartingWith("ShowModal(").empty());
  EXPECT_EQ(FontCaption(), "");
}

TEST_F(PrintPrepTest, ASavedSheetPrintsItsSelectionWithoutAQuestion) {
  st.CurrentLevel = 1;
  for (int r = 1; r <= 8; ++r) SetRow(r, "R" + std::to_string(r));
  std::string rec = st.SheetRows[1];
  rec.replace(15, 4, "  Ah");
  st.SheetRows[1] = rec;
  SetSelect32(sheet.grid, 3, 7, 1, 4);  // dragged upwards over rows 7..4
  st.SearchSheetLoaded = st.RefSheetLoaded = true;
  ui.AnswerModal("frmP1SetUp");
  Click(15);
  EXPECT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Calls(), (std::vector<std::string>{"UnloadWindow(SchSheet_Frm)", "UnloadWindow(RefSheet_Frm)",
                                                  "ShowModal(frmP1SetUp)"}));
  EXPECT_FALSE(st.SearchSheetLoaded);
  EXPECT_FALSE(st.RefSheetLoaded);
  EXPECT_EQ(st.PrintRequest, "10");
  EXPECT_EQ(std::vector<int>({st.PrintRangeMode, st.PrintRowFrom, st.PrintRowTo}), std::vector<int>({2, 4, 7}));
  EXPECT_EQ(st.UsedRows, 8);
  EXPECT_FALSE(sheet.Has("LevelSheetRecord()"));
}

TEST_F(PrintPrepTest, AnOpenPrintDialogIsNotShownAgain) {
  st.CurrentLevel = 1;
  SetRow(1, "T1");
  editor.printWindowOpen = true;
  st.CommandBusy = true;
  Click(15);
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_EQ(st.PrintRequest, "1");
  EXPECT_EQ(print.calls, (std::vector<std::string>{"UpdatePaperMenu()", "FillPaperCombo()"}));
  EXPECT_FALSE(st.CommandBusy);
  EXPECT_EQ(FontCaption(), "ﾌｫﾝﾄ=ＭＳ 明朝");
}

TEST_F(PrintPrepTest, PrintSetUpShowsItsDialogAndRefreshesThePaperForm) {
  st.SearchSheetLoaded = st.RefSheetLoaded = true;
  st.UnitWindowOpen = true;
  ui.AnswerModal("frmP2SetUp");
  Click(14);
  EXPECT_EQ(ui.Calls(), (std::vector<std::string>{"UnloadWindow(SchSheet_Frm)", "UnloadWindow(RefSheet_Frm)",
                                                  "ShowModal(frmP2SetUp)", "SetWindowTopMost(UNIT2_Frm, true)"}));
  EXPECT_TRUE(sheet.Has("PageLinesDraw()"));
  EXPECT_EQ(print.calls, (std::vector<std::string>{"UpdatePaperMenu()", "FillPaperCombo()"}));
  EXPECT_EQ(FontCaption(), "ﾌｫﾝﾄ=ＭＳ 明朝");
}

TEST_F(PrintPrepTest, WithoutTheirDialogsBothItemsRunOnlyThePrologueAndEpilogue) {
  ui.missingWindows = {"frmP1SetUp", "frmP2SetUp"};
  OnBreakdown();
  st.SheetModified = true;
  st.CommandBusy = true;
  for (int index : {14, 15}) {
    editor.menus.At("Menu_7Sub", 2).caption = "";
    Click(index);
    EXPECT_EQ(FontCaption(), "ﾌｫﾝﾄ=ＭＳ 明朝") << index;
  }
  EXPECT_TRUE(ui.Calls().empty());
  EXPECT_TRUE(sheet.calls.empty());
  EXPECT_TRUE(print.calls.empty());
  EXPECT_TRUE(st.CommandBusy) << "another command's lock stays";
  EXPECT_TRUE(st.SheetModified);
}

}  // namespace
}  // namespace kv::test
