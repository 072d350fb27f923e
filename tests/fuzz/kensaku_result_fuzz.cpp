// Feeds arbitrary bytes to the reader of the search's result file. Whatever
// the bytes, at most 1000 hits are read, the hook sees each of them once in
// order, every number is within 16 bits and every path line kept is exactly
// 256 characters.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "classify/kensaku_search.h"

namespace {

size_t Characters(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  kv::KensakuHits hits;
  int seen = 0;
  const kv::KensakuReadResult r = kv::ReadKensakuResult(file, hits,
                                                        {{}, [&](int count, const std::string&) {
                                                           if (count != ++seen) std::abort();
                                                           return true;
                                                         }});
  if (r.count != hits.HitCount || seen != r.count || r.count < 0 || r.count > kv::kMaxSearchHits) std::abort();
  for (int h = 1; h <= r.count; ++h) {
    for (int v : hits.HitNums[static_cast<size_t>(h)])
      if (v < -32768 || v > 32767) std::abort();
    if (Characters(hits.HitPaths[static_cast<size_t>(h)]) != kv::kHitPathChars) std::abort();
  }
  return 0;
}
