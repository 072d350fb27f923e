// Closing the main window ends the program: a close let through at the wrong
// moment loses the user's changes or cuts a running command short, and one
// refused wrongly traps the user. The tests run in a fixed order and the first
// that applies decides.
#include "editor/editor_close.h"

#include <gtest/gtest.h>

#include "state/program_state.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

using test::CallLog;
using test::RecordingSheet;
using test::ScriptedUi;

const char* kNamedBase = "/prog/WORK/港北ビル";
const char* kUntitledBase = "/prog/WORK/無題";

class EditorClose : public ::testing::Test {
 protected:
  EditorClose() {
    st.sheetEngine = &sheet;
    st.WorkFileBase = kNamedBase;
    st.CurrentFilePath = "/data/港北ビル.YZH";
    steps.LastUsedRow = [this](ProgramState&) {
      log.Add("LastUsedRow()");
      return lastUsedRow;
    };
    steps.SaveSheetObjects = [this](ProgramState&, const std::string& base) {
      log.Add("SaveSheetObjects(" + base + ")");
    };
    steps.SaveLastEstimateSetting = [this](ProgramState&, const std::string& file,
                                           const std::string& base) {
      log.Add("SaveLastEstimateSetting(" + file + ", " + base + ")");
    };
    steps.AppShutdown = [this](ProgramState& s) {
      log.Add(std::string("AppShutdown(") + (s.PackPending ? "pack" : "no pack") + ")");
      return shutdownOk;
    };
  }

  ScriptedUi ui;
  ProgramState st{ui};
  RecordingSheet sheet;
  EditorCloseSteps steps;
  CallLog log;
  int lastUsedRow = 12;
  bool shutdownOk = true;
};

TEST_F(EditorClose, RunningWorkRefusesSilently) {
  struct Case {
    const char* what;
    void (*set)(ProgramState&);
  };
  const Case cases[] = {
      {"busy lock", [](ProgramState& s) { s.CommandBusy = true; }},
      {"equipment recalculation", [](ProgramState& s) { s.EquipRecalcRunning = true; }},
      {"recovery", [](ProgramState& s) { s.RecoveryRunning = true; }},
      {"print", [](ProgramState& s) { s.PrintRunning = true; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedUi quiet;
    ProgramState s{quiet};
    s.SheetModified = true;
    c.set(s);
    EXPECT_TRUE(Form_QueryUnload(s, steps));
    EXPECT_TRUE(quiet.Prompts().empty());
  }
  EXPECT_TRUE(log.calls.empty());
}

TEST_F(EditorClose, BelowLevelOneSaysSoBetweenLoweredFloatsAndNeverAsksToSave) {
  st.CurrentLevel = 2;
  st.SheetModified = true;
  st.UnitWindowOpen = true;
  ui.AnswerMsgBox(vbOK, "(1)階層で実行して下さい");

  EXPECT_TRUE(Form_QueryUnload(st, steps));

  ASSERT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Prompts()[0].text, "(1)階層で実行して下さい");
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
  EXPECT_EQ(ui.Prompts()[0].style, vbOKOnly);
  EXPECT_EQ(ui.CallsStartingWith("SetWindowTopMost(UNIT2_Frm"),
            (std::vector<std::string>{"SetWindowTopMost(UNIT2_Frm, false)",
                                      "SetWindowTopMost(UNIT2_Frm, true)"}));
  EXPECT_TRUE(log.calls.empty());
  EXPECT_TRUE(st.SheetModified);
}

TEST_F(EditorClose, RunningCoverToolRefusesWithItsOwnTitle) {
  st.CoverToolPid = 4711;
  st.UnitWindowOpen = true;
  ui.AnswerMsgBox(vbOK);

  EXPECT_TRUE(Form_QueryUnload(st, steps));

  ASSERT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Prompts()[0].text, "表紙が起動中のため終了できません");
  EXPECT_EQ(ui.Prompts()[0].title, "終了できません");
  EXPECT_EQ(ui.Prompts()[0].style, vbOKOnly);
  // This one box is not put between lowered floating windows.
  EXPECT_TRUE(ui.CallsStartingWith("SetWindowTopMost(").empty());
}

TEST_F(EditorClose, UnchangedEstimateClosesWithoutAQuestion) {
  EXPECT_FALSE(Form_QueryUnload(st, steps));
  EXPECT_EQ(log.calls, (std::vector<std::string>{"LastUsedRow()", "AppShutdown(no pack)"}));
  EXPECT_EQ(st.UsedRows, 12);
}

TEST_F(EditorClose, SavePromptYesRecordsAndPacksOnShutdown) {
  st.SheetModified = true;
  st.UnitWindowOpen = true;
  ui.AnswerMsgBox(vbYes);

  EXPECT_FALSE(Form_QueryUnload(st, steps));

  ASSERT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Prompts()[0].text,
            "見積データ [ 港北ビル ]の内容は変更されています、保存して終了しますか？");
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
  EXPECT_EQ(ui.Prompts()[0].style, vbYesNoCancel);
  EXPECT_EQ(ui.CallsStartingWith("SetWindowTopMost(UNIT2_Frm").size(), 2u);
  EXPECT_EQ(sheet.calls, (std::vector<std::string>{"LevelSheetRecord()"}));
  EXPECT_FALSE(st.SheetModified);
  EXPECT_TRUE(st.PackPending);
  EXPECT_EQ(log.calls,
            (std::vector<std::string>{"LastUsedRow()", "SaveSheetObjects(/prog/WORK/港北ビル)",
                                      "AppShutdown(pack)"}));
}

TEST_F(EditorClose, SavePromptNoEndsWithoutWriting) {
  st.SheetModified = true;
  ui.AnswerMsgBox(vbNo);

  EXPECT_FALSE(Form_QueryUnload(st, steps));

  EXPECT_TRUE(sheet.calls.empty());
  EXPECT_FALSE(st.PackPending);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"LastUsedRow()", "AppShutdown(no pack)"}));
}

// Changes recorded earlier whose saving the user declined: No at the close
// packs nothing (the estimate file stays as it was); Yes saves them.
TEST_F(EditorClose, AfterADeclinedSaveNoPacksNothingAndYesPacks) {
  for (const int answer : {vbNo, vbYes}) {
    st.SheetModified = true;
    st.PackPending = true;
    st.PackDeclined = true;
    log.calls.clear();
    ui.AnswerMsgBox(answer);
    EXPECT_FALSE(Form_QueryUnload(st, steps));
    EXPECT_EQ(log.calls.back(), answer == vbNo ? "AppShutdown(no pack)" : "AppShutdown(pack)");
    EXPECT_FALSE(st.PackDeclined && answer == vbYes);
  }
}

TEST_F(EditorClose, SavePromptCancelKeepsTheProgramAsItWas) {
  st.SheetModified = true;
  ui.AnswerMsgBox(vbCancel);

  EXPECT_TRUE(Form_QueryUnload(st, steps));

  EXPECT_TRUE(st.SheetModified);
  EXPECT_FALSE(st.PackPending);
  EXPECT_TRUE(sheet.calls.empty());
  EXPECT_EQ(log.calls, (std::vector<std::string>{"LastUsedRow()"}));
}

TEST_F(EditorClose, YesWithAFailedRecordKeepsRunning) {
  st.SheetModified = true;
  sheet.recordResult = false;
  ui.AnswerMsgBox(vbYes);

  EXPECT_TRUE(Form_QueryUnload(st, steps));

  EXPECT_TRUE(st.SheetModified);
  EXPECT_FALSE(st.PackPending);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"LastUsedRow()"}));
}

TEST_F(EditorClose, YesWithoutASheetEngineKeepsRunning) {
  st.sheetEngine = nullptr;
  st.SheetModified = true;
  ui.AnswerMsgBox(vbYes);

  EXPECT_TRUE(Form_QueryUnload(st, steps));
  EXPECT_TRUE(st.SheetModified);
}

TEST_F(EditorClose, UntitledEmptyEstimateClosesWithoutPromptEvenWhenModified) {
  st.WorkFileBase = kUntitledBase;
  st.SheetModified = true;
  lastUsedRow = 0;

  EXPECT_FALSE(Form_QueryUnload(st, steps));

  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_EQ(st.UsedRows, 0);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"LastUsedRow()", "AppShutdown(no pack)"}));
}

TEST_F(EditorClose, UntitledEstimateWithRowsIsAskedAboutUnderItsWorkName) {
  st.WorkFileBase = kUntitledBase;
  st.SheetModified = true;
  st.UsedRows = 0;  // refreshed from the sheet before the question
  lastUsedRow = 1;
  ui.AnswerMsgBox(vbNo, "見積データ [ 無題 ]の内容は変更されています");

  EXPECT_FALSE(Form_QueryUnload(st, steps));
}

TEST_F(EditorClose, CustomerVariantKeepsTheLastEstimateBeforeShutdown) {
  st.CustomerVariant = true;

  EXPECT_FALSE(Form_QueryUnload(st, steps));

  EXPECT_EQ(log.calls,
            (std::vector<std::string>{
                "LastUsedRow()", "SaveLastEstimateSetting(/data/港北ビル.YZH, /prog/WORK/港北ビル)",
                "AppShutdown(no pack)"}));
}

TEST_F(EditorClose, FailedShutdownKeepsTheWindowOpen) {
  shutdownOk = false;
  EXPECT_TRUE(Form_QueryUnload(st, steps));
  EXPECT_TRUE(log.Has("AppShutdown(no pack)"));
}

TEST_F(EditorClose, ShutdownThatEndsTheProgramDoesNotReturn) {
  steps.AppShutdown = [](ProgramState& s) -> bool {
    s.ui.EndProgram(0);
    return true;  // never reached
  };
  EXPECT_THROW(Form_QueryUnload(st, steps), ProgramEnded);
  EXPECT_EQ(ui.EndedWith(), 0);
}

TEST_F(EditorClose, WithoutStepsTheCloseGoesThrough) {
  st.SheetModified = false;
  EXPECT_FALSE(Form_QueryUnload(st, EditorCloseSteps{}));
}

}  // namespace
}  // namespace kv
