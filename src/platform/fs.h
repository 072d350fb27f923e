#pragma once
// The file-system layer: what the program asks of files and drives, answered
// for this platform. File names are compared without letter case, the drive
// kind and free space come from the file system a path lies on, and files
// that hold user data are replaced atomically.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kv::fs {

namespace stdfs = std::filesystem;

// --- Names without letter case --------------------------------------------

// True when two file names are equal without regard to ASCII letter case.
bool NameEqualsNoCase(std::string_view a, std::string_view b);

// True when `name` matches `pattern` without regard to ASCII letter case:
// "*" matches any run of characters (also none), "?" exactly one character;
// "*.*" matches every name.
bool WildcardMatchNoCase(std::string_view name, std::string_view pattern);

// True when the text holds a wildcard character ("*" or "?").
bool HasWildcard(std::string_view text);

// The entry of `folder` whose name equals `name` without letter case: the
// exact name when it exists, else the first such name in sorted order.
// nullopt when there is none or the folder cannot be read.
std::optional<stdfs::path> FindNoCase(const stdfs::path& folder, std::string_view name);

// `path` with its last element replaced by the existing entry of that name
// found without letter case; `path` itself when nothing is found. The folders
// before the last element are taken exactly as written.
stdfs::path ResolveNoCase(const stdfs::path& path);

// Hidden files are the dot-files.
bool IsHidden(const stdfs::path& path);

// --- Drives -----------------------------------------------------------------

// Kind of the drive (file system) a path lies on, numbered after the system's
// drive types.
enum class DriveKind : int {
  NoRoot = 1,  // the folder does not exist
  Fixed = 3,   // a local, writable file system
  Remote = 4,  // a network file system (NFS, SMB/CIFS)
  CdRom = 5,   // a read-only file system
};

// The kind of the file system `path` lies on. A path that does not exist is
// looked at through its folder; when that folder does not exist either the
// answer is NoRoot.
DriveKind DriveKindOf(const stdfs::path& path);

// Free space of the file system a path lies on, for an unprivileged user.
struct DiskSpace {
  std::uint64_t freeClusters = 0;  // fragments available to an unprivileged user
  std::uint64_t clusterSize = 0;   // bytes per fragment
  std::uint64_t FreeBytes() const { return freeClusters * clusterSize; }
};

// nullopt when the file system cannot be asked (the path and its folder missing).
std::optional<DiskSpace> DiskSpaceOf(const stdfs::path& path);

// --- Atomic replace -----------------------------------------------------------

// Writes `bytes` as the whole new content of `path`: into a temporary file
// beside it, flushed to disk, then renamed over the old file. On any failure
// the old file is left exactly as it was, the temporary file is removed and
// false is returned with `ec` set. A file that is read-only (no write
// permission bit) is not replaced (EACCES). A symbolic link is followed: the
// file it names is replaced. A new file gets the permissions of the old one.
// `Unflushed` leaves out the flushes to disk (the file and the folder's
// entry): readers still see the old file or the new one whole, but a crash
// of the machine may lose the new file. For scratch files the program makes
// again at every start, where waiting for the disk would only slow the start.
enum class Flush { Flushed, Unflushed };
bool WriteFileAtomic(const stdfs::path& path, std::string_view bytes, std::error_code& ec,
                     Flush flush = Flush::Flushed);

// Reads a whole file. nullopt with `ec` set when it cannot be read.
std::optional<std::string> ReadFileBytes(const stdfs::path& path, std::error_code& ec);

// --- Listing -----------------------------------------------------------------

// Ordinary (regular, not hidden) files of `folder` whose names match
// `pattern` without letter case, sorted by name. Symbolic links count as what
// they point to. `ec` is set when the folder cannot be read; a folder that
// does not exist sets it to no_such_file_or_directory.
std::vector<stdfs::path> MatchingFiles(const stdfs::path& folder, std::string_view pattern,
                                       std::error_code& ec);

}  // namespace kv::fs
