// The recalculation of all levels killed (SIGKILL) at random instants, and
// between the steps of its write-back, then the start-up's settling of
// what it left: the level files are always the set before the command or the
// recalculated set, whole, never a mix, and no temporary file or journal is
// left; both when the files are replaced whole and when a few changed
// records are written in place.
//
// The estimate: 12 rows on level 1, each with a breakdown of 8 rows, each of
// those with a breakdown of 6 rows, in the default layout (D 数量, F 単価,
// G 金額 = [[D*[[F, its total carried into the parent's F), recalculated
// once; before the command some level-3 quantities are changed in its file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <thread>

#include "calc/calc_engine.h"
#include "calc/recalc_all_levels.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "sheet/sheet_fields.h"
#include "state/column_defs.h"
#include "state/column_numbers.h"
#include "state/layout_file.h"
#include "storage/file_command_fixture.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/recovery_jobs.h"
#include "storage/row_record.h"

namespace kv::test {
namespace {

namespace stdfs = std::filesystem;
using Files = std::map<std::string, std::string>;

constexpr int kQuantity = 4, kPrice = 6, kAmount = 7;
constexpr int kTop = 12, kMiddle = 8, kDeep = 6;

class RecalcKillTest : public ::testing::Test {
 protected:
  Program program{"MACHINE-A"};
  ProgramState& st = program.st;
  CalcEngine engine;
  bool hex = false;

  void SetUp() override {
    st.calc = &engine;
    st.LevelCount = 8;
    st.ReCalcFlag = true;
    st.RecalcAllRunning = true;
    ASSERT_TRUE(SumColumnFind(st));
    st.WorkFileBase = program.Work() + "/EST";
    st.CurrentFilePath = (program.folder.path() / "DATA/EST.YZH").string();
    hex = IsHexBase(st.H_Link);
  }

  std::string Rec(int level, char kind, int own, int next, int child, const std::string& name, int quantity,
                  int price) const {
    std::string rec(static_cast<size_t>(st.DataLen), ' ');
    rec[2] = kind;
    SetLinkField(rec, kOwnPos, own, hex);
    SetLinkField(rec, kNextPos, next, hex);
    SetLinkField(rec, kChildPos, child, hex);
    FieldStore(st, rec, 1, level, name);
    for (const auto& [col, value] : {std::pair{kQuantity, quantity}, std::pair{kPrice, price}}) {
      std::string fitted = value > 0 ? std::to_string(value) : "";
      NumFitColumn(st, level, fitted, col);
      FieldStore(st, rec, col, level, fitted);
    }
    return rec;
  }

  // Writes level `level` as sheets of `rows` rows and a closing record each,
  // one after another; row i of the level (counted over all its sheets) has
  // the i-th sheet of the level below as its breakdown when `below` (the
  // records of one sheet there) is not 0, else a unit price of its own.
  void WriteLevel(int level, int sheets, int rows, int below) {
    RecordFile f(LevelFilePath(st, st.WorkFileBase, level), st.DataLen);
    int n = 0, row = 0;
    for (int s = 0; s < sheets; ++s) {
      for (int r = 0; r < rows; ++r, ++row) {
        ++n;
        const int child = below > 0 ? row * below + 1 : kNoRecord;
        f.PutRecordText(n, Rec(level, ' ', n, n + 1, child, "r" + std::to_string(n), 1 + r % 3, below > 0 ? 0 : 100 + n));
      }
      ++n;
      f.PutRecordText(n, Rec(level, 'G', n, kNoRecord, kNoRecord, "", 0, 0));
    }
    f.Close();
  }

  Files Read() const {
    Files files;
    for (const auto& e : stdfs::directory_iterator(program.Work())) {
      std::ifstream in(e.path(), std::ios::binary);
      files[e.path().filename().string()] = {std::istreambuf_iterator<char>(in), {}};
    }
    return files;
  }
  void Restore(const Files& files) const {
    for (const auto& e : stdfs::directory_iterator(program.Work())) stdfs::remove(e.path());
    for (const auto& [name, bytes] : files) std::ofstream(stdfs::path(program.Work()) / name, std::ios::binary) << bytes;
  }

  // Every row with a breakdown holds, as its unit price, the amount of its
  // breakdown's closing record.
  bool Consistent(const Files& files) const {
    auto records = [&](int level) {
      const std::string& bytes = files.at("EST" + st.LevelExt[level]);
      std::vector<std::string> v;
      for (size_t at = 0; at + size_t(st.DataLen) <= bytes.size(); at += size_t(st.DataLen))
        v.push_back(bytes.substr(at, size_t(st.DataLen)));
      return v;
    };
    auto trimmed = [&](const std::string& rec, int level, int col) {
      std::string s(FieldBytes(st, rec, col, level));
      const size_t a = s.find_first_not_of(' ');
      return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(' ') - a + 1);
    };
    for (int level = 1; level <= 2; ++level) {
      const std::vector<std::string> upper = records(level), lower = records(level + 1);
      for (const std::string& row : upper) {
        int n = BaseStrToNum(LinkField(row, kChildPos), hex);
        if (n < 1) continue;
        while (BaseStrToNum(LinkField(lower.at(size_t(n - 1)), kNextPos), hex) >= 1)
          n = BaseStrToNum(LinkField(lower.at(size_t(n - 1)), kNextPos), hex);
        if (trimmed(row, level, kPrice) != trimmed(lower.at(size_t(n - 1)), level + 1, kAmount)) return false;
      }
    }
    return true;
  }

  // Runs the command in a child that is killed `delay` after it starts, or
  // that kills itself after `renames` renames (when not negative).
  void RunKilled(std::chrono::microseconds delay, int renames) {
    st.CurrentLevel = 1;
    ASSERT_TRUE(LevelRowsRead(st, 1));
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::raise(SIGSTOP);
      RecalcFromTopLevel(st, st.WorkFileBase, [renames](int renamed) {
        if (renamed == renames) ::raise(SIGKILL);
      });
      ::_exit(0);
    }
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, WUNTRACED), pid);
    ASSERT_TRUE(WIFSTOPPED(status));
    ::kill(pid, SIGCONT);
    if (renames < 0) {
      std::this_thread::sleep_for(delay);
      ::kill(pid, SIGKILL);
    }
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    if (renames >= 0) ASSERT_TRUE(WIFSIGNALED(status)) << "the child was to stop at rename " << renames;
  }

  void WriteEstimate() {
    WriteLevel(1, 1, kTop, kMiddle + 1);
    WriteLevel(2, kTop, kMiddle, kDeep + 1);
    WriteLevel(3, kTop * kMiddle, kDeep, 0);
    ASSERT_TRUE(WriteLayoutFile(st, st.WorkFileBase));
    st.CurrentLevel = 1;
    ASSERT_TRUE(LevelRowsRead(st, 1));
    ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));
    ASSERT_TRUE(Consistent(Read()));
  }

  // The quantity of every level-3 row for which `which(n)` holds, changed in
  // its file.
  void ChangeQuantities(const std::function<bool(int)>& which) {
    RecordFile f(LevelFilePath(st, st.WorkFileBase, 3), st.DataLen);
    std::string rec;
    for (int n = 1; f.GetRecordText(n, rec); ++n) {
      if (rec[2] == 'G' || !which(n)) continue;
      std::string q = "7";
      NumFitColumn(st, 3, q, kQuantity);
      FieldStore(st, rec, kQuantity, 3, q);
      f.PutRecordText(n, rec);
    }
    f.Close();
  }

  static ino_t Inode(const stdfs::path& p) {
    struct stat s {};
    return ::stat(p.c_str(), &s) == 0 ? s.st_ino : 0;
  }

  // The command run once to its end from `before` (the files now), then run
  // again from `before` and killed at its steps 0 .. `steps` (the intent or
  // journal written, each rename or file written) and at random instants;
  // after each kill the start-up's settling leaves `before` or the
  // recalculated set, whole, and no file of ours. Whether the level files
  // were written in place (kept their inodes) is `inPlace`.
  void ExpectEveryKillLeavesOneSetWhole(int steps, bool& inPlace) {
    const Files before = Read();
    const ino_t level3 = Inode(LevelFilePath(st, st.WorkFileBase, 3));
    st.CurrentLevel = 1;
    ASSERT_TRUE(LevelRowsRead(st, 1));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    inPlace = Inode(LevelFilePath(st, st.WorkFileBase, 3)) == level3;
    const Files after = Read();
    ASSERT_TRUE(Consistent(after));
    for (const char* level : {"EST.Y1", "EST.Y2", "EST.Y3"}) ASSERT_NE(before.at(level), after.at(level)) << level;

    std::mt19937 random(27);
    std::uniform_int_distribution<long> instant(0, took.count() * 3 / 2);
    struct Kill {
      long micros;
      int renames;  // -1: killed at the instant
    };
    std::vector<Kill> kills;
    for (int step = 0; step <= steps; ++step) kills.push_back({0, step});
    for (int i = 0; i < 40; ++i) kills.push_back({instant(random), -1});
    int old = 0, recalculated = 0;
    for (const Kill& k : kills) {
      SCOPED_TRACE(k.renames >= 0 ? "killed after step " + std::to_string(k.renames)
                                  : "killed " + std::to_string(k.micros) + " us in");
      Restore(before);
      RunKilled(std::chrono::microseconds(k.micros), k.renames);

      SettleInterruptedSaves(st);

      const Files now = Read();
      if (now == before)
        ++old;
      else if (now == after)
        ++recalculated;
      else
        ADD_FAILURE() << "a mixed set" << (Consistent(now) ? "" : ", totals that disagree");
      if (k.renames >= 0) EXPECT_EQ(now, after) << "an intent or journal recorded is finished";
      for (const auto& [name, bytes] : now) EXPECT_NE(name.front(), '.') << "left behind: " << name;
    }
    RecordProperty("old", old);
    RecordProperty("recalculated", recalculated);
  }
};

// Every level-3 quantity changed: the files are replaced whole.
TEST_F(RecalcKillTest, EveryKillLeavesTheOldOrTheNewSetWholeAfterTheStartUp) {
  WriteEstimate();
  ChangeQuantities([](int) { return true; });
  bool inPlace = true;
  ExpectEveryKillLeavesOneSetWhole(2, inPlace);
  EXPECT_FALSE(inPlace);
}

// One level-3 quantity changed: its record and the totals above it are
// written in place through the journal; kills between the journal, the
// writes of each file and the journal's removal all settle to one set.
TEST_F(RecalcKillTest, AFewChangedRecordsWrittenInPlaceSurviveEveryKill) {
  WriteEstimate();
  ChangeQuantities([](int n) { return n == 200; });
  bool inPlace = false;
  ExpectEveryKillLeavesOneSetWhole(3, inPlace);
  EXPECT_TRUE(inPlace);
}

}  // namespace
}  // namespace kv::test

