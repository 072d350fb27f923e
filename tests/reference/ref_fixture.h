#pragma once
// The reference window over the scripted UI and a plain grid model: a program
// folder with the editor's estimate "EST" in WORK, packed references in DATA
// and the window's logic played by a port that records what it is asked.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "platform/grid/grid_model.h"
#include "platform/packing.h"
#include "platform/tree/tree_model.h"
#include "reference/ref_window.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/settings_fixture.h"
#include "storage/level_fixture.h"

namespace kv::test {

inline std::string J(const char* text) { return ToAnsiBytes(text); }

class RefFixture : public LevelFixture {
 protected:
  GridModel grid;
  TreeModel tree;
  std::vector<std::string> calls;  // port calls that matter: "Hiinsatu(1)", "Caption(2, x)", "Lock(1)" ...
  std::map<int, std::string> labels;
  std::vector<LevelBarPlace> bar;
  RefWindowMeasures measures;
  bool levelButtonsEnabled = true;
  std::unique_ptr<RefSheetWindow> win;

  void SetUp() override {
    LevelFixture::SetUp();
    SetDefaultItemLayout(st);
    st.CaptionColmun1 = 1;
    st.CaptionColmun2 = 1;
    st.ToTalNameColmun = 1;
    st.FontName = "ＭＳ 明朝";
    st.MemoRowMax = 80;
    st.RefZoom = 100;
    st.RefDisp = "縦";
    st.CompFileCount = 5;
    const char* exts[] = {"", ".Y1", ".Y2", ".Y3", ".Y$", ".INI"};
    for (int i = 1; i <= 5; ++i) st.CompFileExt[i] = exts[i];
    st.KvTextPath = st.AppPath + "/KVtext.txt";
    std::filesystem::create_directories(app.path() / "DATA");
    for (int l = 1; l <= 8; ++l) {
      st.LevelCaption[l] = std::string(256, ' ');
      st.LevelCaption[l].replace(19, 4, J("名称"));
      st.ColTotalKind[l][2] = "SUM";
      st.TotalRecordDefaults[l] = std::string(256, ' ');
    }
    measures.scaleWidth = 12000;
    measures.scaleHeight = 7000;
    measures.windowWidth = 12200;
    measures.windowHeight = 8000;
    measures.labelHeight = 300;
    measures.buttonWidth = 900;
    measures.sizerLeft = 2500;
    measures.treeWidth = 2500;
    measures.treeVisible = true;
    win = std::make_unique<RefSheetWindow>(st, grid, tree, Port());
  }

  void TearDown() override { win.reset(); }

  RefWindowPort Port() {
    RefWindowPort p;
    p.Measures = [this] { return measures; };
    p.Bounds = [] { return WindowRect{100, 200, 9000, 6000}; };
    p.SetBounds = [this](const WindowRect& r) {
      calls.push_back("Bounds(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                      std::to_string(r.width) + "," + std::to_string(r.height) + ")");
    };
    p.ScreenTwips = [] { return TextSize{19200, 14400}; };
    p.PlaceLevelBar = [this](const std::vector<LevelBarPlace>& b) { bar = b; };
    p.SetLevelCaption = [this](int level, const std::string& c) { labels[level] = c; };
    p.LevelButtonsEnable = [this](bool on) { levelButtonsEnabled = on; };
    // The placements come back in the measures, as the window's would.
    p.PlaceTree = [this](bool visible, long width, long) {
      measures.treeVisible = visible;
      measures.treeWidth = width;
    };
    p.PlaceSizer = [this](long left, long) { measures.sizerLeft = left; };
    p.HiinsatuStateSet = [this](bool on) { calls.push_back(on ? "Hiinsatu(1)" : "Hiinsatu(0)"); };
    p.Close = [this] {
      if (win->Form_QueryUnload()) win->Form_Unload();
    };
    return p;
  }

  // The level files of a work set `base` in WORK2. The marks "U" and "I"
  // are print marks (byte 2).
  std::filesystem::path Work2() const { return app.path() / "WORK2"; }
  void WriteRefLevel(int level, std::vector<Rec> recs, const std::string& base) {
    std::filesystem::create_directories(Work2());
    std::filesystem::remove(Work2() / (base + st.LevelExt[level]));
    RecordFile f(Work2() / (base + st.LevelExt[level]), st.DataLen);
    for (size_t i = 0; i < recs.size(); ++i) {
      if (recs[i].own == 0) recs[i].own = static_cast<int>(i) + 1;
      std::string rec = Make(recs[i]);
      if (recs[i].mark == 'U' || recs[i].mark == 'I') std::swap(rec[0], rec[1]);
      f.PutRecordText(static_cast<int>(i) + 1, rec);
    }
    f.Close();
  }

  // The example estimate of three levels under `base` in WORK (the work set
  // that is packed): 工事 (leaf), 躯体 owning 基礎 and 柱, 柱 owning 型枠, 鉄筋.
  void ThreeLevels(const std::string& base = "EST") {
    WriteLevel(1,
               {{' ', 0, 2, kNoRecord, J("工事")},
                {' ', 0, 3, 1, J("躯体")},
                {'G', 0, kNoRecord, kNoRecord, std::string(10, ' ') + "     1234567"}},
               base);
    WriteLevel(2, {{' ', 0, 2, kNoRecord, J("基礎")}, {' ', 0, 3, 1, J("柱")}, {'G'}}, base);
    WriteLevel(3, {{' ', 0, 2, kNoRecord, J("型枠")}, {' ', 0, 3, kNoRecord, J("鉄筋")}, {'G'}}, base);
  }

  // Packs the work set `name` of WORK into DATA/<name>.YZH and takes it out
  // of WORK again; the path of the packed file.
  std::string Packed(const std::string& name) {
    WriteLayoutFile(st, st.AppPath + "/WORK/" + name);
    const PackFileSet set = PackFileSetFrom(st);
    EXPECT_EQ(MCompress(app.path() / "DATA", app.path() / "WORK", name, app.path(), set), kPackOk);
    for (const char* e : {".Y1", ".Y2", ".Y3", ".Y$", ".INI"})
      std::filesystem::remove(app.path() / "WORK" / (name + e));
    return (app.path() / "DATA" / (name + ".YZH")).string();
  }

  // The files of WORK2 by name.
  std::vector<std::string> Work2Files() const {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(Work2(), ec)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }

  // Column A of every row of the sheet shown, trimmed.
  std::vector<std::string> Shown() const {
    std::vector<std::string> out;
    for (int r = 1; r <= st.RefUsedRows; ++r) {
      std::string t = grid.CellText(1, r);
      while (!t.empty() && t.back() == ' ') t.pop_back();
      out.push_back(t);
    }
    return out;
  }

  void Load() { win->Form_Load(); }
  // The window loaded with the three-level example estimate opened as the
  // reference "R", shown at level 1.
  void LoadExampleReference() {
    Load();
    WriteRefLevel(1, {{' ', 0, 2, kNoRecord, J("工事")}, {' ', 0, 3, 1, J("躯体")}, {'G'}}, "R");
    WriteRefLevel(2, {{' ', 0, 2, kNoRecord, J("基礎")}, {' ', 0, 3, 1, J("柱")}, {'G'}}, "R");
    WriteRefLevel(3, {{' ', 0, 2, kNoRecord, J("型枠")}, {' ', 0, 3, kNoRecord, J("鉄筋")}, {'G'}}, "R");
    st.RefWorkFileBase = (Work2() / "R").string();
    st.RefFilePath = (app.path() / "DATA" / "R.YZH").string();
    st.RefCurrentLevel = 1;
    win->DM_Disp_Click(1);
  }
};

}  // namespace kv::test
