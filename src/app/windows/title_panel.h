#pragma once
// The title screen's own panel, shown when the program folder holds no title
// picture: a dark gradient with the program's name.
#include <QFont>
#include <QRect>
#include <QSize>

class QPainter;

namespace kv {

inline constexpr QSize kTitlePanelSize(480, 240);

// The font the name is drawn in, made from the panel's own font.
QFont TitleNameFont(QFont base);

// The gradient over `r`.
void DrawTitleGradient(QPainter& p, const QRect& r);

// The name centred in `r`, in `font`.
void DrawTitleName(QPainter& p, const QRect& r, const QFont& font);

}  // namespace kv
