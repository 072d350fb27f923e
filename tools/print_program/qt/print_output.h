#pragma once
// Where the pages go: a PDF file, written through a temporary file beside it
// that is renamed over the target only when the whole document is written,
// or a system printer.
#include <QString>
#include <filesystem>
#include <functional>

#include "../page_boxes.h"
#include "../print_settings.h"

namespace kv::print_program {

struct OutputPages {
  const PageForm* form = nullptr;
  QString fontFamily;
  QString title;  // the document's name
  int count = 0;
  std::function<void(int, PageBoxes&)> page;  // composes page i
};

// False (with `error`) when the file cannot be written; nothing is left
// behind then, and an old file of that name stays as it was.
bool WritePdfFile(const std::filesystem::path& target, const OutputPages& pages, QString& error);

// False (with `error`) when the printer is not there or refuses the job.
bool PrintOnPrinter(const QString& printerName, const OutputPages& pages, QString& error);

}  // namespace kv::print_program
