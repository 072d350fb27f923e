#include "program_side.h"

#include <malloc.h>

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "../print_failure.h"
#include "platform/qt/qt_translations.h"

namespace kv::print_program {

std::filesystem::path ProgramFolder(const char* argv0) {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) self = std::filesystem::absolute(argv0, ec);
  return self.parent_path();
}

void KeepFreedMemory() {
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  mallopt(M_TOP_PAD, 16 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
}

void UseOffscreenWithoutDisplay() {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

bool WithoutScreen() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void ReportFailure(const std::string& program, const std::string& message) {
  std::cerr << program << ": " << message << std::endl;
  if (std::getenv("KV_PRINT_QUIET") != nullptr || WithoutScreen()) return;
  QMessageBox box(QMessageBox::Warning, QStringLiteral("印刷"), QString::fromStdString(message), QMessageBox::Ok);
  box.exec();
}

int RunPrintProgram(int argc, char** argv, const std::string& program,
                    const std::function<int(const std::filesystem::path&, const std::string&)>& body) {
  KeepFreedMemory();
  UseOffscreenWithoutDisplay();
  QApplication app(argc, argv);
  LoadQtTranslations(app);  // the save dialog and the buttons in Japanese
  try {
    return body(ProgramFolder(argv[0]), argc > 1 ? argv[1] : "MP_INFO.DAT");
  } catch (const PrintFailure& failure) {
    ReportFailure(program, failure.what());
  } catch (const std::exception& failure) {
    ReportFailure(program, std::string("印刷できません。\n") + failure.what());
  }
  return 1;
}

}  // namespace kv::print_program
