#pragma once
// The checks of the options dialog, page by page. Each clears
// `OptionCheckFailed` first and sets it when it refuses a value; a page that
// does not count as changed passes unchecked. A refusal shows its message
// (title "オプション") and moves the focus to the control it names only while
// that control's page is the selected one; the mask-name check always shows
// its message.
namespace kv {

struct ProgramState;
struct OptionDialogState;

// The range check of one end list (heading range: CmbMidasiSrc..CmbMidasiDsc,
// copy range: CmbUtiwakeSrc..CmbUtiwakeDsc): the end before the start gives
// "範囲指定が間違っています", a numeric column within the range
// "数値属性が範囲内に指定されています". True when it passed; the end list's
// PrevIndex then follows its selection.
bool OptionRangeCheck(ProgramState& st, OptionDialogState& d, bool copyRange);

// "編集１": both ranges.
void OptionCheckRanges(ProgramState& st, OptionDialogState& d);
// "編集2": the three link pairs ("ﾘﾝｸ元を指定して下さい", "ﾘﾝｸ先を指定して下さい",
// "属性が違います"), then the tax rate.
void OptionCheckABLinks(ProgramState& st, OptionDialogState& d);
// The tax rate: a number ("数値を入力して下さい") from 0 to 100
// ("消費税の範囲を超えています"), kept to two decimals and shown again in full.
void OptionCheckTaxRate(ProgramState& st, OptionDialogState& d);
void OptionCheckLinksAndTax(ProgramState& st, OptionDialogState& d);
// Names page: every mask screen needs a name ("名称が空白です").
void OptionCheckMaskNames(ProgramState& st, OptionDialogState& d);
// "仕訳ﾌｧｲﾙ・画面調整": takes the selections over; never refuses.
void OptionCheckSiwakeColumns(ProgramState& st, OptionDialogState& d);

// Leaving the selected tab: its page's check. True cancels the switch (the
// check refused a value); the failure flag is cleared again.
bool Tabs_BeforeClick(ProgramState& st, OptionDialogState& d);

}  // namespace kv
