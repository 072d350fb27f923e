#pragma once
// The reference window must not show the estimate being opened for editing.
namespace kv {

struct ProgramState;

// When the reference window is loaded and shows `CurrentFilePath` (letter
// case aside), warns "参考で使用中のﾌｧｲﾙです" / "参考画面を閉じます " and
// unloads the reference window.
void RefInUseChk(ProgramState& st);

}  // namespace kv
