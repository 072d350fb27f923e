// The last estimate closed, stored for the companion program: its path and
// the budget amount of the top sheet's closing record.
#include "storage/last_estimate_setting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/registry_store.h"
#include "work_set_fixture.h"

namespace kv {
namespace {

class LastEstimateSetting : public test::WorkSetFixture {
 protected:
  void SetUp() override {
    WorkSetFixture::SetUp();
    const char* own = std::getenv("KORVANE_CONFIG_DIR");
    saved_ = own ? std::optional<std::string>(own) : std::nullopt;
    ::setenv("KORVANE_CONFIG_DIR", (app.path() / "config").c_str(), 1);
    st.ColStart[1][8] = 100;
    st.ColWidth[1][8] = 12;
  }
  void TearDown() override {
    if (saved_) ::setenv("KORVANE_CONFIG_DIR", saved_->c_str(), 1);
    else ::unsetenv("KORVANE_CONFIG_DIR");
  }
  std::string Stored(std::string_view key) const { return GetSetting("DI32DODA", "Init", key, "<none>"); }
  static std::string WithBudget(std::string rec, const std::string& field) {
    rec.replace(99, field.size(), field);
    return rec;
  }
  std::optional<std::string> saved_;
};

TEST_F(LastEstimateSetting, PathAndBudgetOfTheClosingRecord) {
  WorkFile("見積A.Y1", Record(' ', 1, 2) + WithBudget(Record('G', 2, -99), "   1,234,500"));
  const std::string path = (data / "見積A.YZH").string();
  EXPECT_TRUE(SaveLastEstimateSetting(st, path, (work / "見積A").string()));
  EXPECT_EQ(Stored("見積ファイル名"), path);
  EXPECT_EQ(Stored("予算金額"), "1,234,500");
}

TEST_F(LastEstimateSetting, NoClosingRecordStoresOnlyThePath) {
  WorkFile("OLD.Y1", Record(' ', 1, 2) + WithBudget(Record(' ', 2, -99), "999"));
  EXPECT_TRUE(SaveLastEstimateSetting(st, "/d/OLD.YZH", (work / "OLD").string()));
  EXPECT_EQ(Stored("見積ファイル名"), "/d/OLD.YZH");
  EXPECT_EQ(Stored("予算金額"), "<none>");
}

TEST_F(LastEstimateSetting, UntitledStoresNothing) {
  WorkFile("無題.Y1", WithBudget(Record('G', 1, -99), "5"));
  EXPECT_TRUE(SaveLastEstimateSetting(st, (work / "無題").string(), (work / "無題").string()));
  EXPECT_EQ(Stored("見積ファイル名"), "<none>");
  EXPECT_EQ(Stored("予算金額"), "<none>");
}

}  // namespace
}  // namespace kv
