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

#include "app/program_state.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/fs.h"
#include "platform/ui.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/row_record.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

struct CompactLevel {
  stdfs::path path;         // the level work file
  stdfs::path temp;         // its compacted form while it is written
  bool exists = false;
  std::string bytes;        // the file as it was
  int count = 0;            // its records
  std::string out;          // the compacted file
  int written = 0;          // records in `out`
  std::vector<int> newNo;   // old record number -> new (0: not reached)
};

struct Compaction {
  int recordLength = 0;
  bool hex = false;
  int levelCount = 0;
  std::vector<CompactLevel> levels;  // [1 .. levelCount]
  LevelFileProblem problem;
  int problemLevel = 0;
};

bool Fail(Compaction& cx, int level, LevelFileProblem p) {
  cx.problem = p;
  cx.problemLevel = level;
  return false;
}

// Copies the chain that begins at record r of `level`, and every chain below
// it, into the compacted files. Each record is taken at most once, so a loop
// or a record reached from two places is a fault, never followed again; the
// depth is bounded by the number of levels.
bool PackRecChain(Compaction& cx, int level, int r) {
  if (level < 1 || level > cx.levelCount) return Fail(cx, cx.levelCount, {LevelFault::LinkPastEnd, 0});
  CompactLevel& lv = cx.levels[level];
  const int len = cx.recordLength;
  while (true) {
    if (!lv.exists || r < 1 || r > lv.count) return Fail(cx, level, {LevelFault::LinkPastEnd, r});
    if (lv.newNo[r] != 0) return Fail(cx, level, {LevelFault::LinkLoop, r});
    std::string rec = lv.bytes.substr(static_cast<size_t>(r - 1) * len, static_cast<size_t>(len));
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
      if (!PackRecChain(cx, level + 1, oldChild)) return false;
    }
    lv.out += rec;
    if (oldNext < 1) return true;
    r = oldNext;
  }
}

// Writes a whole file and flushes it to disk.
bool WriteWholeFile(const stdfs::path& path, const std::string& bytes, std::string& error) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = std::strerror(errno);
      ::close(fd);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

void RemoveTemps(const Compaction& cx) {
  std::error_code ec;
  for (int i = 1; i <= cx.levelCount; ++i) stdfs::remove(cx.levels[i].temp, ec);
}

int MapOr(const std::vector<int>& map, int old, int none) {
  if (old < 1 || old >= static_cast<int>(map.size()) || map[old] == 0) return none;
  return map[old];
}

// The record numbers the open estimate holds in memory follow the files.
void RenumberPathInMemory(ProgramState& st, const Compaction& cx) {
  const bool hex = cx.hex;
  auto map = [&](int level) -> const std::vector<int>* {
    if (level < 1 || level > cx.levelCount || !cx.levels[level].exists) return nullptr;
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

}  // namespace

bool EstFilePack(ProgramState& st, const std::string& workBase) {
  st.ui.SetBusyPointer(true);
  Compaction cx;
  cx.recordLength = st.DataLen;
  cx.hex = IsHexBase(st.H_Link);
  cx.levelCount = std::min(st.LevelCount, kMaxLevels);
  if (!IsValidRecordLength(cx.recordLength) || cx.levelCount < 1) return false;
  cx.levels.resize(static_cast<size_t>(cx.levelCount) + 1);

  const stdfs::path folder = stdfs::path(workBase).parent_path();
  for (int i = 1; i <= cx.levelCount; ++i) {
    CompactLevel& lv = cx.levels[i];
    lv.path = LevelFilePath(st, workBase, i);
    lv.temp = folder / (".Temp" + st.LevelExt[i]);
    std::error_code ec;
    stdfs::remove(lv.temp, ec);  // left by an earlier run
    if (!stdfs::is_regular_file(lv.path, ec)) continue;
    std::optional<std::string> bytes = fs::ReadFileBytes(lv.path, ec);
    if (!bytes) {
      LevelFileErrorShow(st, lv.path, ec.message());
      return false;
    }
    lv.exists = true;
    lv.bytes = std::move(*bytes);
    MemoryRecords source(lv.bytes, cx.recordLength);
    if (LevelFileProblem p = CountRecords(source, lv.count)) {
      LevelFileFaultShow(st, lv.path, p);
      return false;
    }
    lv.newNo.assign(static_cast<size_t>(lv.count) + 1, 0);
  }
  // Without a top sheet nothing is reachable, and nothing is to be gained.
  if (!cx.levels[1].exists) return true;

  bool walked = true;
  try {
    if (cx.levels[1].count >= 1) walked = PackRecChain(cx, 1, 1);
  } catch (const std::out_of_range&) {
    walked = Fail(cx, 1, {LevelFault::BadNumber, 0});
  }
  if (!walked) {
    LevelFileFaultShow(st, cx.levels[cx.problemLevel].path, cx.problem);
    return false;
  }

  for (int i = 1; i <= cx.levelCount; ++i) {
    const CompactLevel& lv = cx.levels[i];
    if (!lv.exists) continue;
    std::string error;
    if (!WriteWholeFile(lv.temp, lv.out, error)) {
      RemoveTemps(cx);
      LevelFileErrorShow(st, lv.temp, error);
      return false;
    }
  }
  for (int i = 1; i <= cx.levelCount; ++i) {
    const CompactLevel& lv = cx.levels[i];
    if (!lv.exists) continue;
    std::error_code ec;
    stdfs::rename(lv.temp, lv.path, ec);
    if (ec) {
      RemoveTemps(cx);
      LevelFileErrorShow(st, lv.path, ec.message());
      return false;
    }
  }
  if (workBase == st.WorkFileBase) RenumberPathInMemory(st, cx);
  return true;
}

}  // namespace kv
