#pragma once
// The print forms as the editor offers them: the current form (`PrnTypeNo`),
// the caption of each form in the paper lists and the paper menu, and the
// printer settings file that keeps the forms of each printer.
//
// Every printer has a settings file of its own in the program folder, named
// after its device name (PrinterKey). It starts as a copy of DAVIROV.INI and
// is independent of it from then on.
#include <string>
#include <string_view>
#include <vector>

#include "state/print_services.h"

namespace kv {

struct ProgramState;
struct PrintInfo;

// A device name as the base name of its settings file: every "\" becomes
// "$", every "/" and every NUL (which no file name can hold) becomes "-",
// nothing else changes ("\\srv\lp" -> "$$srv$lp").
std::string PrinterKeyOf(std::string_view deviceName);
// The device name of the printer the program prints to (`CurrentPrinterName`),
// taken from the UI's default printer at its first use; "" when the machine
// has no printer.
const std::string& CurrentPrinter(ProgramState& st);
// The base name for the current printer; "" when there is no printer.
std::string PrinterKey(ProgramState& st);
// The position of a device name in a printer list: the first entry equal to
// it, both trimmed of blanks and compared exactly ("?", "*", "#" and brackets
// are plain characters); -1 when none is.
int PrinterListFind(const std::vector<std::string>& names, std::string_view deviceName);
// AppPath/<PrinterKey>.INI, made as a copy of DAVIROV.INI when it is not
// there yet; "" (and nothing made) when there is no printer.
std::string PrinterIniEnsure(ProgramState& st);

// The current print form, 1..7. Any other `PrnTypeNo` (0, or -1 from a
// settings file without the key) is taken as form 1 and stored back.
int PrintFormInUse(PrintInfo& info);

// The caption of print form n (1..7): its name cut to 9 bytes without
// splitting a double-byte character and padded with blanks to 9 bytes, the
// last two characters of its rows per page (5 -> " 5", 120 -> "20",
// -1 -> "-1"), "行", and its display name in brackets: "A4縦     50行 (見積書)".
std::string PaperTypeCaption(const PrintInfo& info, int n);
// The captions of forms 1..7, in order.
std::vector<std::string> PaperTypeCaptions(const PrintInfo& info);

// Writes [印刷タイプ] PrnTypeNo to the estimate's settings file (also the
// untitled one), the printer's settings file (made first when missing;
// skipped without a printer) and DAVIROV.INI, in this order.
void SavePrintType(ProgramState& st);

// The editor's paper combos: the seven captions, the current form selected.
void FillPaperCombo(ProgramState& st);
// The paper menu: the seven items take the captions, the current form's item
// is the one checked.
void UpdatePaperMenu(ProgramState& st);

// The print services the rest of the program reaches through `st.print`.
class PrintForms : public PrintServices {
 public:
  void MPrintInfoWrite(ProgramState& st) override;
  void FillPaperCombo(ProgramState& st) override;
  void UpdatePaperMenu(ProgramState& st) override;
  void SavePrintType(ProgramState& st) override;
};

}  // namespace kv
