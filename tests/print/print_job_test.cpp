// The print job: the windows minimised and given back around it, the
// programs run from the program folder with the job file, a program that
// cannot start or a job file that cannot be written reported with
// everything put back, the print form saved with its page numbers, and the
// first page number following a renumbering.
#include "print/print_job.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "editor/page_numbers.h"
#include "print/print_fixture.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

class PrintJobTest : public PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    in.firstPage = "1";
    in.companyName = in.activatedCompanyName = "本社";
    in.activatedForm = 1;
    st.UnitWindowOpen = st.SearchWindowOpen = st.RefWindowOpen = true;
    ui.windowStates["EDTSHEET_FRM"] = WindowState::Maximized;
    ui.windowStates["SchSheet_Frm"] = WindowState::Minimized;
  }
  // Runs the job; `closed` tells whether the dialog was closed.
  void Run() {
    PrintJob(st, in, [this] {
      closed = true;
      runningWhenClosed = st.PrintRunning;
    });
  }
  void ExpectPutBack() {
    EXPECT_FALSE(st.PrintRunning);
    EXPECT_TRUE(closed);
    EXPECT_EQ(ui.windowStates["EDTSHEET_FRM"], WindowState::Maximized);
    EXPECT_EQ(ui.windowStates["UNIT2_Frm"], WindowState::Normal);
    EXPECT_EQ(ui.windowStates["SchSheet_Frm"], WindowState::Minimized);
    EXPECT_EQ(ui.CallsStartingWith("ActivateWindow("), std::vector<std::string>{"ActivateWindow(EDTSHEET_FRM)"});
  }
  PrintJobInputs in;
  bool closed = false;
  bool runningWhenClosed = false;
};

TEST_F(PrintJobTest, RunsTheProgramsInTheProgramFolderWhileTheWindowsAreDown) {
  StandIn("pixOut.exe", "echo \"pixOut $1 $(pwd)\" >> run.log");
  StandIn("DOZUR3.exe", "echo \"DOZUR3 $1 $(pwd)\" >> run.log; cp MP_INFO.dat job.copy; cp KVSYSTEM.INI ini.copy");
  in.option1Enabled = in.option1 = true;
  ui.onProcessEvents = [this] {
    // While a program runs the editor is down.
    EXPECT_TRUE(st.PrintRunning);
    EXPECT_EQ(ui.windowStates["EDTSHEET_FRM"], WindowState::Minimized);
    EXPECT_EQ(ui.windowStates["UNIT2_Frm"], WindowState::Minimized);
  };
  Run();
  EXPECT_TRUE(runningWhenClosed);
  EXPECT_EQ(FileText("run.log"), "pixOut MP_INFO.DAT " + st.AppPath + "\nDOZUR3 MP_INFO.DAT " + st.AppPath + "\n");
  EXPECT_EQ(FileText("job.copy"), FileText("MP_INFO.dat"));
  EXPECT_EQ(Get(st.AppPath + "/ini.copy", "PrintInformation", "CompanyName"), "本社");
  ExpectPutBack();
}

TEST_F(PrintJobTest, TheImageProgramRunsOnlyWhenAskedOutsideTheEquipmentEdition) {
  StandIn("pixOut.exe", "echo pixOut >> run.log");
  StandIn("DOZUR3.exe", "echo DOZUR3 >> run.log");
  struct Case {
    int kind;
    bool enabled, checked;
    const char* log;
  };
  const Case cases[] = {{2, true, true, "pixOut\nDOZUR3\n"},
                        {2, false, true, "DOZUR3\n"},
                        {2, true, false, "DOZUR3\n"},
                        {1, true, true, "DOZUR3\n"}};
  for (const Case& c : cases) {
    std::filesystem::remove(app.path() / "run.log");
    st.SystemKind = c.kind;
    in.option1Enabled = c.enabled;
    in.option1 = c.checked;
    Run();
    EXPECT_EQ(FileText("run.log"), c.log) << c.kind << c.enabled << c.checked;
  }
}

TEST_F(PrintJobTest, AProgramThatCannotStartIsReportedAndTheEditorComesBack) {
  // No DOZUR3.exe in the program folder; a failing image program lets the
  // print go on.
  in.option1Enabled = in.option1 = true;
  ui.AnswerMsgBox(vbOK, "画像出力プログラム [ " + st.AppPath + "/pixOut.exe ] を起動できません。\n");
  ui.AnswerMsgBox(vbOK, "印刷プログラム [ " + st.AppPath + "/DOZUR3.exe ] を起動できません。\n");
  Run();
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.Prompts().back().title, "印刷");
  ExpectPutBack();
}

TEST_F(PrintJobTest, JobFilesThatCannotBeWrittenStopTheJobBeforeAnyProgram) {
  StandIn("DOZUR3.exe", "echo DOZUR3 >> run.log");
  for (const char* blocked : {"MP_INFO.dat", "KVSYSTEM.INI"}) {
    SCOPED_TRACE(blocked);
    std::filesystem::remove(app.path() / blocked);
    std::filesystem::create_directory(app.path() / blocked);
    closed = false;
    ui.AnswerMsgBox(vbOK, std::string("印刷用のファイル [ ") + st.AppPath + "/" + blocked + " ] を書き込めません。");
    ui.windowStates["EDTSHEET_FRM"] = WindowState::Maximized;
    Run();
    ui.ExpectAllAnswered();
    EXPECT_FALSE(std::filesystem::exists(app.path() / "run.log"));
    EXPECT_FALSE(st.PrintRunning);
    EXPECT_TRUE(closed);
    EXPECT_EQ(ui.windowStates["EDTSHEET_FRM"], WindowState::Maximized);
    std::filesystem::remove(app.path() / blocked);
  }
}

TEST_F(PrintJobTest, TheProgramPathIsQuotedWhenTheFolderHoldsBlanks) {
  EXPECT_EQ(JobCommandLine("/opt/kv", "DOZUR3.exe"), "/opt/kv/DOZUR3.exe MP_INFO.DAT");
  EXPECT_EQ(JobCommandLine("/home/a b/kv", "DOZUR3.exe"), "\"/home/a b/kv/DOZUR3.exe\" MP_INFO.DAT");
  const std::filesystem::path folder = app.path() / "Program Files";
  std::filesystem::create_directories(folder / "WORK");
  for (const char* f : {"DAVIROV.INI", "Test Printer.INI"})
    if (std::filesystem::exists(app.path() / f)) std::filesystem::copy_file(app.path() / f, folder / f);
  st.AppPath = folder.string();
  StandIn("Program Files/DOZUR3.exe", "pwd > ran");
  Run();
  EXPECT_TRUE(std::filesystem::exists(folder / "ran"));
}

TEST_F(PrintJobTest, AnotherFormIsSavedWithItsPageNumbersAndTheFirstPageFollows) {
  StandIn("DOZUR3.exe", "cp MP_INFO.dat job.copy");
  ThreeRowsEstimate();
  RecordingSheet sheet;
  st.sheetEngine = &sheet;
  // The page numbers as written for form 1 (2 rows a page): the breakdown
  // starts on page 4; the dialog offered that page.
  PageNumbersWrite(st);
  st.CurrentLevel = 2;
  SetParent(2, 1);
  st.SheetRows[1] = ReadLevel(2).at(0);
  st.PrintRequest = "4";
  in.firstPage = "4";
  in.form = 2;  // 3 rows a page: the breakdown starts on page 3
  Run();
  EXPECT_EQ(Get(EstimateIni(), "印刷タイプ", "PrnTypeNo"), "2");
  EXPECT_EQ(Get(PrinterIni(), "印刷タイプ", "PrnTypeNo"), "2");
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(ReadLevel(2).at(0).substr(15, 4), "  3P");
  EXPECT_EQ(st.SheetRows[1].substr(15, 4), "  3P");
  EXPECT_TRUE(sheet.Has("StatusPageShow(1)"));
  EXPECT_NE(FileText("job.copy").find("PAGE_NO=3\r\n"), std::string::npos);

  // A number the user typed stays.
  in.form = 1;
  in.firstPage = "10";
  st.PrintRequest = "3";
  Run();
  EXPECT_EQ(ReadLevel(2).at(0).substr(15, 4), "  4P");
  EXPECT_NE(FileText("job.copy").find("PAGE_NO=10\r\n"), std::string::npos);
}

TEST_F(PrintJobTest, TheStoredFormDecidesNotTheActivatedOne) {
  StandIn("DOZUR3.exe", "true");
  // The set-up button changed the form in memory only: the activation took
  // that form, but the estimate's settings still hold form 1.
  in.activatedForm = 3;
  in.form = 3;
  Run();
  EXPECT_EQ(Get(EstimateIni(), "印刷タイプ", "PrnTypeNo"), "3");
  EXPECT_TRUE(st.SheetModified);
}

}  // namespace
}  // namespace kv::test
