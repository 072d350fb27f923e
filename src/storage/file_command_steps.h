#pragma once
// Steps the file commands (Open, Save, Save As, New, the recent estimates)
// share: the busy lock around a command, message boxes framed by the
// floating windows, recording the sheet in memory, compaction and packing
// through the program's file commands, the pack messages, the settings of an
// estimate just opened, and showing its level 1.
#include <string>
#include <string_view>

#include "core/window_services.h"
#include "storage/disk_space.h"

namespace kv {

struct ProgramState;
class GridModel;

// The untitled estimate's work base and path: AppPath + WorkFolderName + "/無題".
std::string UntitledBase(const ProgramState& st);
// AppPath + WorkFolderName + "/" + name.
std::string WorkBaseOf(const ProgramState& st, const std::string& name);
// The name part of a path or work base (SplitPath).
std::string NameOf(const ProgramState& st, const std::string& path);
// True when two work names name one work set: the work folder finds its
// files without letter case.
bool SameWorkName(const std::string& a, const std::string& b);

// The busy lock of a long command (`ToolBarStateSet`, or `CommandBusy` alone
// without an editor window) with the hourglass on or the normal pointer back.
void CommandBusySet(ProgramState& st, bool busy);

// Ends a command on every way out: the busy lock released and the pointer
// normal when `CommandBusy` is still set.
class CommandEnd {
 public:
  explicit CommandEnd(ProgramState& st) : st_(st) {}
  ~CommandEnd();
  CommandEnd(const CommandEnd&) = delete;
  CommandEnd& operator=(const CommandEnd&) = delete;

 private:
  ProgramState& st_;
};

// A message box with the floating windows lowered before and raised after.
int AskUser(ProgramState& st, std::string_view text, int style, std::string_view title = kMsgTitle);

// Records the sheet in memory and the levels above it (the sheet engine's
// LevelSheetRecord; without it FlushLevels and the page numbers). True when
// written.
bool RecordSheet(ProgramState& st);

// The save question of a command that leaves a modified sheet (Yes/No/Cancel,
// exclamation). Yes records the sheet (then it is no longer modified and a
// pack is pending); No drops the edits. False when the command stops: Cancel,
// or a recording that failed. An untitled estimate without rows (its only
// change an option) cannot be recorded: Yes says so, as Save As does, and the
// command stops.
bool AskToRecord(ProgramState& st, const std::string& text, std::string_view title = kMsgTitle);

// Pending changes the user once declined or cancelled to save are packed
// only after asking again (Open, New, the end of the program): "見積データ [
// <name> ] の内容は変更されています。" / "保存しますか？" (Yes/No/Cancel,
// exclamation). Pack: nothing was declined, or Yes (the decline is
// forgotten); Leave: No, the estimate file stays as it was; Stop: Cancel.
enum class DeclinedPack { Pack, Leave, Stop };
DeclinedPack AskAboutDeclinedPack(ProgramState& st);

// The save question of Save As and of the above for the open estimate.
std::string PendingChangesQuestion(const ProgramState& st);

// The refusal of Save As and of the save question when the top sheet has no
// rows.
std::string NoDataToSaveText();

// Compaction and packing through the program's file commands (the plain
// routines without them). CompactEstimate is false when the compaction was
// refused (the user has been told): the work set must not be packed then.
bool CompactEstimate(ProgramState& st, const std::string& workBase);
int PackEstimate(ProgramState& st, const std::string& path);

// The lock test before a pack over the open estimate (LanLockTestForPack).
// False when the estimate is another user's: nothing may be written, and the
// user has been told it was not saved and to save it under another name;
// `PackPending` is left as it is. The caller offers Save As.
bool PackLockCheck(ProgramState& st);

// The pack messages, by the estimate's work name. In use: another user
// edits the estimate and it was not saved (two lines, without what to do).
std::string InUseNotSavedText(const std::string& workName);
std::string PackRefusedText(const std::string& workName);
std::string PackFailedText(const std::string& workName);
std::string ReadOnlyFileText(const std::string& path);
// The message of a pack result (1 refused, 0 failed; nothing for others).
void PackResultShow(ProgramState& st, int result, const std::string& workName);

// How the program's file commands learn the kind and room of a file system.
DiskProbe FileSystemProbe(ProgramState& st);

// The editor's sheet grid, when there is one.
GridModel* EditorGrid(ProgramState& st);

// The settings of an estimate just opened (`WorkFileBase`, file name
// `name`): `UsesCurrentSettings` true; when the work set has a layout file
// that differs from the untitled one the user is asked (Yes: the file's
// layout becomes current, closing the reference window when it is open; No:
// DAVIROV.INI and the untitled layout are copied over the work set's own);
// then its settings file is loaded. Without a layout file the current
// settings stay.
void OpenedEstimateSettings(ProgramState& st, const std::string& name);

// Menus and lists that follow the settings: mask captions, page-break lines,
// the sheet font in the status bar, the paper menu and lists.
void SettingsDependentsRefresh(ProgramState& st);

// Level 1 of the estimate just made current into memory (`CurrentLevel` 1).
// When it cannot be read (the user has been told) the sheet in memory is
// emptied instead, so no row of the estimate or level shown before passes
// for this estimate's, and false is given. Recording that empty sheet cannot
// harm the file: a record reads every sheet of its path first, and the
// discard of an empty estimate reads level 1 whole first.
bool TopSheetLoad(ProgramState& st);

// Level 1 into the editor: read (`TopSheetLoad`), grid set up, sheet objects
// loaded, level bar laid out, repainted, tree rebuilt. False when the level
// could not be read.
bool ShowLevelOne(ProgramState& st);

// The sheet of `CurrentLevel` shown again after Save As: read, grid set up,
// objects loaded, repainted, tree rebuilt.
void ShowCurrentLevelAgain(ProgramState& st);

}  // namespace kv
