#include "storage/level_chain.h"

#include <climits>
#include <optional>
#include <unordered_set>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "storage/row_record.h"

namespace kv {

std::string LevelFaultText(LevelFault fault) {
  switch (fault) {
    case LevelFault::None: return "";
    case LevelFault::BadLength: return "ファイルの長さがレコード長の倍数ではありません";
    case LevelFault::BadNumber: return "レコード番号の欄が正しくありません";
    case LevelFault::OwnNumberMismatch: return "レコード番号が記録位置と一致しません";
    case LevelFault::LinkPastEnd: return "リンク先のレコードがファイルにありません";
    case LevelFault::LinkLoop: return "レコードのリンクが循環しています";
  }
  return "";
}

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

LevelFileProblem CountRecords(const RecordSource& src, int& count) {
  count = 0;
  std::int64_t length = src.Length();
  int recordLength = src.RecordLength();
  if (recordLength <= 0 || length % recordLength != 0) return {LevelFault::BadLength, 0};
  std::int64_t n = length / recordLength;
  count = n > INT_MAX ? INT_MAX : static_cast<int>(n);
  return {};
}

LevelFileProblem CheckRecordNumbers(std::string_view rec, int n, int count, bool hex) {
  std::optional<int> own = ReadStoredLink(LinkField(rec, kOwnPos), hex);
  std::optional<int> next = ReadStoredLink(LinkField(rec, kNextPos), hex);
  std::optional<int> child = ReadStoredLink(LinkField(rec, kChildPos), hex);
  if (!own || !next || !child) return {LevelFault::BadNumber, n};
  if (*own != n) return {LevelFault::OwnNumberMismatch, n};
  if (*next != kNoRecord && *next > count) return {LevelFault::LinkPastEnd, n};
  return {};
}

int NextInChain(std::string_view rec, int n, bool hex) {
  const std::optional<int> next = ReadStoredLink(LinkField(rec, kNextPos), hex);
  if (!next || *next == n) return kNoRecord;
  return *next;
}

LevelFileProblem ReadSheetChain(const RecordSource& src, bool topLevel, int first, bool hex,
                                int maxRecords, SheetChain& out) {
  out.records.clear();
  out.recNos.clear();
  int count = 0;
  if (LevelFileProblem p = CountRecords(src, count)) return p;

  if (topLevel) {
    out.recNos.push_back(1);
    std::string rec;
    for (int n = 1; n <= count && static_cast<int>(out.records.size()) < maxRecords; ++n) {
      if (!src.Get(n, rec)) return {LevelFault::LinkPastEnd, n};
      if (LevelFileProblem p = CheckRecordNumbers(rec, n, count, hex)) return p;
      out.records.push_back(rec);
    }
    return {};
  }

  out.recNos.push_back(first);
  if (first < 1) return {};
  if (first > count) return {LevelFault::LinkPastEnd, 0};
  std::unordered_set<int> visited;
  std::string rec;
  int n = first;
  while (n >= 1 && static_cast<int>(out.records.size()) < maxRecords) {
    if (!visited.insert(n).second) return {LevelFault::LinkLoop, n};
    if (!src.Get(n, rec)) return {LevelFault::LinkPastEnd, n};
    if (LevelFileProblem p = CheckRecordNumbers(rec, n, count, hex)) return p;
    n = NextInChain(rec, n, hex);
    out.records.push_back(rec);
    out.recNos.push_back(n);
  }
  return {};
}

}  // namespace kv
