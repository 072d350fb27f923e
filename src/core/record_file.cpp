#include "core/record_file.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/vfs.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace kv {

// The cached blocks of one file (by device and inode). Only the cache's mutex
// guards it.
struct CachedFile {
  struct FreeBytes {
    void operator()(char* p) const { std::free(p); }
  };
  struct Block {
    std::unique_ptr<char, FreeBytes> data;  // none: not read
    std::int64_t length = 0;                // bytes held (the last block may be short)
    std::int64_t room = 0;                  // bytes taken from memory
    std::uint64_t lastUse = 0;
  };
  std::uint64_t dev = 0, ino = 0;
  std::int64_t size = 0;  // the file's length: as found at opening, grown by writes
  struct timespec ctime {};
  struct timespec mtime {};
  bool current = true;    // false once dropped: holders read the file itself
  bool reusable = true;   // false once written through: a later opening cannot match the stat
  bool everRead = false;
  std::vector<Block> blocks;
  // The links of every record, read for chain walks; none until then, and
  // again none once the file is written through.
  std::unique_ptr<LevelLinks> links;
  int linksLength = 0;
  bool linksHex = false;
};

namespace {

constexpr int kMaxRecordLength = 512;
// Blocks hold whole records of either length; a file up to kWholeFileBytes
// is read in one call at its first record.
constexpr std::int64_t kBlockBytes = std::int64_t{2} << 20;
// Blocks of at least half this are kept in large pages where the system
// offers them: records are read in chain order, all over a file, and small
// pages would cost a translation miss for nearly every record.
constexpr std::int64_t kLargePage = std::int64_t{2} << 20;
constexpr std::int64_t kWholeFileBytes = std::int64_t{8} << 20;
constexpr std::int64_t kCacheBytes = std::int64_t{64} << 20;
// A file changed this recently may still be in the middle of a write: its
// blocks are not kept for later openings.
constexpr std::int64_t kSettleNanoseconds = 100'000'000;
constexpr size_t kMaxUnusedFiles = 64;

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path, int err) {
  throw RecordFileError(what + " " + path.string() + ": " + std::strerror(err));
}

std::int64_t Nanoseconds(const struct timespec& t) {
  return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

class BlockCache {
 public:
  std::mutex mutex;

  // The cached file for the file open as `fd`, or none when its blocks may
  // not be kept: a file changed within the settling time or whose change
  // time has no fraction of a second, or one on a file system not known to
  // keep fine change times locally (a network file system may answer from
  // its own cache).
  std::shared_ptr<CachedFile> Attach(int fd, const struct stat& info) {
    const Key key{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    auto it = files_.find(key);
    if (it != files_.end()) {
      const CachedFile& f = *it->second;
      if (f.reusable && f.size == info.st_size && SameTime(f.ctime, info.st_ctim) && SameTime(f.mtime, info.st_mtim))
        return it->second;
      Drop(it);
    }
    if (info.st_ctim.tv_nsec == 0) return nullptr;
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (Nanoseconds(now) - Nanoseconds(info.st_ctim) < kSettleNanoseconds) return nullptr;
    if (!LocalFineTimes(fd, key.first)) return nullptr;
    auto f = std::make_shared<CachedFile>();
    f->dev = key.first;
    f->ino = key.second;
    f->size = info.st_size;
    f->ctime = info.st_ctim;
    f->mtime = info.st_mtim;
    f->blocks.resize(static_cast<size_t>((f->size + kBlockBytes - 1) / kBlockBytes));
    ForgetUnused();
    files_.emplace(key, f);
    return f;
  }

  // The bytes of `length` at `offset` of the file into `out`: false when the
  // cache cannot give them (not read, a read failed, the file is shorter
  // than known), the caller then reads the file.
  bool Read(CachedFile& f, int fd, std::int64_t offset, int length, std::string& out) {
    if (!f.current || offset + length > f.size) return false;
    const size_t b = static_cast<size_t>(offset / kBlockBytes);
    if (!f.blocks[b].data && !Load(f, fd, b)) {
      DropFile(f);
      return false;
    }
    CachedFile::Block& block = f.blocks[b];
    const std::int64_t at = offset - static_cast<std::int64_t>(b) * kBlockBytes;
    if (at + length > block.length) return false;
    block.lastUse = ++clock_;
    out.assign(block.data.get() + at, static_cast<size_t>(length));
    return true;
  }

  // The links of every record of `length` bytes of the file, read out of its
  // blocks once and kept; none when the cache cannot give every block.
  const LevelLinks* Links(CachedFile& f, int fd, int length, bool hex, LevelFileProblem& problem) {
    problem = {};
    if (!f.current) return nullptr;
    if (f.links && f.linksLength == length && f.linksHex == hex) return f.links.get();
    f.links.reset();
    auto links = std::make_unique<LevelLinks>();
    if (f.size % length != 0) {
      links->Reset(0, hex);
      problem = {LevelFault::BadLength, 0};
      return nullptr;
    }
    const std::int64_t count = f.size / length;
    if (count > INT_MAX) return nullptr;
    links->Reset(static_cast<int>(count), hex);
    for (size_t b = 0; b < f.blocks.size(); ++b) {
      if (!f.blocks[b].data && !Load(f, fd, b)) {
        DropFile(f);
        return nullptr;
      }
      const CachedFile::Block& block = f.blocks[b];
      const std::int64_t start = static_cast<std::int64_t>(b) * kBlockBytes;  // a whole number of records
      for (std::int64_t at = 0; at + length <= block.length; at += length)
        links->Add(static_cast<int>((start + at) / length) + 1,
                   std::string_view(block.data.get() + at, static_cast<size_t>(length)));
    }
    f.links = std::move(links);
    f.linksLength = length;
    f.linksHex = hex;
    return f.links.get();
  }

  // Bytes written at `offset` of the file (dev, ino) into its cached blocks.
  void Written(std::uint64_t dev, std::uint64_t ino, std::int64_t offset, const char* bytes, std::int64_t length) {
    auto it = files_.find({dev, ino});
    if (it == files_.end()) return;
    CachedFile& f = *it->second;
    f.reusable = false;
    f.links.reset();
    const size_t b = static_cast<size_t>(offset / kBlockBytes);
    const std::int64_t at = offset - static_cast<std::int64_t>(b) * kBlockBytes;
    const std::int64_t end = offset + length;
    if (b < f.blocks.size() && f.blocks[b].data) {
      if (at + length <= f.blocks[b].length)
        std::memcpy(f.blocks[b].data.get() + at, bytes, static_cast<size_t>(length));
      else
        Free(f.blocks[b]);  // the write runs past what the block holds
    }
    if (end > f.size) {
      // The file grows: the block that held its old end holds less than the
      // file now does there.
      if (f.size > 0) {
        CachedFile::Block& last = f.blocks[static_cast<size_t>((f.size - 1) / kBlockBytes)];
        if (last.data && last.length < kBlockBytes) Free(last);
      }
      f.size = end;
      f.blocks.resize(static_cast<size_t>((end + kBlockBytes - 1) / kBlockBytes));
    }
  }

  // Drops the cached file (dev, ino), if any.
  void Forget(std::uint64_t dev, std::uint64_t ino) {
    auto it = files_.find({dev, ino});
    if (it != files_.end()) Drop(it);
  }

  void DropFile(CachedFile& f) {
    auto it = files_.find({f.dev, f.ino});
    if (it != files_.end() && it->second.get() == &f) {
      Drop(it);
    } else {
      FreeAll(f);
      f.current = false;
    }
  }

 private:
  using Key = std::pair<std::uint64_t, std::uint64_t>;

  void Free(CachedFile::Block& block) {
    if (!block.data) return;
    block.data.reset();
    bytes_ -= block.room;
    block.length = block.room = 0;
  }

  // Memory for a block of `length` bytes; false when there is none.
  bool Allocate(CachedFile::Block& block, std::int64_t length) {
    char* p = nullptr;
    std::int64_t room = length;
    if (length >= kLargePage / 2) {
      room = (length + kLargePage - 1) / kLargePage * kLargePage;
      p = static_cast<char*>(std::aligned_alloc(static_cast<size_t>(kLargePage), static_cast<size_t>(room)));
      if (p) ::madvise(p, static_cast<size_t>(room), MADV_HUGEPAGE);  // a hint: without it, small pages
    } else {
      p = static_cast<char*>(std::malloc(static_cast<size_t>(length)));
    }
    if (!p) return false;
    block.data.reset(p);
    block.length = length;
    block.room = room;
    bytes_ += room;
    return true;
  }

  void FreeAll(CachedFile& f) {
    for (CachedFile::Block& block : f.blocks) Free(block);
    f.links.reset();
  }

  void Drop(std::map<Key, std::shared_ptr<CachedFile>>::iterator it) {
    FreeAll(*it->second);
    it->second->current = false;
    files_.erase(it);
  }

  // Files nobody holds open and with nothing cached are let go.
  void ForgetUnused() {
    if (files_.size() < kMaxUnusedFiles) return;
    for (auto it = files_.begin(); it != files_.end();) {
      const bool empty = std::none_of(it->second->blocks.begin(), it->second->blocks.end(),
                                      [](const CachedFile::Block& b) { return b.data != nullptr; });
      if (empty && it->second.use_count() == 1)
        it = files_.erase(it);
      else
        ++it;
    }
  }

  bool LocalFineTimes(int fd, std::uint64_t dev) {
    auto known = localDevices_.find(dev);
    if (known != localDevices_.end()) return known->second;
    struct statfs info {};
    bool fine = false;
    if (::fstatfs(fd, &info) == 0) {
      switch (static_cast<unsigned long>(info.f_type)) {
        case EXT4_SUPER_MAGIC:  // also ext2 and ext3
        case XFS_SUPER_MAGIC:
        case BTRFS_SUPER_MAGIC:
        case TMPFS_MAGIC:
        case F2FS_SUPER_MAGIC:
        case OVERLAYFS_SUPER_MAGIC: fine = true; break;
        default: break;
      }
    }
    localDevices_.emplace(dev, fine);
    return fine;
  }

  static bool ReadFully(int fd, struct iovec* iov, int count, std::int64_t offset) {
    while (count > 0) {
      const ssize_t n = ::preadv(fd, iov, count, static_cast<off_t>(offset));
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      if (n == 0) return false;  // the file is shorter than it was
      offset += n;
      size_t left = static_cast<size_t>(n);
      while (count > 0 && left >= iov->iov_len) {
        left -= iov->iov_len;
        ++iov;
        --count;
      }
      if (count > 0) {
        iov->iov_base = static_cast<char*>(iov->iov_base) + left;
        iov->iov_len -= left;
      }
    }
    return true;
  }

  // Reads block b of the file, or the whole file when it is of ordinary size
  // and nothing of it has been read yet.
  bool Load(CachedFile& f, int fd, size_t b) {
    size_t first = b, last = b;
    if (!f.everRead && f.size <= kWholeFileBytes) {
      first = 0;
      last = f.blocks.size() - 1;
    }
    std::vector<struct iovec> iov;
    for (size_t i = first; i <= last; ++i) {
      CachedFile::Block& block = f.blocks[i];
      const std::int64_t start = static_cast<std::int64_t>(i) * kBlockBytes;
      if (!Allocate(block, std::min(kBlockBytes, f.size - start))) return false;
      block.lastUse = ++clock_;
      iov.push_back({block.data.get(), static_cast<size_t>(block.length)});
    }
    f.everRead = true;
    if (!ReadFully(fd, iov.data(), static_cast<int>(iov.size()), static_cast<std::int64_t>(first) * kBlockBytes))
      return false;
    Trim(f, first, last);
    return true;
  }

  // Frees the blocks used longest ago until the cache is within its bound,
  // keeping blocks first..last of f, just read.
  void Trim(const CachedFile& f, size_t first, size_t last) {
    while (bytes_ > kCacheBytes) {
      CachedFile::Block* oldest = nullptr;
      for (auto& [key, file] : files_)
        for (size_t i = 0; i < file->blocks.size(); ++i) {
          CachedFile::Block& block = file->blocks[i];
          if (!block.data || (file.get() == &f && i >= first && i <= last)) continue;
          if (!oldest || block.lastUse < oldest->lastUse) oldest = &block;
        }
      if (!oldest) return;
      Free(*oldest);
    }
  }

  std::map<Key, std::shared_ptr<CachedFile>> files_;
  std::map<std::uint64_t, bool> localDevices_;
  std::int64_t bytes_ = 0;
  std::uint64_t clock_ = 0;
};

// Never destroyed: record files held by static objects may close after the
// end of main.
BlockCache& Cache() {
  static BlockCache* cache = new BlockCache;
  return *cache;
}

}  // namespace

bool IsValidRecordLength(int length) { return length == 256 || length == 512; }

void RecordFileChanged(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return;
  BlockCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  cache.Forget(static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino));
}

RecordFile::RecordFile(const std::filesystem::path& path, int recordLength, RecordFileMode mode)
    : path_(path), length_(recordLength), readOnly_(mode == RecordFileMode::ReadOnly) {
  if (!IsValidRecordLength(recordLength))
    throw RecordFileError("record length " + std::to_string(recordLength) +
                          " is not 256 or 512: " + path.string());
  int flags = readOnly_ ? O_RDONLY : O_RDWR | O_CREAT;
  fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd_ < 0) Fail("cannot open record file", path, errno);
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return;  // no cache: every read goes to the file
  if (!S_ISREG(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    throw RecordFileError("not an ordinary file: " + path.string());
  }
  dev_ = static_cast<std::uint64_t>(info.st_dev);
  ino_ = static_cast<std::uint64_t>(info.st_ino);
  BlockCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  cache_ = cache.Attach(fd_, info);
}

RecordFile::~RecordFile() {
  if (fd_ >= 0) ::close(fd_);
  if (cache_) {
    std::lock_guard<std::mutex> lock(Cache().mutex);
    cache_.reset();
  }
}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : path_(std::move(other.path_)),
      length_(other.length_),
      fd_(std::exchange(other.fd_, -1)),
      readOnly_(other.readOnly_),
      dev_(other.dev_),
      ino_(other.ino_),
      cache_(std::move(other.cache_)) {}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    length_ = other.length_;
    fd_ = std::exchange(other.fd_, -1);
    readOnly_ = other.readOnly_;
    dev_ = other.dev_;
    ino_ = other.ino_;
    std::lock_guard<std::mutex> lock(Cache().mutex);
    cache_ = std::move(other.cache_);
  }
  return *this;
}

bool RecordFile::GetRecordText(std::int32_t recordNo, std::string& bytes) const {
  if (fd_ < 0) throw RecordFileError("record file is closed: " + path_.string());
  if (recordNo < 1) return false;
  if (cache_) {
    BlockCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    if (cache.Read(*cache_, fd_, static_cast<std::int64_t>(recordNo - 1) * length_, length_, bytes)) return true;
  }
  return ReadDirect(recordNo, bytes);
}

bool RecordFile::ReadDirect(std::int32_t recordNo, std::string& bytes) const {
  char buf[kMaxRecordLength];
  off_t offset = static_cast<off_t>(recordNo - 1) * length_;
  size_t got = 0;
  while (got < static_cast<size_t>(length_)) {
    ssize_t n = ::pread(fd_, buf + got, length_ - got, offset + static_cast<off_t>(got));
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("cannot read record " + std::to_string(recordNo) + " of", path_, errno);
    }
    if (n == 0) return false;  // the file ends before the record does
    got += static_cast<size_t>(n);
  }
  bytes.assign(buf, static_cast<size_t>(length_));
  return true;
}

void RecordFile::PutRecordText(std::int32_t recordNo, std::string_view bytes) {
  if (fd_ < 0) throw RecordFileError("record file is closed: " + path_.string());
  if (readOnly_) throw RecordFileError("record file is open for reading only: " + path_.string());
  if (recordNo < 1)
    throw RecordFileError("bad record number " + std::to_string(recordNo) + " for " + path_.string());
  char buf[kMaxRecordLength];
  size_t take = bytes.size() < static_cast<size_t>(length_) ? bytes.size() : static_cast<size_t>(length_);
  std::memcpy(buf, bytes.data(), take);
  std::memset(buf + take, ' ', static_cast<size_t>(length_) - take);
  off_t offset = static_cast<off_t>(recordNo - 1) * length_;
  BlockCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  size_t done = 0;
  while (done < static_cast<size_t>(length_)) {
    ssize_t n = ::pwrite(fd_, buf + done, length_ - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int err = n < 0 ? errno : EIO;
      cache.Forget(dev_, ino_);  // part of the record may have been written
      Fail("cannot write record " + std::to_string(recordNo) + " of", path_, err);
    }
    done += static_cast<size_t>(n);
  }
  cache.Written(dev_, ino_, static_cast<std::int64_t>(offset), buf, length_);
}

bool RecordFile::CachedChainWalk(bool hex, int first, int maxRecords, std::vector<int>& chain,
                                 std::vector<int>& nexts, LevelFileProblem& problem) const {
  if (fd_ < 0) throw RecordFileError("record file is closed: " + path_.string());
  chain.clear();
  nexts.clear();
  if (!cache_) return false;
  BlockCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  const LevelLinks* links = cache.Links(*cache_, fd_, length_, hex, problem);
  if (problem) return true;
  if (!links) return false;
  problem = links->Walk(first, maxRecords, chain);
  nexts.reserve(chain.size());
  for (int n : chain) nexts.push_back(links->Next(n));
  return true;
}

std::int64_t RecordFile::FileLength() const {
  if (fd_ < 0) throw RecordFileError("record file is closed: " + path_.string());
  struct stat info {};
  if (::fstat(fd_, &info) != 0) Fail("cannot measure", path_, errno);
  return static_cast<std::int64_t>(info.st_size);
}

std::int32_t RecordFile::RecordCount() const {
  std::int64_t count = FileLength() / length_;
  return count > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(count);
}

void RecordFile::Close() {
  if (fd_ < 0) return;
  if (cache_) {
    std::lock_guard<std::mutex> lock(Cache().mutex);
    cache_.reset();
  }
  int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) Fail("cannot close", path_, errno);
}

}  // namespace kv
