#include "classify/siwake_make_frm.h"

#include <algorithm>
#include <system_error>

#include "classify/siwake_build.h"
#include "core/sjis_text.h"
#include "platform/fs.h"
#include "platform/ui.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/level_files.h"
#include "storage/level_read.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

// The labels are refreshed and events run at most this often during a build.
constexpr auto kProgressInterval = std::chrono::milliseconds(50);

bool TypeIs(const std::string& type, int kind) {
  return type.size() >= 2 && type[0] == 'I' && type[1] == char('0' + kind);
}

}  // namespace

SiwakeMake_Frm::SiwakeMake_Frm(ProgramState& st, SiwakeMakePort port) : st_(st), port_(std::move(port)) {}

int SiwakeMake_Frm::FindCodeColumn(const ProgramState& st, int kind) {
  for (int c = 1; c <= st.ColCount[1] && c < int(st.ColType[1].size()); ++c)
    if (TypeIs(st.ColType[1][size_t(c)], kind)) return c;
  return 0;
}

void SiwakeMake_Frm::Form_Load() {
  for (int i = 0; i < 2; ++i) {
    Label[i].clear();
    if (port_.SetLabel) port_.SetLabel(i, "");
  }
  for (int kind = 1; kind <= 2; ++kind) {
    const int c = FindCodeColumn(st_, kind);
    std::string& caption = OptionCaption[kind - 1];
    if (c > 0) {
      // The level-1 caption above the name column.
      const int name = c + 1;
      caption = name < int(st_.ColStart[1].size())
                    ? MidAnsi(st_.LevelCaption[1], st_.ColStart[1][size_t(name)], st_.ColWidth[1][size_t(name)])
                    : std::string();
    } else if (kind == 2) {
      caption.clear();
      OptionShown[1] = false;
    }
    if (port_.SetOption) port_.SetOption(kind - 1, caption, OptionShown[kind - 1]);
  }
  SiwakeKind = 1;
  SiwakeCodeColumn = FindCodeColumn(st_, 2);
  // The build writes into files that do not exist.
  std::error_code ec;
  for (int level = 1; level <= 2; ++level) stdfs::remove(LevelFilePath(st_, st_.SiwakeFileName, level), ec);
}

void SiwakeMake_Frm::SiwakeOption_Click(int index) { SiwakeKind = index + 1; }

bool SiwakeMake_Frm::LevelsAgree() {
  if (st_.CustomerVariant2) return true;
  const int c = SiwakeCodeColumn;
  for (int level = 2; level <= st_.LevelCount; ++level) {
    for (int col = 1; col <= st_.ColCount[size_t(level)]; ++col) {
      if (!TypeIs(st_.ColType[size_t(level)][size_t(col)], SiwakeKind)) continue;
      // The build reads level 1's bytes on every level: the column must
      // stand where it stands on level 1, and so must the name after it.
      bool same = col == c;
      for (int k = c; same && k <= std::min(c + 1, st_.ColCount[1]); ++k)
        same = st_.ColStart[size_t(level)][size_t(k)] == st_.ColStart[1][size_t(k)] &&
               st_.ColWidth[size_t(level)][size_t(k)] == st_.ColWidth[1][size_t(k)];
      if (!same) return false;
    }
  }
  return true;
}

void SiwakeMake_Frm::SiwakeOk_Click() {
  if (building_) return;
  if (SiwakeKind == 0) {
    WarnMsgBox(st_, "仕訳の選択をしてください");
    return;
  }
  const int column = FindCodeColumn(st_, SiwakeKind);
  if (column == 0 || (SiwakeKind == 2 && OptionCaption[1].empty() && !OptionShown[1])) {
    // Without a code column of the chosen classification there is nothing
    // to build from.
    WarnMsgBox(st_, SiwakeKind == 1 ? "仕訳１の設定が有りません" : "仕訳２の設定が有りません");
    return;
  }
  SiwakeCodeColumn = column;
  st_.SiwakeAbort = false;
  bool failed = false;  // the build stopped on a fault the user has been told of
  if (!LevelsAgree()) {
    WarnMsgBox(st_, "各階層ごとの仕訳位置が異なりますので\n仕訳ﾌｧｲﾙ作成を中止します.");
    st_.SiwakeAbort = true;
  } else {
    if (port_.ShowProgress) port_.ShowProgress();
    st_.ui.SetBusyPointer(true);
    if (!RunBuild(failed)) st_.SiwakeAbort = true;
    st_.ui.SetBusyPointer(false);
  }
  if (port_.Unload) port_.Unload();
  // After a fault (a damaged level file among them) the user stays on the
  // sheet shown rather than being told of it a second time.
  if (!failed) LevelOneShow();
}

bool SiwakeMake_Frm::RunBuild(bool& failed) {
  building_ = true;
  stopAsked_ = false;
  SiwakeProgress progress;
  progress.Show = [this](int label, const std::string& text) { Progress(label, text); };
  progress.StopAsked = [this] { return stopAsked_; };
  const int c = SiwakeCodeColumn;
  const int codeStart = st_.ColStart[1][size_t(c)], codeWidth = st_.ColWidth[1][size_t(c)];
  // The name column is the one after the code column, when level 1 has it.
  const bool named = c + 1 <= st_.ColCount[1];
  const int nameStart = named ? st_.ColStart[1][size_t(c + 1)] : 0;
  const int nameWidth = named ? st_.ColWidth[1][size_t(c + 1)] : 0;
  const bool ok = CreateIndexDb(st_, codeWidth, nameWidth) &&
                  BuildSiwakeIndex(st_, st_.WorkFileBase, codeStart, codeWidth, nameStart, nameWidth, progress) &&
                  MakeSiwakeFile(st_, st_.SiwakeFileName, st_.WorkFileBase, progress);
  building_ = false;
  failed = !ok && !stopAsked_;
  return ok && !stopAsked_;
}

void SiwakeMake_Frm::Progress(int label, const std::string& text) {
  if (label < 0 || label > 1) return;
  pending_[label] = text;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastShown_ < kProgressInterval) return;
  lastShown_ = now;
  for (int i = 0; i < 2; ++i) {
    if (Label[i] == pending_[i]) continue;
    Label[i] = pending_[i];
    if (port_.SetLabel) port_.SetLabel(i, Label[i]);
  }
  // The Cancel button must work while the build runs.
  st_.ui.ProcessEvents();
}

void SiwakeMake_Frm::SiwakeCancel_Click() {
  st_.ui.SetBusyPointer(false);
  st_.SiwakeAbort = true;
  if (building_) {
    stopAsked_ = true;  // OK's handler closes the dialog once the build has stopped
    return;
  }
  if (port_.Unload) port_.Unload();
}

void SiwakeMake_Frm::LevelOneShow() {
  // An estimate whose level 1 cannot be read gives no classification file:
  // the user stays on the sheet shown (and has been told), and what the
  // build made is thrown away.
  const int shown = st_.CurrentLevel;
  st_.CurrentLevel = 1;
  if (!LevelRead(st_, 1)) {
    st_.CurrentLevel = shown;
    st_.SiwakeAbort = true;
    return;
  }
  if (st_.sheetEngine == nullptr) return;
  st_.sheetEngine->SheetGridInit(st_, 1);
  st_.SheetLoading = false;
  st_.sheetEngine->DMButtonsLayout(st_);
  st_.sheetEngine->EdtSheet_Pos(st_);
  st_.ui.SetBusyPointer(true);
  st_.sheetEngine->SheetRedisplay(st_, 1, st_.UsedRows);
  st_.ui.SetBusyPointer(false);
  st_.sheetEngine->EditTreeBuild(st_);
}

}  // namespace kv
