#pragma once
// The running editor on an untitled level-1 sheet of three columns, for the
// tool windows that open beside it (the unit list, the classification
// master): the test registers its window, opens it and reads the sheet.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "editor/windows/edtsheet_frm.h"
#include "platform/qt/qt_ui.h"
#include "state/column_numbers.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

namespace kv::test {

struct SheetColumn {
  const char* type;
  int start, width;
};

class ToolWindowFixture : public ::testing::Test {
 protected:
  // Shows the editor with these columns on level 1, once `registerTool` has
  // registered the tool window with the seam.
  template <class Register>
  void EditorStart(const SheetColumn (&columns)[3], Register registerTool) {
    EnsureQtApp();
    st.AppPath = app.path().string();
    std::filesystem::create_directories(app.path() / "WORK");
    st.WorkFileBase = st.AppPath + "/WORK/無題";
    st.CurrentFilePath = st.WorkFileBase;
    st.DataLen = 128;
    st.Imax = 50;
    st.MemoRowMax = 80;
    st.FontName = "ＭＳ 明朝";
    st.KVZoom = 100;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 40;
    st.EditWinWidth = 15000;
    st.EditWinHeight = 7000;
    st.CurrentLevel = 1;
    st.LevelCaption[1] = Blank();
    for (int c = 1; c <= 3; ++c) {
      st.ColType[1][c] = columns[c - 1].type;
      st.ColStart[1][c] = columns[c - 1].start;
      st.ColWidth[1][c] = columns[c - 1].width;
    }
    st.ColCount[1] = 3;
    st.FormatMasks[1] = MakeColumnMasks(st, 1);
    for (std::string& r : st.SheetRows) r = Blank();
    st.SheetTotalRecord = Blank();
    st.SheetTotalRecord[2] = 'G';

    RegisterEditorWindow(ui, st, {});
    registerTool();
    ui.ShowModeless(kEditWindow);
    editor = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    ASSERT_NE(editor, nullptr);
    st.SheetLoading = true;
    st.sheetEngine->SheetGridInit(st, 1);
    st.SheetLoading = false;
    st.sheetEngine->SheetRedisplay(st, 1, 1);
    Settle();
  }

  // Closes the tool window (when still open) and the editor.
  void EditorEnd(std::string_view tool) {
    delete ui.LoadedWindow(tool);
    delete ui.LoadedWindow(kEditWindow);
    Settle();
  }

  std::string Blank() const { return std::string(size_t(st.DataLen), ' '); }

  TempFolder app;
  QtUi ui;
  ProgramState st{ui};
  EDTSHEET_FRM* editor = nullptr;
};

}  // namespace kv::test
