#pragma once
// The packing calls: an estimate's work set packed into its packed estimate
// file (".YZH") and its sheet object files into the OLE data pack (".OPD"),
// both zip archives written through libzip; the unpacking of both; and the
// compaction of the sheet object files of a work set.
//
// Every call returns an int: kPackOk (1) when done, a negative code otherwise
// (OLEFilePack: the object-file count, 0 or more, or a negative code). A call
// that fails leaves the files it would have replaced exactly as they were.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Result codes of the packing calls.
inline constexpr int kPackOk = 1;
inline constexpr int kPackIoError = -1;        // a file could not be read or written
inline constexpr int kPackNothingToPack = -2;  // the work folder holds no work file of the name
inline constexpr int kPackMissing = -3;        // the packed file (or the target folder) does not exist
inline constexpr int kPackDamaged = -4;        // not a zip, truncated, bad checksum, inconsistent,
                                               // or (OLEFilePack) a damaged level work file
inline constexpr int kPackUnsafeEntry = -5;    // an entry name would leave the target folder
inline constexpr int kPackForeign = -6;        // the entries are not a work set (or object files)
inline constexpr int kPackTooLarge = -7;       // unpacked sizes beyond any real work set
inline constexpr int kPackBadArgument = -8;    // empty name, name with a separator, bad record length

// The extensions of an estimate's file set, passed in by the caller (the
// file-set definition of KVUTL.INI, or a variant of it: PackFileSetFrom of
// state/file_set_def.h).
struct PackFileSet {
  std::string PackedExt;                 // ".YZH"
  std::string OleDataExt;                // "OPD" or ".OPD": the dot is added when missing
  std::vector<std::string> CompFileExt;  // component extensions: ".Y1", ".Y$", ".INI", ...
  std::vector<std::string> LevelExt;     // level work files, level 1 first: ".Y1", ".Y2", ...
};

// folder/name + PackedExt and folder/name + "." + OPD.
std::filesystem::path PackedFilePath(const std::filesystem::path& folder, std::string_view name,
                                     const PackFileSet& set);
std::filesystem::path OleDataFilePath(const std::filesystem::path& folder, std::string_view name,
                                      const PackFileSet& set);

// True when fileName is name + "$" + one or more digits + ".MOD", letter case
// ignored ("A$12.MOD" for the name "A"; not "XA$1.MOD", not "A$1x.MOD").
bool IsObjectFileName(std::string_view fileName, std::string_view name);

// Packs workFolder/name + each component extension that exists (found without
// regard to letter case) into packFolder/name + PackedExt. Entry names are the
// work files' names in UTF-8. Refused (kPackNothingToPack) when no component
// file exists. The archive is written beside the old one and renamed over it
// only when complete. programFolder is accepted for the callers' sake; nothing
// is read from or written into it.
int MCompress(const std::filesystem::path& packFolder, const std::filesystem::path& workFolder,
              const std::string& name, const std::filesystem::path& programFolder,
              const PackFileSet& set);

// Packs the sheet object files workFolder/name$<k>.MOD into packFolder/name.OPD;
// with no object file the pack is written empty (so it never keeps objects the
// work set no longer has).
int MCompOLEData(const std::filesystem::path& packFolder, const std::filesystem::path& workFolder,
                 const std::string& name, const std::filesystem::path& programFolder,
                 const PackFileSet& set);

// Unpacks packFolder/name + PackedExt into targetFolder: afterwards the
// component files of name in targetFolder are exactly those of the archive,
// byte for byte, named name + their extension (so a packed file renamed by the
// user unpacks under its new name). The archive is checked entry by entry
// (names, sizes, checksums) into a temporary folder inside targetFolder before
// anything is moved into place: on any refusal or failure targetFolder is left
// as it was.
int MMelt(const std::filesystem::path& packFolder, const std::filesystem::path& targetFolder,
          const std::string& name, const std::filesystem::path& programFolder,
          const PackFileSet& set);

// Unpacks packFolder/name.OPD the same way: afterwards the object files of name
// in targetFolder are exactly those of the archive.
int MMeltOLEData(const std::filesystem::path& packFolder, const std::filesystem::path& targetFolder,
                 const std::string& name, const std::filesystem::path& programFolder,
                 const PackFileSet& set);

// Compacts the sheet object files of the work set workBase (folder/name): the
// object files named by the closing records of the sheets reachable from the
// top sheet are renumbered 1, 2, ... in the order the sheets are met (depth
// first), the closing records are rewritten to match, closing records that
// name no existing object file are blanked, and object files no sheet names
// are removed. dataLen is the record length (256 or 512), hLink the number
// base of the stored links ("16" hexadecimal, otherwise decimal). Result: the
// number of object files afterwards, or a negative code, nothing changed.
int OLEFilePack(const std::filesystem::path& workBase, const std::filesystem::path& programFolder,
                int dataLen, const std::string& hLink, const PackFileSet& set);

}  // namespace kv
