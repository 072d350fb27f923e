#pragma once
// The whole program in the test process, wired as main() wires it, on a
// program folder of the test's own. The program ends the process, so window
// tests run it in a child process and read what it left.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <string>

#include "app/app_shutdown.h"
#include "app/program_entry.h"
#include "app/windows/program_wiring.h"
#include "platform/instance_lock.h"
#include "platform/qt/qt_ui.h"
#include "state/program_state.h"

namespace kv::test {

class WholeProgram {
 public:
  // `prog`: the program folder; `commandLine`: the estimate to open, if any.
  explicit WholeProgram(const std::string& prog, std::string commandLine = {})
      : instance_(prog + "/instance.lock"), shutdown_(ProgramShutdownSteps(qt)) {
    ctx_.ProgramFolder = prog;
    ctx_.ProgramFile = prog + "/korvane";
    ctx_.Instance = &instance_;
    ctx_.CommandLine = std::move(commandLine);
    RegisterProgramWindows(qt, st, prog, ProgramEditorHooks(qt, st, shutdown_));
  }

  // Every 10 ms while the program runs: a message box on the screen is
  // answered (and counted), then `user` acts on whatever else is there.
  void Watch(std::function<void()> user = {}) {
    QObject::connect(&watch_, &QTimer::timeout, [this, user] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        ++boxesShown;
        box->accept();
      }
      if (user) user();
    });
    watch_.start(10);
  }

  // The start-up, up to the shown main window.
  void Start() { Main(st, ctx_, ProgramStartupSteps(qt)); }

  QtUi qt;
  ProgramState st{qt};
  int boxesShown = 0;

 private:
  InstanceLock instance_;
  StartupContext ctx_;
  ShutdownSteps shutdown_;
  QTimer watch_;
};

}  // namespace kv::test
