// Packing and unpacking of the work set and of the sheet object files as zip
// archives through libzip.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <memory>
#include <set>
#include <system_error>

#include "platform/file_set_replace.h"
#include "platform/lazy_library.h"
#include "platform/packing.h"
#include "platform/packing_files.h"

namespace kv {

namespace stdfs = std::filesystem;
using namespace packing;

namespace {

// libzip, opened when an archive is first packed or read (platform/lazy_library.h),
// so the program does not link it. The calls below reach it through the
// functions Lz_<name>, which the names are mapped to after them.
LazyLibrary& Libzip() {
  static LazyLibrary lib(KORVANE_LIBZIP_FILE);
  return lib;
}

template <typename F>
F* ZipFn(const char* name) {
  return Libzip().Function<F>(name);
}

// Only zip_open may meet a library that is not there: it then fails as an
// archive that cannot be opened, and nothing else is called.
zip_t* Lz_zip_open(const char* path, int flags, int* error) {
  static auto* f = ZipFn<decltype(::zip_open)>("zip_open");
  if (!f) {
    if (error) *error = ZIP_ER_OPEN;
    return nullptr;
  }
  return f(path, flags, error);
}

#define KV_ZIP_FN(ret, name, params, args)               \
  ret Lz_##name params {                                 \
    static auto* f = ZipFn<decltype(::name)>(#name);     \
    return f args;                                       \
  }
KV_ZIP_FN(void, zip_discard, (zip_t* za), (za))
KV_ZIP_FN(int, zip_fclose, (zip_file_t* zf), (zf))
KV_ZIP_FN(zip_source_t*, zip_source_file, (zip_t* za, const char* name, zip_uint64_t start, zip_int64_t len),
          (za, name, start, len))
KV_ZIP_FN(zip_int64_t, zip_file_add, (zip_t* za, const char* name, zip_source_t* src, zip_flags_t flags),
          (za, name, src, flags))
KV_ZIP_FN(void, zip_source_free, (zip_source_t* src), (src))
KV_ZIP_FN(int, zip_set_file_compression, (zip_t* za, zip_uint64_t index, zip_int32_t method, zip_uint32_t level),
          (za, index, method, level))
KV_ZIP_FN(int, zip_close, (zip_t* za), (za))
KV_ZIP_FN(int, zip_error_code_zip, (const zip_error_t* e), (e))
KV_ZIP_FN(zip_int64_t, zip_get_num_entries, (zip_t* za, zip_flags_t flags), (za, flags))
KV_ZIP_FN(void, zip_stat_init, (zip_stat_t* st), (st))
KV_ZIP_FN(int, zip_stat_index, (zip_t* za, zip_uint64_t index, zip_flags_t flags, zip_stat_t* st),
          (za, index, flags, st))
KV_ZIP_FN(zip_file_t*, zip_fopen_index, (zip_t* za, zip_uint64_t index, zip_flags_t flags), (za, index, flags))
KV_ZIP_FN(zip_error_t*, zip_get_error, (zip_t* za), (za))
KV_ZIP_FN(zip_int64_t, zip_fread, (zip_file_t* zf, void* buf, zip_uint64_t n), (zf, buf, n))
KV_ZIP_FN(zip_error_t*, zip_file_get_error, (zip_file_t* zf), (zf))
#undef KV_ZIP_FN

#define zip_open Lz_zip_open
#define zip_discard Lz_zip_discard
#define zip_fclose Lz_zip_fclose
#define zip_source_file Lz_zip_source_file
#define zip_file_add Lz_zip_file_add
#define zip_source_free Lz_zip_source_free
#define zip_set_file_compression Lz_zip_set_file_compression
#define zip_close Lz_zip_close
#define zip_error_code_zip Lz_zip_error_code_zip
#define zip_get_num_entries Lz_zip_get_num_entries
#define zip_stat_init Lz_zip_stat_init
#define zip_stat_index Lz_zip_stat_index
#define zip_fopen_index Lz_zip_fopen_index
#define zip_get_error Lz_zip_get_error
#define zip_fread Lz_zip_fread
#define zip_file_get_error Lz_zip_file_get_error

// zlib level of the packed files. An estimate is packed at every save; level 1
// packs a large work set in about half the time of "zip -6", the archive a
// fifth larger (bench/README.md has the figures).
constexpr int kDeflateLevel = 1;

// Bounds of an archive we are willing to unpack. A level work file holds at
// most 65535 records of 512 bytes (32 MiB) and an estimate at most 8 levels;
// the object files hold the sheets' pictures. Anything beyond these is not a
// work set but a zip bomb.
constexpr std::uint64_t kMaxEntries = 20000;
constexpr std::uint64_t kMaxEntryBytes = 256ull << 20;
constexpr std::uint64_t kMaxTotalBytes = 1ull << 30;
// Deflate cannot expand more than about 1032:1; an entry that claims more is
// forged.
constexpr std::uint64_t kMaxDeflateRatio = 1100;

struct ZipCloser {
  void operator()(zip_t* z) const { zip_discard(z); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};
using ZipFilePtr = std::unique_ptr<zip_file_t, ZipFileCloser>;

struct FdCloser {
  int fd = -1;
  ~FdCloser() {
    if (fd >= 0) ::close(fd);
  }
};

bool ValidName(const std::string& name) { return IsPlainName(name); }

// The extensions of the set, each once (compared without case), longest first
// so that ".X.Y1" would win over ".Y1".
std::vector<std::string> ComponentExts(const PackFileSet& set) {
  std::vector<std::string> exts;
  for (const std::string& e : set.CompFileExt) {
    if (e.empty()) continue;
    bool dup = std::any_of(exts.begin(), exts.end(), [&](const std::string& x) { return EqualsNoCase(x, e); });
    if (!dup) exts.push_back(e);
  }
  std::stable_sort(exts.begin(), exts.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  return exts;
}

// The component extension name ends with, as spelled in name; nullopt when none.
std::optional<std::string> ComponentSuffix(const std::string& entry, const std::vector<std::string>& exts) {
  for (const std::string& e : exts)
    if (entry.size() > e.size() && EndsWithNoCase(entry, e)) return entry.substr(entry.size() - e.size());
  return std::nullopt;
}

// "$12.MOD" when entry is <stem>$12.MOD; nullopt otherwise.
std::optional<std::string> ObjectSuffix(const std::string& entry) {
  if (!EndsWithNoCase(entry, ".MOD")) return std::nullopt;
  size_t dollar = entry.rfind('$');
  if (dollar == std::string::npos || dollar == 0) return std::nullopt;
  std::string suffix = entry.substr(dollar);
  return IsObjectFileName(entry, entry.substr(0, dollar)) ? std::optional(suffix) : std::nullopt;
}

mode_t CurrentUmask() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  return 022;
}

struct Member {
  std::string entry;  // name inside the archive
  stdfs::path source;
};

// The end record of a zip archive without entries (libzip writes no file for
// an archive that holds nothing).
bool WriteEmptyArchive(const stdfs::path& p) {
  static const unsigned char kEmpty[22] = {0x50, 0x4b, 0x05, 0x06};
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(kEmpty), sizeof kEmpty);
  out.close();
  return static_cast<bool>(out);
}

// The file an archive replaces, and the permissions its replacement gets. A
// read-only packed file is not replaced; a link is followed and the file it
// names replaced.
struct ArchiveTarget {
  stdfs::path file;
  mode_t mode = 0;
};

int PrepareTarget(const stdfs::path& requested, ArchiveTarget& out) {
  std::error_code ec;
  out.file = requested;
  if (stdfs::is_symlink(requested, ec)) {
    out.file = stdfs::weakly_canonical(requested, ec);
    if (ec) return kPackIoError;
  }
  stdfs::file_status old = stdfs::status(out.file, ec);
  bool replacing = stdfs::exists(old);
  if (replacing) {
    constexpr stdfs::perms kWrite = stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write;
    if (!stdfs::is_regular_file(old) || (old.permissions() & kWrite) == stdfs::perms::none ||
        ::access(out.file.c_str(), W_OK) != 0)
      return kPackIoError;
  }
  out.mode = replacing ? static_cast<mode_t>(old.permissions() & stdfs::perms::mask)
                       : static_cast<mode_t>(0666 & ~CurrentUmask());
  return kPackOk;
}

// Writes the members into the archive `file` (which exists, empty), gives it
// `mode` and flushes it to disk.
int WriteArchiveFile(const stdfs::path& file, const std::vector<Member>& members, mode_t mode) {
  if (members.empty()) {
    if (!WriteEmptyArchive(file)) return kPackIoError;
  } else {
    int err = 0;
    ZipPtr za(zip_open(file.c_str(), ZIP_TRUNCATE, &err));
    if (!za) return kPackIoError;
    for (const Member& m : members) {
      zip_source_t* src = zip_source_file(za.get(), m.source.c_str(), 0, -1);
      if (!src) return kPackIoError;
      zip_int64_t idx = zip_file_add(za.get(), m.entry.c_str(), src, ZIP_FL_ENC_UTF_8);
      if (idx < 0) {
        zip_source_free(src);
        return kPackIoError;
      }
      if (zip_set_file_compression(za.get(), static_cast<zip_uint64_t>(idx), ZIP_CM_DEFLATE, kDeflateLevel) != 0)
        return kPackIoError;
    }
    // zip_close reads the sources, writes the archive and frees it on success.
    if (zip_close(za.get()) != 0) return kPackIoError;
    za.release();
  }
  if (::chmod(file.c_str(), mode) != 0 || !SyncPath(file, false)) return kPackIoError;
  return kPackOk;
}

// One archive to write: where it goes and what it holds.
struct ArchiveJob {
  stdfs::path requested;
  std::vector<Member> members;
};

// Writes the archives beside the files they replace and renames them over
// those all together (one intent record for the set): either every one is
// replaced or none.
int WriteArchives(const std::vector<ArchiveJob>& jobs, const PairOptions& options) {
  std::vector<ArchiveTarget> targets(jobs.size());
  for (size_t i = 0; i < jobs.size(); ++i)
    if (int r = PrepareTarget(jobs[i].requested, targets[i]); r != kPackOk) return r;
  const stdfs::path folder = targets.front().file.parent_path();
  for (const ArchiveTarget& t : targets)
    if (t.file.parent_path() != folder) return kPackIoError;  // one record, one folder

  fs::FileSetReplace replace(folder, targets.front().file.filename().string());
  if (!options.noteFolder.empty()) replace.NoteIn(options.noteFolder);
  for (size_t i = 0; i < jobs.size(); ++i) {
    std::error_code ec;
    const stdfs::path temp = replace.Temporary(targets[i].file.filename().string(), ec);
    if (temp.empty()) return kPackIoError;
    if (int r = WriteArchiveFile(temp, jobs[i].members, targets[i].mode); r != kPackOk) return r;
  }
  std::error_code ec;
  if (!replace.Commit(ec, options.observer)) return kPackIoError;
  // This save supersedes whatever older saves of these files left behind.
  if (replace.intentTime()) {
    std::vector<std::string> finals;
    for (const ArchiveTarget& t : targets) finals.push_back(t.file.filename().string());
    fs::RemoveLeftovers(folder, finals, replace.intentTime(), &replace.owner());
  }
  return kPackOk;
}

// ---------------------------------------------------------------------------
// Unpacking
// ---------------------------------------------------------------------------

enum class Contents { Components, Objects };

struct Planned {
  zip_uint64_t index;
  std::string finalName;
  std::uint64_t size;
};

int MapOpenError(int err) {
  switch (err) {
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_MEMORY:
      return kPackIoError;
    case ZIP_ER_NOENT:
      return kPackMissing;
    default:
      return kPackDamaged;
  }
}

int MapReadError(zip_error_t* e) {
  switch (zip_error_code_zip(e)) {
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_MEMORY:
      return kPackIoError;
    default:
      return kPackDamaged;
  }
}

// Checks every entry before anything is written: its name must be one file of
// the work set, its sizes those of a real one.
int PlanEntries(zip_t* za, std::uint64_t archiveBytes, const std::string& name, const PackFileSet& set,
                Contents what, std::vector<Planned>& plan) {
  zip_int64_t count = zip_get_num_entries(za, 0);
  if (count < 0) return kPackDamaged;
  if (static_cast<std::uint64_t>(count) > kMaxEntries) return kPackTooLarge;
  if (count == 0 && what == Contents::Components) return kPackForeign;  // an estimate has files

  std::vector<std::string> exts = ComponentExts(set);
  std::optional<std::string> commonStem;
  std::set<std::string> seen;
  std::uint64_t total = 0, totalCompressed = 0;
  for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(za, i, 0, &st) != 0) return kPackDamaged;
    constexpr zip_uint64_t kNeed = ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD |
                                   ZIP_STAT_ENCRYPTION_METHOD;
    if ((st.valid & kNeed) != kNeed) return kPackDamaged;

    std::string entry = st.name;
    if (!ValidName(entry)) return kPackUnsafeEntry;
    std::optional<std::string> suffix =
        what == Contents::Components ? ComponentSuffix(entry, exts) : ObjectSuffix(entry);
    if (!suffix) return kPackForeign;
    std::string stem = entry.substr(0, entry.size() - suffix->size());
    if (stem.empty() || (commonStem && *commonStem != stem)) return kPackForeign;
    commonStem = stem;
    std::string finalName = name + *suffix;
    if (!seen.insert(FoldCase(finalName)).second) return kPackForeign;  // one file twice

    if (st.encryption_method != ZIP_EM_NONE) return kPackForeign;
    if (st.comp_method == ZIP_CM_STORE) {
      if (st.size != st.comp_size) return kPackDamaged;
    } else if (st.comp_method == ZIP_CM_DEFLATE) {
      if (st.size > st.comp_size * kMaxDeflateRatio + 1024) return kPackTooLarge;
    } else {
      return kPackForeign;  // we write nothing else
    }
    if (st.size > kMaxEntryBytes) return kPackTooLarge;
    total += st.size;
    totalCompressed += st.comp_size;
    if (total > kMaxTotalBytes) return kPackTooLarge;
    // Entries sharing their compressed data (a known bomb) add up to more
    // than the archive.
    if (totalCompressed > archiveBytes) return kPackTooLarge;
    plan.push_back({i, finalName, st.size});
  }
  return kPackOk;
}

// Copies one entry to dest, checking its length and (through libzip) its
// checksum.
int ExtractEntry(zip_t* za, const Planned& p, const stdfs::path& dest) {
  ZipFilePtr zf(zip_fopen_index(za, p.index, 0));
  if (!zf) return MapReadError(zip_get_error(za));
  FdCloser out{::open(dest.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)};
  if (out.fd < 0) return kPackIoError;
  std::vector<char> buf(1 << 18);
  std::uint64_t written = 0;
  for (;;) {
    zip_int64_t n = zip_fread(zf.get(), buf.data(), buf.size());
    if (n < 0) return MapReadError(zip_file_get_error(zf.get()));
    if (n == 0) break;
    written += static_cast<std::uint64_t>(n);
    if (written > p.size) return kPackTooLarge;
    for (zip_int64_t off = 0; off < n;) {
      ssize_t w = ::write(out.fd, buf.data() + off, static_cast<size_t>(n - off));
      if (w < 0) {
        if (errno == EINTR) continue;
        return kPackIoError;
      }
      off += w;
    }
  }
  if (written != p.size) return kPackDamaged;
  if (::close(out.fd) != 0) {
    out.fd = -1;
    return kPackIoError;
  }
  out.fd = -1;
  return kPackOk;
}

bool BelongsToSet(const std::string& file, const std::string& name, const PackFileSet& set, Contents what) {
  if (what == Contents::Objects) return IsObjectFileName(file, name);
  for (const std::string& e : set.CompFileExt)
    if (!e.empty() && EqualsNoCase(file, name + e)) return true;
  return false;
}

int Melt(const stdfs::path& packFile, const stdfs::path& target, const std::string& name, const PackFileSet& set,
         Contents what) {
  if (!ValidName(name)) return kPackBadArgument;
  std::error_code ec;
  if (!stdfs::is_directory(target, ec)) return kPackMissing;
  stdfs::file_status ps = stdfs::status(packFile, ec);
  if (!stdfs::exists(ps)) return kPackMissing;
  if (!stdfs::is_regular_file(ps)) return kPackDamaged;
  std::uintmax_t archiveBytes = stdfs::file_size(packFile, ec);
  if (ec) return kPackIoError;
  if (archiveBytes == 0) return kPackDamaged;

  int err = 0;
  ZipPtr za(zip_open(packFile.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err));
  if (!za) return MapOpenError(err);

  std::vector<Planned> plan;
  if (int r = PlanEntries(za.get(), archiveBytes, name, set, what, plan); r != kPackOk) return r;

  std::optional<std::vector<std::string>> existing = RegularFileNames(target);
  if (!existing) return kPackIoError;

  TempFolder staging(target, "kvunpack");
  if (!staging.ok()) return kPackIoError;
  stdfs::path fresh = staging.path() / "new", old = staging.path() / "old";
  if (!stdfs::create_directory(fresh, ec) || !stdfs::create_directory(old, ec)) return kPackIoError;
  for (size_t i = 0; i < plan.size(); ++i)
    if (int r = ExtractEntry(za.get(), plan[i], fresh / std::to_string(i)); r != kPackOk) return r;

  // Everything is in hand: move the old files of the set aside, the new ones
  // in. A failure undoes every move.
  RenameJournal journal;
  for (const std::string& f : *existing)
    if (BelongsToSet(f, name, set, what) && !journal.Move(target / f, old / f)) return kPackIoError;
  for (size_t i = 0; i < plan.size(); ++i)
    if (!journal.Move(fresh / std::to_string(i), target / plan[i].finalName)) return kPackIoError;
  journal.Commit();
  return kPackOk;
}

}  // namespace

// ---------------------------------------------------------------------------

stdfs::path PackedFilePath(const stdfs::path& folder, std::string_view name, const PackFileSet& set) {
  return folder / (std::string(name) + DottedExt(set.PackedExt));
}

stdfs::path OleDataFilePath(const stdfs::path& folder, std::string_view name, const PackFileSet& set) {
  return folder / (std::string(name) + DottedExt(set.OleDataExt));
}

bool IsObjectFileName(std::string_view fileName, std::string_view name) {
  if (name.empty() || fileName.size() < name.size() + 6) return false;  // "$" digit ".MOD"
  if (!EqualsNoCase(fileName.substr(0, name.size()), name) || fileName[name.size()] != '$') return false;
  if (!EndsWithNoCase(fileName, ".MOD")) return false;
  std::string_view digits = fileName.substr(name.size() + 1, fileName.size() - name.size() - 5);
  return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

namespace {

// The component files of name in workFolder, as archive members.
int ComponentMembers(const stdfs::path& workFolder, const std::string& name, const PackFileSet& set,
                     std::vector<Member>& members) {
  std::optional<std::vector<std::string>> names = RegularFileNames(workFolder);
  if (!names) return kPackIoError;
  std::set<std::string> taken;
  for (const std::string& ext : ComponentExts(set)) {
    std::optional<std::string> found = FindNoCase(*names, name + ext);
    if (found && taken.insert(*found).second) members.push_back({*found, workFolder / *found});
  }
  return members.empty() ? kPackNothingToPack : kPackOk;
}

// The sheet object files of name in workFolder, as archive members.
int ObjectMembers(const stdfs::path& workFolder, const std::string& name, std::vector<Member>& members) {
  std::optional<std::vector<std::string>> names = RegularFileNames(workFolder);
  if (!names) return kPackIoError;
  std::set<std::string> taken;  // one file per name, letter case ignored
  for (const std::string& f : *names)
    if (IsObjectFileName(f, name) && taken.insert(FoldCase(f)).second) members.push_back({f, workFolder / f});
  return kPackOk;
}

int CheckPackArguments(const stdfs::path& packFolder, const std::string& name, const std::string& ext) {
  if (!ValidName(name) || ext.empty()) return kPackBadArgument;
  std::error_code ec;
  return stdfs::is_directory(packFolder, ec) ? kPackOk : kPackMissing;
}

// The pair's final names, for finding its temporaries and records.
std::vector<std::string> PairNames(const std::string& name, const PackFileSet& set) {
  return {name + DottedExt(set.PackedExt), name + DottedExt(set.OleDataExt)};
}

// The folder where the pair of packFolder/name is really replaced: a link is
// followed to the file it names.
stdfs::path ReplaceFolder(const stdfs::path& packFolder, const std::string& name, const PackFileSet& set) {
  std::error_code ec;
  const stdfs::path packed = PackedFilePath(packFolder, name, set);
  if (!stdfs::is_symlink(packed, ec)) return packFolder;
  const stdfs::path real = stdfs::weakly_canonical(packed, ec);
  return ec ? packFolder : real.parent_path();
}

}  // namespace

int MCompress(const stdfs::path& packFolder, const stdfs::path& workFolder, const std::string& name,
              const stdfs::path& /*programFolder*/, const PackFileSet& set) {
  if (int r = CheckPackArguments(packFolder, name, set.PackedExt); r != kPackOk) return r;
  ArchiveJob job{PackedFilePath(packFolder, name, set), {}};
  if (int r = ComponentMembers(workFolder, name, set, job.members); r != kPackOk) return r;
  return WriteArchives({job}, {});
}

int MCompOLEData(const stdfs::path& packFolder, const stdfs::path& workFolder, const std::string& name,
                 const stdfs::path& /*programFolder*/, const PackFileSet& set) {
  if (int r = CheckPackArguments(packFolder, name, set.OleDataExt); r != kPackOk) return r;
  ArchiveJob job{OleDataFilePath(packFolder, name, set), {}};
  if (int r = ObjectMembers(workFolder, name, job.members); r != kPackOk) return r;
  return WriteArchives({job}, {});
}

int MCompressPair(const stdfs::path& packFolder, const stdfs::path& workFolder, const std::string& name,
                  const stdfs::path& /*programFolder*/, const PackFileSet& set, const PairOptions& options) {
  if (int r = CheckPackArguments(packFolder, name, set.PackedExt); r != kPackOk) return r;
  if (set.OleDataExt.empty()) return kPackBadArgument;
  ArchiveJob packed{PackedFilePath(packFolder, name, set), {}};
  ArchiveJob objects{OleDataFilePath(packFolder, name, set), {}};
  if (int r = ComponentMembers(workFolder, name, set, packed.members); r != kPackOk) return r;
  if (int r = ObjectMembers(workFolder, name, objects.members); r != kPackOk) return r;

  // What an earlier save of the estimate left is settled before this one.
  const stdfs::path folder = ReplaceFolder(packFolder, name, set);
  SettlePackedPair(folder, name, set);
  if (int r = WriteArchives({packed, objects}, options); r != kPackOk) return r;
  return kPackOk;
}

int SettlePackedPair(const stdfs::path& packFolder, const std::string& name, const PackFileSet& set) {
  if (!ValidName(name) || set.PackedExt.empty() || set.OleDataExt.empty()) return 0;
  return fs::RemoveLeftovers(ReplaceFolder(packFolder, name, set), PairNames(name, set), std::nullopt, nullptr,
                             &ArchiveIntact);
}

bool ArchiveIntact(const stdfs::path& file) {
  int err = 0;
  ZipPtr za(zip_open(file.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err));
  if (!za) return false;
  const zip_int64_t count = zip_get_num_entries(za.get(), 0);
  if (count < 0) return false;
  std::vector<char> buf(1 << 16);
  for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
    // Reading an entry to its end makes libzip compare its checksum.
    ZipFilePtr zf(zip_fopen_index(za.get(), i, 0));
    if (!zf) return false;
    zip_int64_t n;
    while ((n = zip_fread(zf.get(), buf.data(), buf.size())) > 0) {
    }
    if (n < 0) return false;
  }
  return true;
}

int MMelt(const stdfs::path& packFolder, const stdfs::path& targetFolder, const std::string& name,
          const stdfs::path& /*programFolder*/, const PackFileSet& set) {
  if (set.PackedExt.empty()) return kPackBadArgument;
  SettlePackedPair(packFolder, name, set);
  return Melt(PackedFilePath(packFolder, name, set), targetFolder, name, set, Contents::Components);
}

int MMeltOLEData(const stdfs::path& packFolder, const stdfs::path& targetFolder, const std::string& name,
                 const stdfs::path& /*programFolder*/, const PackFileSet& set) {
  if (set.OleDataExt.empty()) return kPackBadArgument;
  SettlePackedPair(packFolder, name, set);
  return Melt(OleDataFilePath(packFolder, name, set), targetFolder, name, set, Contents::Objects);
}

}  // namespace kv
