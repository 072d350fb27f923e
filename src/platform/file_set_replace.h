#pragma once
// Replacing a set of files in one folder all together or not at all, so that
// a process killed at any instant leaves either the old set or the new one.
//
// Each new file is written completely to a temporary file beside its final
// name and flushed to disk. Then an intent record is written and flushed: it
// names every pair (temporary -> final), with the size and checksum of each
// temporary, and the files to remove afterwards. Then the temporaries are
// renamed over their finals, the removals made, and the record removed. Who
// later finds a record whose writer is gone (SettleIntents) finishes the
// renames when every temporary still to be renamed is complete and intact,
// and otherwise removes the temporaries and the record: before the first
// rename nothing of the old set has changed, and after it every temporary
// was complete.
//
// Temporaries and records carry who wrote them in their names:
//   "." + final + "~" + host + "~" + pid + "~" + token + ".tmp"
//   "." + label + "~" + host + "~" + pid + "~" + token + ".intent"
// so that a leftover can be told from the file of a save under way: one of
// this host whose process is gone (or started after the file was written) is
// a leftover; one of another host is taken for a leftover only when it is
// older than any save takes, or older than the intent of a save that is
// running now (the estimate's lock lets only one save run at a time).
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kv::fs {

namespace stdfs = std::filesystem;

// The writer of a temporary file or an intent record.
struct FileOwner {
  std::string host;  // this host's name, reduced to letters, digits, "-", "_" and "."
  long pid = 0;
  std::string token;  // tells apart the replacements of one process
};

// This process, with a fresh token.
FileOwner ThisProcess();

// The name parts of one of our temporaries or records.
struct OwnedName {
  std::string finalName;  // the final (or, for a record, its label)
  std::string kind;       // "tmp", "intent", "note" or "journal"
  FileOwner owner;
};
std::string MakeOwnedName(std::string_view finalName, const FileOwner& owner, std::string_view kind);
std::optional<OwnedName> ParseOwnedName(std::string_view fileName);

// A file of another host counts as a leftover once it is this much older
// than now: far longer than writing and renaming any estimate takes.
inline constexpr std::time_t kForeignLeftoverAge = 60 * 60;

// True when the file `p` (one of ours, written by `owner`) belongs to no
// process that could still use it.
bool OwnerGone(const FileOwner& owner, const stdfs::path& p);

// Called when the intent record is written (0), and after each rename of a
// commit with the number of renames done (tests stop a process there).
using RenameObserver = std::function<void(int renamed)>;

class FileSetReplace {
 public:
  // The set lives in `folder`; `label` names its intent record (the first
  // final name, by custom).
  FileSetReplace(stdfs::path folder, std::string label);
  ~FileSetReplace();  // removes the temporaries unless committed
  FileSetReplace(const FileSetReplace&) = delete;
  FileSetReplace& operator=(const FileSetReplace&) = delete;

  // A new, empty temporary beside `finalName` (a plain name in the folder);
  // "" when it cannot be made. The caller writes it completely and flushes
  // it to disk before Commit.
  stdfs::path Temporary(const std::string& finalName, std::error_code& ec);
  // A temporary beside `finalName` holding `bytes`, written whole and
  // flushed to disk; "" with `ec` when it cannot be (nothing of it is left).
  stdfs::path Temporary(const std::string& finalName, std::string_view bytes, std::error_code& ec);
  // A file of the folder removed once the new files are in place.
  void RemoveAfter(const std::string& finalName);
  // Also leave a note in `noteFolder` from the first temporary until the set
  // is replaced, so that a start-up that looks there finds an interrupted
  // replacement, and its temporaries. Call before Temporary.
  void NoteIn(const stdfs::path& noteFolder) { noteFolder_ = noteFolder; }

  // Replaces the set. False with `ec` when nothing was replaced (a final
  // that is a folder is refused before anything is). When a rename fails
  // after the first one (an I/O error), the rest are tried again; when they
  // still fail, false is returned with `ec` set and the record stays, so that
  // SettleIntents finishes the set later: it is never left mixed for good.
  bool Commit(std::error_code& ec, const RenameObserver& observer = {});

  const FileOwner& owner() const { return owner_; }
  // True once the renames began: the set is then replaced, now or by the
  // settling of its record.
  bool committed() const { return committed_; }
  const stdfs::path& folder() const { return folder_; }
  // The modification time of the intent record of the last commit.
  std::optional<stdfs::file_time_type> intentTime() const { return intentTime_; }

 private:
  struct Put {
    std::string temp, finalName;
  };
  stdfs::path folder_;
  std::string label_;
  FileOwner owner_;
  std::vector<Put> puts_;
  std::vector<std::string> removals_;
  std::optional<stdfs::path> noteFolder_;
  std::optional<stdfs::path> note_;
  std::optional<stdfs::file_time_type> intentTime_;
  bool committed_ = false;

  void WriteNote();
};

// An extra check of a temporary before its rename is finished (an archive
// read through, say); true when it is sound.
using TemporaryCheck = std::function<bool(const stdfs::path& temp)>;

struct SettleOutcome {
  int finished = 0;   // records whose renames were finished
  int discarded = 0;  // records whose temporaries were removed
};

// Settles the intent records of `folder` whose writer is gone and that name
// one of `finals` (found without letter case; every record when empty).
SettleOutcome SettleIntents(const stdfs::path& folder, const std::vector<std::string>& finals,
                            const TemporaryCheck& check = {});

// For every note in `noteFolder` whose writer is gone: settles the record it
// points to, or when there is none (the writer stopped before it) removes
// that writer's temporaries; then removes the note.
SettleOutcome SettleNotedIntents(const stdfs::path& noteFolder, const TemporaryCheck& check = {});

// Removes the temporaries of `folder` whose final is one of `finals` (found
// without letter case) and whose writer is gone, after settling the records
// that name them. With `liveIntent` (the intent time of a save that has just
// replaced these files) the temporaries and records of any other writer that
// are older than it go too: that save has superseded them, so such a record
// is discarded, never finished. The files of `keep` are never touched.
// Returns the number of files removed.
int RemoveLeftovers(const stdfs::path& folder, const std::vector<std::string>& finals,
                    std::optional<stdfs::file_time_type> liveIntent = std::nullopt,
                    const FileOwner* keep = nullptr, const TemporaryCheck& check = {});

}  // namespace kv::fs
