#pragma once
// Names and component copies of a classification-carrying DOS file of the
// equipment edition (name.S1, name.S2, ...) opened with conversion: the
// converted estimate takes the DOS file's name followed by "(仕訳)", in the
// work folder and beside the DOS files.
#include <string>

namespace kv {

struct ProgramState;

// `name` + "(仕訳)".
std::string SiwakeName(const std::string& name);

// Where the converted estimate of the DOS file folder/name.S1 lives.
struct SiwakeOpenNames {
  std::string workFileBase;     // AppPath + WorkFolderName + "/" + name(仕訳)
  std::string currentFilePath;  // folder/name(仕訳) + PackedExt
  std::string lockPath;         // folder/name(仕訳): the path the network lock is taken on
};
SiwakeOpenNames SiwakeOpenNamesOf(const ProgramState& st, const std::string& folder,
                                  const std::string& name);

// Copies each DOS component folder/name.S<i> (i = 1 .. CompFileCount) that
// exists (letter case aside) to folder/name(仕訳).S<i>, replacing an earlier
// copy whole. The DOS files are only read. False, after a message naming the
// file, when a copy cannot be made; the copies made before it stay (the
// caller removes them with SiwakeComponentCopiesDelete).
bool SiwakeComponentsCopy(ProgramState& st, const std::string& folder, const std::string& name);

// Deletes the copies folder/name(仕訳).S<i> (i = 1 .. CompFileCount) that
// exist. Nothing else is touched; a copy that cannot be deleted stays.
void SiwakeComponentCopiesDelete(const ProgramState& st, const std::string& folder,
                                 const std::string& name);

}  // namespace kv
