#include "core/c_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kv {
namespace {

cPath PathOf(const std::string& name) {
  cPath p;
  p.FileName(name);
  return p;
}

TEST(cPath, NameExtensionAndFolder) {
  struct Case {
    const char* fileName;
    const char* name;
    const char* ext;
    const char* folder;
    const char* nameOnly;
  };
  const Case cases[] = {
      {"C:name", "name", "", "C:\\", "name"},
      {"C:\\dir\\file.txt", "file.txt", "txt", "C:\\dir\\", "file"},
      {"/home/kv/est.v1.YZH", "est.v1.YZH", "YZH", "/home/kv/", "est.v1"},
      {"/home/j.doe/README", "README", "", "/home/j.doe/", "README"},
      {"plain", "plain", "", "", "plain"},
      {"/", "", "", "/", ""},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    cPath p = PathOf(c.fileName);
    EXPECT_EQ(p.GetFileName(), c.name) << c.fileName;
    EXPECT_EQ(p.GetExt(), c.ext) << c.fileName;
    EXPECT_EQ(p.GetPath(), c.folder) << c.fileName;
    EXPECT_EQ(p.GetFileNameOnly(), c.nameOnly) << c.fileName;
    EXPECT_EQ(p.FileName(), c.fileName);
  }
}

TEST(cPath, CleanFileName) {
  EXPECT_EQ(PathOf("C:\\ABC.TXT").GetCleanFileName(), "Abc.Txt");
  EXPECT_EQ(PathOf("/data/README").GetCleanFileName(), "Readme.");
  EXPECT_EQ(PathOf("MixedCase.TXT").GetCleanFileName(), "MixedCase.Txt");
  EXPECT_EQ(PathOf("見積.YZH").GetCleanFileName(), "見積.Yzh");
}

TEST(cPath, AddDblQuot) {
  EXPECT_EQ(PathOf("my file.txt").AddDblQuot(), "\"my file.txt\"");
  EXPECT_EQ(PathOf("a,b").AddDblQuot(), "\"a,b\"");
  EXPECT_EQ(PathOf("plain").AddDblQuot(), "plain");
  EXPECT_EQ(PathOf("plain").AddDblQuot(true), "\"plain\"");
  EXPECT_EQ(PathOf("\"my file\"").AddDblQuot(), "\"my file\"");
  EXPECT_EQ(PathOf("\"my file").AddDblQuot(), "\"my file\"");
  cPath p = PathOf("a b");
  p.AddDblQuot();
  EXPECT_EQ(p.FileName(), "a b");
}

TEST(cPath, FullPathName) {
  cPath p;
  EXPECT_EQ(p.GetFullPathName("/home/kv/", "x.YZH"), "/home/kv/x.YZH");
  EXPECT_EQ(p.GetFullPathName("/home/kv", "x.YZH"), "/home/kv/x.YZH");
  EXPECT_EQ(p.GetFullPathName("C:\\dir", "x"), "C:\\dir\\x");
  EXPECT_EQ(p.GetFullPathName(""), "/");
}

TEST(cPath, SystemQuestions) {
  const std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "c_path_short.txt";
  std::ofstream(file) << "x";
  EXPECT_EQ(PathOf(file.string()).GetShortPathName(), file.string());
  std::filesystem::remove(file);
  EXPECT_EQ(PathOf(file.string()).GetShortPathName(), "");

  cPath p;
  EXPECT_EQ(p.GetWindowsDirectory(), "/");
  EXPECT_EQ(p.GetSystemDirectory(), "/");
  EXPECT_EQ(PathOf("/tmp/a.txt").GetExecFileFromDataFile(), "");
}

TEST(cPath, SpecialFolders) {
  EXPECT_EQ(cPath::Desktop(), 0);
  EXPECT_EQ(cPath::Programs(), 2);
  EXPECT_EQ(cPath::Favorites(), 6);
  EXPECT_EQ(cPath::Startup(), 7);
  EXPECT_EQ(cPath::Recent(), 8);
  EXPECT_EQ(cPath::SendTo(), 9);
  EXPECT_EQ(cPath::StartMenu(), 11);
  EXPECT_EQ(cPath::Fonts(), 20);

  const char* oldHome = std::getenv("HOME");
  const std::string saved = oldHome ? oldHome : "";
  setenv("HOME", "/home/kv", 1);
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_CONFIG_HOME");
  cPath p;
  EXPECT_EQ(p.GetSpecialFolder(cPath::Desktop()), "/home/kv/Desktop/");
  EXPECT_EQ(p.GetSpecialFolder(cPath::Programs()), "/home/kv/.local/share/applications/");
  EXPECT_EQ(p.GetSpecialFolder(cPath::Startup()), "/home/kv/.config/autostart/");
  EXPECT_EQ(p.GetSpecialFolder(cPath::Fonts()), "/home/kv/.local/share/fonts/");
  EXPECT_EQ(p.GetSpecialFolder(cPath::SendTo()), "/");  // no equivalent: the failure form
  EXPECT_EQ(p.GetSpecialFolder(12345), "/");
  if (oldHome) setenv("HOME", saved.c_str(), 1);
}

}  // namespace
}  // namespace kv
