#include "platform/page_plan.h"

#include <cstddef>

#include "core/stored_number.h"

namespace kv {

namespace {

class PlanWalk {
 public:
  PlanWalk(const std::vector<std::string_view>& files, const PagePlanRule& rule)
      : files_(files), rule_(rule), len_(static_cast<size_t>(rule.recordLength)), reached_(files.size()) {
    for (size_t lv = 0; lv < files.size(); ++lv) reached_[lv].assign(files[lv].size() / len_ + 1, 0);
  }

  PagePlan Run() {
    if (!files_.empty() && Count(0) > 0) Sheet(0, 1);
    plan_.pageCount = nextPage_ - 1;
    return std::move(plan_);
  }

 private:
  int Count(size_t lv) const { return static_cast<int>(files_[lv].size() / len_); }
  std::string_view Rec(size_t lv, int n) const {
    return files_[lv].substr(static_cast<size_t>(n - 1) * len_, len_);
  }
  int Link(std::string_view rec, int pos) const {
    return BaseStrToNum(rec.substr(static_cast<size_t>(pos - 1), kStoredNumberWidth), rule_.hex);
  }
  static char Byte(std::string_view rec, int pos) { return rec[static_cast<size_t>(pos - 1)]; }

  // The records of the sheet that begins at `first` of level lv (0-based),
  // into `chain`; false when the chain is damaged (damage recorded).
  bool Chain(size_t lv, int first, std::vector<int>& chain) {
    std::vector<char>& reached = reached_[lv];
    const int count = Count(lv);
    if (lv == 0) {
      for (int n = 1; n <= count; ++n) {
        reached[static_cast<size_t>(n)] = 1;
        chain.push_back(n);
      }
      return true;
    }
    int from = 0;
    for (int n = first; n >= 1;) {
      if (n > count || reached[static_cast<size_t>(n)]) {
        plan_.damaged.push_back({static_cast<int>(lv) + 1, first, from});
        return false;
      }
      reached[static_cast<size_t>(n)] = 1;
      chain.push_back(n);
      const int next = Link(Rec(lv, n), kPageNextPos);
      if (next == n) break;  // a record naming itself ends its chain
      from = n;
      n = next;
    }
    return true;
  }

  void Sheet(size_t lv, int first) {
    std::vector<int> chain;
    if (!Chain(lv, first, chain)) return;
    if (!chain.empty() && Byte(Rec(lv, chain.back()), kPageKindPos) == 'G') chain.pop_back();

    {
      PagePlanSheet sheet;
      sheet.level = static_cast<int>(lv) + 1;
      sheet.firstRecord = first;
      sheet.firstPage = nextPage_;
      sheet.rows.reserve(chain.size());
      const int perPage = rule_.rowsPerPage;
      int counted = 0;
      for (int n : chain) {
        if (rule_.leaveOutX && Byte(Rec(lv, n), kPageMarkPos) == 'x') {
          sheet.rows.push_back({n, 0, 0});
          continue;
        }
        sheet.rows.push_back({n, nextPage_ + counted / perPage, counted % perPage + 1});
        ++counted;
      }
      sheet.pageCount = (counted + perPage - 1) / perPage;
      nextPage_ += sheet.pageCount;
      plan_.sheets.push_back(std::move(sheet));
    }

    if (lv + 1 >= files_.size()) return;
    for (int n : chain) {
      const std::string_view rec = Rec(lv, n);
      const char printMark = Byte(rec, kPagePrintMarkPos);
      if (printMark == 'U' || printMark == 'I') continue;
      const int child = Link(rec, kPageChildPos);
      if (child >= 1) Sheet(lv + 1, child);
    }
  }

  const std::vector<std::string_view>& files_;
  const PagePlanRule& rule_;
  const size_t len_;
  std::vector<std::vector<char>> reached_;  // per level, by record number
  PagePlan plan_;
  int nextPage_ = 1;
};

}  // namespace

PagePlan PagePlanMake(const std::vector<std::string_view>& levelBytes, const PagePlanRule& rule) {
  if (rule.rowsPerPage < 1 || rule.recordLength < kPageFieldPos + kPageFieldWidth - 1) return {};
  return PlanWalk(levelBytes, rule).Run();
}

}  // namespace kv
