#include "print_output.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "page_painter.h"

namespace kv::print_program {

namespace stdfs = std::filesystem;

namespace {

// The temporary PDF being written, removed when the program is stopped
// (closed, interrupted or terminated) before it is complete, so that a
// stopped print leaves the output folder as it was.
char g_tempPdf[4096] = {};

void RemoveTempPdfAndExit(int sig) {
  if (g_tempPdf[0] != '\0') ::unlink(g_tempPdf);
  ::_exit(128 + sig);
}

class TempPdfGuard {
 public:
  explicit TempPdfGuard(const std::string& path) {
    if (path.size() >= sizeof g_tempPdf) return;
    std::memcpy(g_tempPdf, path.c_str(), path.size() + 1);
    struct sigaction sa {};
    sa.sa_handler = RemoveTempPdfAndExit;
    sigemptyset(&sa.sa_mask);
    for (size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &sa, &old_[i]);
  }
  ~TempPdfGuard() {
    for (size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &old_[i], nullptr);
    g_tempPdf[0] = '\0';
  }
  TempPdfGuard(const TempPdfGuard&) = delete;
  TempPdfGuard& operator=(const TempPdfGuard&) = delete;

 private:
  static constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};
  std::array<struct sigaction, 3> old_{};
};

}  // namespace

bool WritePdfFile(const stdfs::path& target, const OutputPages& pages, QString& error) {
  std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  // The stop signals wait while the temporary file is made and its guard set
  // up, so a stop at that instant cannot leave the file behind.
  sigset_t stopSignals, oldMask;
  sigemptyset(&stopSignals);
  for (const int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stopSignals, sig);
  ::pthread_sigmask(SIG_BLOCK, &stopSignals, &oldMask);
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    const int err = errno;
    ::pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    error = QStringLiteral("PDF ファイル [ %1 ] を書き込めません。\n%2")
                .arg(QString::fromStdString(target.string()), QString::fromLocal8Bit(std::strerror(err)));
    return false;
  }
  ::close(fd);
  const TempPdfGuard guard(temp);
  ::pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
  bool ok = false;
  {
    QPdfWriter writer(QString::fromStdString(temp));
    writer.setTitle(pages.title);
    writer.setCreator(QStringLiteral("TheKorvane"));
    writer.setResolution(600);
    ok = PaintPages(writer, *pages.form, pages.fontFamily, pages.count, pages.page, error);
  }
  std::error_code ec;
  if (ok) {
    // The permissions a new file gets, not those of a temporary one.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(temp.c_str(), 0666 & ~mask);
    stdfs::rename(temp, target, ec);
    if (ec) error = QStringLiteral("PDF ファイル [ %1 ] を書き込めません。\n%2")
                        .arg(QString::fromStdString(target.string()), QString::fromStdString(ec.message()));
    ok = !ec;
  } else {
    error = QStringLiteral("PDF ファイル [ %1 ] を書き込めません。\n%2").arg(QString::fromStdString(target.string()), error);
  }
  if (!ok) stdfs::remove(temp, ec);
  return ok;
}

bool PrintOnPrinter(const QString& printerName, const OutputPages& pages, QString& error) {
  const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
  if (info.isNull()) {
    error = QStringLiteral("プリンタ [ %1 ] が見つかりません。").arg(printerName);
    return false;
  }
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setFullPage(true);
  printer.setDocName(pages.title);
  if (!PaintPages(printer, *pages.form, pages.fontFamily, pages.count, pages.page, error)) {
    error = QStringLiteral("プリンタ [ %1 ] で印刷できません。\n%2").arg(printerName, error);
    return false;
  }
  return true;
}

}  // namespace kv::print_program
