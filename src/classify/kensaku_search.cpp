#include "classify/kensaku_search.h"

#include "state/program_state.h"

namespace kv {

void KensakuHits::NewSearch() {
  HitCount = 0;
  for (auto& nums : HitNums) nums.fill(0);
}

void KensakuHits::BlankPaths() {
  for (auto& p : HitPaths) p.assign(kHitPathChars, ' ');
}

KensakuReadResult ReadKensakuResult(std::string_view, KensakuHits& hits, const KensakuReadHooks&) {
  hits.HitCount = 0;
  return {};
}

KensakuReadResult ZGetKensakuResult(const ProgramState&, KensakuHits& hits, const KensakuReadHooks& hooks) {
  return ReadKensakuResult({}, hits, hooks);
}

bool ZMakeKensakuINI(ProgramState&, const std::string&, int) { return false; }

KensakuOutcome RunStringSearch(ProgramState&, const std::string&, int, const std::string&, KensakuHits& hits,
                               const KensakuReadHooks&) {
  hits.NewSearch();
  KensakuOutcome out;
  out.status = KensakuStatus::Failed;
  out.reason = "検索はまだ用意されていません";
  return out;
}

void KensakuEndShow(ProgramState&, const KensakuOutcome&) {}

bool SearchTextRefused(ProgramState&, std::string_view) { return false; }

std::string FirstCharOutsideSjis(std::string_view) { return ""; }

}  // namespace kv
