#pragma once
// The depth dialog of the copy of lower levels, RefDMCopy_Frm ("下階層の複写"):
// "何階層まで複写しますか？" over the options DMCopy(0..6) "２階層" .. "８階層"
// (option i stands for level i + 2), OK and Cancel. The caller sets
// `RefCopyLevelEnabled`, `RefCopyDepth` (the deepest reference level) and
// `RefCopyCancel` = 0 and shows the window by name; the answer comes back in
// `RefCopyDepth` (OK) or `RefCopyCancel` = -1 (Cancel, and the close box).
#include <array>
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

inline constexpr std::string_view kRefDMCopyWindow = "RefDMCopy_Frm";
inline constexpr const char* kRefDMCopyCaption = "下階層の複写";
inline constexpr const char* kRefDMCopyPrompt = "何階層まで複写しますか？";

struct RefDMCopyOption {
  std::string caption;
  bool enabled = false;
  bool value = false;
};

class RefDMCopyForm {
 public:
  explicit RefDMCopyForm(ProgramState& st);

  std::array<RefDMCopyOption, 7> DMCopy;
  bool Unloaded() const { return unloaded_; }

  // The options' enabled states from the caller; option 0 chosen (also when
  // it is disabled).
  void Form_Load();
  // Chooses option i alone.
  void Choose(int index);
  // `RefCopyDepth` = i + 2 for the first chosen option i.
  void cmdOK_Click();
  // `RefCopyCancel` = -1.
  void Cansel_Click();
  // The close box: Cancel, unless a button already closed the dialog.
  void Form_QueryUnload();

 private:
  ProgramState& st_;
  bool unloaded_ = false;
};

}  // namespace kv
