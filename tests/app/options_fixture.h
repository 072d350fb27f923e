#pragma once
// The options dialog's tests: a program state with a level 1 of text,
// numeric and total columns, the settings DataIniLoad would give, and a
// temporary program folder with DAVIROV.INI and an estimate settings file.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/options_state.h"
#include "core/currency.h"
#include "state/menu_model.h"
#include "state/program_state.h"
#include "state/settings_fixture.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {

// The editor as the options dialog sees it: a menu tree and a call log.
class MenuEditor : public RecordingEditor {
 public:
  EditorMenus menus = EditorMenuTree();
  EditorMenus* Menus() override { return &menus; }
  void MenusChanged(ProgramState&) override { Add("MenusChanged()"); }
};

// Level 1:  1 名称 W | 2 規格 C | 3 数量 A2 | 4 単位 C | 5 単価 0 |
//           6 金額 A, SUM | 7 備考 C | 8 原価 A, SUM (the last column)
class OptionsTest : public ::testing::Test {
 protected:
  OptionsTest() : st(ui) {
    st.AppPath = dir.path().string();
    std::filesystem::create_directories(dir / "WORK");
    st.WorkFileBase = (dir / "WORK" / "EST").string();
    st.DataLen = 256;
    st.LevelCount = 3;
    SetDefaultItemLayout(st);
    SetLevelColumns(st, 1,
                    {{"名称", "W", 20},
                     {"規格", "C", 20},
                     {"数量", "A2", 8},
                     {"単位", "C", 4},
                     {"単価", "0", 10},
                     {"金額", "A", 12, "[[C*[[E", "SUM"},
                     {"備考", "C", 10},
                     {"原価", "A", 12, "", "SUM"}});
    st.CaptionColmun1 = 1;
    st.CaptionColmun2 = 1;
    st.DownCopyColmun1 = 1;
    st.DownCopyColmun2 = 2;
    st.DownCopyColmunSw = 0;
    st.ToTalNameColmun = 1;
    st.ToTalColmun = 6;
    st.Zero = "0";
    st.ABLinkCount = 0;
    st.STax = Currency::FromRaw(1000);  // 10 %
    st.STaxMethod = 1;
    st.STaxMethodKeta = 0;
    st.SKeihiMethod = 1;
    st.SKeihiMethodKeta = 3;
    for (size_t n = 1; n <= 3; ++n) {
      st.SiwakeSuu[n] = 3;
      st.SiwakeUni[n] = 4;
    }
    const char* masks[] = {"全項目", "計算式なし", "提出用", "金額のみ", "画面５", "画面６"};
    for (size_t i = 0; i < 6; ++i) st.MASK_NAME[i] = masks[i];
    const char* totals[] = {"", "小計", "中計", "大計", "大大計", "大大大計", "消費税"};
    for (size_t j = 1; j <= 6; ++j) st.SUBTOTALNAME[j] = totals[j];
    st.SetubiRowNames = {"諸経費", "消耗品雑材", "経費"};
    st.MemoRowMax = 200;
    for (size_t r = 1; r <= 20; ++r) st.CellHabaAdjust[r] = 0;
    st.sheetEngine = &sheet;
    st.editor = &editor;
  }

  std::string Davirov() const { return (dir / "DAVIROV.INI").string(); }
  std::string EstimateIni() const { return st.WorkFileBase + ".INI"; }

  // The headings of a list's entries, without the blanks that fill the
  // column's width.
  static std::vector<std::string> Headings(const OptionList& list) {
    std::vector<std::string> out;
    for (const std::string& e : list.entries) out.push_back(e.substr(0, e.find_last_not_of(' ') + 1));
    return out;
  }
  // The list entry of a heading (fails when there is none).
  static int EntryOf(const OptionList& list, const std::string& heading) {
    const std::vector<std::string> h = Headings(list);
    for (size_t i = 0; i < h.size(); ++i)
      if (h[i] == heading) return static_cast<int>(i);
    ADD_FAILURE() << "no entry " << heading;
    return -1;
  }

  TempFolder dir;
  ScriptedUi ui;
  RecordingSheet sheet;
  MenuEditor editor;
  ProgramState st;
  OptionDialogState d;
};

}  // namespace kv::test
