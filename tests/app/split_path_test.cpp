#include "storage/split_path.h"

#include <gtest/gtest.h>

#include "state/file_set_def.h"

namespace kv {
namespace {

TEST(SplitPath, KnownExtensionsOnly) {
  FileSetDef files;
  files.CompFileCount = 2;
  files.CompFileExt[1] = ".Y1";
  files.CompFileExt[2] = ".Y2";
  files.PackedExt = ".YZH";
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
    const char* ext;
  } cases[] = {
      {"/data/EST01.YZH", "/data", "EST01", ".YZH"},
      {"/net/share/A.opd", "/net/share", "A", ".opd"},
      {"/a/B.X.YZH", "/a", "B.X", ".YZH"},
      {"/a/B.TXT", "/a", "B.TXT", ""},
      {"/a/B.Y1.TXT", "/a", "B.Y1.TXT", ""},
      {"KVTEXT.y1", "", "KVTEXT", ".y1"},
      {"/a/.Y2", "/a", "", ".Y2"},
  };
  for (const auto& c : cases) {
    const SplitPathResult r = SplitPath(files, c.path);
    EXPECT_EQ(r.folder, c.folder) << c.path;
    EXPECT_EQ(r.name, c.name) << c.path;
    EXPECT_EQ(r.extension, c.ext) << c.path;
  }
}

}  // namespace
}  // namespace kv
