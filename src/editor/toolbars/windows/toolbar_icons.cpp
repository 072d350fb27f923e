#include "editor/toolbars/windows/toolbar_icons.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <memory>
#include <string>

#include "editor/toolbars/windows/toolbar_drawing.h"
#include "editor/toolbars/windows/toolbar_images_stored.h"
#include "platform/qt/window_helpers.h"

namespace kv {

namespace {

// A button's image, taken when a toolbar first paints it, at the size it is
// painted: the image the build made of that size (the sizes the toolbars
// show), else made now from the Tango files or drawn. The start-up thus
// reads, draws and measures no image.
class ToolbarIconEngine final : public QIconEngine {
 public:
  explicit ToolbarIconEngine(std::string key) : key_(std::move(key)), made_(std::make_shared<Made>()) {}

  QIconEngine* clone() const override { return new ToolbarIconEngine(*this); }
  QString key() const override { return QStringLiteral("KvToolbarIcon"); }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(16, 16), QSize(32, 32)}; }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int s = std::min(size.width(), size.height());
    return QSize(s, s);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const QSize size = actualSize(rect.size(), mode, state);
    const QRect at(rect.x() + (rect.width() - size.width()) / 2, rect.y() + (rect.height() - size.height()) / 2,
                   size.width(), size.height());
    painter->drawPixmap(at, pixmap(size, mode, state));
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    const int s = std::min(size.width(), size.height());
    if (s <= 0) return QPixmap();
    const quint64 id = (quint64(s) << 8) | quint64(mode);
    auto it = made_->find(id);
    if (it != made_->end()) return *it;
    QPixmap pm = Normal(s);
    if (mode != QIcon::Normal && !pm.isNull()) {
      QStyleOption opt;
      opt.palette = QApplication::palette();
      pm = QApplication::style()->generatedIconPixmap(mode, pm, &opt);
    }
    made_->insert(id, pm);
    return pm;
  }

 private:
  using Made = QHash<quint64, QPixmap>;

  QPixmap Normal(int s) const {
    const QPixmap stored = StoredToolbarImage(key_, s);
    return stored.isNull() ? MakeToolbarImage(key_, s, QStringLiteral(":/toolbar")) : stored;
  }

  std::string key_;
  // The images made so far, shared by the copies Qt makes of the icon.
  std::shared_ptr<Made> made_;
};

}  // namespace

QIcon ToolbarIcon(std::string_view key) {
  if (!HasToolbarImage(key)) return QIcon();
  // One icon per key: the docked and the floating toolbars share its images.
  static QHash<QString, QIcon> made;
  const QString k = ToQ(key);
  auto it = made.find(k);
  if (it == made.end()) it = made.insert(k, QIcon(new ToolbarIconEngine(std::string(key))));
  return *it;
}

}  // namespace kv
