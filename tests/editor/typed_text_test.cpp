// Typed text on its way into the sheet: characters without a Shift-JIS form
// are named and refused; line feeds become CR LF.
#include "editor/typed_text.h"

#include <gtest/gtest.h>

#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv::test {
namespace {

TEST(TypedText, TheFirstCharacterWithoutAShiftJisFormIsNamed) {
  const std::pair<std::string, std::string> cases[] = {
      {"ABC 123", ""}, {"漢字ｶﾅ①", ""}, {"?", ""},  // a typed "?" is a character like any other
      {"A😀B", "😀"},  {"𠮷野家", "𠮷"},
  };
  for (const auto& [text, bad] : cases) EXPECT_EQ(UnstorableChar(text), bad) << text;
  EXPECT_EQ(UnstorableChar("見積😀と🍣"), "😀");
}

TEST(TypedText, ARefusalTellsTheUserAndStoresNothing) {
  ScriptedUi ui;
  ProgramState st{ui};
  EXPECT_TRUE(TypedTextStorable(st, "鉄骨"));
  ui.AnswerMsgBox(vbOK, "保存できない文字が含まれています: 「😀」");
  EXPECT_FALSE(TypedTextStorable(st, "鉄骨😀"));
}

TEST(TypedText, LineFeedsBecomeCrLf) {
  EXPECT_EQ(WithCrLf("上段\n下段"), "上段\r\n下段");
  EXPECT_EQ(WithCrLf("上段\r\n下段"), "上段\r\n下段");
  EXPECT_EQ(WithCrLf("\n"), "\r\n");
  EXPECT_EQ(WithCrLf("一行"), "一行");
}

}  // namespace
}  // namespace kv::test
