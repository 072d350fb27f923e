#include "platform/grid/grid_palette.h"

namespace kv {

namespace {
constexpr unsigned kPalette[16] = {
    0x000000,  // 0 black: ordinary text
    0x000080,  // 1 navy
    0x007A00,  // 2 green: non-print rows
    0x0000D0,  // 3 blue: total and special rows
    0xC00000,  // 4 red: special memo rows
    0x8A008A,  // 5 purple: non-print level rows
    0x806000,  // 6 olive
    0x808080,  // 7 grey: headers of unused rows
    0xC0C0C0,  // 8 light grey
    0x3A5CFF,  // 9 light blue
    0x00B000,  // 10 light green
    0x80FFFF,  // 11 light cyan
    0xFF4040,  // 12 light red
    0xE040E0,  // 13 light magenta
    0xC06800,  // 14 amber: headers of rows with a breakdown
    0xFFFFFF,  // 15 white
};
}  // namespace

unsigned GridColourRgb(int colourNumber) {
  if (colourNumber < 0 || colourNumber > 15) return 0;
  return kPalette[colourNumber];
}

}  // namespace kv
