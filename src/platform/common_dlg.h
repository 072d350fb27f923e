#pragma once
// cCommonDlg: the open-file, save-file, colour, font and print dialogs and the
// help viewer behind the property set of a common-dialog control. The caller
// sets properties, runs one Show operation and reads the results back from
// the properties. The dialogs are the UI seam's.
#include <string>
#include <string_view>

namespace kv {

class Ui;

// The window the dialogs belong to: its name and its current font.
struct CommonDlgForm {
  std::string name;
  std::string fontName;
  double fontSize = 0;  // points
  bool fontBold = false;
  bool fontItalic = false;
  bool fontStrikethru = false;
  bool fontUnderline = false;
};

class cCommonDlg {
 public:
  // InitDir starts as the process's current folder.
  explicit cCommonDlg(Ui& ui);

  // The owner window: every dialog is shown over it (the window is brought to
  // the front first, and the dialogs belong to the active window). The write also
  // copies the window's font into FontBold, FontItalic, FontName, FontSize
  // (rounded to whole points, a half to the even neighbour), FontStrikethru
  // and FontUnderline. Reading gives the window's name ("" until set: the
  // dialogs belong to the active window).
  void Form(const CommonDlgForm& NewForm);
  const std::string& Form() const { return form_; }

  // "description|pattern|description|pattern"; patterns separated by ";".
  // Reading gives the text as written ("" on a new instance).
  void Filter(std::string_view strNewFilter);
  const std::string& Filter() const { return filterText_; }
  // The filter as the dialog gets it: description and pattern each ended by
  // NUL ("All Files (*.*)", NUL, "*.*", NUL on a new instance).
  const std::string& FilterList() const { return filterList_; }

  // Characters of the file name buffer, its final NUL included (255).
  void MaxFileSize(long lngNewMaxFileSize) { maxFileSize_ = lngNewMaxFileSize; }
  void DialogTitle(std::string_view strNewDialogTitle) { dialogTitle_ = strNewDialogTitle; }
  void InitDir(std::string_view strNewInitDir) { initDir_ = strNewInitDir; }
  const std::string& FileName() const { return fileName_; }
  void FileName(std::string_view strNewFileName) { fileName_ = strNewFileName; }
  void FilterIndex(int intNewFilterIndex) { filterIndex_ = intNewFilterIndex; }
  void Flags(long lngNewFlags) { flags_ = lngNewFlags; }
  void DefaultExt(std::string_view strNewDefaultExt) { defaultExt_ = strNewDefaultExt; }
  // Write only: the dialog's start value of the chosen file's bare name.
  void FileTitle(std::string_view strNewFileTitle) { fileTitle_ = strNewFileTitle; }

  bool CancelError() const { return cancelError_; }
  void CancelError(bool bolNewCancelErr) { cancelError_ = bolNewCancelErr; }
  // Set by a dialog cancelled while CancelError is on; never cleared by the
  // file dialogs.
  bool CancelButton() const { return cancelButton_; }

  // 1 runs ShowOpen, 2 ShowSave, 3 ShowColor, 4 ShowFont, 5 ShowPrinter,
  // 6 ShowHelp; any other value is only stored.
  int Action() const { return action_; }
  void Action(int intNewAction);

  // Open dialog: on a choice FileName is the chosen path; on a cancel with
  // CancelError on, CancelButton is set and FileName is ""; with CancelError
  // off nothing changes.
  void ShowOpen() { ShowFileDlg(1); }
  void ShowSave() { ShowFileDlg(2); }

  // Colour dialog, starting from Color: a choice becomes Color; a cancel sets
  // CancelButton whatever CancelError says.
  void ShowColor();
  // A system colour value: red in the low byte, then green, then blue.
  long Color() const { return color_; }
  void Color(long lngNewColor) { color_ = lngNewColor; }

  // Font dialog, starting from the Font* properties and Color, sizes limited
  // to Min..Max. A choice fills them and clears CancelButton; a cancel clears
  // them all (and Color) and sets CancelButton whatever CancelError says.
  void ShowFont();
  bool FontBold() const { return fontBold_; }
  void FontBold(bool bolNewFontBold) { fontBold_ = bolNewFontBold; }
  bool FontItalic() const { return fontItalic_; }
  void FontItalic(bool bolNewFontItalic) { fontItalic_ = bolNewFontItalic; }
  const std::string& FontName() const { return fontName_; }
  void FontName(std::string_view strNewFontName) { fontName_ = strNewFontName; }
  // Whole points.
  int FontSize() const { return fontSize_; }
  void FontSize(int intNewFontSize) { fontSize_ = intNewFontSize; }
  bool FontStrikethru() const { return fontStrikethru_; }
  void FontStrikethru(bool bolNewFontStrikethru) { fontStrikethru_ = bolNewFontStrikethru; }
  bool FontUnderline() const { return fontUnderline_; }
  void FontUnderline(bool bolNewFontUnderline) { fontUnderline_ = bolNewFontUnderline; }
  // Largest and smallest point size (font dialog) or page number (print dialog).
  long Max() const { return max_; }
  void Max(long lngNewMax) { max_ = lngNewMax; }
  long Min() const { return min_; }
  void Min(long lngNewMin) { min_ = lngNewMin; }

  // Print dialog with the page range FromPage..ToPage within Min..Max and
  // Copies: a choice takes the dialog's five values back (hdc stays); a
  // cancel sets CancelButton when CancelError is on. A value beyond 16 bits
  // ends the operation quietly, before the dialog.
  void ShowPrinter();
  long hdc() const { return hdc_; }
  void hdc(long lngNewhDC) { hdc_ = lngNewhDC; }
  long FromPage() const { return fromPage_; }
  void FromPage(long lngNewFromPage) { fromPage_ = lngNewFromPage; }
  long ToPage() const { return toPage_; }
  void ToPage(long lngNewToPage) { toPage_ = lngNewToPage; }
  long Copies() const { return copies_; }
  void Copies(long lngNewCopies) { copies_ = lngNewCopies; }
  // Kept for the caller; no operation uses it.
  long PrinterDefault() const { return printerDefault_; }
  void PrinterDefault(long lngNewPrinterDefault) { printerDefault_ = lngNewPrinterDefault; }

  // Opens HelpFile with the desktop's viewer when HelpFile is not empty and
  // HelpCommand is not 0 (a quit command has nothing to close here). Action
  // does not change.
  void ShowHelp();
  const std::string& HelpFile() const { return helpFile_; }
  void HelpFile(std::string_view strNewHelpFile) { helpFile_ = strNewHelpFile; }
  long HelpCommand() const { return helpCommand_; }
  void HelpCommand(long lngNewHelpCommand) { helpCommand_ = lngNewHelpCommand; }
  long HelpContext() const { return helpContext_; }
  void HelpContext(long lngNewHelpContext) { helpContext_ = lngNewHelpContext; }
  // Held as a number: the write throws std::invalid_argument for a text that
  // is no 32-bit whole number; the read gives the number as text.
  std::string HelpKey() const { return std::to_string(helpKey_); }
  void HelpKey(std::string_view strNewHelpKey);

  // The error code of the last failed dialog (0 when none failed) and a text
  // for it.
  long ErrNumber() const { return errNumber_; }
  std::string ErrDescription() const;

 private:
  void ShowFileDlg(int action);
  // The owner window, when one is set, to the front with the focus.
  void OwnerToFront();

  Ui& ui_;
  std::string form_;
  bool cancelButton_ = false;
  int action_ = 0;
  bool cancelError_ = false;
  std::string filterList_{"All Files (*.*)\0*.*\0", 20};
  std::string filterText_;
  long maxFileSize_ = 255;
  std::string dialogTitle_ = "Open File";
  std::string initDir_;
  std::string fileName_;
  int filterIndex_ = 0;
  long flags_ = 0;
  std::string defaultExt_{"\0", 1};
  std::string fileTitle_ = std::string(254, ' ');
  long errNumber_ = 0;
  long color_ = 0;
  bool fontBold_ = false;
  bool fontItalic_ = false;
  std::string fontName_;
  int fontSize_ = 0;
  bool fontStrikethru_ = false;
  bool fontUnderline_ = false;
  long max_ = 0;
  long min_ = 0;
  long hdc_ = 0;
  long fromPage_ = 0;
  long toPage_ = 0;
  long copies_ = 0;
  long printerDefault_ = 0;
  std::string helpFile_;
  long helpCommand_ = 0;
  long helpContext_ = 0;
  long helpKey_ = 0;
};

// The filter list (NUL-ended parts) in the "a|b|c|d" form of the UI seam.
std::string FilterListToBars(std::string_view filterList);

}  // namespace kv
