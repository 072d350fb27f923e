#include "state/data_ini.h"

#include <algorithm>

#include "core/currency.h"
#include "core/ini_file.h"
#include "core/settings_text.h"
#include "state/program_state.h"
#include "state/settings_files.h"
#include "state/warn_msg_box.h"

namespace kv {

namespace {

class Reader {
 public:
  explicit Reader(const std::string& file) : file_(file) {}
  int Int(std::string_view section, std::string_view key) const { return IniGetInt(section, key, file_); }
  std::string Text(std::string_view section, std::string_view key) const {
    std::string value;
    IniGetString(section, key, value, file_);
    return value;
  }
  // A text its writers put between double quotes.
  std::string QuotedText(std::string_view section, std::string_view key) const {
    return StripQuotes(Text(section, key));
  }
  // A column number: -1 (none) .. 52; anything else is taken as none.
  int Column(std::string_view key) const {
    const int v = Int("Boot", key);
    return (v >= -1 && v <= kMaxColumns) ? v : -1;
  }
  // A value checked against its range: outside it the default is taken and
  // written back into the file.
  int Checked(std::string_view key, int low, int high, int fallback) const {
    const int v = Int("Boot", key);
    if (v >= low && v <= high) return v;
    // A failed write-back changes nothing of what is loaded; the same
    // correction is made at the next load.
    IniPutString("Boot", key, std::to_string(fallback), file_);
    return fallback;
  }

 private:
  const std::string& file_;
};

// The untitled estimate and the start-up use DAVIROV.INI itself.
bool IsDavirov(const std::string& f) { return ContainsNoCase(f, "DAVIROV"); }

}  // namespace

bool DataIniLoad(ProgramState& st, const std::string& f) {
  const std::string templatePath = st.AppPath + "/DAVIROV.INI";
  const auto exists = SettingsFileExists(st, f);
  if (!exists) return false;
  if (!*exists) {
    // A missing estimate settings file is made from the current settings,
    // never filled with the defaults of missing keys.
    if (EqualsNoCase(f, templatePath)) {
      WarnMsgBox(st, "設定ファイル " + f + " がありません。");
      return false;
    }
    if (!CopySettingsFile(st, templatePath, f)) return false;
  }

  const Reader r(f);
  const int dataLen = r.Int("Boot", "DataLen");
  if (dataLen != 256 && dataLen != 512) {
    WarnMsgBox(st, "設定ファイル " + f + " の [Boot] DataLen (" + std::to_string(dataLen) +
                       ") は 256 か 512 でなければなりません。\nこの設定ファイルは読み込みません。");
    return false;
  }
  const int imax = r.Int("Boot", "Imax");
  if (imax < 0 || imax > kMaxSheetRows) {
    WarnMsgBox(st, "設定ファイル " + f + " の [Boot] Imax がないか、0 から " + std::to_string(kMaxSheetRows) +
                       " の範囲にありません。\nこの設定ファイルは読み込みません。");
    return false;
  }

  // 1. Objects.
  st.OleFileMax = r.Int("OLE", "OleFileMax");
  st.OleFilePicMax = r.Int("OLE", "OleFilePicMax");
  // 2. Base text.
  st.KvTextPath = st.AppPath + "/" + r.Text("Boot", "KVtext");
  // 3. Records.
  st.DataLen = dataLen;
  st.Imax = imax;
  st.H_Link = r.Text("Boot", "H_Link");
  // 4. Column roles.
  st.CaptionColmun1 = r.Column("CaptionColmun1");
  st.CaptionColmun2 = r.Column("CaptionColmun2");
  st.DownCopyColmun1 = r.Column("DownCopyColmun1");
  st.DownCopyColmun2 = r.Column("DownCopyColmun2");
  st.DownCopyColmunSw = r.Int("Boot", "DownCopyColmunSw");
  st.ToTalColmun = r.Column("ToTalColmun");
  st.ToTalNameColmun = r.Column("ToTalNameColmun");
  st.ToTalNameColmun2 = r.Column("ToTalNameColmun2");
  st.CodeColmun = r.Column("CodeColmun");
  // 5. Zero.
  st.Zero = r.Text("Boot", "Zero");
  if (EqualsNoCase(st.Zero, "SPACE")) st.Zero = " ";
  // 6. Column links: the tables hold three.
  st.ABLinkCount = std::clamp(r.Int("Boot", "ABLinkCount"), 0, 3);
  for (int n = 1; n <= st.ABLinkCount; ++n) {
    st.ABLinkSrc[n] = r.Column("ABLinkSrc" + std::to_string(n));
    st.ABLinkDst[n] = r.Column("ABLinkDst" + std::to_string(n));
  }
  // 7. Tax, a percent with decimals ("8.5" stays 8.5 %).
  const Currency percent = Currency::Parse(r.Text("Boot", "STax")).value_or(Currency());
  st.STax = percent / Currency::FromInt(100);
  // 8, 9. Rounding of the tax and expense rows.
  st.STaxMethod = r.Checked("STaxMethod", 0, 2, 0);
  st.STaxMethodKeta = r.Checked("STaxMethodKeta", 0, 7, 0);
  if (st.SystemKind != 1) {
    st.SKeihiMethod = r.Checked("SKeihiMethod", 0, 2, 0);
    st.SKeihiMethodKeta = r.Checked("SKeihiMethodKeta", 0, 7, 3);
  }
  // 10. Classification columns.
  for (int n = 1; n <= 3; ++n) {
    st.SiwakeSuu[n] = r.Column("SiwakeSuu" + std::to_string(n));
    st.SiwakeUni[n] = r.Column("SiwakeUni" + std::to_string(n));
  }
  // 11, 12. Mask screens.
  for (int n = 1; n <= std::clamp(st.LevelCount, 0, 8); ++n) {
    const int screen = r.Int("マスク情報", "XMASK" + std::to_string(n));
    st.XMASK[n] = (screen >= 0 && screen < kMaskScreens) ? screen : 0;
  }
  for (int n = 0; n < kMaskScreens; ++n) st.MASK_NAME[n] = r.QuotedText("マスク情報", "MASK_NAME" + std::to_string(n));
  // 13. Equipment rows.
  if (st.SystemKind == 1) {
    static constexpr std::string_view kKeys[3] = {"諸経費", "消耗品", "経費行"};
    static constexpr std::string_view kDefaults[3] = {"諸経費", "消耗品雑材", "経費"};
    for (int n = 0; n < 3; ++n) {
      st.SetubiRowNames[n] = r.QuotedText("設備行", kKeys[n]);
      if (TrimBlanks(st.SetubiRowNames[n]).empty()) {
        st.SetubiRowNames[n] = std::string(kDefaults[n]);
        IniPutString("設備行", kKeys[n], Quoted(kDefaults[n]), f);
      }
    }
  }
  // 14. Font.
  st.FontName = r.Text("Font", "Name");
  // 15 .. 18. Print information; the flags only from DAVIROV.INI.
  if (IsDavirov(f)) {
    st.CompanyNameFlag = r.Int("PrintInformation", "CompanyNameFlag");
    st.PrnPageNoFlag = r.Int("PrintInformation", "PrnPageNoFlag");
  }
  st.CompanyName = r.Text("PrintInformation", "CompanyName");
  st.PageFormat = r.Text("PrintInformation", "PageFormat");
  st.NamePosition = r.Text("PrintInformation", "NamePosition");
  if (IsDavirov(f)) {
    st.KoujiNameFlag = r.Int("PrintInformation", "KoujiNameFlag");
    st.KoujiNamePos = r.Text("PrintInformation", "KoujiNamePos");
    if (st.KoujiNamePos.empty()) st.KoujiNamePos = "左";
  }
  st.ItemSepLineOff = r.Int("枠線スタイル", "項目欄隔線非描画");
  st.ItemUnderlineWidth = r.Int("枠線スタイル", "項目欄下線幅");
  st.TotalOverlineWidth = r.Int("枠線スタイル", "合計行上線幅");
  st.Sp999w = r.Int("枠線スタイル", "Sp999w");
  st.FrameWidth = r.Int("枠線スタイル", "Top");
  // 19. Total-row names.
  for (int n = 1; n <= 6; ++n) st.SUBTOTALNAME[n] = r.QuotedText("合計行文字列", "SUBTOTALNAME" + std::to_string(n));
  // 20. Print form in use: 1..7; anything else selects the first.
  st.PrnTypeNo = r.Int("印刷タイプ", "PrnTypeNo");
  if (st.PrnTypeNo < 1 || st.PrnTypeNo > kPrintForms) st.PrnTypeNo = 1;
  // 21. Print forms, each keyed by its name.
  for (int n = 1; n <= kPrintForms; ++n) {
    const std::string key = r.Text("印刷書式", std::to_string(n));
    st.PrintFormSections[n] = key;
    if (key.empty()) {
      st.PrintFormNames[n].clear();
      st.PrintColumns[n] = st.PrintRows[n] = st.LeftMargins[n] = st.TopMargins[n] = st.LeftSpacings[n] = -1;
      st.PageFormats[n].clear();
      continue;
    }
    st.PrintFormNames[n] = r.Text("印刷名称", key);
    st.PrintColumns[n] = r.Int("印刷桁数", key);
    st.PrintRows[n] = r.Int("印刷件数", key);
    st.LeftMargins[n] = r.Int("左マージン", key);
    st.TopMargins[n] = r.Int("上マージン", key);
    st.LeftSpacings[n] = r.Int("最左スペーシング", key);
    st.PageFormats[n] = r.Text("ページフォーマット", key);
  }
  // 22. Memo rows.
  st.MemoRowMax = WholeNumberValue(r.Text("ﾒﾓ行", "MAX"));
  return true;
}

}  // namespace kv
