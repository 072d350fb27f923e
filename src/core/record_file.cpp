#include "core/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

namespace kv {
namespace {

constexpr int kMaxRecordLength = 512;

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path, int err) {
  throw RecordFileError(what + " " + path.string() + ": " + std::strerror(err));
}

}  // namespace

bool IsValidRecordLength(int length) { return length == 256 || length == 512; }

RecordFile::RecordFile(const std::filesystem::path& path, int recordLength, RecordFileMode mode)
    : path_(path), length_(recordLength), readOnly_(mode == RecordFileMode::ReadOnly) {
  if (!IsValidRecordLength(recordLength))
    throw RecordFileError("record length " + std::to_string(recordLength) +
                          " is not 256 or 512: " + path.string());
  int flags = readOnly_ ? O_RDONLY : O_RDWR | O_CREAT;
  fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd_ < 0) Fail("cannot open record file", path, errno);
  struct stat info {};
  if (::fstat(fd_, &info) == 0 && !S_ISREG(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    throw RecordFileError("not an ordinary file: " + path.string());
  }
}

RecordFile::~RecordFile() {
  if (fd_ >= 0) ::close(fd_);
}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : path_(std::move(other.path_)),
      length_(other.length_),
      fd_(std::exchange(other.fd_, -1)),
      readOnly_(other.readOnly_) {}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    length_ = other.length_;
    fd_ = std::exchange(other.fd_, -1);
    readOnly_ = other.readOnly_;
  }
  return *this;
}

bool RecordFile::GetRecordText(std::int32_t recordNo, std::string& bytes) const {
  if (fd_ < 0) throw RecordFileError("record file is closed: " + path_.string());
  if (recordNo < 1) return false;
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
  size_t done = 0;
  while (done < static_cast<size_t>(length_)) {
    ssize_t n = ::pwrite(fd_, buf + done, length_ - done, offset + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("cannot write record " + std::to_string(recordNo) + " of", path_, errno);
    }
    if (n == 0) Fail("cannot write record " + std::to_string(recordNo) + " of", path_, EIO);
    done += static_cast<size_t>(n);
  }
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
  int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) Fail("cannot close", path_, errno);
}

}  // namespace kv
