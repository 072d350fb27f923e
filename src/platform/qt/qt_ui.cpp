#include "platform/qt/qt_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QImageReader>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/dialog_codes.h"
#include "platform/grid/qt/grid_font.h"
#include "platform/qt/window_helpers.h"

namespace kv {

namespace {

// The arrow pointer over a box or dialog the user must answer while the busy
// pointer is on; the busy pointer comes back when it closes.
class ArrowWhileAsking {
 public:
  explicit ArrowWhileAsking(bool busy) : on_(busy) {
    if (on_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~ArrowWhileAsking() {
    if (on_) QApplication::restoreOverrideCursor();
  }
  ArrowWhileAsking(const ArrowWhileAsking&) = delete;
  ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

 private:
  bool on_;
};

QMessageBox::Icon QtIcon(MsgBoxIcon icon) {
  switch (icon) {
    case MsgBoxIcon::Critical: return QMessageBox::Critical;
    case MsgBoxIcon::Question: return QMessageBox::Question;
    case MsgBoxIcon::Exclamation: return QMessageBox::Warning;
    case MsgBoxIcon::Information: return QMessageBox::Information;
    case MsgBoxIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

// System colour values keep red in the low byte.
QColor FromSystemColor(long c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}
long ToSystemColor(const QColor& c) {
  return static_cast<long>(c.red()) | (static_cast<long>(c.green()) << 8) |
         (static_cast<long>(c.blue()) << 16);
}

// Sizes limited to the request's smallest and largest (the system's flag).
constexpr long kFontLimitSize = 0x2000;

// Ends the loop when the watched window hides or goes away.
class HideWatcher : public QObject {
 public:
  HideWatcher(QWidget* w, QEventLoop* loop) : QObject(w), loop_(loop) { w->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Hide) loop_->quit();
    return false;
  }

 private:
  QEventLoop* loop_;
};

}  // namespace

QtUi::~QtUi() {
  auto windows = std::move(windows_);
  windows_.clear();
  for (auto& [name, w] : windows) delete w.data();
}

void QtUi::RegisterWindow(std::string_view windowName, WindowFactory factory) {
  factories_[std::string(windowName)] = std::move(factory);
}

QWidget* QtUi::LoadedWindow(std::string_view windowName) const {
  auto it = windows_.find(windowName);
  return it == windows_.end() ? nullptr : it->second.data();
}

QWidget* QtUi::LoadWindow(std::string_view windowName) {
  if (QWidget* w = LoadedWindow(windowName)) return w;
  auto f = factories_.find(windowName);
  if (f == factories_.end() || !f->second) {
    qWarning("kv::QtUi: no window is registered as \"%.*s\"", static_cast<int>(windowName.size()),
             windowName.data());
    return nullptr;
  }
  QWidget* w = f->second();
  if (w) windows_[std::string(windowName)] = w;
  return w;
}

QWidget* QtUi::Control(std::string_view windowName, std::string_view control) {
  QWidget* w = LoadWindow(windowName);
  if (!w) return nullptr;
  QWidget* c = w->findChild<QWidget*>(ToQ(control));
  if (!c)
    qWarning("kv::QtUi: window \"%.*s\" has no control \"%.*s\"",
             static_cast<int>(windowName.size()), windowName.data(),
             static_cast<int>(control.size()), control.data());
  return c;
}

int QtUi::MsgBox(std::string_view text, int style, std::string_view title) {
  MsgBoxLayout layout = MsgBoxLayoutFor(style);
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(ToQ(title));
  box.setText(ToQ(text));
  box.setIcon(QtIcon(layout.icon));
  // As wide as its longest line (up to most of the screen), so that a line
  // breaks where the text breaks it, not in the middle of a Japanese word.
  if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
    int widest = 0;
    const QFontMetrics fm(label->font());
    for (const QString& line : box.text().split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
      widest = std::max(widest, fm.horizontalAdvance(line));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int limit = screen ? screen->availableGeometry().width() * 3 / 4 : 1200;
    label->setMinimumWidth(std::min(widest + 8, limit));
  }
  // One role for every button keeps the system's order, and leaves Esc and the
  // close button to the escape answer alone (none for Yes/No and
  // Abort/Retry/Ignore, as there).
  std::vector<std::pair<QPushButton*, int>> buttons;
  for (int answer : layout.buttons) {
    QPushButton* b = box.addButton(ToQ(MsgBoxButtonText(answer)), QMessageBox::ActionRole);
    buttons.emplace_back(b, answer);
    if (layout.escapeAnswer == answer) box.setEscapeButton(b);
  }
  box.setDefaultButton(buttons[layout.defaultIndex].first);
  {
    ArrowWhileAsking arrow(busy_);
    box.exec();
  }
  for (auto& [b, answer] : buttons)
    if (box.clickedButton() == b) return answer;
  return layout.escapeAnswer.value_or(layout.buttons.front());
}

std::optional<std::string> QtUi::InputBox(std::string_view prompt, std::string_view title,
                                          std::string_view initial) {
  QInputDialog dlg(QApplication::activeWindow());
  dlg.setWindowTitle(ToQ(title));
  dlg.setLabelText(ToQ(prompt));
  dlg.setTextValue(ToQ(initial));
  dlg.setOkButtonText("OK");
  dlg.setCancelButtonText(QString::fromUtf8("キャンセル"));
  if (InputBoxImeOn()) {
    // Japanese input: no restriction on the text box's input method.
    for (QLineEdit* edit : dlg.findChildren<QLineEdit*>()) {
      edit->setAttribute(Qt::WA_InputMethodEnabled, true);
      edit->setInputMethodHints(Qt::ImhNone);
    }
  }
  ArrowWhileAsking arrow(busy_);
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  return FromQ(dlg.textValue());
}

std::optional<std::string> QtUi::FileDialog(const FileDialogRequest& req, bool save) {
  QFileDialog dlg(QApplication::activeWindow(), ToQ(req.title), ToQ(req.initDir));
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(!save && (req.flags & cdlOFNFileMustExist) ? QFileDialog::ExistingFile
                                                             : QFileDialog::AnyFile);
  // Callers that ask about an existing file themselves leave the flag off.
  if (save && !(req.flags & cdlOFNOverwritePrompt)) dlg.setOption(QFileDialog::DontConfirmOverwrite);
  QStringList filters;
  for (const std::string& f : NameFiltersFromFilter(req.filter)) filters << ToQ(f);
  if (!filters.isEmpty()) {
    dlg.setNameFilters(filters);
    if (req.filterIndex >= 1 && req.filterIndex <= filters.size())
      dlg.selectNameFilter(filters[req.filterIndex - 1]);
  }
  std::string ext = req.defaultExt;
  if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
  if (!ext.empty()) dlg.setDefaultSuffix(ToQ(ext));
  if (!req.fileName.empty()) dlg.selectFile(ToQ(req.fileName));
  ArrowWhileAsking arrow(busy_);
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  QStringList chosen = dlg.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return FromQ(chosen.first());
}

std::optional<std::string> QtUi::OpenFileDialog(const FileDialogRequest& req) {
  return FileDialog(req, false);
}

std::optional<std::string> QtUi::SaveFileDialog(const FileDialogRequest& req) {
  return FileDialog(req, true);
}

void QtUi::SetBusyPointer(bool busy) {
  // An on/off switch, not a stack: a second "on" changes nothing.
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

std::string QtUi::ClipboardText() { return FromQ(QGuiApplication::clipboard()->text()); }

void QtUi::SetClipboardText(std::string_view text) {
  QGuiApplication::clipboard()->setText(ToQ(text));
}

std::string QtUi::ClipboardImage() {
  const QImage image = QGuiApplication::clipboard()->image();
  if (image.isNull()) return {};
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return {};
  return std::string(png.constData(), size_t(png.size()));
}

std::optional<ImageSize> QtUi::ImagePixelSize(std::string_view bytes) {
  const QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  if (!reader.canRead()) return std::nullopt;
  QSize size = reader.size();
  // A picture Qt would refuse to hold in memory is taken by its header; any
  // other must decode whole, so that what is placed can be drawn.
  const qint64 limitPixels = qint64(QImageReader::allocationLimit()) * 1024 * 1024 / 4;
  if (!size.isValid() || limitPixels == 0 || qint64(size.width()) * size.height() <= limitPixels) {
    const QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    size = image.size();
  }
  if (size.width() < 1 || size.height() < 1) return std::nullopt;
  return ImageSize{size.width(), size.height()};
}

TextSize QtUi::TextExtent(std::string_view text, std::string_view fontName, double pointSize) {
  // The sheet's texts are measured in the font the sheet grid draws them
  // with (whole pixels at 96 dpi, as the system sizes a font): one font
  // serves both, loaded once.
  const long whole = std::lround(pointSize);
  QFontMetrics fm(whole > 0 && whole == pointSize ? GridFont(fontName, static_cast<int>(whole), 100)
                                                  : KvFont(fontName, pointSize));
  // Lines are measured apart: the widest line and one line height each.
  QStringList lines = ToQ(text).remove(QChar('\r')).split(QChar('\n'));
  int width = 0;
  for (const QString& line : lines) width = std::max(width, fm.horizontalAdvance(line));
  return {width, fm.height() * static_cast<int>(lines.size())};
}

std::vector<std::string> QtUi::FontFamilies() { return InstalledFontFamilies(); }

void QtUi::SystemPrintersLoad() {
  if (systemPrinters_) return;
  systemPrinters_.emplace();
  for (const QString& p : QPrinterInfo::availablePrinterNames()) systemPrinters_->push_back(FromQ(p));
  systemDefaultPrinter_ = FromQ(QPrinterInfo::defaultPrinterName());
}

std::vector<std::string> QtUi::PrinterNames() {
  SystemPrintersLoad();
  std::vector<std::string> out = *systemPrinters_;
  out.emplace_back(kPdfPrinterName);
  return out;
}

std::string QtUi::DefaultPrinterName() {
  SystemPrintersLoad();
  return systemDefaultPrinter_.empty() ? std::string(kPdfPrinterName) : systemDefaultPrinter_;
}

std::optional<long> QtUi::ColorDialog(const ColorDialogRequest& req) {
  ArrowWhileAsking arrow(busy_);
  const QColor chosen = QColorDialog::getColor(FromSystemColor(req.color), QApplication::activeWindow());
  if (!chosen.isValid()) return std::nullopt;
  return ToSystemColor(chosen);
}

std::optional<FontDialogFont> QtUi::FontDialog(const FontDialogRequest& req) {
  const FontDialogFont& in = req.font;
  QFont start = KvFont(in.name, in.pointSize > 0 ? in.pointSize : 10);
  start.setBold(in.bold);
  start.setItalic(in.italic);
  start.setStrikeOut(in.strikethru);
  start.setUnderline(in.underline);
  bool ok = false;
  QFont chosen;
  {
    ArrowWhileAsking arrow(busy_);
    chosen = QFontDialog::getFont(&ok, start, QApplication::activeWindow());
  }
  if (!ok) return std::nullopt;
  FontDialogFont out;
  // The family a stored name is drawn with gives the stored name back.
  out.name = chosen.family() == start.family() && !in.name.empty() ? in.name : FromQ(chosen.family());
  out.pointSize = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : QFontInfo(chosen).pointSizeF();
  if ((req.flags & kFontLimitSize) != 0) {
    if (req.minSize > 0) out.pointSize = std::max(out.pointSize, static_cast<double>(req.minSize));
    if (req.maxSize > 0) out.pointSize = std::min(out.pointSize, static_cast<double>(req.maxSize));
  }
  out.bold = chosen.weight() >= QFont::Medium;
  out.italic = chosen.italic();
  out.strikethru = chosen.strikeOut();
  out.underline = chosen.underline();
  out.color = in.color;  // the dialog offers no colour here
  return out;
}

std::optional<PrintDialogPages> QtUi::PrintDialog(const PrintDialogRequest& req) {
  QPrinter printer;
  QPrintDialog dlg(&printer, QApplication::activeWindow());
  const PrintDialogPages& in = req.pages;
  if (in.minPage > 0 || in.maxPage > 0) dlg.setMinMax(in.minPage, std::max(in.minPage, in.maxPage));
  if (in.fromPage > 0 || in.toPage > 0) {
    printer.setFromTo(in.fromPage, std::max(in.fromPage, in.toPage));
    printer.setPrintRange(QPrinter::PageRange);
  }
  if (in.copies > 0) printer.setCopyCount(in.copies);
  {
    ArrowWhileAsking arrow(busy_);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  }
  return PrintDialogPages{printer.fromPage(), printer.toPage(), dlg.minPage(), dlg.maxPage(),
                          printer.copyCount()};
}

void QtUi::ProcessEvents() { QCoreApplication::processEvents(); }

void QtUi::Beep() { QApplication::beep(); }

void QtUi::ShowModal(std::string_view windowName) {
  QPointer<QWidget> w = LoadWindow(windowName);
  if (!w) return;
  {
    ArrowWhileAsking arrow(busy_);
    if (auto* dlg = qobject_cast<QDialog*>(w.data())) {
      dlg->exec();
    } else {
      QEventLoop loop;
      auto* watcher = new HideWatcher(w, &loop);
      QObject::connect(w.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
      w->setWindowModality(Qt::ApplicationModal);
      w->show();
      loop.exec();
      if (w) {
        w->setWindowModality(Qt::NonModal);
        delete watcher;
      }
    }
  }
  // A window that closed itself (Qt::WA_DeleteOnClose) is unloaded now, not at
  // some later turn of the event loop.
  if (w) QCoreApplication::sendPostedEvents(w, QEvent::DeferredDelete);
}

void QtUi::ShowModeless(std::string_view windowName) {
  QWidget* w = LoadWindow(windowName);
  if (!w) return;
  w->show();
  w->raise();
}

void QtUi::UnloadWindow(std::string_view windowName) {
  auto it = windows_.find(windowName);
  if (it == windows_.end()) return;
  QPointer<QWidget> w = it->second;
  if (!w) {
    windows_.erase(it);
    return;
  }
  // The window's own close handling runs; a window that refuses stays loaded.
  if (!w->close()) return;
  it = windows_.find(windowName);
  if (it != windows_.end() && it->second == w) windows_.erase(it);
  if (w) w->deleteLater();
}

bool QtUi::IsWindowLoaded(std::string_view windowName) { return LoadedWindow(windowName) != nullptr; }

bool QtUi::HasWindow(std::string_view windowName) {
  auto f = factories_.find(windowName);
  return f != factories_.end() && f->second;
}

void QtUi::TouchWindow(std::string_view windowName) {
  // Windows are made at their first use; only say early when one is missing.
  if (!factories_.contains(windowName))
    qWarning("kv::QtUi: no window is registered as \"%.*s\"", static_cast<int>(windowName.size()),
             windowName.data());
}

void QtUi::SetWindowText(std::string_view windowName, std::string_view control,
                         std::string_view text) {
  if (control.empty()) {
    if (QWidget* w = LoadWindow(windowName)) w->setWindowTitle(ToQ(text));
    return;
  }
  QWidget* c = Control(windowName, control);
  if (auto* label = qobject_cast<QLabel*>(c))
    label->setText(ToQ(text));
  else if (auto* button = qobject_cast<QAbstractButton*>(c))
    button->setText(ToQ(text));
  else if (auto* edit = qobject_cast<QLineEdit*>(c))
    edit->setText(ToQ(text));
  else if (auto* group = qobject_cast<QGroupBox*>(c))
    group->setTitle(ToQ(text));
  else if (c && c->metaObject()->indexOfProperty("text") >= 0)
    c->setProperty("text", ToQ(text));
}

void QtUi::SetControlEnabled(std::string_view windowName, std::string_view control, bool enabled) {
  if (QWidget* c = Control(windowName, control)) c->setEnabled(enabled);
}

void QtUi::SetWindowEnabled(std::string_view windowName, bool enabled) {
  if (QWidget* w = LoadedWindow(windowName)) w->setEnabled(enabled);
}

void QtUi::SetWindowTopMost(std::string_view windowName, bool topMost) {
  if (QWidget* w = LoadedWindow(windowName)) SetTopMost(*w, topMost);
}

void QtUi::SendWindowToBottom(std::string_view windowName) {
  if (QWidget* w = LoadedWindow(windowName)) w->lower();
}

WindowState QtUi::GetWindowState(std::string_view windowName) {
  QWidget* w = LoadedWindow(windowName);
  if (w && w->isMinimized()) return WindowState::Minimized;
  if (w && w->isMaximized()) return WindowState::Maximized;
  return WindowState::Normal;
}

void QtUi::SetWindowState(std::string_view windowName, WindowState state) {
  QWidget* w = LoadedWindow(windowName);
  if (!w) return;
  Qt::WindowStates s = w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (state == WindowState::Minimized) s |= Qt::WindowMinimized;
  if (state == WindowState::Maximized) s |= Qt::WindowMaximized;
  w->setWindowState(s);
}

void QtUi::ActivateWindow(std::string_view windowName) {
  QWidget* w = LoadedWindow(windowName);
  if (!w) return;
  w->raise();
  w->activateWindow();
}

std::optional<WindowRect> QtUi::WindowBounds(std::string_view windowName) {
  QWidget* w = LoadedWindow(windowName);
  if (!w) return std::nullopt;
  QRect r = w->frameGeometry();
  return WindowRect{r.x(), r.y(), r.width(), r.height()};
}

void QtUi::MoveWindow(std::string_view windowName, int left, int top) {
  if (QWidget* w = LoadedWindow(windowName)) w->move(left, top);
}

TextSize QtUi::ScreenSize() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return {screen->geometry().width(), screen->geometry().height()};
}

bool QtUi::OpenDocument(std::string_view path) {
  QString p = ToQ(path);
  if (!QFileInfo(p).isFile()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(p));
}

void QtUi::EndProgram(int exitCode) {
  // At once: no window gets to close, nothing more runs.
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

}  // namespace kv
