#pragma once
// Opening the estimate the recovery restored, at start-up after the wizard.
#include <functional>
#include <string>

namespace kv {

struct ProgramState;
class GridModel;

// Puts a path at the head of the recent-file list.
using RecentEstimateAdd = std::function<void(ProgramState& st, const std::string& path)>;

// Makes the restored file st.RecoveredFilePath (DATA/FILEnnn.YZH) the current
// estimate, much as File > Open does, without a save prompt, a lock file or a
// conversion: the file is unpacked into WORK (UnpackEstimateFile); the
// settings return to DAVIROV.INI and the untitled layout; when the file's
// layout differs from the untitled one the user chooses whose settings apply
// ("復旧ファイル" Yes/No); its own settings file is then loaded in every case;
// level 1 is read and shown with its embedded objects (into `sheetGrid`, the
// editor's sheet grid, when given), the level tree rebuilt, the file put at
// the head of the recent-file list (`addRecent`, or st.fileCommands when not
// given), and the undo snapshot taken.
//
// False when the file does not unpack: the user is told (UnpackFailureShow)
// and the estimate open until then stays current.
bool RecoverFileOpen(ProgramState& st, const RecentEstimateAdd& addRecent = {}, GridModel* sheetGrid = nullptr);

}  // namespace kv
