#pragma once
// The two measures of the floating toolbars that are plain arithmetic: the
// strip of the editor window onto which a moved floating basic toolbar docks
// back, and the size the floating extended toolbar opens at.

namespace kv {

// The floating extended toolbar's designed size, in twips.
inline constexpr int kFloatToolbar2Width = 6750;
inline constexpr int kFloatToolbar2Height = 1110;

// True when a window top (screen twips) lies strictly between the editor
// window's top and the sheet grid's top (both screen twips): the window was
// dropped on the editor's caption, menu or toolbar strip. Both limits are
// exclusive.
bool InDockStrip(int windowTopTw, int editorTopTw, int gridTopTw);

struct TwipsSize {
  int width = 0;
  int height = 0;
  bool operator==(const TwipsSize&) const = default;
};

// The floating extended toolbar's opening size from the stored [TOOLBAR2]
// Width and Height (as read: -1 missing, 0 text): each one that is not
// positive takes the designed size; each one larger than the screen is cut
// to the screen.
TwipsSize FloatToolbar2OpenSize(int storedWidth, int storedHeight, TwipsSize screen);

}  // namespace kv
