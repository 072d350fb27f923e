#include "state/siwake_code.h"

#include <algorithm>
#include <cstring>

#include "core/settings_text.h"

namespace kv {

int SiwakeCodeCompare(std::string_view a, std::string_view b) {
  a = TrimBlanks(a);
  b = TrimBlanks(b);
  const size_t n = std::min(a.size(), b.size());
  if (n > 0) {
    const int order = std::memcmp(a.data(), b.data(), n);
    if (order != 0) return order;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace kv
