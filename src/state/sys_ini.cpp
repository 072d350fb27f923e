#include "state/sys_ini.h"

#include <algorithm>
#include <string>

#include "core/ini_file.h"
#include "state/base_text.h"
#include "state/classify_services.h"
#include "state/editor_services.h"
#include "state/file_exist_check.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"

namespace kv {

namespace {

std::string SysIniPath(const ProgramState& st) { return st.AppPath + "/KVSSYS.INI"; }

std::string Text(std::string_view section, std::string_view key, const std::string& file) {
  std::string value;
  IniGetString(section, key, value, file);
  return value;
}

std::string N(int n) { return std::to_string(n); }

// Values out of the range their control takes are brought into it as they
// are read, so that a damaged file opens no window off the screen or of an
// absurd size. A missing key (-1) keeps its meaning where it has one.

// The zoom box takes 30 .. 200 %; anything else is 100 %.
int ZoomRead(int zoom) { return zoom < 30 || zoom > 200 ? 100 : zoom; }

// A window corner: -1 (missing: the window is centred) is kept, anything else
// lies within 0 .. max twips.
int CornerRead(int v, int max) { return v == -1 ? -1 : std::clamp(v, 0, max); }

// A window size: 0 or less (missing: the default size) is kept, anything else
// lies within 1 .. max twips.
int SizeRead(int v, int max) { return v <= 0 ? v : std::min(v, max); }

// The screen in twips (15 a pixel); a screen that tells no size counts as a
// large one.
TextSize ScreenTwips(const ProgramState& st) {
  constexpr int kTwipsPerPixel = 15;
  const TextSize px = st.ui.ScreenSize();
  return {px.width > 0 ? px.width * kTwipsPerPixel : 3840 * kTwipsPerPixel,
          px.height > 0 ? px.height * kTwipsPerPixel : 2160 * kTwipsPerPixel};
}

}  // namespace

bool SysIniLoad(ProgramState& st) {
  const std::string f = SysIniPath(st);
  // 1. Folders and recent files.
  st.KVData = Text("PathDir", "KVData", f);
  for (int n = 1; n <= 5; ++n) st.RecentFiles[n] = Text("PreviasFile", "MDataP" + N(n), f);
  // 2. Editing.
  st.AutoDownFlag = IniGetInt("自動改行", "AutoDownFlag", f);
  st.ReCalcFlag = IniGetInt("再計算", "ReCalcFlag", f) != 0;
  st.KVZoom = ZoomRead(IniGetInt("ズーム倍率", "KVZoom", f));
  st.RefZoom = ZoomRead(IniGetInt("ズーム倍率", "RefZoom", f));
  st.EditCellPosition = IniGetInt("編集開始キャレット位置", "EditCellPosition", f);
  st.EditCursor = IniGetInt("MouseCursor", "EditCursor", f);
  // 3. Split positions; those of the deepest level are written but not read.
  for (int n = 1; n <= std::min(st.LevelCount, 8) - 1; ++n) {
    st.GamenX[n] = IniGetInt("画面分割", "GamenX" + N(n), f);
    st.GamenY[n] = IniGetInt("画面分割", "GamenY" + N(n), f);
    st.GamenCX[n] = IniGetInt("画面分割", "GamenCX" + N(n), f);
    st.GamenCY[n] = IniGetInt("画面分割", "GamenCY" + N(n), f);
  }
  // 4. Window rectangles; the main window's corner kept on a reachable screen
  // (within 24000 x 16000 twips) and its size within the screen's; the
  // search window's likewise.
  const TextSize screen = ScreenTwips(st);
  st.EditWinLeft = CornerRead(IniGetInt("編集画面", "Left", f), 24000);
  st.EditWinTop = CornerRead(IniGetInt("編集画面", "Top", f), 16000);
  st.EditWinWidth = SizeRead(IniGetInt("編集画面", "Width", f), screen.width);
  st.EditWinHeight = SizeRead(IniGetInt("編集画面", "Height", f), screen.height);
  st.SearchWinLeft = CornerRead(IniGetInt("検索画面", "Left", f), 24000);
  st.SearchWinTop = CornerRead(IniGetInt("検索画面", "Top", f), 16000);
  st.SearchWinWidth = SizeRead(IniGetInt("検索画面", "Width", f), screen.width);
  st.SearchWinHeight = SizeRead(IniGetInt("検索画面", "Height", f), screen.height);
  // 5. Classification masters that exist.
  for (int k = 1; k <= 2; ++k) {
    const std::string name = Text("仕訳画面", "SIWAKE" + N(k), f);
    if (name.empty()) continue;
    const std::string master = st.AppPath + "/" + name;
    if (FileExistChk(st, master) && st.classify != nullptr) st.classify->SiwakeItemRead(st, master, k);
  }
  // 6. Display.
  // The splitter lies within the main window.
  st.SizerPos = std::clamp(IniGetInt("Sizer", "Pos", f), 0, st.EditWinWidth > 0 ? st.EditWinWidth : screen.width);
  st.KVDisp = Text("階層表示", "KVDisp", f);
  st.RefDisp = Text("階層表示", "RefDisp", f);
  // The four page-line styles are 0 .. 3; anything else draws the first.
  st.SheetPageLineStyle = IniGetInt("ページ設定", "SheetPageLineStyle", f);
  if (st.SheetPageLineStyle < 0 || st.SheetPageLineStyle > 3) st.SheetPageLineStyle = 0;
  st.DMTotalFlag = IniGetInt("階層計表示", "DMTotalFlag", f) != 0;
  // 7. Item layout of the base text.
  const bool layoutRead = BaseTextRead(st, f);
  // 8. Width corrections, stored as the correction minus 1; a missing key
  // gives 0.
  for (int i = 1; i <= 20; ++i) {
    const int v = IniGetInt("セル幅微調整補数", "CELLHABA_" + N(10 * i), f) + 1;
    st.CellHabaAdjust[i] = (v >= -10 && v <= 50) ? v : 0;
  }
  return layoutRead;
}

bool SysIniSave(ProgramState& st, const MainWindowPlacement& window) {
  const std::string f = SysIniPath(st);
  bool ok = true;
  auto put = [&](std::string_view section, std::string_view key, const std::string& value) {
    if (ok) ok = IniPutString(section, key, value, f);
  };
  // 1.
  put("PathDir", "KVData", st.KVData);
  for (int n = 1; n <= 5; ++n) put("PreviasFile", "MDataP" + N(n), st.RecentFiles[n]);
  // 2.
  put("自動改行", "AutoDownFlag", N(st.AutoDownFlag));
  put("再計算", "ReCalcFlag", st.ReCalcFlag ? "-1" : "0");
  put("ズーム倍率", "KVZoom", N(st.KVZoom));
  put("ズーム倍率", "RefZoom", N(st.RefZoom));
  put("編集開始キャレット位置", "EditCellPosition", N(st.EditCellPosition));
  put("MouseCursor", "EditCursor", N(st.EditCursor));
  // 3.
  for (int n = 1; n <= std::min(st.LevelCount, 8); ++n) {
    put("画面分割", "GamenX" + N(n), N(st.GamenX[n]));
    put("画面分割", "GamenY" + N(n), N(st.GamenY[n]));
    put("画面分割", "GamenCX" + N(n), N(st.GamenCX[n]));
    put("画面分割", "GamenCY" + N(n), N(st.GamenCY[n]));
  }
  // 4.
  if (!window.minimized) {
    put("編集画面", "Left", N(window.left));
    put("編集画面", "Top", N(window.top));
    put("編集画面", "Width", N(std::max(window.width, 4200)));
    put("編集画面", "Height", N(std::max(window.height, 4200)));
  }
  // 5.
  put("検索画面", "Left", N(st.SearchWinLeft));
  put("検索画面", "Top", N(st.SearchWinTop));
  put("検索画面", "Width", N(st.SearchWinWidth));
  put("検索画面", "Height", N(st.SearchWinHeight));
  // 6.
  if (!window.minimized) put("Sizer", "Pos", N(window.sizerLeft));
  // 7.
  put("階層表示", "KVDisp", st.KVDisp);
  put("階層表示", "RefDisp", st.RefDisp);
  put("ページ設定", "SheetPageLineStyle", N(st.SheetPageLineStyle));
  put("階層計表示", "DMTotalFlag", st.DMTotalFlag ? "-1" : "0");
  // 8.
  for (int i = 1; i <= 20; ++i) put("セル幅微調整補数", "CELLHABA_" + N(10 * i), N(st.CellHabaAdjust[i] - 1));

  if (!ok) WarnMsgBox(st, "設定ファイル " + f + " に書き込めません。");
  return ok;
}

void MaskMenuCaptionSet(ProgramState& st) {
  if (st.editor != nullptr) st.editor->MaskMenuCaptionSet(st);
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPanelSet(st, 3, st.MASK_NAME[0]);
}

}  // namespace kv
