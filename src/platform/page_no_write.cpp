#include "platform/page_no_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/fs.h"

namespace kv {

namespace {

// Room for the bytes of level files, kept from one numbering to the next:
// memory used again costs no page faults, which on some machines cost more
// than reading the files. Kept up to kKeptBytes in all.
class FileImagePool {
 public:
  // The room kept that best fits `size` bytes: the smallest that holds
  // them, or else the largest.
  std::string Take(size_t size) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (images_.empty()) return {};
    size_t best = 0;
    for (size_t i = 1; i < images_.size(); ++i) {
      const size_t c = images_[i].capacity(), b = images_[best].capacity();
      if (b >= size ? c >= size && c < b : c > b) best = i;
    }
    std::string image = std::move(images_[best]);
    images_.erase(images_.begin() + static_cast<std::ptrdiff_t>(best));
    kept_ -= image.capacity();
    return image;
  }
  void Give(std::string image) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (kept_ + image.capacity() > kKeptBytes) return;
    kept_ += image.capacity();
    images_.push_back(std::move(image));
  }

 private:
  static constexpr size_t kKeptBytes = size_t{64} << 20;
  std::mutex mutex_;
  std::vector<std::string> images_;
  size_t kept_ = 0;
};

FileImagePool& ImagePool() {
  static FileImagePool* pool = new FileImagePool;  // never destroyed: used until the end
  return *pool;
}

// The level files of a work set, each read whole while this lives, and
// open for writing too where the file system allows it. A field is written
// with a positioned write where it lies: a stop at any point leaves every
// record whole.
class LevelFileSet {
 public:
  LevelFileSet(const std::filesystem::path& workBase, const std::vector<std::string>& levelExts) {
    files_.resize(levelExts.size());
    views_.resize(levelExts.size());
    for (size_t i = 0; i < levelExts.size(); ++i) Open(i, workBase.string() + levelExts[i]);
  }
  ~LevelFileSet() {
    for (File& f : files_) {
      if (f.changed) RecordFileChanged(f.path);
      if (f.fd >= 0) ::close(f.fd);
      ImagePool().Give(std::move(f.bytes));
    }
  }
  LevelFileSet(const LevelFileSet&) = delete;
  LevelFileSet& operator=(const LevelFileSet&) = delete;

  const std::vector<std::string_view>& Views() const { return views_; }

  // Puts `bytes` at `offset` of level file i when they differ from what it
  // holds; true when the file holds them afterwards.
  bool Put(size_t i, size_t offset, std::string_view bytes) {
    File& f = files_[i];
    if (offset + bytes.size() > f.bytes.size()) return false;
    if (views_[i].substr(offset, bytes.size()) == bytes) return true;
    if (!f.writable) return false;
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n =
          ::pwrite(f.fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<size_t>(n);
      f.changed = true;
    }
    if (done < bytes.size()) return false;
    f.bytes.replace(offset, bytes.size(), bytes);
    return true;
  }

 private:
  struct File {
    std::filesystem::path path;
    int fd = -1;
    std::string bytes;  // the file's bytes as read
    bool writable = false;
    bool changed = false;
  };

  void Open(size_t i, const std::string& name) {
    File& f = files_[i];
    f.path = fs::ResolveNoCase(std::filesystem::path(name));
    f.fd = ::open(f.path.c_str(), O_RDWR | O_CLOEXEC);
    f.writable = f.fd >= 0;
    if (f.fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
      f.fd = ::open(f.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (f.fd < 0) return;
    struct stat info {};
    if (::fstat(f.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) return;
    const size_t size = static_cast<size_t>(info.st_size);
    std::string bytes = ImagePool().Take(size);
    bytes.resize(size);  // room used before is not cleared again
    for (size_t got = 0; got < size;) {
      const ssize_t n = ::pread(f.fd, bytes.data() + got, size - got, static_cast<off_t>(got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {  // an unreadable file holds no sheet, as an empty one
        ImagePool().Give(std::move(bytes));
        return;
      }
      got += static_cast<size_t>(n);
    }
    f.bytes = std::move(bytes);
    views_[i] = f.bytes;
  }

  std::vector<File> files_;
  std::vector<std::string_view> views_;
};

int PageNoWrite(const std::filesystem::path& workBase, int recordLength, std::string_view numberBase,
                int rowsPerPage, const std::vector<std::string>& levelExts, bool leaveOutX) {
  const PagePlanRule rule{recordLength, IsHexBase(numberBase), rowsPerPage, leaveOutX};
  if (rowsPerPage < 1 || recordLength < kPageFieldPos + kPageFieldWidth - 1) return 0;
  LevelFileSet levels(workBase, levelExts);
  const PagePlan plan = PagePlanMake(levels.Views(), rule);
  int numbered = 0;
  for (const PagePlanSheet& sheet : plan.sheets) {
    if (sheet.rows.empty()) continue;
    const size_t offset =
        static_cast<size_t>(sheet.rows.front().record - 1) * static_cast<size_t>(recordLength) + kPageFieldPos - 1;
    if (levels.Put(static_cast<size_t>(sheet.level - 1), offset, PageFieldText(sheet.firstPage, rule.hex)))
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
  LevelFileSet levels(workBase, levelExts);
  return PagePlanMake(levels.Views(), rule);
}

int PageNoWrite2(const std::filesystem::path& workBase, const std::filesystem::path& /*programFolder*/,
                 int recordLength, std::string_view numberBase, int rowsPerPage,
                 const std::vector<std::string>& levelExts) {
  return PageNoWrite(workBase, recordLength, numberBase, rowsPerPage, levelExts, false);
}

int PageNoWriteOrvi(const std::filesystem::path& workBase, const std::filesystem::path& /*programFolder*/,
                    int recordLength, std::string_view numberBase, int rowsPerPage,
                    const std::vector<std::string>& levelExts) {
  return PageNoWrite(workBase, recordLength, numberBase, rowsPerPage, levelExts, true);
}

}  // namespace kv
