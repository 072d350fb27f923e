#pragma once
// Unpacking an estimate into the work folder: a packed estimate file (".YZH"
// with its object pack ".OPD") is unpacked into `WORK`; an older estimate
// kept as separate component files (the first component extension, or
// ".S1") is copied there. The reference window's files go to `WORK2`.
//
// Afterwards the work set of the estimate in the work folder is exactly the
// one the file brings. Every file is first unpacked or copied into a private
// folder inside the work folder and checked; only then are the old work
// files of that name moved aside and the new ones moved in. A damaged,
// truncated, foreign or missing file is refused and the work folder is left
// exactly as it was: the caller refuses the open with UnpackFailureText and
// never goes on with an empty estimate in its place.
#include <string>

namespace kv {

struct ProgramState;

enum class UnpackStatus {
  Done,
  NotEstimate,  // the extension is none of an estimate's: nothing done
  Missing,      // the file (or, for an older estimate, its files) is not there
  Damaged,      // not a zip archive, cut short, bad checksum, inconsistent
  Unsafe,       // an entry would be written outside the work folder
  Foreign,      // the archive does not hold an estimate's files (its top level among them)
  TooLarge,     // the unpacked sizes are beyond any real estimate
  IoError,      // the file could not be read or the work folder written
};

struct UnpackResult {
  UnpackStatus status = UnpackStatus::Done;
  std::string file;  // the file concerned (the estimate, or its object pack)
  bool ok() const { return status == UnpackStatus::Done; }
};

// Unpacks or copies the estimate at `path` into `AppPath` + `WorkFolderName`
// by the extension `SplitPath` gives: the packed extension (with the object
// pack when the unpacked settings file has [OLE] OleFileCnt of 1 or more),
// the first component extension (each existing component file copied; in
// system kind 4 the ".YT" file rewritten as 50 records of 40 bytes), or
// ".S1" (the files ".S1" .. ".S<CompFileCount>" copied).
UnpackResult UnpackEstimateFile(ProgramState& st, const std::string& path);

// Unpacks a packed estimate file for the reference window into `AppPath` +
// `RefWorkFolderName` ("/WORK2" while that is not set yet); other kinds of
// file are NotEstimate.
UnpackResult UnpackReferenceFile(ProgramState& st, const std::string& path);

// The message that refuses the open: names the file and what is wrong with it.
std::string UnpackFailureText(const UnpackResult& result);

// Shows UnpackFailureText as a warning (title "TheKorvane").
void UnpackFailureShow(ProgramState& st, const UnpackResult& result);

}  // namespace kv
