#pragma once
// Where the editor window goes when it loads. The settings keep its rectangle
// in twips (1440 to the inch; 15 to a pixel at 96 dpi); a key that was missing
// reads as -1.
#include "platform/ui.h"

namespace kv {

inline constexpr int kTwipsPerInch = 1440;

// Whole pixels of a length in twips at a logical DPI, rounded to the nearest.
int TwipsToPixels(int twips, double dpi);
// Whole twips of a length in pixels at a logical DPI, rounded to the nearest.
int PixelsToTwips(int pixels, double dpi);

// The window's outer rectangle in pixels for the stored rectangle in twips.
// Without a stored size (width or height missing or not positive) the window
// takes a default size that fits the screen; without a stored position (left
// or top missing) it is centred on the screen.
WindowRect EditorWindowRect(int leftTw, int topTw, int widthTw, int heightTw, double dpiX,
                            double dpiY, TextSize screen);

}  // namespace kv
