#include "storage/compaction.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/file_set_replace.h"
#include "platform/ui.h"
#include "state/program_state.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/row_record.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

// Records are copied to the temporary files through a buffer of this size.
constexpr size_t kFlushBytes = 256 * 1024;

constexpr const char* kTooManyRecords = "記録できる最大行数を越えました。";

// One level while it is compacted: its work file read record by record, its
// compacted form written sequentially to a temporary file.
struct CompactLevel {
  stdfs::path path;  // the level work file
  stdfs::path temp;  // its compacted form while it is written
  std::optional<RecordFile> in;
  int count = 0;            // records of the work file
  int tempFd = -1;
  std::string buffer;       // compacted records not yet in the temporary file
  int written = 0;          // records of the compacted file
  std::vector<int> newNo;   // old record number -> new, its first copy (0: not reached)
  // By new record number (index 0 unused): the old record it copies, its new
  // child link, and whether it ends its chain. A chain reached from two
  // parent rows is copied under each, so one old record may have two copies.
  std::vector<int> oldOf{0};
  std::vector<int> childOf{kNoRecord};
  std::vector<bool> chainEnd{true};
  LevelLinks links;         // the links of the work file, for the checked walk
  bool present = false;     // the work file exists
  bool exists() const { return present; }
};

struct Compaction {
  int recordLength = 0;
  bool hex = false;
  int levelCount = 0;
  std::vector<CompactLevel> levels;  // [1 .. levelCount]
  LevelFileProblem problem;          // a damaged file: what and where
  int problemLevel = 0;
  std::string ioError;               // a file that could not be read or written
  stdfs::path ioPath;
};

bool Fail(Compaction& cx, int level, LevelFileProblem p) {
  cx.problem = p;
  cx.problemLevel = level;
  return false;
}

bool FailIo(Compaction& cx, const stdfs::path& path, std::string error) {
  cx.ioPath = path;
  cx.ioError = std::move(error);
  return false;
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool Flush(Compaction& cx, CompactLevel& lv) {
  if (!WriteAll(lv.tempFd, lv.buffer)) return FailIo(cx, lv.path, std::strerror(errno));
  lv.buffer.clear();
  return true;
}

// Copies the chain that begins at record `first` of `level`, and every chain
// below it, into the compacted files. The chain is walked by the one checked
// walk (core/level_links.h): a loop, a link past the end, a chain entered in
// its middle or running into another are refused before anything of it is
// copied. A chain reached from two parent rows is copied under each of them.
// The depth is bounded by the number of levels, the copies by the largest
// record number a link can hold. A record's new numbers are all known before
// the chains below it are copied, so each compacted file is written in order.
bool PackRecChain(Compaction& cx, int level, int first) {
  if (level < 1 || level > cx.levelCount) return Fail(cx, cx.levelCount, {LevelFault::LinkPastEnd, 0});
  CompactLevel& lv = cx.levels[level];
  if (!lv.exists() || first < 1 || first > lv.count) return Fail(cx, level, {LevelFault::LinkPastEnd, first});
  std::vector<int> chain;
  if (LevelFileProblem p = lv.links.Walk(first, lv.count, chain)) return Fail(cx, level, p);
  std::string rec;
  for (size_t i = 0; i < chain.size(); ++i) {
    const int r = chain[i];
    try {
      if (!lv.in->GetRecordText(r, rec)) return Fail(cx, level, {LevelFault::LinkPastEnd, r});
    } catch (const RecordFileError& e) {
      return FailIo(cx, lv.path, e.what());
    }
    const int c = ++lv.written;
    if (lv.newNo[r] == 0) lv.newNo[r] = c;
    const bool last = i + 1 == chain.size();
    const int oldChild = lv.links.Child(r);
    int newChild = kNoRecord;
    if (oldChild >= 1) {
      if (level + 1 > cx.levelCount) return Fail(cx, level, {LevelFault::LinkPastEnd, r});
      newChild = cx.levels[level + 1].written + 1;
    }
    try {
      SetLinkField(rec, kOwnPos, c, cx.hex);
      SetLinkField(rec, kNextPos, last ? kNoRecord : c + 1, cx.hex);
      SetLinkField(rec, kChildPos, newChild, cx.hex);
    } catch (const std::out_of_range&) {
      // Shared chains copied under many parents outgrow the record numbers.
      return FailIo(cx, lv.path, kTooManyRecords);
    }
    lv.oldOf.push_back(r);
    lv.childOf.push_back(newChild);
    lv.chainEnd.push_back(last);
    lv.buffer += rec;
    if (lv.buffer.size() >= kFlushBytes && !Flush(cx, lv)) return false;
    if (oldChild >= 1 && !PackRecChain(cx, level + 1, oldChild)) return false;
  }
  return true;
}

// Closes the temporary files (the replacement removes them unless it was
// committed).
void CloseTemps(Compaction& cx) {
  for (int i = 1; i <= cx.levelCount; ++i) {
    CompactLevel& lv = cx.levels[i];
    if (lv.tempFd >= 0) ::close(lv.tempFd);
    lv.tempFd = -1;
  }
}

// The rest of each compacted file written and flushed to disk.
bool FinishTemps(Compaction& cx) {
  for (int i = 1; i <= cx.levelCount; ++i) {
    CompactLevel& lv = cx.levels[i];
    if (lv.tempFd < 0) continue;
    if (!Flush(cx, lv)) return false;
    if (::fsync(lv.tempFd) != 0 || ::close(lv.tempFd) != 0) {
      lv.tempFd = -1;
      return FailIo(cx, lv.path, std::strerror(errno));
    }
    lv.tempFd = -1;
  }
  return true;
}

int MapOr(const std::vector<int>& map, int old, int none) {
  if (old < 1 || old >= static_cast<int>(map.size()) || map[old] == 0) return none;
  return map[old];
}

// The new number of the copy of old record `old` in the compacted chain that
// begins at new record `start` of `level`; 0 when that chain has none.
int FindInChain(const Compaction& cx, int level, int start, int old) {
  if (level < 1 || level > cx.levelCount || start < 1) return 0;
  const CompactLevel& lv = cx.levels[level];
  for (int c = start; c <= lv.written; ++c) {
    if (lv.oldOf[c] == old) return c;
    if (lv.chainEnd[c]) break;
  }
  return 0;
}

// The record numbers the open estimate holds in memory follow the files.
// The path is followed down from level 1, so that a sheet whose chain was
// copied under two parent rows is found in the copy under its own parent.
void RenumberPathInMemory(ProgramState& st, const Compaction& cx) {
  const bool hex = cx.hex;
  auto map = [&](int level) -> const std::vector<int>* {
    if (level < 1 || level > cx.levelCount || !cx.levels[level].exists()) return nullptr;
    return &cx.levels[level].newNo;
  };
  // A link by the first copy of what it names (a row the files do not hold).
  auto relink = [&](std::string& rec, int pos, int level) {
    if (rec.empty()) return;
    std::optional<int> old = ReadStoredLink(LinkField(rec, pos), hex);
    if (!old || *old < 1) return;
    const std::vector<int>* m = map(level);
    SetLinkField(rec, pos, m ? MapOr(*m, *old, kNoRecord) : kNoRecord, hex);
  };
  auto own = [&](const std::string& rec) {
    std::optional<int> n = rec.empty() ? std::nullopt : ReadStoredLink(LinkField(rec, kOwnPos), hex);
    return n && *n >= 1 ? *n : 0;
  };
  // A row of the sheet of `level` whose chain now begins at `start`: its own
  // number and child link as its copy there has them; by the first copies
  // when that chain does not hold it.
  auto follow = [&](std::string& rec, int level, int start) {
    const int old = own(rec);
    const int copy = FindInChain(cx, level, start, old);
    if (copy == 0) {
      const std::vector<int>* m = map(level);
      if (old >= 1 && m && MapOr(*m, old, 0) >= 1) SetLinkField(rec, kOwnPos, MapOr(*m, old, 0), hex);
      relink(rec, kChildPos, level + 1);
      return 0;
    }
    SetLinkField(rec, kOwnPos, copy, hex);
    std::optional<int> child = ReadStoredLink(LinkField(rec, kChildPos), hex);
    const int newChild = cx.levels[level].childOf[static_cast<size_t>(copy)];
    if (child && *child >= 1) {
      if (newChild >= 1)
        SetLinkField(rec, kChildPos, newChild, hex);
      else
        relink(rec, kChildPos, level + 1);
    }
    return copy;
  };

  int start = 1;  // the chain of the path's sheet at level k, in the new files
  for (int k = 1; k < st.CurrentLevel && k <= kMaxLevels; ++k) {
    std::string& parent = st.ParentRows[k];
    if (parent.empty()) {
      start = 0;
      continue;
    }
    const int copy = follow(parent, k, start);
    start = copy >= 1 ? cx.levels[k].childOf[static_cast<size_t>(copy)] : 0;
  }
  const int level = std::clamp(st.CurrentLevel, 1, kMaxLevels);
  if (level >= 2) {
    const std::vector<int>* m = map(level);
    for (int& no : st.RowRecNos) {
      if (no < 1) continue;
      const int copy = FindInChain(cx, level, start, no);
      no = copy >= 1 ? copy : (start < 1 && m ? MapOr(*m, no, 0) : 0);
    }
  }
  for (std::string& row : st.SheetRows) {
    if (row.size() < static_cast<size_t>(kChildPos - 1 + 4)) continue;
    // Only the child link moves: the rows' own numbers are rewritten from the
    // pool when the sheet is written.
    std::string copy = row;
    follow(copy, level, start);
    row.replace(static_cast<size_t>(kChildPos - 1), 4, LinkField(copy, kChildPos));
  }
}

// The names of the level files of a work base, for its temporaries.
std::vector<std::string> LevelFileNames(const ProgramState& st, const std::string& workBase, int levelCount) {
  const std::string name = stdfs::path(workBase).filename().string();
  std::vector<std::string> names;
  for (int i = 1; i <= levelCount; ++i) names.push_back(name + st.LevelExt[i]);
  return names;
}

// Opens the level files and their temporary files. False after a message.
bool OpenLevels(ProgramState& st, Compaction& cx, const std::string& workBase, fs::FileSetReplace& replace) {
  for (int i = 1; i <= cx.levelCount; ++i) {
    CompactLevel& lv = cx.levels[i];
    lv.path = LevelFilePath(st, workBase, i);
    std::error_code ec;
    if (!stdfs::is_regular_file(lv.path, ec)) continue;
    try {
      lv.in.emplace(lv.path, cx.recordLength, RecordFileMode::ReadOnly);
      lv.present = true;
      FileRecords source(*lv.in);
      if (LevelFileProblem p = LevelLinksRead(source, cx.hex, lv.links)) {
        LevelFileFaultShow(st, lv.path, p);
        return false;
      }
      lv.count = lv.links.Count();
    } catch (const RecordFileError& e) {
      LevelFileErrorShow(st, lv.path, e.what());
      return false;
    }
    lv.newNo.assign(static_cast<size_t>(lv.count) + 1, 0);
  }
  for (int i = 1; i <= cx.levelCount; ++i) {
    CompactLevel& lv = cx.levels[i];
    if (!lv.exists()) continue;
    std::error_code ec;
    lv.temp = replace.Temporary(lv.path.filename().string(), ec);
    if (!lv.temp.empty()) lv.tempFd = ::open(lv.temp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (lv.tempFd < 0) {
      std::string error = ec ? ec.message() : std::strerror(errno);
      CloseTemps(cx);
      LevelFileErrorShow(st, lv.temp.empty() ? lv.path : lv.temp, error);
      return false;
    }
    lv.buffer.reserve(kFlushBytes + static_cast<size_t>(cx.recordLength));
  }
  return true;
}

}  // namespace

bool EstFilePack(ProgramState& st, const std::string& workBase) { return EstFilePack(st, workBase, {}); }

bool EstFilePack(ProgramState& st, const std::string& workBase, const fs::RenameObserver& observer) {
  st.ui.SetBusyPointer(true);
  Compaction cx;
  cx.recordLength = st.DataLen;
  cx.hex = IsHexBase(st.H_Link);
  cx.levelCount = std::min(st.LevelCount, kMaxLevels);
  if (!IsValidRecordLength(cx.recordLength) || cx.levelCount < 1) return false;
  cx.levels.resize(static_cast<size_t>(cx.levelCount) + 1);

  // An earlier compaction of this work set that was stopped is finished or
  // undone, and what it left is removed, before the files are read.
  const stdfs::path folder = stdfs::path(workBase).parent_path();
  fs::RemoveLeftovers(folder, LevelFileNames(st, workBase, cx.levelCount));

  fs::FileSetReplace replace(folder, stdfs::path(workBase).filename().string() + st.LevelExt[1]);
  if (!OpenLevels(st, cx, workBase, replace)) return false;
  // Without a top sheet nothing is reachable, and nothing is to be gained.
  if (!cx.levels[1].exists()) {
    CloseTemps(cx);
    return true;
  }

  bool done = true;
  try {
    if (cx.levels[1].count >= 1) done = PackRecChain(cx, 1, 1);
  } catch (const std::out_of_range&) {
    done = Fail(cx, 1, {LevelFault::BadNumber, 0});
  }
  if (done) done = FinishTemps(cx);
  if (!done) {
    CloseTemps(cx);
    if (cx.problem)
      LevelFileFaultShow(st, cx.levels[cx.problemLevel].path, cx.problem);
    else
      LevelFileErrorShow(st, cx.ioPath, cx.ioError);
    return false;
  }

  // Every compacted file is complete: all replace their originals together.
  for (int i = 1; i <= cx.levelCount; ++i) cx.levels[i].in.reset();
  std::error_code ec;
  if (!replace.Commit(ec, observer)) {
    LevelFileErrorShow(st, cx.levels[1].path, ec.message());
    return false;
  }
  if (workBase == st.WorkFileBase) RenumberPathInMemory(st, cx);
  return true;
}

}  // namespace kv
