// SheetOptionsSave: the options of the options dialog written into one
// settings file (DAVIROV.INI or an estimate's).
#include <algorithm>
#include <string>

#include "core/currency.h"
#include "core/ini_file.h"
#include "core/settings_text.h"
#include "state/data_ini.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"

namespace kv {

bool SheetOptionsSave(ProgramState& st, const std::string& f) {
  bool ok = true;
  auto put = [&](std::string_view section, std::string_view key, const std::string& value) {
    if (ok) ok = IniPutString(section, key, value, f);
  };
  auto putInt = [&](std::string_view key, int value) { put("Boot", key, std::to_string(value)); };

  putInt("CaptionColmun1", st.CaptionColmun1);
  putInt("CaptionColmun2", st.CaptionColmun2);
  putInt("DownCopyColmun1", st.DownCopyColmun1);
  putInt("DownCopyColmun2", st.DownCopyColmun2);
  putInt("DownCopyColmunSw", st.DownCopyColmunSw);
  putInt("ToTalColmun", st.ToTalColmun);
  putInt("ToTalNameColmun", st.ToTalNameColmun);
  put("Boot", "Zero", st.Zero == "0" ? "0" : "SPACE");
  const int links = std::clamp(st.ABLinkCount, 0, 3);
  putInt("ABLinkCount", links);
  for (int n = 1; n <= links; ++n) {
    putInt("ABLinkSrc" + std::to_string(n), st.ABLinkSrc[n]);
    putInt("ABLinkDst" + std::to_string(n), st.ABLinkDst[n]);
  }
  // The percent keeps its decimals: 0.085 is written "8.5".
  put("Boot", "STax", (st.STax * Currency::FromInt(100)).ToText());
  for (int n = 1; n <= 3; ++n) {
    putInt("SiwakeSuu" + std::to_string(n), st.SiwakeSuu[n]);
    putInt("SiwakeUni" + std::to_string(n), st.SiwakeUni[n]);
  }
  for (int n = 0; n < kMaskScreens; ++n) put("マスク情報", "MASK_NAME" + std::to_string(n), Quoted(st.MASK_NAME[n]));
  for (int n = 1; n <= 6; ++n) put("合計行文字列", "SUBTOTALNAME" + std::to_string(n), Quoted(st.SUBTOTALNAME[n]));
  putInt("STaxMethod", st.STaxMethod);
  putInt("STaxMethodKeta", st.STaxMethodKeta);
  if (st.SystemKind != 1) {
    putInt("SKeihiMethod", st.SKeihiMethod);
    putInt("SKeihiMethodKeta", st.SKeihiMethodKeta);
  } else {
    put("設備行", "諸経費", Quoted(st.SetubiRowNames[0]));
    put("設備行", "消耗品", Quoted(st.SetubiRowNames[1]));
    put("設備行", "経費行", Quoted(st.SetubiRowNames[2]));
  }
  put("ﾒﾓ行", "MAX", std::to_string(st.MemoRowMax));

  if (!ok) WarnMsgBox(st, "設定ファイル " + f + " に書き込めません。");
  return ok;
}

}  // namespace kv
