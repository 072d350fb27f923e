#include "core/file_exist.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/fs.h"
#include "platform/ui.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr std::string_view kTitle = "TheKorvane";
constexpr std::string_view kFolderErrorTitle = "プログラム論理エラーです";

// Errors of a file system that is there but cannot answer now: a removed
// medium, a failing device, a network share that went away.
bool IsNotReady(int e) {
  switch (e) {
    case EIO: case ENOMEDIUM: case ETIMEDOUT: case EHOSTDOWN: case EHOSTUNREACH:
    case ENETDOWN: case ENETUNREACH: case ESTALE: case ENOTCONN:
      return true;
    default:
      return false;
  }
}

bool IsMissing(const std::error_code& ec) {
  return ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
}

// The first character of a path (a whole UTF-8 character).
std::string FirstChar(std::string_view path) {
  if (path.empty()) return {};
  unsigned char c = static_cast<unsigned char>(path[0]);
  size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  return std::string(path.substr(0, std::min(n, path.size())));
}

}  // namespace

bool FileMatchExists(std::string_view path, std::error_code& ec) {
  ec.clear();
  if (path.empty()) return false;
  const stdfs::path p{std::string(path)};
  const std::string name = p.filename().string();
  if (name.empty() || fs::IsHidden(p)) return false;  // a folder path, or a hidden file

  if (!fs::HasWildcard(name)) {
    // The exact name first; only when it is not there is the folder searched.
    struct stat s {};
    if (::stat(p.c_str(), &s) == 0) return S_ISREG(s.st_mode);
    int e = errno;
    if (e != ENOENT && e != ENOTDIR) {
      ec = std::error_code(e, std::generic_category());
      return false;
    }
    if (e == ENOTDIR) return false;
  }
  std::vector<stdfs::path> found = fs::MatchingFiles(p.parent_path(), name, ec);
  if (IsMissing(ec)) ec.clear();
  return !ec && !found.empty();
}

bool FileExistChk(Ui& ui, std::string_view path, const FileLookup& lookup,
                  const FloatWindowsHook& floatWindows) {
  // A message box of the existence check, with the floating windows lowered
  // around it so that it is not hidden behind them.
  auto framed = [&](const std::string& text, int style, std::string_view title) {
    FloatWindowsAsk(floatWindows, false);
    const int answer = ui.MsgBox(text, style, title);
    FloatWindowsAsk(floatWindows, true);
    return answer;
  };
  for (;;) {
    std::error_code ec;
    bool found = lookup(path, ec);
    if (!ec) return found;
    const int e = ec.value();
    const std::string p(path);
    if (IsNotReady(e)) {
      std::string text = "ドライブ " + FirstChar(path) + " の準備が出来てません。\n" +
                         "ﾌﾛｯﾋﾟﾃﾞｨｽｸをﾄﾞﾗｲﾌﾞに挿入してください。";
      if (framed(text, vbRetryCancel | vbExclamation, kTitle) == vbRetry) continue;
    } else if (e == ENODEV || e == ENXIO) {
      framed("ﾄﾞﾗｲﾌﾞまたはﾊﾟｽが見つかりません: " + p, vbOKOnly | vbExclamation, kTitle);
    } else if (e == ENAMETOOLONG || e == EILSEQ || e == EINVAL) {
      framed("指定したファイルが見つかりません: " + p, vbOKOnly | vbExclamation, kTitle);
    } else {
      framed("予期しないエラー # " + std::to_string(e) + " が発生しました。 " + ec.message(),
                   vbOKOnly | vbCritical, kTitle);
    }
    return false;
  }
}

bool MakeFolderPath(Ui& ui, std::string_view path) {
  auto fail = [&](int e) {
    ui.MsgBox(std::error_code(e, std::generic_category()).message(), vbOKOnly | vbCritical,
              kFolderErrorTitle);
    return false;
  };
  if (path.empty()) return fail(ENOENT);
  std::error_code ec;
  stdfs::path full = stdfs::absolute(stdfs::path(std::string(path)), ec);
  if (ec) return fail(ec.value());
  full = full.lexically_normal();

  stdfs::path cur = full.root_path();
  for (const stdfs::path& part : full.relative_path()) {
    if (part.empty()) continue;  // the empty element after a trailing separator
    cur /= part;
    if (stdfs::is_directory(cur, ec)) continue;
    if (::mkdir(cur.c_str(), 0777) == 0) continue;
    int e = errno;
    // Made meanwhile by someone else: as good as made here.
    if (e == EEXIST && stdfs::is_directory(cur, ec)) continue;
    return fail(e == EEXIST ? ENOTDIR : e);
  }
  return true;
}

}  // namespace kv
