// The yardstick of the start-up benchmark: the least a Qt Widgets program
// does to show a main window with a menu bar, built by the same build. It
// leaves as soon as its shown window has been painted, without taking it
// down, as the editor does with KORVANE_EXIT_WHEN_SHOWN=1.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  const char* menus[] = {"ファイル(&F)", "編集(&E)", "表示(&V)", "計算行(&C)", "ヘルプ(&H)"};
  for (const char* title : menus) {
    QMenu* menu = w.menuBar()->addMenu(QString::fromUtf8(title));
    for (int i = 1; i <= 8; ++i) menu->addAction(QStringLiteral("Item %1").arg(i));
  }
  w.resize(1000, 700);
  w.show();
  QCoreApplication::processEvents();
  QTimer::singleShot(0, &app, [] {
    std::fflush(nullptr);
    std::_Exit(0);
  });
  return app.exec();
}
