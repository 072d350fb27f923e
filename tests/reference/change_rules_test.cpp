// The rule file: counts, names, saving over and after, reading back what was
// saved, and the rules that do not fit or cannot be read.
#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "reference/change_rules.h"
#include "reference/ref_conv_fixture.h"

namespace kv::test {
namespace {

class ChangeRules : public RefConvFixture {
 protected:
  std::filesystem::path file;
  void SetUp() override {
    RefConvFixture::SetUp();
    file = RuleFilePath(st);
  }
  std::string Value(const std::string& section, const std::string& key) {
    std::string v;
    IniGetString(section, key, v, file);
    return v;
  }
};

TEST_F(ChangeRules, AFileWithoutACountTakesItsFirstRuleAsRuleOne) {
  WriteText(file, J("[変換ルール]\r\n"));
  RuleList list = ChgRuleNameGet(file);
  EXPECT_EQ(list.RuleCount, 0);
  EXPECT_EQ(SaveRule(file, list, FindRuleName(list, "旧形式A"), "旧形式A", Rule()), RuleSaveResult::Saved);
  EXPECT_EQ(SaveRule(file, list, FindRuleName(list, "旧形式B"), "旧形式B", Rule()), RuleSaveResult::Saved);
  EXPECT_EQ(Value("変換ルール", "ChgRuleCnt"), "2");
  list = ChgRuleNameGet(file);
  EXPECT_EQ(list.RuleNames, (std::vector<std::string>{"旧形式A", "旧形式B"}));
  EXPECT_EQ(FindRuleName(list, "旧形式B"), 2);
  EXPECT_EQ(FindRuleName(list, "旧形式"), -1);
  // A name the file takes for another rule's section is that rule.
  EXPECT_EQ(SaveRule(file, list, -1, "Old", Rule()), RuleSaveResult::Saved);
  list = ChgRuleNameGet(file);
  EXPECT_EQ(FindRuleName(list, "OLD"), 3);
  EXPECT_EQ(FindRuleName(list, "Old"), 3);
  EXPECT_EQ(Value("旧形式A", "MField2"), "数量,N,27,8,2,1");
  EXPECT_EQ(Value("旧形式A", "MField4"), "単価,N,45,6,0,-1");
  EXPECT_EQ(Value("旧形式A", "RField3"), "説明,C,38,15,0");

  // Saved again under its name: overwritten, the count unchanged.
  RefConvRule changed = Rule();
  changed.map = {2, -1, 0, -1, 1};
  EXPECT_EQ(SaveRule(file, list, FindRuleName(list, "旧形式A"), "旧形式A", changed), RuleSaveResult::Saved);
  EXPECT_EQ(Value("変換ルール", "ChgRuleCnt"), "3");
  const auto back = ReadRuleDefinitions(file, "旧形式A");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->map, changed.map);
  EXPECT_EQ(back->m.size(), 5u);
  EXPECT_EQ(back->r[2].name, "説明");
}

TEST_F(ChangeRules, AFieldNameHoldingCommasSurvivesASaveAndALoad) {
  RefConvRule rule = Rule();
  rule.m[0].name = "名称,種別,1";
  rule.r[1].name = "a,b";
  RuleList list;
  ASSERT_EQ(SaveRule(file, list, -1, "R1", rule), RuleSaveResult::Saved);
  const auto back = ReadRuleDefinitions(file, "R1");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->m[0].name, "名称,種別,1");
  EXPECT_EQ(back->m[0].width, 7);
  EXPECT_EQ(back->r[1].name, "a,b");
  EXPECT_EQ(back->r[1].type, "N");
}

TEST_F(ChangeRules, ARuleFitsByGeometryAloneAndBadDefinitionsNeverFit) {
  RuleList list;
  RefConvRule renamed = Rule();
  renamed.m[1].name = "員数";
  renamed.r[0].name = "名前";
  ASSERT_EQ(SaveRule(file, list, -1, "ok", renamed), RuleSaveResult::Saved);
  const auto ok = ReadRuleDefinitions(file, "ok");
  ASSERT_TRUE(ok);
  EXPECT_TRUE(RuleMatchesCurrentFields(*ok, Rule().m, Rule().r));
  RefConvRule wider = Rule();
  wider.r[2].width = 16;
  EXPECT_FALSE(RuleMatchesCurrentFields(*ok, wider.m, wider.r));
  wider = Rule();
  wider.m.pop_back();
  EXPECT_FALSE(RuleMatchesCurrentFields(*ok, wider.m, wider.r));

  struct Bad {
    const char* what;
    const char* key;
    const char* value;
  } bads[] = {
      {"non-numeric width", "MField1", "名称,C,20,x7,0,0"},
      {"too few items", "RField1", "C,20,8,0"},
      {"unknown type", "RField2", "数量,X,28,10,0"},
      {"mapping past the reference fields", "MField3", "摘要,C,35,10,0,3"},
      {"field count over the limit", "MFieldCnt", "54"},
      {"no count", "RFieldCnt", ""},
  };
  for (const Bad& b : bads) {
    SCOPED_TRACE(b.what);
    ASSERT_EQ(SaveRule(file, list, FindRuleName(list, "bad"), "bad", Rule()), RuleSaveResult::Saved);
    ASSERT_TRUE(IniPutString("bad", b.key, b.value, file));
    const std::string bytes = FileBytes(file);
    EXPECT_FALSE(ReadRuleDefinitions(file, "bad"));
    EXPECT_EQ(FileBytes(file), bytes);
  }
  EXPECT_FALSE(ReadRuleDefinitions(file, "missing section"));
}

TEST_F(ChangeRules, TheThousandthRuleIsTheLast) {
  WriteText(file, J("[変換ルール]\r\nChgRuleCnt=1200\r\nChgRuleName1=a\r\n"));
  RuleList list = ChgRuleNameGet(file);
  ASSERT_EQ(list.RuleCount, 1000);
  EXPECT_EQ(list.RuleNames.front(), "a");
  const std::string bytes = FileBytes(file);
  EXPECT_EQ(SaveRule(file, list, -1, "one more", Rule()), RuleSaveResult::Full);
  EXPECT_EQ(FileBytes(file), bytes);
  // An existing rule can still be saved over.
  EXPECT_EQ(SaveRule(file, list, 1, "a", Rule()), RuleSaveResult::Saved);
}

TEST(RuleNameAcceptable, RefusesWhatASectionNameCannotHold) {
  struct Case {
    const char* name;
    bool ok;
  } cases[] = {{"旧形式A", true},  {"a b", true},     {"a,b", true},     {"[a", false},   {"a]", false},
               {"a=b", false},     {"a\nb", false},   {" a", false},     {"a ", false},   {"　a", false},
               {"a　", false},     {"", false},       {"   ", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RuleNameAcceptable(c.name), c.ok);
  }
}

}  // namespace
}  // namespace kv::test
