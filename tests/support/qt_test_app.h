#pragma once
// Window tests: the one QApplication of the test process (offscreen platform,
// set by ctest), made on first use and kept to the end, and small helpers to
// act as the user.
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QThreadPool>
#include <QWidget>

namespace kv::test {

inline void EnsureQtApp() {
  static int argc = 1;
  static char arg0[] = "korvane_window_tests";
  static char* argv[] = {arg0, nullptr};
  static QApplication* app = [] {
    QApplication* made = QApplication::instance() ? nullptr : new QApplication(argc, argv);
    // Qt draws large fills on pool threads. A pool thread left waiting for
    // work would not exist in the child of a test that forks (a run of the
    // whole program), and the child's first such fill would wait for it
    // for ever: pool threads end as soon as their work is done.
    QThreadPool::globalInstance()->setExpiryTimeout(0);
    return made;
  }();
  (void)app;
}

// A key pressed where the window's focus is (or on the window itself).
inline void PressKey(QWidget* window, int key, const QString& text = {}) {
  QWidget* target = window->focusWidget() ? window->focusWidget() : window;
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &release);
}

// Runs what was left for later (a closed window's deletion).
inline void Settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace kv::test
