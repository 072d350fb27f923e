#include "platform/page_no_write.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/stored_number.h"
#include "platform/fs.h"

namespace kv {

namespace {

// The level files of a work set, each mapped while this lives: for reading,
// and for writing too where the file system allows it. A field is written
// into the mapping, where it lies: a stop at any point leaves every record
// whole.
class MappedLevels {
 public:
  MappedLevels(const std::filesystem::path& workBase, const std::vector<std::string>& levelExts) {
    files_.resize(levelExts.size());
    views_.resize(levelExts.size());
    for (size_t i = 0; i < levelExts.size(); ++i) Open(i, workBase.string() + levelExts[i]);
  }
  ~MappedLevels() {
    for (File& f : files_) {
      if (f.map != nullptr) ::munmap(f.map, f.size);
      if (f.fd >= 0) ::close(f.fd);
    }
  }
  MappedLevels(const MappedLevels&) = delete;
  MappedLevels& operator=(const MappedLevels&) = delete;

  const std::vector<std::string_view>& Views() const { return views_; }

  // Puts `bytes` at `offset` of level file i when they differ from what it
  // holds; true when the file holds them afterwards.
  bool Put(size_t i, size_t offset, std::string_view bytes) {
    const File& f = files_[i];
    if (offset + bytes.size() > f.size) return false;
    if (views_[i].substr(offset, bytes.size()) == bytes) return true;
    if (!f.writable) return false;
    std::memcpy(static_cast<char*>(f.map) + offset, bytes.data(), bytes.size());
    return true;
  }

 private:
  struct File {
    int fd = -1;
    void* map = nullptr;
    size_t size = 0;
    bool writable = false;
  };

  void Open(size_t i, const std::string& name) {
    File& f = files_[i];
    const std::filesystem::path path = fs::ResolveNoCase(std::filesystem::path(name));
    f.fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    f.writable = f.fd >= 0;
    if (f.fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
      f.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (f.fd < 0) return;
    struct stat info {};
    if (::fstat(f.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) return;
    const int access = f.writable ? PROT_READ | PROT_WRITE : PROT_READ;
    void* map = ::mmap(nullptr, static_cast<size_t>(info.st_size), access, MAP_SHARED, f.fd, 0);
    if (map == MAP_FAILED) return;
    f.map = map;
    f.size = static_cast<size_t>(info.st_size);
    views_[i] = std::string_view(static_cast<const char*>(map), f.size);
  }

  std::vector<File> files_;
  std::vector<std::string_view> views_;
};

int PageNoWrite(const std::filesystem::path& workBase, int recordLength, std::string_view numberBase,
                int rowsPerPage, const std::vector<std::string>& levelExts, bool leaveOutX) {
  const PagePlanRule rule{recordLength, IsHexBase(numberBase), rowsPerPage, leaveOutX};
  if (rowsPerPage < 1 || recordLength < kPageFieldPos + kPageFieldWidth - 1) return 0;
  MappedLevels levels(workBase, levelExts);
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
  MappedLevels levels(workBase, levelExts);
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
