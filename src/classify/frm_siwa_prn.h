#pragma once
// frmSiwaPrn ("仕訳マスタ印刷"): prints the classification master named by
// `SiwakePrintPath` as a list through the print program. The user picks the
// paper type, whether pages are numbered and the copies; OK writes
// KVSYSTEM.INI (the current printer's settings with [Boot] DataLen = 256),
// the layout file beside the master (one level, one line per item), the job
// file, then runs the print program and waits for it. The master window
// opens it modally once it knows a printer is installed.
//
// Refused before anything is written: item settings that cannot be used, and
// more than ten items (the layout's table has room for ten). A file that
// cannot be written stops the print with a message naming it, and nothing is
// started; the dialog stays open.
#include <functional>
#include <string>
#include <vector>

#include "print/form_controls.h"

namespace kv {

struct ProgramState;

inline constexpr const char* kSiwaPrnTitle = "仕訳マスタ印刷";
inline constexpr int kMasterListItemsMax = 10;

struct SiwaPrnPort {
  // Closes the dialog (the modal display returns).
  std::function<void()> Unload;
};

class frmSiwaPrn {
 public:
  frmSiwaPrn(ProgramState& st, SiwaPrnPort port);
  frmSiwaPrn(const frmSiwaPrn&) = delete;
  frmSiwaPrn& operator=(const frmSiwaPrn&) = delete;

  // --- Controls ---
  FormLabel Label1{{}, "用紙の種類："};
  FormList Combo1;  // the seven print forms' display names
  FormLabel fra{{}, "ページ付き印刷"};
  FormCheck Option1{{}, "ON", 1};
  FormCheck Option2{{}, "OFF", 0};
  FormLabel Label2{{}, "印刷部数指定："};
  FormList Combo2;  // copies " 1" .. "10"
  FormLabel Label3{{}, "部"};
  std::string Command1 = "OK";
  std::string Command2 = "ｷｬﾝｾﾙ";

  // OK: writes the files and runs the print program, then unloads.
  void Command1_Click();
  // Cancel: unloads; nothing is written.
  void Command2_Click();
  // Fills the two lists, their first entries chosen.
  void Form_Load();

  bool Unloaded() const { return unloaded_; }

 private:
  void SiwaPrnFillForms();
  // The master's item widths; false after the message when they cannot be
  // printed.
  bool ItemWidths(std::vector<int>& widths);
  bool FilesWrite(const std::vector<int>& widths);
  void Unload();

  ProgramState& st_;
  SiwaPrnPort port_;
  bool unloaded_ = false;
};

// The layout file of a master list: "DM=1", then per item its caption, "C",
// "0", its byte width and three empty fields, Tab-separated; CR LF,
// Shift-JIS.
std::string MasterListLayoutText(const std::vector<int>& widths);

// Where the layout file of a master list goes: the master's folder and name
// (as SplitPath splits them) with ".Y$".
std::string MasterListLayoutPath(const ProgramState& st, const std::string& masterPath);

}  // namespace kv
