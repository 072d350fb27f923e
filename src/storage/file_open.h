#pragma once
// File > Open.
#include <string>

namespace kv {

struct ProgramState;

// Closes the estimate open now (recording and packing it first when the user
// wants; an estimate another user holds is not packed, the user is told and
// Save As is offered in place of the open), lets the user pick an estimate file, takes its lock, unpacks it
// into the work folder, converts DOS and previous-format files (".Y1",
// ".S1"), reconciles its layout with the current settings, loads its
// settings and shows level 1.
//
// The estimate open before stays open, untouched, until the new one is sure
// to open: its lock is released and its work files deleted only once the
// new file's lock is held and its set unpacked. A file that cannot be opened
// (not an estimate, damaged, cut short, escaping the work folder) is refused
// with a message; the work folder keeps nothing of it and a lock taken for
// it is released. Files in the program's work folders and the base text are
// refused at the dialog.
void FileOpen(ProgramState& st);

// The open dialog's filter: the packed files, the previous-format and DOS
// files, and in system kind 1 the DOS classification files.
std::string OpenDialogFilter(const ProgramState& st);

}  // namespace kv
