// Work files rewritten together: a few changed bytes of files whose old size
// is known are written in place (the files keep their inodes), anything
// larger or of unknown files replaces whole files; either way each file ends
// with exactly its new content and nothing else is left in the folder.
#include "storage/work_files_replace.h"

#include <sys/stat.h>

#include "platform/packing_fixture.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

ino_t Inode(const stdfs::path& p) {
  struct stat s {};
  return ::stat(p.c_str(), &s) == 0 ? s.st_ino : 0;
}

class WorkFilesReplaceTest : public test::TempDirTest {};

TEST_F(WorkFilesReplaceTest, SmallChangesAreWrittenInPlaceAndLargeOnesReplaceTheFiles) {
  const std::string a(4000, 'a'), b(4000, 'b');
  auto with = [](std::string s, size_t at, const std::string& bytes) { return s.replace(at, bytes.size(), bytes); };
  struct Case {
    const char* name;
    std::vector<WorkFileContent> files;
    bool inPlace;
  };
  const stdfs::path dir = Dir("work");
  const stdfs::path y1 = dir / "EST.Y1", y2 = dir / "EST.Y2";
  const Case cases[] = {
      {"a record of each file", {{y1, with(a, 512, "XY"), 4000, {{512, 512}}}, {y2, with(b, 0, "Z"), 4000, {{0, 512}}}}, true},
      {"a record appended, a file cut",
       {{y1, a + std::string(512, 'n'), 4000, {}}, {y2, b.substr(0, 3000), 4000, {}}},
       true},
      {"most of a file", {{y1, std::string(4000, 'c'), 4000, {{0, 4000}}}}, false},
      {"an old size not known", {{y1, with(a, 0, "Q"), std::nullopt, {}}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteFile(y1, a);
    test::WriteFile(y2, b);
    const ino_t inode = Inode(y1);
    stdfs::path failed;
    std::error_code ec;
    ASSERT_EQ(ReplaceWorkFiles(c.files, failed, ec), WorkFilesReplaced::All) << ec.message();
    std::map<std::string, std::string> expected = {{"EST.Y1", a}, {"EST.Y2", b}};
    for (const WorkFileContent& f : c.files) expected[f.path.filename().string()] = f.bytes;
    EXPECT_EQ(test::Snapshot(dir), expected);
    EXPECT_EQ(Inode(y1) == inode, c.inPlace);
  }
}

}  // namespace
}  // namespace kv
