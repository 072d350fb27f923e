#pragma once
// File > New.
namespace kv {

struct ProgramState;

// Closes the estimate open now and starts a new untitled one with the system
// settings of DAVIROV.INI. A changed sheet is offered to be recorded
// ("ファイル<path>の内容は変更されています。" / "保存しますか？", title
// "ﾌｧｲﾙ呼び出し"); a named estimate with work files written since its last
// pack is packed, after the lock test (PackLockCheck). A refused pack is
// reported and the estimate stays open and pending; a failed one, or one
// another user holds, is reported, stays pending and Save As is offered in
// its place. Otherwise the estimate's lock (when it is ours) and work files
// go, it heads the recent list, and level 1 of the untitled
// estimate is shown.
void FileNew(ProgramState& st);

}  // namespace kv
