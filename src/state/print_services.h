#pragma once
// What storage and the settings ask of printing: writing the print-information
// record and refreshing the paper lists. Printing implements this interface;
// until it is wired in, `ProgramState::print` is null and callers skip it.
#include <string>

namespace kv {

struct ProgramState;

class PrintServices {
 public:
  virtual ~PrintServices() = default;

  // Writes the print-information record's thirteen set-up keys into the
  // estimate's settings file, the current printer's settings file and
  // DAVIROV.INI, key by key in this order.
  virtual void MPrintInfoWrite(ProgramState& st) = 0;
  // Refills the paper lists of the main window and the floating toolbar.
  virtual void FillPaperCombo(ProgramState& st) = 0;
  virtual void UpdatePaperMenu(ProgramState& st) = 0;
  // Stores the current print form (`PrnTypeNo`) in the estimate's settings
  // file, the current printer's settings file and DAVIROV.INI.
  virtual void SavePrintType(ProgramState& st) {}
};

}  // namespace kv
