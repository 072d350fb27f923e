// Compaction of the work files before packing: level files and, outside the
// equipment edition, the object files with their count in the settings file.
#include "storage/compact_work_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/ini_file.h"
#include "platform/packing.h"
#include "storage/level_fixture.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

namespace stdfs = std::filesystem;

DiskProbe Disk(fs::DriveKind kind) {
  return {[kind](const stdfs::path&) { return kind; },
          [](const stdfs::path&) { return std::optional<fs::DiskSpace>(fs::DiskSpace{1u << 20, 4096}); }};
}

class CompactWork : public LevelFixture {
 protected:
  RecordingSheet sheet;
  stdfs::path work = app.path() / "WORK";
  std::string ini;

  void SetUp() override {
    LevelFixture::SetUp();
    ini = st.WorkFileBase + ".INI";
    st.sheetEngine = &sheet;
    st.CompFileCount = 6;
    const char* comps[] = {".Y1", ".Y2", ".Y3", ".Y$", ".INI", ".YT"};
    for (int i = 1; i <= 6; ++i) st.CompFileExt[i] = comps[i - 1];
    st.OleDataExt = "OPD";
    // Level 1: rows A and B, the top sheet's objects in file 5. Level 2 (12
    // records): A's breakdown 7 -> 3 -> 10 with objects in file 9, B's
    // breakdown 2 -> 11 -> 5 -> 8 without objects.
    WriteLevel(1, {{' ', 0, 2, 7, "A"}, {' ', 0, 3, 2, "B"}, {'G', 0, kNoRecord, kNoRecord, std::string()}});
    PatchObject(1, 3, "   5");
    std::vector<Rec> level2 = Filler(12);
    level2[6] = {' ', 0, 3, kNoRecord, "a1", '@'};
    level2[2] = {' ', 0, 10, kNoRecord, "a2"};
    level2[9] = {'G', 0, kNoRecord, kNoRecord, "aG"};
    level2[1] = {' ', 0, 11, kNoRecord, "b1", '@'};
    level2[10] = {' ', 0, 5, kNoRecord, "b2"};
    level2[4] = {' ', 0, 8, kNoRecord, "b3"};
    level2[7] = {'G', 0, kNoRecord, kNoRecord, "bG"};
    WriteLevel(2, level2);
    PatchObject(2, 10, "   9");
    app.Write("WORK/EST$5.MOD", "top objects");
    app.Write("WORK/EST$9.MOD", "breakdown objects");
    app.Write("WORK/EST$4.MOD", "no sheet names this");
    app.Write("WORK/EST.INI", "[OLE]\r\nOleFileCnt=3\r\nOleFileNo=9\r\n");
    // The open sheet: A's breakdown at level 2.
    st.CurrentLevel = 2;
    st.PathTotalRecords[1] = ReadLevel(1)[2];
    SetParent(2, 1);
    const std::vector<std::string> recs = ReadLevel(2);
    st.SheetRows[1] = recs[6];
    st.SheetRows[2] = recs[2];
    st.SheetRows[3] = recs[9];
    st.UsedRows = 2;
    st.SheetTotalRecord = st.PathTotalRecords[2] = recs[9];
    st.SheetObjNo = "9";
  }

  void PatchObject(int level, int record, const std::string& field) {
    std::vector<std::string> recs = ReadLevel(level);
    std::string rec = recs.at(static_cast<size_t>(record - 1));
    rec.replace(15, 4, field);
    RecordFile f(LevelPath(level), st.DataLen);
    f.PutRecordText(record, rec);
    f.Close();
  }
  static std::string Obj(const std::string& rec) { return rec.substr(15, 4); }
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> out;
    for (const auto& e : stdfs::directory_iterator(work)) out[e.path().filename().string()] = ReadAll(e.path());
    return out;
  }
};

TEST_F(CompactWork, LevelAndObjectFilesCompactedAndTheCountStored) {
  CompactWorkFiles(st, st.WorkFileBase, Disk(fs::DriveKind::Fixed), &OLEFilePack);
  EXPECT_EQ(ReadLevel(2).size(), 7u);
  // Object files numbered in the order their sheets are met.
  EXPECT_EQ(ReadAll(work / "EST$1.MOD"), "top objects");
  EXPECT_EQ(ReadAll(work / "EST$2.MOD"), "breakdown objects");
  EXPECT_FALSE(stdfs::exists(work / "EST$4.MOD"));
  EXPECT_FALSE(stdfs::exists(work / "EST$9.MOD"));
  EXPECT_EQ(IniGetInt("OLE", "OleFileCnt", ini), 2);
  EXPECT_EQ(Obj(ReadLevel(1)[2]), "   1");
  EXPECT_EQ(Obj(ReadLevel(2)[2]), "   2");  // A's closing record, now record 3
  // The open sheet follows the files.
  EXPECT_EQ(st.SheetObjNo, "2");
  EXPECT_EQ(Obj(st.SheetTotalRecord), "   2");
  EXPECT_EQ(Obj(st.SheetRows[3]), "   2");
  EXPECT_EQ(Obj(st.PathTotalRecords[2]), "   2");
  EXPECT_EQ(Obj(st.PathTotalRecords[1]), "   1");
  EXPECT_EQ(sheet.calls, (std::vector<std::string>{"StatusPanelSet(1,ファイルパック中!)", "StatusPanelClear(1)"}));
  EXPECT_FALSE(ui.Busy());
}

TEST_F(CompactWork, EquipmentEditionCompactsOnlyTheLevelFiles) {
  st.SystemKind = 1;
  CompactWorkFiles(st, st.WorkFileBase, Disk(fs::DriveKind::Fixed), &OLEFilePack);
  EXPECT_EQ(ReadLevel(2).size(), 7u);
  EXPECT_EQ(ReadAll(work / "EST$4.MOD"), "no sheet names this");
  EXPECT_EQ(ReadAll(work / "EST$9.MOD"), "breakdown objects");
  EXPECT_EQ(IniGetInt("OLE", "OleFileCnt", ini), 3);
  EXPECT_EQ(st.SheetObjNo, "9");
}

TEST_F(CompactWork, FailedObjectCompactionLeavesTheCountAlone) {
  int calls = 0;
  CompactWorkFiles(st, st.WorkFileBase, Disk(fs::DriveKind::Fixed),
                   [&](const stdfs::path&, const stdfs::path& program, int dataLen, const std::string& hLink,
                       const PackFileSet&) {
                     ++calls;
                     EXPECT_EQ(program, stdfs::path(st.AppPath + "/"));
                     EXPECT_EQ(dataLen, 256);
                     EXPECT_EQ(hLink, "10");
                     return kPackDamaged;
                   });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(IniGetInt("OLE", "OleFileCnt", ini), 3);
  EXPECT_EQ(st.SheetObjNo, "9");
}

TEST_F(CompactWork, CountIsNotWrittenIntoAMissingSettingsFile) {
  stdfs::remove(ini);
  CompactWorkFiles(st, st.WorkFileBase, Disk(fs::DriveKind::Fixed), &OLEFilePack);
  EXPECT_FALSE(stdfs::exists(ini));
  EXPECT_TRUE(stdfs::exists(work / "EST$2.MOD"));
}

TEST_F(CompactWork, MissingFolderOrReadOnlyFileSystemIsNotTouched) {
  const auto before = Files();
  for (fs::DriveKind kind : {fs::DriveKind::NoRoot, fs::DriveKind::CdRom}) {
    CompactWorkFiles(st, st.WorkFileBase, Disk(kind), &OLEFilePack);
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(sheet.calls.empty());
    EXPECT_EQ(ui.BusyOnCount(), 0);
  }
}

TEST_F(CompactWork, DamagedLevelFileStopsBeforeTheObjectFiles) {
  app.Write("WORK/EST.Y2", ReadAll(LevelPath(2)) + "partial record");
  const auto before = Files();
  ui.AnswerMsgBox(vbOK, "EST.Y2");
  CompactWorkFiles(st, st.WorkFileBase, Disk(fs::DriveKind::Fixed), &OLEFilePack);
  EXPECT_EQ(Files(), before);
  EXPECT_EQ(sheet.Count("StatusPanelClear"), 1);
}

}  // namespace
}  // namespace kv::test
