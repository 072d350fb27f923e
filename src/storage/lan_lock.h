#pragma once
// The network lock file: while a machine has an estimate open, the file
// folder + "/" + name + ".$$$" beside the estimate file names that machine
// (its name and CR LF, Shift-JIS). Another machine that opens the estimate
// finds the lock, is told the estimate is in use (LAN_Msg_frm) and may give
// up or force editing. The lock is advisory: it guards nothing by itself.
//
// A lock is taken by creating the file exclusively, so two machines cannot
// both find no lock and both write one. A command that moves to another
// estimate takes the new lock first and releases the old one only after it
// has succeeded (LanLockReleaseOf); a lock names its holder and is only ever
// deleted by that machine, or by another machine whose user chose to force
// editing. Untitled estimates (any path containing "無題") have no lock.
#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

inline constexpr std::string_view kLanMsgWindow = "LAN_Msg_frm";
inline constexpr int kLanAnswerGiveUp = 0;  // "は  い(&Y)", or the dialog closed
inline constexpr int kLanAnswerForce = 1;   // "強制編集(&K)"

// The lock file of an estimate path: SplitPath's folder + "/" + name +
// ".$$$"; "" for an untitled path or one without a name.
std::string LockFilePath(const ProgramState& st, const std::string& path);

// True when the two paths have the same (non-empty) lock file.
bool SameLock(const ProgramState& st, const std::string& a, const std::string& b);

// The machine a lock file names: its first line as stored. nullopt when the
// file cannot be read, and "" when it is empty; such a lock, and one holding
// anything but a name, belongs to an unknown machine.
std::optional<std::string> LockHolder(const std::string& lockFile);

// True when the lock file exists and names this machine (`MachineName`).
bool LockIsMine(const ProgramState& st, const std::string& lockFile);

// Takes the lock of `path` for this machine. The lock of the estimate open
// now is not touched: the caller releases it once its command has succeeded.
//  - untitled path: true, no lock;
//  - no lock file: one is created exclusively with `MachineName` + CR LF;
//  - a lock naming this machine: written again; true;
//  - a lock of another (or an unknown) machine: LAN_Msg_frm asks, with
//    `LanMsgFileName` = folder + "/" + name; giving up answers false and the
//    lock stays; forcing deletes it and takes it (asking again should
//    another machine take it in between);
//  - a folder where no lock can be made (no permission, read-only, missing):
//    true without a lock; any other file error is shown as
//    "<description>(LANError ｴﾗｰNo n)" and gives true.
bool LanLockAcquire(ProgramState& st, const std::string& path);

// Deletes the lock of `path` when it names this machine; another machine's
// lock stays. A lock that cannot be deleted is reported.
void LanLockReleaseOf(ProgramState& st, const std::string& path);

// Deletes the lock of the estimate open now (`CurrentFilePath`) when it names
// this machine.
void LanLockRelease(ProgramState& st);

// The four lines of LAN_Msg_frm for the estimate `fileName`, top to bottom.
struct LanMsgLines {
  std::string line1, line2, line3, line4;
};
LanMsgLines LanMsgText(const std::string& fileName);

}  // namespace kv
