// A level file read again into the memory and links kept from the last read:
// what it holds afterwards is what a fresh read of the file gives, whatever
// changed in the file meanwhile.
#include "calc/kept_level_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/stored_number.h"
#include "support/temp_folder.h"

namespace kv::test {
namespace {

constexpr int kLen = 512;
constexpr int kRecords = 5000;  // 2.5 MB: read in several parts

// Records in chains of ten, each chain's first record the breakdown of the
// record `records` before it; `relink` swaps the next links of two records.
std::string LevelFile(int records, bool hex, int relink = 0) {
  std::string bytes;
  for (int n = 1; n <= records; ++n) {
    std::string rec(kLen, 'x');
    int next = n % 10 == 0 || n == records ? kNoRecord : n + 1;
    if (relink != 0 && n == relink) next = relink + 2 <= records ? relink + 2 : kNoRecord;
    if (relink != 0 && n == relink + 1) next = kNoRecord;
    rec.replace(3, 4, StoredNumberField(n, hex));
    rec.replace(7, 4, StoredNumberField(next, hex));
    rec.replace(11, 4, StoredNumberField(n % 10 == 1 && n > 10 ? n - 10 : kNoRecord, hex));
    bytes += rec;
  }
  return bytes;
}

// The kept file holds the bytes and the links a fresh read of them gives.
void ExpectAsFreshlyRead(const KeptLevelFile& kept, const std::string& bytes, bool hex) {
  ASSERT_EQ(kept.bytes, bytes);
  LevelLinks fresh;
  ASSERT_FALSE(fresh.Read(bytes, kLen, hex));
  ASSERT_EQ(kept.links.Count(), fresh.Count());
  ASSERT_TRUE(kept.linksKnown);
  std::string fields;
  for (size_t at = 0; at < bytes.size(); at += kLen) fields += bytes.substr(at + 3, 12);
  EXPECT_EQ(kept.linkFields, fields);
  std::vector<int> a, b;
  for (int n = 1; n <= fresh.Count(); ++n) {
    ASSERT_EQ(kept.links.Child(n), fresh.Child(n)) << n;
    const LevelFileProblem p = kept.links.Walk(n, 1001, a), q = fresh.Walk(n, 1001, b);
    ASSERT_EQ(p.fault, q.fault) << n;
    ASSERT_EQ(a, b) << n;
  }
}

TEST(KeptLevelFiles, ReadAgainAsFreshlyRead) {
  const struct {
    const char* name;
    std::string then, now;
    bool hexThen, hexNow;
  } cases[] = {
      {"unchanged", LevelFile(kRecords, false), LevelFile(kRecords, false), false, false},
      {"relinked in a later part", LevelFile(kRecords, false), LevelFile(kRecords, false, 4321), false, false},
      {"relinked in the first part", LevelFile(kRecords, true), LevelFile(kRecords, true, 17), true, true},
      {"grown", LevelFile(kRecords, false), LevelFile(kRecords + 7, false), false, false},
      {"shrunk", LevelFile(kRecords, false), LevelFile(kRecords - 2100, false, 33), false, false},
      {"another base", LevelFile(kRecords, false), LevelFile(kRecords, true), false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    KeptLevelFile kept;
    std::error_code ec;
    LevelFileProblem p;
    ASSERT_TRUE(ReadLevelFileInto(dir.Write("LV2", c.then), kept, kLen, c.hexThen, ec, p));
    ASSERT_FALSE(p);
    ExpectAsFreshlyRead(kept, c.then, c.hexThen);
    ASSERT_TRUE(ReadLevelFileInto(dir.Write("LV2", c.now), kept, kLen, c.hexNow, ec, p));
    ASSERT_FALSE(p);
    ExpectAsFreshlyRead(kept, c.now, c.hexNow);
  }
}

TEST(KeptLevelFiles, AFileOfNoWholeRecordsOrNoneAtAll) {
  TempFolder dir;
  KeptLevelFile kept;
  std::error_code ec;
  LevelFileProblem p;
  ASSERT_TRUE(ReadLevelFileInto(dir.Write("LV2", LevelFile(30, false)), kept, kLen, false, ec, p));
  ASSERT_TRUE(ReadLevelFileInto(dir.Write("LV2", LevelFile(30, false) + "x"), kept, kLen, false, ec, p));
  EXPECT_EQ(p.fault, LevelFault::BadLength);
  EXPECT_FALSE(ReadLevelFileInto(dir / "LV3", kept, kLen, false, ec, p));
  EXPECT_TRUE(ec);
}

}  // namespace
}  // namespace kv::test
