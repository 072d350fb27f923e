// The one checked walk over a level file's chains: what ends a chain, what
// is damage and which record it names.
#include "core/level_links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/stored_number.h"

namespace kv::test {
namespace {

constexpr int kLen = 64;

// A level file of records given as (next, child); own numbers by position.
std::string File(const std::vector<std::pair<int, int>>& links, bool hex = false) {
  std::string bytes;
  for (size_t i = 0; i < links.size(); ++i) {
    std::string rec(kLen, ' ');
    rec.replace(3, 4, StoredNumberField(static_cast<int>(i) + 1, hex));
    rec.replace(7, 4, StoredNumberField(links[i].first, hex));
    rec.replace(11, 4, StoredNumberField(links[i].second, hex));
    bytes += rec;
  }
  return bytes;
}

constexpr int N = kNoRecord;

TEST(LevelLinks, WalksAndTheirDamage) {
  const struct {
    const char* name;
    std::vector<std::pair<int, int>> file;
    int first;
    std::vector<int> chain;  // as walked (up to the damage)
    LevelFault fault;
    int record;
  } cases[] = {
      {"a plain chain", {{3, N}, {N, N}, {2, 5}}, 1, {1, 3, 2}, LevelFault::None, 0},
      {"a self-link ends the chain", {{2, N}, {2, N}, {N, N}}, 1, {1, 2}, LevelFault::None, 0},
      {"a next link of 0 ends it", {{0, N}, {N, N}}, 1, {1}, LevelFault::None, 0},
      {"no first record: no chain", {{N, N}}, N, {}, LevelFault::None, 0},
      {"a loop back to the first", {{2, N}, {3, N}, {1, N}}, 1, {1, 2, 3}, LevelFault::LinkLoop, 1},
      {"a loop behind the first", {{2, N}, {3, N}, {2, N}}, 1, {1, 2, 3}, LevelFault::LinkLoop, 2},
      {"a next link past the end", {{2, N}, {9, N}}, 1, {1}, LevelFault::LinkPastEnd, 2},
      {"a first record past the end", {{N, N}}, 4, {}, LevelFault::LinkPastEnd, 0},
      {"entered in its middle", {{2, N}, {3, N}, {N, N}}, 2, {2, 3}, LevelFault::SharedRecord, 2},
      {"two chains running into each other", {{3, N}, {3, N}, {N, N}}, 2, {2, 3}, LevelFault::SharedRecord, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LevelLinks links;
    ASSERT_FALSE(links.Read(File(c.file), kLen, false));
    std::vector<int> chain;
    const LevelFileProblem p = links.Walk(c.first, 100, chain);
    EXPECT_EQ(p.fault, c.fault);
    EXPECT_EQ(p.record, c.record);
    EXPECT_EQ(chain, c.chain);
  }
}

// Rows whose breakdown links name the same first record share it: walked
// from either, no damage; and the same table walks it again and again.
TEST(LevelLinks, ASharedFirstRecordIsNoDamage) {
  LevelLinks links;
  ASSERT_FALSE(links.Read(File({{2, N}, {N, N}, {N, 1}, {N, 1}}), kLen, true));
  std::vector<int> chain;
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(links.Walk(1, 100, chain));
    EXPECT_EQ(chain, (std::vector<int>{1, 2}));
  }
  EXPECT_EQ(links.Child(3), 1);
  EXPECT_EQ(links.Child(4), 1);
}

// Chains walked side by side give what each gives walked alone: chains that
// cross, loop, run past the end or past the limit, and firsts named twice or
// none, every first of the file at once, with and without the limit's damage.
TEST(LevelLinks, ChainsWalkedSideBySideAsAlone) {
  LevelLinks links;
  // 1-2-3 | 4-5-6-5 (loop) | 7-3 (into the first chain) | 8-20 (past the end)
  // | 9-10-11-12-13-14 (long) | 15-9 (into its middle) | 16-16 (self-link)
  // | 17 bad own number | 18 shared first.
  std::string file = File({{2, N}, {3, N}, {N, N}, {5, N}, {6, N}, {5, N}, {3, N}, {20, N}, {10, N}, {11, N},
                           {12, N}, {13, N}, {14, N}, {N, N}, {9, N}, {16, N}, {N, N}, {N, N}, {N, 18}});
  file.replace(16 * kLen + 3, 4, StoredNumberField(4, false));
  ASSERT_FALSE(links.Read(file, kLen, false));
  std::vector<int> firsts = {N, 0, 25};
  for (int first = 1; first <= links.Count(); ++first) firsts.push_back(first);
  firsts.push_back(1);
  firsts.push_back(18);
  for (const bool longIsDamage : {false, true}) {
    for (const int max : {3, 100}) {
      SCOPED_TRACE(testing::Message() << "limit " << max << (longIsDamage ? ", damage" : ""));
      std::vector<std::vector<int>> chains;
      std::vector<LevelFileProblem> problems;
      links.WalkEach(firsts, max, chains, problems, longIsDamage);
      ASSERT_EQ(chains.size(), firsts.size());
      ASSERT_EQ(problems.size(), firsts.size());
      for (size_t i = 0; i < firsts.size(); ++i) {
        SCOPED_TRACE(firsts[i]);
        std::vector<int> alone;
        const LevelFileProblem p = links.Walk(firsts[i], max, alone, longIsDamage);
        EXPECT_EQ(problems[i].fault, p.fault);
        EXPECT_EQ(problems[i].record, p.record);
        EXPECT_EQ(chains[i], alone);
      }
    }
  }
  // The faults above are there to be compared.
  std::vector<int> chain;
  EXPECT_EQ(links.Walk(4, 100, chain).fault, LevelFault::LinkLoop);
  EXPECT_EQ(links.Walk(7, 100, chain).fault, LevelFault::SharedRecord);
  EXPECT_EQ(links.Walk(8, 100, chain).fault, LevelFault::LinkPastEnd);
  EXPECT_EQ(links.Walk(9, 3, chain, true).fault, LevelFault::ChainTooLong);
  EXPECT_EQ(links.Walk(17, 100, chain).fault, LevelFault::OwnNumberMismatch);
  EXPECT_FALSE(links.Walk(18, 100, chain));
}

TEST(LevelLinks, RecordsAndFilesThatCannotBeWalked) {
  std::string file = File({{2, N}, {N, N}});
  LevelLinks links;
  EXPECT_EQ(links.Read(file + "cut", kLen, false).fault, LevelFault::BadLength);
  EXPECT_EQ(links.Count(), 0);

  std::string badOwn = file;
  badOwn.replace(kLen + 3, 4, "   7");
  ASSERT_FALSE(links.Read(badOwn, kLen, false));
  std::vector<int> chain;
  EXPECT_EQ(links.Walk(1, 100, chain).fault, LevelFault::OwnNumberMismatch);

  std::string badNumber = file;
  badNumber.replace(7, 4, " 2.0");
  ASSERT_FALSE(links.Read(badNumber, kLen, false));
  const LevelFileProblem p = links.Walk(1, 100, chain);
  EXPECT_EQ(p.fault, LevelFault::BadNumber);
  EXPECT_EQ(p.record, 1);

  // Longer than a sheet: cut short, or damage when asked.
  ASSERT_FALSE(links.Read(file, kLen, false));
  EXPECT_FALSE(links.Walk(1, 1, chain));
  EXPECT_EQ(chain, (std::vector<int>{1}));
  EXPECT_EQ(links.Walk(1, 1, chain, true).fault, LevelFault::ChainTooLong);
}

// A record appended, or a record rewritten with other links, is walked as it
// now is.
TEST(LevelLinks, ChangedRecordsAreTakenIn) {
  std::string file = File({{2, N}, {N, N}});
  LevelLinks links;
  ASSERT_FALSE(links.Read(file, kLen, false));
  const std::string added = File({{N, N}, {N, N}, {N, N}}).substr(2 * kLen);
  links.Append(added);
  std::string second = file.substr(kLen);
  second.replace(7, 4, StoredNumberField(3, false));
  links.Add(2, second);
  std::vector<int> chain;
  EXPECT_FALSE(links.Walk(1, 100, chain));
  EXPECT_EQ(chain, (std::vector<int>{1, 2, 3}));
}

}  // namespace
}  // namespace kv::test
