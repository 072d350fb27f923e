// The editor's entry point: the toolkit, the UI seam with every window of the
// program, the program state, the start-up, then the main window's events
// until the shut-down ends the program.
#include <QApplication>
#include <QThreadPool>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_shutdown.h"
#include "app/program_entry.h"
#include "app/startup_steps.h"
#include "app/windows/program_wiring.h"
#include "calc/calc_engine.h"
#include "classify/siwake_master.h"
#include "platform/instance_lock.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "print/print_forms.h"
#include "state/number_chars.h"
#include "state/program_state.h"
#include "storage/file_commands.h"
#include "storage/windows/file_commands_wiring.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The program ends through the shut-down (or an end of the start-up), never
  // because a window closed.
  QApplication::setQuitOnLastWindowClosed(false);
  // Qt spreads large fills of its drawing over a pool of threads; the
  // program draws plain cells, and starting and waking a thread for each
  // toolbar and scroll bar costs the start more than it saves. One helper
  // thread.
  QThreadPool::globalInstance()->setMaxThreadCount(1);
  // Qt's own dialogs and buttons speak the program's language.
  kv::LoadQtTranslations(app);

  kv::StartupContext ctx;
  ctx.ProgramFolder = kv::FromQ(QCoreApplication::applicationDirPath());
  ctx.ProgramFile = kv::FromQ(QCoreApplication::applicationFilePath());
  // The whole text after the program's name is one path: arguments split at
  // blanks by the shell are joined again.
  for (int i = 1; i < argc; ++i) {
    if (i > 1) ctx.CommandLine += ' ';
    ctx.CommandLine += argv[i];
  }

  kv::QtUi ui;
  kv::ProgramState st(ui);
  // The calculation engine first: the start-up's column definitions build
  // their evaluation orders with it.
  kv::CalcEngine calc;
  st.calc = &calc;
  // The paper lists and the print form kept per printer.
  kv::PrintForms print;
  st.print = &print;
  // The classification masters' lookup tables, loaded by the start-up.
  kv::SiwakeMasters classify;
  st.classify = &classify;
  kv::FileCommands files;
  kv::WireFileCommands(ui, st, files);
  kv::InstanceLock instance;
  ctx.Instance = &instance;

  const kv::ShutdownSteps shutdown = kv::ProgramShutdownSteps(ui);
  kv::RegisterProgramWindows(ui, st, ctx.ProgramFolder, kv::ProgramEditorHooks(ui, st, shutdown));

  kv::Main(st, ctx, kv::ProgramStartupSteps(ui));

  // KORVANE_EXIT_WHEN_SHOWN=1 (for timing a start): the program leaves as soon
  // as the shown main window has been painted, without the shut-down and
  // without taking its windows down.
  const char* exitWhenShown = std::getenv("KORVANE_EXIT_WHEN_SHOWN");
  if (exitWhenShown != nullptr && std::string(exitWhenShown) == "1")
    QTimer::singleShot(0, &app, [] {
      std::fflush(nullptr);
      std::_Exit(0);
    });
  return app.exec();
}
