#pragma once
// The start-up initialisation: everything the editor needs before its window
// is used, and the title screen's progress bar that it advances.
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct ProgramState;

// Title of message boxes shown without a title of their own, and the name
// under which the customer variant keeps its per-user value.
inline constexpr std::string_view kAppTitle = "DI32DODA";
// The title screen's progress bar, 1 .. 640 in 64 steps of 10.
inline constexpr std::string_view kProgressControl = "ProgressBar1";
inline constexpr int kProgressSteps = 64;
inline constexpr int kProgressMax = 640;

// Puts the title screen's progress bar at step × 10 (step 1..64), making the
// title screen when it is not there; nothing at all while `NoSplash`.
// Start-up owns steps 1..14 and 30..37, the editor window's load 15..29, the
// toolbars 38..64.
void SplashProgress(ProgramState& st, int step);

// In this order: the edition (KVEDITION.INI of `programFolder`); `AppPath` and
// the work folder (made when missing); the untitled estimate as the open one;
// the government-office tax mode (GSTAX.INI); KVUTL.INI, DAVIROV.INI and
// KVSSYS.INI; the equipment definitions (kind 1); the sheet font; the default
// sheet size and number base; the column definitions of the base text set; the
// untitled layout file; the editor window object. Progress steps 2..14.
//
// Ends the program (Ui::EndProgram) after one message when the work folder
// cannot be made; when KVUTL.INI or KVSSYS.INI is missing, or KVSSYS.INI lacks
// its item-layout section [システム設定用基本TEXT] (tested before any settings
// file is read, so nothing is written); when DAVIROV.INI is missing or refused
// (its record length or sheet size); or when [Boot] KVtext names no base text
// file or one that is not there.
void StartupInit(ProgramState& st, const std::string& programFolder);

// True when the sheet font `fontName` can be shown: a family of that name is
// installed (or its vertical "@" form; letter case aside, as the view finds
// it), or, for the fixed Japanese faces ("ＭＳ 明朝" ...), a Mincho or Gothic
// family the view draws them with.
bool SheetFontInstalled(const std::string& fontName, const std::vector<std::string>& families);

}  // namespace kv
