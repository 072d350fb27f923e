// Two programs editing one estimate, through open, save and the end of the
// program: nobody's saved work is overwritten without being asked, and a
// program ending never deletes the other's lock.
#include <gtest/gtest.h>

#include "app/app_shutdown.h"
#include "state/data_ini.h"
#include "core/currency.h"
#include "storage/file_command_fixture.h"
#include "storage/file_command_steps.h"
#include "storage/file_open.h"
#include "storage/file_save.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

class TwoEditors : public test::FileCommandTest {
 protected:
  std::string Estimate() const { return Data("E.YZH"); }
  std::string Lock() const { return Data("E.$$$"); }

  void SetUp() override {
    FileCommandTest::SetUp();
    test::Program maker("MAKER");
    maker.StartNamed(data, "E", {"基礎工事", "躯体工事"});
    LanLockRelease(maker.st);
  }

  // Opens `path`; `lockAnswer`: the answer when asked about the lock.
  static void Open(test::Program& p, const std::string& path, std::optional<int> lockAnswer = {}) {
    p.ui.AnswerOpenDialog(path);
    if (lockAnswer) p.ui.AnswerModal("LAN_Msg_frm", [&p, lockAnswer] { p.st.LanMsgAnswer = *lockAnswer; });
    FileOpen(p.st);
    p.ui.ExpectAllAnswered();
    ASSERT_EQ(p.st.CurrentFilePath, path);
  }

  // The tax rate changed in the options (percent), as the options dialog's
  // OK stores it.
  static void SetTaxRate(test::Program& p, int percent) {
    p.st.STax = Currency::FromInt(percent) / Currency::FromInt(100);
    ASSERT_TRUE(SheetOptionsSave(p.st, p.st.WorkFileBase + ".INI"));
    p.st.SheetModified = true;
  }

  // The end of the program; true when it ended.
  static bool End(test::Program& p) {
    ShutdownSteps steps;
    steps.LanLockRelease = [](ProgramState& s) { LanLockRelease(s); };
    bool ok = false;
    try {
      AppShutdown(p.st, ok, steps);
    } catch (const ProgramEnded&) {
      return true;
    }
    return false;
  }

  // The tax rate (percent) a program started afresh finds in an estimate file.
  static std::string SavedTaxRate(const std::string& path) {
    test::Program reader("READER");
    reader.ui.AnswerOpenDialog(path);
    FileOpen(reader.st);
    return (reader.st.STax * Currency::FromInt(100)).ToText();
  }
};

// A opens E; B opens it, is told it is in use and forces editing; A changes
// the tax rate and saves, is asked and gives up; B sets the rate to 9, saves.
// Whichever ends first, A's end does not write over B's saved work.
struct StoryCase {
  const char* name;
  bool bEndsFirst;
  int aAnswerAtEnd;  // to "save under another name?"
};

class TwoMachineStory : public TwoEditors, public ::testing::WithParamInterface<StoryCase> {};

TEST_P(TwoMachineStory, TheLastToEndDoesNotOverwriteTheOthersSavedWork) {
  const StoryCase& c = GetParam();
  test::Program b("MACHINE-B");
  Open(a, Estimate());
  Open(b, Estimate(), kLanAnswerForce);

  SetTaxRate(a, 8);
  a.ui.AnswerModal("LAN_Msg_frm", [&] { a.st.LanMsgAnswer = 0; })
      .AnswerMsgBox(vbOK, InUseNotSavedText("E"))
      .AnswerSaveDialog(std::nullopt);
  EXPECT_EQ(FileSaveRun(a.st), SaveResult::LockRefused);
  EXPECT_TRUE(a.st.PackPending);
  a.ui.ExpectAllAnswered();

  SetTaxRate(b, 9);
  EXPECT_EQ(FileSaveRun(b.st), SaveResult::Saved);  // its lock is its own: no question
  const std::string bSaved = Bytes(Estimate());

  if (c.bEndsFirst) {
    ASSERT_TRUE(End(b));
    EXPECT_FALSE(Exists(Lock()));
  } else {
    // B still holds the lock: A is asked, as at its save.
    a.ui.AnswerModal("LAN_Msg_frm", [&] { a.st.LanMsgAnswer = 0; });
  }
  a.ui.AnswerMsgBox(c.aAnswerAtEnd, InUseNotSavedText("E") + "\r名前を変えて保存しますか？");
  if (c.aAnswerAtEnd == vbYes) a.ui.AnswerSaveDialog(Data("E-A案.YZH"));
  ASSERT_TRUE(End(a));
  a.ui.ExpectAllAnswered();

  EXPECT_EQ(Bytes(Estimate()), bSaved);
  if (!c.bEndsFirst) {
    EXPECT_EQ(LockedBy(Lock()), "MACHINE-B");  // A's end left B's lock alone
    ASSERT_TRUE(End(b));
  }
  EXPECT_FALSE(Exists(Lock()));
  EXPECT_EQ(SavedTaxRate(Estimate()), "9");
  if (c.aAnswerAtEnd == vbYes) EXPECT_EQ(SavedTaxRate(Data("E-A案.YZH")), "8");
}

INSTANTIATE_TEST_SUITE_P(Story, TwoMachineStory,
                         ::testing::Values(StoryCase{"BEndsFirst", true, vbNo},
                                           StoryCase{"AEndsFirst", false, vbNo},
                                           StoryCase{"BEndsFirstAndASavesUnderAnotherName", true, vbYes}),
                         [](const auto& info) { return info.param.name; });

// Two programs of one machine (two program folders): the second is asked like
// another machine; the first one's end leaves the second's lock in place.
TEST_F(TwoEditors, ASecondProgramOnTheSameMachineIsAskedAndKeepsItsLockWhenTheFirstEnds) {
  test::Program first("HOST"), second("HOST");
  Open(first, Estimate());

  second.ui.AnswerOpenDialog(Estimate()).AnswerModal("LAN_Msg_frm", [&] { second.st.LanMsgAnswer = 0; });
  FileOpen(second.st);
  second.ui.ExpectAllAnswered();
  EXPECT_EQ(second.st.CurrentFilePath, second.Untitled());
  EXPECT_TRUE(LockIsOurs(first.st, Lock()));

  Open(second, Estimate(), kLanAnswerForce);
  EXPECT_TRUE(LockIsOurs(second.st, Lock()));

  ASSERT_TRUE(End(first));
  EXPECT_TRUE(LockIsOurs(second.st, Lock()));
  SetTaxRate(second, 7);
  EXPECT_EQ(FileSaveRun(second.st), SaveResult::Saved);
  second.ui.ExpectAllAnswered();
  ASSERT_TRUE(End(second));
  EXPECT_FALSE(Exists(Lock()));
  EXPECT_EQ(SavedTaxRate(Estimate()), "7");
}

}  // namespace
}  // namespace kv
