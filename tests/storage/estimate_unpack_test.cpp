// Unpacking an estimate into the work folder: the work set comes back byte
// for byte, older estimates are copied, and a damaged, truncated, foreign or
// missing file is refused with a message while the work folder stays as it was.
#include "storage/estimate_unpack.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/packing.h"
#include "work_set_fixture.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using test::ReadAll;

class Unpack : public test::WorkSetFixture {
 protected:
  // A work set of `name` in WORK, packed into DATA, then taken out of WORK.
  std::map<std::string, std::string> PackedEstimate(const std::string& name, const std::string& oleCnt) {
    std::map<std::string, std::string> files = {
        {name + ".Y1", Record(' ', 1, 2, "上位") + Record('G', 2, -99, "合計")},
        {name + ".Y2", Record('G', 1, -99, "内訳")},
        {name + ".Y$", "layout"},
        {name + ".INI", "[Boot]\r\nDataLen=256\r\n[OLE]\r\n" + oleCnt},
        {name + ".YT", std::string(2000, 'p')},
        {name + "$1.MOD", std::string("$$4DO-SHEET$$\0objects", 21)},
        {name + "$2.MOD", "more objects"},
    };
    for (const auto& [f, bytes] : files) WorkFile(f, bytes);
    const PackFileSet set = PackFileSetFrom(st);
    EXPECT_EQ(MCompress(data, work, name, app.path(), set), kPackOk);
    EXPECT_EQ(MCompOLEData(data, work, name, app.path(), set), kPackOk);
    for (const auto& [f, bytes] : files) stdfs::remove(work / f);
    return files;
  }

  std::string MakeZip(const std::vector<std::pair<std::string, std::string>>& entries) const {
    const stdfs::path p = app.path() / "made.zip";
    int err = 0;
    zip_t* z = zip_open(p.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    for (const auto& [name, bytes] : entries)
      zip_file_add(z, name.c_str(), zip_source_buffer(z, bytes.data(), bytes.size(), 0), ZIP_FL_ENC_UTF_8);
    EXPECT_EQ(zip_close(z), 0);
    std::string out = ReadAll(p);
    stdfs::remove(p);
    return out;
  }
};

TEST_F(Unpack, PackedEstimateComesBackByteForByte) {
  const std::string name = "見積 第１号";
  const auto files = PackedEstimate(name, "OleFileCnt=2\r\n");
  WorkFile("他の見積.Y1", "another estimate");
  WorkFile(name + ".Y3", "leftover of an earlier estimate of that name");
  WorkFile(name + "$7.MOD", "leftover object file");

  const UnpackResult r = UnpackEstimateFile(st, (data / (name + ".YZH")).string());
  ASSERT_TRUE(r.ok()) << UnpackFailureText(r);
  std::map<std::string, std::string> expected = files;
  expected["他の見積.Y1"] = "another estimate";
  EXPECT_EQ(Snapshot(work), expected);  // the work set is exactly the packed one
}

TEST_F(Unpack, ObjectPackOnlyWhenTheSettingsCountObjectFiles) {
  for (const char* count : {"", "OleFileCnt=0\r\n"}) {
    SCOPED_TRACE(count);
    const auto files = PackedEstimate("EST", count);
    // The file set writes ".YZH"; the file on disk is spelt otherwise.
    stdfs::rename(data / "EST.YZH", data / "EST.yzh");
    const UnpackResult r = UnpackEstimateFile(st, (data / "EST.yzh").string());
    ASSERT_TRUE(r.ok()) << UnpackFailureText(r);
    EXPECT_TRUE(stdfs::exists(work / "EST.Y1"));
    EXPECT_FALSE(stdfs::exists(work / "EST$1.MOD"));
    for (const auto& [f, bytes] : files) stdfs::remove(work / f);
  }
}

TEST_F(Unpack, BadFilesAreRefusedAndTheWorkFolderStaysAsItWas) {
  PackedEstimate("EST", "OleFileCnt=2\r\n");
  const std::string packed = ReadAll(data / "EST.YZH");
  const std::string objects = ReadAll(data / "EST.OPD");
  // What the user had open before: the work set of the same name.
  WorkFile("EST.Y1", Record('G', 1, -99, "open estimate"));
  WorkFile("EST.INI", "[OLE]\r\nOleFileCnt=1\r\n");
  WorkFile("EST$1.MOD", "open objects");
  const auto before = Snapshot(work);

  std::string badCrc = packed;
  const size_t at = badCrc.find("PK\x03\x04");
  badCrc[at + 14] = static_cast<char>(badCrc[at + 14] ^ 0x55);  // CRC-32 of the first entry
  struct Case {
    const char* what;
    std::string yzh, opd;  // "" = no such file
    UnpackStatus status;
    const char* file;  // which file the message names
  };
  const std::vector<Case> cases = {
      {"missing", "", objects, UnpackStatus::Missing, "EST.YZH"},
      {"not a zip", std::string(3000, 'x'), objects, UnpackStatus::Damaged, "EST.YZH"},
      {"truncated", packed.substr(0, packed.size() / 2), objects, UnpackStatus::Damaged, "EST.YZH"},
      {"bad checksum", badCrc, objects, UnpackStatus::Damaged, "EST.YZH"},
      {"foreign", MakeZip({{"readme.txt", "hello"}}), objects, UnpackStatus::Foreign, "EST.YZH"},
      {"no level files", MakeZip({{"EST.INI", "[OLE]\r\n"}, {"EST.Y$", "DM=1\r\n"}}), objects,
       UnpackStatus::Foreign, "EST.YZH"},
      {"escaping entry", MakeZip({{"../EST.Y1", "x"}}), objects, UnpackStatus::Unsafe, "EST.YZH"},
      {"object pack missing", packed, "", UnpackStatus::Missing, "EST.OPD"},
      {"object pack damaged", packed, objects.substr(0, 40), UnpackStatus::Damaged, "EST.OPD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    stdfs::remove(data / "EST.YZH");
    stdfs::remove(data / "EST.OPD");
    if (!c.yzh.empty()) app.Write("DATA/EST.YZH", c.yzh);
    if (!c.opd.empty()) app.Write("DATA/EST.OPD", c.opd);
    const UnpackResult r = UnpackEstimateFile(st, (data / "EST.YZH").string());
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(UnpackFailureText(r).find(c.file), std::string::npos) << UnpackFailureText(r);
    EXPECT_EQ(Snapshot(work), before);
  }
  ui.AnswerMsgBox(vbOK, "EST.OPD");
  UnpackFailureShow(st, UnpackEstimateFile(st, (data / "EST.YZH").string()));
  EXPECT_EQ(ui.Prompts().at(0).title, "TheKorvane");
}

TEST_F(Unpack, OtherExtensionsLeaveTheWorkFolderAlone) {
  app.Write("DATA/EST.TXT", "text");
  WorkFile("EST.Y1", "open");
  const auto before = Snapshot(work);
  EXPECT_EQ(UnpackEstimateFile(st, (data / "EST.TXT").string()).status, UnpackStatus::NotEstimate);
  EXPECT_EQ(UnpackEstimateFile(st, (data / "EST.OPD").string()).status, UnpackStatus::NotEstimate);
  EXPECT_EQ(Snapshot(work), before);
}

TEST_F(Unpack, OlderEstimateComponentFilesAreCopied) {
  app.Write("DATA/OLD.Y1", Record('G', 1, -99));
  app.Write("DATA/old.y2", "level 2");
  app.Write("DATA/OLD.yt", std::string(45, 'a') + "end");  // two records, the second short
  WorkFile("OLD.Y3", "leftover");
  for (int kind : {2, 4}) {
    SCOPED_TRACE(kind);
    st.SystemKind = kind;
    const UnpackResult r = UnpackEstimateFile(st, (data / "OLD.Y1").string());
    ASSERT_TRUE(r.ok()) << UnpackFailureText(r);
    EXPECT_EQ(ReadAll(work / "OLD.Y1"), Record('G', 1, -99));
    EXPECT_EQ(ReadAll(work / "OLD.Y2"), "level 2");
    EXPECT_FALSE(stdfs::exists(work / "OLD.Y3"));
    const std::string yt = ReadAll(work / "OLD.YT");
    if (kind == 4) {
      std::string expected = std::string(40, 'a') + "aaaaaend" + std::string(32, ' ');
      expected += std::string(48 * 40, ' ');
      EXPECT_EQ(yt, expected);
    } else {
      EXPECT_EQ(yt, std::string(45, 'a') + "end");
    }
  }
  EXPECT_EQ(UnpackEstimateFile(st, (data / "NONE.Y1").string()).status, UnpackStatus::Missing);
}

TEST_F(Unpack, NumberedFilesAreCopied) {
  // ".S1" is an estimate's extension only where the file set names it.
  st.CompFileCount = 7;
  st.CompFileExt[7] = ".S1";
  app.Write("DATA/DOS.S1", "first");
  app.Write("DATA/DOS.S3", "third");
  ASSERT_TRUE(UnpackEstimateFile(st, (data / "DOS.S1").string()).ok());
  EXPECT_EQ(ReadAll(work / "DOS.S1"), "first");
  EXPECT_FALSE(stdfs::exists(work / "DOS.S2"));
  EXPECT_EQ(ReadAll(work / "DOS.S3"), "third");
}

TEST_F(Unpack, ReferenceFilesGoToTheReferenceWorkFolder) {
  const auto files = PackedEstimate("REF", "OleFileCnt=1\r\n");
  const UnpackResult r = UnpackReferenceFile(st, (data / "REF.YZH").string());
  ASSERT_TRUE(r.ok()) << UnpackFailureText(r);
  EXPECT_EQ(Snapshot(app.path() / "WORK2"), files);
  EXPECT_TRUE(stdfs::is_empty(work));
  app.Write("DATA/REF.Y1", "old form");
  EXPECT_EQ(UnpackReferenceFile(st, (data / "REF.Y1").string()).status, UnpackStatus::NotEstimate);
}

}  // namespace
}  // namespace kv
