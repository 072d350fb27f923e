// Feeds arbitrary bytes to the search engine's condition-file reader: the
// first byte chooses the record length (256 or 512), the rest is KENSAKU.INI.
// Whatever the bytes, the file is either refused with a reason or every
// condition names a field inside the record; each condition is then tried on
// a record made of the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "storage/string_search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int dataLen = (data[0] & 1) ? 512 : 256;
  const std::string_view ini(reinterpret_cast<const char*>(data + 1), size - 1);
  kv::SearchConditionSet set;
  std::string reason;
  if (!kv::ReadSearchConditions(ini, dataLen, set, reason)) {
    if (reason.empty() || !set.conditions.empty()) std::abort();
    return 0;
  }
  if (set.conditions.empty()) std::abort();
  if (set.titleStart < 0 || set.titleWidth < 0 || set.titleStart + set.titleWidth > dataLen) std::abort();
  std::string record(ini.substr(0, static_cast<size_t>(dataLen)));
  record.resize(static_cast<size_t>(dataLen), ' ');
  for (const kv::SearchCondition& c : set.conditions) {
    if (c.start < 0 || c.width < 1 || c.start + c.width > dataLen) std::abort();
    (void)kv::SearchMatcher(c).Matches(record);
  }
  return 0;
}
