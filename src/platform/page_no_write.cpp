#include "platform/page_no_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include "core/mapped_file.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/fs.h"

namespace kv {

namespace {

// The four bytes of a page field (PageFieldText) into `out`.
void PageFieldChars(int page, bool hex, char (&out)[kPageFieldWidth]) {
  if (page < 1 || page > 0xFFF) {
    std::memset(out, ' ', kPageFieldWidth);
    return;
  }
  char text[8];
  if (!hex && page <= 999)
    std::snprintf(text, sizeof text, "%3dP", page);
  else
    std::snprintf(text, sizeof text, "%3Xh", static_cast<unsigned>(page));
  std::memcpy(out, text, kPageFieldWidth);
}

// The records of a level file taken into the plan, in file order. Records
// ahead are fetched early: one cache line a record, which the processor does
// not foresee across pages.
struct PlanRecords {
  PagePlanBuilder& plan;
  size_t level;
  const char* bytes;
  size_t count, len;
  void operator()() {
    const char* rec = bytes;
    constexpr size_t kAhead = 16;
    for (size_t n = 1; n <= count; ++n, rec += len) {
      if (n + kAhead <= count) __builtin_prefetch(rec + kAhead * len);
      plan.Record(level, static_cast<int>(n), rec);
    }
  }
};

// A page field stored in a mapping unless it holds the text already.
struct FieldStore {
  char* at;
  const char* field;
  bool writable;
  volatile bool holds;
  volatile bool stored;
  void operator()() {
    if (std::memcmp(at, field, kPageFieldWidth) == 0) {
      holds = true;
      return;
    }
    if (!writable) return;
    stored = true;
    std::memcpy(at, field, kPageFieldWidth);
    holds = true;
  }
};

// The level files of a work set, each mapped (shared, open for writing too
// where the file system allows it) and its records taken into the page
// plan. A field is stored in the mapping where it lies, so only the pages
// of changed fields are written; a stop at any point leaves every record
// whole. A bus error on a mapping (the file cut by another program, no room
// for a page written) counts as a failed read or write. A file that cannot
// be mapped is read whole and written with positioned writes.
class LevelFileSet {
 public:
  LevelFileSet(const std::filesystem::path& workBase, const std::vector<std::string>& levelExts, int recordLength,
               PagePlanBuilder& plan)
      : len_(static_cast<size_t>(recordLength)) {
    files_.resize(levelExts.size());
    for (size_t i = 0; i < levelExts.size(); ++i) Open(i, workBase.string() + levelExts[i], plan);
  }
  ~LevelFileSet() {
    for (File& f : files_) {
      f.map = MappedFile();
      if (f.changed) RecordFileChanged(f.path);
      if (f.fd >= 0) ::close(f.fd);
    }
  }
  LevelFileSet(const LevelFileSet&) = delete;
  LevelFileSet& operator=(const LevelFileSet&) = delete;

  // Puts `field` into the page field of record n of level file i when it
  // differs from what the field holds; true when the field holds it
  // afterwards.
  bool Put(size_t i, int n, const char (&field)[kPageFieldWidth]) {
    File& f = files_[i];
    if (n < 1 || static_cast<size_t>(n) > f.records) return false;
    const size_t offset = static_cast<size_t>(n - 1) * len_ + kPageFieldPos - 1;
    if (f.map) {
      FieldStore store{f.map.data() + offset, field, f.writable, false, false};
      const bool ran = MappedAccess(store);
      if (store.stored) f.changed = true;
      return ran && store.holds;
    }
    char* const at = f.copy.data() + offset;
    if (std::memcmp(at, field, kPageFieldWidth) == 0) return true;
    if (!f.writable) return false;
    size_t done = 0;
    while (done < kPageFieldWidth) {
      const ssize_t w = ::pwrite(f.fd, field + done, kPageFieldWidth - done, static_cast<off_t>(offset + done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) break;
      done += static_cast<size_t>(w);
      f.changed = true;
    }
    if (done < kPageFieldWidth) return false;
    std::memcpy(at, field, kPageFieldWidth);
    return true;
  }

 private:
  struct File {
    std::filesystem::path path;
    int fd = -1;
    MappedFile map;    // the whole file
    std::string copy;  // the whole file as read, where it cannot be mapped
    size_t records = 0;
    bool writable = false;
    bool changed = false;
  };

  void Open(size_t i, const std::string& name, PagePlanBuilder& plan) {
    File& f = files_[i];
    f.path = fs::ResolveNoCase(std::filesystem::path(name));
    f.fd = ::open(f.path.c_str(), O_RDWR | O_CLOEXEC);
    f.writable = f.fd >= 0;
    if (f.fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
      f.fd = ::open(f.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (f.fd < 0) return;
    struct stat info {};
    if (::fstat(f.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) return;
    plan.Level(i, static_cast<std::int64_t>(info.st_size));
    const size_t size = static_cast<size_t>(info.st_size);
    if (len_ == 0 || size % len_ != 0) return;  // refused by the plan as a whole
    int mapError = 0;
    f.map = MappedFile(f.fd, size, f.writable, true, mapError);
    const char* bytes = f.map.data();
    if (!f.map) {
      std::error_code ec;
      std::optional<std::string> read = fs::ReadFileBytes(f.path, ec);
      if (!read || read->size() != size) {  // an unreadable file holds no sheet, as an empty one
        plan.Level(i, 0);
        return;
      }
      f.copy = std::move(*read);
      bytes = f.copy.data();
    }
    PlanRecords records{plan, i, bytes, size / len_, len_};
    if (!MappedAccess(records)) {  // cut meanwhile: unreadable
      plan.Level(i, 0);
      f.map = MappedFile();
      return;
    }
    f.records = size / len_;
  }

  size_t len_;
  std::vector<File> files_;
};

int PageNoWrite(const std::filesystem::path& workBase, int recordLength, std::string_view numberBase,
                int rowsPerPage, const std::vector<std::string>& levelExts, bool leaveOutX,
                std::vector<PagePlanDamage>* damaged) {
  PagePlanRule rule{recordLength, IsHexBase(numberBase), rowsPerPage, leaveOutX};
  rule.firstRowOnly = true;  // only each sheet's first row is numbered
  if (damaged) damaged->clear();
  if (rowsPerPage < 1 || recordLength < kPageFieldPos + kPageFieldWidth - 1) return 0;
  PagePlanBuilder builder(levelExts.size(), rule);
  LevelFileSet levels(workBase, levelExts, recordLength, builder);
  const PagePlan plan = builder.Make();
  if (damaged) *damaged = plan.damaged;
  int numbered = 0;
  for (const PagePlanSheet& sheet : plan.sheets) {
    if (sheet.rows.empty()) continue;
    char field[kPageFieldWidth];
    PageFieldChars(sheet.firstPage, rule.hex, field);
    if (levels.Put(static_cast<size_t>(sheet.level - 1), sheet.rows.front().record, field)) ++numbered;
  }
  return numbered;
}

}  // namespace

std::string PageFieldText(int page, bool hex) {
  char field[kPageFieldWidth];
  PageFieldChars(page, hex, field);
  return std::string(field, kPageFieldWidth);
}

PagePlan PagePlanOfFiles(const std::filesystem::path& workBase, const std::vector<std::string>& levelExts,
                         const PagePlanRule& rule) {
  PagePlanBuilder builder(levelExts.size(), rule);
  LevelFileSet levels(workBase, levelExts, rule.recordLength, builder);
  return builder.Make();
}

int PageNoWrite2(const std::filesystem::path& workBase, const std::filesystem::path& /*programFolder*/,
                 int recordLength, std::string_view numberBase, int rowsPerPage,
                 const std::vector<std::string>& levelExts, std::vector<PagePlanDamage>* damaged) {
  return PageNoWrite(workBase, recordLength, numberBase, rowsPerPage, levelExts, false, damaged);
}

int PageNoWriteOrvi(const std::filesystem::path& workBase, const std::filesystem::path& /*programFolder*/,
                    int recordLength, std::string_view numberBase, int rowsPerPage,
                    const std::vector<std::string>& levelExts, std::vector<PagePlanDamage>* damaged) {
  return PageNoWrite(workBase, recordLength, numberBase, rowsPerPage, levelExts, true, damaged);
}

}  // namespace kv
