// File > Open over real packed files: the old estimate is saved, packed and
// closed only as far as the user and the new file allow; the new file is
// locked, unpacked, reconciled with the current settings and shown. A file
// that cannot be opened leaves everything as it was.
#include "storage/file_open.h"

#include <gtest/gtest.h>
#include <zip.h>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "file_command_fixture.h"
#include "file_commands_double.h"
#include "state/layout_file.h"
#include "storage/file_command_steps.h"
#include "storage/file_save.h"
#include "storage/row_record.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

class FileOpenTest : public test::FileCommandTest {
 protected:
  // An estimate file in the data folder, made and closed by another program.
  void MakeEstimate(const std::string& name, const std::vector<std::string>& texts) {
    test::Program maker("MAKER");
    maker.StartNamed(data, name, texts);
    LanLockRelease(maker.st);
  }
  // The user picks `file` in the open dialog.
  void Pick(const std::string& file) { ui.AnswerOpenDialog(file); }
  void OpenEst() { a.StartNamed(data, "EST", {"旧一", "旧二"}); }

  // What a refused open must leave as it was.
  struct Kept {
    std::string path, base;
    std::vector<std::string> texts;
    std::map<std::string, std::string> work, files;
  };
  Kept Keep() {
    return {st.CurrentFilePath,
            st.WorkFileBase,
            {a.Text(1, 1), a.Text(1, 2)},
            Snapshot(a.Work()),
            Snapshot(data)};
  }
  void ExpectKept(const Kept& k) {
    EXPECT_EQ(st.CurrentFilePath, k.path);
    EXPECT_EQ(st.WorkFileBase, k.base);
    EXPECT_EQ((std::vector<std::string>{a.Text(1, 1), a.Text(1, 2)}), k.texts);
    EXPECT_EQ(Snapshot(a.Work()), k.work);
    EXPECT_EQ(Snapshot(data), k.files);
    EXPECT_FALSE(st.CommandBusy);
  }
};

TEST_F(FileOpenTest, OpensAnEstimateAndShowsItsLevelOne) {
  MakeEstimate("SRC", {"一", "二", "三"});
  st.KVData = "/start";
  Pick(Data("SRC.YZH"));
  FileOpen(st);
  const test::Prompt& dialog = ui.Prompts().at(0);
  EXPECT_EQ(dialog.dialog.title, "The Korvaneのﾌｧｲﾙを開く");
  EXPECT_EQ(dialog.dialog.filter,
            "TheKorvaneWinFile (*.YZH)|*.YZH|TheKorvaneWin2(*.Y1 ) &Dosﾌｧｲﾙ(*.Y1 )|*.Y1");
  EXPECT_EQ(dialog.dialog.initDir, "/start");
  EXPECT_EQ(dialog.dialog.flags, 4100);
  EXPECT_EQ(dialog.dialog.defaultExt, ".Y1");

  EXPECT_EQ(st.CurrentFilePath, Data("SRC.YZH"));
  EXPECT_EQ(st.WorkFileBase, a.Work() + "/SRC");
  EXPECT_EQ(st.KVData, data.string());
  EXPECT_EQ(LockedBy(Data("SRC.$$$")), "MACHINE-A");
  EXPECT_EQ(a.Text(1, 3), "三");
  EXPECT_EQ(st.UsedRows, 3);
  EXPECT_EQ(st.RecentFiles[1], "1 " + Data("SRC.YZH"));
  EXPECT_TRUE(st.UsesCurrentSettings);
  EXPECT_FALSE(st.CommandBusy);
}

TEST_F(FileOpenTest, TheEquipmentEditionAlsoOffersClassificationFiles) {
  st.SystemKind = 1;
  EXPECT_EQ(OpenDialogFilter(st),
            "TheKorvaneWinFile (*.YZH)|*.YZH|TheKorvaneWin2(*.Y1 ) &Dosﾌｧｲﾙ(*.Y1 )|*.Y1"
            "|TheKorvane Dos仕訳ﾌｧｲﾙ(*.S1)|*.S1");
}

TEST_F(FileOpenTest, OpeningClosesTheOldEstimate) {
  MakeEstimate("SRC", {"一"});
  OpenEst();
  Pick(Data("SRC.YZH"));
  FileOpen(st);
  EXPECT_EQ(st.CurrentFilePath, Data("SRC.YZH"));
  EXPECT_FALSE(Exists(Data("EST.$$$")));
  EXPECT_FALSE(Exists(WorkFile("EST.Y1")));
  EXPECT_TRUE(Exists(Data("EST.YZH")));
}

TEST_F(FileOpenTest, SavePromptCancelStopsBeforeTheDialog) {
  OpenEst();
  a.SetTexts(1, {"新"});
  st.SheetModified = true;
  ui.AnswerMsgBox(vbCancel, "見積データ [ EST ] の内容は変更されています。\n保存しますか？");
  FileOpen(st);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(a.Text(1, 1), "新");
  EXPECT_FALSE(st.CommandBusy);
}

TEST_F(FileOpenTest, SavePromptYesRecordsAndPacksBeforeTheDialog) {
  OpenEst();
  const std::string packed = Bytes(Data("EST.YZH"));
  a.SetTexts(1, {"新"});
  st.SheetModified = true;
  ui.AnswerMsgBox(vbYes).AnswerOpenDialog(std::nullopt);
  FileOpen(st);
  EXPECT_FALSE(st.SheetModified);
  EXPECT_FALSE(st.PackPending);
  EXPECT_NE(Bytes(Data("EST.YZH")), packed);  // packed although the dialog was cancelled
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
}

TEST_F(FileOpenTest, SavePromptNoDropsTheEdits) {
  OpenEst();
  const std::string packed = Bytes(Data("EST.YZH"));
  a.SetTexts(1, {"新"});
  st.SheetModified = true;
  ui.AnswerMsgBox(vbNo).AnswerOpenDialog(std::nullopt);
  FileOpen(st);
  EXPECT_FALSE(st.SheetModified);
  EXPECT_EQ(Bytes(Data("EST.YZH")), packed);
}

TEST_F(FileOpenTest, ARefusedPackOfTheOldEstimateStops) {
  OpenEst();
  test::FileCommandsDouble files;
  files.packResult = 1;
  st.fileCommands = &files;
  st.PackPending = true;
  ui.AnswerMsgBox(vbOK, PackRefusedText("EST"));
  FileOpen(st);
  EXPECT_TRUE(st.PackPending);
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
}

TEST_F(FileOpenTest, AFailedPackOfTheOldEstimateOffersSaveAsInstead) {
  OpenEst();
  test::FileCommandsDouble files;
  files.packResult = 0;
  st.fileCommands = &files;
  st.PackPending = true;
  ui.AnswerMsgBox(vbOK, ReadOnlyFileText(Data("EST.YZH"))).AnswerSaveDialog(std::nullopt);
  FileOpen(st);
  EXPECT_TRUE(st.PackPending);  // still to be packed: nothing is lost at the end
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
}

TEST_F(FileOpenTest, TheBaseTextAndTheWorkFoldersAreRefusedAtTheDialog) {
  stdfs::create_directories(shared.path() / "NETWORK");
  MakeEstimate("SRC", {"一"});
  stdfs::copy_file(Data("SRC.YZH"), shared.path() / "NETWORK" / "SRC.YZH");
  ui.AnswerOpenDialog(st.AppPath + "/基本text/X.YZH")
      .AnswerMsgBox(vbOK, "基本ＴＥＸＴは編集できません。")
      .AnswerOpenDialog(st.AppPath + "/WORK/X.YZH")
      .AnswerMsgBox(vbOK, "Korvane用 作業フォルダ WORK からデータを開くことはできません。")
      .AnswerOpenDialog(st.AppPath + "/DATA/../work2/X.YZH")
      .AnswerMsgBox(vbOK, "Korvane用 作業フォルダ WORK からデータを開くことはできません。")
      .AnswerOpenDialog((shared.path() / "NETWORK" / "SRC.YZH").string());
  stdfs::create_directory(st.AppPath + "/WORK2");
  FileOpen(st);
  EXPECT_EQ(st.CurrentFilePath, (shared.path() / "NETWORK" / "SRC.YZH").string());
}

TEST_F(FileOpenTest, CancelAtARefusalEndsTheCommand) {
  OpenEst();
  const Kept kept = Keep();
  ui.AnswerOpenDialog(WorkFile("EST.Y1")).AnswerMsgBox(vbCancel, "作業フォルダ WORK");
  FileOpen(st);
  ExpectKept(kept);
}

TEST_F(FileOpenTest, OwnLockOpensWithoutAQuestion) {
  MakeEstimate("SRC", {"一"});
  shared.Write("DATA/SRC.$$$", "MACHINE-A\r\n");
  Pick(Data("SRC.YZH"));
  FileOpen(st);
  EXPECT_EQ(st.CurrentFilePath, Data("SRC.YZH"));
}

// A lock of another or of an unknown machine, and the two answers.
struct LockCase {
  const char* name;
  std::string content;
  int answer;
};

class OpenLockedFile : public FileOpenTest, public ::testing::WithParamInterface<LockCase> {};

TEST_P(OpenLockedFile, OpensOnlyWhenForcedAndKeepsTheOldEstimateOtherwise) {
  MakeEstimate("SRC", {"一"});
  OpenEst();
  shared.Write("DATA/SRC.$$$", GetParam().content);
  const Kept kept = Keep();
  Pick(Data("SRC.YZH"));
  ui.AnswerModal("LAN_Msg_frm", [&] {
    EXPECT_EQ(st.LanMsgFileName, Data("SRC"));
    st.LanMsgAnswer = GetParam().answer;
  });
  FileOpen(st);
  if (GetParam().answer == 1) {
    EXPECT_EQ(st.CurrentFilePath, Data("SRC.YZH"));
    EXPECT_EQ(LockedBy(Data("SRC.$$$")), "MACHINE-A");
    EXPECT_FALSE(Exists(Data("EST.$$$")));
  } else {
    ExpectKept(kept);
    EXPECT_EQ(Bytes(Data("SRC.$$$")), GetParam().content);
    EXPECT_EQ(LockedBy(Data("EST.$$$")), "MACHINE-A");  // the open estimate keeps its lock
  }
}

INSTANTIATE_TEST_SUITE_P(Locks, OpenLockedFile,
                         ::testing::Values(LockCase{"ForeignGiveUp", "MACHINE-B\r\n", 0},
                                           LockCase{"ForeignForce", "MACHINE-B\r\n", 1},
                                           LockCase{"EmptyGiveUp", "", 0}, LockCase{"EmptyForce", "", 1}),
                         [](const auto& info) { return info.param.name; });

// Files that are not estimates.
std::string ZipOf(const stdfs::path& scratch,
                  const std::vector<std::pair<std::string, std::string>>& entries) {
  const stdfs::path p = scratch / "made.zip";
  int err = 0;
  zip_t* z = zip_open(p.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
  for (const auto& [name, bytes] : entries) {
    zip_source_t* s = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
    zip_file_add(z, name.c_str(), s, ZIP_FL_ENC_UTF_8);
  }
  zip_close(z);
  std::string out = test::ReadAll(p);
  stdfs::remove(p);
  return out;
}

struct BadFile {
  const char* name;
  int kind;  // 0 text, 1 truncated, 2 empty, 3 escaping, 4 no level files
};

class OpenBadFile : public FileOpenTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(OpenBadFile, IsRefusedAndTheOpenEstimateStaysAsItWas) {
  MakeEstimate("GOOD", {"一"});
  std::string bytes;
  switch (GetParam().kind) {
    case 0:
      bytes = "これは見積ではありません\r\n";
      break;
    case 1:
      bytes = Bytes(Data("GOOD.YZH"));
      bytes.resize(bytes.size() / 2);
      break;
    case 2:
      break;
    case 3:
      bytes = ZipOf(shared.path(), {{"BAD.Y1", std::string(256, ' ')}, {"../../escape.Y1", "x"}});
      break;
    case 4:  // settings and layout, and no sheet
      bytes = ZipOf(shared.path(), {{"BAD.INI", Bytes(st.AppPath + "/DAVIROV.INI")},
                                    {"BAD.Y$", Bytes(a.Untitled() + ".Y$")}});
      break;
  }
  stdfs::remove(Data("GOOD.YZH"));
  stdfs::remove(Data("GOOD.OPD"));
  shared.Write("DATA/BAD.YZH", bytes);
  OpenEst();
  const Kept kept = Keep();
  Pick(Data("BAD.YZH"));
  ui.AnswerMsgBox(vbOK, "BAD");
  FileOpen(st);
  ExpectKept(kept);  // the data folder too: no lock is left for the bad file
  EXPECT_EQ(LockedBy(Data("EST.$$$")), "MACHINE-A");
  EXPECT_FALSE(Exists(shared.path().string() + "/escape.Y1"));
  EXPECT_FALSE(Exists(a.folder.path().string() + "/escape.Y1"));
}

INSTANTIATE_TEST_SUITE_P(Files, OpenBadFile,
                         ::testing::Values(BadFile{"TextRenamed", 0}, BadFile{"Truncated", 1},
                                           BadFile{"Empty", 2}, BadFile{"EscapingEntry", 3},
                                           BadFile{"NoLevelFiles", 4}),
                         [](const auto& info) { return info.param.name; });

TEST_F(FileOpenTest, ADifferentLayoutAnsweredYesBecomesCurrent) {
  MakeEstimate("SRC", {"一"});
  const int width = st.ColWidth[1][1];
  st.ColWidth[1][1] = width - 2;  // the current layout now differs from the file's
  ASSERT_TRUE(WriteLayoutFile(st, a.Untitled()));
  Pick(Data("SRC.YZH"));
  ui.AnswerMsgBox(vbYes, LayoutDiffersQuestion("SRC"));
  FileOpen(st);
  EXPECT_FALSE(st.UsesCurrentSettings);
  EXPECT_EQ(st.ColWidth[1][1], width);
  EXPECT_EQ(ui.Prompts().back().style, vbYesNo + vbQuestion);
}

TEST_F(FileOpenTest, ADifferentLayoutAnsweredNoTakesTheCurrentSettings) {
  MakeEstimate("SRC", {"一"});
  const int width = st.ColWidth[1][1];
  st.ColWidth[1][1] = width - 2;
  ASSERT_TRUE(WriteLayoutFile(st, a.Untitled()));
  Pick(Data("SRC.YZH"));
  ui.AnswerMsgBox(vbNo, LayoutDiffersQuestion("SRC"));
  FileOpen(st);
  EXPECT_TRUE(st.UsesCurrentSettings);
  EXPECT_EQ(st.ColWidth[1][1], width - 2);
  EXPECT_EQ(Bytes(WorkFile("SRC.Y$")), Bytes(WorkFile("無題.Y$")));
  EXPECT_EQ(Bytes(WorkFile("SRC.INI")), Bytes(st.AppPath + "/DAVIROV.INI"));
}

TEST_F(FileOpenTest, AnEstimateWithoutLayoutKeepsTheSystemSettingsWithoutAQuestion) {
  {
    test::Program maker("MAKER");
    maker.StartNamed(data, "SRC", {"一"});
    stdfs::remove(maker.Work() + "/SRC.Y$");
    ASSERT_EQ(PackEstimateFile(maker.st, Data("SRC.YZH"), false), kEstimatePacked);
    LanLockRelease(maker.st);
  }
  const int width = st.ColWidth[1][1];
  Pick(Data("SRC.YZH"));
  FileOpen(st);
  EXPECT_TRUE(st.UsesCurrentSettings);
  EXPECT_EQ(st.ColWidth[1][1], width);
  EXPECT_TRUE(Exists(WorkFile("SRC.Y$")));  // made from the template
}

TEST_F(FileOpenTest, APreviousFormatFileWithANewerTwinAsksFirst) {
  MakeEstimate("SRC", {"一"});
  shared.Write("DATA/SRC.Y1", std::string(256, ' '));
  OpenEst();
  const Kept kept = Keep();
  Pick(Data("SRC.Y1"));
  ui.AnswerMsgBox(vbOK, "TheKorvaneWindows版Ver3形式に変換して読み込みます。")
      .AnswerMsgBox(vbNo,
                    "SRC\rこのファイルはすでにTheKorvaneWindows版Ver3形式が存在します。\r\r上書きしますか？");
  FileOpen(st);
  ExpectKept(kept);
  EXPECT_EQ(ui.Prompts().at(1).title, "TheKorvaneデータ変換の確認");
}

// A previous-format estimate: level files of the current record form
// without closing records.
class OpenOldFormat : public FileOpenTest {
 protected:
  void WriteOld(const std::string& file, const std::vector<std::string>& texts) {
    a.WriteOldLevelFile(Data(file), texts);
  }
  std::vector<std::string> converted;
  void SetUp() override {
    FileOpenTest::SetUp();
    a.files.ConvertClassificationFile = [this](ProgramState&, const std::string& base,
                                               const std::string& ext) {
      converted.push_back(base + " " + ext);
      // The sources are of the current record form already; a classification
      // file's become the "(仕訳)" set.
      if (ext == ".S1") stdfs::copy_file(base + ".S1", base + "(仕訳).Y1");
      return true;
    };
  }
  void AcceptConversion() { ui.AnswerMsgBox(vbOK, "変換して読み込みます。"); }
};

TEST_F(OpenOldFormat, IsConvertedAndSavedAsAPackedFile) {
  WriteOld("OLD.Y1", {"古一", "古二"});
  Pick(Data("OLD.Y1"));
  AcceptConversion();
  FileOpen(st);
  EXPECT_EQ(converted, std::vector<std::string>{a.Work() + "/OLD .Y1"});
  EXPECT_EQ(st.CurrentFilePath, Data("OLD.YZH"));
  EXPECT_TRUE(Exists(Data("OLD.YZH")));
  EXPECT_EQ(LockedBy(Data("OLD.$$$")), "MACHINE-A");
  EXPECT_FALSE(st.PackPending);
  EXPECT_EQ(a.Text(1, 2), "古二");
  EXPECT_EQ(st.RecentFiles[1], "1 " + Data("OLD.YZH"));
}

TEST_F(OpenOldFormat, ARefusedPackOfTheConvertedFileStaysPending) {
  WriteOld("OLD.Y1", {"古一"});
  a.readOnly.insert(data);
  Pick(Data("OLD.Y1"));
  AcceptConversion();
  ui.AnswerMsgBox(vbOK, PackRefusedText("OLD"));
  FileOpen(st);
  EXPECT_TRUE(st.PackPending);
  EXPECT_FALSE(Exists(Data("OLD.YZH")));
}

TEST_F(OpenOldFormat, AClassificationFileOpensUnderItsOwnName) {
  WriteOld("CLS.S1", {"分類"});
  const std::string dos = Bytes(Data("CLS.S1"));
  Pick(Data("CLS.S1"));
  AcceptConversion();
  FileOpen(st);
  EXPECT_EQ(st.CurrentFilePath, Data("CLS(仕訳).YZH"));
  EXPECT_EQ(st.WorkFileBase, a.Work() + "/CLS(仕訳)");
  EXPECT_EQ(LockedBy(Data("CLS(仕訳).$$$")), "MACHINE-A");
  EXPECT_FALSE(Exists(Data("CLS(仕訳).S1")));  // the copies are gone
  EXPECT_EQ(Bytes(Data("CLS.S1")), dos);       // the DOS file is untouched
  EXPECT_EQ(a.Text(1, 1), "分類");
}

TEST_F(OpenOldFormat, AFailedConversionOpensTheUntitledEstimateAndLeavesNothingBehind) {
  WriteOld("OLD.Y1", {"古一"});
  a.files.ConvertClassificationFile = nullptr;
  const auto work = Snapshot(a.Work());
  Pick(Data("OLD.Y1"));
  AcceptConversion();
  ui.AnswerMsgBox(vbOK, "変換できませんでした");
  FileOpen(st);
  EXPECT_EQ(st.CurrentFilePath, a.Untitled());
  EXPECT_FALSE(Exists(Data("OLD.$$$")));
  for (const auto& [file, bytes] : Snapshot(a.Work()))
    EXPECT_TRUE(work.count(file) || file.rfind("無題", 0) == 0) << file;
}

// Two machines opening one estimate from the shared folder.
TEST_F(FileOpenTest, TheSecondMachineIsRefusedOrForcesAndTheFirstKeepsWorking) {
  MakeEstimate("SRC", {"一"});
  a.ui.AnswerOpenDialog(Data("SRC.YZH"));
  FileOpen(a.st);
  ASSERT_EQ(a.st.CurrentFilePath, Data("SRC.YZH"));

  test::Program b("MACHINE-B");
  b.ui.AnswerOpenDialog(Data("SRC.YZH")).AnswerModal("LAN_Msg_frm", [&] { b.st.LanMsgAnswer = 0; });
  FileOpen(b.st);
  EXPECT_EQ(b.st.CurrentFilePath, b.Untitled());
  EXPECT_EQ(LockedBy(Data("SRC.$$$")), "MACHINE-A");
  a.SetTexts(1, {"一", "追加"});
  a.st.SheetModified = true;
  EXPECT_EQ(FileSaveRun(a.st), SaveResult::Saved);  // no question: its lock is its own

  b.ui.AnswerOpenDialog(Data("SRC.YZH")).AnswerModal("LAN_Msg_frm", [&] { b.st.LanMsgAnswer = 1; });
  FileOpen(b.st);
  EXPECT_EQ(b.st.CurrentFilePath, Data("SRC.YZH"));
  EXPECT_EQ(b.Text(1, 2), "追加");
  EXPECT_EQ(LockedBy(Data("SRC.$$$")), "MACHINE-B");
  // The first machine is told when it saves next, and keeps its estimate open.
  a.SetTexts(1, {"一", "追加", "さらに"});
  a.st.SheetModified = true;
  a.ui.AnswerModal("LAN_Msg_frm", [&] { a.st.LanMsgAnswer = 0; })
      .AnswerMsgBox(vbOK, InUseNotSavedText("SRC"))
      .AnswerSaveDialog(std::nullopt);
  EXPECT_EQ(FileSaveRun(a.st), SaveResult::LockRefused);
  EXPECT_EQ(a.st.CurrentFilePath, Data("SRC.YZH"));
  EXPECT_TRUE(a.st.PackPending);
  EXPECT_EQ(LockedBy(Data("SRC.$$$")), "MACHINE-B");
}

}  // namespace
}  // namespace kv
