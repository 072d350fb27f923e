#include "platform/page_plan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>

#include "core/level_links.h"
#include "core/stored_number.h"

namespace kv {

namespace {

// What the walk needs of a record besides its links, read once for every
// record of a level file in file order: the chains lie scattered through
// their files, and following them through the records themselves costs a
// cache miss a record.
struct RecordInfo {
  std::uint8_t flags = 0;
};
constexpr std::uint8_t kLeftOut = 1;   // "x" in byte 1
constexpr std::uint8_t kNoPrintRow = 2;    // "U" in byte 2
constexpr std::uint8_t kNoPrintLevel = 16; // "I" in byte 2
constexpr std::uint8_t kClosing = 4;   // "G" in byte 3

}  // namespace

class PagePlanBuilder::Walk {
 public:
  Walk(size_t levels, const PagePlanRule& rule)
      : rule_(rule), levels_(levels, std::vector<RecordInfo>(1)), links_(levels), badLength_(levels, false) {}

  void Level(size_t lv, std::int64_t length) {
    const std::int64_t len = rule_.recordLength;
    // A level file that is not a whole number of records is refused as
    // the level reader refuses it.
    badLength_[lv] = length % len != 0;
    const size_t count = badLength_[lv] || length < 0 ? 0 : static_cast<size_t>(length / len);
    levels_[lv].assign(count + 1, RecordInfo{});
    links_[lv].Reset(static_cast<int>(count), rule_.hex);
  }

  void Record(size_t lv, int n, const char* rec) {
    if (n < 1 || static_cast<size_t>(n) >= levels_[lv].size()) return;
    RecordInfo& r = levels_[lv][static_cast<size_t>(n)];
    links_[lv].Add(n, std::string_view(rec, static_cast<size_t>(rule_.recordLength)));
    const char printMark = rec[kPagePrintMarkPos - 1];
    r.flags = static_cast<std::uint8_t>((rec[kPageMarkPos - 1] == 'x' ? kLeftOut : 0) |
                                        (printMark == 'U' ? kNoPrintRow : 0) |
                                        (printMark == 'I' ? kNoPrintLevel : 0) |
                                        (rec[kPageKindPos - 1] == 'G' ? kClosing : 0));
  }

  PagePlan Run() {
    const size_t start = rule_.startLevel > 1 ? static_cast<size_t>(rule_.startLevel - 1) : 0;
    if (start < levels_.size() && (Count(start) > 0 || badLength_[start])) {
      const int first = start == 0 ? 1 : rule_.startRecord;
      WalkAll(start, first);
      Sheet(start, first, 0);
    }
    plan_.pageCount = nextPage_ - 1;
    return std::move(plan_);
  }

 private:
  // The chains of one level's sheets, each walked once: by first record.
  struct LevelChains {
    std::unordered_map<int, size_t> at;  // first record -> index below
    std::vector<int> firsts;
    std::vector<std::vector<int>> chains;
    std::vector<LevelFileProblem> problems;
  };

  int Count(size_t lv) const { return static_cast<int>(levels_[lv].size()) - 1; }

  // The rows of a walked sheet: its chain without a closing record.
  size_t RowCount(size_t lv, const std::vector<int>& chain) const {
    return !chain.empty() && (levels_[lv][static_cast<size_t>(chain.back())].flags & kClosing) ? chain.size() - 1
                                                                                                  : chain.size();
  }

  // The breakdown planned below row n of level lv: its first record, or
  // kNoRecord (none, or kept out by the row's print mark).
  int Breakdown(size_t lv, int n) const {
    const std::uint8_t noBreakdown = rule_.ignoreLevelMarks ? kNoPrintRow : kNoPrintRow | kNoPrintLevel;
    const int child = links_[lv].Child(n);
    return (levels_[lv][static_cast<size_t>(n)].flags & noBreakdown) || child < 1 ? kNoRecord : child;
  }

  // The records of every sheet the plan can reach from the sheet at `first`
  // of level `start`, walked a level at a time before the plan is laid out:
  // a chain lies scattered through its file and each of its records waits
  // for the one before, so a level's chains are walked side by side
  // (LevelLinks::WalkEach). Each chain is walked by the one checked walk
  // (the level-1 sheet: its records in file order); the plan below takes
  // them in print order, so its sheets and damage are those of walking each
  // sheet as it is reached.
  void WalkAll(size_t start, int first) {
    chains_.assign(levels_.size(), LevelChains{});
    std::vector<int> firsts{first};
    for (size_t lv = start; lv < levels_.size() && !firsts.empty(); ++lv) {
      LevelChains& c = chains_[lv];
      c.firsts = std::move(firsts);
      firsts.clear();
      for (size_t i = 0; i < c.firsts.size(); ++i) c.at.emplace(c.firsts[i], i);
      c.chains.assign(c.firsts.size(), {});
      c.problems.assign(c.firsts.size(), {});
      if (badLength_[lv]) {
        for (LevelFileProblem& p : c.problems) p = {LevelFault::BadLength, 0};
      } else if (lv == 0) {
        for (std::vector<int>& chain : c.chains)
          for (int n = 1; n <= Count(lv); ++n) chain.push_back(n);
      } else {
        links_[lv].WalkEach(c.firsts, INT32_MAX, c.chains, c.problems);
      }
      if (lv + 1 >= levels_.size()) break;
      std::unordered_map<int, size_t> below;
      for (size_t i = 0; i < c.chains.size(); ++i) {
        if (c.problems[i]) continue;
        const std::vector<int>& chain = c.chains[i];
        const size_t rows = RowCount(lv, chain);
        for (size_t k = 0; k < rows; ++k) {
          const int child = Breakdown(lv, chain[k]);
          if (child >= 1 && below.emplace(child, firsts.size()).second) firsts.push_back(child);
        }
      }
    }
  }

  void Sheet(size_t lv, int first, int parent) {
    const LevelChains& c = chains_[lv];
    const size_t at = c.at.at(first);
    if (const LevelFileProblem& p = c.problems[at]) {
      plan_.damaged.push_back({static_cast<int>(lv) + 1, first, p.record, p.fault});
      return;
    }
    const std::vector<int>& chain = c.chains[at];
    const size_t rows = RowCount(lv, chain);
    const std::vector<RecordInfo>& info = levels_[lv];

    PagePlanSheet sheet;
    sheet.level = static_cast<int>(lv) + 1;
    sheet.firstRecord = first;
    sheet.firstPage = nextPage_;
    sheet.parentRecord = parent;
    sheet.rows.reserve(rule_.firstRowOnly ? std::min<size_t>(rows, 1) : rows);
    // Pages and lines counted along the rows (no division a row).
    const int perPage = rule_.rowsPerPage;
    int counted = 0, page = nextPage_, line = 0;
    for (size_t k = 0; k < rows; ++k) {
      const int n = chain[k];
      const bool keep = k == 0 || !rule_.firstRowOnly;
      if (rule_.leaveOutX && (info[static_cast<size_t>(n)].flags & kLeftOut)) {
        if (keep) sheet.rows.push_back({n, 0, 0});
        continue;
      }
      if (line == perPage) {
        ++page;
        line = 0;
      }
      ++line;
      if (keep) sheet.rows.push_back({n, page, line});
      ++counted;
    }
    sheet.pageCount = (counted + perPage - 1) / perPage;
    nextPage_ += sheet.pageCount;
    plan_.sheets.push_back(std::move(sheet));

    if (lv + 1 >= levels_.size()) return;
    for (size_t k = 0; k < rows; ++k) {
      const int child = Breakdown(lv, chain[k]);
      if (child >= 1) Sheet(lv + 1, child, chain[k]);
    }
  }

  const PagePlanRule rule_;
  std::vector<std::vector<RecordInfo>> levels_;  // per level, by record number (0 unused)
  std::vector<LevelLinks> links_;                // per level
  std::vector<bool> badLength_;                  // per level: not a whole number of records
  std::vector<LevelChains> chains_;              // per level: the chains walked for the plan
  PagePlan plan_;
  int nextPage_ = 1;
};

PagePlanBuilder::PagePlanBuilder(size_t levels, const PagePlanRule& rule)
    : walk_(rule.rowsPerPage < 1 || rule.recordLength < kPageFieldPos + kPageFieldWidth - 1
                ? nullptr
                : std::make_unique<Walk>(levels, rule)) {}
PagePlanBuilder::~PagePlanBuilder() = default;

void PagePlanBuilder::Level(size_t lv, std::int64_t length) {
  if (walk_) walk_->Level(lv, length);
}
void PagePlanBuilder::Record(size_t lv, int n, const char* rec) {
  if (walk_) walk_->Record(lv, n, rec);
}
PagePlan PagePlanBuilder::Make() { return walk_ ? walk_->Run() : PagePlan{}; }

PagePlan PagePlanMake(const std::vector<std::string_view>& levelBytes, const PagePlanRule& rule) {
  PagePlanBuilder plan(levelBytes.size(), rule);
  // Records fetched ahead of the one being read: one cache line a record,
  // each in a page of its own or nearly, which the processor does not
  // foresee.
  constexpr size_t kAhead = 16;
  const size_t len = rule.recordLength > 0 ? static_cast<size_t>(rule.recordLength) : 1;
  for (size_t lv = 0; lv < levelBytes.size(); ++lv) {
    plan.Level(lv, static_cast<std::int64_t>(levelBytes[lv].size()));
    if (levelBytes[lv].size() % len != 0) continue;
    const size_t count = levelBytes[lv].size() / len;
    const char* rec = levelBytes[lv].data();
    for (size_t n = 1; n <= count; ++n, rec += len) {
      if (n + kAhead <= count) __builtin_prefetch(rec + kAhead * len);
      plan.Record(lv, static_cast<int>(n), rec);
    }
  }
  return plan.Make();
}

}  // namespace kv
