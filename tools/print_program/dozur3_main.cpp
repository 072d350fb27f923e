// DOZUR3.exe: the print program. Started by the editor in the program folder
// with the job file's name ("MP_INFO.DAT"); prints the pages the job asks
// for on the job's printer, or, for the PDF printer, into a PDF file: the
// folder named by KV_PRINT_OUT when it is set, else the file the user
// chooses (the folder used last is kept in the PDF printer's settings file;
// without a screen there is nobody to choose, and KV_PRINT_OUT is needed).
// A failure is shown (title "印刷", not with KV_PRINT_QUIET), written to the
// standard error, and ends the program with a non-zero status; no file is
// left behind then. A cancelled save dialog is not a failure.
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QStandardPaths>
#include <cstdlib>
#include <string>

#include "core/ini_file.h"
#include "page_boxes.h"
#include "picture_prep.h"
#include "platform/font_substitute.h"
#include "platform/fs.h"
#include "platform/ui.h"
#include "print/print_forms.h"
#include "print_failure.h"
#include "print_load.h"
#include "qt/print_output.h"
#include "qt/program_side.h"

namespace {

namespace stdfs = std::filesystem;
using namespace kv::print_program;

constexpr const char* kProgram = "DOZUR3.exe";
constexpr const char* kPdfSection = "PDF";
constexpr const char* kPdfFolderKey = "LastFolder";

QString FontFamily(const std::string& stored) {
  std::vector<std::string> installed;
  for (const QString& f : QFontDatabase::families()) installed.push_back(f.toStdString());
  return QString::fromStdString(kv::DisplayFontFamily(stored.empty() ? "ＭＳ 明朝" : stored, installed));
}

// The PDF file to write; nullopt when the user cancels the save dialog.
std::optional<stdfs::path> PdfTarget(const stdfs::path& folder, const std::string& name) {
  const std::string fileName = (name.empty() ? "印刷" : name) + ".pdf";
  if (const char* out = std::getenv("KV_PRINT_OUT"); out != nullptr && *out != '\0') return stdfs::path(out) / fileName;
  if (WithoutScreen())
    throw PrintFailure("PDF ファイルの保存先を尋ねる画面がありません。\n環境変数 KV_PRINT_OUT に保存先のフォルダを指定してください。");
  const stdfs::path settings = folder / (kv::PrinterKeyOf(kv::kPdfPrinterName) + ".INI");
  std::string last;
  kv::IniGetString(kPdfSection, kPdfFolderKey, last, settings);
  std::error_code ec;
  // The folder used last; else the documents folder, or the home folder
  // when there is none (never the program folder the program runs in).
  QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!last.empty() && stdfs::is_directory(last, ec))
    start = QString::fromStdString(last);
  else if (start.isEmpty() || !stdfs::is_directory(start.toStdString(), ec))
    start = QDir::homePath();
  const QString chosen = QFileDialog::getSaveFileName(nullptr, QStringLiteral("PDF ファイルの保存"),
                                                      start + "/" + QString::fromStdString(fileName),
                                                      QStringLiteral("PDF (*.pdf)"));
  if (chosen.isEmpty()) return std::nullopt;
  stdfs::path target(chosen.toStdString());
  if (target.extension().empty()) target += ".pdf";
  kv::IniPutString(kPdfSection, kPdfFolderKey, target.parent_path().string(), settings);
  return target;
}

int Print(const stdfs::path& folder, const std::string& argument) {
  LoadedPrint print = LoadPrint(folder, argument);
  const std::vector<std::vector<kv::print_program::SheetPicture>> pictures =
      TakePreparation(folder, JobStamp(print.jobFile), print.run);
  const PageComposer composer(*print.estimate, print.form, print.look, print.job, print.run, pictures);

  OutputPages pages;
  pages.form = &print.form;
  pages.fontFamily = FontFamily(print.look.fontName);
  pages.title = QString::fromStdString(print.estimate->name);
  pages.count = static_cast<int>(print.run.pages.size());
  pages.page = [&](int i, PageBoxes& b) { composer.Compose(print.run.pages[static_cast<size_t>(i)], b); };

  QString error;
  if (print.job.printer == kv::kPdfPrinterName) {
    const std::optional<stdfs::path> target = PdfTarget(folder, print.estimate->name);
    if (!target) return 0;
    if (!WritePdfFile(*target, pages, error)) throw PrintFailure(error.toStdString());
  } else if (!PrintOnPrinter(QString::fromStdString(print.job.printer), pages, error)) {
    throw PrintFailure(error.toStdString());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunPrintProgram(argc, argv, kProgram, Print); }
