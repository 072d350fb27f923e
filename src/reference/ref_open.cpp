// The reference window's File menu: open, open through a conversion rule,
// the five recent references and exit.
#include <filesystem>

#include "platform/grid/grid_model.h"
#include "reference/ref_files.h"
#include "reference/ref_sheet.h"
#include "reference/ref_tree.h"
#include "reference/ref_window.h"
#include "state/editor_services.h"
#include "state/file_exist_check.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "storage/estimate_unpack.h"
#include "storage/level_files.h"
#include "storage/recent_files.h"
#include "storage/sheet_objects.h"
#include "storage/split_path.h"
#include "storage/work_folder_check.h"

namespace kv {

namespace {

constexpr const char* kBaseTextRefused = "基本テキストファイルは参考で開けません。";
constexpr const char* kWorkFolderRefused = "Korvane作業用フォルダから参考ファイルは開けません。";

std::string Trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool SameResolved(const std::string& a, const std::string& b) {
  std::error_code e1, e2;
  const auto pa = std::filesystem::weakly_canonical(a, e1);
  const auto pb = std::filesystem::weakly_canonical(b, e2);
  return e1 || e2 ? a == b : pa == pb;
}

// The box of a refusal or a question, with the floating windows lowered.
int RefMsgBox(ProgramState& st, const std::string& text, int style) {
  FloatWindowsTopMostSet(st, false);
  const int answer = st.ui.MsgBox(text, style, kRefTitle);
  FloatWindowsTopMostSet(st, true);
  return answer;
}

}  // namespace

void RefSheetWindow::RefM1Sub_Click(int index) {
  if (index == 0) FileOpenByDialog(Road::Open);
  if (index == 1) FileOpenByDialog(Road::Rule);
  if (index >= 3 && index <= 7) RecentOpen(index - 2);
  if (index == 9) {
    if (port_.Close) port_.Close();
  }
}

bool RefSheetWindow::Refused(const std::string& path) {
  if (!st_.KvTextPath.empty() && SameResolved(path, st_.KvTextPath)) {
    RefMsgBox(st_, kBaseTextRefused, vbExclamation);
    return true;
  }
  if (IsInWorkFolder(st_, path) || IsInRefWorkFolder(st_, path)) {
    RefMsgBox(st_, kWorkFolderRefused, vbExclamation);
    return true;
  }
  return false;
}

void RefSheetWindow::FileOpenByDialog(Road road) {
  RefMenuLock(true);
  ToolBarLock(true);
  FloatWindowsTopMostSet(st_, false);
  RefCommandScope end([this] {
    FloatWindowsTopMostSet(st_, true);
    RefMenuLock(false);
    ToolBarLock(false);
  });
  FileDialogRequest req;
  req.title = kRefOpenTitle;
  req.filter = "TheKorvaneWindow参考File (*" + st_.PackedExt + ")|*" + st_.PackedExt;
  if (road == Road::Open && st_.CustomerVariant) req.filter += "|TheKorvaneWindow参考File (*.JZH)|*.JZH";
  req.filterIndex = 1;
  req.flags = cdlOFNFileMustExist | cdlOFNHideReadOnly;
  req.initDir = st_.RefData;
  const std::optional<std::string> chosen = st_.ui.OpenFileDialog(req);
  if (!chosen || Trimmed(*chosen).empty()) return;
  const std::string path = Trimmed(*chosen);
  if (Refused(path)) return;
  if (path == st_.RefFilePath) return;
  OpenChosen(path, road);
}

void RefSheetWindow::RecentOpen(int n) {
  RefMenuLock(true);
  ToolBarLock(true);
  RefCommandScope end([this] {
    RefMenuLock(false);
    ToolBarLock(false);
  });
  const std::string& entry = st_.RecentRefFiles[static_cast<size_t>(n)];
  const std::string path = entry.size() > 2 ? entry.substr(2) : std::string();
  if (Trimmed(path).empty() || path == st_.RefFilePath) return;
  if (!FileExistChk(st_, path)) {
    RefMsgBox(st_, "参考データを開くことが出来ません (" + SplitPath(st_, path).name + ")", vbExclamation);
    for (int k = n; k < 5; ++k) {
      const std::string& next = st_.RecentRefFiles[static_cast<size_t>(k + 1)];
      st_.RecentRefFiles[static_cast<size_t>(k)] =
          std::to_string(k) + (next.size() > 2 ? " " + next.substr(2) : std::string());
    }
    st_.RecentRefFiles[5] = "5";
    RecentCaptions();
    return;
  }
  if (Refused(path)) return;
  OpenChosen(path, Road::Recent);
}

void RefSheetWindow::OpenChosen(const std::string& path, Road road) {
  const std::string prevPath = st_.RefFilePath;
  const std::string prevBase = st_.RefWorkFileBase;
  const int prevLevel = st_.RefCurrentLevel;
  const bool prevFits = st_.RefFitsEditor;
  RefWorkFilesStash(st_, prevBase);
  const auto restore = [&] {
    st_.RefFilePath = prevPath;
    st_.RefWorkFileBase = prevBase;
    st_.RefCurrentLevel = prevLevel;
    st_.RefFitsEditor = prevFits;
    RefWorkFilesRestore(st_, prevBase);
  };

  st_.RefWorkFileBase = st_.RefFilePath = path;
  const std::string name = SplitPath(st_, path).name;
  std::string base = st_.RefWorkFileBase;
  bool copyFailed = false;
  const bool copied = RefSameFileCopy(st_, base, copyFailed);
  if (copyFailed) {
    RefMsgBox(st_, "見積データ [ " + name + " ] を作業フォルダへ読み込めませんでした。", vbExclamation);
    restore();
    return;
  }
  if (copied) {
    st_.RefWorkFileBase = base;
  } else {
    if (!IsUntitledName(path)) {
      if (road == Road::Open && st_.CustomerVariant) {
        if (!RefCustomerUnpack(st_, path)) {
          restore();
          return;
        }
      } else if (const UnpackResult r = UnpackReferenceFile(st_, path); !r.ok()) {
        UnpackFailureShow(st_, r);
        restore();
        return;
      }
    }
    st_.RefWorkFileBase = RefWorkFolder(st_) + "/" + name;
  }
  st_.RefCurrentLevel = 1;

  bool converted = false;
  const auto conversion = [&] {
    st_.RefLinkCancelled = -1;
    if (st_.ui.HasWindow(kRefLinkWindow)) st_.ui.ShowModal(kRefLinkWindow);
    if (st_.RefLinkCancelled == -1) return false;
    converted = true;
    return true;
  };
  if (road == Road::Rule) {
    if (!conversion()) {
      REF_WorkFileDel(st_, st_.RefWorkFileBase, false);
      restore();
      return;
    }
  } else if (LayoutsDiffer(st_, st_.WorkFileBase, st_.RefWorkFileBase)) {
    const int answer = RefMsgBox(st_,
                                 "[ " + name + " ] のシステム設定が、編集画面と異なります。\n変換しますか？",
                                 vbYesNoCancel | vbQuestion);
    bool abandon = answer != vbYes && answer != vbNo;
    if (!abandon) {
      if (st_.SearchSheetLoaded) SearchWindowUnload(st_);
      if (answer == vbYes) abandon = !conversion();
    }
    if (abandon) {
      REF_WorkFileDel(st_, st_.RefWorkFileBase, false);
      restore();
      return;
    }
  }
  st_.RefFitsEditor = converted || RefGeometryFits(st_);
  ShowOpened(road != Road::Recent);
  if (road == Road::Recent) {
    AddRecentReference(st_, st_.RefFilePath);
    RecentCaptions();
  }
  if (!IsUntitledName(prevBase)) REF_WorkFileDel(st_, prevBase, true);
}

void RefSheetWindow::ShowOpened(bool addRecent) {
  st_.ui.SetWindowText(kRefWindow, "", "参考<" + st_.RefFilePath + ">");
  st_.RefData = SplitPath(st_, st_.RefFilePath).folder;
  if (addRecent) {
    AddRecentReference(st_, st_.RefFilePath);
    RecentCaptions();
  }
  st_.RefDivideHold = true;
  RefLevelRead(st_, grid_, st_.RefCurrentLevel);
  RefSheetRedisplay(st_, grid_, 1, st_.RefUsedRows);
  LoadSheetObjects(st_, st_.RefWorkFileBase, st_.RefSheetObjNo, grid_);
  st_.RefDivideHold = false;
  RefDMButtonsLayout(st_.RefCurrentLevel);
  RefSheet_pos(st_.RefCurrentLevel);
  st_.RefSelEnd = 1;
  grid_.SetCurrentRow(1);
  grid_.SetCurrentCol(st_.CaptionColmun1);
  grid_.SetCurrentRow(1);
  if (port_.GridFocus) port_.GridFocus();
  RefTreeBuild(st_);
}

}  // namespace kv
