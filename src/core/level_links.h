#pragma once
// The links of a level work file and the one walk along its chains.
//
// A level file is a run of fixed-length row records; bytes 4-7 of a record
// hold its own record number, bytes 8-11 the next record of its sheet, bytes
// 12-15 the first record of its breakdown (the level below). The links of
// every record are read once into a table; every walk over a chain of the
// program goes through `LevelLinks::Walk`, which checks what it passes:
// - every stored number of a record it passes is well formed, the record
//   names itself by its own position, and its next link stays inside the
//   file;
// - a record whose next link names itself ends its chain (converted DOS files
//   end chains so);
// - a chain that comes back to a record it already passed is a loop;
// - a record belongs to one sheet: a chain entered in its middle (its first
//   record is the next record of another) or two chains running into each
//   other (a record named by two next links) is damage. Rows whose child
//   links name the same first record share one breakdown; that stays legal.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class LevelFault {
  None,
  BadLength,          // the file's length is not a whole number of records
  BadNumber,          // a stored number of bytes 4-15 is not a record number
  OwnNumberMismatch,  // bytes 4-7 do not name the record's own position
  LinkPastEnd,        // a link names a record the file does not hold
  LinkLoop,           // a chain comes back to a record it already passed
  SharedRecord,       // a record reached from two sheets
  ChainTooLong,       // a chain longer than a sheet holds
};

struct LevelFileProblem {
  LevelFault fault = LevelFault::None;
  int record = 0;  // the record where it was found (0: the file as a whole)
  explicit operator bool() const { return fault != LevelFault::None; }
};

// The reason of a fault in words for the user.
std::string LevelFaultText(LevelFault fault);

// Reads a stored-number field strictly, for checking records read from disk:
// kNoRecord for "none" (" -99", "FFFF"/"EEEE"/blank in hexadecimal, blank or 0
// in decimal), the number (1 or more) for a well-formed record number, and
// nullopt for anything else: other negative numbers, fractions, signs,
// letters in a decimal field, characters that are no digits.
std::optional<int> StoredLinkRead(std::string_view field, bool hex);

// Checks the stored numbers of record n of a file of `count` records: the own
// number must be n; the next link and the child link must be well formed; a
// next link must name a record of the file.
LevelFileProblem CheckRecordNumbers(std::string_view rec, int n, int count, bool hex);

// The record after record n of a chain: its next link, kNoRecord when the
// link is none or names record n itself (converted DOS files end a chain so)
// or cannot be read.
int NextInChain(std::string_view rec, int n, bool hex);

class LevelLinks {
 public:
  // An empty table for a file of `count` records; `Add` fills it.
  void Reset(int count, bool hex);
  // Takes in the links of record n (1 .. count), also again when they changed.
  void Add(int n, std::string_view rec);
  // The table of a whole level file held in memory; BadLength (and an empty
  // table) when its length is not a whole number of records.
  LevelFileProblem Read(std::string_view bytes, int recordLength, bool hex);

  int Count() const { return static_cast<int>(links_.size()) - 1; }
  // The stored numbers of record n checked: well formed, its own number n,
  // its next link inside the file.
  LevelFileProblem Check(int n) const;
  // The record after n in its chain; kNoRecord for none, a link below 1 or a
  // link naming n itself.
  int Next(int n) const { return links_[static_cast<size_t>(n)].next; }
  // The first record of n's breakdown in the level below; kNoRecord for none.
  int Child(int n) const { return links_[static_cast<size_t>(n)].child; }

  // A record appended to the file: its links, as Add takes them.
  void Append(std::string_view rec);

  // The records of the chain that begins at `first`, in order, into `chain`
  // (first below 1: no chain, empty). At most `maxRecords` are taken; with
  // `longIsDamage` a chain longer than that is ChainTooLong. On damage
  // `chain` holds the records passed before it.
  LevelFileProblem Walk(int first, int maxRecords, std::vector<int>& chain, bool longIsDamage = false) const;

  // The chains that begin at `firsts`, each walked by `Walk` (`chains[i]` and
  // `problems[i]` are what Walk gives for `firsts[i]`), after their records'
  // links were all fetched side by side: a chain lies scattered through its
  // file and each of its records waits for the one before, so the records of
  // the other chains are fetched meanwhile.
  void WalkEach(const std::vector<int>& firsts, int maxRecords, std::vector<std::vector<int>>& chains,
                std::vector<LevelFileProblem>& problems, bool longIsDamage = false) const;

 private:
  // One record's links and the walk's mark, in one place: a chain lies
  // scattered through its file, and each record it passes costs one fetch.
  struct Links {
    std::int32_t next = -99;
    std::int32_t child = -99;
    mutable std::uint32_t seen = 0;  // the walk that last passed the record
    std::uint16_t into = 0;          // next links naming this record (at most 65535)
    std::uint8_t fault = 0;          // a LevelFault of the record's own numbers
  };
  void Count(int target, int delta);

  std::vector<Links> links_{Links{}};  // by record number; [0] unused
  bool hex_ = false;
  mutable std::uint32_t walk_ = 0;
};

}  // namespace kv
