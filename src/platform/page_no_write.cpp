#include "platform/page_no_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/fs.h"

namespace kv {

namespace {

// Bytes read at a time (whole records), into room on the stack: the records
// are taken into the plan while they are in the processor's cache, and no
// memory for whole files is touched.
constexpr size_t kPieceBytes = size_t{64} << 10;

// The level files of a work set, each read a piece at a time into the page
// plan, the page field of every record kept, and open for writing too where
// the file system allows it. A field is written with a positioned write
// where it lies: a stop at any point leaves every record whole.
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
      if (f.changed) RecordFileChanged(f.path);
      if (f.fd >= 0) ::close(f.fd);
    }
  }
  LevelFileSet(const LevelFileSet&) = delete;
  LevelFileSet& operator=(const LevelFileSet&) = delete;

  // Puts `field` into the page field of record n of level file i when it
  // differs from what the field holds; true when the field holds it
  // afterwards.
  bool Put(size_t i, int n, std::string_view field) {
    File& f = files_[i];
    const size_t at = static_cast<size_t>(n - 1) * kPageFieldWidth;
    if (n < 1 || field.size() != kPageFieldWidth || at + kPageFieldWidth > f.pages.size()) return false;
    if (std::string_view(f.pages).substr(at, kPageFieldWidth) == field) return true;
    if (!f.writable) return false;
    const size_t offset = static_cast<size_t>(n - 1) * len_ + kPageFieldPos - 1;
    size_t done = 0;
    while (done < field.size()) {
      const ssize_t w =
          ::pwrite(f.fd, field.data() + done, field.size() - done, static_cast<off_t>(offset + done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) break;
      done += static_cast<size_t>(w);
      f.changed = true;
    }
    if (done < field.size()) return false;
    f.pages.replace(at, kPageFieldWidth, field);
    return true;
  }

 private:
  struct File {
    std::filesystem::path path;
    int fd = -1;
    std::string pages;  // the page field of every record as read, kPageFieldWidth bytes each
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
    const size_t piece = std::max<size_t>(1, kPieceBytes / len_) * len_;
    char room[kPieceBytes];
    std::vector<char> larger(piece > kPieceBytes ? piece : 0);  // a record longer than the room
    char* const buf = piece > kPieceBytes ? larger.data() : room;
    f.pages.reserve(size / len_ * kPageFieldWidth);
    int n = 0;
    for (size_t start = 0; start < size;) {
      const size_t want = std::min(piece, size - start);
      size_t got = 0;
      while (got < want) {
        const ssize_t r = ::pread(f.fd, buf + got, want - got, static_cast<off_t>(start + got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {  // an unreadable file holds no sheet, as an empty one
          plan.Level(i, 0);
          f.pages.clear();
          return;
        }
        got += static_cast<size_t>(r);
      }
      for (const char* rec = buf; rec < buf + want; rec += len_) {
        plan.Record(i, ++n, rec);
        f.pages.append(rec + kPageFieldPos - 1, kPageFieldWidth);
      }
      start += want;
    }
  }

  size_t len_;
  std::vector<File> files_;
};

int PageNoWrite(const std::filesystem::path& workBase, int recordLength, std::string_view numberBase,
                int rowsPerPage, const std::vector<std::string>& levelExts, bool leaveOutX,
                std::vector<PagePlanDamage>* damaged) {
  const PagePlanRule rule{recordLength, IsHexBase(numberBase), rowsPerPage, leaveOutX};
  if (damaged) damaged->clear();
  if (rowsPerPage < 1 || recordLength < kPageFieldPos + kPageFieldWidth - 1) return 0;
  PagePlanBuilder builder(levelExts.size(), rule);
  LevelFileSet levels(workBase, levelExts, recordLength, builder);
  const PagePlan plan = builder.Make();
  if (damaged) *damaged = plan.damaged;
  int numbered = 0;
  for (const PagePlanSheet& sheet : plan.sheets) {
    if (sheet.rows.empty()) continue;
    if (levels.Put(static_cast<size_t>(sheet.level - 1), sheet.rows.front().record,
                   PageFieldText(sheet.firstPage, rule.hex)))
      ++numbered;
  }
  return numbered;
}

}  // namespace

std::string PageFieldText(int page, bool hex) {
  if (page < 1 || page > 0xFFF) return std::string(kPageFieldWidth, ' ');
  char text[8];
  if (!hex && page <= 999)
    std::snprintf(text, sizeof text, "%3dP", page);
  else
    std::snprintf(text, sizeof text, "%3Xh", static_cast<unsigned>(page));
  return text;
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
