#pragma once
// A named estimate whose level 1 has become empty cannot be saved: with the
// user's consent its files are deleted and the untitled estimate takes its
// place.
namespace kv {

struct ProgramState;

// Asks (OK / Cancel) "<work base>" / "このファイルは空ですので削除されます。
// 保存出来ません。". Cancel: false, nothing changes. OK: the estimate file,
// its object pack (".OPD"), its lock file (when it names this machine) and
// its work files are deleted, the untitled estimate becomes current with an
// empty closing record, level `CurrentLevel` is read and shown, and the
// result is true. The settings stay; `PackPending` is not changed.
bool EmptyFileDiscard(ProgramState& st);

}  // namespace kv
