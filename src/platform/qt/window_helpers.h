#pragma once
// Small helpers every window of the program shares: text conversion between
// the program's UTF-8 and QString, centring, the topmost band, the program's
// fonts, and the key filters' view of a line edit.
#include <QFont>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "core/key_filters.h"

class QLineEdit;
class QWidget;

namespace kv {

inline QString ToQ(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string FromQ(const QString& s) { return s.toUtf8().toStdString(); }

// Centres a window on the screen whatever its state (half the screen less half
// the window).
void CenterForm(QWidget& w);
// Centres a window only when it is neither minimised nor maximised.
void CenterFormIfNormal(QWidget& w);

// Puts a window into (true) or out of (false) the topmost band, keeping its
// place and size; a shown window stays shown and is not activated.
void SetTopMost(QWidget& w, bool on);

// The installed font families, asked of the font system once (the first
// time costs a scan of the installed fonts).
const std::vector<std::string>& InstalledFontFamilies();

// A font for a stored font name: the fixed Japanese faces ("ＭＳ 明朝" ...)
// are drawn with an installed Mincho or Gothic family. Point size > 0.
QFont KvFont(std::string_view storedName, double pointSize);

// What the key filters see of a line edit: its text and selection, counted in
// characters.
KeyTextBox TextBoxOf(const QLineEdit& edit);

}  // namespace kv
