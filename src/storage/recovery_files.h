#pragma once
// The file steps of a recovery: the component extensions of an estimate's
// file set, the copies into the scratch folder and back out of it, the
// deletions, and the choice of the restored file's number. File names are
// found without regard to letter case.
#include <filesystem>
#include <string>
#include <vector>

namespace kv {

struct RecoveryContext;

// The component extension of index `index` of the file-set definition
// (KVUTL.INI [DOS版見積DATA], key "1", "2", ...): true and "." + the value;
// false and "" when the value is empty or missing.
bool DosComponentExt(const std::filesystem::path& appPath, int index, std::string& ext);

// Every component extension, index 1, 2, ... up to the first that is empty.
std::vector<std::string> DosComponentExts(const std::filesystem::path& appPath);

// True for the level files the recovery makes itself: ".Y1" .. ".Y8".
bool IsRecoveredLevelExt(const std::string& ext);

// Copies the component files of sourceBase (folder/name) other than the level
// files ".Y1" .. ".Y8" to destinationBase + the same extension, where that
// file does not exist yet. False, with `failed` naming the file, when a copy
// fails.
bool CopyComponentFiles(const std::vector<std::string>& exts, const std::filesystem::path& sourceBase,
                        const std::filesystem::path& destinationBase, std::string& failed);

// Deletes base + each component extension that exists.
void DeleteDosComponentFiles(const std::vector<std::string>& exts, const std::filesystem::path& base);

// As DeleteDosComponentFiles; then, in system kinds 2 and 4, the sheet object
// files listed in ctx.RecObjFiles from the folder of `base`.
void DeleteJobWorkFiles(const RecoveryContext& ctx, int systemKind, const std::vector<std::string>& exts,
                        const std::filesystem::path& base);

// Lists the sheet object files of workName in sourceFolder (workName + "$" +
// number + ".MOD") into ctx.RecObjFiles, in name order, and copies each to
// destinationFolder under newBase: ABC$2.MOD becomes FILE001$2.MOD. False,
// with `failed` naming the file, when a copy fails.
bool CopySheetObjectFiles(RecoveryContext& ctx, const std::filesystem::path& sourceFolder,
                          const std::filesystem::path& destinationFolder, const std::string& workName,
                          const std::string& newBase, std::string& failed);

// The name a listed object file of workName takes under newBase.
std::string RenamedObjectFile(const std::string& fileName, const std::string& workName, const std::string& newBase);

// Deletes the object file copies made by CopySheetObjectFiles from scratchFolder.
void ClearRecoverFolder(const RecoveryContext& ctx, const std::filesystem::path& scratchFolder,
                        const std::string& workName, const std::string& newBase);

// "FILE" + n in three digits.
std::string RecoverFileName(int n);

// The first n of 1 .. 255 whose restored file could be written without
// touching anything: neither dataFolder/FILEnnn.YZH nor the object pack
// FILEnnn.OPD exists, and workFolder holds no level-1 work file FILEnnn.Y1
// (which opening the restored file would replace). 0 when all are taken.
int FreeRecoverNumber(const std::filesystem::path& dataFolder, const std::filesystem::path& workFolder,
                      const std::string& oleDataExt);

}  // namespace kv
