#include "platform/common_dlg.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "platform/ui.h"

namespace kv {

namespace {

// The first `n` characters of a UTF-8 text.
std::string FirstChars(std::string_view text, long n) {
  if (n <= 0) return {};
  size_t i = 0;
  long count = 0;
  while (i < text.size()) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (count == n) break;
      ++count;
    }
    ++i;
  }
  return std::string(text.substr(0, i));
}

std::string_view TrimView(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

}  // namespace

std::string FilterListToBars(std::string_view filterList) {
  std::string out(filterList);
  if (!out.empty() && out.back() == '\0') out.pop_back();
  for (char& c : out)
    if (c == '\0') c = '|';
  return out;
}

cCommonDlg::cCommonDlg(Ui& ui) : ui_(ui) {
  std::error_code ec;
  std::filesystem::path cwd = std::filesystem::current_path(ec);
  if (!ec) initDir_ = cwd.string();
}

void cCommonDlg::Filter(std::string_view strNewFilter) {
  filterText_ = strNewFilter;
  filterList_ = filterText_;
  for (char& c : filterList_)
    if (c == '|') c = '\0';
  if (filterList_.empty() || filterList_.back() != '\0') filterList_ += '\0';
}

void cCommonDlg::Action(int intNewAction) {
  action_ = intNewAction;
  switch (intNewAction) {
    case 1: ShowOpen(); break;
    case 2: ShowSave(); break;
    case 3: ShowColor(); break;
    case 4: ShowFont(); break;
    case 5: ShowPrinter(); break;
    case 6: ShowHelp(); break;
    default: break;
  }
}

void cCommonDlg::Form(const CommonDlgForm& NewForm) {
  form_ = NewForm.name;
  fontBold_ = NewForm.fontBold;
  fontItalic_ = NewForm.fontItalic;
  fontName_ = NewForm.fontName;
  fontSize_ = static_cast<int>(std::nearbyint(NewForm.fontSize));
  fontStrikethru_ = NewForm.fontStrikethru;
  fontUnderline_ = NewForm.fontUnderline;
}

void cCommonDlg::OwnerToFront() {
  if (!form_.empty()) ui_.ActivateWindow(form_);
}

void cCommonDlg::ShowFileDlg(int action) {
  action_ = action;
  errNumber_ = 0;

  FileDialogRequest req;
  req.title = dialogTitle_;
  req.filter = FilterListToBars(filterList_);
  req.filterIndex = filterIndex_;
  req.initDir = initDir_;
  // The name buffer holds MaxFileSize characters with its final NUL.
  req.fileName = FirstChars(fileName_, maxFileSize_ - 1);
  // An extension ends at its first NUL (the start value is NUL alone).
  req.defaultExt = defaultExt_.substr(0, defaultExt_.find('\0'));
  req.flags = static_cast<int>(flags_);

  OwnerToFront();
  std::optional<std::string> chosen =
      action == 1 ? ui_.OpenFileDialog(req) : ui_.SaveFileDialog(req);
  if (!chosen) {
    if (cancelError_) {
      cancelButton_ = true;
      fileName_.clear();
    }
    return;
  }
  fileName_ = *chosen;
  fileTitle_ = Trim(std::filesystem::path(*chosen).filename().string());
}

void cCommonDlg::ShowColor() {
  action_ = 3;
  errNumber_ = 0;
  OwnerToFront();
  const std::optional<long> chosen = ui_.ColorDialog({color_, flags_});
  if (!chosen) {
    cancelButton_ = true;
    return;
  }
  color_ = *chosen;
}

void cCommonDlg::ShowFont() {
  // Action and the error number stay as they are.
  FontDialogRequest req;
  req.font = {fontName_, static_cast<double>(fontSize_), fontBold_, fontItalic_,
              fontStrikethru_, fontUnderline_, color_};
  req.minSize = static_cast<int>(min_);
  req.maxSize = static_cast<int>(max_);
  req.flags = flags_;
  OwnerToFront();
  const std::optional<FontDialogFont> chosen = ui_.FontDialog(req);
  if (!chosen) {
    // A plain cancel: no error code, and every font property cleared.
    errNumber_ = 0;
    cancelButton_ = true;
    fontBold_ = fontItalic_ = fontStrikethru_ = fontUnderline_ = false;
    fontName_.clear();
    fontSize_ = 0;
    color_ = 0;
    return;
  }
  cancelButton_ = false;
  fontBold_ = chosen->bold;
  fontItalic_ = chosen->italic;
  fontUnderline_ = chosen->underline;
  fontStrikethru_ = chosen->strikethru;
  fontName_ = chosen->name;
  // Whole points, a half to the even neighbour.
  fontSize_ = static_cast<int>(std::nearbyint(std::fabs(chosen->pointSize)));
  color_ = chosen->color;
}

void cCommonDlg::ShowPrinter() {
  action_ = 5;
  errNumber_ = 0;
  // The dialog's page and copy fields are 16-bit: a value beyond them ends
  // the operation before the dialog.
  for (long v : {fromPage_, toPage_, min_, max_, copies_})
    if (v < SHRT_MIN || v > SHRT_MAX) return;
  PrintDialogRequest req;
  req.pages = {static_cast<int>(fromPage_), static_cast<int>(toPage_), static_cast<int>(min_),
               static_cast<int>(max_), static_cast<int>(copies_)};
  req.flags = flags_;
  req.hdc = hdc_;
  OwnerToFront();
  const std::optional<PrintDialogPages> chosen = ui_.PrintDialog(req);
  if (!chosen) {
    if (cancelError_) cancelButton_ = true;
    return;
  }
  fromPage_ = chosen->fromPage;
  toPage_ = chosen->toPage;
  min_ = chosen->minPage;
  max_ = chosen->maxPage;
  copies_ = chosen->copies;
}

void cCommonDlg::ShowHelp() {
  // The help viewer's quit command: the desktop's viewer is not ours to close.
  constexpr long kHelpQuit = 2;
  if (helpFile_.empty() || helpCommand_ == 0 || helpCommand_ == kHelpQuit) return;
  ui_.OpenDocument(helpFile_);
}

void cCommonDlg::HelpKey(std::string_view strNewHelpKey) {
  // A number text becomes the nearest whole number (a half to the even one);
  // anything else, or a number beyond 32 bits, is the caller's error.
  const std::string_view t = TrimView(strNewHelpKey);
  const char* first = t.data();
  const char* last = t.data() + t.size();
  if (!t.empty() && *first == '+') ++first;
  double value = 0;
  const auto [end, ec] = std::from_chars(first, last, value);
  const double whole = std::nearbyint(value);
  if (t.empty() || ec != std::errc() || end != last || !(whole >= INT_MIN && whole <= INT_MAX))
    throw std::invalid_argument("HelpKey: not a 32-bit number: " + std::string(strNewHelpKey));
  helpKey_ = static_cast<long>(whole);
}

std::string cCommonDlg::ErrDescription() const {
  switch (errNumber_) {
    case -32768: return "関数がダイアログ ボックスをロードできません。";
    case 20476: return "メンバ lpstrFile が指すバッファが小さすぎます。";
    case 20477: return "ファイル名が無効です。";
    case 20478: return "メモリ不足のために、リスト ボックスをサブクラス化できません。";
    case 24574: return "フォントが存在しません。";
    case 28660:
      return "WIN.INI ファイル内の [devices] セクションに、必要なプリンタについてのエントリがありません。";
    case 28661: return "PrintDlg 関数が情報コンテキストを作成できません。";
    case 28662: return "DevMode データ構造と DevNames データ構造のデータが異なるプリンタを指しています。";
    case 28663: return "通常使うプリンタが設定されていません。";
    case 28664: return "プリンタ ドライバが見つかりません。";
    case 28665: return "PrintDlg 関数を初期化できません。";
    case 28666: return "プリンタ ドライバが DevMode データ構造を初期化できません。";
    case 28667: return "PrintDlg 関数が、指定したプリンタ ドライバをロードできません。";
    case 28668:
    case 28671:
      return "PDReturnDefault フラグが設定されていますが、hDevMode フィールドまたは hDevNames フィールドが 0 "
             "ではありません。";
    case 28669: return "CommonDialog 関数が WIN.INI の [devices] セクションの文字列を解析できません。";
    case 28670: return "必要なリソースを読み込めません。";
    case 32751: return "Microsoft Windows のヘルプを呼び出せません。";
    case 32752: return "FileName プロパティまたは Filter プロパティにメモリを割り当てられません。";
    case 32755: return "[キャンセル] ボタンが選択されました。";
    case 32757: return "関数が、ハンドルに関連付けられたメモリをロックできません。";
    case 32758: return "関数が、内部のデータ構造にメモリを割り当てられません。";
    case 32759: return "関数が指定したリソースをロックできません。";
    case 32760:
    case 32761:
      return "関数が指定したリソースをロードできません。";
    case 32765: return "関数を初期化できません。";
    default: return "未知のｴﾗｰです。";
  }
}

}  // namespace kv
