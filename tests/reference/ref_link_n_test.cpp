// The conversion window and its two rule dialogs over the scripted UI: the
// mapping buttons, OK, Cancel and the close box, loading and saving rules,
// and the conversion on the open road of the reference window.
#include <gtest/gtest.h>

#include "reference/ref_conv_fixture.h"
#include "reference/ref_files.h"
#include "reference/ref_link_n.h"
#include "state/column_tables.h"

namespace kv::test {
namespace {

class RefLinkN : public RefConvFixture {
 protected:
  std::unique_ptr<RefLinkNForm> form;
  int unloads = 0;

  void SetUp() override {
    RefConvFixture::SetUp();
    WriteLayouts();
    WriteRefLevel(1, {{' ', 0, 2, kNoRecord, RefText("one", "12.5", "n1")}, {'G'}}, "R");
  }
  RefLinkNForm& Loaded() {
    form = std::make_unique<RefLinkNForm>(st, RefLinkNPort{[this] { ++unloads; }});
    form->Form_Load();
    return *form;
  }
  // Plays the save dialog: the name typed and OK.
  void SaveAs(const std::string& name) {
    ui.AnswerModal(std::string(kRuleSaveWindow), [this, name] {
      RChgRuleMakForm dlg(st);
      dlg.Form_Activate();
      dlg.Text1.text = name;
      dlg.Command1_Click(0);
    });
    form->Command2_Click(1);
  }
  // Plays the choice dialog; `refusal`: the message expected afterwards.
  void LoadRule(const std::string& name, const std::string& refusal = {}) {
    ui.AnswerModal(std::string(kRuleSelectWindow), [this, name] {
      RChgRuleSelForm dlg(st);
      dlg.Form_Load();
      const auto& items = dlg.Combo1.items;
      dlg.Combo1.index = static_cast<int>(std::find(items.begin(), items.end(), name) - items.begin());
      dlg.Command1_Click(0);
    });
    if (!refusal.empty()) ui.AnswerMsgBox(vbOK, refusal);
    form->Command2_Click(0);
  }
};

TEST_F(RefLinkN, LoadsBothSidesIntoTheLists) {
  RefLinkNForm& f = Loaded();
  EXPECT_FALSE(f.Unloaded());
  ASSERT_EQ(f.MFieldCount(), 5);
  ASSERT_EQ(f.RFieldCount(), 3);
  EXPECT_EQ(f.List1[0].items[1], "B 数量" + std::string(12, ' ') + "8.2 N");
  EXPECT_EQ(f.List1[1].items, (std::vector<std::string>{"A", "B", "C", "D", "E"}));
  EXPECT_EQ(f.List1[2].items[2], "C 説明" + std::string(11, ' ') + "15   C");
  EXPECT_EQ(f.FieldMap, (std::vector<int>(5, -1)));
  EXPECT_FALSE(f.Command2[0].enabled);  // no rule to load yet
  EXPECT_EQ(f.Frame1.caption, "変換ルール");
  EXPECT_EQ(RefLinkNForm::DispStrMake(4, {"数量", "N", 2, 60, 10}), "D 数量" + std::string(11, ' ') + "10.2 N");
  EXPECT_EQ(RefLinkNForm::DispStrMake(1, {"とても長い項目の名前", "C", 0, 20, 120}), "A とても長い項目 20   C");
}

TEST_F(RefLinkN, MappingButtonsPairFieldsAndMoveAssignments) {
  struct Step {
    int button;      // Command3 index, or -1: select the rows first
    int mapped, ref;  // rows selected before the press (list 1, list 2)
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    std::vector<int> map;
    int selected;
  } cases[] = {
      {"all", {{1, 0, 0}}, {0, 1, 2, -1, -1}, 0},
      {"add twice pairs one after the other", {{0, 0, 1}, {0, -1, -1}}, {1, 2, -1, -1, -1}, 2},
      {"one reference field into two", {{0, 3, 2}, {0, 4, 2}}, {-1, -1, -1, 2, 2}, 4},
      {"up", {{1, 0, 0}, {2, 2, -1}}, {0, 2, 1, -1, -1}, 1},
      {"up on the first row", {{1, 0, 0}, {2, 0, -1}}, {0, 1, 2, -1, -1}, 0},
      {"down", {{1, 0, 0}, {3, 2, -1}}, {0, 1, -1, 2, -1}, 3},
      {"down on the last row", {{1, 0, 0}, {0, 4, 0}, {3, 4, -1}}, {0, 1, 2, -1, 0}, 4},
      {"remove", {{1, 0, 0}, {4, 1, -1}}, {0, -1, 2, -1, -1}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RefLinkNForm& f = Loaded();
    for (const Step& s : c.steps) {
      if (s.mapped >= 0) f.List1[1].index = s.mapped;
      if (s.ref >= 0) f.List1[2].index = s.ref;
      f.Command3_Click(s.button);
    }
    EXPECT_EQ(f.FieldMap, c.map);
    EXPECT_EQ(f.List1[1].index, c.selected);
    EXPECT_EQ(f.List1[0].index, c.selected);
    for (size_t i = 0; i < c.map.size(); ++i) {
      const std::string letter(1, static_cast<char>('A' + i));
      EXPECT_EQ(f.List1[1].items[i], c.map[i] < 0 ? letter
                                                  : RefLinkNForm::DispStrMake(static_cast<int>(i) + 1,
                                                                              f.RField[static_cast<size_t>(c.map[i])]));
    }
  }
  // A click in one of the first two lists selects the same row in the other.
  RefLinkNForm& f = Loaded();
  f.List1[0].index = 3;
  f.List1_Click(0);
  EXPECT_EQ(f.List1[1].index, 3);
  f.List1[1].index = 1;
  f.List1_Click(1);
  EXPECT_EQ(f.List1[0].index, 1);
}

TEST_F(RefLinkN, OkConvertsOnlyWhatTheUserAgreedTo) {
  const std::string original = FileBytes(Work2() / "R.Y1");
  RefLinkNForm& f = Loaded();
  // Nothing mapped: told, the window stays.
  ui.AnswerMsgBox(vbOK, "編集画面へ取り込む項目に、参考呼び出しデータの項目を設定して下さい。");
  f.Command1_Click(0);
  EXPECT_FALSE(f.Unloaded());

  // 名称 (7) fed from 品名 (8): the narrower field is asked about; No keeps
  // the window, and the second misfit (説明 into 単価) is never asked.
  f.Command3_Click(1);
  f.List1[1].index = 3;
  f.List1[2].index = 2;
  f.Command3_Click(0);
  ui.AnswerMsgBox(vbNo, "編集画面側の項目 [ 名称 ] の桁数が編集画面へ取り込む項目 [ 品名 ] の桁数より少ない為\r");
  f.Command1_Click(0);
  ui.ExpectAllAnswered();
  EXPECT_FALSE(f.Unloaded());
  EXPECT_EQ(FileBytes(Work2() / "R.Y1"), original);

  ui.AnswerMsgBox(vbYes, "変換しますか？");
  f.Command1_Click(0);
  ui.ExpectAllAnswered();
  EXPECT_TRUE(f.Unloaded());
  EXPECT_EQ(unloads, 1);
  EXPECT_EQ(st.RefLinkCancelled, 0);
  EXPECT_FALSE(ui.Busy());
  EXPECT_EQ(FileBytes(Work2() / "R.Y1").substr(19, 15), std::string("one    ") + "   12.5 ");
}

TEST_F(RefLinkN, CancelTheCloseBoxAndAFailedConversionLeaveTheReferenceUnconverted) {
  const std::string original = FileBytes(Work2() / "R.Y1");
  for (int how = 0; how < 3; ++how) {
    SCOPED_TRACE(how);
    st.RefLinkCancelled = 0;  // as an earlier conversion left it
    RefLinkNForm& f = Loaded();
    f.Command3_Click(1);
    if (how == 0) f.Command1_Click(1);
    if (how == 1) f.CloseBox();
    if (how == 2) {
      // A cut record: the conversion refuses with the file named.
      std::ofstream(Work2() / "R.Y1", std::ios::binary | std::ios::app) << "x";
      ui.AnswerMsgBox(vbYes, "変換しますか？").AnswerMsgBox(vbOK, "参考データ [ R ] を変換できません。\n作業ファイル [ R.Y1 ]");
      f.Command1_Click(0);
      ui.ExpectAllAnswered();
      EXPECT_EQ(FileBytes(Work2() / "R.Y1"), original + "x");
    } else {
      EXPECT_EQ(FileBytes(Work2() / "R.Y1"), original);
    }
    EXPECT_TRUE(f.Unloaded());
    EXPECT_EQ(st.RefLinkCancelled, -1);
  }
}

TEST_F(RefLinkN, AMissingLayoutIsRefusedAtLoad) {
  std::filesystem::remove(Work2() / "R.Y$");
  st.RefLinkCancelled = 0;
  ui.AnswerMsgBox(vbOK, "参考データ [ R ] を変換できません。\nレイアウトファイル");
  RefLinkNForm& f = Loaded();
  ui.ExpectAllAnswered();
  EXPECT_TRUE(f.Unloaded());
  EXPECT_EQ(st.RefLinkCancelled, -1);
}

TEST_F(RefLinkN, ASavedRuleIsOfferedAndAppliedNextTime) {
  RefLinkNForm& f = Loaded();
  f.Command3_Click(1);
  f.List1[1].index = 1;
  f.Command3_Click(3);  // 数量 moves down to 摘要
  ui.AnswerMsgBox(vbYes, "保存しますか？");  // 名称 (7) from 品名 (8)
  SaveAs("旧形式A");
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.ChgRuleSelName, "旧形式A");
  EXPECT_EQ(f.Frame1.caption, "変換ルール  [ 旧形式A ]");
  EXPECT_TRUE(f.Command2[0].enabled);
  const std::vector<int> saved = f.FieldMap;

  // The next conversion starts from the remembered rule.
  RefLinkNForm& next = Loaded();
  EXPECT_EQ(next.FieldMap, saved);
  EXPECT_EQ(next.Frame1.caption, "変換ルール  [ 旧形式A ]");
  EXPECT_TRUE(next.Command2[0].enabled);

  // A reference of another layout: the remembered rule is quietly forgotten,
  // and loading it by hand is refused with the lists unchanged.
  WriteText(Work2() / "R.Y$", LayoutOf({{"品名", "C", 0, 9}, {"数量", "1", 0, 10}, {"説明", "C", 0, 15}}, 1));
  RefLinkNForm& other = Loaded();
  EXPECT_EQ(st.ChgRuleSelName, "");
  EXPECT_EQ(other.FieldMap, (std::vector<int>(5, -1)));
  LoadRule("旧形式A", "読み込んだ変換ルール [ 旧形式A ] は、\r参考データ [ ");
  ui.ExpectAllAnswered();
  EXPECT_EQ(other.FieldMap, (std::vector<int>(5, -1)));
  EXPECT_EQ(st.ChgRuleSelName, "");
  EXPECT_EQ(other.Frame1.caption, "変換ルール");
}

TEST_F(RefLinkN, ARuleLoadedByHandReplacesTheTablesAndSavesOverWithABlankName) {
  RefLinkNForm& f = Loaded();
  f.Command3_Click(1);
  ui.AnswerMsgBox(vbYes);
  SaveAs("first");
  f.Command3_Click(4);  // 名称 unmapped
  ui.AnswerMsgBox(vbYes, "[ 数量 ] の桁数が");
  SaveAs("second");
  ui.ExpectAllAnswered();
  EXPECT_EQ(ChgRuleNameGet(RuleFilePath(st)).RuleNames, (std::vector<std::string>{"first", "second"}));

  RefLinkNForm& g = Loaded();  // "second" remembered
  ASSERT_EQ(g.FieldMap, (std::vector<int>{-1, 1, 2, -1, -1}));
  LoadRule("first");
  EXPECT_EQ(g.FieldMap, (std::vector<int>{0, 1, 2, -1, -1}));
  EXPECT_EQ(st.ChgRuleSelName, "first");
  EXPECT_EQ(g.Frame1.caption, "変換ルール  [ first ]");

  // OK with a blank name saves over the loaded rule; Cancel saves nothing.
  g.Command3_Click(4);
  g.List1[1].index = 4;
  g.List1[2].index = 0;
  g.Command3_Click(0);
  ui.AnswerMsgBox(vbYes);  // 数量 (8) from 数量 (10)
  SaveAs("");
  const auto first = ReadRuleDefinitions(RuleFilePath(st), "first");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->map, (std::vector<int>{-1, 1, 2, -1, 0}));
  EXPECT_EQ(ChgRuleNameGet(RuleFilePath(st)).RuleCount, 2);
  const std::string bytes = FileBytes(RuleFilePath(st));
  ui.AnswerMsgBox(vbYes);
  ui.AnswerModal(std::string(kRuleSaveWindow), [this] { RChgRuleMakForm(st).CloseBox(); });
  g.Command2_Click(1);
  ui.ExpectAllAnswered();
  EXPECT_EQ(FileBytes(RuleFilePath(st)), bytes);
  EXPECT_EQ(st.ChgRuleSelName, "first");
}

TEST_F(RefLinkN, TheRuleDialogsAnswerThroughTheProgramState) {
  // The save dialog: the remembered name shown, names the file cannot hold
  // refused with the window open, Cancel and the close box clear the name.
  st.ChgRuleSelName = "旧";
  RChgRuleMakForm mak(st);
  mak.Form_Activate();
  EXPECT_EQ(mak.Text1.text, "旧");
  for (const char* bad : {"a]", "x=y", " a"}) {
    mak.Text1.text = bad;
    ui.AnswerMsgBox(vbOK, "変換ルール名に [ ] = 改行 前後の空白は使えません。");
    mak.Command1_Click(0);
    EXPECT_FALSE(mak.Unloaded());
  }
  ui.ExpectAllAnswered();
  mak.Text1.text = "   ";
  mak.Command1_Click(0);
  EXPECT_TRUE(mak.Unloaded());
  EXPECT_EQ(st.ChgRuleSelName, "旧");
  RChgRuleMakForm closed(st);
  closed.CloseBox();
  EXPECT_EQ(st.ChgRuleSelName, "");

  // The choice dialog: the names in file order, OK takes the one selected,
  // Cancel and the close box leave the name.
  WriteText(RuleFilePath(st), J("[変換ルール]\r\nChgRuleCnt=2\r\nChgRuleName1=甲\r\nChgRuleName2=乙\r\n"));
  st.ChgRuleSelName = "前";
  for (int how = 0; how < 3; ++how) {
    RChgRuleSelForm sel(st);
    sel.Form_Load();
    EXPECT_EQ(sel.Combo1.items, (std::vector<std::string>{"甲", "乙"}));
    EXPECT_EQ(sel.Combo1.index, 0);
    sel.Combo1.index = 1;
    if (how == 0) sel.Command1_Click(1);
    if (how == 1) sel.CloseBox();
    EXPECT_EQ(st.ChgRuleSelName, "前");
    if (how == 2) {
      sel.Command1_Click(0);
      EXPECT_EQ(st.ChgRuleSelName, "乙");
    }
    EXPECT_TRUE(sel.Unloaded());
  }
}

// The open road of the reference window: a reference of another layout is
// converted after Yes, the rule saved there is applied to the next reference
// of that layout, and a conversion that fails brings the previous reference
// back.
class RefConvOpen : public RefConvFixture {
 protected:
  void SetUp() override {
    RefConvFixture::SetUp();
    ThreeLevels("EST");
    WriteLayoutFile(st, st.WorkFileBase);
    st.RefWindowOpen = true;
    Load();
  }
  // A reference whose two columns are swapped: the amount (12) at 20, the
  // name (10) at 32.
  std::string PackedOldLayout(const std::string& name, bool damaged = false) {
    WriteLevel(1, {{' ', 0, 2, kNoRecord, "         123" + J("品名") + name}, {'G'}}, name);
    if (damaged) std::ofstream(LevelPath(1, name), std::ios::binary | std::ios::app) << "cut";
    const auto tables = static_cast<const ColumnTables&>(st);
    for (int l = 1; l <= 3; ++l) {
      st.ColStart[l][1] = 20;
      st.ColWidth[l][1] = 12;
      st.ColType[l][1] = "0";
      st.ColStart[l][2] = 32;
      st.ColWidth[l][2] = 10;
      st.ColType[l][2] = "C";
    }
    const std::string path = Packed(name);
    static_cast<ColumnTables&>(st) = tables;
    return path;
  }
  std::string TrimmedCell(int col, int row) const {
    const std::string t = grid.CellText(col, row);
    const size_t b = t.find_first_not_of(' ');
    return b == std::string::npos ? std::string() : t.substr(b, t.find_last_not_of(' ') - b + 1);
  }
  void Open(const std::string& path, std::function<void()> play) {
    ui.AnswerOpenDialog(path).AnswerMsgBox(vbYes, "のシステム設定が、編集画面と異なります。").AnswerModal(kRefLinkWindow, play);
  }
};

TEST_F(RefConvOpen, TheReferenceIsShownInTheEditorsColumnsAndTheRuleServesTheNext) {
  const std::string first = PackedOldLayout("OLD1");
  const std::string second = PackedOldLayout("OLD2");
  const std::string broken = PackedOldLayout("OLD3", true);

  Open(first, [this] {
    RefLinkNForm f(st);
    f.Form_Load();
    f.List1[1].index = 0;
    f.List1[2].index = 1;
    f.Command3_Click(0);  // A <- the name
    f.List1[2].index = 0;
    f.Command3_Click(0);  // B <- the amount
    f.Command2_Click(1);
    f.Command1_Click(0);
  });
  ui.AnswerModal(std::string(kRuleSaveWindow), [this] { st.ChgRuleSelName = "旧形式"; });
  win->RefM1Sub_Click(0);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefFilePath, first);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"品名OLD1"}));
  EXPECT_EQ(TrimmedCell(2, 1), "123");
  EXPECT_TRUE(CheckRefSystem(st));

  std::vector<int> offered;
  Open(second, [this, &offered] {
    RefLinkNForm f(st);
    f.Form_Load();
    offered = f.FieldMap;
    f.Command1_Click(0);
  });
  win->RefM1Sub_Click(0);
  ui.ExpectAllAnswered();
  EXPECT_EQ(offered, (std::vector<int>{1, 0}));
  EXPECT_EQ(Shown(), (std::vector<std::string>{"品名OLD2"}));

  const std::vector<std::string> before = Work2Files();
  Open(broken, [this] {
    RefLinkNForm f(st);
    f.Form_Load();
    f.Command1_Click(0);
  });
  ui.AnswerMsgBox(vbOK, "参考データ [ OLD3 ] を変換できません。");
  win->RefM1Sub_Click(0);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefFilePath, second);
  EXPECT_EQ(Work2Files(), before);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"品名OLD2"}));
}

}  // namespace
}  // namespace kv::test
