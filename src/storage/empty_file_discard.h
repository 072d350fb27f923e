#pragma once
// A named estimate whose level 1 has become empty cannot be saved: with the
// user's consent its files are deleted and the untitled estimate takes its
// place.
namespace kv {

struct ProgramState;

// Only a level 1 read whole is taken as empty: when the settings cannot read
// the level files (no levels, no columns of level 1, a bad record length) or
// the level-1 work file is missing or damaged, the user is told, nothing is
// asked or deleted, and the result is false.
// Otherwise asks (OK / Cancel) "<work base>" / "このファイルは空ですので削除されます。
// 保存出来ません。". Cancel: false, nothing changes. OK: the estimate file,
// its object pack (".OPD"), its lock file (when it names this machine) and
// its work files are deleted, the untitled estimate becomes current with an
// empty closing record, level `CurrentLevel` is read and shown, and the
// result is true. The settings stay; `PackPending` is not changed.
bool EmptyFileDiscard(ProgramState& st);

}  // namespace kv
