#include "reference/ref_link_n.h"

#include <algorithm>

#include "app/help_file.h"
#include "core/column_letter.h"
#include "core/sjis_text.h"
#include "platform/ui.h"
#include "reference/ref_window.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "storage/split_path.h"

namespace kv {

namespace {

constexpr const char* kNothingMapped = "編集画面へ取り込む項目に、参考呼び出しデータの項目を設定して下さい。";
constexpr const char* kInstruction =
    "参考呼び出し項目設定から、項目を選んで編集画面へ取り込む項目に追加して変換ルールを作成するか、"
    "または過去に作成した変換ルールを読み込んで、変換ルールを設定して下さい。";

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

int ConvMsgBox(ProgramState& st, const std::string& text, int style) {
  FloatWindowsTopMostSet(st, false);
  const int answer = st.ui.MsgBox(text, style, kConvTitle);
  FloatWindowsTopMostSet(st, true);
  return answer;
}

bool InRange(int i, size_t n) { return i >= 0 && static_cast<size_t>(i) < n; }

}  // namespace

// ---------------------------------------------------------------- RefLinkN

RefLinkNForm::RefLinkNForm(ProgramState& st, RefLinkNPort port) : st_(st), port_(std::move(port)) {
  Frame1.caption = "変換ルール";
  Label1[0].caption = "編集画面側の項目設定";
  Label1[1].caption = "編集画面へ取り込む項目";
  Label1[2].caption = "参考呼び出しデータの項目設定";
  const char* c3[] = {"<---------項目の追加", "<<========全項目追加", "上へ", "下へ", "取消し"};
  for (size_t i = 0; i < Command3.size(); ++i) Command3[i].caption = c3[i];
  Command2[0].caption = "変換ルールの読み込み(&R)";
  Command2[1].caption = "変換ルールの保存(&S)";
  const char* c1[] = {"ＯＫ", "ｷｬﾝｾﾙ", "ヘルプ(&H)"};
  for (size_t i = 0; i < Command1.size(); ++i) Command1[i].caption = c1[i];
}

std::string RefLinkNForm::DispStrMake(int number, const RefField& f) {
  std::string name = LeftByBytesAnsi(ToAnsiBytes(Trim(f.name)), 14);
  name.resize(14, ' ');
  std::string width = "  " + std::to_string(f.width);
  width = width.substr(width.size() - 2);
  const std::string decimals = f.type != "C" ? "." + std::to_string(f.decimals) + " " : "   ";
  return ColNumToLetter(number) + " " + ToUnicodeStr(name) + " " + width + decimals + f.type;
}

std::string RefLinkNForm::MappedLine(int e) const {
  const int r = FieldMap[static_cast<size_t>(e)];
  return InRange(r, RField.size()) ? DispStrMake(e + 1, RField[static_cast<size_t>(r)]) : ColNumToLetter(e + 1);
}

void RefLinkNForm::FldListINIT() {
  for (FormList& l : List1) l.items.clear();
  FieldMap.assign(MField.size(), -1);
  for (size_t i = 0; i < MField.size(); ++i) {
    List1[0].items.push_back(DispStrMake(static_cast<int>(i) + 1, MField[i]));
    List1[1].items.push_back(ColNumToLetter(static_cast<int>(i) + 1));
  }
  for (size_t j = 0; j < RField.size(); ++j) List1[2].items.push_back(DispStrMake(static_cast<int>(j) + 1, RField[j]));
  for (FormList& l : List1) l.index = l.items.empty() ? -1 : 0;
}

void RefLinkNForm::ChgRuleNameGet() { Rules = kv::ChgRuleNameGet(RuleFilePath(st_)); }

bool RefLinkNForm::AnyFieldMapped() const {
  return std::any_of(FieldMap.begin(), FieldMap.end(), [](int r) { return r != -1; });
}

bool RefLinkNForm::RuleFieldFitCheck(int& field, int& kind) const {
  for (size_t i = 0; i < MField.size() && i < FieldMap.size(); ++i) {
    const int r = FieldMap[i];
    if (!InRange(r, RField.size())) continue;
    const RefField& rf = RField[static_cast<size_t>(r)];
    if (rf.type != MField[i].type || MField[i].width < rf.width) {
      field = static_cast<int>(i);
      kind = rf.type != MField[i].type ? 1 : 2;
      return false;
    }
  }
  return true;
}

int RefLinkNForm::Ask(const std::string& text, int style) { return ConvMsgBox(st_, text, style); }

bool RefLinkNForm::FitQuestionsPassed(const char* verb) {
  int field = 0, kind = 0;
  if (RuleFieldFitCheck(field, kind)) return true;
  const std::string m = Trim(MField[static_cast<size_t>(field)].name);
  const std::string r = Trim(RField[static_cast<size_t>(FieldMap[static_cast<size_t>(field)])].name);
  const std::string text =
      kind == 1 ? "編集画面側の項目 [ " + m + " ] と編集画面へ取り込む項目 [ " + r + " ] のフィールド属性が違っていますが、" +
                      verb + "しますか？"
                : "編集画面側の項目 [ " + m + " ] の桁数が編集画面へ取り込む項目 [ " + r + " ] の桁数より少ない為\r" +
                      "編集画面へ取り込む項目 [ " + r + " ] のデータが削られて変換されますが、" + verb + "しますか？";
  return Ask(text, vbYesNo | vbExclamation) == vbYes;
}

void RefLinkNForm::Refuse(const std::string& reason) {
  const std::string name = SplitPath(st_, st_.RefFilePath).name;
  ConvMsgBox(st_, "参考データ [ " + name + " ] を変換できません。\n" + reason, vbExclamation);
  st_.RefLinkCancelled = -1;
  Unload();
}

bool RefLinkNForm::RefDataChgMain() {
  std::string reason;
  st_.ui.SetBusyPointer(true);
  const bool ok = kv::RefDataChgMain(st_, st_.RefWorkFileBase, RefConvRule{MField, RField, FieldMap}, reason);
  st_.ui.SetBusyPointer(false);
  if (!ok) Refuse(reason);
  return ok;
}

void RefLinkNForm::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  if (port_.Unload) port_.Unload();
}

void RefLinkNForm::RuleCaption(const std::string& name) { Frame1.caption = "変換ルール  [ " + Trim(name) + " ]"; }

void RefLinkNForm::Form_Load() {
  ChgRuleNameGet();
  Command2[0].enabled = Rules.RuleCount >= 1;
  std::string problem;
  if (!RefFldInfoRead(st_, st_.WorkFileBase, MField, problem) ||
      !RefFldInfoRead(st_, st_.RefWorkFileBase, RField, problem)) {
    Refuse(problem);
    return;
  }
  FldListINIT();
  if (!st_.ChgRuleSelName.empty()) {
    const auto stored = ReadRuleDefinitions(RuleFilePath(st_), st_.ChgRuleSelName);
    if (stored && RuleMatchesCurrentFields(*stored, MField, RField)) {
      LoadRuleIntoLists(*stored);
      RuleCaption(st_.ChgRuleSelName);
    } else {
      st_.ChgRuleSelName.clear();
    }
  }
  Label1[5].caption = kInstruction;
}

void RefLinkNForm::LoadRuleIntoLists(const RefConvRule& rule) {
  MField = rule.m;
  RField = rule.r;
  FieldMap = rule.map;
  FieldMap.resize(MField.size(), -1);
  for (FormList& l : List1) l.items.clear();
  for (int i = 0; i < MFieldCount(); ++i) {
    List1[0].items.push_back(DispStrMake(i + 1, MField[static_cast<size_t>(i)]));
    List1[1].items.push_back(MappedLine(i));
  }
  for (int j = 0; j < RFieldCount(); ++j) List1[2].items.push_back(DispStrMake(j + 1, RField[static_cast<size_t>(j)]));
  for (FormList& l : List1) l.index = l.items.empty() ? -1 : 0;
}

void RefLinkNForm::Command1_Click(int index) {
  if (index == 0) {
    if (!AnyFieldMapped()) {
      ConvMsgBox(st_, kNothingMapped, vbExclamation);
      return;
    }
    if (!FitQuestionsPassed("変換")) return;
    if (!RefDataChgMain()) return;
    st_.RefLinkCancelled = 0;
    Unload();
  } else if (index == 1) {
    st_.RefLinkCancelled = -1;
    Unload();
  } else if (index == 2) {
    HelpOpen(st_, kRefLinkWindow);
  }
}

void RefLinkNForm::Command2_Click(int index) {
  const std::string old = st_.ChgRuleSelName;
  if (index == 0) {
    st_.ui.ShowModal(kRuleSelectWindow);
    const std::string name = st_.ChgRuleSelName;
    st_.ChgRuleSelName = old;
    if (name.empty() || name == old) return;
    const auto stored = ReadRuleDefinitions(RuleFilePath(st_), name);
    if (stored && RuleMatchesCurrentFields(*stored, MField, RField)) {
      LoadRuleIntoLists(*stored);
      RuleCaption(name);
      st_.ChgRuleSelName = name;
    } else {
      ConvMsgBox(st_,
                 "読み込んだ変換ルール [ " + name + " ] は、\r参考データ [ " + st_.RefWorkFileBase +
                     " ] に適応していません。",
                 vbExclamation);
    }
    return;
  }
  if (index != 1) return;
  if (!AnyFieldMapped()) {
    ConvMsgBox(st_, kNothingMapped, vbExclamation);
    return;
  }
  if (!FitQuestionsPassed("保存")) return;
  st_.ui.ShowModal(kRuleSaveWindow);
  const std::string name = st_.ChgRuleSelName;
  if (name.empty()) {
    st_.ChgRuleSelName = old;
    return;
  }
  ChgRuleNameGet();
  const RuleSaveResult saved =
      SaveRule(RuleFilePath(st_), Rules, FindRuleName(Rules, name), name, RefConvRule{MField, RField, FieldMap});
  if (saved != RuleSaveResult::Saved) {
    ConvMsgBox(st_,
               saved == RuleSaveResult::Full ? "変換ルールはこれ以上保存できません。"
                                             : "変換ルール [ " + name + " ] を保存できませんでした。",
               vbExclamation);
    st_.ChgRuleSelName = old;
    return;
  }
  RuleCaption(name);
  Command2[0].enabled = Rules.RuleCount >= 1;
}

void RefLinkNForm::Command3_Click(int index) {
  FormList& mapped = List1[1];
  const int rows = static_cast<int>(mapped.items.size());
  const int s = mapped.index;
  if (!InRange(s, static_cast<size_t>(rows)) || FieldMap.size() != static_cast<size_t>(rows)) return;
  const auto show = [&](int e) { mapped.items[static_cast<size_t>(e)] = MappedLine(e); };
  switch (index) {
    case 0: {
      const int r = List1[2].index;
      if (!InRange(r, RField.size())) return;
      FieldMap[static_cast<size_t>(s)] = r;
      show(s);
      if (s < rows - 1) mapped.index = s + 1;
      if (r < RFieldCount() - 1) List1[2].index = r + 1;
      break;
    }
    case 1:
      for (int i = 0; i < rows; ++i) FieldMap[static_cast<size_t>(i)] = i < RFieldCount() ? i : -1;
      for (int i = 0; i < rows; ++i) show(i);
      break;
    case 2:
    case 3: {
      const int t = index == 2 ? s - 1 : s + 1;
      if (t < 0 || t >= rows) return;
      std::swap(FieldMap[static_cast<size_t>(s)], FieldMap[static_cast<size_t>(t)]);
      show(s);
      show(t);
      mapped.index = t;
      break;
    }
    case 4:
      FieldMap[static_cast<size_t>(s)] = -1;
      show(s);
      if (s < rows - 1) mapped.index = s + 1;
      break;
    default:
      return;
  }
  List1[0].index = mapped.index;
}

void RefLinkNForm::List1_Click(int index) {
  if (index == 0) List1[1].index = List1[0].index;
  if (index == 1) List1[0].index = List1[1].index;
}

// ---------------------------------------------------------- the two dialogs

RuleDialogForm::RuleDialogForm(ProgramState& st, std::function<void()> unload, const char* label)
    : st_(st), unload_(std::move(unload)) {
  Label1.caption = label;
  Command1[0].caption = "OK";
  Command1[1].caption = "ｷｬﾝｾﾙ";
}

void RuleDialogForm::Unload() {
  unloaded_ = true;
  if (unload_) unload_();
}

RChgRuleSelForm::RChgRuleSelForm(ProgramState& st, std::function<void()> unload)
    : RuleDialogForm(st, std::move(unload), "変換ルールを選択して、OKボタンをクリックして下さい。") {}

void RChgRuleSelForm::Form_Load() {
  Combo1.items = kv::ChgRuleNameGet(RuleFilePath(st_)).RuleNames;
  Combo1.index = Combo1.items.empty() ? -1 : 0;
}

void RChgRuleSelForm::Command1_Click(int index) {
  if (Unloaded()) return;
  if (index == 0 && Combo1.index >= 0) st_.ChgRuleSelName = Combo1.Selected();
  Unload();
}

RChgRuleMakForm::RChgRuleMakForm(ProgramState& st, std::function<void()> unload)
    : RuleDialogForm(st, std::move(unload), "設定した変換ルールに名前を付けて、OKボタンをクリックして下さい。") {}

void RChgRuleMakForm::Form_Activate() {
  if (!st_.ChgRuleSelName.empty()) Text1.text = st_.ChgRuleSelName;
}

void RChgRuleMakForm::Command1_Click(int index) {
  if (Unloaded()) return;
  if (index == 0) {
    if (!Trim(Text1.text).empty()) {
      if (!RuleNameAcceptable(Text1.text)) {
        ConvMsgBox(st_, "変換ルール名に [ ] = 改行 前後の空白は使えません。", vbExclamation);
        return;
      }
      st_.ChgRuleSelName = Text1.text;
    }
  } else {
    st_.ChgRuleSelName.clear();
  }
  Unload();
}

}  // namespace kv
