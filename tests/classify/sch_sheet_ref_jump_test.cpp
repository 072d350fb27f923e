// A search of the reference shown in the reference window, and the jump from
// a hit into that window: the hit's sheet under its parents, or, when that
// sheet cannot be read, the window back where it was.
#include <gtest/gtest.h>

#include <memory>

#include "classify/sch_sheet_frm.h"
#include "reference/ref_fixture.h"
#include "reference/ref_tree.h"

namespace kv::test {
namespace {

class SchSheetRefJump : public RefFixture {
 protected:
  GridModel schGrid;
  std::unique_ptr<SchSheet_Frm> frm;

  void SetUp() override {
    RefFixture::SetUp();
    LoadExampleReference();
    st.SearchTitle = std::string(kRefSearchCaption);
    st.RefSelStart = 1;
    SchSheetPort p;
    p.RefWindow = [this] { return win.get(); };
    frm = std::make_unique<SchSheet_Frm>(st, schGrid, std::move(p));
    frm->Form_Load();
  }

  void Search(const std::string& text) {
    frm->SearchText = text;
    ui.AnswerMsgBox(vbOK, "検索が終了しました");
    frm->CommandSearch_Click();
    ui.ExpectAllAnswered();
  }
};

TEST_F(SchSheetRefJump, OpensTheHitsSheetInTheReferenceWindow) {
  Search("鉄筋");
  ASSERT_EQ(frm->Hits.HitCount, 1);
  frm->SchSheet_DblClk(1, 1);
  EXPECT_EQ(st.RefCurrentLevel, 3);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"型枠", "鉄筋"}));
  EXPECT_EQ(labels[1], "躯体      :");
  EXPECT_EQ(labels[2], "柱        :");
  EXPECT_EQ(grid.CurrentRow(), 2);
  // The reference is never written: no question, and the estimate's sheet
  // is left alone.
  EXPECT_EQ(ui.Prompts().size(), 1u);
}

TEST_F(SchSheetRefJump, AnUnreadableSheetLeavesTheWindowWhereItWas) {
  Search("鉄筋");
  // The hit's own sheet now runs in a loop.
  WriteRefLevel(3, {{' ', 0, 2, kNoRecord, J("型枠")}, {' ', 0, 1, kNoRecord, J("鉄筋")}, {'G'}}, "R");
  ui.AnswerMsgBox(vbOK, "R.Y3");
  frm->SchSheet_DblClk(1, 1);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefCurrentLevel, 1);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"工事", "躯体"}));
  // A hit whose parent lost its breakdown: no jump at all.
  WriteRefLevel(2, {{' ', 0, 2, kNoRecord, J("基礎")}, {' ', 0, 3, kNoRecord, J("柱")}, {'G'}}, "R");
  ui.AnswerMsgBox(vbOK, "検索結果が現在のデータと一致しません。");
  frm->SchSheet_DblClk(1, 1);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefCurrentLevel, 1);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"工事", "躯体"}));
}

}  // namespace
}  // namespace kv::test
