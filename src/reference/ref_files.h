#pragma once
// The reference's work sets in WORK2: setting the shown one aside while
// another is opened, bringing it back, deleting one, copying the editor's own
// work files for a reference of the estimate being edited, the customer
// variant's unpack, and whether the reference fits the editor's columns.
//
// Every move, copy and delete acts on files directly inside WORK2 only; a
// sheet object file belongs to a base only when its name is exactly the base
// + "$" + digits + ".MOD" (letter case of ".MOD" ignored). An untitled base
// (containing "無題") is never set aside, restored or deleted.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

inline constexpr std::string_view kRefTempBase = "%$KV_TMP$%";

// True when `fileName` is `base` + "$" + one or more digits + ".MOD".
bool IsRefObjectFileName(std::string_view fileName, std::string_view base);

// Moves the work set of `base` (a path; its name part counts) to the
// temporary base name, and back.
void RefWorkFilesStash(ProgramState& st, const std::string& base);
void RefWorkFilesRestore(ProgramState& st, const std::string& base);

// Deletes the work set of `name`'s name part, or of the temporary base when
// `temporary`.
void REF_WorkFileDel(ProgramState& st, const std::string& name, bool temporary);

// When the reference chosen (`RefFilePath`) is the estimate open in the
// editor: copies the editor's recorded work files (layout file, level files
// up to the first missing one, its sheet object files) from WORK into WORK2,
// through a private folder in WORK2 moved in only when whole; `base` becomes
// WORK2/<work name>. Nothing of WORK is changed. False (base unchanged) when
// the file is another one, or when the copy failed (`failed` set).
bool RefSameFileCopy(ProgramState& st, std::string& base, bool& failed);

// The customer variant's unpack of a ".YZH" or ".JZH" file (ending compared
// without letter case): KVUTLY.INI or KVUTLJ.INI copied over KVUTL.INI (whole
// or not at all), the file unpacked into WORK2 with the file-set definition
// that is then in force, and KVUTLY.INI copied back after a ".JZH". False
// after a message when a variant file is missing or the unpack failed
// (nothing of the file left in WORK2).
bool RefCustomerUnpack(ProgramState& st, const std::string& path);

// True when the reference's own layout file and the editor's agree in every
// level's column count and every column's width (so every start); true when
// either is missing.
bool RefGeometryFits(ProgramState& st);

// True exactly when every level 1 .. LevelCount of the reference tables
// equals the editor's (count, every column's start and width) and the
// reference shown fits the editor's columns (`RefFitsEditor`).
bool CheckRefSystem(const ProgramState& st);

// Creates WORK2 or deletes every file in it; removes it with its files.
// Files that cannot be deleted stay (and then the folder stays).
void RefWorkFolderEmpty(ProgramState& st);
void RefWorkFolderRemove(ProgramState& st);

}  // namespace kv
