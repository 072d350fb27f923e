#pragma once
// Reading the records of one sheet out of a level work file, with every
// record checked on the way in: a level file holds whole records only, every
// stored number in bytes 4-15 is well formed, a record names itself by its own
// position, and every link stays inside the file. A walk along a chain visits
// each record at most once, so a loop in the links is found, never followed;
// a record whose next link names itself ends its chain.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class RecordFile;

enum class LevelFault {
  None,
  BadLength,          // the file's length is not a whole number of records
  BadNumber,          // a stored number of bytes 4-15 is not a record number
  OwnNumberMismatch,  // bytes 4-7 do not name the record's own position
  LinkPastEnd,        // a link names a record the file does not hold
  LinkLoop,           // a chain comes back to a record it already passed
};

struct LevelFileProblem {
  LevelFault fault = LevelFault::None;
  int record = 0;  // the record where it was found (0: the file as a whole)
  explicit operator bool() const { return fault != LevelFault::None; }
};

// The reason of a fault in words for the user.
std::string LevelFaultText(LevelFault fault);

// The records of a level file, read by number from 1.
class RecordSource {
 public:
  virtual ~RecordSource() = default;
  virtual std::int64_t Length() const = 0;
  virtual int RecordLength() const = 0;
  // Record n (1-based) into `bytes`; false when the file has no such record.
  virtual bool Get(int recordNo, std::string& bytes) const = 0;
};

// A level file held in memory.
class MemoryRecords : public RecordSource {
 public:
  MemoryRecords(std::string_view bytes, int recordLength) : bytes_(bytes), length_(recordLength) {}
  std::int64_t Length() const override { return static_cast<std::int64_t>(bytes_.size()); }
  int RecordLength() const override { return length_; }
  bool Get(int recordNo, std::string& bytes) const override;

 private:
  std::string_view bytes_;
  int length_;
};

// A level file on disk.
class FileRecords : public RecordSource {
 public:
  explicit FileRecords(const RecordFile& file) : file_(file) {}
  std::int64_t Length() const override;
  int RecordLength() const override;
  bool Get(int recordNo, std::string& bytes) const override;

 private:
  const RecordFile& file_;
};

// The number of records of a level file; BadLength when its length is not a
// whole number of records (count is then 0).
LevelFileProblem CountRecords(const RecordSource& src, int& count);

// Checks the stored numbers of record n of a file of `count` records: the own
// number must be n; the next link (when `nextInFile`) and the child link must
// be well formed; a next link must name a record of the file.
LevelFileProblem CheckRecordNumbers(std::string_view rec, int n, int count, bool hex);

// The record after record n of a chain: its next link, kNoRecord when the
// link is none or names record n itself (converted DOS files end a chain so)
// or cannot be read.
int NextInChain(std::string_view rec, int n, bool hex);

// One sheet as found in a level file.
struct SheetChain {
  std::vector<std::string> records;  // in sheet order, the closing record included when read
  // recNos[0] is the first record; recNos[i] the next link of records[i - 1]
  // (kNoRecord for none).
  std::vector<int> recNos;
};

// Reads a sheet: for the top level the records 1, 2, ... in file order; for a
// deeper level the chain that begins at `first` (kNoRecord: no sheet). At most
// `maxRecords` records are read. On a fault `out` holds what was read before it.
LevelFileProblem ReadSheetChain(const RecordSource& src, bool topLevel, int first, bool hex,
                                int maxRecords, SheetChain& out);

}  // namespace kv
