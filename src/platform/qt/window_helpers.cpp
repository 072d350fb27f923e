#include "platform/qt/window_helpers.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <vector>

#include "core/window_services.h"
#include "platform/font_substitute.h"

namespace kv {

namespace {

TextSize ScreenOf(const QWidget& w) {
  QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
  if (!screen) return {};
  QSize s = screen->geometry().size();
  return {s.width(), s.height()};
}

WindowRect RectOf(const QWidget& w) {
  QRect r = w.frameGeometry();
  return {r.x(), r.y(), r.width(), r.height()};
}

// Characters (code points) in the first `units` UTF-16 units of a text.
int CharsIn(const QString& s, int units) {
  int chars = 0;
  for (int i = 0; i < units && i < s.size(); ++i)
    if (!s.at(i).isLowSurrogate()) ++chars;
  return chars;
}

}  // namespace

void CenterForm(QWidget& w) {
  WindowRect r = CenterFormRect(ScreenOf(w), RectOf(w));
  w.move(r.left, r.top);
}

void CenterFormIfNormal(QWidget& w) {
  if (w.isMinimized() || w.isMaximized()) return;
  WindowRect r = CenterFormIfNormalRect(ScreenOf(w), RectOf(w));
  w.move(r.left, r.top);
}

void SetTopMost(QWidget& w, bool on) {
  Qt::WindowFlags flags = w.windowFlags();
  if (flags.testFlag(Qt::WindowStaysOnTopHint) == on) return;
  flags.setFlag(Qt::WindowStaysOnTopHint, on);
  if (w.isVisible() && w.windowHandle()) {
    // Changing the flags the ordinary way hides the window (and would end a
    // modal dialog's loop): tell the shown window directly.
    w.overrideWindowFlags(flags);
    Qt::WindowFlags native = w.windowHandle()->flags();
    native.setFlag(Qt::WindowStaysOnTopHint, on);
    w.windowHandle()->setFlags(native);
  } else {
    w.setWindowFlags(flags);
  }
}

const std::vector<std::string>& InstalledFontFamilies() {
  static const std::vector<std::string> installed = [] {
    std::vector<std::string> out;
    for (const QString& f : QFontDatabase::families()) out.push_back(FromQ(f));
    return out;
  }();
  return installed;
}

QFont KvFont(std::string_view storedName, double pointSize) {
  QFont font(ToQ(DisplayFontFamily(storedName, InstalledFontFamilies())));
  font.setPointSizeF(pointSize > 0 ? pointSize : 10);
  return font;
}

KeyTextBox TextBoxOf(const QLineEdit& edit) {
  QString text = edit.text();
  KeyTextBox box;
  box.text = FromQ(text);
  if (edit.hasSelectedText()) {
    int start = edit.selectionStart();
    box.selStart = CharsIn(text, start);
    box.selLength = CharsIn(text, start + static_cast<int>(edit.selectedText().size())) - box.selStart;
  } else {
    box.selStart = CharsIn(text, edit.cursorPosition());
  }
  return box;
}

}  // namespace kv
