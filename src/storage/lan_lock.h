#pragma once
// The network lock file: while a program has an estimate open, the file
// folder + "/" + name + ".$$$" beside the estimate file names its holder.
// Another program that opens the estimate finds the lock, is told the
// estimate is in use (LAN_Msg_frm) and may give up or force editing. The lock
// is advisory: it guards nothing by itself.
//
// Content (Shift-JIS, each line ended by CR LF):
//   1. the machine's name, what every installation reads;
//   2. the holder on that machine: user name, process id and a random token,
//      "<user> <pid> <token>". Other installations write no second line.
// A lock is ours only when both lines are this program's. A lock naming this
// machine but another holder is in use like another machine's, unless its
// process has ended: then it is stale, and taken over with a word to the
// user.
//
// A lock is created with its content complete: written into a hidden
// temporary file in the same folder and linked to the lock name, which fails
// when a lock is there; a reader never sees an empty lock, and of programs
// that try at once exactly one gets it. A lock is removed by moving it aside
// and checking it is the one meant, so that a lock another program took in
// between is put back, not deleted.
//
// The program remembers the locks it took (`LocksHeld`): a lock it held that
// is no longer its own was taken from it, and whoever took it may have saved
// the estimate since; such an estimate is not packed over without asking.
// Untitled estimates (any path containing "無題") have no lock.
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

// Who holds a lock file, seen from this program.
enum class LockOwner {
  None,         // no lock file
  Ours,         // both lines are this program's
  ThisMachine,  // this machine's name and no second line (another installation)
  Stale,        // this machine, a holder whose process has ended
  Other,        // another machine, another live holder here, or no telling
};
LockOwner LockOwnerOf(ProgramState& st, const std::string& lockFile);

// True when the lock file is this program's own.
bool LockIsOurs(ProgramState& st, const std::string& lockFile);

// Takes the lock of `path` for this program. The lock of the estimate open
// now is not touched: the caller releases it once its command has succeeded.
//  - untitled path: true, no lock;
//  - no lock file, or our own: taken; true;
//  - this machine's name without a second line: written anew; true;
//  - a stale lock: the user is told, and it is taken over; true;
//  - another holder's lock (another machine, another program here, or one
//    nobody can tell): LAN_Msg_frm asks, with `LanMsgFileName` = folder +
//    "/" + name; giving up answers false and the lock stays; forcing takes
//    it (asking again should another program take it in between);
//  - a folder where no lock can be made (no permission, read-only, missing):
//    true without a lock; any other file error is shown as
//    "<description>(LANError ｴﾗｰNo n)" and gives true.
bool LanLockAcquire(ProgramState& st, const std::string& path);

// The lock test of Save, made before every pack over the open estimate
// (`CurrentFilePath`). True when the lock is ours, or taken now as
// LanLockAcquire takes it. A lock this program held and has lost counts as
// another's even when its taker has gone (no lock, or a stale one): false,
// without a question; when the taker's lock is there, LAN_Msg_frm asks as
// above. False: nothing may be written over the estimate.
bool LanLockTestForPack(ProgramState& st);

// Deletes the lock of `path` when it is ours; any other lock stays. A lock
// that cannot be deleted is reported when `report` is set.
void LanLockReleaseOf(ProgramState& st, const std::string& path, bool report = true);

// Deletes the lock of the estimate open now (`CurrentFilePath`) when it is
// ours.
void LanLockRelease(ProgramState& st);

// The four lines of LAN_Msg_frm for the estimate `fileName`, top to bottom.
struct LanMsgLines {
  std::string line1, line2, line3, line4;
};
LanMsgLines LanMsgText(const std::string& fileName);

// The word to the user when a stale lock of `fileName` is taken over.
std::string StaleLockText(const std::string& fileName);

}  // namespace kv
