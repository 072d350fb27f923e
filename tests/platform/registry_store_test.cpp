#include "platform/registry_store.h"

#include <cstdlib>

#include "packing_fixture.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

class RegistryStoreTest : public test::TempDirTest {};

TEST_F(RegistryStoreTest, ValuesRoundTripExactly) {
  RegistryStore store(root_ / "config" / "TheKorvane");  // made on first save
  const std::pair<const char*, const char*> values[] = {
      {"見積ファイル名", "/home/u/見積/EST01.YZH"},
      {"予算金額", "1234567"},
      {"EXE_Path", "  blanks kept  "},
      {"odd=key\\[x]", "a=b\\c\nsecond line\r\n"},
      {"[section-like key", ""},
  };
  for (auto [k, v] : values) ASSERT_TRUE(store.SaveSetting("DI32DODA", "Init", k, v)) << k;
  for (auto [k, v] : values) EXPECT_EQ(store.GetSetting("DI32DODA", "Init", k, "missing"), v) << k;

  // Names are matched without regard to letter case; a value is replaced, not
  // added twice.
  ASSERT_TRUE(store.SaveSetting("DI32DODA", "INIT", "exe_path", "/opt/kv/KV32_1.EXE"));
  EXPECT_EQ(store.GetSetting("DI32DODA", "Init", "EXE_Path"), "/opt/kv/KV32_1.EXE");
  EXPECT_EQ(test::Snapshot(store.folder()).size(), 1u) << "one file, no temporary left";
}

TEST_F(RegistryStoreTest, MissingValuesGiveTheDefault) {
  RegistryStore store(root_);
  ASSERT_TRUE(store.SaveSetting("DI32DODA", "Init", "EXE_Path", "x"));
  EXPECT_EQ(store.GetSetting("VETRIX", "Init", "EXE_Path", "/prog"), "/prog");        // other application
  EXPECT_EQ(store.GetSetting("DI32DODA", "Other", "EXE_Path", "/prog"), "/prog");     // other section
  EXPECT_EQ(store.GetSetting("DI32DODA", "Init", "Nothing", "/prog"), "/prog");       // other key
  EXPECT_EQ(store.GetSetting("../DI32DODA", "Init", "EXE_Path", "/prog"), "/prog");
  EXPECT_FALSE(store.SaveSetting("../DI32DODA", "Init", "EXE_Path", "x"));
  EXPECT_FALSE(RegistryStore("").SaveSetting("DI32DODA", "Init", "EXE_Path", "x"));
}

TEST_F(RegistryStoreTest, FreeFunctionsUseTheFolderFromTheEnvironment) {
  const char* own = std::getenv("KORVANE_CONFIG_DIR");
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string savedOwn = own ? own : "", savedXdg = xdg ? xdg : "";
  ::setenv("KORVANE_CONFIG_DIR", root_.c_str(), 1);
  EXPECT_EQ(RegistryFolder(), root_);
  EXPECT_TRUE(SaveSetting("DI32DODA", "Init", "予算金額", "500"));
  EXPECT_EQ(GetSetting("DI32DODA", "Init", "予算金額", ""), "500");
  EXPECT_TRUE(stdfs::exists(root_ / "DI32DODA.ini"));

  ::unsetenv("KORVANE_CONFIG_DIR");
  ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
  EXPECT_EQ(RegistryFolder(), stdfs::path("/xdg/TheKorvane"));
  if (own) ::setenv("KORVANE_CONFIG_DIR", savedOwn.c_str(), 1);
  if (xdg) ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  else ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace kv
