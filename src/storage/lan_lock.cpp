#include "storage/lan_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "core/window_services.h"
#include "platform/codepage.h"
#include "platform/ui.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "storage/level_files.h"
#include "storage/split_path.h"

namespace kv {
namespace {

// A lock file is one short line; more is never read.
constexpr std::streamsize kHolderReadLimit = 4096;
// How often a forced lock is tried again when another machine takes it in
// between.
constexpr int kAcquireTries = 3;

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

void LanErrorShow(ProgramState& st, int err) {
  const std::string text =
      std::string(std::strerror(err)) + "(LANError" + " ｴﾗｰNo" + NumberText(ErrorNumber(err)) + ")";
  FloatWindowsTopMostSet(st, false);
  st.ui.MsgBox(text, vbOKOnly, kMsgTitle);
  FloatWindowsTopMostSet(st, true);
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

// Writes this machine's line into `lockFile`, opened with `flags`; 0 when
// written, else the error number of the system. A file this call created is
// removed again when the line could not be written.
int WriteLock(const ProgramState& st, const std::string& lockFile, int flags) {
  const int fd = ::open(lockFile.c_str(), flags | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  const bool ok = WriteAll(fd, ToSjis(st.MachineName) + "\r\n");
  const int err = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    if (flags & O_EXCL) ::unlink(lockFile.c_str());
    return errno ? errno : EIO;
  }
  if (!ok && (flags & O_EXCL)) ::unlink(lockFile.c_str());
  return err;
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

std::optional<std::string> LockHolder(const std::string& lockFile) {
  std::ifstream in(lockFile, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(static_cast<size_t>(kHolderReadLimit), '\0');
  in.read(bytes.data(), kHolderReadLimit);
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<size_t>(in.gcount()));
  const size_t end = bytes.find_first_of("\r\n");
  if (end != std::string::npos) bytes.resize(end);
  return bytes;
}

bool LockIsMine(const ProgramState& st, const std::string& lockFile) {
  if (st.MachineName.empty()) return false;  // an unknown machine owns nothing
  const std::optional<std::string> holder = LockHolder(lockFile);
  return holder && !holder->empty() && *holder == ToSjis(st.MachineName);
}

bool LanLockAcquire(ProgramState& st, const std::string& path) {
  const std::string lock = LockFilePath(st, path);
  if (lock.empty()) return true;
  for (int attempt = 0; attempt < kAcquireTries; ++attempt) {
    const int err = WriteLock(st, lock, O_CREAT | O_EXCL);
    if (err == 0) return true;
    if (err != EEXIST) return AcquireError(st, err);

    if (LockIsMine(st, lock)) {
      const int again = WriteLock(st, lock, O_TRUNC);
      return again == 0 ? true : AcquireError(st, again);
    }

    // Another machine's lock, or one nobody can be told from.
    st.LanMsgFileName = LockBase(st, path);
    st.LanMsgAnswer = kLanAnswerGiveUp;
    st.ui.SetBusyPointer(false);
    st.ui.ShowModal(kLanMsgWindow);
    if (st.CommandBusy) st.ui.SetBusyPointer(true);
    if (st.LanMsgAnswer != kLanAnswerForce) return false;
    if (::unlink(lock.c_str()) != 0 && errno != ENOENT) return AcquireError(st, errno);
  }
  return false;
}

void LanLockReleaseOf(ProgramState& st, const std::string& path) {
  const std::string lock = LockFilePath(st, path);
  if (lock.empty() || !LockIsMine(st, lock)) return;
  if (::unlink(lock.c_str()) != 0 && errno != ENOENT) LanErrorShow(st, errno);
}

void LanLockRelease(ProgramState& st) { LanLockReleaseOf(st, st.CurrentFilePath); }

LanMsgLines LanMsgText(const std::string& fileName) {
  return {"見積データ [ " + fileName + " ] は現在、", "他のユーザによって編集されています。",
          "見積データ [ " + fileName + " ] を開く処理を中止します。",
          "強制的に編集を行う場合は、強制編集を選択して下さい。"};
}

}  // namespace kv
