#pragma once
// A tool window's outer rectangle (the frame the window system adds
// included) and its screen, in twips, as the settings files keep them.
#include "platform/ui.h"

class QWidget;

namespace kv {

WindowRect OuterBoundsTwips(const QWidget& w);
// Moves the outer top-left corner there and sizes the window so that its
// outer size is the one given.
void SetOuterBoundsTwips(QWidget& w, const WindowRect& r);
// The screen area the window lies on (all screens together), in twips.
TextSize ScreenTwips(const QWidget& w);

}  // namespace kv
