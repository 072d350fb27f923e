#include "platform/page_plan.h"

#include <cstddef>
#include <cstdint>
#include <memory>
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
    if (start < levels_.size() && (Count(start) > 0 || badLength_[start]))
      Sheet(start, start == 0 ? 1 : rule_.startRecord, 0);
    plan_.pageCount = nextPage_ - 1;
    return std::move(plan_);
  }

 private:
  int Count(size_t lv) const { return static_cast<int>(levels_[lv].size()) - 1; }

  // The records of the sheet that begins at `first` of level lv (0-based),
  // into `chain`, by the one checked walk (the top sheet: its records in
  // file order); false when the chain is damaged (damage recorded).
  bool Chain(size_t lv, int first, std::vector<int>& chain) {
    LevelFileProblem p;
    if (badLength_[lv]) {
      p = {LevelFault::BadLength, 0};
    } else if (lv == 0) {
      for (int n = 1; n <= Count(lv); ++n) chain.push_back(n);
    } else {
      p = links_[lv].Walk(first, INT32_MAX, chain);
    }
    if (!p) return true;
    plan_.damaged.push_back({static_cast<int>(lv) + 1, first, p.record, p.fault});
    return false;
  }

  void Sheet(size_t lv, int first, int parent) {
    std::vector<int> chain;
    if (!Chain(lv, first, chain)) return;
    const std::vector<RecordInfo>& info = levels_[lv];
    if (!chain.empty() && (info[static_cast<size_t>(chain.back())].flags & kClosing)) chain.pop_back();

    PagePlanSheet sheet;
    sheet.level = static_cast<int>(lv) + 1;
    sheet.firstRecord = first;
    sheet.firstPage = nextPage_;
    sheet.parentRecord = parent;
    sheet.rows.reserve(chain.size());
    const int perPage = rule_.rowsPerPage;
    int counted = 0;
    for (int n : chain) {
      if (rule_.leaveOutX && (info[static_cast<size_t>(n)].flags & kLeftOut)) {
        sheet.rows.push_back({n, 0, 0});
        continue;
      }
      sheet.rows.push_back({n, nextPage_ + counted / perPage, counted % perPage + 1});
      ++counted;
    }
    sheet.pageCount = (counted + perPage - 1) / perPage;
    nextPage_ += sheet.pageCount;
    plan_.sheets.push_back(std::move(sheet));

    if (lv + 1 >= levels_.size()) return;
    const std::uint8_t noBreakdown = rule_.ignoreLevelMarks ? kNoPrintRow : kNoPrintRow | kNoPrintLevel;
    for (int n : chain) {
      const RecordInfo& r = levels_[lv][static_cast<size_t>(n)];
      const int child = links_[lv].Child(n);
      if (!(r.flags & noBreakdown) && child >= 1) Sheet(lv + 1, child, n);
    }
  }

  const PagePlanRule rule_;
  std::vector<std::vector<RecordInfo>> levels_;  // per level, by record number (0 unused)
  std::vector<LevelLinks> links_;                // per level
  std::vector<bool> badLength_;                  // per level: not a whole number of records
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
