// Compaction of the sheet object files of a work set: the object files named
// by the sheets' closing records are renumbered 1, 2, ... and the closing
// records rewritten to match, all files replaced together or not at all, also
// when the process is stopped in the middle (platform/file_set_replace.h).
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <system_error>

#include "core/level_links.h"
#include "core/stored_number.h"
#include "platform/file_set_replace.h"
#include "platform/fs.h"
#include "platform/packing.h"
#include "platform/packing_files.h"

namespace kv {

namespace stdfs = std::filesystem;
using namespace packing;

namespace {

// Row record fields (1-based byte positions): 3 row kind, 16-19 object file
// number on the closing record. The links are read by core/level_links.h.
constexpr size_t kKindPos = 3;
constexpr size_t kObjPos = 16;
constexpr size_t kFieldLen = 4;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

struct Level {
  std::string fileName;  // as found in the work folder; "" when none
  std::string bytes;
  size_t records = 0;
  bool changed = false;
  std::vector<bool> reached;
  LevelLinks links;  // for the one checked walk over its chains
};

struct Walk {
  size_t dataLen;
  std::vector<Level>& levels;
  std::vector<std::pair<size_t, size_t>> closings;  // (level index, record index), in order met

  std::string_view Field(size_t lv, size_t rec, size_t pos) const {
    return std::string_view(levels[lv].bytes).substr(rec * dataLen + pos - 1, kFieldLen);
  }
  char Kind(size_t lv, size_t rec) const { return levels[lv].bytes[rec * dataLen + kKindPos - 1]; }

  // Walks the breakdown sheets under the rows of one sheet. False when a
  // chain is damaged (core/level_links.h): a link past the end of its file,
  // a loop, a chain entered in its middle or running into another.
  bool Children(size_t lv, const std::vector<size_t>& sheet) {
    size_t below = lv + 1;
    if (below >= levels.size() || levels[below].fileName.empty()) return true;
    for (size_t rec : sheet) {
      const int first = levels[lv].links.Child(static_cast<int>(rec) + 1);
      if (first >= 1 && !Chain(below, first)) return false;
    }
    return true;
  }

  bool Chain(size_t lv, int first) {
    Level& L = levels[lv];
    // A breakdown two rows share is walked once.
    if (first <= L.links.Count() && L.reached[static_cast<size_t>(first) - 1]) return true;
    std::vector<int> chain;
    if (L.links.Walk(first, L.links.Count(), chain)) return false;
    std::vector<size_t> sheet;
    for (int r : chain) {
      L.reached[static_cast<size_t>(r) - 1] = true;
      sheet.push_back(static_cast<size_t>(r) - 1);
    }
    if (sheet.empty()) return true;
    if (Kind(lv, sheet.back()) == 'G') closings.emplace_back(lv, sheet.back());
    return Children(lv, sheet);
  }

  // Level 1 is its file in record order; the last record closes it.
  bool Top() {
    Level& L = levels[0];
    std::vector<size_t> sheet;
    for (size_t rec = 0; rec < L.records; ++rec) {
      L.reached[rec] = true;
      sheet.push_back(rec);
    }
    if (!sheet.empty() && Kind(0, sheet.back()) == 'G') closings.emplace_back(0, sheet.back());
    return Children(0, sheet);
  }
};

bool WriteWhole(const stdfs::path& p, const std::string& bytes) {
  {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return false;
  }
  return SyncPath(p, false);
}

std::string RightAligned(const std::string& text) {
  return std::string(kFieldLen - std::min(kFieldLen, text.size()), ' ') + text;
}

}  // namespace

int OLEFilePack(const stdfs::path& workBase, const stdfs::path& /*programFolder*/, int dataLen,
                const std::string& hLink, const PackFileSet& set) {
  const stdfs::path folder = workBase.parent_path();
  const std::string name = workBase.filename().string();
  if (!IsPlainName(name) || (dataLen != 256 && dataLen != 512) || set.LevelExt.empty()) return kPackBadArgument;
  std::optional<std::vector<std::string>> names = RegularFileNames(folder);
  if (!names) return kPackIoError;

  std::vector<std::string> objectFiles;
  for (const std::string& f : *names)
    if (IsObjectFileName(f, name)) objectFiles.push_back(f);

  std::vector<Level> levels(set.LevelExt.size());
  for (size_t i = 0; i < levels.size(); ++i) {
    std::optional<std::string> found = FindNoCase(*names, name + set.LevelExt[i]);
    if (!found || set.LevelExt[i].empty()) continue;
    Level& L = levels[i];
    L.fileName = *found;
    std::error_code rec;
    std::optional<std::string> bytes = kv::fs::ReadFileBytes(folder / L.fileName, rec);
    if (!bytes) return kPackIoError;
    L.bytes = std::move(*bytes);
    if (L.bytes.size() % static_cast<size_t>(dataLen) != 0) return kPackDamaged;
    L.records = L.bytes.size() / static_cast<size_t>(dataLen);
    L.reached.assign(L.records, false);
    if (L.links.Read(L.bytes, dataLen, IsHexBase(hLink))) return kPackDamaged;
  }
  // Without a top sheet there is nothing to go by: leave everything alone.
  if (levels[0].fileName.empty()) return static_cast<int>(objectFiles.size());

  Walk walk{static_cast<size_t>(dataLen), levels, {}};
  if (!walk.Top()) return kPackDamaged;

  // Give the object files numbers in the order their sheets were met.
  struct Assignment {
    std::string source;  // existing object file
    bool copy;           // a second sheet naming the same file gets a copy
  };
  std::vector<Assignment> assigned;
  std::set<std::string> used;
  bool renamed = false;
  auto setField = [&](size_t lv, size_t rec, const std::string& text) {
    std::string& b = levels[lv].bytes;
    size_t at = rec * static_cast<size_t>(dataLen) + kObjPos - 1;
    if (b.compare(at, kFieldLen, text) != 0) {
      b.replace(at, kFieldLen, text);
      levels[lv].changed = true;
    }
  };
  for (auto [lv, rec] : walk.closings) {
    std::string number(Trim(walk.Field(lv, rec, kObjPos)));
    if (number.empty()) continue;
    std::optional<std::string> source;
    if (std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
      source = FindNoCase(objectFiles, name + "$" + number + ".MOD");
    if (!source) {
      setField(lv, rec, std::string(kFieldLen, ' '));  // names no file: the sheet has none
      continue;
    }
    if (assigned.size() >= 9999) return kPackTooLarge;
    bool copy = !used.insert(*source).second;
    assigned.push_back({*source, copy});
    std::string k = std::to_string(assigned.size());
    setField(lv, rec, RightAligned(k));
    if (copy || *source != name + "$" + k + ".MOD") renamed = true;
  }
  // Closing records of deeper levels that no sheet reaches any more keep no
  // number that could later name another sheet's file.
  for (size_t lv = 1; lv < levels.size(); ++lv)
    for (size_t rec = 0; rec < levels[lv].records; ++rec)
      if (!levels[lv].reached[rec] && walk.Kind(lv, rec) == 'G' && !Trim(walk.Field(lv, rec, kObjPos)).empty())
        setField(lv, rec, std::string(kFieldLen, ' '));

  const int count = static_cast<int>(assigned.size());
  bool levelsChanged = std::any_of(levels.begin(), levels.end(), [](const Level& L) { return L.changed; });
  if (!levelsChanged && !renamed && used.size() == objectFiles.size()) return count;

  // The new files are written beside the old ones and replace them all
  // together through one intent record: renumbered object files (a second
  // name for the old file, or a copy for a second sheet), the rewritten level
  // files, and the object files no sheet names removed.
  fs::FileSetReplace replace(folder, name + "$.MOD");
  std::error_code ec;
  std::set<std::string> finals;
  for (size_t i = 0; i < assigned.size(); ++i) {
    const std::string finalName = name + "$" + std::to_string(i + 1) + ".MOD";
    finals.insert(finalName);
    if (!assigned[i].copy && assigned[i].source == finalName) continue;  // stays as it is
    const stdfs::path temp = replace.Temporary(finalName, ec);
    if (temp.empty()) return kPackIoError;
    const stdfs::path source = folder / assigned[i].source;
    stdfs::remove(temp, ec);
    const bool linked = !assigned[i].copy && ::link(source.c_str(), temp.c_str()) == 0;
    if (!linked && (!stdfs::copy_file(source, temp, stdfs::copy_options::overwrite_existing, ec) ||
                    !SyncPath(temp, false)))
      return kPackIoError;
  }
  for (size_t i = 0; i < levels.size(); ++i) {
    if (!levels[i].changed) continue;
    const stdfs::path temp = replace.Temporary(levels[i].fileName, ec);
    if (temp.empty() || !WriteWhole(temp, levels[i].bytes)) return kPackIoError;
  }
  // Exact names: "est$1.mod" renumbered to "EST$1.MOD" goes too.
  for (const std::string& f : objectFiles)
    if (!finals.count(f)) replace.RemoveAfter(f);
  if (!replace.Commit(ec)) return kPackIoError;
  return count;
}

}  // namespace kv
