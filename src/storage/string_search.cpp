#include "storage/string_search.h"

namespace kv {

StringSearchResult StringSearch2(std::string_view, const std::filesystem::path&, int, std::string_view,
                                 const std::vector<std::string>&, int) {
  StringSearchResult r;
  r.status = StringSearchStatus::BadConditions;
  r.reason = "検索はまだ用意されていません";
  return r;
}

}  // namespace kv
