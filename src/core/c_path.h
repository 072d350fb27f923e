#pragma once
// cPath: one file name (a full or partial path) and the questions asked about
// it: its name, extension, folder and quoted form, plus a few folders of the
// system. "/" and "\" both separate folders, so a path stored in the Windows
// form ("C:\dir\file.ext") is read as written; a drive is recognised by ":".
// A separator that has to be added is of the kind the path already uses ("/"
// when it uses none, "\" for a bare drive form such as "C:name").
#include <string>

namespace kv {

class cPath {
 public:
  // The stored file name; only the write changes it.
  const std::string& FileName() const { return fileName_; }
  void FileName(std::string New_FileName) { fileName_ = std::move(New_FileName); }

  // The name without folder: the text after the last separator; with none,
  // after the first ":"; with neither, the whole file name.
  std::string GetFileName() const;
  // The extension of GetFileName without the dot; "" when it has no ".".
  std::string GetExt() const;
  // The folder, ending with a separator ("C:name" gives "C:\"); "" when the
  // file name holds neither a separator nor ":".
  std::string GetPath() const;
  // The file name in double quotes when it holds a blank or a comma, or when
  // NotCheckSpace is true (a quote already at either end is not doubled);
  // otherwise unchanged.
  std::string AddDblQuot(bool NotCheckSpace = false) const;
  // There are no short (8.3) names here: every name is its own short form.
  // The file name when that file or folder exists, "" otherwise.
  std::string GetShortPathName() const;
  // PathName with a separator appended when it does not end with one, then
  // FileName ("" and no name give "/").
  std::string GetFullPathName(const std::string& PathName, const std::string& FileName = {}) const;
  // GetFileName without its last "." and what follows.
  std::string GetFileNameOnly() const;
  // Name and extension, each recased (an all-capital part keeps only its
  // first letter capital), joined by ".": "ABC.TXT" gives "Abc.Txt".
  std::string GetCleanFileName() const;
  // No Windows or system folder here: the failure form, the root "/".
  std::string GetWindowsDirectory() const;
  std::string GetSystemDirectory() const;
  // The desktop's equivalent of a shell folder (the user's desktop,
  // applications, autostart and fonts folders of the freedesktop layout),
  // ending with "/"; "/" for a folder with no equivalent.
  std::string GetSpecialFolder(long GetFolderType) const;

  // Folder numbers for GetSpecialFolder.
  static constexpr long Programs() { return 2; }
  static constexpr long Favorites() { return 6; }
  static constexpr long Startup() { return 7; }
  static constexpr long Recent() { return 8; }
  static constexpr long SendTo() { return 9; }
  static constexpr long StartMenu() { return 11; }
  static constexpr long Desktop() { return 0; }
  static constexpr long Fonts() { return 20; }

  // The program that opens the file: the desktop offers no dependable answer
  // without running outside programs, so always the failure form "".
  std::string GetExecFileFromDataFile() const;

 private:
  static std::string Recase(std::string text);

  std::string fileName_;
};

}  // namespace kv
