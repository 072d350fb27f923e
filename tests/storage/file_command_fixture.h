#pragma once
// A program folder copied from the build's default one with its settings
// loaded, a data folder for estimate files, and the program's file commands,
// for the tests of Open, Save, Save As, New and the lock file.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "state/base_text.h"
#include "state/data_ini.h"
#include "state/layout_file.h"
#include "state/level_ini.h"
#include "state/program_state.h"
#include "state/sys_ini.h"
#include "storage/estimate_pack.h"
#include "storage/file_commands.h"
#include "storage/flush_levels.h"
#include "storage/lan_lock.h"
#include "storage/level_read.h"
#include "storage/level_write.h"
#include "storage/row_record.h"
#include "storage/split_path.h"
#include "support/lock_lines.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {

// One program: its folder, state, user and file commands.
struct Program {
  TempFolder folder;
  ScriptedUi ui;
  ProgramState st{ui};
  FileCommands files;
  RecordingCalc calc;
  // Folders the probe reports as read-only file systems.
  std::set<std::filesystem::path> readOnly;
  // Free bytes the probe reports for every file system (a nearly full one
  // when set).
  std::optional<std::uint64_t> freeBytes;

  explicit Program(const std::string& machine) {
    namespace stdfs = std::filesystem;
    for (const auto& entry : stdfs::directory_iterator(KORVANE_PROGRAM_DIR))
      if (entry.is_regular_file() && entry.path().filename() != "korvane")
        stdfs::copy_file(entry.path(), folder.path() / entry.path().filename());
    stdfs::create_directory(folder.path() / "WORK");
    st.AppPath = folder.path().string();
    st.WorkFolderName = "/WORK";
    st.calc = &calc;
    st.MachineName = machine;
    std::string levelProblem;
    EXPECT_TRUE(LevelIniRead(st, levelProblem)) << levelProblem;
    EXPECT_TRUE(DataIniLoad(st, st.AppPath + "/DAVIROV.INI"));
    EXPECT_TRUE(SysIniLoad(st));
    EXPECT_TRUE(ColumnDefRead(st, st.AppPath + "/" + SplitPath(st, st.KvTextPath).name));
    st.RecentFiles = {};
    st.WorkFileBase = st.AppPath + "/WORK/無題";
    st.CurrentFilePath = st.WorkFileBase;
    EXPECT_TRUE(WriteLayoutFile(st, st.WorkFileBase));
    files.probe.kind = [this](const stdfs::path& p) {
      for (const stdfs::path& f : readOnly)
        if (p.parent_path() == f || p == f) return fs::DriveKind::CdRom;
      return fs::DriveKindOf(p);
    };
    files.probe.space = [this](const stdfs::path&) -> std::optional<fs::DiskSpace> {
      if (freeBytes) return fs::DiskSpace{*freeBytes / 512, 512};
      return fs::DiskSpace{1u << 30, 4096};
    };
    st.fileCommands = &files;
    ClearSheet();
  }

  std::string Work() const { return st.AppPath + "/WORK"; }
  std::string Untitled() const { return Work() + "/無題"; }

  // An empty sheet in memory.
  void ClearSheet() {
    for (std::string& r : st.SheetRows) r.assign(static_cast<size_t>(st.DataLen), ' ');
    st.SheetTotalRecord.assign(static_cast<size_t>(st.DataLen), ' ');
    st.UsedRows = 0;
  }

  // Texts into column 1 of rows 1.. of the sheet in memory of `level`.
  void SetTexts(int level, const std::vector<std::string>& texts) {
    ClearSheet();
    for (size_t i = 0; i < texts.size(); ++i) {
      std::string& rec = st.SheetRows[i + 1];
      const std::string bytes = ToSjis(texts[i]);
      rec.replace(static_cast<size_t>(st.ColStart[level][1] - 1), bytes.size(), bytes);
    }
    st.UsedRows = static_cast<int>(texts.size());
  }

  // Column 1 of a row of the sheet in memory, without its blanks.
  std::string Text(int level, int row) const {
    const std::string& rec = st.SheetRows[static_cast<size_t>(row)];
    std::string s = FromSjis(rec.substr(static_cast<size_t>(st.ColStart[level][1] - 1),
                                        static_cast<size_t>(st.ColWidth[level][1])));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }

  // A previous-format level file at `path`: level-1 rows of the current
  // record form with the texts, chained in hexadecimal, without closing
  // record. The sheet in memory is left empty.
  void WriteOldLevelFile(const std::string& path, const std::vector<std::string>& texts) {
    SetTexts(1, texts);
    RecordFile f(path, st.DataLen);
    for (size_t i = 0; i < texts.size(); ++i) {
      std::string rec = st.SheetRows[i + 1];
      SetLinkField(rec, kOwnPos, int(i) + 1, true);
      SetLinkField(rec, kNextPos, i + 1 < texts.size() ? int(i) + 2 : kNoRecord, true);
      SetLinkField(rec, kChildPos, kNoRecord, true);
      f.PutRecordText(int(i) + 1, rec);
    }
    f.Close();
    ClearSheet();
  }

  // The breakdown of level-1 row `row`: the texts written as its sheet on
  // level 2, then level 1 read back as the editor shows it.
  void Breakdown(int row, const std::vector<std::string>& texts) {
    st.ParentRows[1] = st.SheetRows[size_t(row)];
    st.CurrentLevel = 2;
    ASSERT_TRUE(LevelRead(st, 2));
    SetTexts(2, texts);
    ASSERT_TRUE(LevelWrite(st, 2));
    st.CurrentLevel = 1;
    ASSERT_TRUE(LevelRead(st, 1));
  }

  // The texts of the breakdown of level-1 row `row` of the open estimate.
  std::vector<std::string> BreakdownTexts(int row) {
    std::vector<std::string> out;
    st.CurrentLevel = 1;
    if (!LevelRead(st, 1)) return {"<level 1 unreadable>"};
    st.ParentRows[1] = st.SheetRows[size_t(row)];
    st.CurrentLevel = 2;
    if (!LevelRead(st, 2)) return {"<level 2 unreadable>"};
    for (int r = 1; r <= st.UsedRows; ++r) out.push_back(Text(2, r));
    st.CurrentLevel = 1;
    LevelRead(st, 1);
    return out;
  }

  // A named estimate `folder`/`name`.YZH open in this program: level 1 with
  // the texts, recorded, locked and packed.
  void StartNamed(const std::filesystem::path& dataFolder, const std::string& name,
                  const std::vector<std::string>& texts) {
    st.CurrentFilePath = (dataFolder / (name + ".YZH")).string();
    st.WorkFileBase = Work() + "/" + name;
    st.KVData = dataFolder.string();
    st.CurrentLevel = 1;
    ASSERT_TRUE(LanLockAcquire(st, st.CurrentFilePath));
    SetTexts(1, texts);
    ASSERT_TRUE(FlushLevels(st));  // recorded, and read back as the editor has it
    ASSERT_EQ(PackEstimateFile(st, st.CurrentFilePath, false), kEstimatePacked);
    st.SheetModified = false;
    st.PackPending = false;
  }
};

class FileCommandTest : public ::testing::Test {
 protected:
  TempFolder shared;  // the estimate folder (a network share in real life)
  std::filesystem::path data = shared.path() / "DATA";
  Program a{"MACHINE-A"};
  ProgramState& st = a.st;
  ScriptedUi& ui = a.ui;

  void SetUp() override { std::filesystem::create_directories(data); }

  std::string Data(const std::string& file) const { return (data / file).string(); }
  std::string WorkFile(const std::string& file) const { return a.Work() + "/" + file; }
  static bool Exists(const std::string& p) { return std::filesystem::exists(p); }
  static std::string Bytes(const std::string& p) { return ReadAll(p); }
  // The machine a lock file names ("" when there is none).
  static std::string LockedBy(const std::string& p) { return test::LockMachine(p); }

  // Every file (hidden ones too) below a folder with its bytes.
  static std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
      files[std::filesystem::relative(e.path(), folder).string()] =
          e.is_directory() ? std::string("<dir>") : ReadAll(e.path());
    return files;
  }
};

}  // namespace kv::test
