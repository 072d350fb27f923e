#include "print_output.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "page_painter.h"

namespace kv::print_program {

namespace stdfs = std::filesystem;

bool WritePdfFile(const stdfs::path& target, const OutputPages& pages, QString& error) {
  std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = QStringLiteral("PDF ファイル [ %1 ] を書き込めません。\n%2")
                .arg(QString::fromStdString(target.string()), QString::fromLocal8Bit(std::strerror(errno)));
    return false;
  }
  ::close(fd);
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
