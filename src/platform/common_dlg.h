#pragma once
// cCommonDlg: the open-file and save-file dialogs behind the property set of a
// common-dialog control. The caller sets properties, runs ShowOpen or ShowSave
// and reads FileName and CancelButton back. The dialogs are the UI seam's.
#include <string>
#include <string_view>

namespace kv {

class Ui;

class cCommonDlg {
 public:
  // InitDir starts as the process's current folder.
  explicit cCommonDlg(Ui& ui);

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

  // 1 runs ShowOpen, 2 ShowSave; any other value is only stored.
  int Action() const { return action_; }
  void Action(int intNewAction);

  // Open dialog: on a choice FileName is the chosen path; on a cancel with
  // CancelError on, CancelButton is set and FileName is ""; with CancelError
  // off nothing changes.
  void ShowOpen() { ShowFileDlg(1); }
  void ShowSave() { ShowFileDlg(2); }

 private:
  void ShowFileDlg(int action);

  Ui& ui_;
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
};

// The filter list (NUL-ended parts) in the "a|b|c|d" form of the UI seam.
std::string FilterListToBars(std::string_view filterList);

}  // namespace kv
