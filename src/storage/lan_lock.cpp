#include "storage/lan_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "core/window_services.h"
#include "platform/codepage.h"
#include "platform/machine.h"
#include "platform/ui.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "storage/level_files.h"
#include "storage/split_path.h"

namespace kv {
namespace {

// A lock file is two short lines; more is never read.
constexpr size_t kLockReadLimit = 4096;
// How often a lock is tried again when another program takes or removes it
// in between.
constexpr int kAcquireTries = 5;
// RemoveLockIf: the lock found was not the one meant, and was put back.
constexpr int kLockChanged = -1;

// The error numbers the lock routines report, after the system's numbering of
// file errors.
int ErrorNumber(int err) {
  switch (err) {
    case EACCES:
    case EPERM:
      return 70;  // permission denied
    case EROFS:
    case ENOTDIR:
    case EISDIR:
      return 75;  // path or file access error
    case ENAMETOOLONG:
      return 52;  // bad file name
    case ENOENT:
      return 53;  // file not found
    default:
      return err;
  }
}

// Permission denied, a path or file access error, a bad name, no such file:
// the caller goes on without a lock.
bool Tolerated(int number) { return number == 70 || number == 75 || number == 52 || number == 53; }

std::string NumberText(int n) { return n >= 0 ? " " + std::to_string(n) : std::to_string(n); }

void TellUser(ProgramState& st, const std::string& text, int style) {
  FloatWindowsTopMostSet(st, false);
  st.ui.MsgBox(text, style, kMsgTitle);
  FloatWindowsTopMostSet(st, true);
}

void LanErrorShow(ProgramState& st, int err) {
  TellUser(st, std::string(std::strerror(err)) + "(LANError" + " ｴﾗｰNo" + NumberText(ErrorNumber(err)) + ")",
           vbOKOnly);
}

// An error while taking a lock: tolerated ones silently, others after a
// message; the caller may go on either way.
bool AcquireError(ProgramState& st, int err) {
  if (!Tolerated(ErrorNumber(err))) LanErrorShow(st, err);
  return true;
}

std::string LockBase(const ProgramState& st, const std::string& path) {
  const SplitPathResult p = SplitPath(st, path);
  if (p.name.empty()) return {};
  return p.folder.empty() ? p.name : p.folder + "/" + p.name;
}

// This program as the second line of its locks names it.
const std::string& HolderLine(ProgramState& st) {
  if (st.LockHolderLine.empty())
    st.LockHolderLine =
        ToSjis(LocalUserName()) + " " + std::to_string(CurrentProcessId()) + " " + RandomToken();
  return st.LockHolderLine;
}

std::string OurLockBytes(ProgramState& st) {
  return ToSjis(st.MachineName) + "\r\n" + HolderLine(st) + "\r\n";
}

// The process id a holder line names ("<user> <pid> <token>"), when it does.
std::optional<long> HolderPid(const std::string& holder) {
  const size_t tokenAt = holder.rfind(' ');
  if (tokenAt == std::string::npos || tokenAt == 0) return std::nullopt;
  const size_t pidAt = holder.rfind(' ', tokenAt - 1);
  if (pidAt == std::string::npos) return std::nullopt;
  const std::string pid = holder.substr(pidAt + 1, tokenAt - pidAt - 1);
  if (pid.empty() || pid.size() > 10 || !std::all_of(pid.begin(), pid.end(), [](char c) {
        return c >= '0' && c <= '9';
      }))
    return std::nullopt;
  return std::stol(pid);
}

// A lock file as read: missing, unreadable (nullopt bytes) or its bytes.
struct LockRead {
  bool exists = false;
  std::optional<std::string> bytes;
};

LockRead ReadLock(const std::string& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {errno != ENOENT, std::nullopt};
  std::string bytes(kLockReadLimit, '\0');
  size_t got = 0;
  bool ok = true;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  if (!ok) return {true, std::nullopt};
  bytes.resize(got);
  return {true, std::move(bytes)};
}

LockOwner OwnerOf(ProgramState& st, const LockRead& read) {
  if (!read.exists) return LockOwner::None;
  if (!read.bytes || st.MachineName.empty()) return LockOwner::Other;
  const std::string& bytes = *read.bytes;
  const size_t end1 = bytes.find_first_of("\r\n");
  if (bytes.substr(0, end1) != ToSjis(st.MachineName)) return LockOwner::Other;
  std::string holder;
  if (end1 != std::string::npos) {
    size_t start2 = end1 + 1;
    if (bytes[end1] == '\r' && start2 < bytes.size() && bytes[start2] == '\n') ++start2;
    holder = bytes.substr(start2, bytes.find_first_of("\r\n", start2) - start2);
  }
  if (holder.empty()) return LockOwner::ThisMachine;
  if (holder == HolderLine(st)) return LockOwner::Ours;
  const std::optional<long> pid = HolderPid(holder);
  if (pid && !ProcessExists(*pid)) return LockOwner::Stale;
  return LockOwner::Other;
}

// A hidden name beside `file` for this program's own use.
std::string SiblingName(const std::string& file, const char* kind) {
  const size_t slash = file.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
  return folder + "." + name + "." + kind + "-" + RandomToken();
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Writes `bytes` into a new file; 0 or the error number of the system. A
// file this call created is removed again when it could not be written.
int WriteNewFile(const std::string& file, const std::string& bytes, int flags) {
  const int fd = ::open(file.c_str(), flags | O_CREAT | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  int err = WriteAll(fd, bytes) ? 0 : errno;
  if (::close(fd) != 0 && err == 0) err = errno ? errno : EIO;
  if (err != 0) ::unlink(file.c_str());
  return err;
}

// A file system without hard links (some network shares, FAT).
bool NoHardLinks(int err) { return err == EPERM || err == EOPNOTSUPP || err == ENOSYS || err == EMLINK; }

// Creates the lock with this program's lines; EEXIST when a lock is there.
int CreateLock(ProgramState& st, const std::string& lock) {
  const std::string bytes = OurLockBytes(st);
  const std::string temp = SiblingName(lock, "lock");
  const int written = WriteNewFile(temp, bytes, O_EXCL);
  if (written != 0) return written;
  const int linked = ::link(temp.c_str(), lock.c_str()) == 0 ? 0 : errno;
  ::unlink(temp.c_str());
  // Without hard links the lock is created exclusively in place: there a
  // reader may catch it for an instant before its lines are written.
  if (NoHardLinks(linked)) return WriteNewFile(lock, bytes, O_EXCL);
  return linked;
}

// Removes the lock when it still holds `expected`: 0 removed, ENOENT gone
// already, kLockChanged when another lock had taken its place (it is put
// back), else the error number of the system. A lock that could not be read
// is removed as it is.
int RemoveLockIf(const std::string& lock, const std::optional<std::string>& expected) {
  if (!expected) return ::unlink(lock.c_str()) == 0 ? 0 : errno;
  const std::string aside = SiblingName(lock, "gone");
  if (::rename(lock.c_str(), aside.c_str()) != 0) return errno;
  const LockRead moved = ReadLock(aside);
  if (moved.bytes && *moved.bytes == *expected) {
    ::unlink(aside.c_str());
    return 0;
  }
  // Another program's lock came in between: it goes back, unless yet
  // another has been made meanwhile.
  if (::link(aside.c_str(), lock.c_str()) != 0 && NoHardLinks(errno)) {
    if (!ReadLock(lock).exists) ::rename(aside.c_str(), lock.c_str());
  }
  ::unlink(aside.c_str());
  return kLockChanged;
}

bool Held(const ProgramState& st, const std::string& lock) {
  return std::find(st.LocksHeld.begin(), st.LocksHeld.end(), lock) != st.LocksHeld.end();
}

void Hold(ProgramState& st, const std::string& lock) {
  if (!Held(st, lock)) st.LocksHeld.push_back(lock);
}

// LAN_Msg_frm: true when the user forces editing.
bool AskInUse(ProgramState& st, const std::string& path) {
  st.LanMsgFileName = LockBase(st, path);
  st.LanMsgAnswer = kLanAnswerGiveUp;
  st.ui.SetBusyPointer(false);
  st.ui.ShowModal(kLanMsgWindow);
  if (st.CommandBusy) st.ui.SetBusyPointer(true);
  return st.LanMsgAnswer == kLanAnswerForce;
}

// Takes the lock of `path`. `forPack`: the lock test before a pack over the
// estimate, where a lock this program held and lost is not taken back
// without asking.
bool TakeLock(ProgramState& st, const std::string& path, bool forPack) {
  const std::string lock = LockFilePath(st, path);
  if (lock.empty()) return true;
  bool lost = forPack && Held(st, lock);
  bool staleTold = false;
  for (int attempt = 0; attempt < kAcquireTries; ++attempt) {
    if (!lost) {
      const int err = CreateLock(st, lock);
      if (err == 0) {
        Hold(st, lock);
        return true;
      }
      if (err != EEXIST) return AcquireError(st, err);
    }
    const LockRead read = ReadLock(lock);
    switch (OwnerOf(st, read)) {
      case LockOwner::Ours:
        Hold(st, lock);
        return true;
      case LockOwner::None:
        if (lost) return false;
        continue;  // removed in between: try again
      case LockOwner::Stale:
        if (lost) return false;
        if (!staleTold) TellUser(st, StaleLockText(LockBase(st, path)), vbOKOnly + vbExclamation);
        staleTold = true;
        break;
      case LockOwner::ThisMachine:
        if (!lost) break;
        [[fallthrough]];
      case LockOwner::Other:
        if (!AskInUse(st, path)) return false;
        lost = false;
        break;
    }
    const int removed = RemoveLockIf(lock, read.bytes);
    if (removed != 0 && removed != ENOENT && removed != kLockChanged) return AcquireError(st, removed);
  }
  return false;
}

}  // namespace

std::string LockFilePath(const ProgramState& st, const std::string& path) {
  if (path.empty() || IsUntitledName(path)) return {};
  const std::string base = LockBase(st, path);
  return base.empty() ? std::string() : base + ".$$$";
}

bool SameLock(const ProgramState& st, const std::string& a, const std::string& b) {
  const std::string la = LockFilePath(st, a);
  return !la.empty() && la == LockFilePath(st, b);
}

LockOwner LockOwnerOf(ProgramState& st, const std::string& lockFile) {
  return OwnerOf(st, ReadLock(lockFile));
}

bool LockIsOurs(ProgramState& st, const std::string& lockFile) {
  return LockOwnerOf(st, lockFile) == LockOwner::Ours;
}

bool LanLockAcquire(ProgramState& st, const std::string& path) { return TakeLock(st, path, false); }

bool LanLockTestForPack(ProgramState& st) { return TakeLock(st, st.CurrentFilePath, true); }

void LanLockReleaseOf(ProgramState& st, const std::string& path, bool report) {
  const std::string lock = LockFilePath(st, path);
  if (lock.empty()) return;
  st.LocksHeld.erase(std::remove(st.LocksHeld.begin(), st.LocksHeld.end(), lock), st.LocksHeld.end());
  const LockRead read = ReadLock(lock);
  if (OwnerOf(st, read) != LockOwner::Ours) return;
  const int removed = RemoveLockIf(lock, read.bytes);
  if (report && removed != 0 && removed != ENOENT && removed != kLockChanged) LanErrorShow(st, removed);
}

void LanLockRelease(ProgramState& st) { LanLockReleaseOf(st, st.CurrentFilePath); }

LanMsgLines LanMsgText(const std::string& fileName) {
  return {"見積データ [ " + fileName + " ] は現在、", "他のユーザによって編集されています。",
          "見積データ [ " + fileName + " ] を開く処理を中止します。",
          "強制的に編集を行う場合は、強制編集を選択して下さい。"};
}

std::string StaleLockText(const std::string& fileName) {
  return "見積データ [ " + fileName + " ] を編集していたプログラムは既に終了しています。\r" +
         "強制的に編集を行います。";
}

}  // namespace kv
