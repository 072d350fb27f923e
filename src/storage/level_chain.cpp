#include "storage/level_chain.h"

#include <climits>

#include "core/record_file.h"
#include "core/stored_number.h"

namespace kv {

bool MemoryRecords::Get(int recordNo, std::string& bytes) const {
  if (recordNo < 1 || length_ <= 0) return false;
  std::uint64_t start = static_cast<std::uint64_t>(recordNo - 1) * static_cast<std::uint64_t>(length_);
  if (start + static_cast<std::uint64_t>(length_) > bytes_.size()) return false;
  bytes.assign(bytes_.substr(start, static_cast<size_t>(length_)));
  return true;
}

std::int64_t FileRecords::Length() const { return file_.FileLength(); }
int FileRecords::RecordLength() const { return file_.RecordLength(); }
bool FileRecords::Get(int recordNo, std::string& bytes) const {
  return file_.GetRecordText(recordNo, bytes);
}

bool FileRecords::KeptLinksWalk(bool hex, int first, int maxRecords, std::vector<int>& chain,
                                std::vector<int>& nexts, LevelFileProblem& problem) const {
  return file_.CachedChainWalk(hex, first, maxRecords, chain, nexts, problem);
}

LevelFileProblem CountRecords(const RecordSource& src, int& count) {
  count = 0;
  std::int64_t length = src.Length();
  int recordLength = src.RecordLength();
  if (recordLength <= 0 || length % recordLength != 0) return {LevelFault::BadLength, 0};
  std::int64_t n = length / recordLength;
  count = n > INT_MAX ? INT_MAX : static_cast<int>(n);
  return {};
}

LevelFileProblem LevelLinksRead(const RecordSource& src, bool hex, LevelLinks& links) {
  int count = 0;
  if (LevelFileProblem p = CountRecords(src, count)) {
    links.Reset(0, hex);
    return p;
  }
  links.Reset(count, hex);
  std::string rec;
  for (int n = 1; n <= count; ++n) {
    if (!src.Get(n, rec)) return {LevelFault::LinkPastEnd, n};
    links.Add(n, rec);
  }
  return {};
}

namespace {

// The top level: its records in file order, each checked.
LevelFileProblem ReadTopSheet(const RecordSource& src, bool hex, int maxRecords, SheetChain& out) {
  int count = 0;
  if (LevelFileProblem p = CountRecords(src, count)) return p;
  std::string rec;
  for (int n = 1; n <= count && static_cast<int>(out.records.size()) < maxRecords; ++n) {
    if (!src.Get(n, rec)) return {LevelFault::LinkPastEnd, n};
    if (LevelFileProblem p = CheckRecordNumbers(rec, n, count, hex)) return p;
    out.records.push_back(rec);
  }
  return {};
}

}  // namespace

LevelFileProblem ReadSheetChain(const RecordSource& src, bool topLevel, int first, bool hex, int maxRecords,
                                SheetChain& out) {
  out.records.clear();
  out.recNos.assign(1, topLevel ? 1 : first);
  if (topLevel) return ReadTopSheet(src, hex, maxRecords, out);
  if (first < 1) return {};
  std::vector<int> chain, nexts;
  LevelFileProblem kept;
  if (src.KeptLinksWalk(hex, first, maxRecords, chain, nexts, kept)) {
    out.records.resize(chain.size());
    for (size_t i = 0; i < chain.size(); ++i) {
      if (!src.Get(chain[i], out.records[i])) {
        out.records.resize(i);
        return {LevelFault::LinkPastEnd, chain[i]};
      }
      out.recNos.push_back(nexts[i]);
    }
    return kept;
  }
  LevelLinks links;
  if (LevelFileProblem p = LevelLinksRead(src, hex, links)) return p;
  return ReadSheetChain(src, links, first, maxRecords, out);
}

LevelFileProblem ReadSheetChain(const RecordSource& src, const LevelLinks& links, int first, int maxRecords,
                                SheetChain& out) {
  out.records.clear();
  out.recNos.assign(1, first);
  std::vector<int> chain;
  const LevelFileProblem problem = links.Walk(first, maxRecords, chain);
  std::string rec;
  for (int n : chain) {
    if (!src.Get(n, rec)) return {LevelFault::LinkPastEnd, n};
    out.records.push_back(rec);
    out.recNos.push_back(links.Next(n));
  }
  return problem;
}

}  // namespace kv
