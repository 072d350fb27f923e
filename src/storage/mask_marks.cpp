#include "storage/mask_marks.h"

#include "core/settings_text.h"
#include "platform/grid/grid_model.h"
#include "state/column_tables.h"

namespace kv {

MaskMarks MaskGridMarks(const GridModel& grid) {
  return [&grid](int column) { return grid.CellText(column, grid.CurrentRow()); };
}

char MaskCodeOf(std::string_view markText) { return TrimBlanks(markText).empty() ? ' ' : 'M'; }

int MaskScreenIndex(int screen) { return screen >= 0 && screen < kMaskScreens ? screen : 0; }

}  // namespace kv
