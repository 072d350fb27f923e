#pragma once
// Reading the records of one sheet out of a level work file, with every
// record checked on the way in: a level file holds whole records only, and a
// chain is walked by the one checked walk of core/level_links.h (well-formed
// numbers, a record naming itself by its position, links inside the file, no
// loop, no record reached from two sheets; a self-link ends a chain).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/level_links.h"

namespace kv {

class RecordFile;

// The records of a level file, read by number from 1.
class RecordSource {
 public:
  virtual ~RecordSource() = default;
  virtual std::int64_t Length() const = 0;
  virtual int RecordLength() const = 0;
  // Record n (1-based) into `bytes`; false when the file has no such record.
  virtual bool Get(int recordNo, std::string& bytes) const = 0;
  // The walk of `LevelLinks::Walk` from `first` over links the source keeps
  // between reads (its records into `chain`, their next links into `nexts`,
  // the verdict into `problem`); false when it keeps none.
  virtual bool KeptLinksWalk(bool /*hex*/, int /*first*/, int /*maxRecords*/, std::vector<int>& /*chain*/,
                             std::vector<int>& /*nexts*/, LevelFileProblem& /*problem*/) const {
    return false;
  }
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
  bool KeptLinksWalk(bool hex, int first, int maxRecords, std::vector<int>& chain, std::vector<int>& nexts,
                     LevelFileProblem& problem) const override;

 private:
  const RecordFile& file_;
};

// The number of records of a level file; BadLength when its length is not a
// whole number of records (count is then 0).
LevelFileProblem CountRecords(const RecordSource& src, int& count);

// The links of every record of a level file (core/level_links.h), read once
// for the walks over its chains; BadLength when its length is not a whole
// number of records.
LevelFileProblem LevelLinksRead(const RecordSource& src, bool hex, LevelLinks& links);

// One sheet as found in a level file.
struct SheetChain {
  std::vector<std::string> records;  // in sheet order, the closing record included when read
  // recNos[0] is the first record; recNos[i] the next link of records[i - 1]
  // (kNoRecord for none).
  std::vector<int> recNos;
};

// Reads a sheet: for the top level the records 1, 2, ... in file order; for a
// deeper level the chain that begins at `first` (kNoRecord: no sheet), walked
// by `LevelLinks::Walk` (a chain entered in its middle or running into
// another is damage). At most `maxRecords` records are read. On a fault `out`
// holds what was read before it.
LevelFileProblem ReadSheetChain(const RecordSource& src, bool topLevel, int first, bool hex,
                                int maxRecords, SheetChain& out);
// The chain of a deeper level over links read before (`LevelLinksRead` of
// the same file), for a walk that reads many sheets of one file.
LevelFileProblem ReadSheetChain(const RecordSource& src, const LevelLinks& links, int first, int maxRecords,
                                SheetChain& out);

}  // namespace kv
