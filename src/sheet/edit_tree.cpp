#include "sheet/edit_tree.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <filesystem>
#include <memory>
#include <optional>

#include "core/record_file.h"
#include "core/sjis_text.h"
#include "core/stored_number.h"
#include "platform/grid/grid_model.h"
#include "platform/tree/tree_model.h"
#include "platform/ui.h"
#include "state/program_state.h"
#include "sheet/level_bar_layout.h"
#include "state/sheet_services.h"
#include "storage/level_chain.h"
#include "storage/file_command_steps.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"
#include "storage/sheet_objects.h"
#include "storage/split_path.h"

namespace kv {

namespace {

constexpr const char* kImageClose = "Close";
constexpr const char* kImageLeaf = "Leaf";
constexpr int kImageOpen = 2;  // "Open", the second image of the list

// The level files one tree operation reads, each opened once. Operations
// that run inside another (the collapse handling raised by an expand) share
// the outer one's files, so a damaged file is reported once for all of them.
class TreeFiles {
 public:
  TreeFiles(ProgramState& st, std::string workBase) : st_(st), base_(std::move(workBase)), outer_(active_) {
    if (!outer_) active_ = this;
  }
  ~TreeFiles() {
    if (!outer_) active_ = nullptr;
  }
  TreeFiles(const TreeFiles&) = delete;
  TreeFiles& operator=(const TreeFiles&) = delete;

  // The sheet of `level`: level 1 the whole file in record order, a deeper
  // level the chain from `first`. On a fault, what was read before it.
  SheetChain Chain(int level, int first) { return Reader().ReadChain(level, first); }
  // Record `n` of a level file, checked; false when it cannot be read.
  bool Record(int level, int n, std::string& rec) { return Reader().ReadRecord(level, n, rec); }

 private:
  struct LevelFile {
    bool tried = false;
    bool reported = false;
    std::unique_ptr<RecordFile> file;
    std::unique_ptr<FileRecords> source;
    bool linked = false;
    LevelLinks links;  // the links of the file's records, read once for all its chains
    LevelFileProblem linkProblem;
  };

  TreeFiles& Reader() { return outer_ ? *outer_ : *this; }

  bool Hex() const { return IsHexBase(st_.H_Link); }

  void Fault(int level, const LevelFileProblem& p) {
    LevelFile& f = files_[static_cast<size_t>(level)];
    if (f.reported) return;
    f.reported = true;
    LevelFileFaultShow(st_, LevelFilePath(st_, base_, level), p);
  }

  void Error(int level, const char* detail) {
    LevelFile& f = files_[static_cast<size_t>(level)];
    if (f.reported) return;
    f.reported = true;
    LevelFileErrorShow(st_, LevelFilePath(st_, base_, level), detail);
  }

  // The open file of a level; null when it does not exist or cannot be opened.
  const RecordSource* Source(int level) {
    LevelFile& f = files_[static_cast<size_t>(level)];
    if (!f.tried) {
      f.tried = true;
      const std::filesystem::path path = LevelFilePath(st_, base_, level);
      std::error_code ec;
      if (std::filesystem::exists(path, ec)) {
        try {
          f.file = std::make_unique<RecordFile>(path, st_.DataLen, RecordFileMode::ReadOnly);
          f.source = std::make_unique<FileRecords>(*f.file);
        } catch (const RecordFileError& e) {
          Error(level, e.what());
        }
      }
    }
    return f.source.get();
  }

  SheetChain ReadChain(int level, int first) {
    SheetChain chain;
    if (level < 1 || level > kMaxLevels) return chain;
    if (level > 1 && first < 1) return chain;
    const RecordSource* src = Source(level);
    if (!src) {
      // A breakdown in a level file that is not there.
      if (level > 1 && !files_[static_cast<size_t>(level)].reported)
        Fault(level, {LevelFault::LinkPastEnd, 0});
      return chain;
    }
    try {
      LevelFile& f = files_[static_cast<size_t>(level)];
      if (level > 1 && !f.linked) {
        f.linked = true;
        f.linkProblem = LevelLinksRead(*src, Hex(), f.links);
      }
      LevelFileProblem p = level > 1 ? f.linkProblem : LevelFileProblem{};
      if (!p)
        p = level == 1 ? ReadSheetChain(*src, true, first, Hex(), INT_MAX, chain)
                       : ReadSheetChain(*src, f.links, first, INT_MAX, chain);
      if (p) Fault(level, p);
    } catch (const RecordFileError& e) {
      Error(level, e.what());
    }
    return chain;
  }

  bool ReadRecord(int level, int n, std::string& rec) {
    if (level < 1 || level > kMaxLevels) return false;
    const RecordSource* src = Source(level);
    if (!src) return false;
    try {
      int count = 0;
      LevelFileProblem p = CountRecords(*src, count);
      if (!p && (n < 1 || n > count || !src->Get(n, rec))) p = {LevelFault::LinkPastEnd, n};
      if (!p) p = CheckRecordNumbers(rec, n, count, Hex());
      if (p) {
        Fault(level, p);
        return false;
      }
      return true;
    } catch (const RecordFileError& e) {
      Error(level, e.what());
      return false;
    }
  }

  static inline TreeFiles* active_ = nullptr;
  ProgramState& st_;
  std::string base_;
  TreeFiles* outer_;
  std::array<LevelFile, kMaxLevels + 1> files_;
};

// The hourglass and a status text while the tree is read.
class TreeBusy {
 public:
  TreeBusy(ProgramState& st, bool status) : st_(st), status_(status && st.sheetEngine) {
    st_.ui.SetBusyPointer(true);
    if (status_) st_.sheetEngine->StatusPanelSet(st_, 1, "ツリー作成中");
  }
  ~TreeBusy() {
    st_.ui.SetBusyPointer(false);
    if (status_) st_.sheetEngine->StatusPanelClear(st_, 1);
  }
  TreeBusy(const TreeBusy&) = delete;
  TreeBusy& operator=(const TreeBusy&) = delete;

 private:
  ProgramState& st_;
  bool status_;
};

bool Hex(const ProgramState& st) { return IsHexBase(st.H_Link); }

int OwnNumber(const ProgramState& st, std::string_view rec) {
  return BaseStrToNum(LinkField(rec, kOwnPos), Hex(st));
}

// The first record of the row's breakdown; kNoRecord when it has none: a
// link below 1, or a row of the deepest level.
int BreakdownOf(const ProgramState& st, std::string_view rec, int level) {
  if (level >= st.LevelCount) return kNoRecord;
  const std::optional<int> link = ReadStoredLink(LinkField(rec, kChildPos), Hex(st));
  return link && *link >= 1 ? *link : kNoRecord;
}

bool IsClosing(std::string_view rec) { return RecordByte(rec, kKindPos) == kClosingKind; }

// Appends TreeNodeKey(record, hex) to `out`. A decimal number is written
// here directly: NumToBaseStr gives it as the digits after a blank.
void AppendTreeNodeKey(std::string& out, int record, bool hex) {
  constexpr size_t kWidth = kStoredNumberWidth;
  std::string text;
  std::array<char, 16> buf;
  std::string_view digits;
  if (hex) {
    text = NumToBaseStr(record, hex);
    digits = text;
    while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
  } else {
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), record);
    digits = std::string_view(buf.data(), static_cast<size_t>(r.ptr - buf.data()));
  }
  digits = digits.substr(0, kWidth);
  out += digits;
  out.append(kWidth - digits.size(), ' ');
}

// The row's heading: the caption columns of its level, blanks trimmed. The
// blanks are trimmed from the stored bytes, before the conversion: a blank
// byte is a character of its own in Shift-JIS (never the second byte of one),
// and only the blank byte converts to a blank.
std::string NodeText(const ProgramState& st, std::string_view rec, int level) {
  const int c1 = st.CaptionColmun1;
  const int c2 = st.CaptionColmun2;
  if (c1 < 1 || c2 < c1 || c2 > kMaxColumns) return {};
  int width = 0;
  for (int c = c1; c <= c2; ++c) width += st.ColWidth[level][c];
  const int start = st.ColStart[level][c1];
  if (start < 1 || width < 1 || static_cast<size_t>(start) > rec.size()) return {};
  std::string_view field = rec.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(width));
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  return field.empty() ? std::string() : MidAnsi(field, 1, static_cast<int>(field.size()));
}

// Adds one sheet's rows below the parent node.
void AddChildren(ProgramState& st, TreeModel& tree, TreeFiles& files, int level, int first,
                 std::string_view parentKey) {
  const bool hex = Hex(st);
  const SheetChain chain = files.Chain(level, first);
  for (const std::string& rec : chain.records) {
    if (IsClosing(rec)) continue;
    std::string key = LevelPathKey(parentKey, level, OwnNumber(st, rec), hex);
    if (BreakdownOf(st, rec, level) >= 1)
      tree.Add(parentKey, std::move(key), NodeText(st, rec, level), kImageClose, kImageOpen);
    else
      tree.Add(parentKey, std::move(key), NodeText(st, rec, level), kImageLeaf);
  }
}

// The key of the row ParentRows(depth) of the current path; "Root" for depth 0.
std::string ParentPathKey(const ProgramState& st, int depth) {
  if (depth < 1) return std::string(kTreeRootKey);
  std::string key;
  for (int g = 1; g <= depth && g <= kMaxLevels; ++g)
    key = LevelPathKey(key, g, OwnNumber(st, st.ParentRows[static_cast<size_t>(g)]), Hex(st));
  return key;
}

// The level of the node's own row and its record number; false for the root.
bool NodeRow(const ProgramState& st, const TreeNodeData& node, std::string& key, int& level, int& record) {
  key = TreeNodeKeyOf(node);
  if (key == kTreeRootKey) return false;
  level = static_cast<int>(key.size()) / kTreeKeySegment;
  if (level < 1) return false;
  record = TreeKeyRecord(key, 0, Hex(st));
  return true;
}

}  // namespace

std::string TreeNodeKey(int record, bool hex) {
  std::string text;
  AppendTreeNodeKey(text, record, hex);
  return text;
}

int TreeNodeIndexByKey(const TreeModel& tree, std::string_view key) { return tree.IndexOf(key); }

std::string TreeNodeKeyOf(const TreeNodeData& node) {
  return node.key.empty() ? std::string(kTreeRootKey) : node.key;
}

void TreeRemoveDescendants(TreeModel& tree, std::string_view prefix) {
  tree.RemoveKeysExtending(prefix);
}

std::string LevelPathKey(std::string_view parentKey, int level, int record, bool hex) {
  if (parentKey == kTreeRootKey) parentKey = {};
  std::string key;
  key.reserve(parentKey.size() + kTreeKeySegment);
  key += parentKey;
  key += 'Y';
  key += static_cast<char>('0' + (level % 10));
  AppendTreeNodeKey(key, record, hex);
  return key;
}

int TreeKeyRecord(std::string_view key, int level, bool hex) {
  if (level == 0) level = static_cast<int>(key.size()) / kTreeKeySegment;
  const size_t start = static_cast<size_t>((level - 1) * kTreeKeySegment + 2);
  if (level < 1 || start + kStoredNumberWidth > key.size()) return 0;
  return BaseStrToNum(key.substr(start, kStoredNumberWidth), hex);
}

LevelTreeSource EditTreeSource(const ProgramState& st) {
  LevelTreeSource src;
  src.tree = st.EditTree;
  src.workBase = st.WorkFileBase;
  src.filePath = st.CurrentFilePath;
  src.parentRows = &st.ParentRows;
  src.shown = st.TreeShown;
  return src;
}

void EditTreeConnect(ProgramState& st, TreeModel& tree) {
  st.EditTree = &tree;
  tree.events.Expand = [&st](const TreeNodeData& node) { TreeView1_Expand(st, node); };
  tree.events.Collapse = [&st](const TreeNodeData& node) { TreeView1_Collapse(st, node); };
}

void EditTreeBuild(ProgramState& st) { LevelTreeBuild(st, EditTreeSource(st)); }

void LevelTreeBuild(ProgramState& st, const LevelTreeSource& src) {
  if (!src.shown || !src.tree) return;
  TreeModel& tree = *src.tree;
  st.ui.SetBusyPointer(true);
  tree.Clear();
  const std::string name = SplitPath(st, src.filePath).name;
  if (name == "無題") {
    tree.Add("", std::string(kTreeRootKey), name, kImageLeaf);
    st.ui.SetBusyPointer(false);
    return;
  }
  tree.Add("", std::string(kTreeRootKey), name, kImageClose, kImageOpen);
  {
    TreeBusy busy(st, src.statusText);
    TreeFiles files(st, src.workBase);
    const SheetChain top = files.Chain(1, 1);
    for (const std::string& rec : top.records) {
      if (IsClosing(rec)) continue;
      const std::string key = LevelPathKey("", 1, OwnNumber(st, rec), Hex(st));
      const int child = BreakdownOf(st, rec, 1);
      if (child < 1) {
        tree.Add(kTreeRootKey, key, NodeText(st, rec, 1), kImageLeaf);
      } else if (tree.Add(kTreeRootKey, key, NodeText(st, rec, 1), kImageClose, kImageOpen)) {
        AddChildren(st, tree, files, 2, child, key);
      }
    }
    tree.SetExpanded(kTreeRootKey, true);
  }
}

void EditTreeAddChildren(ProgramState& st, int level, int first, std::string_view parentKey) {
  LevelTreeAddChildren(st, EditTreeSource(st), level, first, parentKey);
}

void LevelTreeAddChildren(ProgramState& st, const LevelTreeSource& src, int level, int first,
                          std::string_view parentKey) {
  if (!src.tree) return;
  TreeFiles files(st, src.workBase);
  AddChildren(st, *src.tree, files, level, first, parentKey);
}

void TreeView1_Expand(ProgramState& st, const TreeNodeData& node) { LevelTreeNodeExpand(st, EditTreeSource(st), node); }

void TreeView1_Collapse(ProgramState& st, const TreeNodeData& node) {
  LevelTreeNodeCollapse(st, EditTreeSource(st), node);
}

void LevelTreeNodeExpand(ProgramState& st, const LevelTreeSource& src, const TreeNodeData& node) {
  std::string key;
  int level = 0, record = 0;
  if (!NodeRow(st, node, key, level, record)) return;
  std::string rec;
  if (!LevelTreeRecord(st, src, level, record, rec)) return;
  const int child = BreakdownOf(st, rec, level);
  if (child >= 1) LevelTreeExpand(st, src, level + 1, key, child);
}

void LevelTreeNodeCollapse(ProgramState& st, const LevelTreeSource& src, const TreeNodeData& node) {
  std::string key;
  int level = 0, record = 0;
  if (!NodeRow(st, node, key, level, record)) return;
  LevelTreeCollapse(st, src, level + 1, key, kNoRecord);
}

bool LevelTreeRecord(ProgramState& st, const LevelTreeSource& src, int level, int record, std::string& rec) {
  TreeFiles files(st, src.workBase);
  return files.Record(level, record, rec);
}

int LevelTreeBreakdown(const ProgramState& st, std::string_view rec, int level) {
  return BreakdownOf(st, rec, level);
}

void EditTreeExpand(ProgramState& st, int level, std::string_view key, int first) {
  LevelTreeExpand(st, EditTreeSource(st), level, key, first);
}

void LevelTreeExpand(ProgramState& st, const LevelTreeSource& src, int level, std::string_view key, int first) {
  if ((src.expandNeedsShown && !src.shown) || !src.tree) return;
  TreeModel& tree = *src.tree;
  TreeBusy busy(st, src.statusText);
  TreeFiles files(st, src.workBase);
  const std::string parentKey(key);
  const SheetChain chain = files.Chain(level, first);
  for (const std::string& rec : chain.records) {
    if (IsClosing(rec)) continue;
    const int child = BreakdownOf(st, rec, level);
    if (child < 1) continue;
    const std::string childKey = LevelPathKey(parentKey, level, OwnNumber(st, rec), Hex(st));
    // A row added to the file since the tree was read has no node: passed over.
    if (!tree.Find(childKey)) continue;
    if (tree.Expanded(childKey)) tree.SetExpanded(childKey, false);
    AddChildren(st, tree, files, level + 1, child, childKey);
  }
}

void EditTreeCollapse(ProgramState& st, int level, std::string_view key, int first) {
  LevelTreeCollapse(st, EditTreeSource(st), level, key, first);
}

void LevelTreeCollapse(ProgramState& st, const LevelTreeSource& src, int /*level*/, std::string_view key,
                       int /*first*/) {
  // Everything below the node's children goes; the children themselves stay.
  // They are taken from the tree, which holds exactly the rows the level
  // files had when the node was filled, so no file is read.
  if (!src.tree) return;
  TreeModel& tree = *src.tree;
  const TreeNode* node = tree.Find(key);
  if (!node) return;
  st.ui.SetBusyPointer(true);
  std::vector<std::string> children;
  for (const TreeNode* c : node->children) children.push_back(c->data.key);
  for (const std::string& c : children) TreeRemoveDescendants(tree, c);
  st.ui.SetBusyPointer(false);
}

void EditTreeNodeFind(ProgramState& st, int level, bool& found, int record, int& row) {
  LevelTreeNodeFind(st, EditTreeSource(st), level, found, record, row);
}

void LevelTreeNodeFind(ProgramState& st, const LevelTreeSource& src, int level, bool& found, int record,
                       int& row) {
  found = true;
  row = 0;
  int first = 1;
  if (level > 1) {
    if (!src.parentRows || level - 1 > kMaxLevels) {
      found = false;
      return;
    }
    const std::optional<int> link =
        ReadStoredLink(LinkField((*src.parentRows)[static_cast<size_t>(level - 1)], kChildPos), Hex(st));
    first = link && *link >= 1 ? *link : kNoRecord;
  }
  TreeFiles files(st, src.workBase);
  const SheetChain chain = files.Chain(level, first);
  for (size_t i = 0; i < chain.records.size(); ++i) {
    if (OwnNumber(st, chain.records[i]) == record) {
      row = static_cast<int>(i) + 1;
      break;
    }
  }
  if (row == 0) found = false;
}

void EditTreeSelectCurrent(ProgramState& st, bool& wasOpen) {
  if (!st.TreeShown || !st.EditTree) return;
  wasOpen = false;
  const std::string upper = ParentPathKey(st, st.CurrentLevel - 2);
  if (st.EditTree->Expanded(upper)) {
    wasOpen = true;
    st.EditTree->SetExpanded(upper, false);
  }
}

void EditTreeSync(ProgramState& st) {
  if (!st.TreeShown || !st.EditTree) return;
  const int level = st.CurrentLevel;
  if (level <= 2) EditTreeBuild(st);
  if (level <= 1) return;
  for (const std::string& key : {ParentPathKey(st, level - 2), ParentPathKey(st, level - 1)}) {
    if (st.EditTree->Find(key) && !st.EditTree->Expanded(key)) st.EditTree->SetExpanded(key, true);
  }
}

void TreeView1_NodeClick(ProgramState& st, const TreeNodeData& node, LevelBarPort* bar) {
  if (st.CommandBusy) return;
  if (st.CurrentLevel == 1 && st.UsedRows < 1) return;
  CommandBusySet(st, true);
  CommandEnd end(st);
  if (st.SheetModified && !AskToRecord(st, "見積データの内容が変更されています。記録しますか？")) return;

  // The record numbers of the path down to the row; the root opens level 1
  // at record 1.
  const std::string key = TreeNodeKeyOf(node);
  const bool root = key == kTreeRootKey;
  const int depth = root ? 1 : static_cast<int>(key.size()) / kTreeKeySegment;
  if (depth < 1 || depth > kMaxLevels || depth > std::max(st.LevelCount, 1)) return;
  std::array<int, kMaxLevels + 1> entry{};
  std::array<std::string, kMaxLevels + 1> parents;
  if (root) {
    entry[1] = 1;
  } else {
    for (int i = 1; i <= depth; ++i) entry[static_cast<size_t>(i)] = TreeKeyRecord(key, i, Hex(st));
    // Each row of the path must still own the sheet below it, and the row
    // must still be in its sheet.
    TreeFiles files(st, st.WorkFileBase);
    int child = kNoRecord;
    for (int i = 1; i < depth; ++i) {
      std::string& rec = parents[static_cast<size_t>(i)];
      if (!files.Record(i, entry[static_cast<size_t>(i)], rec)) return;
      child = BreakdownOf(st, rec, i);
      if (child < 1) return;
    }
    if (depth >= 2) {
      const SheetChain chain = files.Chain(depth, child);
      bool there = false;
      for (const std::string& rec : chain.records)
        if (OwnNumber(st, rec) == entry[static_cast<size_t>(depth)]) there = true;
      if (!there) return;
    }
  }

  const int oldLevel = st.CurrentLevel;
  const auto oldParents = st.ParentRows;
  st.CurrentLevel = depth;
  for (int i = 1; i < depth; ++i) {
    st.ParentRows[static_cast<size_t>(i)] = parents[static_cast<size_t>(i)];
    if (bar) bar->SetLevelCaption(i, ParentHeadingCaption(st, i));
  }
  SheetServices* engine = st.sheetEngine;
  if (engine) {
    engine->DMButtonsLayout(st);
    engine->EdtSheet_Pos(st);
  }
  if (!LevelRead(st, depth)) {
    // The sheet could not be read (the user has been told): the one in
    // memory stays, and so does its level.
    st.CurrentLevel = oldLevel;
    st.ParentRows = oldParents;
    if (engine) {
      engine->DMButtonsLayout(st);
      engine->EdtSheet_Pos(st);
      engine->ShowParentLevelPath(st);
    }
    return;
  }

  bool found = false;
  int row = 0;
  EditTreeNodeFind(st, depth, found, entry[static_cast<size_t>(depth)], row);
  if (row == 0) row = 1;  // not in the sheet after all: the sheet from its top
  GridModel* grid = engine ? engine->EdtSheetGrid(st) : nullptr;
  if (engine) {
    st.SheetLoading = true;
    engine->SheetGridInit(st, depth);
    st.SheetLoading = false;
    engine->SheetRedisplay(st, row, st.UsedRows);
  }
  if (grid) LoadSheetObjects(st, st.WorkFileBase, st.SheetObjNo, *grid);
  if (engine) engine->ShowParentLevelPath(st);
  st.CurrentRow = row;
  st.CurrentCol = st.ToTalNameColmun;
  if (grid) {
    grid->SetCurrentRow(row);
    grid->SetCurrentCol(st.ToTalNameColmun);
  }
  if (engine) engine->UndoSave(st);
}

void TreeDisplay(ProgramState& st) {
  if (!st.TreeShown) {
    st.TreeShown = true;
    EditTreeBuild(st);
  } else {
    st.TreeShown = false;
  }
}

}  // namespace kv
