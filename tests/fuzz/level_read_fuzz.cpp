// Feeds arbitrary bytes to the level-file reader as a level work file. The
// first byte chooses the record length (256 or 512), the number base, whether
// the file is a top level (read in record order) or a deeper one, and the
// second byte where the chain starts. Whatever the bytes, the reader either
// gives records that are whole, name their own positions and link inside the
// file, or reports a fault; it never reads past the file or loops.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>

#include "core/stored_number.h"
#include "storage/level_chain.h"
#include "storage/row_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int recordLength = (data[0] & 1) ? 512 : 256;
  const bool hex = (data[0] & 2) != 0;
  const bool topLevel = (data[0] & 4) != 0;
  const int first = static_cast<int>(data[1] % 16) - 1;  // -1 .. 14
  const int maxRecords = 1 + static_cast<int>(data[0] >> 3);
  std::string_view file(reinterpret_cast<const char*>(data + 2), size - 2);

  kv::MemoryRecords source(file, recordLength);
  kv::SheetChain chain;
  kv::LevelFileProblem problem = kv::ReadSheetChain(source, topLevel, first, hex, maxRecords, chain);
  if (problem) return 0;

  const size_t count = file.size() / static_cast<size_t>(recordLength);
  if (file.size() % static_cast<size_t>(recordLength) != 0) std::abort();
  if (chain.records.size() > static_cast<size_t>(maxRecords)) std::abort();
  std::unordered_set<int> seen;
  for (size_t i = 0; i < chain.records.size(); ++i) {
    const std::string& rec = chain.records[i];
    if (rec.size() != static_cast<size_t>(recordLength)) std::abort();
    int own = *kv::ReadStoredLink(kv::LinkField(rec, kv::kOwnPos), hex);
    if (own < 1 || static_cast<size_t>(own) > count || !seen.insert(own).second) std::abort();
    if (!topLevel && own != chain.recNos[i]) std::abort();
  }
  return 0;
}
