#include "core/path_shorten.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(PathShorten, Cases) {
  struct Case {
    const char* path;
    int n;
    const char* shortened;
  };
  const Case cases[] = {
      {"C:\\verylongname.txt", 15, "C:\\veryl....txt"},  // no inner folder: the name is cut
      {"C:\\verylongname.txt", 30, "C:\\verylongname.txt"},
      {"C:\\verylongname.txt", 19, "C:\\verylongname.txt"},
      {"C:\\aa\\bb\\cc\\file.ext", 19, "C:\\aa\\...\\file.ext"},  // innermost folders go first
      {"C:\\aa\\bb\\cc\\file.ext", 15, "C:\\...\\file.ext"},
      {"C:\\aa\\bb\\cc\\file.ext", 12, "C:\\......ext"},  // no trial fits: the shortest is cut
      {"C:\\aa\\bb\\cc\\file.ext", 6, ""},
      {"C:\\verylongname.txt", 9, ""},  // less than head, "..." and extension
      {"/home/kv/DATA/estimate.YZH", 22, "/home/.../estimate.YZH"},
      {"/home/kv/DATA/estimate.YZH", 20, "/.../estimate.YZH"},
      {"/home/kv/DATA/見積書.YZH", 18, "/home/.../見積書.YZH"},  // characters, not bytes
      {"verylongestimatename.YZH", 12, "veryl....YZH"},
      {"/home/j.doe/verylongestimatename", 20, "/.../verylongesti..."},  // a dotted folder is no extension
  };
  for (const Case& c : cases) EXPECT_EQ(PathShorten(c.path, c.n), c.shortened) << c.path << ' ' << c.n;
}

}  // namespace
}  // namespace kv
