#include "core/ini_file.h"

#include <sys/stat.h>
#include <time.h>

#include <cerrno>
#include <algorithm>
#include <climits>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "core/ini_parse.h"
#include "platform/codepage.h"
#include "platform/fs.h"

namespace kv {
namespace {

// The default handed to the profile read: a value equal to it reads as "".
constexpr std::string_view kSentinel = "##_%@_None_@%_##";

enum class LoadState { Ok, Missing, Failed };

struct Loaded {
  LoadState state = LoadState::Missing;
  std::shared_ptr<const IniDocument> doc;
  std::filesystem::path path;  // the file found (letter case resolved)
};

// What tells one version of a file from another.
struct Stamp {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  long long mtimeNs = 0;
  long long ctimeNs = 0;
  bool operator==(const Stamp&) const = default;
};

long long Ns(const timespec& t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec; }

Stamp StampOf(const struct stat& s) {
  return Stamp{s.st_dev, s.st_ino, s.st_size, Ns(s.st_mtim), Ns(s.st_ctim)};
}

long long NowNs() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return Ns(t);
}

// Parsed files by path. A file changed within this time of being parsed may
// change again without its time stamp moving (the file system's clock is
// coarse), so such a copy is not trusted.
constexpr long long kRacyNs = 100'000'000;  // 100 ms
constexpr size_t kCacheFiles = 32;

class IniCache {
 public:
  Loaded Load(const std::filesystem::path& requested) {
    Loaded out;
    out.path = requested;
    struct stat s {};
    int err = ::stat(out.path.c_str(), &s) == 0 ? 0 : errno;
    if (err == ENOENT) {
      // Not under this spelling: look for the name without letter case.
      out.path = fs::ResolveNoCase(requested);
      if (out.path != requested) err = ::stat(out.path.c_str(), &s) == 0 ? 0 : errno;
    }
    if (err != 0) {
      out.state = (err == ENOENT || err == ENOTDIR) ? LoadState::Missing : LoadState::Failed;
      return out;
    }
    if (!S_ISREG(s.st_mode)) {
      out.state = LoadState::Failed;
      return out;
    }
    const long long statTime = NowNs();
    const Stamp stamp = StampOf(s);
    const std::string key = out.path.string();
    std::lock_guard lock(mu_);
    auto it = entries_.find(key);
    if (it != entries_.end() && it->second.stamp == stamp && !it->second.racy) {
      it->second.lastUse = ++clock_;
      out.state = LoadState::Ok;
      out.doc = it->second.doc;
      return out;
    }
    std::error_code ec;
    auto bytes = fs::ReadFileBytes(out.path, ec);
    if (!bytes) {
      out.state = ec == std::errc::no_such_file_or_directory ? LoadState::Missing : LoadState::Failed;
      return out;
    }
    out.state = LoadState::Ok;
    out.doc = std::make_shared<const IniDocument>(std::move(*bytes));
    StoreLocked(key, stamp, statTime, out.doc);
    return out;
  }

  // After a write: the file at `path` now holds `doc`.
  void Stored(const std::filesystem::path& path, std::shared_ptr<const IniDocument> doc) {
    struct stat s {};
    std::lock_guard lock(mu_);
    if (::stat(path.c_str(), &s) != 0) {
      entries_.erase(path.string());
      return;
    }
    // What this program wrote itself is trusted at once.
    StoreLocked(path.string(), StampOf(s), std::nullopt, std::move(doc));
  }

  // Writers hold this while they read, change and replace a file.
  std::mutex& WriteMutex() { return writeMu_; }

 private:
  struct Entry {
    Stamp stamp;
    bool racy = false;
    unsigned long long lastUse = 0;
    std::shared_ptr<const IniDocument> doc;
  };

  // `statTime`: when the stamp was taken (nullopt: the content is known).
  void StoreLocked(const std::string& key, const Stamp& stamp, std::optional<long long> statTime,
                   std::shared_ptr<const IniDocument> doc) {
    if (entries_.size() >= kCacheFiles && !entries_.count(key)) {
      auto oldest = entries_.begin();
      for (auto i = entries_.begin(); i != entries_.end(); ++i)
        if (i->second.lastUse < oldest->second.lastUse) oldest = i;
      entries_.erase(oldest);
    }
    Entry& e = entries_[key];
    e.stamp = stamp;
    e.racy = statTime && *statTime - std::max(stamp.mtimeNs, stamp.ctimeNs) < kRacyNs;
    e.lastUse = ++clock_;
    e.doc = std::move(doc);
  }

  std::mutex mu_;
  std::mutex writeMu_;
  std::unordered_map<std::string, Entry> entries_;
  unsigned long long clock_ = 0;
};

IniCache& Cache() {
  static IniCache cache;
  return cache;
}

// The stored value of a key as the profile read gives it; nullopt when missing.
std::optional<std::string> ReadValue(const IniDocument& doc, std::string_view section, std::string_view key) {
  auto v = doc.Find(ToSjis(section), ToSjis(key));
  if (!v) return std::nullopt;
  return std::string(*v);
}

// Cut to at most kIniMaxValueBytes without leaving the first byte of a
// double-byte character at the end.
std::string_view CutValue(std::string_view v) {
  size_t nul = v.find('\0');
  if (nul != std::string_view::npos) v = v.substr(0, nul);
  if (v.size() <= kIniMaxValueBytes) return v;
  size_t i = 0;
  while (i < kIniMaxValueBytes) {
    size_t step = IsSjisLeadByte(static_cast<unsigned char>(v[i])) ? 2 : 1;
    if (i + step > kIniMaxValueBytes) break;
    i += step;
  }
  return v.substr(0, i);
}

bool HasLineBreak(std::string_view t) { return t.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }

bool ValidNames(std::string_view section, std::string_view key) {
  std::string_view s = IniTrim(section), k = IniTrim(key);
  if (s.empty() || k.empty() || HasLineBreak(section) || HasLineBreak(key)) return false;
  return k.find('=') == std::string_view::npos && k[0] != '[' && k[0] != ';';
}

// Replaces the file with the changed document; false when it cannot.
bool Commit(const Loaded& cur, const IniDocument& changed) {
  if (cur.doc && cur.doc->Bytes() == changed.Bytes()) return true;  // nothing changes
  std::error_code ec;
  if (!fs::WriteFileAtomic(cur.path, changed.Bytes(), ec)) return false;
  Cache().Stored(cur.path, std::make_shared<const IniDocument>(changed));
  return true;
}

}  // namespace

int IniGetInt(std::string_view section, std::string_view key, const std::filesystem::path& file) {
  Loaded f = Cache().Load(file);
  if (f.state == LoadState::Failed) return 0;
  if (f.state == LoadState::Missing) return -1;
  auto v = ReadValue(*f.doc, section, key);
  if (!v || v->empty()) return -1;
  std::string_view t = *v;
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  if (i >= t.size() || t[i] < '0' || t[i] > '9') return 0;
  long long n = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    n = n * 10 + (t[i] - '0');
    if (n > static_cast<long long>(INT_MAX) + 1) n = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return static_cast<int>(-n);
  return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

bool IniGetString(std::string_view section, std::string_view key, std::string& value,
                  const std::filesystem::path& file) {
  value.clear();
  Loaded f = Cache().Load(file);
  if (f.state != LoadState::Ok) return true;
  auto v = ReadValue(*f.doc, section, key);
  if (!v) return true;
  std::string_view cut = CutValue(*v);
  if (cut.empty() || cut == kSentinel) return true;
  value = FromSjis(cut);
  return true;
}

bool IniHasSection(std::string_view section, const std::filesystem::path& file) {
  Loaded f = Cache().Load(file);
  return f.state == LoadState::Ok && f.doc->HasSection(ToSjis(section));
}

bool IniPutString(std::string_view section, std::string_view key, std::string_view value,
                  const std::filesystem::path& file) {
  if (!ValidNames(section, key) || HasLineBreak(value)) return false;
  std::lock_guard lock(Cache().WriteMutex());
  Loaded f = Cache().Load(file);
  if (f.state == LoadState::Failed) return false;  // never overwrite a file that could not be read
  IniDocument changed = f.doc ? *f.doc : IniDocument();
  changed.Set(ToSjis(section), ToSjis(key), ToSjis(value));
  return Commit(f, changed);
}

bool IniDeleteSection(std::string_view section, const std::filesystem::path& file) {
  std::lock_guard lock(Cache().WriteMutex());
  Loaded f = Cache().Load(file);
  if (f.state == LoadState::Missing) return true;
  if (f.state == LoadState::Failed) return false;
  IniDocument changed = *f.doc;
  if (!changed.RemoveSection(ToSjis(section))) return true;
  return Commit(f, changed);
}

}  // namespace kv
