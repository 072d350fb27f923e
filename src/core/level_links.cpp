#include "core/level_links.h"

#include <algorithm>
#include <climits>

#include "core/stored_number.h"

namespace kv {
namespace {

// Positions (1-based) of the stored numbers of a row record.
constexpr size_t kOwnAt = 4;
constexpr size_t kNextAt = 8;
constexpr size_t kChildAt = 12;

std::string_view Field(std::string_view rec, size_t pos) {
  if (rec.size() < pos - 1 + kStoredNumberWidth) return {};
  return rec.substr(pos - 1, kStoredNumberWidth);
}

}  // namespace

std::string LevelFaultText(LevelFault fault) {
  switch (fault) {
    case LevelFault::None: return "";
    case LevelFault::BadLength: return "ファイルの長さがレコード長の倍数ではありません";
    case LevelFault::BadNumber: return "レコード番号の欄が正しくありません";
    case LevelFault::OwnNumberMismatch: return "レコード番号が記録位置と一致しません";
    case LevelFault::LinkPastEnd: return "リンク先のレコードがファイルにありません";
    case LevelFault::LinkLoop: return "レコードのリンクが循環しています";
    case LevelFault::SharedRecord: return "一つのレコードが二つのシートからつながっています";
    case LevelFault::ChainTooLong: return "シートのレコードが一つのシートに入る数を超えています";
  }
  return "";
}

std::optional<int> StoredLinkRead(std::string_view field, bool hex) {
  // Read for every record of a file: one pass over the digits, no copies.
  size_t a = 0, b = field.size();
  while (a < b && field[a] == ' ') ++a;
  while (b > a && field[b - 1] == ' ') --b;
  if (a == b) return kNoRecord;
  const std::string_view t = field.substr(a, b - a);
  if (t[0] == '-') {
    if (t == "-99") return kNoRecord;
    return std::nullopt;
  }
  const unsigned long long base = hex ? 16 : 10;
  unsigned long long value = 0;
  for (char c : t) {
    unsigned d = static_cast<unsigned>(static_cast<unsigned char>(c)) - '0';
    if (d > 9) {
      if (!hex) return std::nullopt;
      d = (static_cast<unsigned>(static_cast<unsigned char>(c)) | 0x20u) - 'a';  // A-F or a-f
      if (d > 5) return std::nullopt;
      d += 10;
    }
    if (value <= INT_MAX) value = value * base + d;
  }
  if (hex && (t == "FFFF" || t == "EEEE")) return kNoRecord;
  if (value == 0) return kNoRecord;
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

namespace {

// The three stored numbers of a record, each read once.
struct RecordNumbers {
  std::optional<int> own, next, child;
  RecordNumbers(std::string_view rec, bool hex)
      : own(StoredLinkRead(Field(rec, kOwnAt), hex)),
        next(StoredLinkRead(Field(rec, kNextAt), hex)),
        child(StoredLinkRead(Field(rec, kChildAt), hex)) {}
  LevelFault Fault(int n, int count) const {
    if (!own || !next || !child) return LevelFault::BadNumber;
    if (*own != n) return LevelFault::OwnNumberMismatch;
    if (*next != kNoRecord && *next > count) return LevelFault::LinkPastEnd;
    return LevelFault::None;
  }
  int Next(int n) const { return next && *next >= 1 && *next != n ? *next : kNoRecord; }
};

}  // namespace

LevelFileProblem CheckRecordNumbers(std::string_view rec, int n, int count, bool hex) {
  const LevelFault fault = RecordNumbers(rec, hex).Fault(n, count);
  return {fault, fault == LevelFault::None ? 0 : n};
}

int NextInChain(std::string_view rec, int n, bool hex) { return RecordNumbers(rec, hex).Next(n); }

void LevelLinks::Reset(int count, bool hex) {
  hex_ = hex;
  links_.assign(static_cast<size_t>(count < 0 ? 0 : count) + 1, Links{});
  walk_ = 0;
}

void LevelLinks::Count(int target, int delta) {
  if (target < 1 || target > Count()) return;
  std::uint16_t& into = links_[static_cast<size_t>(target)].into;
  if (delta > 0 && into < UINT16_MAX) ++into;
  if (delta < 0 && into > 0 && into < UINT16_MAX) --into;
}

void LevelLinks::Add(int n, std::string_view rec) {
  if (n < 1 || n > Count()) return;
  Links& l = links_[static_cast<size_t>(n)];
  Count(l.next, -1);
  const RecordNumbers numbers(rec, hex_);
  l.fault = static_cast<std::uint8_t>(numbers.Fault(n, Count()));
  l.next = numbers.Next(n);
  l.child = numbers.child && *numbers.child >= 1 ? *numbers.child : kNoRecord;
  Count(l.next, +1);
}

LevelFileProblem LevelLinks::Read(std::string_view bytes, int recordLength, bool hex) {
  if (recordLength <= 0 || bytes.size() % static_cast<size_t>(recordLength) != 0) {
    Reset(0, hex);
    return {LevelFault::BadLength, 0};
  }
  const size_t len = static_cast<size_t>(recordLength);
  const size_t count = bytes.size() / len;
  Reset(count > INT_MAX ? INT_MAX : static_cast<int>(count), hex);
  for (int n = 1; n <= Count(); ++n) Add(n, bytes.substr(static_cast<size_t>(n - 1) * len, len));
  return {};
}

LevelFileProblem LevelLinks::Check(int n) const {
  if (n < 1 || n > Count()) return {LevelFault::LinkPastEnd, n};
  return {static_cast<LevelFault>(links_[static_cast<size_t>(n)].fault), n};
}

void LevelLinks::Append(std::string_view rec) {
  links_.push_back(Links{});
  Add(Count(), rec);
}

LevelFileProblem LevelLinks::Walk(int first, int maxRecords, std::vector<int>& chain, bool longIsDamage) const {
  chain.clear();
  if (first < 1) return {};
  if (first > Count()) return {LevelFault::LinkPastEnd, 0};
  if (++walk_ == 0) {
    for (const Links& l : links_) l.seen = 0;
    walk_ = 1;
  }
  for (int n = first; n >= 1;) {
    if (static_cast<int>(chain.size()) >= maxRecords) {
      if (longIsDamage) return {LevelFault::ChainTooLong, first};
      break;
    }
    const Links& l = links_[static_cast<size_t>(n)];
    if (l.seen == walk_) return {LevelFault::LinkLoop, n};
    l.seen = walk_;
    if (l.fault != 0) return {static_cast<LevelFault>(l.fault), n};
    chain.push_back(n);
    n = l.next;
  }
  // Whole and without a loop: every record after the first is named by the
  // next link of the record before it, and by no other.
  if (links_[static_cast<size_t>(first)].into != 0) return {LevelFault::SharedRecord, first};
  for (size_t k = 1; k < chain.size(); ++k)
    if (links_[static_cast<size_t>(chain[k])].into > 1) return {LevelFault::SharedRecord, chain[k]};
  return {};
}

void LevelLinks::WalkEach(const std::vector<int>& firsts, int maxRecords, std::vector<std::vector<int>>& chains,
                          std::vector<LevelFileProblem>& problems, bool longIsDamage) const {
  // The next links of all the chains followed together, one record of each
  // in turn, only to have them fetched: nothing is checked or kept here. A
  // chain without a loop holds at most every record of the file once.
  std::vector<int> at;
  at.reserve(firsts.size());
  for (int first : firsts) at.push_back(first >= 1 && first <= Count() ? first : kNoRecord);
  const int steps = std::min(maxRecords, Count());
  for (int step = 0; step <= steps; ++step) {
    bool going = false;
    for (int& n : at) {
      if (n < 1) continue;
      const Links& l = links_[static_cast<size_t>(n)];
      n = l.fault != 0 ? kNoRecord : l.next;
      going = true;
    }
    if (!going) break;
  }
  chains.resize(firsts.size());
  problems.resize(firsts.size());
  for (size_t i = 0; i < firsts.size(); ++i) problems[i] = Walk(firsts[i], maxRecords, chains[i], longIsDamage);
}

}  // namespace kv
