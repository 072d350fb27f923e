// The editor's entry point.
#include <QApplication>

#include "app/program_state.h"
#include "platform/qt/qt_ui.h"
#include "storage/file_commands.h"
#include "storage/windows/file_commands_wiring.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kv::QtUi ui;
  kv::ProgramState st(ui);
  kv::FileCommands files;
  kv::WireFileCommands(ui, st, files);
  return 0;
}
