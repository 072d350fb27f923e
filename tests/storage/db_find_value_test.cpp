// The companion database lookup refuses names the companion program uses;
// a path with an apostrophe must be found like any other, and a missing or
// foreign database must never be created or answer yes.
#include "storage/db_find_value.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace kv {
namespace {

class DbFindValueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Exec(
        "CREATE TABLE VetrixTb (FLD001 INTEGER, FLD012 TEXT);"
        "INSERT INTO VetrixTb VALUES (1, '/d/o''brien/見積.YZH');"
        "INSERT INTO VetrixTb VALUES (2, '/d/plain.YZH');"
        "CREATE TABLE Empty (FLD012 TEXT);");
  }
  void Exec(const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(db_.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  test::TempFolder dir;
  std::string db_ = (dir.path() / "VETRIX.MDB").string();
};

TEST_F(DbFindValueTest, FindsAValueOfTheField) {
  EXPECT_TRUE(DbFindValue(db_, "VetrixTb", "FLD012", "/d/o'brien/見積.YZH"));
  EXPECT_TRUE(DbFindValue(db_, "VetrixTb", "FLD012", "/d/plain.YZH"));
  EXPECT_TRUE(DbFindValue(db_, "VetrixTb", "FLD001", "2"));
}

TEST_F(DbFindValueTest, AnswersNoForEverythingElse) {
  EXPECT_FALSE(DbFindValue(db_, "VetrixTb", "FLD012", "/d/other.YZH"));
  EXPECT_FALSE(DbFindValue(db_, "VetrixTb", "FLD012", "' OR '1'='1"));
  EXPECT_FALSE(DbFindValue(db_, "vetrixtb", "FLD012", "/d/plain.YZH"));  // the table's exact name
  EXPECT_FALSE(DbFindValue(db_, "Empty", "FLD012", ""));
  EXPECT_FALSE(DbFindValue(db_, "Missing", "FLD012", "/d/plain.YZH"));
  EXPECT_FALSE(DbFindValue(db_, "VetrixTb", "FLD099", "FLD099"));
}

TEST_F(DbFindValueTest, AMissingOrForeignFileIsNoDatabase) {
  const std::string missing = (dir.path() / "none.MDB").string();
  EXPECT_FALSE(DbFindValue(missing, "VetrixTb", "FLD012", "/d/plain.YZH"));
  EXPECT_FALSE(std::filesystem::exists(missing));
  const std::filesystem::path text = dir.Write("text.MDB", "not a database at all");
  EXPECT_FALSE(DbFindValue(text.string(), "VetrixTb", "FLD012", "/d/plain.YZH"));
}

}  // namespace
}  // namespace kv
