#pragma once
// The grid's text colour numbers and the colours they stand for, as 0xRRGGBB.
//
// The sheet uses 0 (ordinary text), 2 (non-print rows), 3 (total and special
// rows), 4 (special memo rows), 5 (non-print level rows), 7 (headers of rows
// below the used rows) and 14 (headers of rows with a breakdown). The table is
// the 16-colour console order with the light entries that would not read on a
// white cell darkened: 3 is a clear blue, 14 an amber in place of yellow.
// 8 and 11 are also selection marking colours (grey, light cyan).

namespace kv {

// Colour number -> 0xRRGGBB; numbers outside 0..15 give black (0).
unsigned GridColourRgb(int colourNumber);

}  // namespace kv
