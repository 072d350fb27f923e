#pragma once
// The level bar of a window (the editor's and the reference window's): the
// buttons DM_Button(1..n) "1.階層" .. and the path labels DMLabel(1..m), one
// label height each, made hidden on the window's inner area and placed there
// by the level-bar layout.
#include <functional>
#include <vector>

#include "sheet/level_bar_layout.h"

class QLabel;
class QPushButton;
class QWidget;

namespace kv {

// Makes `buttons` buttons and `labels` labels on `parent`, hidden. A window
// whose labels take clicks gives its own label (`makeLabel`).
void MakeLevelBar(QWidget* parent, int buttons, int labels, std::vector<QPushButton*>& buttonsOut,
                  std::vector<QLabel*>& labelsOut, const std::function<QLabel*(QWidget*)>& makeLabel = {});

// Button and label i = 1 .. hidden, or shown at the places (twips of the
// parent); a label reaches the parent's right edge, under the next level's
// button when they share a line.
void PlaceLevelBar(const std::vector<QPushButton*>& buttons, const std::vector<QLabel*>& labels,
                   const std::vector<LevelBarPlace>& pairs, const QWidget& parent);

}  // namespace kv
