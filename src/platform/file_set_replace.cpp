#include "platform/file_set_replace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/durable_write.h"
#include "platform/fs.h"
#include "platform/machine.h"

namespace kv::fs {

namespace {

constexpr char kSep = '~';
constexpr std::string_view kIntentMagic = "KORVANE-INTENT 1";
constexpr std::string_view kNoteMagic = "KORVANE-NOTE 1";

std::string SafeHost(const std::string& host) {
  std::string out;
  for (char c : host) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                       c == '_' || c == '.';
    out += plain ? c : '_';
  }
  return out.empty() ? std::string("_") : out;
}

const std::string& ThisHost() {
  static const std::string host = SafeHost(LocalMachineName());
  return host;
}

bool SameOwner(const FileOwner& a, const FileOwner& b) {
  return a.host == b.host && a.pid == b.pid && a.token == b.token;
}

// Size and checksum of a file; nullopt when it cannot be read.
struct Fingerprint {
  std::uintmax_t size = 0;
  unsigned long crc = 0;
  bool operator==(const Fingerprint&) const = default;
};
std::optional<Fingerprint> FingerprintOf(const stdfs::path& p) {
  int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  Fingerprint f;
  f.crc = crc32_z(0L, Z_NULL, 0);
  std::vector<unsigned char> buf(1 << 18);
  for (;;) {
    ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    f.crc = crc32_z(f.crc, buf.data(), static_cast<size_t>(n));
    f.size += static_cast<std::uintmax_t>(n);
  }
  ::close(fd);
  return f;
}

// Text with a closing line "end <crc of everything before>"; the lines
// before it, or nullopt when the text is torn or altered.
std::string Sealed(const std::string& body) { return body + "end " + Hex32(Crc(body)) + "\n"; }
std::optional<std::vector<std::string>> Unsealed(const std::string& text, std::string_view magic) {
  const size_t end = text.rfind("end ");
  if (end == std::string::npos || (end != 0 && text[end - 1] != '\n')) return std::nullopt;
  const std::string body = text.substr(0, end);
  if (text.substr(end) != "end " + Hex32(Crc(body)) + "\n") return std::nullopt;
  std::vector<std::string> lines;
  std::istringstream in(body);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  if (lines.empty() || lines.front() != magic) return std::nullopt;
  lines.erase(lines.begin());
  return lines;
}

struct IntentPut {
  std::string temp, finalName;
  Fingerprint print;
};
struct Intent {
  std::vector<IntentPut> puts;
  std::vector<std::string> removals;
};

std::string IntentText(const Intent& in) {
  std::string body = std::string(kIntentMagic) + "\n";
  for (const IntentPut& p : in.puts)
    body += "put " + std::to_string(p.print.size) + " " + Hex32(p.print.crc) + " " + p.temp + "\t" + p.finalName + "\n";
  for (const std::string& r : in.removals) body += "remove " + r + "\n";
  return Sealed(body);
}

// The record's content, checked: every temporary is one of `owner`'s for its
// final, every name a plain name of the folder.
std::optional<Intent> ParseIntent(const std::string& text, const FileOwner& owner) {
  std::optional<std::vector<std::string>> lines = Unsealed(text, kIntentMagic);
  if (!lines) return std::nullopt;
  Intent in;
  for (const std::string& line : *lines) {
    if (line.rfind("remove ", 0) == 0) {
      std::string name = line.substr(7);
      if (!RecordableName(name)) return std::nullopt;
      in.removals.push_back(name);
      continue;
    }
    if (line.rfind("put ", 0) != 0) return std::nullopt;
    std::istringstream fields(line.substr(4));
    IntentPut p;
    std::string crc;
    if (!(fields >> p.print.size >> crc) || crc.size() != 8 ||
        crc.find_first_not_of("0123456789abcdef") != std::string::npos)
      return std::nullopt;
    p.print.crc = std::stoul(crc, nullptr, 16);
    std::string rest;
    std::getline(fields, rest);
    if (rest.empty() || rest.front() != ' ') return std::nullopt;
    rest.erase(0, 1);
    const size_t tab = rest.find('\t');
    if (tab == std::string::npos) return std::nullopt;
    p.temp = rest.substr(0, tab);
    p.finalName = rest.substr(tab + 1);
    if (!RecordableName(p.temp) || !RecordableName(p.finalName)) return std::nullopt;
    std::optional<OwnedName> t = ParseOwnedName(p.temp);
    if (!t || t->kind != "tmp" || !SameOwner(t->owner, owner) || t->finalName != p.finalName) return std::nullopt;
    in.puts.push_back(std::move(p));
  }
  if (in.puts.empty()) return std::nullopt;
  return in;
}

bool Exists(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::symlink_status(p, ec).type() != stdfs::file_type::not_found && !ec;
}

void RemoveFile(const stdfs::path& p) {
  std::error_code ec;
  stdfs::remove(p, ec);
}

std::vector<std::string> FolderNames(const stdfs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (stdfs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool Wanted(const std::string& finalName, const std::vector<std::string>& finals) {
  if (finals.empty()) return true;
  return std::any_of(finals.begin(), finals.end(),
                     [&](const std::string& f) { return NameEqualsNoCase(f, finalName); });
}

// Removes the temporaries of one writer's replacement, and its record.
void Discard(const stdfs::path& folder, const std::string& recordName, const FileOwner& owner) {
  for (const std::string& n : FolderNames(folder)) {
    std::optional<OwnedName> o = ParseOwnedName(n);
    if (o && o->kind == "tmp" && SameOwner(o->owner, owner)) RemoveFile(folder / n);
  }
  RemoveFile(folder / recordName);
  SyncFolder(folder);
}

bool Intact(const stdfs::path& temp, const IntentPut& p, const TemporaryCheck& check) {
  std::optional<Fingerprint> f = FingerprintOf(temp);
  return f && *f == p.print && (!check || check(temp));
}

// Finishes or discards one record whose writer is gone. True when finished.
bool SettleRecord(const stdfs::path& folder, const std::string& recordName, const FileOwner& owner,
                  const TemporaryCheck& check) {
  std::error_code ec;
  std::optional<std::string> text = ReadFileBytes(folder / recordName, ec);
  if (!text) return false;  // unreadable: left as it is
  std::optional<Intent> in = ParseIntent(*text, owner);
  if (!in) {
    Discard(folder, recordName, owner);
    return false;
  }
  std::vector<const IntentPut*> pending;
  for (const IntentPut& p : in->puts)
    if (Exists(folder / p.temp)) pending.push_back(&p);
  const bool started = pending.size() < in->puts.size();
  if (!started) {
    // Nothing is renamed yet: all the new files or none.
    for (const IntentPut* p : pending)
      if (!Intact(folder / p->temp, *p, check)) {
        Discard(folder, recordName, owner);
        return false;
      }
  }
  for (const IntentPut* p : pending) {
    if (started && !Intact(folder / p->temp, *p, check)) {
      RemoveFile(folder / p->temp);  // damaged after it was complete: the old file stays
      continue;
    }
    std::error_code rec;
    stdfs::rename(folder / p->temp, folder / p->finalName, rec);
  }
  for (const std::string& r : in->removals) RemoveFile(folder / r);
  SyncFolder(folder);
  RemoveFile(folder / recordName);
  SyncFolder(folder);
  return true;
}

std::optional<stdfs::file_time_type> WriteTime(const stdfs::path& p) {
  std::error_code ec;
  stdfs::file_time_type t = stdfs::last_write_time(p, ec);
  if (ec) return std::nullopt;
  return t;
}

// When process `pid` started (seconds since the epoch); nullopt when unknown.
std::optional<double> ProcessStart(long pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return std::nullopt;
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  // Fields after the command: state is field 3, start time field 22.
  for (int i = 3; i <= 22; ++i)
    if (!(fields >> field)) return std::nullopt;
  try {
    const double ticks = std::stod(field);
    std::ifstream sys("/proc/stat");
    for (std::string l; std::getline(sys, l);)
      if (l.rfind("btime ", 0) == 0)
        return std::stod(l.substr(6)) + ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

}  // namespace

FileOwner ThisProcess() {
  static std::mt19937_64 random(std::random_device{}());
  static unsigned counter = 0;
  char token[32];
  std::snprintf(token, sizeof token, "%x%06llx", ++counter, static_cast<unsigned long long>(random() & 0xFFFFFF));
  return {ThisHost(), static_cast<long>(::getpid()), token};
}

std::string MakeOwnedName(std::string_view finalName, const FileOwner& owner, std::string_view kind) {
  return "." + std::string(finalName) + kSep + owner.host + kSep + std::to_string(owner.pid) + kSep + owner.token +
         "." + std::string(kind);
}

std::optional<OwnedName> ParseOwnedName(std::string_view name) {
  if (name.size() < 2 || name.front() != '.') return std::nullopt;
  size_t dot = name.rfind('.');
  if (dot == 0) return std::nullopt;
  OwnedName out;
  out.kind = std::string(name.substr(dot + 1));
  // The archive library writes a temporary of its own beside ours,
  // "<our temporary>.XXXXXX", and renames it over ours when it closes; a kill
  // in between leaves it, and it belongs to the writer of ours.
  if (const size_t inner = name.rfind('.', dot - 1);
      out.kind.size() == 6 && inner != std::string_view::npos && inner > 0 &&
      name.substr(inner + 1, dot - inner - 1) == "tmp") {
    dot = inner;
    out.kind = "tmp";
  }
  if (out.kind != "tmp" && out.kind != "intent" && out.kind != "note" && out.kind != "journal") return std::nullopt;
  std::string_view rest = name.substr(1, dot - 1);
  // From the right: token, pid, host; what is left is the final name.
  std::string_view parts[3];
  for (std::string_view& part : parts) {
    const size_t sep = rest.rfind(kSep);
    if (sep == std::string_view::npos) return std::nullopt;
    part = rest.substr(sep + 1);
    rest = rest.substr(0, sep);
  }
  if (rest.empty() || parts[0].empty() || parts[2].empty() || parts[1].empty()) return std::nullopt;
  if (!std::all_of(parts[1].begin(), parts[1].end(), [](char c) { return c >= '0' && c <= '9'; }) ||
      parts[1].size() > 9)
    return std::nullopt;
  out.finalName = std::string(rest);
  out.owner.token = std::string(parts[0]);
  out.owner.pid = std::stol(std::string(parts[1]));
  out.owner.host = std::string(parts[2]);
  return out;
}

bool OwnerGone(const FileOwner& owner, const stdfs::path& p) {
  const std::optional<stdfs::file_time_type> written = WriteTime(p);
  if (!written) return false;  // gone already, or not ours to judge
  if (owner.host != ThisHost()) return stdfs::file_time_type::clock::now() - *written >
                                       std::chrono::seconds(kForeignLeftoverAge);
  // This process runs one replacement at a time: what it left is over.
  if (owner.pid == static_cast<long>(::getpid())) return true;
  if (owner.pid <= 0 || (::kill(static_cast<pid_t>(owner.pid), 0) != 0 && errno == ESRCH)) return true;
  // The number was given to a later process.
  struct stat s {};
  const std::optional<double> started = ProcessStart(owner.pid);
  return started && ::stat(p.c_str(), &s) == 0 && *started > static_cast<double>(s.st_mtime) + 2.0;
}

// ---------------------------------------------------------------------------

FileSetReplace::FileSetReplace(stdfs::path folder, std::string label)
    : folder_(folder.empty() ? stdfs::path(".") : std::move(folder)), label_(std::move(label)), owner_(ThisProcess()) {}

FileSetReplace::~FileSetReplace() {
  if (committed_) return;
  for (const Put& p : puts_) RemoveFile(folder_ / p.temp);
  if (note_) RemoveFile(*note_);
}

void FileSetReplace::WriteNote() {
  if (!noteFolder_ || note_) return;
  std::error_code ec;
  const stdfs::path where = stdfs::absolute(folder_, ec);
  // A folder whose name cannot stand on a line gets no note: the open of the
  // files still finds the record.
  if (ec || where.string().find('\n') != std::string::npos) return;
  const stdfs::path note = *noteFolder_ / MakeOwnedName(label_, owner_, "note");
  const std::string body = std::string(kNoteMagic) + "\n" + where.string() + "\n" +
                           MakeOwnedName(label_, owner_, "intent") + "\n";
  if (WriteNewFile(note, Sealed(body), ec)) note_ = note;
}

stdfs::path FileSetReplace::Temporary(const std::string& finalName, std::error_code& ec) {
  return Temporary(finalName, std::string_view(), ec);
}

stdfs::path FileSetReplace::Temporary(const std::string& finalName, std::string_view bytes, std::error_code& ec) {
  ec.clear();
  if (!RecordableName(finalName)) {
    ec = Errno(EINVAL);
    return {};
  }
  WriteNote();
  const std::string name = MakeOwnedName(finalName, owner_, "tmp");
  if (!WriteNewFile(folder_ / name, bytes, ec)) return {};
  puts_.push_back({name, finalName});
  return folder_ / name;
}

void FileSetReplace::RemoveAfter(const std::string& finalName) { removals_.push_back(finalName); }

bool FileSetReplace::Commit(std::error_code& ec, const RenameObserver& observer) {
  ec.clear();
  if (committed_) return true;
  auto dropNote = [&] {
    if (note_) RemoveFile(*note_);
    note_.reset();
  };
  for (const std::string& r : removals_)
    if (!RecordableName(r)) {
      ec = Errno(EINVAL);
      return false;
    }
  // A final that no file can be renamed over (a folder in the way) is found
  // before anything is replaced.
  for (const Put& p : puts_) {
    std::error_code sec;
    const stdfs::file_type type = stdfs::symlink_status(folder_ / p.finalName, sec).type();
    if (type == stdfs::file_type::directory) {
      ec = Errno(EISDIR);
      return false;
    }
  }
  // Removals alone need no record: each is done or not, and all can be
  // done again.
  if (puts_.empty()) {
    for (const std::string& r : removals_) RemoveFile(folder_ / r);
    SyncFolder(folder_);
    committed_ = true;
    dropNote();
    return true;
  }
  // One file alone needs no record: its rename is all or nothing.
  if (puts_.size() == 1 && removals_.empty()) {
    if (::rename((folder_ / puts_[0].temp).c_str(), (folder_ / puts_[0].finalName).c_str()) != 0) {
      ec = Errno(errno);
      return false;
    }
    committed_ = true;
    SyncFolder(folder_);
    dropNote();
    if (observer) observer(1);
    return true;
  }

  Intent in;
  for (const Put& p : puts_) {
    std::optional<Fingerprint> f = FingerprintOf(folder_ / p.temp);
    if (!f) {
      ec = Errno(EIO);
      return false;
    }
    in.puts.push_back({p.temp, p.finalName, *f});
  }
  in.removals = removals_;
  const std::string recordName = MakeOwnedName(label_, owner_, "intent");
  const stdfs::path record = folder_ / recordName;
  if (!WriteNewFile(record, IntentText(in), ec)) {
    dropNote();
    return false;
  }
  intentTime_ = WriteTime(record);
  if (observer) observer(0);

  size_t done = 0;
  for (int attempt = 0; attempt < 2 && done < puts_.size(); ++attempt) {
    for (; done < puts_.size(); ++done) {
      if (::rename((folder_ / puts_[done].temp).c_str(), (folder_ / puts_[done].finalName).c_str()) != 0) {
        ec = Errno(errno);
        break;
      }
      if (observer) observer(static_cast<int>(done) + 1);
    }
    if (done == 0) {
      // Nothing replaced: the record goes, the temporaries with this object.
      RemoveFile(record);
      SyncFolder(folder_);
      dropNote();
      return false;
    }
  }
  committed_ = true;  // from here the temporaries belong to the record
  if (done < puts_.size()) return false;  // the record stays: SettleIntents finishes it
  for (const std::string& r : removals_) RemoveFile(folder_ / r);
  SyncFolder(folder_);
  RemoveFile(record);
  SyncFolder(folder_);
  dropNote();
  ec.clear();
  return true;
}

// ---------------------------------------------------------------------------

SettleOutcome SettleIntents(const stdfs::path& folder, const std::vector<std::string>& finals,
                            const TemporaryCheck& check) {
  SettleOutcome out;
  for (const std::string& n : FolderNames(folder)) {
    std::optional<OwnedName> o = ParseOwnedName(n);
    if (!o || o->kind != "intent" || !OwnerGone(o->owner, folder / n)) continue;
    if (!finals.empty()) {
      // The record names its finals; its label is only the first of them.
      std::error_code ec;
      std::optional<std::string> text = ReadFileBytes(folder / n, ec);
      std::optional<Intent> in = text ? ParseIntent(*text, o->owner) : std::nullopt;
      bool names = Wanted(o->finalName, finals);
      if (in)
        for (const IntentPut& p : in->puts) names = names || Wanted(p.finalName, finals);
      if (!names) continue;
    }
    if (SettleRecord(folder, n, o->owner, check))
      ++out.finished;
    else
      ++out.discarded;
  }
  return out;
}

SettleOutcome SettleNotedIntents(const stdfs::path& noteFolder, const TemporaryCheck& check) {
  SettleOutcome out;
  for (const std::string& n : FolderNames(noteFolder)) {
    std::optional<OwnedName> o = ParseOwnedName(n);
    if (!o || o->kind != "note" || !OwnerGone(o->owner, noteFolder / n)) continue;
    std::error_code ec;
    std::optional<std::string> text = ReadFileBytes(noteFolder / n, ec);
    std::optional<std::vector<std::string>> lines = text ? Unsealed(*text, kNoteMagic) : std::nullopt;
    if (lines && lines->size() == 2) {
      const stdfs::path folder = (*lines)[0];
      const std::string& recordName = (*lines)[1];
      std::optional<OwnedName> r = ParseOwnedName(recordName);
      // Only the files of the same writer, in the folder the note names.
      if (r && r->kind == "intent" && SameOwner(r->owner, o->owner) && RecordableName(recordName)) {
        if (!Exists(folder / recordName))
          Discard(folder, recordName, r->owner);  // stopped before its record: its temporaries go
        else if (SettleRecord(folder, recordName, r->owner, check))
          ++out.finished;
        else
          ++out.discarded;
      }
    }
    RemoveFile(noteFolder / n);
  }
  return out;
}

int RemoveLeftovers(const stdfs::path& folder, const std::vector<std::string>& finals,
                    std::optional<stdfs::file_time_type> liveIntent, const FileOwner* keep,
                    const TemporaryCheck& check) {
  // After a save, a record older than it is discarded below, never finished
  // over what that save wrote.
  if (!liveIntent) SettleIntents(folder, finals, check);
  auto older = [&](const stdfs::path& p) {
    const std::optional<stdfs::file_time_type> t = WriteTime(p);
    return liveIntent && t && *t < *liveIntent;
  };
  int removed = 0;
  // Records first: those a save that just ran superseded are discarded; the
  // writers of the others still own their temporaries.
  std::vector<FileOwner> recordOwners;
  for (const std::string& n : FolderNames(folder)) {
    std::optional<OwnedName> o = ParseOwnedName(n);
    if (!o || o->kind != "intent" || (keep && SameOwner(o->owner, *keep))) continue;
    if (older(folder / n) && Wanted(o->finalName, finals)) {
      Discard(folder, n, o->owner);
      ++removed;
    } else {
      recordOwners.push_back(o->owner);
    }
  }
  for (const std::string& n : FolderNames(folder)) {
    std::optional<OwnedName> o = ParseOwnedName(n);
    if (!o || o->kind != "tmp" || !Wanted(o->finalName, finals) || (keep && SameOwner(o->owner, *keep))) continue;
    if (std::any_of(recordOwners.begin(), recordOwners.end(),
                    [&](const FileOwner& r) { return SameOwner(r, o->owner); }))
      continue;
    const stdfs::path p = folder / n;
    if (OwnerGone(o->owner, p) || older(p)) {
      RemoveFile(p);
      ++removed;
    }
  }
  return removed;
}

}  // namespace kv::fs
