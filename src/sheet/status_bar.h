#pragma once
// The editor window's status bar as the sheet engine uses it. Six panels:
// 1 progress and mode messages, 2 used-row count, 3 mask screen, 4 page of
// the cursor row, 5 cell address, 6 sheet font.
#include <string>

namespace kv {

struct ProgramState;

inline constexpr int kStatusPanelCount = 6;
// Panel widths in pixels and their second attribute (1: the text is centred).
inline constexpr int kStatusPanelWidths[kStatusPanelCount] = {270, 65, 150, 65, 65, 150};
inline constexpr int kStatusPanelCentred[kStatusPanelCount] = {0, 1, 0, 1, 1, 0};

// The window's side.
class StatusBarPort {
 public:
  virtual ~StatusBarPort() = default;
  // Panel 1..6 gets the text; any other number changes nothing. The bar is
  // repainted in every case.
  virtual void StatusPanelSet(int panel, const std::string& text) = 0;
  // The cell text the editor's key handling holds, "" when none.
  virtual std::string HeldCellText() const { return {}; }
};

// Empties panel 1..6 (and repaints); panel 1 then shows "[" held text "]"
// when a cell text is held.
void StatusPanelClear(StatusBarPort& bar, int panel);

// Panel 4's text for a sheet row: " 5P" for page 5. The sheet's first page
// is bytes 16-18 of its first row, decimal when byte 19 is "P", hexadecimal
// when it is "h" (any other marker gives page 0); each `PrintRows` rows of
// the current print form add a page (none when the form has no row count).
// Four blanks when the first row holds no page.
std::string StatusPageText(const ProgramState& st, int row);

}  // namespace kv
