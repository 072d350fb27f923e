// Commands that read level 1 of an estimate after opening, starting afresh,
// recovering, discarding or converting it, fed a level-1 file cut short. Each
// tells the user once, writes nothing, and never leaves the rows of the
// estimate or sheet shown before in memory as this estimate's level 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "file_command_fixture.h"
#include "storage/file_new.h"
#include "storage/file_open.h"
#include "storage/level_files.h"
#include "storage/recover_file_open.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

void CutShort(const stdfs::path& file) { stdfs::resize_file(file, stdfs::file_size(file) - 100); }

// Cuts the converted estimate's level-1 work file when the page numbers are
// written for the `atCall`-th time: after the conversion, between the
// recording of the converted estimate and its reading back.
class CuttingEditor : public test::RecordingEditor {
 public:
  stdfs::path victim;
  int atCall = 0;
  void PageNumbersWrite(ProgramState& st) override {
    test::RecordingEditor::PageNumbersWrite(st);
    if (--atCall == 0 && stdfs::exists(victim)) CutShort(victim);
  }
};

class FailedLevelReadTest : public test::FileCommandTest {
 protected:
  CuttingEditor editor;

  // DATA/BAD.YZH: an estimate whose level-1 file is cut short. The cut
  // level file's bytes are kept in `cutLevel`.
  void MakeDamagedEstimate() {
    test::Program maker("MAKER");
    maker.StartNamed(data, "BAD", {"壊一", "壊二", "壊三"});
    const stdfs::path level1 = LevelFilePath(maker.st, maker.st.WorkFileBase, 1);
    CutShort(level1);
    cutLevel = Bytes(level1.string());
    ASSERT_EQ(PackEstimateFile(maker.st, maker.st.CurrentFilePath, false), kEstimatePacked);
    LanLockRelease(maker.st);
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> out;
    for (int r = 1; r <= 3; ++r) out.push_back(a.Text(1, r));
    return out;
  }
  // The estimate files of the data folder (not the lock files, which the
  // commands take and give back as they should) and the untitled estimate's
  // level-1 work file.
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> out;
    for (const auto& [name, bytes] : Snapshot(data))
      if (name.find(".$$$") == std::string::npos) out[name] = bytes;
    if (Exists(a.Untitled() + ".Y1")) out["無題.Y1"] = Bytes(a.Untitled() + ".Y1");
    return out;
  }

  std::string cutLevel;
};

TEST_F(FailedLevelReadTest, ALevelOneThatCannotBeReadLeavesNoOtherRowsAndWritesNothing) {
  const std::vector<std::string> none = {"", "", ""};
  struct Case {
    const char* name;
    std::function<void()> arrange;  // EST (旧一, 旧二) is open at level 1
    std::function<void()> run;
    const char* damaged;                 // the level file named in the message
    std::vector<std::string> rows;       // level 1 in memory afterwards
    std::vector<std::string> gone = {};  // estimate files the command removes on purpose
  };
  const std::vector<Case> cases = {
      {"open", [&] { ui.AnswerOpenDialog(Data("BAD.YZH")); }, [&] { FileOpen(st); }, "BAD.Y1", none},
      {"open after recovery",
       [&] { st.RecoveredFilePath = Data("BAD.YZH"); },
       [&] { RecoverFileOpen(st); }, "BAD.Y1", none},
      {"new", [&] { a.folder.Write("WORK/無題.Y1", cutLevel); }, [&] { FileNew(st); }, "無題.Y1", none},
      {"discarding an emptied estimate",
       [&] {
         a.folder.Write("WORK/無題.Y1", cutLevel);
         a.ClearSheet();
         ui.AnswerMsgBox(vbOK, "このファイルは空ですので削除されます。");
       },
       [&] { FlushLevels(st); }, "無題.Y1", none, {"EST.YZH", "EST.OPD"}},
      {"converting a previous-format file",
       [&] {
         a.WriteOldLevelFile(Data("OLD.Y1"), {"古一", "古二"});
         a.files.ConvertClassificationFile = [](ProgramState&, const std::string&, const std::string&) {
           return true;
         };
         editor.victim = WorkFile("OLD.Y1");
         editor.atCall = 2;
         ui.AnswerOpenDialog(Data("OLD.Y1"));
         ui.AnswerMsgBox(vbOK, "変換して読み込みます。");
       },
       [&] { FileOpen(st); }, "OLD.Y1", {"古一", "古二", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    a.files.ConvertClassificationFile = nullptr;
    editor.atCall = 0;
    st.editor = &editor;
    MakeDamagedEstimate();
    a.StartNamed(data, "EST", {"旧一", "旧二"});
    c.arrange();
    std::map<std::string, std::string> before = Files();
    const size_t prompts = ui.Prompts().size();
    ui.AnswerMsgBox(vbOK, std::string("[ ") + c.damaged + " ] が壊れています。");

    c.run();

    ui.ExpectAllAnswered();
    std::vector<std::string> told;
    for (size_t i = prompts; i < ui.Prompts().size(); ++i)
      if (ui.Prompts()[i].text.find("が壊れています") != std::string::npos) told.push_back(ui.Prompts()[i].text);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(std::string("[ ") + c.damaged + " ] が壊れています。"), std::string::npos) << told[0];
    EXPECT_EQ(st.CurrentLevel, 1);
    EXPECT_EQ(Rows(), c.rows);
    EXPECT_EQ(st.UsedRows, c.rows[1].empty() ? 0 : 2);
    // Nothing written: every estimate file as it was, less one the user
    // chose to remove.
    std::map<std::string, std::string> after = Files();
    for (const std::string& f : c.gone) before.erase(f);
    for (const auto& [file, bytes] : before) {
      auto it = after.find(file);
      ASSERT_NE(it, after.end()) << file;
      EXPECT_EQ(it->second, bytes) << file;
    }
    EXPECT_FALSE(Exists(Data("OLD.YZH")));

    // A save of what is shown does not empty or delete the estimate.
    if (c.rows[0].empty()) {
      const std::map<std::string, std::string> shown = Files();
      ui.AnswerMsgBox(vbOK, "が壊れています。");
      EXPECT_FALSE(FlushLevels(st));
      ui.ExpectAllAnswered();
      EXPECT_EQ(Files(), shown);
    }

    // Afresh for the next case.
    LanLockRelease(st);
    for (const auto& entry : stdfs::directory_iterator(data)) stdfs::remove_all(entry.path());
    for (const auto& entry : stdfs::directory_iterator(a.Work()))
      if (entry.path().filename().string().rfind("無題", 0) != 0 || entry.path().extension() == ".Y1")
        stdfs::remove_all(entry.path());
    a.st.WorkFileBase = a.Untitled();
    a.st.CurrentFilePath = a.Untitled();
  }
}

}  // namespace
}  // namespace kv
