#pragma once
// Random access to a file of fixed-length records (the level work files):
// record n (1-based) is bytes (n - 1) * length + 1 .. n * length. A record is
// read and written as raw Shift-JIS bytes, exactly the record length, never
// converted. The record length is fixed when the file is opened, so each
// caller uses the length of the file set it works on.
//
// Records are read out of a block cache shared by every record file of the
// program: a file of ordinary size is read whole at its first record, a
// larger one in blocks, within a bounded total. A file's cached blocks are
// used by a later opening only while its length and change time (as the
// file system gives them) are those seen when the blocks were read, and only
// on a local file system with fine change times; a write through any record
// file goes into the cached blocks as well as the file. Code that changes a
// level file by other means calls RecordFileChanged.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/level_links.h"

namespace kv {

// A record length other than 256 or 512, a file that cannot be opened, and
// read or write failures of the file system.
class RecordFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Record lengths a record file accepts: 256 and 512.
bool IsValidRecordLength(int length);

// Drops the cached blocks of the file at `path` (when it exists): its next
// reads go to the file. For code that writes a level file in place without
// a RecordFile; a file replaced or rewritten is told from its change time.
void RecordFileChanged(const std::filesystem::path& path);

struct CachedFile;

enum class RecordFileMode {
  ReadWrite,  // created (empty) when missing
  ReadOnly,
};

class RecordFile {
 public:
  // Throws RecordFileError for a record length other than 256 or 512 and when
  // the file cannot be opened.
  RecordFile(const std::filesystem::path& path, int recordLength,
             RecordFileMode mode = RecordFileMode::ReadWrite);
  // With the record length of the open estimate: the `DataLen` of the
  // settings given (the program state).
  template <typename Settings, typename = decltype(std::declval<const Settings&>().DataLen)>
  RecordFile(const std::filesystem::path& path, const Settings& settings,
             RecordFileMode mode = RecordFileMode::ReadWrite)
      : RecordFile(path, settings.DataLen, mode) {}
  ~RecordFile();
  RecordFile(RecordFile&& other) noexcept;
  RecordFile& operator=(RecordFile&& other) noexcept;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  int RecordLength() const { return length_; }
  const std::filesystem::path& Path() const { return path_; }

  // Reads record n into `bytes` (exactly the record length). Returns false,
  // leaving `bytes` as it was, when there is no such record: n below 1, or the
  // file ends before the record does. Throws RecordFileError on a read error.
  bool GetRecordText(std::int32_t recordNo, std::string& bytes) const;

  // Writes `bytes` as record n (1 or more), cut to the record length or padded
  // with blanks (0x20). Throws RecordFileError on a bad record number, a file
  // opened read-only, or a write error (nothing is reported as written that
  // was not).
  void PutRecordText(std::int32_t recordNo, std::string_view bytes);

  // The chain that begins at `first` walked by `LevelLinks::Walk` over the
  // links of every record of the file, read once while the file's blocks are
  // cached and kept with them (a write through any record file drops them):
  // its records into `chain`, the next link of each into `nexts`, the walk's
  // verdict into `problem` (BadLength for a file that is not a whole number
  // of records). False when the file is not cached: the caller reads the
  // links itself.
  bool CachedChainWalk(bool hex, int first, int maxRecords, std::vector<int>& chain, std::vector<int>& nexts,
                       LevelFileProblem& problem) const;

  // Length of the file in bytes, and the number of whole records it holds.
  std::int64_t FileLength() const;
  std::int32_t RecordCount() const;

  // Closes the file; throws RecordFileError when the close fails. The
  // destructor closes a file still open and ignores errors.
  void Close();

 private:
  bool ReadDirect(std::int32_t recordNo, std::string& bytes) const;

  std::filesystem::path path_;
  int length_ = 0;
  int fd_ = -1;
  bool readOnly_ = false;
  std::uint64_t dev_ = 0, ino_ = 0;
  std::shared_ptr<CachedFile> cache_;  // none: every read goes to the file
};

}  // namespace kv
