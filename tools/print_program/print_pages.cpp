#include "print_pages.h"

#include <algorithm>
#include <climits>
#include <map>

#include "platform/page_plan.h"
#include "print_failure.h"
#include "storage/level_chain.h"

namespace kv::print_program {

namespace {

class Planner {
 public:
  Planner(const std::vector<std::string_view>& bytes, const std::vector<std::string>& paths, const PrintJob& job,
          int rowsPerPage, int recordLength, const std::vector<int>& layoutGroup)
      : bytes_(bytes), paths_(paths), job_(job), perPage_(rowsPerPage), len_(recordLength), groups_(layoutGroup) {
    const int levels = static_cast<int>(bytes.size());
    maxLevel_ = static_cast<int>(std::min<long long>(levels, static_cast<long long>(job.level) + job.depth));
  }

  PrintRun Run() {
    PagePlanRule rule{len_, job_.hex, perPage_, job_.leaveOutX};
    rule.ignoreLevelMarks = job_.ignoreLevelMarks;
    rule.startLevel = job_.level;
    rule.startRecord = job_.firstRecord;
    const PagePlan plan = PagePlanMake(bytes_, rule);
    for (const PagePlanDamage& d : plan.damaged)
      if (d.level <= maxLevel_) Damaged(d.level, d.firstRecord, d.record);
    if (plan.sheets.empty()) Damaged(job_.level, job_.firstRecord, 0);

    ChooseSheets(plan);
    if (job_.continuous)
      FlowPages();
    else
      PlanPages(plan);
    if (pages_.empty()) {
      if (!run_.sheets.front().rows.empty() || !Wanted(PlacedNumber(1))) throw PrintFailure("印刷するページがありません。");
      PrintPage empty;  // the job's sheet has no rows: its frame alone
      empty.number = job_.firstPageNumber;
      empty.headSheet = 0;
      empty.totalsSheet = 0;
      empty.firstLine = 0;
      empty.places.resize(static_cast<size_t>(perPage_));
      pages_.push_back(std::move(empty));
    }
    for (int copy = 0; copy < job_.copies; ++copy) run_.pages.insert(run_.pages.end(), pages_.begin(), pages_.end());
    return std::move(run_);
  }

 private:
  std::string_view Record(int level, int n) const {
    return bytes_[static_cast<size_t>(level - 1)].substr(static_cast<size_t>(n - 1) * static_cast<size_t>(len_),
                                                         static_cast<size_t>(len_));
  }
  int Count(int level) const { return static_cast<int>(bytes_[static_cast<size_t>(level - 1)].size() / static_cast<size_t>(len_)); }

  [[noreturn]] void Damaged(int level, int first, int record) const {
    // The checked reader says what is wrong with the chain.
    std::string why;
    if (static_cast<size_t>(level - 1) < bytes_.size()) {
      SheetChain chain;
      const LevelFileProblem p = ReadSheetChain(MemoryRecords(bytes_[static_cast<size_t>(level - 1)], len_), level == 1,
                                                first, job_.hex, INT_MAX, chain);
      if (p) {
        why = LevelFaultText(p.fault);
        if (p.record > 0) record = p.record;
      }
    }
    if (why.empty()) why = first > Count(level) ? LevelFaultText(LevelFault::LinkPastEnd) : LevelFaultText(LevelFault::LinkLoop);
    const std::string path = static_cast<size_t>(level - 1) < paths_.size() ? paths_[static_cast<size_t>(level - 1)] : "";
    throw PrintFailure("見積データ [ " + (path.empty() ? "第" + std::to_string(level) + "階層" : path) +
                       " ] が壊れているため、印刷できません。\nレコード " + std::to_string(record > 0 ? record : first) +
                       ": " + why);
  }

  // Row n (1-based) of the job's sheet lies inside the row range.
  bool InRange(int n) const { return job_.rowFrom <= 0 || (n >= job_.rowFrom && n <= job_.rowTo); }

  // The sheets printed: the job's sheet, and below it the breakdowns of its
  // printed levels, except those below a row outside the row range.
  void ChooseSheets(const PagePlan& plan) {
    std::vector<int> at(10, -1);  // per level: the printed sheet last met there (-1: not printed)
    std::map<int, int> startRow;  // record -> row number of the job's sheet (for the row range)
    for (size_t i = 0; i < plan.sheets.size(); ++i) {
      const PagePlanSheet& p = plan.sheets[i];
      int parent = -1;
      if (i > 0) {
        parent = p.level >= 2 ? at[static_cast<size_t>(p.level - 1)] : -1;
        bool printed = parent >= 0 && p.level <= maxLevel_;
        if (printed && parent == 0 && job_.rowFrom > 0) printed = InRange(startRow[p.parentRecord]);
        if (!printed) {
          at[static_cast<size_t>(p.level)] = -1;
          continue;
        }
      }
      PrintSheet s;
      s.level = p.level;
      s.firstRecord = p.firstRecord;
      s.parent = parent;
      s.parentRecord = p.parentRecord;
      s.rows.reserve(p.rows.size());
      s.printed.reserve(p.rows.size());
      for (size_t r = 0; r < p.rows.size(); ++r) {
        const int rec = p.rows[r].record;
        s.rows.push_back(rec);
        const bool shown = p.rows[r].page > 0 && Record(p.level, rec)[1] != 'U' && (i > 0 || InRange(int(r) + 1));
        s.printed.push_back(shown);
        if (p.rows[r].page > 0) s.lineRows.push_back(static_cast<int>(r) + 1);
        if (i == 0) startRow[rec] = static_cast<int>(r) + 1;
      }
      s.closingRecord = Closing(p);
      at[static_cast<size_t>(p.level)] = static_cast<int>(run_.sheets.size());
      run_.sheets.push_back(std::move(s));
      planOf_.push_back(&p);
    }
  }

  // The closing record of a planned sheet, found through the checked reader
  // below level 1 (which reports a chain the plan could not see is wrong).
  int Closing(const PagePlanSheet& p) const {
    if (p.level == 1) {
      const int count = Count(1);
      return count > 0 && Record(1, count)[2] == 'G' ? count : 0;
    }
    SheetChain chain;
    const LevelFileProblem problem = ReadSheetChain(MemoryRecords(bytes_[static_cast<size_t>(p.level - 1)], len_), false,
                                                    p.firstRecord, job_.hex, static_cast<int>(p.rows.size()) + 2, chain);
    if (problem) Damaged(p.level, p.firstRecord, problem.record);
    const size_t n = chain.records.size();
    return n > p.rows.size() && chain.records[n - 1][2] == 'G' ? chain.recNos[n - 1] : 0;
  }

  bool Wanted(int number) const {
    return (job_.pageFrom <= 0 || number >= job_.pageFrom) && (job_.pageTo <= 0 || number <= job_.pageTo);
  }
  int NumberOf(int place) const { return job_.firstPageNumber > 0 ? job_.firstPageNumber + place - 1 : 0; }
  // What a page range counts: the page numbers, or the places when there are none.
  int PlacedNumber(int place) const { return job_.firstPageNumber > 0 ? NumberOf(place) : place; }

  void PlanPages(const PagePlan& plan) {
    const int first = plan.sheets.front().firstPage;
    std::map<int, PrintPage> pages;  // plan page -> page
    for (size_t si = 0; si < run_.sheets.size(); ++si) {
      const PrintSheet& s = run_.sheets[si];
      const PagePlanSheet& p = *planOf_[si];
      // The totals line closes the last page with a printed row of the
      // sheet, when that page is printed.
      int last = -1;
      for (size_t r = 0; r < s.rows.size(); ++r)
        if (s.printed[r]) last = p.rows[r].page;
      if (last >= 0 && !Wanted(PlacedNumber(last - first + 1))) last = -1;
      for (size_t r = 0; r < s.rows.size(); ++r) {
        if (!s.printed[r]) continue;
        const PagePlanRow& at = p.rows[r];
        const int place = at.page - first + 1;
        if (!Wanted(PlacedNumber(place))) continue;
        PrintPage& page = pages[at.page];
        if (page.places.empty()) {
          page.places.resize(static_cast<size_t>(perPage_));
          page.number = NumberOf(place);
          page.headSheet = static_cast<int>(si);
          page.firstLine = (at.page - p.firstPage) * perPage_;
        }
        page.places[static_cast<size_t>(at.line - 1)] = {SlotKind::Row, static_cast<int>(si), static_cast<int>(r)};
      }
      if (last >= 0) pages[last].totalsSheet = static_cast<int>(si);
    }
    for (auto& [n, page] : pages) pages_.push_back(std::move(page));
  }

  void FlowPages() {
    std::vector<PrintPage> flow;
    size_t used = static_cast<size_t>(perPage_);  // places taken on the last page
    const auto newPage = [&](int sheet) {
      flow.emplace_back();
      flow.back().headSheet = sheet;
      flow.back().places.resize(static_cast<size_t>(perPage_));
      used = 0;
    };
    const auto put = [&](PageSlot slot) {
      if (used == static_cast<size_t>(perPage_)) newPage(slot.sheet);
      flow.back().places[used++] = slot;
    };
    for (size_t si = 0; si < run_.sheets.size(); ++si) {
      const PrintSheet& s = run_.sheets[si];
      const int sheet = static_cast<int>(si);
      if (std::find(s.printed.begin(), s.printed.end(), true) == s.printed.end()) continue;
      if (used > 0 && used < static_cast<size_t>(perPage_)) {
        const int head = flow.back().headSheet;
        const bool captions = Group(s.level) != Group(run_.sheets[static_cast<size_t>(head)].level);
        const size_t needed = captions ? 3 : 2;  // heading (+ captions) and a row
        if (used + needed > static_cast<size_t>(perPage_)) {
          newPage(sheet);
        } else {
          put({SlotKind::Heading, sheet, -1});
          if (captions) put({SlotKind::Captions, sheet, -1});
        }
      } else if (used == static_cast<size_t>(perPage_)) {
        newPage(sheet);
      }
      for (size_t r = 0; r < s.rows.size(); ++r)
        if (s.printed[r]) put({SlotKind::Row, sheet, static_cast<int>(r)});
      if (s.closingRecord > 0) put({SlotKind::Totals, sheet, -1});
    }
    for (size_t i = 0; i < flow.size(); ++i) {
      const int place = static_cast<int>(i) + 1;
      if (!Wanted(PlacedNumber(place))) continue;
      flow[i].number = NumberOf(place);
      pages_.push_back(std::move(flow[i]));
    }
  }

  int Group(int level) const {
    return static_cast<size_t>(level) < groups_.size() ? groups_[static_cast<size_t>(level)] : 0;
  }

  const std::vector<std::string_view>& bytes_;
  const std::vector<std::string>& paths_;
  const PrintJob& job_;
  const int perPage_;
  const int len_;
  const std::vector<int>& groups_;
  int maxLevel_ = 1;
  PrintRun run_;
  std::vector<const PagePlanSheet*> planOf_;  // per printed sheet
  std::vector<PrintPage> pages_;
};

}  // namespace

PrintRun PlanPrint(const std::vector<std::string_view>& levelBytes, const std::vector<std::string>& levelPaths,
                   const PrintJob& job, int rowsPerPage, int recordLength, const std::vector<int>& layoutGroup) {
  if (rowsPerPage < 1 || recordLength < 20) throw PrintFailure("印刷件数が設定されていないため、印刷できません。");
  if (static_cast<size_t>(job.level) > levelBytes.size()) throw PrintFailure("第" + std::to_string(job.level) + "階層のデータがありません。");
  return Planner(levelBytes, levelPaths, job, rowsPerPage, recordLength, layoutGroup).Run();
}

}  // namespace kv::print_program
