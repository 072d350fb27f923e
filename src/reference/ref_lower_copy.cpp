#include "reference/ref_lower_copy.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_model.h"
#include "platform/ui.h"
#include "reference/ref_dm_copy_frm.h"
#include "reference/ref_sheet.h"
#include "sheet/edit_tree.h"
#include "sheet/grid_setup.h"
#include "sheet/sheet_fields.h"
#include "sheet/sheet_painting.h"
#include "sheet/undo_clear.h"
#include "sheet/wide_text_cells.h"
#include "state/calc_services.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/flush_levels.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"
#include "storage/sheet_objects.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

// A write that could not be done; its text is the reason shown.
struct CopyFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The reference's level files, each opened once with the links of all its
// records, and the estimate's level files the chains are appended to.
class ChainFiles {
 public:
  explicit ChainFiles(ProgramState& st) : st_(st), hex_(IsHexBase(st.H_Link)) {}

  // The links of reference level `level`; null after the level file's message.
  const LevelLinks* RefLinks(int level) {
    Ref& r = refs_[static_cast<size_t>(level)];
    if (r.file) return &r.links;
    const fs::path path = LevelFilePath(st_, st_.RefWorkFileBase, level);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return nullptr;
    try {
      r.file = std::make_unique<RecordFile>(path, st_.DataLen, RecordFileMode::ReadOnly);
    } catch (const RecordFileError& e) {
      LevelFileErrorShow(st_, path, e.what());
      reported_ = true;
      return nullptr;
    }
    if (const LevelFileProblem p = LevelLinksRead(FileRecords(*r.file), hex_, r.links)) {
      r.file.reset();
      LevelFileFaultShow(st_, path, p);
      reported_ = true;
      return nullptr;
    }
    return &r.links;
  }

  // The chain of reference level `level` from `first`; false after the
  // level file's message (`parentLevel` names the file whose link led there
  // when the level has no file).
  bool Chain(int level, int first, int parentLevel, std::vector<int>& chain) {
    const LevelLinks* links = RefLinks(level);
    if (links == nullptr) {
      // A link into a level that has no file.
      if (!reported_)
        LevelFileFaultShow(st_, LevelFilePath(st_, st_.RefWorkFileBase, parentLevel), {LevelFault::LinkPastEnd, 0});
      reported_ = true;
      return false;
    }
    chain.clear();
    // A chain longer than a sheet holds is damage, as every sheet read finds it.
    if (const LevelFileProblem p = links->Walk(first, SheetRowLimit(st_) + 1, chain, true)) {
      LevelFileFaultShow(st_, LevelFilePath(st_, st_.RefWorkFileBase, level), p);
      reported_ = true;
      return false;
    }
    return true;
  }

  std::string RefRecord(int level, int n) {
    std::string rec;
    if (!refs_[static_cast<size_t>(level)].file->GetRecordText(n, rec))
      throw CopyFailure("record " + std::to_string(n));
    return rec;
  }

  // The records the estimate's level file holds (0 when there is none);
  // nullopt after the message for a damaged one.
  std::optional<int> DestCount(int level) {
    const fs::path path = LevelFilePath(st_, st_.WorkFileBase, level);
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || !fs::is_regular_file(path, ec)) return 0;
    if (st_.DataLen <= 0 || size % static_cast<std::uintmax_t>(st_.DataLen) != 0) {
      LevelFileFaultShow(st_, path, {LevelFault::BadLength, 0});
      return std::nullopt;
    }
    return static_cast<int>(size / static_cast<std::uintmax_t>(st_.DataLen));
  }

  // Notes the length of every estimate level file from `from` down, so that
  // a failure can cut them back.
  void NoteLengths(int from) {
    for (int l = std::max(from, 1); l <= std::min(st_.LevelCount, 8); ++l) {
      const fs::path path = LevelFilePath(st_, st_.WorkFileBase, l);
      std::error_code ec;
      const bool file = fs::is_regular_file(path, ec);
      noted_[static_cast<size_t>(l)] = file ? static_cast<std::intmax_t>(fs::file_size(path, ec)) : -1;
      if (ec) noted_[static_cast<size_t>(l)] = -1;
      notedAny_[static_cast<size_t>(l)] = true;
    }
  }

  void CutBack() {
    for (auto& d : dests_) d.reset();
    for (int l = 1; l <= 8; ++l) {
      if (!notedAny_[static_cast<size_t>(l)]) continue;
      const fs::path path = LevelFilePath(st_, st_.WorkFileBase, l);
      std::error_code ec;
      if (!fs::is_regular_file(path, ec)) continue;
      const std::intmax_t len = noted_[static_cast<size_t>(l)];
      if (len < 0) fs::remove(path, ec);
      else fs::resize_file(path, static_cast<std::uintmax_t>(len), ec);
      RecordFileChanged(path);
    }
  }

  RecordFile& Dest(int level) {
    auto& d = dests_[static_cast<size_t>(level)];
    if (!d) d = std::make_unique<RecordFile>(LevelFilePath(st_, st_.WorkFileBase, level), st_.DataLen);
    return *d;
  }

  void CloseAll() {
    for (auto& d : dests_)
      if (d) {
        d->Close();
        d.reset();
      }
  }

  bool hex() const { return hex_; }

 private:
  struct Ref {
    std::unique_ptr<RecordFile> file;
    LevelLinks links;
  };
  ProgramState& st_;
  bool hex_;
  bool reported_ = false;
  std::array<Ref, 10> refs_;
  std::array<std::unique_ptr<RecordFile>, 10> dests_;
  std::array<std::intmax_t, 10> noted_{};
  std::array<bool, 10> notedAny_{};
};

// Counts the chain from `first` of reference level b as destination level a,
// and its deeper chains. False after a damaged file's message; `overflow`
// when a level passes the limit.
bool RefChainCount(ProgramState& st, ChainFiles& files, int a, int b, int first, bool& overflow) {
  std::vector<int> chain;
  if (!files.Chain(b, first, b - 1, chain)) return false;
  const LevelLinks& links = *files.RefLinks(b);
  const int limit = RefChainLimit(st);
  int& count = st.RefCopyCounts[static_cast<size_t>(a)];
  for (const int n : chain) {
    if (++count > limit) {
      overflow = true;
      return false;
    }
    const int d = links.Child(n);
    if (d > 0 && b + 1 <= st.RefCopyDepth && a < st.LevelCount && b < 8) {
      if (!RefChainCount(st, files, a + 1, b + 1, d, overflow)) return false;
      // The walk below read another file's links; this chain's stay valid.
    }
  }
  return true;
}

// Appends the chain from `first` of reference level b to the estimate's level
// file a, and the chains below its records; the number of its first record.
int RefChainCopy(ProgramState& st, ChainFiles& files, int a, int b, int first) {
  std::vector<int> chain;
  if (!files.Chain(b, first, b - 1, chain)) throw CopyFailure("");
  const LevelLinks& links = *files.RefLinks(b);
  const bool hex = files.hex();
  RecordFile& dest = files.Dest(a);
  // The chain's records take the numbers after the file's last record, one
  // after another: the chains below go to the next level's file.
  const int base = dest.RecordCount();
  const std::string& defaults = st.TotalRecordDefaults[static_cast<size_t>(b)];
  for (size_t i = 0; i < chain.size(); ++i) {
    std::string rec = FitRecord(files.RefRecord(b, chain[i]), st.DataLen);
    const int own = base + static_cast<int>(i) + 1;
    const bool last = i + 1 == chain.size();
    SetLinkField(rec, kOwnPos, own, hex);
    SetLinkField(rec, kNextPos, last ? kNoRecord : own + 1, hex);
    SetLinkField(rec, kChildPos, kNoRecord, hex);
    if (RecordByte(rec, kKindPos) == kClosingKind) {
      for (int c = 1; c <= st.ColCount[static_cast<size_t>(b)]; ++c) {
        const std::string& type = st.ColType[b][c];
        if (type.empty() || (type.front() != 'W' && type.front() != 'C')) continue;
        FieldStore(rec, st.ColStart[b][c], st.ColWidth[b][c],
                   FieldBytes(FitRecord(defaults, st.DataLen), st.ColStart[b][c], st.ColWidth[b][c]), st.DataLen);
      }
      rec.replace(static_cast<size_t>(kObjectPos - 1), static_cast<size_t>(kObjectWidth),
                  static_cast<size_t>(kObjectWidth), ' ');
    } else if (!last && !IsMemoTextRow(rec)) {
      // A record followed by another has its two-line texts laid out for the
      // destination level.
      for (int c = 1; c <= st.ColCount[static_cast<size_t>(a)]; ++c) {
        if (!IsWTypeColumn(st, c, a)) continue;
        const std::string split =
            CellTextSplit(st, FieldBytes(rec, st.ColStart[a][c], st.ColWidth[a][c]), c, a);
        FieldStore(rec, st.ColStart[a][c], st.ColWidth[a][c], split, st.DataLen);
      }
    }
    const int d = links.Child(chain[i]);
    if (d > 0 && a < st.LevelCount && b + 1 <= st.RefCopyDepth && b < 8)
      SetLinkField(rec, kChildPos, RefChainCopy(st, files, a + 1, b + 1, d), hex);
    dest.PutRecordText(own, rec);
  }
  return base + 1;
}

bool CapacityCheck(ProgramState& st, ChainFiles& files, const std::vector<int>& firsts, bool& overflow) {
  overflow = false;
  st.RefCopyCounts.fill(0);
  const int from = st.CurrentLevel + 1;
  for (int l = from; l <= std::min(st.LevelCount, 8); ++l) {
    const std::optional<int> n = files.DestCount(l);
    if (!n) return false;
    st.RefCopyCounts[static_cast<size_t>(l)] = *n;
  }
  for (const int c : firsts) {
    if (c < 1) continue;
    if (!RefChainCount(st, files, from, st.RefCurrentLevel + 1, c, overflow)) return false;
  }
  return true;
}

bool Append(ProgramState& st, ChainFiles& files, const std::vector<int>& firsts, std::vector<int>& linked) {
  linked.assign(firsts.size(), kNoRecord);
  files.NoteLengths(st.CurrentLevel);
  try {
    for (size_t i = 0; i < firsts.size(); ++i)
      if (firsts[i] >= 1) linked[i] = RefChainCopy(st, files, st.CurrentLevel + 1, st.RefCurrentLevel + 1, firsts[i]);
    files.CloseAll();
  } catch (const CopyFailure& e) {
    files.CutBack();
    linked.assign(firsts.size(), kNoRecord);
    if (*e.what() != '\0') WarnMsgBox(st, std::string(kRefCopyWriteFailed) + "\n" + e.what());
    return false;
  } catch (const std::exception& e) {
    files.CutBack();
    linked.assign(firsts.size(), kNoRecord);
    WarnMsgBox(st, std::string(kRefCopyWriteFailed) + "\n" + e.what());
    return false;
  }
  return true;
}

// The deepest level of the reference that has a level file.
int DeepestRefLevel(const ProgramState& st) {
  for (int l = std::min(st.LevelCount, 8); l >= 1; --l) {
    std::error_code ec;
    if (fs::is_regular_file(LevelFilePath(st, st.RefWorkFileBase, l), ec)) return l;
  }
  return 0;
}

}  // namespace

int RefChainLimit(const ProgramState& st) { return IsHexBase(st.H_Link) ? 30000 : 9800; }

bool RefCopyCapacityCheck(ProgramState& st, const std::vector<int>& firsts, bool& overflow) {
  ChainFiles files(st);
  return CapacityCheck(st, files, firsts, overflow);
}

bool RefChainsAppend(ProgramState& st, const std::vector<int>& firsts, std::vector<int>& linked) {
  ChainFiles files(st);
  return Append(st, files, firsts, linked);
}

bool RefLowerLevelsCopy(ProgramState& st, GridModel& edt, const std::vector<int>& firsts) {
  ChainFiles files(st);
  std::vector<int> linked;
  if (!Append(st, files, firsts, linked)) return false;
  // The copied rows are linked last, each written back as its own record.
  const bool hex = files.hex();
  const int level = st.CurrentLevel;
  std::vector<std::pair<size_t, std::string>> before;
  try {
    RecordFile file(LevelFilePath(st, st.WorkFileBase, level), st.DataLen);
    for (size_t i = 0; i < linked.size(); ++i) {
      if (linked[i] < 1) continue;
      const size_t r = static_cast<size_t>(st.CurrentRow) + i;
      std::string& row = st.SheetRows[r];
      const std::optional<int> own = ReadStoredLink(LinkField(row, kOwnPos), hex);
      if (!own || *own < 1 || *own > file.RecordCount()) throw CopyFailure("record " + std::to_string(r));
      before.emplace_back(r, row);
      std::string rec = row;
      SetLinkField(rec, kChildPos, linked[i], hex);
      file.PutRecordText(*own, rec);
      row = FitRecord(rec, st.DataLen);
    }
    file.Close();
  } catch (const std::exception& e) {
    // The rows linked before the failure are written back as they were.
    try {
      RecordFile file(LevelFilePath(st, st.WorkFileBase, level), st.DataLen);
      for (auto& [r, rec] : before) {
        st.SheetRows[r] = rec;
        if (const auto own = ReadStoredLink(LinkField(rec, kOwnPos), hex)) file.PutRecordText(*own, rec);
      }
    } catch (const std::exception&) {
    }
    files.CutBack();
    WarnMsgBox(st, std::string(kRefCopyWriteFailed) + "\n" + e.what());
    return false;
  }
  st.SheetLoading = true;
  SheetGridInit(st, edt, level);
  st.SheetLoading = false;
  SheetRedisplay(st, edt, 1, st.UsedRows);
  return true;
}

bool RefLowerLevelsOffer(ProgramState& st, GridModel& edt, const std::vector<int>& firsts) {
  FloatWindowsTopMostSet(st, false);
  const int answer = st.ui.MsgBox(kRefLowerQuestion, vbYesNo, kRefTitle);
  FloatWindowsTopMostSet(st, true);
  if (answer != vbYes) return true;

  FloatWindowsTopMostSet(st, false);
  st.RefCopyLevelEnabled.fill(false);
  const int deepest = DeepestRefLevel(st);
  st.RefCopyDepth = deepest;
  for (int l = std::max(st.RefCurrentLevel + 1, 2); l <= deepest; ++l)
    st.RefCopyLevelEnabled[static_cast<size_t>(l - 2)] = true;
  st.RefCopyCancel = 0;
  st.ui.ShowModal(kRefDMCopyWindow);
  FloatWindowsTopMostSet(st, true);
  if (st.RefCopyCancel == -1) return false;
  if (st.RefCopyDepth == 0) return true;

  // Before anything is recorded or written: the copy must fit. When it does
  // not, the rows copied are taken back too.
  st.ui.SetBusyPointer(true);
  {
    ChainFiles files(st);
    bool overflow = false;
    if (!CapacityCheck(st, files, firsts, overflow)) {
      if (overflow) WarnMsgBox(st, kRefCopyOverflow);
      UndoRestore(st, edt);
      st.ui.SetBusyPointer(false);
      return false;
    }
  }
  if (st.calc != nullptr) st.calc->RecalcEquipmentTotals(st, true);

  bool treeWasOpen = false;
  EditTreeSelectCurrent(st, treeWasOpen);
  struct TreeBack {
    ProgramState& st;
    bool open;
    ~TreeBack() {
      if (open) EditTreeSync(st);
    }
  } treeBack{st, treeWasOpen};
  const bool recorded = FlushLevels(st);
  if (!recorded || IsUntitledName(st.WorkFileBase)) {
    st.ui.SetBusyPointer(false);
    return false;
  }
  // The sheet is on disk as it stands, and the level work files changed.
  st.SheetModified = false;
  st.PackPending = true;
  const int level = st.CurrentLevel;
  GetTopCell32(edt, 0, st.PathTopCells[static_cast<size_t>(level)].col, st.PathTopCells[static_cast<size_t>(level)].row);
  st.PathRows[static_cast<size_t>(level)] = st.CurrentRow;
  st.PathCols[static_cast<size_t>(level)] = st.CurrentCol;

  RefLowerLevelsCopy(st, edt, firsts);

  const SheetTopCell top = st.PathTopCells[static_cast<size_t>(level)];
  if (top.row > 1) SetTopCell32(edt, 0, 1, top.row);
  LoadSheetObjects(st, st.WorkFileBase, st.SheetObjNo, edt);
  SetSheetLocate32(edt, st.PathCols[static_cast<size_t>(level)], st.PathRows[static_cast<size_t>(level)]);
  if (st.editor != nullptr) st.editor->PageNumbersWrite(st);
  st.ui.SetBusyPointer(false);
  return true;
}

}  // namespace kv
