#include "calc/recalc_all_levels.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "calc/kept_level_files.h"
#include "calc/level_calc.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "core/window_services.h"
#include "platform/fs.h"
#include "platform/ui.h"
#include "sheet/last_used_row.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/level_write.h"
#include "storage/row_record.h"
#include "storage/total_carry.h"
#include "storage/work_files_replace.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr std::string_view kTitle = "再計算";
// A sheet holds at most 1000 rows and its closing record.
constexpr int kMaxChainRecords = kMaxSheetRows + 1;
// The own, next and child links of a record, bytes 4-15.
constexpr size_t kLinkBytes = 3 * kStoredNumberWidth;

// The walk stopped; the user has been told.
struct WalkStopped {};

// The program-wide sheet storage the walk uses as scratch, given back when it
// stops.
struct SheetSnapshot {
  explicit SheetSnapshot(const ProgramState& st)
      : rows(st.SheetRows),
        recNos(st.RowRecNos),
        used(st.UsedRows),
        total(st.SheetTotalRecord),
        objNo(st.SheetObjNo),
        parents(st.ParentRows),
        pathTotals(st.PathTotalRecords) {}
  void Restore(ProgramState& st) const {
    st.SheetRows = rows;
    st.RowRecNos = recNos;
    st.UsedRows = used;
    st.SheetTotalRecord = total;
    st.SheetObjNo = objNo;
    st.ParentRows = parents;
    st.PathTotalRecords = pathTotals;
  }
  std::array<std::string, kMaxSheetRows + 2> rows;
  std::array<int, kMaxSheetRows + 2> recNos;
  int used;
  std::string total;
  std::string objNo;
  std::array<std::string, 9> parents;
  std::array<std::string, 9> pathTotals;
};

// The chains of one level file walked ahead of the recalculation, all side
// by side, with what the walk found in each; they stand for the walk of the
// same first record while the file's links stay as they were.
struct ChainsAhead {
  unsigned linksVersion = 0;
  std::vector<int> firsts;
  std::vector<std::vector<int>> chains;
  std::vector<LevelFileProblem> problems;
  std::unordered_map<int, size_t> byFirst;  // index of each first record
};

// One level file held in memory.
struct LevelImage {
  stdfs::path path;
  std::string bytes;
  LevelLinks links;  // the links of its records, read once
  // The link fields of its records, in step with `links` while `linksKnown`:
  // kept with them for the next walk.
  std::string linkFields;
  bool linksKnown = false;
  // Counts the changes of `links` during the walk: chains walked ahead hold
  // while it stays as it was.
  unsigned linksVersion = 0;
  bool loaded = false;
  // Why the file could not be read or its links taken in, told when the walk
  // first needs the file.
  std::optional<std::string> readError;
  LevelFileProblem problem;
  bool existed = false;  // the file was there to be read
  size_t readSize = 0;  // bytes as read: records past it were appended
  // Records of the file as read, kept when first rewritten: a record put and
  // later put back as it was leaves the file as it was.
  std::unordered_map<size_t, std::string> before;

  // Puts `rec` at byte `at` (a record of the file, or the end).
  void Replace(size_t at, std::string_view rec) {
    if (at < readSize) before.try_emplace(at, bytes, at, rec.size());
    bytes.replace(at, rec.size(), rec);
  }
  // Whether the bytes differ from the file as read.
  bool Changed() const { return bytes.size() != readSize || !ChangedRecords().empty(); }
  // The records (offset, length) whose bytes differ from the file as read,
  // in file order.
  std::vector<std::pair<size_t, size_t>> ChangedRecords() const {
    std::vector<std::pair<size_t, size_t>> out;
    for (const auto& [at, old] : before)
      if (std::string_view(bytes).substr(at, old.size()) != old) out.emplace_back(at, old.size());
    std::sort(out.begin(), out.end());
    return out;
  }
};

class LevelTreeWalk {
 public:
  LevelTreeWalk(ProgramState& st, const std::string& workBase)
      : st_(st), base_(workBase), hex_(IsHexBase(st.H_Link)), len_(static_cast<size_t>(st.DataLen)) {}
  ~LevelTreeWalk() {
    for (size_t level = 1; level < images_.size(); ++level) {
      LevelImage& image = images_[level];
      if (!image.loaded) continue;
      KeepLevelFile(level, {std::move(image.bytes), std::move(image.links), std::move(image.linkFields),
                            image.linksKnown, st_.DataLen, hex_});
    }
  }
  LevelTreeWalk(const LevelTreeWalk&) = delete;
  LevelTreeWalk& operator=(const LevelTreeWalk&) = delete;

  // The whole walk, from the top sheet at record 1 of level 1; then the top
  // level is checked as the level reader will read it after the write-back,
  // so that a level 1 it would refuse stops the command before anything is
  // written.
  void Run() {
    WalkAhead();
    RecalcLevelTree(1, 1, 0);
    SheetChain top;
    const LevelImage& image = Image(1);
    if (LevelFileProblem p = ReadSheetChain(MemoryRecords(image.bytes, st_.DataLen), true, 1, hex_,
                                            SheetRowLimit(st_) + 1, top)) {
      LevelFileFaultShow(st_, image.path, p);
      throw WalkStopped{};
    }
  }

  // Level 1 as the level writer writes it, from its recalculated image: read
  // into the sheet in memory, recalculated and its records built. Its file
  // joins the images to be written back.
  void TopLevel() {
    LevelImage& image = Image(1);
    SheetChain top;
    if (LevelFileProblem p = ReadSheetChain(MemoryRecords(image.bytes, st_.DataLen), true, 1, hex_,
                                            SheetRowLimit(st_) + 1, top)) {
      LevelFileFaultShow(st_, image.path, p);
      throw WalkStopped{};
    }
    SheetFromChain(st_, 1, 1, top);
    image.linksKnown = false;  // its records are put below without their links
    std::string bytes;
    if (!TopLevelBuild(st_, bytes)) throw WalkStopped{};
    if (bytes.size() != image.bytes.size()) {
      for (size_t at = 0; at < std::min(image.readSize, image.bytes.size()); at += len_)
        image.before.try_emplace(at, image.bytes, at, len_);
      image.bytes = std::move(bytes);
    } else {
      for (size_t at = 0; at < bytes.size(); at += len_) {
        const std::string_view rec = std::string_view(bytes).substr(at, len_);
        if (std::string_view(image.bytes).substr(at, len_) != rec) image.Replace(at, rec);
      }
    }
  }

  // Every changed image, and the layout file of the work set, written back
  // all together or not at all.
  void WriteBack(const fs::RenameObserver& observer) {
    std::vector<WorkFileContent> files;
    std::vector<int> levels;  // the level of each level file of `files` (the layout comes last)
    for (int level = 1; level <= kMaxLevels; ++level) {
      LevelImage& image = images_[static_cast<size_t>(level)];
      if (!image.loaded || !image.Changed()) continue;
      std::vector<std::pair<size_t, size_t>> changed = image.ChangedRecords();
      WorkFileContent file{image.path, std::move(image.bytes), std::nullopt, std::move(changed)};
      if (image.existed) file.oldSize = image.readSize;
      files.push_back(std::move(file));
      levels.push_back(level);
    }
    const stdfs::path layout = fs::ResolveNoCase(LayoutFilePath(st_, base_));
    std::string layoutText = LayoutText(st_);
    std::error_code ec;
    const std::optional<std::string> old = fs::ReadFileBytes(layout, ec);
    if (!old || *old != layoutText) {
      WorkFileContent file{layout, std::move(layoutText), std::nullopt, {}};
      if (old) {
        file.oldSize = old->size();
        file.changed = {{0, old->size()}};
      }
      files.push_back(std::move(file));
    }

    stdfs::path failed;
    const WorkFilesReplaced done = ReplaceWorkFiles(files, failed, ec, observer);
    // The images' memory kept for the next walk.
    for (size_t i = 0; i < levels.size(); ++i) images_[static_cast<size_t>(levels[i])].bytes = std::move(files[i].bytes);
    if (done == WorkFilesReplaced::All) return;
    WarnMsgBox(st_, "作業ファイル [ " + failed.filename().string() + " ] を書き込めませんでした。\r" + ec.message() +
                        (done == WorkFilesReplaced::None
                             ? "\r全階層の再計算を中止しました。作業ファイルは一つも書き換えていません。"
                             : "\r再計算した作業ファイルへの書き換えは、次の起動の時に仕上げます。"));
    throw WalkStopped{};
  }

 private:
  // The file of `level` read into memory with the links of its records, once;
  // whether it could be read (and its links taken in).
  bool Load(int level) {
    LevelImage& image = images_[static_cast<size_t>(level)];
    if (image.loaded) return !image.readError && !image.problem;
    image.loaded = true;
    image.path = LevelFilePath(st_, base_, level);
    std::error_code ec;
    KeptLevelFile kept = TakeKeptLevelFile(static_cast<size_t>(level));
    image.existed = stdfs::exists(image.path, ec);
    if (!image.existed) {
      kept.bytes.clear();
      image.problem = RefreshLinks(kept, st_.DataLen, hex_);
    } else if (!ReadLevelFileInto(image.path, kept, st_.DataLen, hex_, ec, image.problem)) {
      image.readError = ec.message();
      kept.bytes.clear();
      kept.linksKnown = false;
    }
    image.bytes = std::move(kept.bytes);
    image.links = std::move(kept.links);
    image.linkFields = std::move(kept.linkFields);
    image.linksKnown = kept.linksKnown;
    image.readSize = image.bytes.size();
    return !image.readError && !image.problem;
  }

  // The file of `level` as the walk uses it: the command stops when it
  // cannot be read.
  LevelImage& Image(int level) {
    LevelImage& image = images_[static_cast<size_t>(level)];
    if (Load(level)) return image;
    if (image.readError) {
      LevelFileErrorShow(st_, image.path, *image.readError);
      throw WalkStopped{};
    }
    Damaged(level, image.problem);
  }

  // Every chain the walk will go down, level by level, all the chains of a
  // level side by side (a chain waits for each of its records in turn; side
  // by side they wait together). Only a walk ahead: what it finds is told
  // when the walk comes to it, in the walk's order; a file that cannot be
  // read ends it.
  void WalkAhead() {
    const int deepest = std::clamp(st_.LevelCount, 1, kMaxLevels);
    if (!Load(1)) return;
    std::vector<int> rows;  // the rows of the level above whose breakdowns are walked
    for (int n = 1; n <= std::min(images_[1].links.Count(), kMaxChainRecords); ++n) rows.push_back(n);
    for (int level = 2; level <= deepest && !rows.empty(); ++level) {
      if (!Load(level)) return;
      const LevelLinks& above = images_[static_cast<size_t>(level - 1)].links;
      ChainsAhead& ahead = ahead_[static_cast<size_t>(level)];
      ahead.linksVersion = images_[static_cast<size_t>(level)].linksVersion;
      const int count = images_[static_cast<size_t>(level)].links.Count();
      for (int n : rows) {
        const int child = above.Child(n);
        if (child != kNoRecord && child <= count && ahead.byFirst.try_emplace(child, ahead.firsts.size()).second)
          ahead.firsts.push_back(child);
      }
      images_[static_cast<size_t>(level)].links.WalkEach(ahead.firsts, kMaxChainRecords, ahead.chains,
                                                         ahead.problems, true);
      rows.clear();
      for (size_t i = 0; i < ahead.chains.size(); ++i)
        if (!ahead.problems[i]) rows.insert(rows.end(), ahead.chains[i].begin(), ahead.chains[i].end());
    }
  }

  int Count(int level) { return Image(level).links.Count(); }

  std::string Get(int level, int n) { return std::string(View(level, n)); }
  std::string_view View(int level, int n) {
    return std::string_view(Image(level).bytes).substr(static_cast<size_t>(n - 1) * len_, len_);
  }

  // Writes record n (1 .. count + 1) of the image. A file whose records all
  // stay as they were is not written back.
  void Put(int level, int n, const std::string& rec) {
    LevelImage& image = Image(level);
    const std::string fitted = rec.size() == len_ ? std::string() : FitRecord(rec, st_.DataLen);
    const std::string_view bytes = rec.size() == len_ ? std::string_view(rec) : std::string_view(fitted);
    const size_t at = static_cast<size_t>(n - 1) * len_;
    const std::string_view linkFields = bytes.substr(kOwnPos - 1, kLinkBytes);
    if (at == image.bytes.size()) {
      image.bytes += bytes;
      image.links.Append(bytes);
      ++image.linksVersion;
      image.linkFields += linkFields;
    } else if (std::string_view(image.bytes).substr(at, len_) != bytes) {
      const bool relinked = std::string_view(image.bytes).substr(at + kOwnPos - 1, kLinkBytes) !=
                            bytes.substr(kOwnPos - 1, kLinkBytes);
      image.Replace(at, bytes);
      if (relinked) {
        image.links.Add(n, bytes);
        ++image.linksVersion;
        image.linkFields.replace(static_cast<size_t>(n - 1) * kLinkBytes, kLinkBytes, linkFields);
      }
    }
  }

  // The records of a chain, copied into the sheet's rows 1 .. in order. They
  // lie scattered through their file: each is asked for from memory a few
  // records ahead of its copy, so that the copies do not wait for each record
  // in turn and the fetches go on while the records before are copied.
  void CopyIntoSheet(int level, const std::vector<int>& chain) {
    constexpr size_t kAhead = 16;
    const std::string_view bytes = Image(level).bytes;
    const auto fetch = [&](size_t i) {
      const char* rec = bytes.data() + static_cast<size_t>(chain[i] - 1) * len_;
      for (size_t at = 0; at < len_; at += 64) __builtin_prefetch(rec + at);
    };
    for (size_t i = 0; i < std::min(kAhead, chain.size()); ++i) fetch(i);
    for (size_t i = 0; i < chain.size(); ++i) {
      if (i + kAhead < chain.size()) fetch(i + kAhead);
      st_.SheetRows[i + 1].assign(bytes.substr(static_cast<size_t>(chain[i] - 1) * len_, len_));
    }
  }

  // The damaged-file message of every chain walk; the command stops.
  [[noreturn]] void Damaged(int level, const LevelFileProblem& p) {
    LevelFileFaultShow(st_, LevelFilePath(st_, base_, level), p);
    throw WalkStopped{};
  }

  // The record numbers of the sheet that starts at `first`; `from` is the
  // record holding the link to it (of the level above; 0 for the top sheet).
  // The top sheet is its file's records in file order, as the level reader
  // reads it; a deeper one the chain walked by the one checked walk. A chain
  // longer than a sheet is damage; a first record past the end of the file
  // is damage of the row linking to it.
  std::vector<int> Chain(int level, int first, int from) {
    LevelImage& image = Image(level);
    std::vector<int> chain;
    if (level == 1) {
      if (Count(1) > kMaxChainRecords) Damaged(1, {LevelFault::ChainTooLong, 1});
      for (int n = 1; n <= Count(1); ++n) {
        if (LevelFileProblem p = image.links.Check(n)) Damaged(1, p);
        chain.push_back(n);
      }
      return chain;
    }
    if (first > Count(level)) Damaged(level - 1, {LevelFault::LinkPastEnd, from});
    const ChainsAhead& ahead = ahead_[static_cast<size_t>(level)];
    if (ahead.linksVersion == image.linksVersion) {
      if (const auto it = ahead.byFirst.find(first); it != ahead.byFirst.end()) {
        if (ahead.problems[it->second]) Damaged(level, ahead.problems[it->second]);
        return ahead.chains[it->second];
      }
    }
    if (LevelFileProblem p = image.links.Walk(first, kMaxChainRecords, chain, true)) Damaged(level, p);
    return chain;
  }

  void RecalcLevelTree(int level, int first, int from) {
    const std::vector<int> again = Chain(level, first, from);
    if (again.empty()) return;  // an empty top level file
    SheetEntered(level, again);

    // Breakdowns first; a row of the deepest level has no level below it.
    const int deepest = std::clamp(st_.LevelCount, 1, kMaxLevels);
    if (level < deepest) {
      // The rows' breakdown links looked up all at once (each a fetch of its
      // own), not one between two breakdowns.
      std::vector<std::pair<int, int>> breakdowns;  // row, first record below
      const LevelLinks& links = Image(level).links;
      for (int n : again)
        if (const int child = links.Child(n); child != kNoRecord) breakdowns.emplace_back(n, child);
      for (const auto& [n, child] : breakdowns) {
        st_.ParentRows[static_cast<size_t>(level)] = Get(level, n);
        RecalcLevelTree(level + 1, child, n);
      }
    }

    // The sheet's records, read again: a carried parent row is read as
    // written (its links stay as they were).
    const int records = static_cast<int>(again.size());
    CopyIntoSheet(level, again);
    const bool closed = RecordByte(st_.SheetRows[static_cast<size_t>(records)], kKindPos) == kClosingKind;
    if (closed) {
      st_.SheetTotalRecord = st_.SheetRows[static_cast<size_t>(records)];
      st_.UsedRows = records - 1;
    } else {
      st_.SheetTotalRecord = FreshClosingRecord(level);
      st_.UsedRows = records;
    }

    {
      const bool noDisplay = st_.CalcNoDisplay;
      st_.CalcNoDisplay = true;
      LevelRecalcAt(st_, level, st_.SheetTotalRecord, st_.UsedRows);
      st_.CalcNoDisplay = noDisplay;
    }

    for (int i = 1; i <= st_.UsedRows; ++i) Put(level, again[size_t(i - 1)], st_.SheetRows[static_cast<size_t>(i)]);

    if (closed) {
      const int own = again.back();
      std::string rec = Get(level, own);
      rec.replace(kColumnDataPos - 1, std::string::npos, FitRecord(st_.SheetTotalRecord, st_.DataLen),
                  kColumnDataPos - 1, std::string::npos);
      Put(level, own, rec);
    } else {
      const int added = Count(level) + 1;
      std::string rec = FitRecord(st_.SheetTotalRecord, st_.DataLen);
      std::string lastRow = Get(level, again.back());
      try {
        SetLinkField(rec, kOwnPos, added, hex_);
        SetLinkField(lastRow, kNextPos, added, hex_);
      } catch (const std::out_of_range&) {
        LevelFileErrorShow(st_, Image(level).path, "記録できる最大行数を越えました。");
        throw WalkStopped{};
      }
      SetLinkField(rec, kNextPos, kNoRecord, hex_);
      SetLinkField(rec, kChildPos, kNoRecord, hex_);
      Put(level, added, rec);
      Put(level, again.back(), lastRow);
    }
    st_.PathTotalRecords[static_cast<size_t>(level)] = st_.SheetTotalRecord;

    if (level >= 2 && st_.RecordLinkState != -99) CarryIntoParent(level);
  }

  // The closing record a sheet without one starts from, as the sheet reader
  // starts it: the level's defaults, no marks, no object file, no links.
  std::string FreshClosingRecord(int level) const {
    std::string rec = FitRecord(st_.TotalRecordDefaults[static_cast<size_t>(level)], st_.DataLen);
    SetRecordByte(rec, kMarkPos, ' ');
    SetRecordByte(rec, kPrintMarkPos, ' ');
    SetRecordByte(rec, kKindPos, kClosingKind);
    rec.replace(kOwnPos - 1, kColumnDataPos - kOwnPos, std::string(kColumnDataPos - kOwnPos, ' '));
    return rec;
  }

  // The carry of the sheet's closing record into its parent row, which is
  // written back into the level above at once (also without any carry).
  void CarryIntoParent(int level) {
    std::string& parent = st_.ParentRows[static_cast<size_t>(level - 1)];
    CarryTotals(st_, level, st_.SheetTotalRecord, parent);
    const int own = BaseStrToNum(LinkField(parent, kOwnPos), hex_);
    if (own < 1 || own > Count(level - 1)) Damaged(level - 1, {LevelFault::OwnNumberMismatch, std::max(own, 0)});
    Put(level - 1, own, parent);
  }

  // The closing record of a sheet as stored (a fresh one when its chain has
  // none): the context its breakdowns' carries calculate the sheet's rows in,
  // as the level writer does with the path's closing records.
  void SheetEntered(int level, const std::vector<int>& chain) {
    const std::string_view last = View(level, chain.back());
    st_.PathTotalRecords[static_cast<size_t>(level)] =
        RecordByte(last, kKindPos) == kClosingKind ? std::string(last) : FreshClosingRecord(level);
  }

  ProgramState& st_;
  const std::string base_;
  const bool hex_;
  const size_t len_;
  std::array<LevelImage, kMaxLevels + 1> images_;
  std::array<ChainsAhead, kMaxLevels + 1> ahead_;
};

// The closing record of the sheet whose chain starts at `first` in the level
// file (the last record for level 1); nullopt when it cannot be read.
std::optional<std::string> ClosingRecordOf(ProgramState& st, int level, int first) {
  const stdfs::path path = LevelFilePath(st, st.WorkFileBase, level);
  try {
    RecordFile file(path, st.DataLen, RecordFileMode::ReadOnly);
    FileRecords source(file);
    SheetChain chain;
    if (ReadSheetChain(source, level == 1, first, IsHexBase(st.H_Link), kMaxChainRecords, chain)) return std::nullopt;
    if (chain.records.empty() || RecordByte(chain.records.back(), kKindPos) != kClosingKind) return std::nullopt;
    return FitRecord(chain.records.back(), st.DataLen);
  } catch (const RecordFileError&) {
    return std::nullopt;
  }
}

// The path above the current level read again after the walk: each parent
// row from its level file by its own record number, each path level's
// closing record from its sheet.
void PathReread(ProgramState& st) {
  const bool hex = IsHexBase(st.H_Link);
  for (int level = 1; level < st.CurrentLevel && level < kMaxLevels; ++level) {
    std::string& parent = st.ParentRows[static_cast<size_t>(level)];
    const int own = BaseStrToNum(LinkField(parent, kOwnPos), hex);
    if (own < 1) continue;
    try {
      RecordFile file(LevelFilePath(st, st.WorkFileBase, level), st.DataLen, RecordFileMode::ReadOnly);
      std::string rec;
      if (file.GetRecordText(own, rec)) parent = rec;
    } catch (const RecordFileError&) {
      continue;
    }
    const int first = level == 1 ? 1 : BaseStrToNum(LinkField(st.ParentRows[static_cast<size_t>(level - 1)], kChildPos), hex);
    if (std::optional<std::string> closing = ClosingRecordOf(st, level, first))
      st.PathTotalRecords[static_cast<size_t>(level)] = *closing;
  }
}

void MessageBox(ProgramState& st, const std::string& text, int style, int* answer = nullptr) {
  FloatWindowsTopMostSet(st, false);
  const int a = st.ui.MsgBox(text, style, kTitle);
  FloatWindowsTopMostSet(st, true);
  if (answer) *answer = a;
}

// Holds the busy lock for a scope, when there is an editor to hold it.
class BusyLock {
 public:
  explicit BusyLock(ProgramState& st) : st_(st) {
    if (st_.editor) st_.editor->ToolBarStateSet(st_, true);
  }
  ~BusyLock() {
    if (st_.editor) st_.editor->ToolBarStateSet(st_, false);
  }
  BusyLock(const BusyLock&) = delete;
  BusyLock& operator=(const BusyLock&) = delete;

 private:
  ProgramState& st_;
};

}  // namespace

bool RecalcFromTopLevel(ProgramState& st, const std::string& workBase) { return RecalcFromTopLevel(st, workBase, {}); }

bool RecalcFromTopLevel(ProgramState& st, const std::string& workBase, const fs::RenameObserver& observer) {
  if (!IsValidRecordLength(st.DataLen)) return false;
  const SheetSnapshot before(st);
  try {
    LevelTreeWalk walk(st, workBase);
    walk.Run();
    walk.TopLevel();
    walk.WriteBack(observer);
  } catch (const WalkStopped&) {
    before.Restore(st);
    return false;
  }
  return true;
}

void RecalcAllLevels(ProgramState& st) {
  if (LastUsedRow(st) == 0) return;
  if (IsUntitledName(st.WorkFileBase)) {
    MessageBox(st, "ﾌｧｲﾙを保存後に実行して下さい.", vbOKOnly);
    return;
  }
  if (st.SheetModified) {
    int answer = 0;
    MessageBox(st, "記録後に全階層の再計算を実行します.", vbYesNo, &answer);
    if (answer != vbYes) return;
    if (st.sheetEngine == nullptr || !st.sheetEngine->LevelSheetRecord(st)) return;
    st.SheetModified = false;
    st.PackPending = true;
  }

  st.ui.SetBusyPointer(true);
  ProgressMsgShow(st.ui, "計  算", "全階層の再計算中！");
  // The sheet the user is on, given back whole when it cannot be read again.
  const SheetSnapshot current(st);
  bool done = RecalcFromTopLevel(st, st.WorkFileBase);
  st.ParentRows = current.parents;
  if (done) {
    PathReread(st);
    if (!LevelRead(st, st.CurrentLevel)) {
      current.Restore(st);
      done = false;
    }
    if (st.sheetEngine != nullptr) {
      st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
      st.sheetEngine->ShowParentLevelPath(st);
    }
  }
  st.ui.SetBusyPointer(false);
  st.ui.UnloadWindow(kBusyWindow);
  if (done) st.SheetModified = true;
}

}  // namespace kv

namespace kv {

void RecalcAllLevelsMenuCommand(ProgramState& st) {
  st.ReCalcFlag = true;
  BusyLock lock(st);
  st.RecalcAllRunning = true;
  try {
    if (st.sheetEngine != nullptr) st.sheetEngine->ShowParentLevelPath(st);
    RecalcAllLevels(st);
  } catch (...) {
    st.RecalcAllRunning = false;
    throw;
  }
  st.RecalcAllRunning = false;
}

void RecalcAllLevelsKeyCommand(ProgramState& st) {
  if (st.CommandBusy) return;
  BusyLock lock(st);
  RecalcAllLevels(st);
}

}  // namespace kv
