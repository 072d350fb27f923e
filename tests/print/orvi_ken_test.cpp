// The special print set-up: the column lists from the level's captions, the
// refusals (no choice, a text column), and the roads after OK: untitled,
// switched and renumbered (Yes), switched back (No), a recording that fails.
#include "print/orvi_ken.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/page_numbers.h"
#include "print/file_write_order.h"
#include "print/print_fixture.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

class OrviKenTest : public PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    st.SpecialPrintSpec = true;
    st.OrviKenPrn = 0;
    st.OrviSUU = 2;
    st.OrviTANKA = 2;
    st.LevelCaption[1] = std::string(19, ' ') + ToSjis("名称      数量        ") + std::string(215, ' ');
    st.CurrentFilePath = st.AppPath + "/DATA/EST.YZH";
  }
  std::unique_ptr<OrviKenForm> Open() {
    auto form = std::make_unique<OrviKenForm>(st, OrviKenPort{[this] { ++unloads; }});
    form->Form_Load();
    return form;
  }
  int unloads = 0;
};

TEST_F(OrviKenTest, ListsShowTheColumnsAndTheStoredChoices) {
  st.OrviTANKA = 5;  // no such column
  auto f = Open();
  EXPECT_EQ(f->Combo1.items, (std::vector<std::string>{"名称      ", "数量        "}));
  EXPECT_EQ(f->Combo1.index, 1);
  EXPECT_EQ(f->Combo2.index, -1);
  EXPECT_EQ(f->Check1.value, 0);
}

TEST_F(OrviKenTest, ColumnsMustBeNumericAndChosenBothBeforeEitherIsStored) {
  struct Case {
    int quantity, unitPrice;
    const char* message;
  };
  const Case cases[] = {{-1, 1, "数量欄に正しい項目を設定してください。"},
                        {0, 1, "数量欄に正しい項目を設定してください。"},
                        {1, -1, "単価欄に正しい項目を設定してください。"},
                        {1, 0, "単価欄に正しい項目を設定してください。"}};
  for (const Case& c : cases) {
    auto f = Open();
    f->Combo1.index = c.quantity;
    f->Combo2.index = c.unitPrice;
    st.OrviSUU = 9;
    ui.AnswerMsgBox(vbOK, c.message);
    f->Command1_Click(0);
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.Prompts().back().style, vbOKOnly);
    EXPECT_EQ(st.OrviSUU, 9);  // nothing stored
    EXPECT_FALSE(f->Unloaded());
    st.OrviSUU = 2;
  }
}

TEST_F(OrviKenTest, RoadsAfterOk) {
  struct Case {
    const char* road;
    bool untitled;
    bool switchOn;
    int answer;         // 0: no question
    bool recordFails;
    int kenPrn;         // afterwards
    std::string davirov;  // [特殊仕様印刷] OrviKenPrn in DAVIROV.INI
    std::string estimate;
    bool renumbered;
  };
  const Case cases[] = {
      {"untitled: no question, DAVIROV.INI only", true, true, 0, false, 1, "1", "", false},
      {"columns only: no question", false, false, 0, false, 0, "0", "0", false},
      {"switched on, Yes", false, true, vbYes, false, 1, "1", "1", true},
      {"switched on, No", false, true, vbNo, false, 0, "0", "", false},
      {"switched on, Yes, the recording fails", false, true, vbYes, true, 0, "0", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.road);
    app.Write("DAVIROV.INI", PrintSettingsText());
    app.Write("WORK/EST.INI", PrintSettingsText());
    IniPutString("特殊仕様印刷", "OrviKenPrn", "", EstimateIni());
    ThreeRowsEstimate();
    st.OrviKenPrn = 0;
    st.OrviSUU = st.OrviTANKA = 1;
    st.WorkFileBase = st.AppPath + (c.untitled ? "/WORK/無題" : "/WORK/EST");
    st.SheetModified = true;
    st.PackPending = false;
    st.PageNumbersLast = {};
    RecordingSheet sheet;
    sheet.recordResult = !c.recordFails;
    st.sheetEngine = &sheet;
    unloads = 0;
    auto f = Open();
    f->Check1.value = c.switchOn ? 1 : 0;
    f->Combo1.index = 1;
    f->Combo2.index = 1;
    if (c.answer != 0) ui.AnswerMsgBox(c.answer, "現在編集中の見積データ [ EST ] を保存して\rページ番号の再設定を行います。");
    f->Command1_Click(0);
    ui.ExpectAllAnswered();
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(st.OrviKenPrn, c.kenPrn);
    const bool kept = c.answer == vbNo || c.recordFails;
    EXPECT_EQ(st.OrviSUU, kept ? 1 : 2);
    EXPECT_EQ(st.OrviTANKA, kept ? 1 : 2);
    EXPECT_EQ(Get(TemplateIni(), "特殊仕様印刷", "OrviKenPrn"), c.davirov);
    EXPECT_EQ(Get(EstimateIni(), "特殊仕様印刷", "OrviKenPrn"), c.estimate);
    EXPECT_EQ(st.PageNumbersLast.known, c.renumbered);
    if (c.renumbered) {
      EXPECT_TRUE(st.PageNumbersLast.specialForm);
      EXPECT_TRUE(sheet.Has("LevelSheetRecord()"));
      EXPECT_FALSE(st.SheetModified);
      EXPECT_TRUE(st.PackPending);
    }
    if (c.recordFails) EXPECT_TRUE(st.SheetModified);
    st.sheetEngine = nullptr;
  }
}

}  // namespace
}  // namespace kv::test
