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
  std::vector<int> newNo;   // old record number -> new (0: not reached)
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
  if (!WriteAll(lv.tempFd, lv.buffer)) return FailIo(cx, lv.temp, std::strerror(errno));
  lv.buffer.clear();
  return true;
}

// Copies the chain that begins at record r of `level`, and every chain below
// it, into the compacted files. Each record is taken at most once, so a loop
// or a record reached from two places is a fault, never followed again; the
// depth is bounded by the number of levels. A record's new numbers are all
// known before the chains below it are copied, so each compacted file is
// written in order.
bool PackRecChain(Compaction& cx, int level, int r) {
  if (level < 1 || level > cx.levelCount) return Fail(cx, cx.levelCount, {LevelFault::LinkPastEnd, 0});
  CompactLevel& lv = cx.levels[level];
  std::string rec;
  while (true) {
    if (!lv.exists() || r < 1 || r > lv.count) return Fail(cx, level, {LevelFault::LinkPastEnd, r});
    if (lv.newNo[r] != 0) return Fail(cx, level, {LevelFault::LinkLoop, r});
    try {
      if (!lv.in->GetRecordText(r, rec)) return Fail(cx, level, {LevelFault::LinkPastEnd, r});
    } catch (const RecordFileError& e) {
      return FailIo(cx, lv.path, e.what());
    }
    if (LevelFileProblem p = CheckRecordNumbers(rec, r, lv.count, cx.hex)) return Fail(cx, level, p);
    const int c = ++lv.written;
    lv.newNo[r] = c;
    const int oldNext = *ReadStoredLink(LinkField(rec, kNextPos), cx.hex);
    const int oldChild = *ReadStoredLink(LinkField(rec, kChildPos), cx.hex);

    SetLinkField(rec, kOwnPos, c, cx.hex);
    SetLinkField(rec, kNextPos, oldNext >= 1 ? c + 1 : kNoRecord, cx.hex);
    SetLinkField(rec, kChildPos, kNoRecord, cx.hex);
    if (oldChild >= 1) {
      if (level + 1 > cx.levelCount) return Fail(cx, level, {LevelFault::LinkPastEnd, r});
      SetLinkField(rec, kChildPos, cx.levels[level + 1].written + 1, cx.hex);
    }
    lv.buffer += rec;
    if (lv.buffer.size() >= kFlushBytes && !Flush(cx, lv)) return false;
    if (oldChild >= 1 && !PackRecChain(cx, level + 1, oldChild)) return false;
    if (oldNext < 1) return true;
    r = oldNext;
  }
}

// Closes the temporary files; removes them unless they are to be kept.
void CloseTemps(Compaction& cx, bool remove) {
  for (int i = 1; i <= cx.levelCount; ++i) {
    CompactLevel& lv = cx.levels[i];
    if (lv.tempFd >= 0) ::close(lv.tempFd);
    lv.tempFd = -1;
    std::error_code ec;
    if (remove) stdfs::remove(lv.temp, ec);
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
      return FailIo(cx, lv.temp, std::strerror(errno));
    }
    lv.tempFd = -1;
  }
  return true;
}

int MapOr(const std::vector<int>& map, int old, int none) {
  if (old < 1 || old >= static_cast<int>(map.size()) || map[old] == 0) return none;
  return map[old];
}

// The record numbers the open estimate holds in memory follow the files.
void RenumberPathInMemory(ProgramState& st, const Compaction& cx) {
  const bool hex = cx.hex;
  auto map = [&](int level) -> const std::vector<int>* {
    if (level < 1 || level > cx.levelCount || !cx.levels[level].exists()) return nullptr;
    return &cx.levels[level].newNo;
  };
  auto relink = [&](std::string& rec, int pos, int level) {
    if (rec.empty()) return;
    std::optional<int> old = ReadStoredLink(LinkField(rec, pos), hex);
    if (!old || *old < 1) return;
    const std::vector<int>* m = map(level);
    SetLinkField(rec, pos, m ? MapOr(*m, *old, kNoRecord) : kNoRecord, hex);
  };
  for (int k = 1; k < st.CurrentLevel && k <= kMaxLevels; ++k) {
    std::string& parent = st.ParentRows[k];
    if (parent.empty()) continue;
    std::optional<int> own = ReadStoredLink(LinkField(parent, kOwnPos), hex);
    if (own && *own >= 1 && map(k)) {
      int now = MapOr(*map(k), *own, 0);
      if (now >= 1) SetLinkField(parent, kOwnPos, now, hex);
    }
    relink(parent, kChildPos, k + 1);
  }
  if (st.CurrentLevel >= 2) {
    const std::vector<int>* m = map(st.CurrentLevel);
    for (int& no : st.RowRecNos)
      if (no >= 1) no = m ? MapOr(*m, no, 0) : 0;
  }
  for (std::string& row : st.SheetRows) relink(row, kChildPos, st.CurrentLevel + 1);
}

// Opens the level files and their temporary files. False after a message.
bool OpenLevels(ProgramState& st, Compaction& cx, const std::string& workBase) {
  const stdfs::path folder = stdfs::path(workBase).parent_path();
  for (int i = 1; i <= cx.levelCount; ++i) {
    CompactLevel& lv = cx.levels[i];
    lv.path = LevelFilePath(st, workBase, i);
    lv.temp = folder / (".Temp" + st.LevelExt[i]);
    std::error_code ec;
    stdfs::remove(lv.temp, ec);  // left by an earlier run
    if (!stdfs::is_regular_file(lv.path, ec)) continue;
    try {
      lv.in.emplace(lv.path, cx.recordLength, RecordFileMode::ReadOnly);
      lv.present = true;
      FileRecords source(*lv.in);
      if (LevelFileProblem p = CountRecords(source, lv.count)) {
        LevelFileFaultShow(st, lv.path, p);
        return false;
      }
    } catch (const RecordFileError& e) {
      LevelFileErrorShow(st, lv.path, e.what());
      return false;
    }
    lv.newNo.assign(static_cast<size_t>(lv.count) + 1, 0);
  }
  for (int i = 1; i <= cx.levelCount; ++i) {
    CompactLevel& lv = cx.levels[i];
    if (!lv.exists()) continue;
    lv.tempFd = ::open(lv.temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (lv.tempFd < 0) {
      std::string error = std::strerror(errno);
      CloseTemps(cx, true);
      LevelFileErrorShow(st, lv.temp, error);
      return false;
    }
    lv.buffer.reserve(kFlushBytes + static_cast<size_t>(cx.recordLength));
  }
  return true;
}

}  // namespace

bool EstFilePack(ProgramState& st, const std::string& workBase) {
  st.ui.SetBusyPointer(true);
  Compaction cx;
  cx.recordLength = st.DataLen;
  cx.hex = IsHexBase(st.H_Link);
  cx.levelCount = std::min(st.LevelCount, kMaxLevels);
  if (!IsValidRecordLength(cx.recordLength) || cx.levelCount < 1) return false;
  cx.levels.resize(static_cast<size_t>(cx.levelCount) + 1);

  if (!OpenLevels(st, cx, workBase)) return false;
  // Without a top sheet nothing is reachable, and nothing is to be gained.
  if (!cx.levels[1].exists()) {
    CloseTemps(cx, true);
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
    CloseTemps(cx, true);
    if (cx.problem)
      LevelFileFaultShow(st, cx.levels[cx.problemLevel].path, cx.problem);
    else
      LevelFileErrorShow(st, cx.ioPath, cx.ioError);
    return false;
  }

  // Every compacted file is complete: each now replaces its original.
  for (int i = 1; i <= cx.levelCount; ++i) {
    CompactLevel& lv = cx.levels[i];
    if (!lv.exists()) continue;
    lv.in.reset();
    std::error_code ec;
    stdfs::rename(lv.temp, lv.path, ec);
    if (ec) {
      CloseTemps(cx, true);
      LevelFileErrorShow(st, lv.path, ec.message());
      return false;
    }
  }
  if (workBase == st.WorkFileBase) RenumberPathInMemory(st, cx);
  return true;
}

}  // namespace kv
