#include "platform/record_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <optional>

#include "platform/durable_write.h"
#include "platform/fs.h"

namespace kv::fs {

namespace {

constexpr std::string_view kMagic = "KORVANE-JOURNAL 1\n";
// The seal: "end " + eight hexadecimal digits + "\n".
constexpr size_t kSealSize = 13;

std::string JournalText(const std::vector<FilePatch>& files) {
  std::string body(kMagic);
  for (const FilePatch& f : files) {
    body += "file " + std::to_string(f.size) + " " + std::to_string(f.writes.size()) + " " + f.name + "\n";
    for (const auto& [at, bytes] : f.writes) {
      body += "at " + std::to_string(at) + " " + std::to_string(bytes.size()) + "\n";
      body += bytes;
    }
  }
  return body + "end " + Hex32(Crc(body)) + "\n";
}

// Reads the journal back; nullopt when it is torn or altered.
class JournalReader {
 public:
  explicit JournalReader(std::string_view text) : text_(text) {}

  std::optional<std::vector<FilePatch>> Files() {
    if (text_.size() < kMagic.size() + kSealSize) return std::nullopt;
    const std::string_view body = text_.substr(0, text_.size() - kSealSize);
    if (text_.substr(body.size()) != "end " + Hex32(Crc(body)) + "\n") return std::nullopt;
    if (body.substr(0, kMagic.size()) != kMagic) return std::nullopt;
    text_ = body.substr(kMagic.size());
    std::vector<FilePatch> files;
    while (!text_.empty()) {
      FilePatch f;
      std::uint64_t count = 0;
      if (!Word("file ") || !Number(f.size, ' ') || !Number(count, ' ')) return std::nullopt;
      const size_t end = text_.find('\n');
      if (end == std::string_view::npos) return std::nullopt;
      f.name = std::string(text_.substr(0, end));
      text_.remove_prefix(end + 1);
      if (!RecordableName(f.name)) return std::nullopt;
      for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t at = 0, size = 0;
        if (!Word("at ") || !Number(at, ' ') || !Number(size, '\n') || size > text_.size()) return std::nullopt;
        f.writes.emplace_back(at, std::string(text_.substr(0, size)));
        text_.remove_prefix(size);
      }
      files.push_back(std::move(f));
    }
    return files;
  }

 private:
  bool Word(std::string_view w) {
    if (text_.substr(0, w.size()) != w) return false;
    text_.remove_prefix(w.size());
    return true;
  }
  bool Number(std::uint64_t& v, char after) {
    const auto [end, error] = std::from_chars(text_.data(), text_.data() + text_.size(), v);
    if (error != std::errc() || end == text_.data() || end == text_.data() + text_.size() || *end != after)
      return false;
    text_.remove_prefix(static_cast<size_t>(end - text_.data()) + 1);
    return true;
  }
  std::string_view text_;
};

bool WriteAt(int fd, std::string_view bytes, std::uint64_t at) {
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
    at += static_cast<std::uint64_t>(n);
  }
  return true;
}

// The writes of `f` into the open file, its size set and the file flushed.
bool Apply(int fd, const FilePatch& f, std::error_code& ec) {
  for (const auto& [at, bytes] : f.writes)
    if (!WriteAt(fd, bytes, at)) {
      ec = Errno(errno);
      return false;
    }
  if (::ftruncate(fd, static_cast<off_t>(f.size)) != 0 || ::fdatasync(fd) != 0) {
    ec = Errno(errno);
    return false;
  }
  return true;
}

// One file opened for the patch, with what its writes cover as it was.
struct Opened {
  int fd = -1;
  FilePatch before;
};

bool ReadAt(int fd, std::string& bytes, std::uint64_t at) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(at + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Opens the file of `f` and keeps the bytes its writes will cover (as far as
// the file reaches) and its size, to take the writes back.
bool Open(const stdfs::path& path, const FilePatch& f, Opened& out, std::error_code& ec) {
  out.fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  struct stat s {};
  if (out.fd < 0 || ::fstat(out.fd, &s) != 0) {
    ec = Errno(errno);
    return false;
  }
  out.before.size = static_cast<std::uint64_t>(s.st_size);
  for (const auto& [at, bytes] : f.writes) {
    if (at >= out.before.size) continue;
    std::string old(static_cast<size_t>(std::min<std::uint64_t>(bytes.size(), out.before.size - at)), '\0');
    if (!ReadAt(out.fd, old, at)) {
      ec = Errno(errno);
      return false;
    }
    out.before.writes.emplace_back(at, std::move(old));
  }
  return true;
}

void CloseAll(std::vector<Opened>& opened) {
  for (Opened& o : opened)
    if (o.fd >= 0) ::close(o.fd);
}

}  // namespace

PatchOutcome PatchThroughJournal(const stdfs::path& folder, const std::string& label,
                                 const std::vector<FilePatch>& files, std::string& failed, std::error_code& ec,
                                 const RenameObserver& observer) {
  ec.clear();
  std::vector<Opened> opened(files.size());
  struct Closer {
    std::vector<Opened>& o;
    ~Closer() { CloseAll(o); }
  } closer{opened};
  for (size_t i = 0; i < files.size(); ++i) {
    failed = files[i].name;
    if (!RecordableName(files[i].name)) {
      ec = Errno(EINVAL);
      return PatchOutcome::Untouched;
    }
    if (!Open(folder / files[i].name, files[i], opened[i], ec)) return PatchOutcome::Untouched;
  }

  const std::string journalName = MakeOwnedName(label, ThisProcess(), "journal");
  const stdfs::path journal = folder / journalName;
  if (!WriteNewFile(journal, JournalText(files), ec)) {
    failed = journalName;
    return PatchOutcome::Untouched;
  }
  if (observer) observer(0);

  for (size_t i = 0; i < files.size(); ++i) {
    if (Apply(opened[i].fd, files[i], ec)) {
      if (observer) observer(static_cast<int>(i) + 1);
      continue;
    }
    failed = files[i].name;
    // Taken back, the file that failed too; the journal goes only when every
    // file is as it was again.
    std::error_code undo;
    bool back = true;
    for (size_t j = 0; j <= i; ++j) back = Apply(opened[j].fd, opened[j].before, undo) && back;
    if (!back) return PatchOutcome::Pending;
    ::unlink(journal.c_str());
    SyncFolder(folder);
    return PatchOutcome::Untouched;
  }
  // Removed for good before any later change of these files: a journal that
  // came back would write its bytes over them.
  ::unlink(journal.c_str());
  SyncFolder(folder);
  return PatchOutcome::Done;
}

int SettleJournals(const stdfs::path& folder) {
  std::vector<std::pair<std::string, OwnedName>> journals;
  std::error_code ec;
  for (stdfs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::optional<OwnedName> o = ParseOwnedName(name);
    if (o && o->kind == "journal") journals.emplace_back(name, std::move(*o));
  }
  int written = 0;
  for (const auto& [name, owner] : journals) {
    const stdfs::path journal = folder / name;
    if (!OwnerGone(owner.owner, journal)) continue;
    std::optional<std::string> text = ReadFileBytes(journal, ec);
    if (!text) continue;  // unreadable: left for a later start
    if (std::optional<std::vector<FilePatch>> files = JournalReader(*text).Files()) {
      bool all = true;
      for (const FilePatch& f : *files) {
        const int fd = ::open((folder / f.name).c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) {
          all = all && errno == ENOENT;  // a file removed since has nothing to finish
          continue;
        }
        all = Apply(fd, f, ec) && all;
        ::close(fd);
      }
      if (!all) continue;  // tried again at the next start
      ++written;
    }
    ::unlink(journal.c_str());
    SyncFolder(folder);
  }
  return written;
}

}  // namespace kv::fs
