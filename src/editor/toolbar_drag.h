#pragma once
// Undocking a toolbar by dragging it: a mouse press on the toolbar or one of
// its buttons arms the drag at the pointer's screen position; the release
// undocks the toolbar at the pointer when it lies 12 pixels or more away in
// either direction. Positions are screen pixels.
namespace kv {

inline constexpr int kToolbarDragPixels = 12;

// A move of (dx, dy) pixels between press and release undocks.
bool ToolbarDragUndocks(int dx, int dy);

struct ToolbarDrag {
  bool armed = false;
  int pressX = 0;
  int pressY = 0;
};

// What a release asks for.
struct ToolbarDragEnd {
  bool undock = false;  // float the toolbar with its corner at the pointer
  bool wasArmed = false;
};

void ToolbarDragPress(ToolbarDrag& drag, int x, int y);
// Ends the drag (disarmed in every case).
ToolbarDragEnd ToolbarDragRelease(ToolbarDrag& drag, int x, int y);

// The basic toolbar gives the sheet grid the focus after an undock and after
// a release no press armed; a plain click leaves it. The extended toolbar's
// release never moves the focus.
bool ToolbarDragFocusesSheet(int bar, const ToolbarDragEnd& end);

}  // namespace kv
