// Changes the user declined or cancelled to save (Save As's question about
// the open estimate) are not packed into its file without asking again: not
// at the end of the program, not by Open or New.
#include <gtest/gtest.h>

#include <functional>

#include "app/app_shutdown.h"
#include "file_command_fixture.h"
#include "storage/file_command_steps.h"
#include "storage/file_new.h"
#include "storage/file_open.h"
#include "storage/file_save.h"

namespace kv {
namespace {

class DeclinedSaveTest : public test::FileCommandTest {
 protected:
  // EST open with a changed row; Save As's question about it answered with
  // `answer`, and the name dialog cancelled.
  void ChangeAndDeclineOnSaveAs(int answer) {
    a.StartNamed(data, "EST", {"一", "二"});
    packed = Bytes(Data("EST.YZH"));
    a.SetTexts(1, {"一", "変えた"});
    st.SheetModified = true;
    ui.AnswerMsgBox(answer, Question());
    if (answer == vbNo) ui.AnswerSaveDialog(std::nullopt);
    FileSaveAs(st);
    ASSERT_TRUE(st.PackPending);
    ASSERT_EQ(Bytes(Data("EST.YZH")), packed);
  }
  std::string Question() const { return "見積データ [ EST ] の内容は変更されています。\n保存しますか？"; }

  // The end of the program; true when it ended. The work folder it removed
  // is made again for what follows.
  bool Shutdown(bool& ok) {
    bool ended = false;
    try {
      AppShutdown(st, ok, ShutdownSteps{});
    } catch (const ProgramEnded&) {
      ended = true;
    }
    std::filesystem::create_directories(a.Work());
    EXPECT_TRUE(WriteLayoutFile(st, a.Untitled()));
    return ended;
  }

  // Row 2 of EST as its file holds it, opened afresh.
  std::string RowTwoInTheFile() {
    ui.AnswerOpenDialog(Data("EST.YZH"));
    FileOpen(st);
    return a.Text(1, 2);
  }

  std::string packed;  // EST.YZH as packed before the change
};

// The follow-up commands, each answered No: the file stays as it was.
TEST_F(DeclinedSaveTest, NoAfterADeclineLeavesTheFileAsItWas) {
  const struct {
    const char* name;
    int declined;  // the answer on Save As
    std::function<void()> command;
  } cases[] = {
      {"end after cancel", vbCancel,
       [this] {
         bool ok = false;
         EXPECT_TRUE(Shutdown(ok));
         EXPECT_TRUE(ok);
       }},
      {"end after no", vbNo,
       [this] {
         bool ok = false;
         EXPECT_TRUE(Shutdown(ok));
       }},
      {"new after cancel", vbCancel, [this] { FileNew(st); }},
      {"open after cancel", vbCancel,
       [this] {
         ui.AnswerOpenDialog(Data("EST.YZH"));
         FileOpen(st);
         EXPECT_EQ(a.Text(1, 2), "二");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChangeAndDeclineOnSaveAs(c.declined);
    ui.AnswerMsgBox(vbNo, Question());
    c.command();
    ui.ExpectAllAnswered();
    EXPECT_EQ(Bytes(Data("EST.YZH")), packed);
    EXPECT_FALSE(st.PackPending);
    if (st.CurrentFilePath != Data("EST.YZH")) EXPECT_EQ(RowTwoInTheFile(), "二");
    FileNew(st);
    ui.ExpectAllAnswered();
  }
}

TEST_F(DeclinedSaveTest, CancelStaysAndYesSaves) {
  ChangeAndDeclineOnSaveAs(vbCancel);
  bool ok = true;
  ui.AnswerMsgBox(vbCancel, Question());
  EXPECT_FALSE(Shutdown(ok));
  EXPECT_FALSE(ok);
  EXPECT_TRUE(st.PackPending);
  ui.AnswerMsgBox(vbCancel, Question());
  FileNew(st);
  ui.AnswerMsgBox(vbCancel, Question());
  FileOpen(st);
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
  EXPECT_EQ(Bytes(Data("EST.YZH")), packed);

  ui.AnswerMsgBox(vbYes, Question());
  FileNew(st);
  ui.ExpectAllAnswered();
  EXPECT_EQ(RowTwoInTheFile(), "変えた");
}

// Saving the estimate forgets the decline: later changes are packed at the
// end as always, without a question.
TEST_F(DeclinedSaveTest, ASaveForgetsTheDecline) {
  ChangeAndDeclineOnSaveAs(vbCancel);
  EXPECT_EQ(FileSaveRun(st), SaveResult::Saved);
  EXPECT_FALSE(st.PackDeclined);
  st.PackPending = true;
  const size_t asked = ui.Prompts().size();
  bool ok = false;
  EXPECT_TRUE(Shutdown(ok));
  EXPECT_EQ(ui.Prompts().size(), asked);
}

}  // namespace
}  // namespace kv
